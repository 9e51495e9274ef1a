// The fixes made without asking a translator: each applies where it should
// and leaves alone what only looks like its target.

#include "checks/TextChecks.h"

#include <gtest/gtest.h>

#include <QStringList>

#include <optional>
#include <vector>

namespace {

using namespace Qt::StringLiterals;

struct FixCase {
    const char* what;
    QString reference;
    QString text;
    std::optional<QString> fixed; // nothing: the text must stay as it is
    QStringList fixes;
};

TEST(SafeFixes, ApplyWhereNeededAndNowhereElse)
{
    const std::vector<FixCase> cases{
        {"edge whitespace made the reference's", u"Save "_s, u" Sauver"_s, u"Sauver "_s, {u"edge whitespace"_s}},
        {"a zero-width space removed", u"Save"_s, u"Sau\u200Bver"_s, u"Sauver"_s, {u"invisible characters"_s}},
        {"a bell removed", u"Save"_s, u"Sau\u0007ver"_s, u"Sauver"_s, {u"control characters"_s}},
        {"three dots made an ellipsis", u"Loading…"_s, u"Chargement..."_s, u"Chargement…"_s, {u"ellipsis"_s}},
        {"everything at once, in order", u"Wait… "_s, u"\u200BAttends...\u0085"_s, u"Attends… "_s,
            {u"invisible characters"_s, u"control characters"_s, u"edge whitespace"_s, u"ellipsis"_s}},
        {"a stray joiner between Latin letters", u"Save"_s, u"Sa\u200Dve"_s, u"Save"_s, {u"invisible characters"_s}},
        {"ZWNJ in Persian stays", u"Save file"_s, u"ذخیره\u200Cی فایل"_s, std::nullopt, {}},
        {"ZWJ in an emoji sequence stays", u"Family"_s, u"👨\u200D👩\u200D👧"_s, std::nullopt, {}},
        {"a character the reference has stays", u"a\u200Bb"_s, u"c\u200Bd"_s, std::nullopt, {}},
        {"the reference's game code stays", u"\u0001Name"_s, u"\u0001Nom"_s, std::nullopt, {}},
        {"tab, CR and LF stay", u"A"_s, u"B\tC\r\nD"_s, std::nullopt, {}},
        {"a soft hyphen stays", u"Savegame"_s, u"Spiel\u00ADstand"_s, std::nullopt, {}},
        {"three dots stay where the reference has them", u"Wait..."_s, u"Attends..."_s, std::nullopt, {}},
        {"four dots are no ellipsis", u"Wait…"_s, u"Attends...."_s, std::nullopt, {}},
        {"whitespace alone stays", u"Save"_s, u"   "_s, std::nullopt, {}},
        {"the same edges", u"  Save\n"_s, u"  Sauver\n"_s, std::nullopt, {}},
    };
    for (const FixCase& c : cases) {
        const std::optional<checks::FixedText> fixed = checks::safelyFixed(c.reference, c.text);
        ASSERT_EQ(fixed.has_value(), c.fixed.has_value()) << c.what;
        if (!fixed)
            continue;
        EXPECT_EQ(fixed->text, *c.fixed) << c.what;
        EXPECT_EQ(fixed->fixes, c.fixes) << c.what;
    }
}

// A fixed text fails none of the checks its fixes are about.
TEST(SafeFixes, LeaveNothingForTheirChecks)
{
    checks::TextCheckContext context;
    context.enabled = checks::TextCheck::InvisibleCharacters | checks::TextCheck::ControlCharacters;
    const std::vector<std::pair<QString, QString>> pairs{
        {u"Save"_s, u"\u202ESau\u0085ver\u2066"_s},
        {u"\u0002Go"_s, u"\u0002\u0003Los\u200D"_s},
        {u"Hi"_s, u"\uFEFF\u061CSalut\u007F"_s},
    };
    for (const auto& [reference, text] : pairs) {
        ASSERT_FALSE(checks::failingTextChecks(reference, text, context).isEmpty());
        const std::optional<checks::FixedText> fixed = checks::safelyFixed(reference, text);
        ASSERT_TRUE(fixed.has_value());
        EXPECT_TRUE(checks::failingTextChecks(reference, fixed->text, context).isEmpty()) << fixed->text.toStdString();
    }
}

} // namespace
