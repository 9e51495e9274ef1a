#include "text/EditorError.h"

#include "support/PinnedTextEnvironment.h"
#include "support/UnicodeStringList.h"

#include <gtest/gtest.h>

#include <QStringList>

namespace {

using testsupport::PinnedTextEnvironment;

testsupport::UnicodeStringList listOf(const QStringList& texts)
{
    testsupport::UnicodeStringList list;
    for (const QString& t : texts)
        list.append(t);
    return list;
}

QStringList textsOf(const testsupport::UnicodeStringList& list)
{
    QStringList texts;
    for (int i = 0; i < list.count(); ++i)
        texts.append(list.get(i));
    return texts;
}

TEST(UnicodeStringList, RaisesListIndexErrorOutsideTheList)
{
    const struct {
        QStringList texts;
        int index;
    } rows[] = {{{"only"}, 1}, {{"only"}, -1}, {{}, 0}, {{"a", "b"}, 2}};
    for (const auto& row : rows) {
        testsupport::UnicodeStringList list = listOf(row.texts);
        const QString message = QStringLiteral("List index out of bounds (%1)").arg(row.index);
        try {
            (void)list.get(row.index);
            ADD_FAILURE() << "get " << row.index;
        } catch (const text::ListIndexError& error) {
            EXPECT_EQ(error.message(), message);
        }
        try {
            list.removeAt(row.index);
            ADD_FAILURE() << "removeAt " << row.index;
        } catch (const text::ListIndexError& error) {
            EXPECT_EQ(error.message(), message);
        }
        EXPECT_EQ(textsOf(list), row.texts);
    }
}

TEST(UnicodeStringList, FindGivesTheFirstTextEqualUnderTheCaseSwitch)
{
    const struct {
        QStringList texts;
        bool matchCase;
        QString wanted;
        int index;
    } rows[] = {
        {{"A", "a"}, false, "a", 0},
        {{"A", "a"}, true, "a", 1},
        {{"", "Kept", "x"}, true, "", 0},
        {{"", "Kept", "x"}, false, "kept", 1},
        {{"", "Kept", "x"}, true, "kept", -1},
        {{}, false, "", -1},
    };
    const PinnedTextEnvironment pinned(QStringLiteral("en_US"), 1252);
    for (const auto& row : rows) {
        testsupport::UnicodeStringList list = listOf(row.texts);
        list.setMatchCase(row.matchCase);
        EXPECT_EQ(list.find(row.wanted), row.index)
            << row.texts.join(u',').toStdString() << " " << row.wanted.toStdString();
    }
}

TEST(UnicodeStringList, CopyFromTakesTheTextsButNotTheCaseSwitch)
{
    for (const bool targetMatchCase : {false, true}) {
        testsupport::UnicodeStringList source = listOf({"b", "a", "b"});
        source.setMatchCase(!targetMatchCase);
        testsupport::UnicodeStringList target = listOf({"old"});
        target.setMatchCase(targetMatchCase);
        target.copyFrom(source);
        EXPECT_EQ(textsOf(target), (QStringList{"b", "a", "b"}));
        EXPECT_EQ(target.matchCase(), targetMatchCase);
    }
}

TEST(UnicodeStringList, SortWithNeverCallsTheComparerForFewerThanTwoTexts)
{
    for (const QStringList& texts : {QStringList{}, QStringList{"only"}}) {
        testsupport::UnicodeStringList list = listOf(texts);
        int calls = 0;
        list.sortWith([&](const testsupport::UnicodeStringList&, int, int) {
            ++calls;
            return 0;
        });
        EXPECT_EQ(calls, 0);
        EXPECT_EQ(textsOf(list), texts);
    }
}

} // namespace
