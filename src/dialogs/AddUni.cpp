#include "dialogs/AddUni.h"

#include "dialogs/BoxBehaviour.h"
#include "dialogs/DialogButton.h"
#include "dialogs/FormFont.h"
#include "dialogs/ModalResult.h"
#include "dialogs/NameVerdict.h"
#include "dialogs/PlainTextBox.h"

#include "text/Decimal.h"

#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QShowEvent>

#include <limits>

namespace dialogs {

TAddForm::TAddForm(QWidget* parent)
    : QDialog(parent, Qt::Dialog | Qt::CustomizeWindowHint | Qt::WindowTitleHint | Qt::WindowSystemMenuHint
                          | Qt::WindowMinMaxButtonsHint | Qt::WindowCloseButtonHint)
    , labNumber(new QLabel(QStringLiteral("#"), this))
    , EditName(new QLineEdit(this))
    , EditText(new PlainTextBox(this))
    , AddBut(makeDialogButton(QStringLiteral("Add"), "AddBut", this, QRect(48, 184, 75, 25)))
    , Button2(makeDialogButton(QStringLiteral("Close"), "Button2", this, QRect(168, 184, 75, 25)))
    , m_nameVerdictLabel(new QLabel(this))
    , m_nameVerdict(new NameVerdict(*EditName, *m_nameVerdictLabel, *AddBut))
{
    setObjectName(QStringLiteral("AddForm"));
    setWindowTitle(QStringLiteral("Add"));
    setFont(formFont());
    setFixedSize(282, 222);

    labNumber->setObjectName(QStringLiteral("labNumber"));
    labNumber->move(8, 8);
    labNumber->adjustSize();

    EditName->setObjectName(QStringLiteral("EditName"));
    EditName->setGeometry(8, 32, 257, 21);
    // A name is never cut short.
    EditName->setMaxLength(std::numeric_limits<int>::max());

    m_nameVerdictLabel->setObjectName(QStringLiteral("NameVerdict"));
    m_nameVerdictLabel->hide();

    EditText->setObjectName(QStringLiteral("EditText"));
    EditText->setGeometry(8, 64, 257, 113);

    connect(AddBut, &QPushButton::clicked, this, [this] { done(ModalOk); });
    connect(Button2, &QPushButton::clicked, this, &TAddForm::reject);

    // Return in the name box goes on to the text; Ctrl+Enter adds.
    connect(EditName, &QLineEdit::returnPressed, EditText, [this] { EditText->setFocus(Qt::TabFocusReason); });
    selectAllOnFocus(*EditName);
    selectAllOnFocus(*EditText);
    acceptOnCtrlEnter(*this, *AddBut);

    setTabOrder(AddBut, Button2);
    setTabOrder(Button2, EditName);
    setTabOrder(EditName, EditText);
}

void TAddForm::prepare(const int newNumber)
{
    EditName->setText(QStringLiteral("FE.NewString"));
    EditText->setText(QStringLiteral("NewString"));
    labNumber->setText(QLatin1Char('#') + text::FormatDecimal(newNumber));
    labNumber->adjustSize();
    // Right of the number, above the name box.
    const int left = labNumber->geometry().right() + 9;
    m_nameVerdictLabel->setGeometry(left, 2, width() - 8 - left, 28);
    m_nameVerdict->refresh();
}

void TAddForm::setNameWarning(std::function<QString(const QString&)> warning)
{
    m_nameVerdict->setWarning(std::move(warning));
}

void TAddForm::showEvent(QShowEvent* event)
{
    // The dialog would come back with the focus wherever the last showing
    // left it, and the first keys typed would go there.
    if (!event->spontaneous()) {
        EditName->setFocus(Qt::OtherFocusReason);
        EditName->selectAll();
    }
    QDialog::showEvent(event);
}

QString TAddForm::name() const
{
    return EditName->text();
}

QString TAddForm::text() const
{
    return EditText->text();
}

void TAddForm::reject()
{
    done(ModalCancel);
}

} // namespace dialogs
