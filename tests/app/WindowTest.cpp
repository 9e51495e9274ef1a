// The main window: start-up, opening a file, the select event, saving.

#include "AppTestSupport.h"

#include "app/EntryGridView.h"
#include "app/ErrorText.h"
#include "app/WindowCaptions.h"

#include "support/FileBuilder.h"
#include "support/HostileFiles.h"

#include <QApplication>
#include <QFile>
#include <QFileInfo>
#include <QMenuBar>
#include <QPlainTextEdit>
#include <QProgressBar>
#include <QPushButton>
#include <QStatusBar>
#include <QTest>

using apptest::Editor;

namespace {

const QString Started = QStringLiteral("LudraLanguageEditor v.2.0 [Unicode] by Tamsik");

QString loaded(const QString& name)
{
    return QStringLiteral("LudraLanguageEditor v.2.0 [Unicode]  - [%1]").arg(name);
}

QString saved(const QString& name)
{
    return QStringLiteral("LudraLanguageEditor v.2.0 [Unicode] - [%1]").arg(name);
}

const std::vector<std::pair<QString, QString>> ThreeEntries{
    {QStringLiteral("FE.Hello"), QStringLiteral("Hello")},
    {QStringLiteral("FE.Two"), QStringLiteral("two\nlines")},
    {QStringLiteral("FE.Ru"), QStringLiteral("Привет, мир")},
};

QByteArray badTypeCountFile()
{
    testsupport::RawFile file = testsupport::simpleFile({{QStringLiteral("n"), QStringLiteral("t")}});
    file.typeCount = 3;
    return file.bytes();
}

// A string resource whose text index lies outside the string list.
QByteArray badStringIndexFile()
{
    testsupport::RawFile file;
    file.types = testsupport::standardTypes(1);
    file.strings = {QByteArray("text"), QByteArray("name")};
    file.containers = {testsupport::stringResourceContainer(99, 2), testsupport::dataBankContainer({1})};
    return file.bytes();
}

} // namespace

class WindowTest : public QObject {
    Q_OBJECT

private slots:
    void startUpState();
    void startUpTabOrder();

    void openFillsGridTitleAndPanels();
    void openKeepsTheDataBankOrder();
    void openCancelledMissingOrFolderChangesNothing();
    void rejectedFilesChangeNothing();
    void everyRejectionKeepsThePreviousFile_data();
    void everyRejectionKeepsThePreviousFile();
    void unreadableFileShowsTheErrorBox();
    void titleTakesTheNameAfterTheLastSeparator();
    void reloadKeepsTheSelectionQuietly();

    void selectionByKeysUpdatesPanelAndPreview();
    void selectionByMouse();

    void errorBoxText_data();
    void errorBoxText();

    void saveWritesFileAndSetsTitle();
    void saveMovesTheProgressBar();
    void saveDialogStartsAtThePreviousSave();
    void saveCancelledChangesNothing();
    void saveErrorShowsTheBox();
};

void WindowTest::startUpState()
{
    Editor editor;
    app::TFormXom& window = editor.window;
    QCOMPARE(window.objectName(), QStringLiteral("FormXom"));
    QCOMPARE(window.windowTitle(), Started);
    // The client area as laid out, and the menu bar above it.
    const int menuHeight = window.menuBar()->height();
    QCOMPARE(window.size(), QSize(622, 629 + menuHeight));
    // It can grow, and shrink in height down to what still shows every
    // control.
    QCOMPARE(window.maximumSize(), QSize(QWIDGETSIZE_MAX, QWIDGETSIZE_MAX));
    QCOMPARE(window.minimumWidth(), 622);
    QVERIFY(window.minimumHeight() < 629 + menuHeight);

    QVERIFY(editor.button("Button1")->isEnabled());
    QVERIFY(editor.button("MoveDown")->isEnabled());
    QVERIFY(editor.button("Sort")->isEnabled());
    QVERIFY(!editor.button("AddRow")->isEnabled());
    QVERIFY(!editor.button("EditText")->isEnabled());
    QVERIFY(!editor.button("SaveLang")->isEnabled());
    QCOMPARE(editor.button("Button1")->text(), QStringLiteral("Open lang*.xom"));
    QCOMPARE(editor.button("SaveLang")->text(), QStringLiteral("Save lang*.xom"));

    app::EntryGridView* const table = editor.table();
    const QStringList headers{QStringLiteral("x"), QStringLiteral("№"), QStringLiteral("Name"), QStringLiteral("Text")};
    const QList<int> widths{15, 30, 150, 255};
    for (int column = 0; column < 4; ++column) {
        QCOMPARE(table->model()->headerData(column, Qt::Horizontal).toString(), headers[column]);
        QCOMPARE(table->columnWidth(column), widths[column]);
    }
    QCOMPARE(table->model()->rowCount(), 1);
    QCOMPARE(editor.rows(), QStringList{QStringLiteral("|||")});
    QCOMPARE(table->rowHeight(0), 17);

    // Row 1, column 1 is selected, without a select event having fired.
    QCOMPARE(editor.currentCell(), std::make_pair(1, 1));
    QCOMPARE(editor.countPanel(), QString());
    QCOMPARE(editor.rowPanel(), QString());
    QCOMPARE(editor.preview()->toPlainText(), QString());
    QVERIFY(!editor.progressBar()->isVisible());
    QCOMPARE(window.statusBar()->geometry(), QRect(0, 610 + menuHeight, 622, 19));
}

void WindowTest::startUpTabOrder()
{
    Editor editor;
    editor.openEntries(ThreeEntries); // enables the buttons that take part
    editor.window.activateWindow();
    QVERIFY(QTest::qWaitForWindowActive(&editor.window));
    editor.button("Button1")->setFocus();
    const QStringList expected{QStringLiteral("EditText"), QStringLiteral("SaveLang"), QStringLiteral("RichEdit1"),
        QStringLiteral("Table"), QStringLiteral("Edit1"), QStringLiteral("MoveDown"), QStringLiteral("Sort"),
        QStringLiteral("AddRow"), QStringLiteral("Button1")};
    // Edit is disabled and skipped until a release over a Text cell.
    QStringList visited;
    for (int step = 0; step < expected.size() - 1; ++step) {
        QTest::keyClick(QApplication::focusWidget(), Qt::Key_Tab);
        visited.append(QApplication::focusWidget()->objectName());
    }
    QStringList withoutEdit = expected;
    withoutEdit.removeFirst();
    QCOMPARE(visited, withoutEdit);
}

void WindowTest::openFillsGridTitleAndPanels()
{
    Editor editor;
    editor.openEntries(ThreeEntries, QStringLiteral("lang_en.xom"));

    QCOMPARE(editor.rows(), (QStringList{QStringLiteral("|1|FE.Hello|Hello"), QStringLiteral("|2|FE.Two|two\nlines"),
                                QStringLiteral("|3|FE.Ru|Привет, мир")}));
    QCOMPARE(editor.window.windowTitle(), loaded(QStringLiteral("lang_en.xom")));
    QCOMPARE(editor.countPanel(), QStringLiteral("3"));
    QVERIFY(editor.button("SaveLang")->isEnabled());
    QVERIFY(editor.button("AddRow")->isEnabled());
    QVERIFY(!editor.button("EditText")->isEnabled());
    QCOMPARE(editor.window.languageModel().TypeTable.size(), std::size_t(4));
    QVERIFY(editor.boxes->errorTexts.isEmpty());
    QCOMPARE(editor.boxes->badLanguageFileBoxes, 0);

    // The load puts the selection back quietly, without a select event; the
    // panel and the preview show what that cell holds now.
    QCOMPARE(editor.currentCell(), std::make_pair(1, 1));
    QCOMPARE(editor.rowPanel(), QStringLiteral("1"));
    QCOMPARE(editor.preview()->toPlainText(), QStringLiteral("1"));
}

void WindowTest::openKeepsTheDataBankOrder()
{
    Editor editor;
    editor.open(editor.writeFile(QStringLiteral("lang.xom"), testsupport::simpleFile(ThreeEntries, {3, 1, 2}).bytes()));
    QCOMPARE(editor.rows(), (QStringList{QStringLiteral("|3|FE.Ru|Привет, мир"), QStringLiteral("|1|FE.Hello|Hello"),
                                QStringLiteral("|2|FE.Two|two\nlines")}));
}

void WindowTest::openCancelledMissingOrFolderChangesNothing()
{
    Editor editor;
    editor.click("Button1"); // no answer: cancelled
    editor.open(editor.pathIn(QStringLiteral("missing.xom")));
    editor.open(editor.folder.path());

    QCOMPARE(editor.window.windowTitle(), Started);
    QVERIFY(!editor.button("SaveLang")->isEnabled());
    QVERIFY(!editor.button("AddRow")->isEnabled());
    QCOMPARE(editor.rows(), QStringList{QStringLiteral("|||")});
    QCOMPARE(editor.boxes->badLanguageFileBoxes, 0);
    QVERIFY(editor.boxes->errorTexts.isEmpty());
}

void WindowTest::rejectedFilesChangeNothing()
{
    Editor editor;
    // Before any file: the buttons stay disabled and the title unchanged.
    editor.open(editor.writeFile(QStringLiteral("three_types.xom"), badTypeCountFile()));
    QCOMPARE(editor.boxes->badLanguageFileBoxes, 1);
    QCOMPARE(editor.window.windowTitle(), Started);
    QVERIFY(!editor.button("SaveLang")->isEnabled());
    QVERIFY(!editor.button("AddRow")->isEnabled());
    QCOMPARE(editor.window.languageModel().TypeTable.size(), std::size_t(0));

    editor.openEntries(ThreeEntries, QStringLiteral("good.xom"));
    const QStringList rows = editor.rows();
    const auto types = editor.window.languageModel().TypeTable;
    const int strings = editor.window.languageModel().StringList.count;

    editor.open(editor.writeFile(QStringLiteral("three_types.xom"), badTypeCountFile()));
    QCOMPARE(editor.boxes->badLanguageFileBoxes, 2);
    QVERIFY(editor.boxes->errorTexts.isEmpty());

    editor.open(editor.writeFile(QStringLiteral("bad_index.xom"), badStringIndexFile()));
    // The error box's text: no full stop after ")".
    QCOMPARE(editor.boxes->errorTexts, QStringList{QStringLiteral("List index out of bounds (99)")});
    QCOMPARE(editor.boxes->badLanguageFileBoxes, 2);

    editor.open(editor.writeFile(QStringLiteral("empty.xom"), QByteArray()));
    QCOMPARE(editor.boxes->badLanguageFileBoxes, 3);
    // Behind each box's details: what was wrong, and where.
    QCOMPARE(
        editor.boxes->badLanguageFileDetails, (QStringList{QStringLiteral("the file has 3 types, not 4 (at byte 24)"),
                                                  QStringLiteral("the file has 3 types, not 4 (at byte 24)"),
                                                  QStringLiteral("the file ends inside its header (at byte 24)")}));

    QCOMPARE(editor.window.windowTitle(), loaded(QStringLiteral("good.xom")));
    QCOMPARE(editor.rows(), rows);
    QCOMPARE(editor.window.languageModel().TypeTable, types);
    QCOMPARE(editor.window.languageModel().StringList.count, strings);
    QCOMPARE(editor.countPanel(), QStringLiteral("3"));
}

void WindowTest::everyRejectionKeepsThePreviousFile_data()
{
    QTest::addColumn<QByteArray>("bytes");
    QTest::addColumn<bool>("listIndexError");
    QTest::addColumn<QString>("message");
    for (const testsupport::HostileFile& file : testsupport::hostileFiles())
        QTest::newRow(file.what) << file.bytes << file.listIndexError << file.expectedMessage();
}

void WindowTest::everyRejectionKeepsThePreviousFile()
{
    QFETCH(QByteArray, bytes);
    QFETCH(bool, listIndexError);
    QFETCH(QString, message);
    Editor editor;
    editor.openEntries(ThreeEntries, QStringLiteral("good.xom"));
    const QStringList rows = editor.rows();
    const auto types = editor.window.languageModel().TypeTable;
    const int strings = editor.window.languageModel().StringList.count;

    editor.open(editor.writeFile(QStringLiteral("hostile.xom"), bytes));
    if (listIndexError) {
        QCOMPARE(editor.boxes->errorTexts, QStringList{message});
        QCOMPARE(editor.boxes->badLanguageFileBoxes, 0);
    } else {
        QVERIFY(editor.boxes->errorTexts.isEmpty());
        QCOMPARE(editor.boxes->badLanguageFileBoxes, 1);
    }
    QCOMPARE(editor.window.windowTitle(), loaded(QStringLiteral("good.xom")));
    QCOMPARE(editor.rows(), rows);
    QCOMPARE(editor.window.languageModel().TypeTable, types);
    QCOMPARE(editor.window.languageModel().StringList.count, strings);
}

void WindowTest::unreadableFileShowsTheErrorBox()
{
    Editor editor;
    const QString path = editor.writeFile(QStringLiteral("locked.xom"), testsupport::simpleFile(ThreeEntries).bytes());
    QFile::setPermissions(path, QFileDevice::Permissions());
    if (QFile file(path); file.open(QIODevice::ReadOnly))
        QSKIP("this user reads files whatever their permissions");

    editor.open(path);
    QCOMPARE(editor.boxes->errorTexts, QStringList{QStringLiteral("Cannot open file %1.").arg(path)});
    QCOMPARE(editor.window.windowTitle(), Started);
    QVERIFY(!editor.button("SaveLang")->isEnabled());
}

void WindowTest::titleTakesTheNameAfterTheLastSeparator()
{
    QCOMPARE(app::fileNameOf(u"C:\\data\\lang.xom"), QStringLiteral("lang.xom"));
    QCOMPARE(app::fileNameOf(u"/home/me/lang.xom"), QStringLiteral("lang.xom"));
    QCOMPARE(app::fileNameOf(u"lang.xom"), QStringLiteral("lang.xom"));

    // On this system a backslash may be part of a file name; it still counts
    // as a separator for the title.
    Editor editor;
    editor.openEntries(ThreeEntries, QStringLiteral("games\\lang_fr.xom"));
    QCOMPARE(editor.window.windowTitle(), loaded(QStringLiteral("lang_fr.xom")));
}

void WindowTest::reloadKeepsTheSelectionQuietly()
{
    Editor editor;
    std::vector<std::pair<QString, QString>> five;
    for (int k = 1; k <= 5; ++k)
        five.emplace_back(QStringLiteral("N%1").arg(k), QStringLiteral("T%1").arg(k));
    editor.openEntries(five, QStringLiteral("five.xom"));
    editor.clickCell(5, 3);
    QCOMPARE(editor.rowPanel(), QStringLiteral("5"));
    QCOMPARE(editor.preview()->toPlainText(), QStringLiteral("T5"));

    editor.openEntries({{QStringLiteral("A"), QStringLiteral("a")}, {QStringLiteral("B"), QStringLiteral("b")}},
        QStringLiteral("two.xom"));
    QCOMPARE(editor.currentCell(), std::make_pair(2, 3));
    // The preview never shows a text the current cell does not hold.
    QCOMPARE(editor.rowPanel(), QStringLiteral("2"));
    QCOMPARE(editor.preview()->toPlainText(), QStringLiteral("b"));

    editor.openEntries({}, QStringLiteral("none.xom"));
    QCOMPARE(editor.table()->model()->rowCount(), 0);
    QCOMPARE(editor.currentCell(), std::make_pair(-1, -1));
    QCOMPARE(editor.rowPanel(), QString());
    QCOMPARE(editor.preview()->toPlainText(), QString());
    QCOMPARE(editor.window.windowTitle(), loaded(QStringLiteral("none.xom")));
    for (int column = 0; column < 4; ++column)
        QCOMPARE(editor.table()->columnWidth(column), (QList<int>{15, 30, 150, 255}[column]));

    editor.openEntries(ThreeEntries);
    QCOMPARE(editor.currentCell(), std::make_pair(1, 1));
    QCOMPARE(editor.rowPanel(), QStringLiteral("1"));
}

void WindowTest::selectionByKeysUpdatesPanelAndPreview()
{
    Editor editor;
    editor.openEntries(ThreeEntries);
    app::EntryGridView* const table = editor.table();

    QTest::keyClick(table, Qt::Key_Down);
    QCOMPARE(editor.currentCell(), std::make_pair(2, 1));
    QCOMPARE(editor.rowPanel(), QStringLiteral("2"));
    QCOMPARE(editor.preview()->toPlainText(), QStringLiteral("2"));

    QTest::keyClick(table, Qt::Key_Right);
    QCOMPARE(editor.preview()->toPlainText(), QStringLiteral("FE.Two"));
    QTest::keyClick(table, Qt::Key_Right);
    QCOMPARE(editor.currentCell(), std::make_pair(2, 3));
    // The line break shows as a line break.
    QCOMPARE(editor.preview()->toPlainText(), QStringLiteral("two\nlines"));
    QCOMPARE(editor.preview()->document()->blockCount(), 2);

    // The keyboard never lands on the mark column.
    for (int step = 0; step < 4; ++step)
        QTest::keyClick(table, Qt::Key_Left);
    QCOMPARE(editor.currentCell(), std::make_pair(2, 1));
    QTest::keyClick(table, Qt::Key_End);
    QTest::keyClick(table, Qt::Key_Home);
    QCOMPARE(editor.currentCell(), std::make_pair(2, 1));

    QTest::keyClick(table, Qt::Key_Down);
    QTest::keyClick(table, Qt::Key_Down); // past the last row: stays
    QCOMPARE(editor.currentCell(), std::make_pair(3, 1));
    QCOMPARE(editor.rowPanel(), QStringLiteral("3"));
    // Typing letters does not jump around the grid.
    QTest::keyClicks(table, QStringLiteral("1FE"));
    QCOMPARE(editor.currentCell(), std::make_pair(3, 1));
}

void WindowTest::selectionByMouse()
{
    Editor editor;
    editor.openEntries(ThreeEntries);
    editor.clickCell(3, 2);
    QCOMPARE(editor.currentCell(), std::make_pair(3, 2));
    QCOMPARE(editor.rowPanel(), QStringLiteral("3"));
    QCOMPARE(editor.preview()->toPlainText(), QStringLiteral("FE.Ru"));

    // A right click selects nothing; a Ctrl+click on the selected cell keeps it.
    editor.clickCell(1, 3, Qt::RightButton);
    QCOMPARE(editor.currentCell(), std::make_pair(3, 2));
    QTest::mouseClick(editor.table()->viewport(), Qt::LeftButton, Qt::ControlModifier, editor.cellCentre(3, 2));
    QCOMPARE(editor.table()->selectionModel()->selectedIndexes().size(), 1);

    // A click below the last row is outside every cell.
    QTest::mouseClick(editor.table()->viewport(), Qt::LeftButton, {}, QPoint(100, 300));
    QCOMPARE(editor.currentCell(), std::make_pair(3, 2));
}

void WindowTest::errorBoxText_data()
{
    QTest::addColumn<QString>("message");
    QTest::addColumn<QString>("shown");
    QTest::newRow("letter") << QStringLiteral("Stream write error") << QStringLiteral("Stream write error.");
    QTest::newRow("parenthesis") << QStringLiteral("List index out of bounds (1)")
                                 << QStringLiteral("List index out of bounds (1)");
    QTest::newRow("quote") << QStringLiteral("'x' is not a valid integer value")
                           << QStringLiteral("'x' is not a valid integer value.");
    QTest::newRow("full stop") << QStringLiteral("Done.") << QStringLiteral("Done.");
    QTest::newRow("hyphen") << QStringLiteral("a-") << QStringLiteral("a-");
    QTest::newRow("slash") << QStringLiteral("a/") << QStringLiteral("a/.");
    QTest::newRow("digit") << QStringLiteral("file 1") << QStringLiteral("file 1.");
    QTest::newRow("non-ASCII") << QStringLiteral("fichier é") << QStringLiteral("fichier é.");
    QTest::newRow("empty") << QString() << QString();
}

void WindowTest::errorBoxText()
{
    QFETCH(QString, message);
    QFETCH(QString, shown);
    QCOMPARE(app::errorBoxText(message), shown);
}

void WindowTest::saveWritesFileAndSetsTitle()
{
    Editor editor;
    editor.openEntries(ThreeEntries);
    const QString path = editor.pathIn(QStringLiteral("lang_saved.xom"));
    editor.save(path);

    QVERIFY2(editor.boxes->errorTexts.isEmpty(), qPrintable(editor.boxes->errorTexts.join(QLatin1Char('\n'))));
    QCOMPARE(editor.window.windowTitle(), saved(QStringLiteral("lang_saved.xom")));
    QVERIFY(QFileInfo::exists(path));
    QCOMPARE(qint64(editor.window.languageModel().FileSize), QFileInfo(path).size());
    QVERIFY(!editor.progressBar()->isVisible());

    const QStringList rows = editor.rows();
    editor.open(path);
    QCOMPARE(editor.rows(), rows);
    QCOMPARE(editor.window.windowTitle(), loaded(QStringLiteral("lang_saved.xom")));
}

void WindowTest::saveMovesTheProgressBar()
{
    Editor editor;
    editor.openEntries(ThreeEntries);
    QProgressBar* const bar = editor.progressBar();
    const apptest::ProgressRecorder recorded(*bar);
    editor.save(editor.pathIn(QStringLiteral("progress.xom")));

    QVERIFY2(editor.boxes->errorTexts.isEmpty(), qPrintable(editor.boxes->errorTexts.join(QLatin1Char('\n'))));
    QVERIFY(!recorded.positions.isEmpty());
    QCOMPARE(recorded.positions.back(), 100);
    QVERIFY(std::is_sorted(recorded.positions.begin(), recorded.positions.end()));
    QVERIFY(recorded.alwaysVisible);
    QVERIFY(!bar->isVisible());
}

void WindowTest::saveDialogStartsAtThePreviousSave()
{
    Editor editor;
    editor.openEntries(ThreeEntries);
    const QString first = editor.pathIn(QStringLiteral("first.xom"));
    editor.save(first);
    editor.click("SaveLang"); // cancelled
    editor.save(editor.pathIn(QStringLiteral("second.xom")));
    QCOMPARE(editor.files->saveStartPaths, (QStringList{QString(), first, first}));
}

void WindowTest::saveCancelledChangesNothing()
{
    Editor editor;
    editor.openEntries(ThreeEntries);
    const qint32 size = editor.window.languageModel().FileSize;
    const int strings = editor.window.languageModel().StringList.count;
    editor.click("SaveLang");
    QCOMPARE(editor.window.windowTitle(), loaded(QStringLiteral("lang.xom")));
    QCOMPARE(editor.window.languageModel().FileSize, size);
    QCOMPARE(editor.window.languageModel().StringList.count, strings);
    QVERIFY(editor.boxes->errorTexts.isEmpty());
    QVERIFY(!editor.progressBar()->isVisible());
}

void WindowTest::saveErrorShowsTheBox()
{
    Editor editor;
    editor.openEntries(ThreeEntries);
    const QString path = editor.pathIn(QStringLiteral("no/such/folder/lang.xom"));
    editor.save(path);
    QCOMPARE(editor.boxes->errorTexts, QStringList{QStringLiteral("Cannot create file %1.").arg(path)});
    QCOMPARE(editor.window.windowTitle(), loaded(QStringLiteral("lang.xom")));
    QVERIFY(!editor.progressBar()->isVisible());
    QVERIFY(!QFileInfo::exists(path));
}

QTEST_MAIN(WindowTest)
#include "WindowTest.moc"
