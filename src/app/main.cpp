#include "app/CommandLine.h"
#include "app/DesktopIdentity.h"
#include "app/EditorForms.h"
#include "app/WindowCaptions.h"

#include <QApplication>
#include <QCommandLineParser>

#include <cstdio>

namespace {

QStringList argumentsOf(const int argc, char* argv[])
{
    QStringList arguments;
    for (int at = 0; at < argc; ++at)
        arguments.append(QString::fromLocal8Bit(argv[at]));
    return arguments;
}

} // namespace

int main(int argc, char* argv[])
{
    // The application name, not the display name: Qt appends a display name
    // to every window's caption, and the captions are fixed.
    QCoreApplication::setApplicationName(app::applicationTitle());
    QCoreApplication::setApplicationVersion(QStringLiteral(LUDRA_VERSION));

    // --help and --version are answered before the toolkit looks for a
    // display, so that they work on a terminal without one.
    if (const std::optional<app::EarlyAnswer> answer = app::answerBeforeStart(argumentsOf(argc, argv))) {
        std::fputs(answer->text.toLocal8Bit().constData(), answer->toStandardError ? stderr : stdout);
        return answer->exitCode;
    }

    QApplication application(argc, argv);
    app::setDesktopIdentity();
    QCommandLineParser parser;
    app::describeCommandLine(parser);
    parser.process(application);

    app::EditorForms forms;
    forms.FormXom.show();
    // A file named on the command line is offered its own recovery as it
    // opens; otherwise the newest file a run that died left changes to.
    if (const QString file = app::fileToOpen(parser); !file.isEmpty())
        forms.FormXom.openFile(file);
    else
        forms.FormXom.offerRecovery();
    // After show(), so that a rejected reference's error box has its window.
    if (const QString reference = app::referenceToOpen(parser); !reference.isEmpty())
        forms.FormXom.openReference(reference);
    return QApplication::exec();
}
