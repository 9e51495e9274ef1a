#include "app/DesktopIdentity.h"
#include "app/CommandLine.h"
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
    app::setDesktopIdentity();
    QApplication::setApplicationVersion(QStringLiteral(LUDRA_VERSION));

    QCommandLineParser parser;
    app::describeCommandLine(parser);
    // --help and --version print and end the run here.
    parser.process(application);

    app::EditorForms forms;
    forms.FormXom.show();
    if (const QString file = app::fileToOpen(parser); !file.isEmpty())
        forms.FormXom.openFile(file);
    // After show(), so that a rejected reference's error box has its window.
    if (const QString reference = app::referenceToOpen(parser); !reference.isEmpty())
        forms.FormXom.openReference(reference);
    return QApplication::exec();
}
