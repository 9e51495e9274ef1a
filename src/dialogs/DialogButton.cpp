#include "dialogs/DialogButton.h"

#include "dialogs/BoxBehaviour.h"

#include <QPushButton>

namespace dialogs {

QPushButton* makeDialogButton(const QString& caption, const char* objectName, QWidget* parent, const QRect& geometry)
{
    auto* const button = new QPushButton(caption, parent);
    button->setObjectName(QLatin1String(objectName));
    button->setGeometry(geometry);
    button->setAutoDefault(false);
    clickOnReturn(*button);
    return button;
}

} // namespace dialogs
