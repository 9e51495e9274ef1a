// Never losing work: the question before unsaved changes go, the caption's
// " *", opening from the command line and by a drop, the menus and their
// shortcuts, handlers that survive errors, and numbers shown whole.

#include "AppTestSupport.h"

#include "app/CommandLine.h"
#include "app/EntryGridView.h"

#include "dialogs/PlainTextBox.h"
#include "support/FileBuilder.h"
#include "support/RandomEntries.h"
#include "xom/LanguageFileWriter.h"

#include <QAction>
#include <QCommandLineParser>
#include <QDir>
#include <QDropEvent>
#include <QFile>
#include <QLabel>
#include <QLineEdit>
#include <QMenuBar>
#include <QMimeData>
#include <QProcess>
#include <QPushButton>
#include <QStatusBar>
#include <QStyle>
#include <QTest>
#include <QUrl>

using app::SaveChoice;
using apptest::Editor;

namespace {

const std::vector<std::pair<QString, QString>> TwoEntries{
    {QStringLiteral("FE.B"), QStringLiteral("b")}, {QStringLiteral("FE.A"), QStringLiteral("a")}};
const std::vector<std::pair<QString, QString>> OtherEntries{{QStringLiteral("FE.Other"), QStringLiteral("other")}};

enum class Trigger { Close, Quit, OpenButton, OpenFile, Drop };
enum class Answer { NoQuestion, Cancel, SaveFails, Discard, SaveDone };

void dropFile(Editor& editor, const QString& path, bool* accepted = nullptr)
{
    QMimeData data;
    data.setUrls({QUrl::fromLocalFile(path)});
    const QPoint centre = editor.window.rect().center();
    QDragEnterEvent enter(centre, Qt::CopyAction, &data, Qt::LeftButton, Qt::NoModifier);
    QCoreApplication::sendEvent(&editor.window, &enter);
    if (accepted)
        *accepted = enter.isAccepted();
    if (!enter.isAccepted())
        return;
    QDropEvent drop(centre, Qt::CopyAction, &data, Qt::LeftButton, Qt::NoModifier);
    QCoreApplication::sendEvent(&editor.window, &drop);
    // The load runs once the drop has returned.
    QCoreApplication::processEvents();
}

} // namespace

class SafetyTest : public QObject {
    Q_OBJECT

private slots:
    void questionBeforeChangesGo_data();
    void questionBeforeChangesGo();
    void captionMarksUnsavedChanges();
    void failedLoadKeepsChangesAndHistory();
    void commandLineFileLoads();
    void commandLineHelpAndVersion();
    void dropOfALanguageFileLoads();
    void menusFollowTheButtonsAndKeysRunThem();
    void menuBarSitsAboveTheClientArea();
    void dialogKeys();
    void editNeedsACurrentCell();
    void handlerErrorsReachTheErrorBox();
    void numberColumnFitsTheLargestNumber();
};

void SafetyTest::questionBeforeChangesGo_data()
{
    QTest::addColumn<Trigger>("trigger");
    QTest::addColumn<Answer>("answer");
    const std::vector<std::pair<const char*, Trigger>> triggers{{"close", Trigger::Close}, {"quit", Trigger::Quit},
        {"open button", Trigger::OpenButton}, {"open file", Trigger::OpenFile}, {"drop", Trigger::Drop}};
    const std::vector<std::pair<const char*, Answer>> answers{{"unchanged", Answer::NoQuestion},
        {"cancel", Answer::Cancel}, {"save fails", Answer::SaveFails}, {"discard", Answer::Discard},
        {"saved", Answer::SaveDone}};
    for (const auto& [triggerName, trigger] : triggers) {
        for (const auto& [answerName, answer] : answers)
            QTest::addRow("%s, %s", triggerName, answerName) << trigger << answer;
    }
}

void SafetyTest::questionBeforeChangesGo()
{
    QFETCH(Trigger, trigger);
    QFETCH(Answer, answer);
    Editor editor;
    // The file open lies in a folder of its own, which a failing save loses.
    QVERIFY(QDir(editor.folder.path()).mkdir(QStringLiteral("work")));
    const QString open
        = editor.writeFile(QStringLiteral("work/lang_en.xom"), testsupport::simpleFile(TwoEntries).bytes());
    editor.open(open);
    const QString other = editor.writeFile(QStringLiteral("other.xom"), testsupport::simpleFile(OtherEntries).bytes());
    if (answer != Answer::NoQuestion)
        editor.click("Sort");
    const QStringList changed = editor.rows();
    xom::LanguageModel model = editor.window.languageModel();
    const QByteArray changedImage = xom::buildLanguageImage(editor.window.entries(), model);
    switch (answer) {
    case Answer::NoQuestion:
    case Answer::Cancel:
        editor.boxes->saveAnswers.push_back(SaveChoice::Cancel);
        break;
    case Answer::SaveFails:
        editor.boxes->saveAnswers.push_back(SaveChoice::Save);
        QVERIFY(QDir(editor.pathIn(QStringLiteral("work"))).removeRecursively());
        break;
    case Answer::Discard:
        editor.boxes->saveAnswers.push_back(SaveChoice::Discard);
        break;
    case Answer::SaveDone:
        editor.boxes->saveAnswers.push_back(SaveChoice::Save);
        break;
    }

    switch (trigger) {
    case Trigger::Close:
        editor.window.close();
        break;
    case Trigger::Quit:
        editor.window.actions().quit->trigger();
        break;
    case Trigger::OpenButton:
        editor.open(other);
        break;
    case Trigger::OpenFile:
        editor.window.openFile(other);
        break;
    case Trigger::Drop:
        dropFile(editor, other);
        break;
    }

    const bool asked = answer != Answer::NoQuestion;
    QCOMPARE(
        editor.boxes->questions, asked ? QStringList{QStringLiteral("Save changes to lang_en.xom?")} : QStringList());
    const bool goesOn = answer == Answer::NoQuestion || answer == Answer::Discard || answer == Answer::SaveDone;
    const bool closing = trigger == Trigger::Close || trigger == Trigger::Quit;
    if (closing)
        QCOMPARE(editor.window.isVisible(), !goesOn);
    if (!goesOn || closing) {
        QCOMPARE(editor.rows(), changed);
        QCOMPARE(editor.window.document().history().count(), asked ? 1 : 0);
    } else {
        QCOMPARE(editor.rows(), QStringList{QStringLiteral("|1|FE.Other|other")});
        QCOMPARE(editor.window.document().history().count(), 0);
    }
    QCOMPARE(editor.boxes->errorTexts.size(), answer == Answer::SaveFails ? 1 : 0);
    // Save writes the file open, without a dialog, as File > Save does.
    QVERIFY(editor.files->saveStartPaths.isEmpty());
    QFile written(open);
    if (answer == Answer::SaveDone) {
        QVERIFY(written.open(QIODevice::ReadOnly));
        QCOMPARE(written.readAll(), changedImage);
    } else if (answer != Answer::SaveFails) {
        QVERIFY(written.open(QIODevice::ReadOnly));
        QCOMPARE(written.readAll(), testsupport::simpleFile(TwoEntries).bytes());
    }
}

void SafetyTest::captionMarksUnsavedChanges()
{
    Editor editor;
    const QString loaded = QStringLiteral("LudraLanguageEditor v.2.0 [Unicode]  - [lang_en.xom]");
    const QString saved = QStringLiteral("LudraLanguageEditor v.2.0 [Unicode] - [copy.xom]");
    // Before any file nothing counts as unsaved.
    editor.clickCell(1, xom::MarkColumn);
    QCOMPARE(editor.window.windowTitle(), QStringLiteral("LudraLanguageEditor v.2.0 [Unicode] by Tamsik"));
    editor.window.close();
    QVERIFY(editor.boxes->questions.isEmpty());
    editor.window.show();

    editor.openEntries(TwoEntries, QStringLiteral("lang_en.xom"));
    QCOMPARE(editor.window.windowTitle(), loaded);
    // Marks are never saved: marking and unmarking leave the file as it was,
    // and closing asks nothing.
    editor.clickCell(2, xom::MarkColumn);
    QCOMPARE(editor.window.windowTitle(), loaded);
    editor.clickCell(1, xom::MarkColumn);
    editor.clickCell(2, xom::MarkColumn);
    QCOMPARE(editor.window.windowTitle(), loaded);
    QVERIFY(!editor.window.hasUnsavedChanges());
    QCOMPARE(editor.window.document().history().count(), 3);
    editor.window.close();
    QVERIFY(editor.boxes->questions.isEmpty());
    editor.window.show();
    // Move Down reorders the entries, which is saved.
    editor.click("MoveDown");
    QCOMPARE(editor.window.windowTitle(), loaded + QStringLiteral(" *"));
    editor.window.actions().undo->trigger();
    QCOMPARE(editor.window.windowTitle(), loaded);
    editor.window.actions().undo->trigger();
    QCOMPARE(editor.window.windowTitle(), loaded);

    editor.click("Sort");
    QCOMPARE(editor.window.windowTitle(), loaded + QStringLiteral(" *"));
    editor.window.actions().undo->trigger();
    QCOMPARE(editor.window.windowTitle(), loaded);
    editor.window.actions().redo->trigger();
    editor.save(editor.pathIn(QStringLiteral("copy.xom")));
    QCOMPARE(editor.window.windowTitle(), saved);
    // Undo past a save is a change from what was saved; a mark after it
    // changes nothing more.
    editor.window.actions().undo->trigger();
    QCOMPARE(editor.window.windowTitle(), saved + QStringLiteral(" *"));
    editor.window.close();
    QCOMPARE(editor.boxes->questions, QStringList{QStringLiteral("Save changes to copy.xom?")});
    // An edit that changes nothing is no change.
    editor.window.actions().redo->trigger();
    editor.window.setCellTexts({}, QStringLiteral("Nothing"));
    QCOMPARE(editor.window.windowTitle(), saved);
    editor.clickCell(1, xom::MarkColumn);
    QCOMPARE(editor.window.windowTitle(), saved);
}

void SafetyTest::failedLoadKeepsChangesAndHistory()
{
    Editor editor;
    editor.openEntries(TwoEntries);
    editor.click("Sort");
    const QStringList sorted = editor.rows();
    const QString title = editor.window.windowTitle();
    for (const QByteArray& bad : {QByteArray("not a language file"), QByteArray()}) {
        editor.boxes->saveAnswers.push_back(SaveChoice::Discard);
        editor.open(editor.writeFile(QStringLiteral("bad.xom"), bad));
    }
    QCOMPARE(editor.boxes->badLanguageFileBoxes, 2);
    QCOMPARE(editor.rows(), sorted);
    QCOMPARE(editor.window.windowTitle(), title);
    QVERIFY(editor.window.hasUnsavedChanges());
    editor.window.actions().undo->trigger();
    QCOMPARE(editor.rows(), (QStringList{QStringLiteral("|1|FE.B|b"), QStringLiteral("|2|FE.A|a")}));
}

void SafetyTest::commandLineFileLoads()
{
    Editor editor;
    const QString path = editor.writeFile(QStringLiteral("lang_de.xom"), testsupport::simpleFile(TwoEntries).bytes());
    QCommandLineParser parser;
    app::describeCommandLine(parser);
    QVERIFY(parser.parse({QStringLiteral("ludra-language-editor"), path}));
    QVERIFY(editor.window.openFile(app::fileToOpen(parser)));
    QCOMPARE(editor.window.windowTitle(), QStringLiteral("LudraLanguageEditor v.2.0 [Unicode]  - [lang_de.xom]"));
    QCOMPARE(editor.rows().size(), 2);

    QCommandLineParser none;
    app::describeCommandLine(none);
    QVERIFY(none.parse({QStringLiteral("ludra-language-editor")}));
    QCOMPARE(app::fileToOpen(none), QString());
}

void SafetyTest::commandLineHelpAndVersion()
{
    // Both answer on a terminal without a display, before any window.
    QProcessEnvironment noDisplay = QProcessEnvironment::systemEnvironment();
    noDisplay.remove(QStringLiteral("DISPLAY"));
    noDisplay.remove(QStringLiteral("WAYLAND_DISPLAY"));
    noDisplay.insert(QStringLiteral("QT_QPA_PLATFORM"), QStringLiteral("xcb"));

    QProcess version;
    version.setProcessEnvironment(noDisplay);
    version.start(QStringLiteral(LUDRA_EDITOR_PATH), {QStringLiteral("--version")});
    QVERIFY(version.waitForFinished(30000));
    QCOMPARE(version.exitCode(), 0);
    QCOMPARE(QString::fromUtf8(version.readAllStandardOutput()), QStringLiteral("Ludra Language Editor 2.0\n"));

    QProcess help;
    help.setProcessEnvironment(noDisplay);
    help.start(QStringLiteral(LUDRA_EDITOR_PATH), {QStringLiteral("--help")});
    QVERIFY(help.waitForFinished(30000));
    QCOMPARE(help.exitCode(), 0);
    const QString text = QString::fromUtf8(help.readAllStandardOutput());
    QVERIFY2(text.contains(QStringLiteral("[FILE]")) && text.contains(QStringLiteral("--version")), qPrintable(text));
}

void SafetyTest::dropOfALanguageFileLoads()
{
    Editor editor;
    bool accepted = true;
    dropFile(editor, editor.writeFile(QStringLiteral("notes.txt"), "text"), &accepted);
    QVERIFY(!accepted);
    dropFile(editor, editor.writeFile(QStringLiteral("lang_fr.XOM"), testsupport::simpleFile(TwoEntries).bytes()),
        &accepted);
    QVERIFY(accepted);
    QCOMPARE(editor.window.windowTitle(), QStringLiteral("LudraLanguageEditor v.2.0 [Unicode]  - [lang_fr.XOM]"));
    QCOMPARE(editor.rows().size(), 2);
}

void SafetyTest::menusFollowTheButtonsAndKeysRunThem()
{
    Editor editor;
    const app::WindowActions& actions = editor.window.actions();
    QStringList titles;
    for (QAction* const menu : editor.window.menuBar()->actions())
        titles.append(menu->text());
    QCOMPARE(titles, (QStringList{QStringLiteral("&File"), QStringLiteral("&Edit"), QStringLiteral("&Help")}));
    QVERIFY(!actions.save->isEnabled() && !actions.add->isEnabled() && !actions.edit->isEnabled());
    QVERIFY(!actions.undo->isEnabled() && !actions.redo->isEnabled());

    editor.openEntries(TwoEntries);
    QVERIFY(actions.save->isEnabled() && actions.add->isEnabled());
    editor.clickCell(1, xom::TextColumn);
    QVERIFY(actions.edit->isEnabled());
    editor.clickCell(1, xom::NameColumn);
    QVERIFY(!actions.edit->isEnabled());

    editor.window.activateWindow();
    QVERIFY(QTest::qWaitForWindowActive(&editor.window));
    // Space toggles the mark of the current row while the grid has the focus.
    editor.table()->setFocus();
    QTest::keyClick(editor.table(), Qt::Key_Space);
    QCOMPARE(editor.cell(1, xom::MarkColumn), QStringLiteral("x"));
    // Enter, F2 and a double click edit the current cell, a name here, in
    // the Edit Name dialog; a number is not edited.
    int shown = 0;
    const auto closeWhenShown = [&shown](QDialog& dialog) {
        apptest::whenShown(dialog, [&dialog, &shown] {
            ++shown;
            dialog.reject();
        });
    };
    closeWhenShown(editor.forms.EditNameForm);
    QTest::keyClick(editor.table(), Qt::Key_Return);
    closeWhenShown(editor.forms.EditNameForm);
    QTest::keyClick(editor.table(), Qt::Key_F2);
    editor.doubleClickCell(2, xom::NumberColumn);
    QCOMPARE(shown, 2);
    closeWhenShown(editor.forms.EditForm);
    editor.doubleClickCell(2, xom::TextColumn);
    QCOMPARE(shown, 3);
    // Insert adds; Ctrl+Enter accepts the Add dialog.
    apptest::whenShown(editor.forms.AddForm, [&editor] {
        dialogs::TAddForm& add = editor.forms.AddForm;
        add.activateWindow();
        QVERIFY(QTest::qWaitForWindowActive(&add));
        QTest::keyClick(add.findChild<QLineEdit*>(QStringLiteral("EditName")), Qt::Key_Return, Qt::ControlModifier);
        // A dialog the keys did not end must not hang the test.
        if (add.isVisible())
            add.reject();
    });
    // The dialogs took the activation; window shortcuts need it back.
    editor.window.activateWindow();
    QVERIFY(QTest::qWaitForWindowActive(&editor.window));
    QTest::keyClick(&editor.window, Qt::Key_Insert);
    editor.window.activateWindow();
    QVERIFY(QTest::qWaitForWindowActive(&editor.window));
    QCOMPARE(editor.rows().last(), QStringLiteral("|3|FE.NewString|NewString"));
    QTest::keySequence(&editor.window, QKeySequence::Undo);
    QCOMPARE(editor.rows().size(), 2);
    // Find opens Find and Replace with the search box's text; Find in texts
    // puts the focus in the search box.
    editor.searchBox()->setText(QStringLiteral("New"));
    QTest::keySequence(&editor.window, QKeySequence::Find);
    QVERIFY(editor.forms.FindReplace.isVisible());
    QCOMPARE(editor.forms.FindReplace.findChild<QLineEdit*>(QStringLiteral("FindText"))->text(), QStringLiteral("New"));
    editor.forms.FindReplace.hide();
    actions.findInTexts->trigger();
    QCOMPARE(QApplication::focusWidget(), editor.searchBox());
    actions.keyboardShortcuts->trigger();
    actions.about->trigger();
    QCOMPARE(editor.boxes->informationCaptions,
        (QStringList{QStringLiteral("Keyboard Shortcuts"), QStringLiteral("About")}));
}

void SafetyTest::menuBarSitsAboveTheClientArea()
{
    Editor editor;
    const int menuHeight = editor.window.menuBar()->height();
    QVERIFY(menuHeight > 0);
    QCOMPARE(editor.window.size(), QSize(622, 629 + menuHeight));
    QCOMPARE(editor.window.centralWidget()->geometry(), QRect(0, menuHeight, 622, 610));
    QCOMPARE(editor.window.statusBar()->geometry(), QRect(0, 610 + menuHeight, 622, 19));
}

void SafetyTest::dialogKeys()
{
    Editor editor;
    editor.openEntries(TwoEntries);
    dialogs::TAddForm& add = editor.forms.AddForm;
    auto* const name = add.findChild<QLineEdit*>(QStringLiteral("EditName"));
    auto* const text = add.findChild<dialogs::PlainTextBox*>(QStringLiteral("EditText"));
    apptest::whenShown(add, [&] {
        add.activateWindow();
        QVERIFY(QTest::qWaitForWindowActive(&add));
        // The name box takes the focus with its text selected: typing replaces it.
        name->setFocus(Qt::OtherFocusReason);
        QTest::keyClicks(name, QStringLiteral("FE.Typed"));
        QTest::keyClick(name, Qt::Key_Return);
        QCOMPARE(QApplication::focusWidget(), text);
        QTest::keyClicks(text, QStringLiteral("typed"));
        // Return on a focused button presses it.
        add.findChild<QPushButton*>(QStringLiteral("AddBut"))->setFocus();
        QTest::keyClick(QApplication::focusWidget(), Qt::Key_Return);
        if (add.isVisible())
            add.reject();
    });
    editor.click("AddRow");
    QCOMPARE(editor.rows().last(), QStringLiteral("|3|FE.Typed|typed"));

    editor.clickCell(1, xom::TextColumn);
    dialogs::TEditForm& edit = editor.forms.EditForm;
    apptest::whenShown(edit, [&] {
        edit.activateWindow();
        QVERIFY(QTest::qWaitForWindowActive(&edit));
        auto* const box = edit.findChild<dialogs::PlainTextBox*>(QStringLiteral("RichEdit1"));
        box->setFocus(Qt::TabFocusReason);
        QTest::keyClicks(box, QStringLiteral("edited"));
        QTest::keyClick(box, Qt::Key_Enter, Qt::ControlModifier | Qt::KeypadModifier);
        if (edit.isVisible())
            edit.reject();
    });
    editor.click("EditText");
    QCOMPARE(editor.cell(1, xom::TextColumn), QStringLiteral("edited"));
}

void SafetyTest::editNeedsACurrentCell()
{
    Editor editor;
    editor.openEntries(TwoEntries);
    editor.clickCell(1, xom::TextColumn);
    QVERIFY(editor.button("EditText")->isEnabled());
    // A file without entries leaves no cell to edit.
    editor.openEntries({}, QStringLiteral("empty.xom"));
    QCOMPARE(editor.currentCell(), std::make_pair(-1, -1));
    QVERIFY(!editor.button("EditText")->isEnabled());
    QVERIFY(!editor.window.actions().edit->isEnabled());
    bool shown = false;
    apptest::whenShown(editor.forms.EditForm, [&] {
        shown = true;
        editor.forms.EditForm.reject();
    });
    editor.window.EditTextClick();
    editor.window.editCurrentCell();
    QVERIFY(!shown);
    QVERIFY(!editor.window.hasUnsavedChanges());
}

void SafetyTest::handlerErrorsReachTheErrorBox()
{
    Editor editor;
    editor.openEntries(TwoEntries);
    const QStringList rows = editor.rows();
    editor.files->openRunsOutOfMemory = true;
    editor.click("Button1");
    QCOMPARE(editor.boxes->errorTexts, QStringList{QStringLiteral("Out of memory.")});
    QCOMPARE(editor.rows(), rows);
    // The window carries on.
    editor.click("Sort");
    QCOMPARE(editor.cell(1, xom::NameColumn), QStringLiteral("FE.A"));
}

void SafetyTest::numberColumnFitsTheLargestNumber()
{
    Editor editor;
    app::EntryGridView* const table = editor.table();
    QCOMPARE(table->textElideMode(), Qt::ElideRight);
    auto* const rowPanel = editor.window.findChild<QLabel*>(QStringLiteral("StatusPanel1"));
    const int margins = 2 * (table->style()->pixelMetric(QStyle::PM_FocusFrameHMargin, nullptr, table) + 1);

    editor.open(editor.writeFile(QStringLiteral("big.xom"), testsupport::syntheticFileBytes(100000)));
    QCOMPARE(editor.rows().size(), 100000);
    const QString widest = QStringLiteral("100000");
    QVERIFY(table->columnWidth(xom::NumberColumn) > 30);
    QVERIFY(table->fontMetrics().horizontalAdvance(widest) <= table->columnWidth(xom::NumberColumn) - margins);
    QVERIFY(rowPanel->fontMetrics().horizontalAdvance(widest) <= rowPanel->contentsRect().width());
    QCOMPARE(table->columnWidth(xom::NameColumn), 150);

    // A file whose numbers fit gets the usual widths back.
    editor.boxes->saveAnswers.push_back(SaveChoice::Discard);
    editor.openEntries(TwoEntries);
    QCOMPARE(table->columnWidth(xom::NumberColumn), 30);
    QCOMPARE(rowPanel->width(), 50);
}

QTEST_MAIN(SafetyTest)
#include "SafetyTest.moc"
