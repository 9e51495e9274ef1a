#include "InputFiles.h"
#include "ProgramRun.h"

#include "xom/EntryOperations.h"
#include "xom/LanguageFileReader.h"
#include "xom/LanguageFileWriter.h"

#include <gtest/gtest.h>

#include <QTemporaryDir>

namespace {

using namespace toolstest;

// What the editor's Save writes for the file after the operation.
QByteArray editorSave(const QByteArray& input, const std::function<void(xom::EntryTable&)>& operation)
{
    xom::LoadResult result = xom::loadLanguageFile(input);
    auto& file = std::get<xom::LoadedFile>(result);
    operation(file.entries);
    return xom::buildLanguageImage(file.entries, file.model);
}

class SaveCommands : public testing::TestWithParam<InputFile> { };

TEST_P(SaveCommands, ResaveWritesTheEditorsSave)
{
    QTemporaryDir dir;
    const QString in = dir.filePath(QStringLiteral("lang_in.xom"));
    const QString out = dir.filePath(QStringLiteral("lang_out.xom"));
    writeFile(in, GetParam().bytes);

    const ProgramRun run = runLang({QStringLiteral("resave"), in, out});

    EXPECT_EQ(run.exitCode, 0) << run.err.toStdString();
    EXPECT_EQ(run.out + run.err, QByteArray());
    EXPECT_EQ(readFile(out), editorSave(GetParam().bytes, [](xom::EntryTable&) {}));
}

TEST_P(SaveCommands, SortWritesTheEditorsSortThenSave)
{
    QTemporaryDir dir;
    const QString path = dir.filePath(QStringLiteral("lang_in.xom"));
    writeFile(path, GetParam().bytes);

    // In place: OUT may be IN.
    const ProgramRun run = runLang({QStringLiteral("sort"), path, path});

    EXPECT_EQ(run.exitCode, 0) << run.err.toStdString();
    EXPECT_EQ(readFile(path),
        editorSave(GetParam().bytes, [](xom::EntryTable& entries) { xom::sortEntriesByName(entries); }));
}

INSTANTIATE_TEST_SUITE_P(Files, SaveCommands, testing::ValuesIn(inputFiles()),
    [](const testing::TestParamInfo<InputFile>& row) { return row.param.name; });

} // namespace
