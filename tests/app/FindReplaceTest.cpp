// Search again in the search box, and the Find and Replace dialog driven
// through its boxes and buttons.

#include "AppTestSupport.h"

#include "app/EntryGridView.h"

#include "xom/LanguageFileReader.h"

#include <QCheckBox>
#include <QComboBox>
#include <QFile>
#include <QLabel>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QTest>

using apptest::Editor;

namespace {

std::vector<std::pair<QString, QString>> sampleEntries()
{
    return {{"FE.Help", "Help"}, {"FE.World", "World"}, {"FE.Continue", "continue or Continue?\r\nhelp"},
        {"FE.Shout", "HELP!"}};
}

template <typename Widget> Widget* child(const Editor& editor, const char* name)
{
    auto* const widget = editor.forms.FindReplace.findChild<Widget*>(QLatin1String(name));
    Q_ASSERT(widget);
    return widget;
}

void pressF3(Editor& editor, const Qt::KeyboardModifiers modifiers = {})
{
    QTest::keyClick(editor.searchBox(), Qt::Key_F3, modifiers);
}

// The dialog set up as the user would: a find text, a replacement, where to
// look and how to match.
void fillDialog(Editor& editor, const QString& find, const QString& replacement, const int lookIn, const int mode,
    const bool matchCase = false)
{
    child<QLineEdit>(editor, "FindText")->setText(find);
    child<QLineEdit>(editor, "ReplaceText")->setText(replacement);
    child<QComboBox>(editor, "LookIn")->setCurrentIndex(lookIn);
    child<QComboBox>(editor, "MatchMode")->setCurrentIndex(mode);
    child<QCheckBox>(editor, "MatchCase")->setChecked(matchCase);
}

void clickDialog(Editor& editor, const char* button)
{
    QTest::mouseClick(child<QPushButton>(editor, button), Qt::LeftButton);
}

QString resultLine(const Editor& editor)
{
    return child<QLabel>(editor, "Result")->text();
}

// What a save writes now.
QByteArray savedBytes(Editor& editor, const QString& name)
{
    const QString path = editor.pathIn(name);
    editor.save(path);
    QFile file(path);
    file.open(QIODevice::ReadOnly);
    return file.readAll();
}

constexpr int Texts = 0;
constexpr int Both = 2;
constexpr int Contains = 0;
constexpr int WholeText = 2;
constexpr int RegularExpression = 3;

} // namespace

class FindReplaceTest : public QObject {
    Q_OBJECT

private slots:
    void f3StepsThroughTheTextsThatStartWithTheSearch();
    void ctrlFOpensTheDialogWithTheSearchText();
    void findNextAndPreviousSelectEachMatchAndWrap();
    void replaceChangesTheCurrentMatchThenFindsTheNext();
    void replaceAllCountsAndChangesWhatIsSaved();
    void aBadPatternSaysWhyAndFindsNothing();
};

void FindReplaceTest::f3StepsThroughTheTextsThatStartWithTheSearch()
{
    Editor editor;
    editor.openEntries(sampleEntries());
    const QString count = editor.countPanel();
    editor.clickCell(1, 3);
    editor.searchBox()->setText(QStringLiteral("help"));

    pressF3(editor);
    QCOMPARE(editor.currentCell(), std::make_pair(4, 3));
    pressF3(editor);
    QCOMPARE(editor.currentCell(), std::make_pair(1, 3)); // round past the last row
    pressF3(editor, Qt::ShiftModifier);
    QCOMPARE(editor.currentCell(), std::make_pair(4, 3));
    pressF3(editor, Qt::ShiftModifier);
    QCOMPARE(editor.currentCell(), std::make_pair(1, 3));
    QCOMPARE(editor.rowPanel(), QStringLiteral("1"));

    editor.searchBox()->setText(QStringLiteral("nothing"));
    pressF3(editor);
    QCOMPARE(editor.countPanel(), QStringLiteral("Not found"));
    QCOMPARE(editor.currentCell(), std::make_pair(1, 3));
    editor.searchBox()->setText(QStringLiteral("wor"));
    pressF3(editor, Qt::ShiftModifier);
    QCOMPARE(editor.currentCell(), std::make_pair(2, 3));
    QCOMPARE(editor.countPanel(), count);
}

void FindReplaceTest::ctrlFOpensTheDialogWithTheSearchText()
{
    Editor editor;
    editor.openEntries(sampleEntries());
    editor.searchBox()->setFocus();
    editor.searchBox()->setText(QStringLiteral("cont"));

    QTest::keyClick(editor.searchBox(), Qt::Key_F, Qt::ControlModifier);
    QVERIFY(editor.forms.FindReplace.isVisible());
    QCOMPARE(child<QLineEdit>(editor, "FindText")->text(), QStringLiteral("cont"));
    editor.forms.FindReplace.hide();

    // Ctrl+H opens it with the find box as it was.
    editor.searchBox()->setText(QStringLiteral("other"));
    QTest::keyClick(editor.searchBox(), Qt::Key_H, Qt::ControlModifier);
    QVERIFY(editor.forms.FindReplace.isVisible());
    QCOMPARE(child<QLineEdit>(editor, "FindText")->text(), QStringLiteral("cont"));
}

void FindReplaceTest::findNextAndPreviousSelectEachMatchAndWrap()
{
    Editor editor;
    editor.openEntries(sampleEntries());
    editor.clickCell(1, 2);
    editor.forms.FindReplace.showFor();
    fillDialog(editor, QStringLiteral("e"), QString(), Both, Contains, true);

    // Name before text in each row; a cell with two matches is selected twice.
    const std::vector<std::pair<int, int>> expected{{1, 2}, {1, 3}, {3, 2}, {3, 3}, {3, 3}, {3, 3}, {1, 2}, {1, 3}};
    std::vector<std::pair<int, int>> visited;
    for (std::size_t i = 0; i < expected.size(); ++i) {
        clickDialog(editor, "FindNext");
        visited.push_back(editor.currentCell());
    }
    QCOMPARE(visited, expected);

    clickDialog(editor, "FindPrevious");
    QCOMPARE(editor.currentCell(), std::make_pair(1, 2));
    clickDialog(editor, "FindPrevious");
    QCOMPARE(editor.currentCell(), std::make_pair(3, 3)); // round past the first cell
    QCOMPARE(resultLine(editor), QString());

    fillDialog(editor, QStringLiteral("nowhere"), QString(), Both, Contains);
    clickDialog(editor, "FindNext");
    QCOMPARE(resultLine(editor), QStringLiteral("Not found"));
    QCOMPARE(editor.currentCell(), std::make_pair(3, 3));
}

void FindReplaceTest::replaceChangesTheCurrentMatchThenFindsTheNext()
{
    Editor editor;
    editor.openEntries(sampleEntries());
    editor.clickCell(1, 3);
    editor.forms.FindReplace.showFor();
    fillDialog(editor, QStringLiteral("continue"), QStringLiteral("Resume"), Texts, Contains);

    clickDialog(editor, "Replace"); // nothing found yet: finds first
    QCOMPARE(editor.currentCell(), std::make_pair(3, 3));
    QCOMPARE(editor.cell(3, 3), QStringLiteral("continue or Continue?\r\nhelp"));
    clickDialog(editor, "Replace");
    QCOMPARE(editor.cell(3, 3), QStringLiteral("Resume or Continue?\r\nhelp"));
    clickDialog(editor, "Replace");
    QCOMPARE(editor.cell(3, 3), QStringLiteral("Resume or Resume?\r\nhelp"));
    QVERIFY(editor.preview()->toPlainText().startsWith(QStringLiteral("Resume or Resume?")));
    clickDialog(editor, "Replace");
    QCOMPARE(resultLine(editor), QStringLiteral("Not found"));
    QCOMPARE(editor.cell(3, 3), QStringLiteral("Resume or Resume?\r\nhelp"));
}

void FindReplaceTest::replaceAllCountsAndChangesWhatIsSaved()
{
    Editor editor;
    editor.openEntries(sampleEntries());
    const QByteArray original = savedBytes(editor, QStringLiteral("lang_original.xom"));
    const int steps = editor.window.document().history().count();
    editor.forms.FindReplace.showFor();
    fillDialog(editor, QStringLiteral("(h)elp"), QStringLiteral("\\1ELP"), Both, RegularExpression);

    clickDialog(editor, "Count");
    QCOMPARE(resultLine(editor), QStringLiteral("4 matches in 3 entries"));
    clickDialog(editor, "ReplaceAll");
    QCOMPARE(resultLine(editor), QStringLiteral("4 replacements in 3 entries"));
    QCOMPARE(editor.window.document().history().count(), steps + 1);

    const QByteArray replaced = savedBytes(editor, QStringLiteral("lang_replaced.xom"));
    xom::LoadResult loaded = xom::loadLanguageFile(replaced);
    QStringList cells;
    for (const xom::Entry& entry : std::get<xom::LoadedFile>(loaded).entries.entries())
        cells << entry.name + u'|' + entry.text;
    QCOMPARE(cells,
        (QStringList{"FE.HELP|HELP", "FE.World|World", "FE.Continue|continue or Continue?\r\nhELP", "FE.Shout|HELP!"}));

    // One undo takes the whole Replace All back, to the byte; redo makes it again.
    QTest::keyClick(editor.table(), Qt::Key_Z, Qt::ControlModifier);
    QCOMPARE(savedBytes(editor, QStringLiteral("lang_undone.xom")), original);
    editor.window.document().redo();
    QCOMPARE(savedBytes(editor, QStringLiteral("lang_redone.xom")), replaced);

    fillDialog(editor, QStringLiteral("world"), QStringLiteral("Earth"), Texts, WholeText);
    clickDialog(editor, "ReplaceAll");
    QCOMPARE(resultLine(editor), QStringLiteral("1 replacement in 1 entry"));
    QCOMPARE(editor.cell(2, 3), QStringLiteral("Earth"));
}

void FindReplaceTest::aBadPatternSaysWhyAndFindsNothing()
{
    Editor editor;
    editor.openEntries(sampleEntries());
    editor.clickCell(1, 3);
    editor.forms.FindReplace.showFor();
    fillDialog(editor, QStringLiteral("help("), QStringLiteral("x"), Texts, RegularExpression);

    auto* const why = child<QLabel>(editor, "PatternError");
    QVERIFY(why->isVisible());
    QVERIFY2(why->text().contains(QStringLiteral("parenthesis")), qPrintable(why->text()));
    clickDialog(editor, "FindNext");
    QCOMPARE(resultLine(editor), QStringLiteral("Not found"));
    // Nothing that changes or counts runs on it.
    for (const char* button : {"Replace", "ReplaceAll", "Count"})
        QVERIFY(!child<QPushButton>(editor, button)->isEnabled());
    editor.forms.FindReplace.replaceAll();
    QCOMPARE(resultLine(editor), QStringLiteral("Not found"));
    QCOMPARE(editor.cell(1, 3), QStringLiteral("Help"));
    QCOMPARE(editor.window.document().history().count(), 0);

    child<QLineEdit>(editor, "FindText")->setText(QStringLiteral("help\\("));
    QVERIFY(!why->isVisible());
}

QTEST_MAIN(FindReplaceTest)
#include "FindReplaceTest.moc"
