// Scripts of steps: what each line reads as, and the line and reason of
// every refusal, before and while it runs.

#include "document/Document.h"
#include "document/EditScript.h"

#include "support/RandomEntries.h"

#include <QDir>

#include <gtest/gtest.h>

#include <random>

namespace {

using document::ScriptStep;
using Kind = ScriptStep::Kind;

TEST(EditScript, LinesReadAsSteps)
{
    const std::vector<ScriptStep> steps = document::parseEditScript(
        "# comment\r\n\nedit\t3\tA\\r\\nB\\t\\\\\nrename\t1\tFE.X\nadd\tFE.New\t\nmark\t12\nmove-down\nsort\n"
        "replace-all\ta\\nb\tc\nimport\tedits.po\nundo\nredo");
    const std::vector<std::tuple<Kind, int, int, QString, QString>> expected = {
        {Kind::Edit, 3, 3, QStringLiteral("A\r\nB\t\\"), QString()},
        {Kind::Rename, 4, 1, QStringLiteral("FE.X"), QString()},
        {Kind::Add, 5, 0, QStringLiteral("FE.New"), QString()},
        {Kind::Mark, 6, 12, QString(), QString()},
        {Kind::MoveDown, 7, 0, QString(), QString()},
        {Kind::Sort, 8, 0, QString(), QString()},
        {Kind::ReplaceAll, 9, 0, QStringLiteral("a\nb"), QStringLiteral("c")},
        {Kind::Import, 10, 0, QStringLiteral("edits.po"), QString()},
        {Kind::Undo, 11, 0, QString(), QString()},
        {Kind::Redo, 12, 0, QString(), QString()},
    };
    ASSERT_EQ(steps.size(), expected.size());
    for (std::size_t i = 0; i < steps.size(); ++i) {
        SCOPED_TRACE(i);
        const auto& [kind, line, row, first, second] = expected[i];
        EXPECT_EQ(steps[i].kind, kind);
        EXPECT_EQ(steps[i].line, line);
        EXPECT_EQ(steps[i].gridRow, row);
        EXPECT_EQ(steps[i].first, first);
        EXPECT_EQ(steps[i].second, second);
    }
}

TEST(EditScript, RefusalsNameTheirLine)
{
    const std::vector<std::tuple<const char*, QByteArray, int, QString>> cases = {
        {"unknown step", "sort\nfly\t1\n", 2, QStringLiteral("no step is called \"fly\"")},
        {"too few fields", "edit\t1\n", 1, QStringLiteral("edit takes 2 fields")},
        {"too many fields", "sort\tnow\n", 1, QStringLiteral("sort takes 0 fields")},
        {"row zero", "\n\nmark\t0\n", 3, QStringLiteral("a row is a number from 1")},
        {"row not a number", "mark\tx1\n", 1, QStringLiteral("a row is a number from 1")},
        {"bad escape", "add\tFE.A\ta\\qb\n", 1,
            QStringLiteral("a backslash stands before n, r, t or another backslash")},
        {"trailing backslash", "add\tFE.A\ta\\\n", 1,
            QStringLiteral("a backslash stands before n, r, t or another backslash")},
        {"not UTF-8", "sort\nadd\tFE.A\t\xff\xfe\n", 2, QStringLiteral("the line is not UTF-8")},
    };
    for (const auto& [name, script, line, reason] : cases) {
        SCOPED_TRACE(name);
        try {
            (void)document::parseEditScript(script);
            ADD_FAILURE() << "taken";
        } catch (const document::ScriptError& error) {
            EXPECT_EQ(error.line(), line);
            EXPECT_EQ(error.reason(), reason);
        }
    }
}

TEST(EditScript, StepsThatCannotBeMadeNameTheirLine)
{
    const std::vector<std::tuple<const char*, QByteArray, int, QString>> cases = {
        {"a row the file lacks", "sort\nedit\t41\tx\n", 2, QStringLiteral("there is no row 41")},
        {"nothing to undo", "undo\n", 1, QStringLiteral("there is nothing to undo")},
        {"nothing to redo", "mark\t1\nredo\n", 2, QStringLiteral("there is nothing to redo")},
    };
    for (const auto& [name, script, line, reason] : cases) {
        SCOPED_TRACE(name);
        std::mt19937 random(3);
        document::Document document;
        document.open(testsupport::randomLoadedFile(random, 40), QStringLiteral("lang_test.xom"));
        try {
            document::runEditScript(document, document::parseEditScript(script), QDir::temp());
            ADD_FAILURE() << "made";
        } catch (const document::ScriptError& error) {
            EXPECT_EQ(error.line(), line);
            EXPECT_EQ(error.reason(), reason);
        }
    }
}

} // namespace
