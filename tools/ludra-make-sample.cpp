// ludra-make-sample DIR: writes DIR/lang_sample.xom, DIR/lang_sample.csv (its
// export) and DIR/lang_sample_de.xom (its German translation). The committed
// samples/ are this program's output; a test makes them again and compares
// byte for byte.

#include "SampleFile.h"

#include "cli/Command.h"
#include "cli/Console.h"
#include "exchange/CsvWriter.h"
#include "cli/Files.h"

#include "text/EditorError.h"
#include "text/TextRuntime.h"
#include "xom/LanguageFileWriter.h"

#include <QDir>
#include <QFile>

int main(int argc, char* argv[])
{
    if (argc != 2) {
        cli::writeErr(QStringLiteral("Usage: ludra-make-sample DIR\n"));
        return cli::ExitUsageError;
    }
    const QDir dir(QFile::decodeName(argv[1]));
    // The string table's byte order follows the ANSI code page: the sample
    // is made in one fixed environment so that its bytes are the same on
    // every machine.
    text::replaceTextRuntime(text::TextEnvironment{QStringLiteral("en_US"), 1252});
    try {
        cli::SampleFile sample = cli::makeSampleFile();
        const QString xomPath = dir.filePath(QStringLiteral("lang_sample.xom"));
        xom::saveLanguageFile(xomPath, sample.entries, sample.model);
        // The CSV is the export of the file as written, as a user would make it.
        cli::writeWholeFile(dir.filePath(QStringLiteral("lang_sample.csv")),
            exchange::csvOfEntries(cli::loadLanguageFile(xomPath).entries));
        cli::SampleFile translation = cli::makeSampleTranslation();
        xom::saveLanguageFile(
            dir.filePath(QStringLiteral("lang_sample_de.xom")), translation.entries, translation.model);
    } catch (const cli::CommandError& error) {
        cli::writeErr(QStringLiteral("ludra-make-sample: %1\n").arg(error.message()));
        return cli::ExitFileError;
    } catch (const text::EditorError& error) {
        cli::writeErr(QStringLiteral("ludra-make-sample: %1\n").arg(error.message()));
        return cli::ExitFileError;
    }
    return cli::ExitSuccess;
}
