#include "app/DesktopIdentity.h"
#include "app/EditorForms.h"
#include "app/WindowCaptions.h"

#include <QApplication>
#include <QCommandLineParser>

int main(int argc, char* argv[])
{
    QApplication application(argc, argv);
    // The application name, not the display name: Qt appends a display name
    // to every window's caption, and the captions are fixed.
    QApplication::setApplicationName(app::applicationTitle());
    QApplication::setApplicationVersion(QStringLiteral(LUDRA_VERSION));
    app::setDesktopIdentity();

    // Any option the parser does not know ends the program with its message
    // before a window opens.
    QCommandLineParser arguments;
    arguments.addHelpOption();
    arguments.addVersionOption();
    const QCommandLineOption referenceOption(QStringLiteral("reference"),
        QStringLiteral("Opens FILE beside the working file as the reference language."), QStringLiteral("FILE"));
    arguments.addOption(referenceOption);
    arguments.process(application);

    app::EditorForms forms;
    forms.FormXom.show();
    // After show(), so that a rejected reference's error box has its window.
    if (arguments.isSet(referenceOption))
        forms.FormXom.openReference(arguments.value(referenceOption));
    return QApplication::exec();
}
