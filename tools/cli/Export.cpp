#include "cli/Command.h"

#include "cli/CsvWriter.h"
#include "cli/Files.h"

namespace cli {

namespace {

const QString ReferenceOption = QStringLiteral("--reference");

int runExport(const QStringList& operands, const OptionValues& options)
{
    const xom::LoadedFile file = loadLanguageFile(operands[0]);
    if (!options.contains(ReferenceOption)) {
        writeWholeFile(operands[1], csvOfEntries(file.entries));
        return ExitSuccess;
    }
    const xom::TranslationReview reference(loadLanguageFile(options.value(ReferenceOption)).entries);
    writeWholeFile(operands[1], csvOfEntries(file.entries, &reference));
    return ExitSuccess;
}

} // namespace

// export IN OUT.csv: the entries of IN as CSV (see csvOfEntries).
Command exportCommand()
{
    return Command{QStringLiteral("export"), {QStringLiteral("IN"), QStringLiteral("OUT.csv")},
        QStringLiteral("the entries as CSV: number,name,text"),
        QStringLiteral("Writes the entries of IN to OUT.csv in grid order: the header line\n"
                       "\"number,name,text\", then one record per entry. UTF-8 with a byte-order\n"
                       "mark, CR LF after every record, RFC 4180 quoting: a field holding a\n"
                       "comma, a quote or a line break is quoted and its quotes doubled; line\n"
                       "breaks stay inside the quotes as they are. A lone surrogate is written\n"
                       "in its three-byte form so that import gives it back. OUT.csv is replaced\n"
                       "atomically.\n"
                       "\n"
                       "With --reference REF, a fourth column \"reference\" holds the text of\n"
                       "the first entry of REF with the same name (empty when REF has none), for\n"
                       "translating beside it; import ignores that column.\n"
                       "\n"
                       "Example: ludra-lang export lang_en.xom lang_en.csv\n"
                       "         ludra-lang export --reference lang_en.xom lang_de.xom lang_de.csv\n"),
        nullptr, {{ReferenceOption, QStringLiteral("REF"), QStringLiteral("add the reference texts of REF")}},
        runExport};
}

} // namespace cli
