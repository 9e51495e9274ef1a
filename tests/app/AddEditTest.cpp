// Adding entries through the Add dialog, editing a cell through the Edit
// dialog, and the Edit button following the mouse releases.

#include "AppTestSupport.h"

#include "app/EntryGridView.h"

#include "dialogs/PlainTextBox.h"

#include <QHeaderView>
#include <QLabel>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QScrollBar>
#include <QTest>

using apptest::Editor;

namespace {

std::vector<std::pair<QString, QString>> numberedEntries(const int count)
{
    std::vector<std::pair<QString, QString>> entries;
    for (int k = 1; k <= count; ++k)
        entries.emplace_back(QStringLiteral("FE.Str%1").arg(k), QStringLiteral("T%1").arg(k));
    return entries;
}

// What the Add dialog showed when it opened.
struct AddDialogSeen {
    QString label;
    QString name;
    QString text;
};

QLineEdit* addName(Editor& editor)
{
    return editor.forms.AddForm.findChild<QLineEdit*>(QStringLiteral("EditName"));
}

dialogs::PlainTextBox* addText(Editor& editor)
{
    return editor.forms.AddForm.findChild<dialogs::PlainTextBox*>(QStringLiteral("EditText"));
}

dialogs::PlainTextBox* editText(Editor& editor)
{
    return editor.forms.EditForm.findChild<dialogs::PlainTextBox*>(QStringLiteral("RichEdit1"));
}

// Clicks "Add", types name and text into the dialog and ends it with the
// button named endButton ("AddBut" or "Button2"); gives what it showed first.
AddDialogSeen addThroughDialog(
    Editor& editor, const QString& name, const QString& text, const char* endButton = "AddBut")
{
    AddDialogSeen seen;
    dialogs::TAddForm& form = editor.forms.AddForm;
    apptest::whenShown(form, [&] {
        seen.label = form.findChild<QLabel*>(QStringLiteral("labNumber"))->text();
        seen.name = addName(editor)->text();
        seen.text = addText(editor)->text();
        addName(editor)->clear();
        QTest::keyClicks(addName(editor), name);
        addText(editor)->setText(text);
        QTest::mouseClick(form.findChild<QPushButton*>(QLatin1String(endButton)), Qt::LeftButton);
    });
    editor.click("AddRow");
    return seen;
}

// Clicks "Edit"; gives the text the dialog showed, and ends it with "Save"
// after putting newText in, or with "Close" when newText is empty.
QString editThroughDialog(Editor& editor, const QString& newText)
{
    QString shown;
    dialogs::TEditForm& form = editor.forms.EditForm;
    apptest::whenShown(form, [&] {
        shown = editText(editor)->text();
        if (newText.isEmpty()) {
            QTest::mouseClick(form.findChild<QPushButton*>(QStringLiteral("Button2")), Qt::LeftButton);
            return;
        }
        editText(editor)->setText(newText);
        QTest::mouseClick(form.findChild<QPushButton*>(QStringLiteral("Button1")), Qt::LeftButton);
    });
    editor.click("EditText");
    return shown;
}

int stringResourceCount(const Editor& editor)
{
    const xom::LanguageModel& model = editor.window.languageModel();
    return model.TypeTable[static_cast<std::size_t>(model.StringResourceType)].instanceCount;
}

} // namespace

class AddEditTest : public QObject {
    Q_OBJECT

private slots:
    void addAppendsTheEntryNumberedWithTheRowCount();
    void twoAdditionsStartFromTheDefaults();
    void closeAddsNothing();

    void editButtonFollowsMouseReleases();
    void editWritesTheCellAndThePreviewFollows();
    void editFollowsTheKeyboardToAnotherColumn();
    void editCloseWritesNothing();
    void multiLineTextsComeBackWithCrLfAndAreSaved();
};

void AddEditTest::addAppendsTheEntryNumberedWithTheRowCount()
{
    Editor editor;
    editor.openEntries(numberedEntries(1234));
    editor.clickCell(2, 3);
    const int scrolled = editor.table()->verticalScrollBar()->value();
    const int countBefore = stringResourceCount(editor);
    const int stringsBefore = editor.window.languageModel().StringList.count;

    const AddDialogSeen seen = addThroughDialog(editor, QStringLiteral("FE.Added"), QStringLiteral("Added text"));

    QCOMPARE(seen.label, QStringLiteral("#1235"));
    QCOMPARE(seen.name, QStringLiteral("FE.NewString"));
    QCOMPARE(seen.text, QStringLiteral("NewString"));
    QCOMPARE(editor.table()->model()->rowCount(), 1235);
    QCOMPARE(editor.rows().back(), QStringLiteral("|1235|FE.Added|Added text"));
    QCOMPARE(editor.countPanel(), QStringLiteral("1235"));
    QCOMPARE(stringResourceCount(editor), countBefore + 1);
    const xom::StringListSummary& strings = editor.window.languageModel().StringList;
    QCOMPARE(strings.count, stringsBefore + 2);
    QCOMPARE(strings.lastButOne, QStringLiteral("FE.Added"));
    QCOMPARE(strings.last, QStringLiteral("Added text"));

    // The new entry becomes the current one, in the column the user was in,
    // scrolled into view; the panel and the preview show it.
    QCOMPARE(editor.currentCell(), std::make_pair(1235, 3));
    QCOMPARE(editor.rowPanel(), QStringLiteral("1235"));
    QCOMPARE(editor.preview()->toPlainText(), QStringLiteral("Added text"));
    QVERIFY(editor.table()->verticalScrollBar()->value() > scrolled);
    QVERIFY(editor.table()->viewport()->rect().contains(editor.table()->visualRect(editor.table()->currentIndex())));
}

void AddEditTest::twoAdditionsStartFromTheDefaults()
{
    Editor editor;
    editor.openEntries(numberedEntries(3));
    const AddDialogSeen first = addThroughDialog(editor, QStringLiteral("One"), QStringLiteral("first"));
    const AddDialogSeen second = addThroughDialog(editor, QString(), QString());

    QCOMPARE(first.label, QStringLiteral("#4"));
    QCOMPARE(second.label, QStringLiteral("#5"));
    QCOMPARE(second.name, QStringLiteral("FE.NewString"));
    QCOMPARE(second.text, QStringLiteral("NewString"));
    // Nothing is validated: an empty name and text are added as they are.
    QCOMPARE(editor.rows().mid(3), (QStringList{QStringLiteral("|4|One|first"), QStringLiteral("|5||")}));
    QCOMPARE(editor.countPanel(), QStringLiteral("5"));
}

void AddEditTest::closeAddsNothing()
{
    Editor editor;
    editor.openEntries(numberedEntries(3));
    const QStringList rows = editor.rows();
    const int count = stringResourceCount(editor);
    const int strings = editor.window.languageModel().StringList.count;

    addThroughDialog(editor, QStringLiteral("Typed"), QStringLiteral("typed"), "Button2");
    apptest::whenShown(editor.forms.AddForm, [&] { editor.forms.AddForm.close(); });
    editor.click("AddRow");

    QCOMPARE(editor.rows(), rows);
    QCOMPARE(stringResourceCount(editor), count);
    QCOMPARE(editor.window.languageModel().StringList.count, strings);
    QCOMPARE(editor.countPanel(), QStringLiteral("3"));
}

void AddEditTest::editButtonFollowsMouseReleases()
{
    Editor editor;
    editor.openEntries(numberedEntries(3));
    QPushButton* const edit = editor.button("EditText");

    editor.clickCell(1, 3);
    QVERIFY(edit->isEnabled());
    editor.clickCell(1, 2);
    QVERIFY(!edit->isEnabled());
    editor.clickCell(2, 3);
    QVERIFY(edit->isEnabled());
    editor.clickCell(2, 1);
    QVERIFY(!edit->isEnabled());
    editor.clickCell(3, 3);
    QVERIFY(edit->isEnabled());

    // A press on a mark or with the right button leaves the selection where
    // it was, and the release judges that selection.
    editor.clickCell(1, 0);
    QVERIFY(edit->isEnabled());
    editor.clickCell(1, 2, Qt::RightButton);
    QCOMPARE(editor.currentCell(), std::make_pair(3, 3));
    QVERIFY(edit->isEnabled());
    editor.clickCell(1, 2);
    editor.clickCell(3, 3, Qt::RightButton);
    QVERIFY(!edit->isEnabled());

    // Keys change the selection but not the button ...
    editor.clickCell(3, 3);
    QTest::keyClick(editor.table(), Qt::Key_Left);
    QVERIFY(edit->isEnabled());
    // ... until a release, over the header too.
    QWidget* const header = editor.table()->horizontalHeader()->viewport();
    QTest::mouseClick(header, Qt::LeftButton, {}, QPoint(200, 5));
    QVERIFY(!edit->isEnabled());
}

void AddEditTest::editWritesTheCellAndThePreviewFollows()
{
    Editor editor;
    editor.openEntries(numberedEntries(3));
    editor.clickCell(2, 3);
    QCOMPARE(editor.preview()->toPlainText(), QStringLiteral("T2"));

    const QString shown = editThroughDialog(editor, QStringLiteral("changed"));
    QCOMPARE(shown, QStringLiteral("T2"));
    QCOMPARE(editor.cell(2, 3), QStringLiteral("changed"));
    // The preview never shows a text the current cell no longer holds.
    QCOMPARE(editor.preview()->toPlainText(), QStringLiteral("changed"));
    QCOMPARE(editor.rowPanel(), QStringLiteral("2"));
}

void AddEditTest::editFollowsTheKeyboardToAnotherColumn()
{
    Editor editor;
    editor.openEntries(numberedEntries(3));
    editor.clickCell(1, 3);
    QTest::keyClick(editor.table(), Qt::Key_Left);
    QVERIFY(editor.button("EditText")->isEnabled());

    // A name is edited on one line, in the Edit Name dialog.
    QString shown;
    dialogs::EditNameForm& form = editor.forms.EditNameForm;
    apptest::whenShown(form, [&] {
        auto* const box = form.findChild<QLineEdit*>(QStringLiteral("EditName"));
        shown = box->text();
        box->setText(QStringLiteral("FE.Renamed"));
        QTest::keyClick(box, Qt::Key_Return);
        if (form.isVisible())
            form.reject();
    });
    editor.click("EditText");
    QCOMPARE(shown, QStringLiteral("FE.Str1"));
    QCOMPARE(editor.rows().front(), QStringLiteral("|1|FE.Renamed|T1"));
}

void AddEditTest::editCloseWritesNothing()
{
    Editor editor;
    editor.openEntries(numberedEntries(3));
    const QStringList rows = editor.rows();
    editor.clickCell(3, 3);
    QCOMPARE(editThroughDialog(editor, QString()), QStringLiteral("T3"));
    apptest::whenShown(editor.forms.EditForm, [&] {
        editText(editor)->setText(QStringLiteral("typed"));
        editor.forms.EditForm.close();
    });
    editor.click("EditText");
    QCOMPARE(editor.rows(), rows);
}

void AddEditTest::multiLineTextsComeBackWithCrLfAndAreSaved()
{
    Editor editor;
    editor.openEntries(numberedEntries(2));
    addThroughDialog(editor, QStringLiteral("FE.Lines"), QStringLiteral("one\ntwo\nthree"));
    QCOMPARE(editor.cell(3, 3), QStringLiteral("one\r\ntwo\r\nthree"));

    editor.clickCell(1, 3);
    editThroughDialog(editor, QStringLiteral("un\ndeux\ntrois"));
    QCOMPARE(editor.cell(1, 3), QStringLiteral("un\r\ndeux\r\ntrois"));

    const QString path = editor.pathIn(QStringLiteral("lines.xom"));
    editor.save(path);
    QVERIFY2(editor.boxes->errorTexts.isEmpty(), qPrintable(editor.boxes->errorTexts.join(QLatin1Char('\n'))));
    editor.open(path);
    QCOMPARE(editor.rows(), (QStringList{QStringLiteral("|1|FE.Str1|un\r\ndeux\r\ntrois"),
                                QStringLiteral("|2|FE.Str2|T2"), QStringLiteral("|3|FE.Lines|one\r\ntwo\r\nthree")}));
    editor.clickCell(3, 3);
    QCOMPARE(editor.preview()->document()->blockCount(), 3);
}

QTEST_MAIN(AddEditTest)
#include "AddEditTest.moc"
