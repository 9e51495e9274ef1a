// Translating beside a reference language: the Reference column, the
// preview of the reference text, the totals and F8.

#include "AppTestSupport.h"

#include "app/EntryGridModel.h"
#include "app/EntryGridView.h"

#include "dialogs/PlainTextBox.h"
#include "support/FileBuilder.h"

#include <QAction>
#include <QLabel>
#include <QLineEdit>
#include <QMenu>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QTest>

using apptest::Editor;

namespace {

constexpr int ReferenceColumn = app::EntryGridModel::ReferenceColumn;

const std::vector<std::pair<QString, QString>>& Working = apptest::frenchEntries();
const std::vector<std::pair<QString, QString>>& Reference = apptest::englishReferenceEntries();

// Through File > Open Reference…, as a user would.
void openReference(Editor& editor, const QByteArray& bytes)
{
    editor.files->referenceAnswers.push_back(editor.writeFile(QStringLiteral("lang_en.xom"), bytes));
    QAction* const action = editor.window.actions().openReference;
    const auto* const menu = qobject_cast<QMenu*>(action->associatedObjects().value(0));
    QVERIFY(menu);
    QCOMPARE(menu->title().remove(u'&'), QStringLiteral("File"));
    QCOMPARE(action->text(), QStringLiteral("Open Reference\u2026"));
    action->trigger();
}

void openBoth(Editor& editor)
{
    editor.openEntries(Working, QStringLiteral("lang_fr.xom"));
    openReference(editor, testsupport::simpleFile(Reference).bytes());
}

QString checksPanel(const Editor& editor)
{
    return editor.window.findChild<QLabel*>(QStringLiteral("StatusPanel2"))->text();
}

QString gridText(const Editor& editor, const int gridRow, const int column, const int role = Qt::DisplayRole)
{
    const QAbstractItemModel* const model = editor.table()->model();
    return model->data(model->index(gridRow - 1, column), role).toString();
}

QList<int> columnWidths(const Editor& editor)
{
    QList<int> widths;
    for (int column = 0; column < editor.table()->model()->columnCount(); ++column)
        widths += editor.table()->columnWidth(column);
    return widths;
}

} // namespace

class ReferenceTest : public QObject {
    Q_OBJECT

private slots:
    void referenceColumnComesAndGoes();
    void rejectedReferenceChangesNothing();
    void previewAndChecksFollowTheSelection();
    void f8StepsThroughFailingEntries();
    void totalsFollowEditsAndAdds();
};

void ReferenceTest::referenceColumnComesAndGoes()
{
    Editor editor;
    editor.openEntries(Working);
    QCOMPARE(editor.table()->model()->columnCount(), 4);
    QVERIFY(!editor.window.actions().closeReference->isEnabled());

    openReference(editor, testsupport::simpleFile(Reference).bytes());
    QCOMPARE(editor.table()->model()->columnCount(), 5);
    QCOMPARE(
        editor.table()->model()->headerData(ReferenceColumn, Qt::Horizontal).toString(), QStringLiteral("Reference"));
    QCOMPARE(columnWidths(editor), (QList<int>{15, 30, 150, 200, 200}));
    // The first reference entry of a name; none for a name it lacks.
    QStringList references;
    for (int row = 1; row <= 5; ++row)
        references += gridText(editor, row, ReferenceColumn);
    QCOMPARE(references, (QStringList{QStringLiteral("Start"), QStringLiteral("Options"), QStringLiteral("%d points"),
                             QStringLiteral("Quit"), QString()}));
    QVERIFY(editor.window.actions().closeReference->isEnabled());

    // A Reference cell can be selected for reading, never edited.
    editor.clickCell(1, ReferenceColumn);
    QCOMPARE(editor.currentCell(), std::make_pair(1, ReferenceColumn));
    QCOMPARE(editor.preview()->toPlainText(), QStringLiteral("Start"));
    QVERIFY(!editor.button("EditText")->isEnabled());
    editor.window.setSelectedCellText(QStringLiteral("changed"));
    QCOMPARE(gridText(editor, 1, ReferenceColumn), QStringLiteral("Start"));

    editor.window.actions().closeReference->trigger();
    QCOMPARE(editor.table()->model()->columnCount(), 4);
    QCOMPARE(columnWidths(editor), (QList<int>{15, 30, 150, 255}));
    QCOMPARE(editor.currentCell(), std::make_pair(1, static_cast<int>(xom::TextColumn)));
    QVERIFY(editor.window.findChild<QWidget*>(QStringLiteral("ReferencePane"))->isHidden());
    // The count of the load comes back.
    QCOMPARE(editor.countPanel(), QStringLiteral("5"));
    QCOMPARE(gridText(editor, 2, xom::MarkColumn, Qt::ToolTipRole), QString());
}

void ReferenceTest::rejectedReferenceChangesNothing()
{
    Editor editor;
    editor.openEntries(Working);
    openReference(editor, QByteArray("not a language file"));

    QCOMPARE(editor.boxes->badLanguageFileBoxes, 1);
    QCOMPARE(editor.table()->model()->columnCount(), 4);
    QVERIFY(!editor.window.actions().closeReference->isEnabled());
    // And a good reference stays when a bad one follows it.
    openReference(editor, testsupport::simpleFile(Reference).bytes());
    openReference(editor, QByteArray("not a language file"));
    QCOMPARE(editor.boxes->badLanguageFileBoxes, 2);
    QCOMPARE(gridText(editor, 1, ReferenceColumn), QStringLiteral("Start"));
}

void ReferenceTest::previewAndChecksFollowTheSelection()
{
    Editor editor;
    openBoth(editor);
    QVERIFY(!editor.window.findChild<QWidget*>(QStringLiteral("ReferencePane"))->isHidden());
    auto* const referencePreview = editor.window.findChild<QPlainTextEdit*>(QStringLiteral("ReferencePreview"));

    editor.clickCell(3, xom::TextColumn);
    QCOMPARE(editor.preview()->toPlainText(), QStringLiteral("points"));
    QCOMPARE(referencePreview->toPlainText(), QStringLiteral("%d points"));
    QCOMPARE(checksPanel(editor), QStringLiteral("placeholders differ (missing %d)"));
    QCOMPARE(gridText(editor, 3, xom::MarkColumn, Qt::ToolTipRole), QStringLiteral("placeholders differ (missing %d)"));

    editor.clickCell(5, xom::NameColumn);
    QCOMPARE(referencePreview->toPlainText(), QString());
    QCOMPARE(checksPanel(editor), QStringLiteral("missing reference"));

    editor.clickCell(1, xom::NumberColumn);
    QCOMPARE(referencePreview->toPlainText(), QStringLiteral("Start"));
    QCOMPARE(checksPanel(editor), QString());
}

void ReferenceTest::f8StepsThroughFailingEntries()
{
    Editor editor;
    openBoth(editor);
    editor.clickCell(1, xom::NameColumn);

    QList<int> forward;
    for (int step = 0; step < 4; ++step) {
        QTest::keyClick(editor.table(), Qt::Key_F8);
        QCOMPARE(editor.currentCell().second, static_cast<int>(xom::TextColumn));
        forward += editor.currentCell().first;
    }
    QCOMPARE(forward, (QList<int>{2, 3, 5, 2}));
    QVERIFY(editor.button("EditText")->isEnabled());
    QCOMPARE(editor.rowPanel(), QStringLiteral("2"));

    QList<int> backward;
    for (int step = 0; step < 4; ++step) {
        QTest::keyClick(editor.table(), Qt::Key_F8, Qt::ShiftModifier);
        backward += editor.currentCell().first;
    }
    QCOMPARE(backward, (QList<int>{5, 3, 2, 5}));

    // With nothing failing F8 stays where it is.
    editor.window.actions().closeReference->trigger();
    editor.clickCell(4, xom::NameColumn);
    QTest::keyClick(editor.table(), Qt::Key_F8);
    QCOMPARE(editor.currentCell(), std::make_pair(4, static_cast<int>(xom::NameColumn)));
}

void ReferenceTest::totalsFollowEditsAndAdds()
{
    Editor editor;
    openBoth(editor);
    QCOMPARE(editor.countPanel(), QStringLiteral("1 untranslated · 2 with warnings"));

    // Fix the placeholder of row 3 through the Edit dialog.
    editor.clickCell(3, xom::TextColumn);
    dialogs::TEditForm& form = editor.forms.EditForm;
    apptest::whenShown(form, [&] {
        form.findChild<dialogs::PlainTextBox*>(QStringLiteral("RichEdit1"))->setText(QStringLiteral("%d points"));
        QTest::mouseClick(form.findChild<QPushButton*>(QStringLiteral("Button1")), Qt::LeftButton);
    });
    editor.click("EditText");
    QCOMPARE(editor.cell(3, xom::TextColumn), QStringLiteral("%d points"));
    QCOMPARE(editor.countPanel(), QStringLiteral("2 untranslated · 1 with warnings"));
    QCOMPARE(checksPanel(editor), QStringLiteral("untranslated"));

    editor.window.setSelectedCellText(QStringLiteral("%d Punkte"));
    QCOMPARE(editor.countPanel(), QStringLiteral("1 untranslated · 1 with warnings"));
    QCOMPARE(checksPanel(editor), QString());

    // Sorting moves rows, not the totals; the checks move with their rows.
    editor.click("Sort");
    QCOMPARE(editor.countPanel(), QStringLiteral("1 untranslated · 1 with warnings"));
    QCOMPARE(gridText(editor, 1, xom::NameColumn), QStringLiteral("FE.New"));
    QCOMPARE(gridText(editor, 1, xom::MarkColumn, Qt::ToolTipRole), QStringLiteral("missing reference"));

    // An entry added while the reference is open is checked at once, and the
    // panel keeps the totals.
    apptest::whenShown(editor.forms.AddForm, [&] {
        editor.forms.AddForm.findChild<QLineEdit*>(QStringLiteral("EditName"))->setText(QStringLiteral("FE.Quit"));
        editor.forms.AddForm.findChild<dialogs::PlainTextBox*>(QStringLiteral("EditText"))
            ->setText(QStringLiteral("Quit"));
        QTest::mouseClick(editor.forms.AddForm.findChild<QPushButton*>(QStringLiteral("AddBut")), Qt::LeftButton);
    });
    editor.click("AddRow");
    // Untranslated, and a second FE.Quit: the first one now fails too.
    QCOMPARE(editor.countPanel(), QStringLiteral("2 untranslated · 2 with warnings"));
    QCOMPARE(checksPanel(editor), QStringLiteral("untranslated, duplicate name"));

    // Undo takes the checks back with the entries: the Add, the Sort, then
    // the last edit.
    QAction* const undo = editor.window.findChild<QAction*>(QStringLiteral("actionUndo"));
    undo->trigger();
    QCOMPARE(editor.countPanel(), QStringLiteral("1 untranslated · 1 with warnings"));
    undo->trigger();
    QCOMPARE(gridText(editor, 5, xom::MarkColumn, Qt::ToolTipRole), QStringLiteral("missing reference"));
    undo->trigger();
    QCOMPARE(editor.countPanel(), QStringLiteral("2 untranslated · 1 with warnings"));
}

QTEST_MAIN(ReferenceTest)
#include "ReferenceTest.moc"
