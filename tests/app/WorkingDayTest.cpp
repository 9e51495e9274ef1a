// A translator's day in the window: what is never edited, a save that asks
// before it destroys another file, names kept on one line, panes and the
// current cell that follow every change, and the keys that work wherever the
// focus is.

#include "AppTestSupport.h"

#include "app/EntryGridView.h"
#include "app/FileDialogs.h"
#include "app/MessageBoxes.h"

#include "dialogs/PlainTextBox.h"
#include "support/FileBuilder.h"
#include "text/LineBreaks.h"
#include "xom/LanguageFileWriter.h"

#include <QAction>
#include <QApplication>
#include <QClipboard>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QLabel>
#include <QLineEdit>
#include <QMessageBox>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QScrollBar>
#include <QTest>
#include <QTimer>

using apptest::Editor;
using apptest::fileBytes;

namespace {

constexpr int ReferenceColumn = xom::ColumnCount;

const std::vector<std::pair<QString, QString>>& Working = apptest::frenchEntries();
const std::vector<std::pair<QString, QString>>& Reference = apptest::englishReferenceEntries();

// Counts the showings of a dialog, closing each at once.
struct ShowingCounter {
    int count = 0;
    void watch(QDialog& dialog)
    {
        apptest::whenShown(dialog, [this, &dialog] {
            ++count;
            dialog.reject();
        });
    }
};

// What a save would write now.
QByteArray imageOf(const Editor& editor)
{
    xom::LanguageModel model = editor.window.languageModel();
    return xom::buildLanguageImage(editor.window.entries(), model);
}

QString previewText(const Editor& editor)
{
    return editor.preview()->toPlainText();
}

QString referencePreviewText(const Editor& editor)
{
    return editor.window.findChild<QPlainTextEdit*>(QStringLiteral("ReferencePreview"))->toPlainText();
}

// Pastes text where the focus is, as Ctrl+V does.
void paste(QWidget* box, const QString& text)
{
    QApplication::clipboard()->setText(text);
    QTest::keyClick(box, Qt::Key_V, Qt::ControlModifier);
}

using Step = std::function<void(Editor&)>;

} // namespace

Q_DECLARE_METATYPE(Step)

class WorkingDayTest : public QObject {
    Q_OBJECT

private slots:
    void numbersAndReferencesAreNeverEdited_data();
    void numbersAndReferencesAreNeverEdited();
    void saveAsAsksBeforeReplacingAnotherFile_data();
    void saveAsAsksBeforeReplacingAnotherFile();
    void namesStayOnOneLine_data();
    void namesStayOnOneLine();
    void panesShowTheCurrentCellAfterEveryChange_data();
    void panesShowTheCurrentCellAfterEveryChange();
    void aMarkClickLeavesTheViewWhereItIs();
    void addDialogStartsInTheNameBoxEveryTime();
    void f3WorksFromTheGridAndFindKeepsClearOfTheRow();
    void missingFilesAreNamed();
    void searchWithoutAMatchSaysSo();
    void referenceItemsWaitForAReference();
    void systemBoxesOfferMnemonicsAndSafeDefaults();
};

void WorkingDayTest::numbersAndReferencesAreNeverEdited_data()
{
    QTest::addColumn<int>("column");
    QTest::addColumn<Qt::Key>("keyFromText");
    QTest::newRow("a Reference cell") << ReferenceColumn << Qt::Key_Right;
    QTest::newRow("a number cell") << static_cast<int>(xom::NumberColumn) << Qt::Key_Left;
}

void WorkingDayTest::numbersAndReferencesAreNeverEdited()
{
    QFETCH(int, column);
    QFETCH(Qt::Key, keyFromText);
    Editor editor;
    editor.openEntries(Working, QStringLiteral("lang_fr.xom"));
    const QByteArray unchanged = imageOf(editor);
    editor.openReferenceEntries(Reference);
    ShowingCounter shown;
    shown.watch(editor.forms.EditForm);
    shown.watch(editor.forms.EditNameForm);

    editor.clickCell(3, xom::TextColumn);
    QVERIFY(editor.button("EditText")->isEnabled());
    // The keyboard onto the cell disables Edit as a click does.
    while (editor.currentCell().second != column)
        QTest::keyClick(editor.table(), keyFromText);
    QVERIFY(!editor.button("EditText")->isEnabled());
    QVERIFY(!editor.window.actions().edit->isEnabled());
    QTest::keyClick(editor.table(), Qt::Key_F2);
    QTest::keyClick(editor.table(), Qt::Key_Return);
    editor.doubleClickCell(2, column);
    editor.window.EditTextClick();
    editor.window.setSelectedCellText(QStringLiteral("typed"));
    QCOMPARE(shown.count, 0);
    QCOMPARE(editor.window.document().history().count(), 0);
    QVERIFY(!editor.window.hasUnsavedChanges());
    QCOMPARE(imageOf(editor), unchanged);
    editor.window.actions().save->trigger();
    QCOMPARE(fileBytes(editor.pathIn(QStringLiteral("lang_fr.xom"))), unchanged);
}

void WorkingDayTest::saveAsAsksBeforeReplacingAnotherFile_data()
{
    QTest::addColumn<QString>("target");
    QTest::addColumn<bool>("replace");
    QTest::addColumn<bool>("asked");
    QTest::addColumn<bool>("written");
    QTest::newRow("the file open") << "lang_fr.xom" << false << false << true;
    QTest::newRow("the file open, reached another way") << "./lang_fr.xom" << false << false << true;
    QTest::newRow("a new file") << "new.xom" << false << false << true;
    QTest::newRow("another file, Replace") << "other.xom" << true << true << true;
    QTest::newRow("another file, Cancel") << "other.xom" << false << true << false;
}

void WorkingDayTest::saveAsAsksBeforeReplacingAnotherFile()
{
    QFETCH(QString, target);
    QFETCH(bool, replace);
    QFETCH(bool, asked);
    QFETCH(bool, written);
    Editor editor;
    editor.openEntries(Working, QStringLiteral("lang_fr.xom"));
    const QByteArray otherBytes = testsupport::simpleFile(Reference).bytes();
    const QString other = editor.writeFile(QStringLiteral("other.xom"), otherBytes);
    Q_UNUSED(other);
    editor.click("Sort");
    editor.boxes->replaceAnswers.push_back(replace);

    const QString path = QDir(editor.folder.path()).filePath(target);
    const QByteArray before = fileBytes(path);
    editor.save(path);

    QCOMPARE(editor.boxes->replaceQuestions,
        asked ? QStringList{QStringLiteral("%1 already exists. Replace it?").arg(QFileInfo(target).fileName())}
              : QStringList());
    QCOMPARE(fileBytes(path) != before, written);
    QCOMPARE(editor.window.hasUnsavedChanges(), !written);
    if (!written)
        QCOMPARE(fileBytes(path), otherBytes);
}

void WorkingDayTest::namesStayOnOneLine_data()
{
    QTest::addColumn<QString>("pasted");
    QTest::addColumn<bool>("refused");
    QTest::newRow("a name") << QStringLiteral("FE.Pasted") << false;
    QTest::newRow("CR LF") << QStringLiteral("FE.A\r\nB") << true;
    QTest::newRow("LF") << QStringLiteral("FE.A\nB") << true;
    QTest::newRow("tab") << QStringLiteral("FE.A\tB") << true;
    QTest::newRow("line separator") << QStringLiteral("FE.A\u2028B") << true;
}

void WorkingDayTest::namesStayOnOneLine()
{
    QFETCH(QString, pasted);
    QFETCH(bool, refused);
    Editor editor;
    editor.openEntries(Working);
    const QStringList rows = editor.rows();

    // The Edit Name dialog: one line, Return saves what it may.
    editor.clickCell(2, xom::NameColumn);
    dialogs::EditNameForm& rename = editor.forms.EditNameForm;
    bool saveEnabled = false;
    QString said;
    apptest::whenShown(rename, [&] {
        QCOMPARE(rename.windowTitle(), QStringLiteral("Edit Name - #2 FE.Options"));
        auto* const box = rename.findChild<QLineEdit*>(QStringLiteral("EditName"));
        box->selectAll();
        paste(box, pasted);
        saveEnabled = rename.findChild<QPushButton*>(QStringLiteral("Save"))->isEnabled();
        said = rename.findChild<QLabel*>(QStringLiteral("NameVerdict"))->text();
        QTest::keyClick(box, Qt::Key_Return);
        if (rename.isVisible())
            rename.reject();
    });
    QTest::keyClick(editor.table(), Qt::Key_F2);
    QCOMPARE(saveEnabled, !refused);
    QCOMPARE(said.isEmpty(), !refused);
    QCOMPARE(editor.cell(2, xom::NameColumn), refused ? QStringLiteral("FE.Options") : pasted);

    // The Add dialog refuses the same names.
    dialogs::TAddForm& add = editor.forms.AddForm;
    apptest::whenShown(add, [&] {
        add.activateWindow();
        QVERIFY(QTest::qWaitForWindowActive(&add));
        auto* const box = add.findChild<QLineEdit*>(QStringLiteral("EditName"));
        box->selectAll();
        paste(box, pasted);
        saveEnabled = add.findChild<QPushButton*>(QStringLiteral("AddBut"))->isEnabled();
        QTest::keyClick(box, Qt::Key_Return, Qt::ControlModifier);
        if (add.isVisible())
            add.reject();
    });
    editor.click("AddRow");
    QCOMPARE(saveEnabled, !refused);
    QCOMPARE(editor.rows().size(), refused ? rows.size() : rows.size() + 1);
}

void WorkingDayTest::panesShowTheCurrentCellAfterEveryChange_data()
{
    QTest::addColumn<Step>("step");
    // The step runs with the Text cell of row 3 (FE.Score) current.
    QTest::newRow("edit") << Step([](Editor& e) {
        apptest::whenShown(e.forms.EditForm, [&e] {
            e.forms.EditForm.findChild<dialogs::PlainTextBox*>(QStringLiteral("RichEdit1"))
                ->setText(QStringLiteral("%d Punkte"));
            QTest::mouseClick(e.forms.EditForm.findChild<QPushButton*>(QStringLiteral("Button1")), Qt::LeftButton);
        });
        e.click("EditText");
    });
    QTest::newRow("edit, undo") << Step([](Editor& e) {
        e.window.setSelectedCellText(QStringLiteral("changed"));
        e.window.undo();
    });
    QTest::newRow("edit, undo, redo") << Step([](Editor& e) {
        e.window.setSelectedCellText(QStringLiteral("changed"));
        e.window.undo();
        e.window.redo();
    });
    QTest::newRow("move down") << Step([](Editor& e) {
        e.clickCell(1, xom::MarkColumn);
        e.clickCell(3, xom::MarkColumn);
        e.click("MoveDown");
    });
    QTest::newRow("sort") << Step([](Editor& e) { e.click("Sort"); });
    QTest::newRow("sort, undo") << Step([](Editor& e) {
        e.click("Sort");
        e.window.undo();
    });
    QTest::newRow("replace all") << Step([](Editor& e) {
        e.window.setCellTexts({{3, xom::TextColumn, QStringLiteral("points"), QStringLiteral("Punkte")},
                                  {1, xom::TextColumn, QStringLiteral("Démarrer"), QStringLiteral("Start")}},
            QStringLiteral("Replace All"));
    });
    QTest::newRow("replace all elsewhere, undo") << Step([](Editor& e) {
        e.window.setCellTexts(
            {{5, xom::TextColumn, QStringLiteral("Nouveau"), QStringLiteral("Neu")}}, QStringLiteral("Replace All"));
        e.window.undo();
    });
    QTest::newRow("copy the reference") << Step([](Editor& e) { e.window.actions().copyReference->trigger(); });
}

void WorkingDayTest::panesShowTheCurrentCellAfterEveryChange()
{
    QFETCH(Step, step);
    Editor editor;
    editor.openEntries(Working);
    editor.openReferenceEntries(Reference);
    editor.clickCell(3, xom::TextColumn);

    step(editor);

    const auto [row, column] = editor.currentCell();
    QVERIFY(row >= 1);
    QCOMPARE(previewText(editor), text::withLineBreaksAs(editor.cell(row, column), u"\n"));
    const QString name = editor.cell(row, xom::NameColumn);
    QString reference;
    for (const auto& [referenceName, text] : Reference) {
        if (referenceName == name && reference.isEmpty())
            reference = text;
    }
    QCOMPARE(referencePreviewText(editor), reference);
    QCOMPARE(editor.rowPanel(), QString::number(row));
    QVERIFY(editor.table()->viewport()->rect().contains(editor.table()->visualRect(editor.table()->currentIndex())));
}

// A mark is set where the user looks; the current cell, far above, does not
// pull the view back to itself. Undoing the mark shows its row.
void WorkingDayTest::aMarkClickLeavesTheViewWhereItIs()
{
    Editor editor;
    std::vector<std::pair<QString, QString>> many;
    for (int k = 1; k <= 300; ++k)
        many.emplace_back(QStringLiteral("FE.%1").arg(k), QStringLiteral("T%1").arg(k));
    editor.openEntries(many);
    editor.clickCell(1, xom::TextColumn);
    QScrollBar* const bar = editor.table()->verticalScrollBar();
    bar->setValue(bar->maximum());
    const int scrolled = bar->value();
    QVERIFY(scrolled > 0);
    editor.clickCell(299, xom::MarkColumn);
    QCOMPARE(editor.cell(299, xom::MarkColumn), QStringLiteral("x"));
    QCOMPARE(bar->value(), scrolled);
    QCOMPARE(editor.currentCell(), std::make_pair(1, static_cast<int>(xom::TextColumn)));
    bar->setValue(0);
    editor.window.undo();
    QCOMPARE(editor.currentCell(), std::make_pair(299, static_cast<int>(xom::TextColumn)));
    QVERIFY(bar->value() > 0);
}

void WorkingDayTest::addDialogStartsInTheNameBoxEveryTime()
{
    Editor editor;
    editor.openEntries(Working);
    dialogs::TAddForm& add = editor.forms.AddForm;
    auto* const name = add.findChild<QLineEdit*>(QStringLiteral("EditName"));
    auto* const text = add.findChild<dialogs::PlainTextBox*>(QStringLiteral("EditText"));
    for (int showing = 0; showing < 2; ++showing) {
        apptest::whenShown(add, [&] {
            add.activateWindow();
            QVERIFY(QTest::qWaitForWindowActive(&add));
            QCOMPARE(QApplication::focusWidget(), name);
            QCOMPARE(name->selectedText(), QStringLiteral("FE.NewString"));
            // Typing replaces the name; the focus is left in the text box.
            QTest::keyClicks(name, QStringLiteral("FE.Typed%1").arg(showing));
            text->setFocus(Qt::TabFocusReason);
            QTest::keyClick(text, Qt::Key_Return, Qt::ControlModifier);
            if (add.isVisible())
                add.reject();
        });
        editor.activate();
        QTest::keyClick(&editor.window, Qt::Key_Insert);
    }
    QCOMPARE(editor.cell(6, xom::NameColumn), QStringLiteral("FE.Typed0"));
    QCOMPARE(editor.cell(7, xom::NameColumn), QStringLiteral("FE.Typed1"));
}

void WorkingDayTest::f3WorksFromTheGridAndFindKeepsClearOfTheRow()
{
    Editor editor;
    std::vector<std::pair<QString, QString>> many;
    for (int k = 1; k <= 60; ++k)
        many.emplace_back(QStringLiteral("FE.%1").arg(k), k % 20 == 0 ? QStringLiteral("Hello %1").arg(k) : QString());
    editor.openEntries(many);
    editor.searchBox()->setText(QStringLiteral("hello"));
    editor.clickCell(1, xom::TextColumn);
    editor.activate();
    editor.table()->setFocus();
    QTest::keyClick(editor.table(), Qt::Key_F3);
    QCOMPARE(editor.currentCell(), std::make_pair(20, static_cast<int>(xom::TextColumn)));
    QTest::keyClick(editor.table(), Qt::Key_F3, Qt::ShiftModifier);
    QCOMPARE(editor.currentCell(), std::make_pair(60, static_cast<int>(xom::TextColumn)));

    // The dialog, put over the grid, steps aside from each row it selects.
    dialogs::FindReplaceDialog& find = editor.forms.FindReplace;
    find.showFor(QStringLiteral("Hello 40"));
    QVERIFY(QTest::qWaitForWindowExposed(&find));
    const QRect grid(editor.table()->viewport()->mapToGlobal(QPoint()), editor.table()->viewport()->size());
    find.move(grid.center() - QPoint(find.frameGeometry().width() / 2, find.frameGeometry().height() / 2));
    find.findNext();
    QCOMPARE(editor.currentCell(), std::make_pair(40, static_cast<int>(xom::TextColumn)));
    const QRect cell = editor.table()->visualRect(editor.table()->currentIndex());
    const QRect row(editor.table()->viewport()->mapToGlobal(QPoint(0, cell.top())),
        QSize(editor.table()->viewport()->width(), cell.height()));
    QVERIFY(!find.frameGeometry().intersects(row));
    find.hide();
}

void WorkingDayTest::missingFilesAreNamed()
{
    Editor editor;
    const QString missing = editor.pathIn(QStringLiteral("missing.xom"));
    QVERIFY(!editor.window.openFile(missing));
    QVERIFY(!editor.window.openReference(missing));
    const QString said = QStringLiteral("Cannot open file %1: there is no such file.").arg(missing);
    QCOMPARE(editor.boxes->errorTexts, (QStringList{said, said}));
    QVERIFY(!editor.button("SaveLang")->isEnabled());
}

void WorkingDayTest::searchWithoutAMatchSaysSo()
{
    Editor editor;
    editor.openEntries(Working);
    const QString count = editor.countPanel();
    editor.clickCell(4, xom::TextColumn);
    editor.searchBox()->setText(QStringLiteral("nothing like it"));
    QTest::keyClick(editor.searchBox(), Qt::Key_Return);
    // Row 1 as ever, and the panel says why.
    QCOMPARE(editor.currentCell(), std::make_pair(1, static_cast<int>(xom::TextColumn)));
    QCOMPARE(editor.countPanel(), QStringLiteral("Not found"));
    editor.clickCell(2, xom::TextColumn);
    QCOMPARE(editor.countPanel(), count);
    editor.searchBox()->setText(QStringLiteral("quit"));
    QTest::keyClick(editor.searchBox(), Qt::Key_Return);
    QCOMPARE(editor.currentCell(), std::make_pair(4, static_cast<int>(xom::TextColumn)));
    QCOMPARE(editor.countPanel(), count);
}

void WorkingDayTest::referenceItemsWaitForAReference()
{
    Editor editor;
    editor.openEntries(Working);
    const app::WindowActions& actions = editor.window.actions();
    const QList<QAction*> items{
        actions.nextWarning, actions.previousWarning, actions.copyReference, actions.closeReference};
    for (QAction* const item : items)
        QVERIFY2(!item->isEnabled(), qPrintable(item->text()));
    editor.openReferenceEntries(Reference);
    for (QAction* const item : items)
        QVERIFY2(item->isEnabled(), qPrintable(item->text()));
    // The totals say what they count, whole, in a tooltip too.
    QCOMPARE(editor.countPanel(), QStringLiteral("1 untranslated · 2 with warnings"));
    auto* const panel = editor.window.findChild<QLabel*>(QStringLiteral("StatusPanel0"));
    QVERIFY(!panel->toolTip().isEmpty());
    QVERIFY(panel->fontMetrics().horizontalAdvance(panel->text()) <= panel->contentsRect().width());
    actions.closeReference->trigger();
    for (QAction* const item : items)
        QVERIFY2(!item->isEnabled(), qPrintable(item->text()));
    QCOMPARE(editor.countPanel(), QStringLiteral("5"));
    QCOMPARE(panel->width(), 250);
}

// The toolkit's own boxes, as the editor shows them outside the tests.
void WorkingDayTest::systemBoxesOfferMnemonicsAndSafeDefaults()
{
    QWidget owner;
    owner.show();
    app::SystemMessageBoxes boxes(owner);
    app::SystemFileDialogs files(owner);
    QStringList buttons;
    QString defaultButton;
    QString title;
    QString proposed;
    // Reads the modal box once it is up, then closes it as Escape would.
    const auto whenModal = [&](const std::function<void(QWidget&)>& read) {
        QTimer::singleShot(0, [read] {
            QTRY_VERIFY(QApplication::activeModalWidget() != nullptr);
            QWidget* const modal = QApplication::activeModalWidget();
            read(*modal);
            QTest::keyClick(modal, Qt::Key_Escape);
        });
    };
    const auto readButtons = [&](QWidget& box) {
        buttons.clear();
        for (const QPushButton* const button : box.findChildren<QPushButton*>())
            buttons.append(button->text());
        buttons.sort();
        const auto* const message = qobject_cast<QMessageBox*>(&box);
        defaultButton = message && message->defaultButton() ? message->defaultButton()->text() : QString();
    };

    whenModal(readButtons);
    QCOMPARE(boxes.askSaveChanges(QStringLiteral("Save changes to lang.xom?")), app::SaveChoice::Cancel);
    QCOMPARE(buttons, (QStringList{QStringLiteral("&Cancel"), QStringLiteral("&Discard"), QStringLiteral("&Save")}));
    QCOMPARE(defaultButton, QStringLiteral("&Save"));

    whenModal(readButtons);
    QVERIFY(!boxes.askReplaceFile(QStringLiteral("other.xom already exists. Replace it?")));
    QCOMPARE(buttons, (QStringList{QStringLiteral("&Cancel"), QStringLiteral("&Replace")}));
    QCOMPARE(defaultButton, QStringLiteral("&Cancel"));

    whenModal([&](QWidget& dialog) {
        title = dialog.windowTitle();
        const auto* const name = dialog.findChild<QLineEdit*>(QStringLiteral("fileNameEdit"));
        proposed = name ? name->text() : QStringLiteral("(no name box)");
    });
    QCOMPARE(files.chooseReferenceFile(QStringLiteral("Open Reference")), QString());
    QCOMPARE(title, QStringLiteral("Open Reference"));
    QCOMPARE(proposed, QString());
}

QTEST_MAIN(WorkingDayTest)
#include "WorkingDayTest.moc"
