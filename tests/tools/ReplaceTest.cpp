#include "ProgramRun.h"

#include "xom/LanguageFileReader.h"
#include "xom/LanguageFileWriter.h"
#include "xom/TableSearch.h"

#include "support/FileBuilder.h"

#include <gtest/gtest.h>

#include <QTemporaryDir>

namespace {

using namespace toolstest;

QByteArray sampleBytes()
{
    return testsupport::simpleFile({{utf16(u"FE.Continue"), utf16(u"Continue")},
                                       {utf16(u"FE.Menu.continue"), utf16(u"continue or CONTINUE?\r\nlater")},
                                       {utf16(u"FE.Quit"), utf16(u"Quit 😀 (1/2)")}})
        .bytes();
}

// What the editor's Replace All and then Save write.
QByteArray editorReplaceAll(
    const QByteArray& input, const text::MatchOptions& options, const xom::LookIn lookIn, const QString& replacement)
{
    xom::LoadResult result = xom::loadLanguageFile(input);
    auto& file = std::get<xom::LoadedFile>(result);
    const xom::TableSearch search(options, lookIn);
    xom::applyCellChanges(file.entries, search.replaceAll(file.entries, replacement).changes);
    return xom::buildLanguageImage(file.entries, file.model);
}

TEST(Replace, WritesTheEditorsReplaceAllAndPrintsTheCount)
{
    using text::MatchMode;
    const struct {
        QStringList options;
        text::MatchOptions match;
        xom::LookIn lookIn;
        QString replacement;
        QByteArray printed;
    } rows[] = {
        {{"--find", "continue", "--replace", "Resume"}, {"continue", MatchMode::Contains, false}, xom::LookIn::Texts,
            "Resume", "3 replacements in 2 entries\n"},
        {{"--match-case", "--find=continue", "--replace=Resume"}, {"continue", MatchMode::Contains, true},
            xom::LookIn::Texts, "Resume", "1 replacement in 1 entry\n"},
        {{"--both", "--find", "continue", "--replace", ""}, {"continue", MatchMode::Contains, false}, xom::LookIn::Both,
            "", "5 replacements in 2 entries\n"},
        {{"--names", "--regex", "--find", "^FE\\.(\\w+)$", "--replace", "UI.\\1"},
            {"^FE\\.(\\w+)$", MatchMode::RegularExpression, false}, xom::LookIn::Names, "UI.\\1",
            "2 replacements in 2 entries\n"},
        {{"--regex", "--find", "\\((\\d)/(\\d)\\)", "--replace", "[\\2 of \\1] -"},
            {"\\((\\d)/(\\d)\\)", MatchMode::RegularExpression, false}, xom::LookIn::Texts, "[\\2 of \\1] -",
            "1 replacement in 1 entry\n"},
        {{"--find", "nowhere", "--replace", "x"}, {"nowhere", MatchMode::Contains, false}, xom::LookIn::Texts, "x",
            "0 replacements in 0 entries\n"},
    };
    for (const auto& row : rows) {
        QTemporaryDir dir;
        const QString path = dir.filePath(QStringLiteral("lang_en.xom"));
        writeFile(path, sampleBytes());

        // In place: OUT may be IN.
        const ProgramRun run = runLang(QStringList{QStringLiteral("replace"), path, path} + row.options);

        const std::string context = row.options.join(u' ').toStdString();
        EXPECT_EQ(run.exitCode, 0) << context << ": " << run.err.toStdString();
        EXPECT_EQ(run.out, row.printed) << context;
        EXPECT_EQ(readFile(path), editorReplaceAll(sampleBytes(), row.match, row.lookIn, row.replacement)) << context;
    }
}

TEST(Replace, RefusesABadCommandLineAndWritesNothing)
{
    const struct {
        QStringList options;
        int exitCode;
        QByteArray firstLine;
    } rows[] = {
        {{"--regex", "--find", "(open", "--replace", "x"}, 2,
            "ludra-lang: bad regular expression: missing closing parenthesis at position 5"},
        {{"--replace", "x"}, 2, "ludra-lang: replace needs a non-empty --find TEXT"},
        {{"--find", "", "--replace", "x"}, 2, "ludra-lang: replace needs a non-empty --find TEXT"},
        {{"--find", "a"}, 2, "ludra-lang: replace needs --replace TEXT (it may be empty)"},
        {{"--find", "a", "--replace", "b", "--names", "--both"}, 2,
            "ludra-lang: give only one of --names, --texts and --both"},
        {{"--find", "a", "--replace"}, 2, "ludra-lang: option '--replace' needs a value TEXT"},
        {{"--regex=yes", "--find", "a", "--replace", "b"}, 2, "ludra-lang: option '--regex' takes no value"},
        {{"--find", "a", "--replace", "b", "--all"}, 2, "ludra-lang: unknown option '--all'"},
    };
    for (const auto& row : rows) {
        QTemporaryDir dir;
        const QString in = dir.filePath(QStringLiteral("in.xom"));
        const QString out = dir.filePath(QStringLiteral("out.xom"));
        writeFile(in, sampleBytes());
        writeFile(out, "previous");

        const ProgramRun run = runLang(QStringList{QStringLiteral("replace"), in, out} + row.options);

        const std::string context = row.options.join(u' ').toStdString();
        EXPECT_EQ(run.exitCode, row.exitCode) << context;
        EXPECT_TRUE(run.err.startsWith(row.firstLine + '\n')) << context << ": " << run.err.toStdString();
        EXPECT_TRUE(run.err.contains("Usage: ludra-lang replace [OPTION]... IN OUT")) << context;
        EXPECT_EQ(readFile(out), QByteArray("previous")) << context;
    }
}

} // namespace
