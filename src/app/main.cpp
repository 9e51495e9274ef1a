#include "app/DesktopIdentity.h"
#include "app/EditorForms.h"
#include "app/WindowCaptions.h"

#include <QApplication>

int main(int argc, char* argv[])
{
    QApplication application(argc, argv);
    // The application name, not the display name: Qt appends a display name
    // to every window's caption, and the captions are fixed.
    QApplication::setApplicationName(app::applicationTitle());
    app::setDesktopIdentity();

    app::EditorForms forms;
    forms.FormXom.show();
    return QApplication::exec();
}
