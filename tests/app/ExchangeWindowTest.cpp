// The window's exchange files and the one document behind the window and
// ludra-lang: Import and Export through the File menu give the bytes the
// command line gives, an import is one undo step and a refused file changes
// nothing; a script of a day's steps made through the window's own controls
// saves the same bytes as `ludra-lang run` of the script.

#include "AppTestSupport.h"

#include "app/EntryGridView.h"
#include "app/LanguageEdit2Uni.h"
#include "dialogs/AddUni.h"
#include "dialogs/EditUni.h"
#include "dialogs/FindReplaceDialog.h"
#include "dialogs/PlainTextBox.h"
#include "document/EditScript.h"

#include <QAction>
#include <QComboBox>
#include <QLineEdit>
#include <QProcess>
#include <QPushButton>
#include <QTest>

using apptest::Editor;
using exchange::ExchangeFormat;

namespace {

// A run of ludra-lang with these arguments; fails the test when it does not
// end with exit status 0.
QByteArray runLudraLang(const QStringList& arguments)
{
    QProcess process;
    process.start(QStringLiteral(LUDRA_LANG_PATH), arguments);
    if (!process.waitForFinished(120'000) || process.exitCode() != 0) {
        qWarning() << arguments << process.readAllStandardError();
        return QByteArrayLiteral("(ludra-lang failed)");
    }
    return process.readAllStandardOutput();
}

void trigger(Editor& editor, const char* actionName)
{
    auto* const action = editor.window.findChild<QAction*>(QLatin1String(actionName));
    QVERIFY(action);
    QVERIFY(action->isEnabled());
    action->trigger();
}

const char* extensionOf(const ExchangeFormat format)
{
    switch (format) {
    case ExchangeFormat::Csv:
        return "csv";
    case ExchangeFormat::Po:
        return "po";
    case ExchangeFormat::Xliff:
        return "xlf";
    }
    return "";
}

// Makes one step of a script through the window as a user would: the Edit
// and Add dialogs, a click on a mark, the buttons, Find and Replace, the
// File menu's Import and the Edit menu's Undo and Redo.
void makeStep(Editor& editor, const document::ScriptStep& step, const QDir& folder)
{
    using Kind = document::ScriptStep::Kind;
    switch (step.kind) {
    case Kind::Edit:
    case Kind::Rename: {
        const int column = step.kind == Kind::Edit ? xom::TextColumn : xom::NameColumn;
        editor.table()->selectCell(editor.table()->model()->index(step.gridRow - 1, column));
        if (step.kind == Kind::Edit) {
            dialogs::TEditForm& form = editor.forms.EditForm;
            apptest::whenShown(form, [&] {
                form.findChild<dialogs::PlainTextBox*>(QStringLiteral("RichEdit1"))->setText(step.first);
                QTest::mouseClick(form.findChild<QPushButton*>(QStringLiteral("Button1")), Qt::LeftButton);
            });
        } else {
            dialogs::EditNameForm& form = editor.forms.EditNameForm;
            apptest::whenShown(form, [&] {
                form.findChild<QLineEdit*>(QStringLiteral("EditName"))->setText(step.first);
                QTest::keyClick(form.findChild<QLineEdit*>(QStringLiteral("EditName")), Qt::Key_Return);
            });
        }
        editor.window.editCurrentCell(); // F2
        break;
    }
    case Kind::Add: {
        dialogs::TAddForm& form = editor.forms.AddForm;
        apptest::whenShown(form, [&] {
            form.findChild<QLineEdit*>(QStringLiteral("EditName"))->setText(step.first);
            form.findChild<dialogs::PlainTextBox*>(QStringLiteral("EditText"))->setText(step.second);
            QTest::mouseClick(form.findChild<QPushButton*>(QStringLiteral("AddBut")), Qt::LeftButton);
        });
        editor.click("AddRow");
        break;
    }
    case Kind::Mark:
        editor.clickCell(step.gridRow, xom::MarkColumn);
        break;
    case Kind::MoveDown:
        editor.click("MoveDown");
        break;
    case Kind::Sort:
        editor.click("Sort");
        break;
    case Kind::ReplaceAll: {
        dialogs::FindReplaceDialog& dialog = editor.forms.FindReplace;
        trigger(editor, "actionFindReplace");
        dialog.findChild<QLineEdit*>(QStringLiteral("FindText"))->setText(step.first);
        dialog.findChild<QLineEdit*>(QStringLiteral("ReplaceText"))->setText(step.second);
        dialog.findChild<QComboBox*>(QStringLiteral("LookIn"))->setCurrentIndex(0);    // texts
        dialog.findChild<QComboBox*>(QStringLiteral("MatchMode"))->setCurrentIndex(0); // contains
        QTest::mouseClick(dialog.findChild<QPushButton*>(QStringLiteral("ReplaceAll")), Qt::LeftButton);
        dialog.close();
        break;
    }
    case Kind::Import: {
        const QString path = folder.filePath(step.first);
        editor.files->importAnswers.push_back({path, *exchange::exchangeFormatOf(path, std::nullopt)});
        trigger(editor, "actionImport");
        break;
    }
    case Kind::Undo:
        trigger(editor, "actionUndo");
        break;
    case Kind::Redo:
        trigger(editor, "actionRedo");
        break;
    }
}

} // namespace

class ExchangeWindowTest : public QObject {
    Q_OBJECT

private slots:
    void exportGivesTheCommandLinesBytes_data();
    void exportGivesTheCommandLinesBytes();
    void importIsOneStepAndSavesAsTheCommandLine();
    void refusedImportChangesNothing();
    void aDaysScriptSavesTheSameBytesFromWindowAndCommandLine();
};

void ExchangeWindowTest::exportGivesTheCommandLinesBytes_data()
{
    QTest::addColumn<ExchangeFormat>("format");
    QTest::addColumn<bool>("withReference");
    for (const ExchangeFormat format : {ExchangeFormat::Csv, ExchangeFormat::Po, ExchangeFormat::Xliff}) {
        QTest::addRow("%s", extensionOf(format)) << format << false;
        QTest::addRow("%s beside a reference", extensionOf(format)) << format << true;
    }
}

void ExchangeWindowTest::exportGivesTheCommandLinesBytes()
{
    QFETCH(ExchangeFormat, format);
    QFETCH(bool, withReference);
    Editor editor;
    editor.openEntries(apptest::frenchEntries(), QStringLiteral("lang_fr.xom"));
    QStringList arguments{QStringLiteral("export")};
    if (withReference) {
        arguments << QStringLiteral("--reference") << editor.openReferenceEntries(apptest::englishReferenceEntries());
    }
    const QString exported = editor.pathIn(QStringLiteral("window.") + QLatin1String(extensionOf(format)));
    editor.files->exportAnswers.push_back({exported, format});
    trigger(editor, "actionExport");

    QCOMPARE(editor.files->exportStartPaths, QStringList{editor.pathIn(QStringLiteral("lang_fr.csv"))});
    arguments << editor.pathIn(QStringLiteral("lang_fr.xom")) << QStringLiteral("-") << QStringLiteral("--format")
              << QLatin1String(extensionOf(format)).toString().replace(QStringLiteral("xlf"), QStringLiteral("xliff"));
    QCOMPARE(apptest::fileBytes(exported), runLudraLang(arguments));
    QVERIFY(editor.boxes->errorTexts.isEmpty());
    QVERIFY(!editor.window.hasUnsavedChanges());
}

void ExchangeWindowTest::importIsOneStepAndSavesAsTheCommandLine()
{
    Editor editor;
    editor.openEntries(apptest::frenchEntries(), QStringLiteral("lang_fr.xom"));
    const QStringList before = editor.rows();
    const QString csv = editor.writeFile(QStringLiteral("edits.csv"),
        "number,name,text\r\n2,FE.Options,Réglages\r\n4,FE.Quit,\"Quitter\nle jeu\"\r\n,FE.Extra,Extra\r\n");
    editor.files->importAnswers.push_back({csv, ExchangeFormat::Csv});
    trigger(editor, "actionImport");

    QCOMPARE(editor.boxes->informationTexts,
        QStringList{QStringLiteral("edits.csv: 2 changed, 1 added, 0 unchanged, 3 not in the file")});
    QCOMPARE(editor.window.document().history().count(), 1);
    QCOMPARE(editor.window.document().history().undoText(), QStringLiteral("Import"));
    QCOMPARE(editor.cell(4, xom::TextColumn), QStringLiteral("Quitter\r\nle jeu"));
    QCOMPARE(editor.cell(6, xom::NameColumn), QStringLiteral("FE.Extra"));
    QVERIFY(editor.window.windowTitle().endsWith(QStringLiteral(" *")));

    trigger(editor, "actionUndo");
    QCOMPARE(editor.rows(), before);
    QVERIFY(!editor.window.hasUnsavedChanges());
    trigger(editor, "actionRedo");
    const QString saved = editor.pathIn(QStringLiteral("window.xom"));
    editor.save(saved);
    runLudraLang({QStringLiteral("import"), editor.pathIn(QStringLiteral("lang_fr.xom")), csv,
        editor.pathIn(QStringLiteral("tool.xom"))});
    QCOMPARE(apptest::fileBytes(saved), apptest::fileBytes(editor.pathIn(QStringLiteral("tool.xom"))));
}

void ExchangeWindowTest::refusedImportChangesNothing()
{
    Editor editor;
    editor.openEntries(apptest::frenchEntries(), QStringLiteral("lang_fr.xom"));
    const QStringList before = editor.rows();
    const QString csv = editor.writeFile(QStringLiteral("bad.csv"),
        "number,name,text\r\n1,FE.Start,Go\r\n,FE.Added,new\r\n77,FE.None,x\r\n1,FE.Start,again\r\n");
    editor.files->importAnswers.push_back({csv, ExchangeFormat::Csv});
    trigger(editor, "actionImport");

    QCOMPARE(editor.boxes->errorTexts, QStringList{QStringLiteral("bad.csv was not imported: nothing changed.")});
    QCOMPARE(editor.boxes->errorDetails,
        QStringList{
            QStringLiteral("line 4: no entry numbered \"77\"\nline 5: number \"1\" given again (first on line 2)")});
    QCOMPARE(editor.rows(), before);
    QCOMPARE(editor.window.document().history().count(), 0);
    QVERIFY(!editor.window.hasUnsavedChanges());
    QVERIFY(editor.boxes->informationTexts.isEmpty());
}

void ExchangeWindowTest::aDaysScriptSavesTheSameBytesFromWindowAndCommandLine()
{
    Editor editor;
    editor.openEntries(apptest::frenchEntries(), QStringLiteral("lang_fr.xom"));
    (void)editor.writeFile(QStringLiteral("day.csv"), "number,name,text\r\n3,FE.Score,%d pts\r\n,FE.Bonus,Bonus\r\n");
    const QByteArray script = "# a day's work\n"
                              "edit\t1\tLancer\\r\\nla partie\n"
                              "add\tFE.Help\tAide\n"
                              "mark\t2\n"
                              "mark\t5\n"
                              "move-down\n"
                              "rename\t3\tFE.Points\n"
                              "sort\n"
                              "replace-all\tquitter\tSortir\n"
                              "import\tday.csv\n"
                              "undo\n"
                              "undo\n"
                              "redo\n";
    const QString scriptPath = editor.writeFile(QStringLiteral("day.steps"), script);
    const QDir folder(editor.folder.path());
    for (const document::ScriptStep& step : document::parseEditScript(script))
        makeStep(editor, step, folder);
    QCOMPARE(editor.window.document().history().count(), 9);
    QCOMPARE(editor.window.document().history().index(), 8);
    QVERIFY(editor.boxes->errorTexts.isEmpty());
    // Every step left its mark: the edit, the rename, the Add and the
    // replace made again; the import, taken back, left none.
    const QString rows = editor.rows().join(QLatin1Char('\n'));
    for (const char* made : {"Lancer\r\nla partie", "|FE.Points|", "|FE.Help|Aide", "Sortir"})
        QVERIFY2(rows.contains(QLatin1String(made)), made);
    QVERIFY(!rows.contains(QStringLiteral("%d pts")));

    const QString saved = editor.pathIn(QStringLiteral("window.xom"));
    editor.save(saved);
    runLudraLang({QStringLiteral("run"), scriptPath, editor.pathIn(QStringLiteral("lang_fr.xom")),
        editor.pathIn(QStringLiteral("tool.xom"))});
    QCOMPARE(apptest::fileBytes(saved), apptest::fileBytes(editor.pathIn(QStringLiteral("tool.xom"))));
}

QTEST_MAIN(ExchangeWindowTest)
#include "ExchangeWindowTest.moc"
