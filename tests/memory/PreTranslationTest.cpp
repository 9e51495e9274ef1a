// What a document gives the memory, and a document filled from it: entry by
// entry against its state, and per threshold, as one step undo takes back.

#include "memory/DocumentUnits.h"
#include "memory/PreTranslation.h"
#include "memory/TranslationMemory.h"

#include "document/Document.h"
#include "xom/LanguageFileReader.h"

#include "support/FileBuilder.h"

#include <gtest/gtest.h>

#include <QTemporaryDir>

namespace {

using namespace Qt::StringLiterals;
using document::Document;
using review::State;

xom::LoadedFile fileOf(const std::vector<std::pair<QString, QString>>& nameTexts)
{
    return std::get<xom::LoadedFile>(xom::loadLanguageFile(testsupport::simpleFile(nameTexts).bytes()));
}

// One entry of a German translation beside its English reference.
struct EntryCase {
    const char* name;
    QString english; // empty: the reference lacks the entry
    QString german;
    review::EntryReview review;
    bool givesUnit;
};

TEST(DocumentUnits, OnlyTranslatedAndApprovedEntriesGoToTheMemory)
{
    const std::vector<EntryCase> cases{
        {"FE.TranslatedWithoutState", u"New game"_s, u"Neues Spiel"_s, {}, true},
        {"FE.UntranslatedWithoutState", u"Options"_s, u"Options"_s, {}, false},
        {"FE.Empty", u"Quit"_s, u""_s, {}, false},
        {"FE.NeedsReview", u"Load"_s, u"Laden"_s, {State::NeedsReview, {}, u"Load"_s}, false},
        {"FE.ApprovedAsItIs", u"OK"_s, u"OK"_s, {State::Approved, {}, u"OK"_s}, true},
        {"FE.Translated", u"Save"_s, u"Speichern"_s, {State::Translated, {}, u"Save"_s}, true},
        {"FE.SourceChanged", u"Save game"_s, u"Speichern"_s, {State::Translated, {}, u"Save"_s}, false},
        {"FE.NotInReference", u""_s, u"Nur hier"_s, {}, false},
    };
    std::vector<std::pair<QString, QString>> english;
    std::vector<std::pair<QString, QString>> german;
    for (const EntryCase& entry : cases) {
        if (!entry.english.isEmpty())
            english.emplace_back(QString::fromLatin1(entry.name), entry.english);
        german.emplace_back(QString::fromLatin1(entry.name), entry.german);
    }
    Document document;
    document.open(fileOf(german), u"/games/mod/lang_de.xom"_s);
    document.openReference(fileOf(english).entries, u"/games/base/LANG_EN.xom"_s);
    for (int row = 0; row < static_cast<int>(cases.size()); ++row) {
        if (cases[static_cast<std::size_t>(row)].review.keepsAnything())
            document.setEntryReviews({{row + 1, {}, cases[static_cast<std::size_t>(row)].review}}, u"Review"_s);
    }
    const memory::LanguagePair languages = memory::languagesOf(document);
    EXPECT_EQ(languages, (memory::LanguagePair{u"en"_s, u"de"_s}));
    EXPECT_EQ(memory::languagesOf(document, {u"en-GB"_s, {}}), (memory::LanguagePair{u"en-GB"_s, u"de"_s}));

    const QDateTime when(QDate(2026, 12, 9), QTime(8, 0), Qt::UTC);
    const std::vector<memory::MemoryUnit> units = memory::unitsOf(document, languages, when);
    std::size_t next = 0;
    for (const EntryCase& entry : cases) {
        if (!entry.givesUnit)
            continue;
        ASSERT_LT(next, units.size()) << entry.name;
        const memory::MemoryUnit& unit = units[next++];
        EXPECT_EQ(unit.entryName, QString::fromLatin1(entry.name));
        EXPECT_EQ(unit.source, entry.english);
        EXPECT_EQ(unit.target, entry.german);
        EXPECT_EQ(unit.approved, entry.review.state == State::Approved) << entry.name;
        EXPECT_EQ(unit.origin, u"lang_de.xom"_s);
        EXPECT_EQ(unit.changed, when);
    }
    EXPECT_EQ(next, units.size());
    EXPECT_TRUE(memory::unitsOf(document, {u"en"_s, {}}, when).empty());
}

// An untranslated entry, what the memory holds for its source, and what
// pre-translation makes of it at each threshold.
struct FillCase {
    const char* name;
    QString english;
    QString german;
    review::EntryReview review;
    // The text after pre-translating at 100, 90 and 75 (the entry's own
    // text where nothing is taken).
    std::array<QString, 3> textAt;
};

TEST(PreTranslation, FillsByThresholdAsOneStep)
{
    QTemporaryDir folder;
    memory::TranslationMemory memory(folder.filePath(u"memory.ludra-tm"_s));
    const auto unit = [](const QString& source, const QString& target) {
        return memory::MemoryUnit{u"en"_s, u"de"_s, source, target, {}, {}, {}, false};
    };
    memory.add({unit(u"Save the game"_s, u"Spiel speichern"_s), unit(u"You have 3 lives left."_s, u"Noch 3 Leben."_s),
        unit(u"Load the saved game now"_s, u"Gespeichertes Spiel jetzt laden"_s), unit(u"Quit"_s, u"Beenden"_s)});
    const std::vector<FillCase> cases{
        {"FE.Exact", u"Save the game"_s, u"Save the game"_s, {},
            {u"Spiel speichern"_s, u"Spiel speichern"_s, u"Spiel speichern"_s}},
        // n 6, d 0, 2 for the number: 98.
        {"FE.AnotherNumber", u"You have 5 lives left."_s, u""_s, {}, {u""_s, u"Noch 3 Leben."_s, u"Noch 3 Leben."_s}},
        // n 5, d 1: 80.
        {"FE.OneWordOff", u"Load the saved game later"_s, u"Load the saved game later"_s, {},
            {u"Load the saved game later"_s, u"Load the saved game later"_s, u"Gespeichertes Spiel jetzt laden"_s}},
        {"FE.NoMatch", u"Credits"_s, u"Credits"_s, {}, {u"Credits"_s, u"Credits"_s, u"Credits"_s}},
        // Translated as it is by a translator: never filled.
        {"FE.KeptAsItIs", u"Quit"_s, u"Quit"_s, {State::Translated, {}, u"Quit"_s}, {u"Quit"_s, u"Quit"_s, u"Quit"_s}},
        {"FE.AlreadyTranslated", u"Save the game"_s, u"Sichern"_s, {}, {u"Sichern"_s, u"Sichern"_s, u"Sichern"_s}},
        // A source the file has twice is looked up once and fills both.
        {"FE.ExactAgain", u"Save the game"_s, u"Save the game"_s, {},
            {u"Spiel speichern"_s, u"Spiel speichern"_s, u"Spiel speichern"_s}},
    };
    std::vector<std::pair<QString, QString>> english;
    std::vector<std::pair<QString, QString>> german;
    for (const FillCase& entry : cases) {
        english.emplace_back(QString::fromLatin1(entry.name), entry.english);
        german.emplace_back(QString::fromLatin1(entry.name), entry.german);
    }
    const auto openGerman = [&](Document& document) {
        document.open(fileOf(german), u"lang_de.xom"_s);
        document.openReference(fileOf(english).entries, u"lang_en.xom"_s);
        for (int row = 0; row < static_cast<int>(cases.size()); ++row) {
            if (cases[static_cast<std::size_t>(row)].review.keepsAnything())
                document.setEntryReviews({{row + 1, {}, cases[static_cast<std::size_t>(row)].review}}, u"Review"_s);
        }
    };
    const std::array<int, 3> thresholds{100, 90, 75};
    for (std::size_t t = 0; t < thresholds.size(); ++t) {
        SCOPED_TRACE(thresholds[t]);
        Document document;
        openGerman(document);
        const int stepsBefore = document.history().count();
        const memory::PreTranslateResult result
            = memory::preTranslate(document, memory, {u"en"_s, u"de"_s}, {thresholds[t], false});
        for (int row = 0; row < static_cast<int>(cases.size()); ++row) {
            const FillCase& entry = cases[static_cast<std::size_t>(row)];
            EXPECT_EQ(document.entries().text(row).toString(), entry.textAt[t]) << entry.name;
            const bool filled = entry.textAt[t] != entry.german;
            if (filled) {
                EXPECT_EQ(document.entryReview(row + 1).state, State::NeedsReview) << entry.name;
                EXPECT_EQ(document.entryReview(row + 1).snapshot, entry.english) << entry.name;
            }
        }
        // Every untranslated entry is counted, filled or not.
        EXPECT_EQ(result.exact + result.nearMatches + result.noMatch, 5);
        EXPECT_EQ(document.history().count(), stepsBefore + 1);
        EXPECT_EQ(document.history().undoText(), u"Pre-translate"_s);
        document.undo();
        for (int row = 0; row < static_cast<int>(cases.size()); ++row)
            EXPECT_EQ(document.entries().text(row).toString(), cases[static_cast<std::size_t>(row)].german);
    }

    // Exact matches taken as translated, on request; the summary says so.
    Document document;
    openGerman(document);
    const memory::PreTranslateResult result = memory::preTranslate(document, memory, {u"en"_s, u"de"_s}, {75, true});
    EXPECT_EQ(document.entryReview(1).state, State::Translated);
    EXPECT_EQ(document.entryReview(2).state, State::NeedsReview);
    EXPECT_EQ(memory::preTranslateSummary(result, {75, true}),
        u"2 exact (translated), 2 near (needing review), 1 without a match"_s);
    EXPECT_EQ(memory::preTranslateReport(result, document),
        "number\tname\tscore\toutcome\n1\tFE.Exact\t100\texact\n2\tFE.AnotherNumber\t98\tnear\n"
        "3\tFE.OneWordOff\t80\tnear\n4\tFE.NoMatch\t-\tno match\n7\tFE.ExactAgain\t100\texact\n");
}

} // namespace
