// The review file as the window opens it: its states reach the document and
// the next save writes them back beside the file; a damaged one is refused
// naming its line while the file opens without states; entries the file
// lacks and a review saved with other bytes are told.

#include "AppTestSupport.h"

#include "app/EntryGridView.h"
#include "app/LanguageEdit2Uni.h"
#include "app/StateIcons.h"
#include "dialogs/EditUni.h"
#include "review/ReviewPairing.h"

#include "support/FileBuilder.h"

#include <QAbstractItemModelTester>
#include <QApplication>
#include <QComboBox>
#include <QFile>
#include <QIcon>
#include <QImage>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QStyleOptionViewItem>
#include <QTextBlock>

#include <functional>
#include <QPushButton>
#include <QTest>

using apptest::Editor;
using review::State;

namespace {

const std::vector<std::pair<QString, QString>> entries{{QStringLiteral("FE.A"), QStringLiteral("Apfel")},
    {QStringLiteral("FE.B"), QStringLiteral("Birne")}, {QStringLiteral("FE.C"), QStringLiteral("Kirsche")}};

// Writes the language file and a review of these lines beside it, paired
// with its bytes unless told otherwise; gives the language file's path.
QString writePair(Editor& editor, const std::vector<review::ReviewLine>& lines, const bool paired = true)
{
    const QByteArray bytes = testsupport::simpleFile(entries).bytes();
    const QString path = editor.writeFile(QStringLiteral("lang_de.xom"), bytes);
    review::ReviewFile file;
    file.language = paired ? review::fingerprintOf(bytes) : review::fingerprintOf("other bytes");
    file.lines = lines;
    QFile beside(review::reviewPathFor(path));
    if (!beside.open(QIODevice::WriteOnly))
        qFatal("cannot write the review file");
    beside.write(review::writeReviewFile(file));
    return path;
}

QComboBox* filterBox(Editor& editor)
{
    // The counts follow the changes once the events of a change are done.
    QApplication::processEvents();
    return editor.window.findChild<QComboBox*>(QStringLiteral("FilterBox"));
}

void chooseFilter(Editor& editor, const int item)
{
    QComboBox* const box = filterBox(editor);
    box->setCurrentIndex(item);
    emit box->activated(item);
}

int rowsShown(Editor& editor)
{
    return editor.table()->model()->rowCount();
}

// The text of the reference pane written in the format that has(format)
// tells, fragment by fragment.
QString paneTextWhere(Editor& editor, const std::function<bool(const QTextCharFormat&)>& has)
{
    const auto* const pane = editor.window.findChild<QPlainTextEdit*>(QStringLiteral("ReferencePreview"));
    QString found;
    for (QTextBlock block = pane->document()->begin(); block.isValid(); block = block.next()) {
        for (auto fragment = block.begin(); !fragment.atEnd(); ++fragment) {
            if (has(fragment.fragment().charFormat()))
                found += fragment.fragment().text();
        }
    }
    return found;
}

QByteArray bytesOf(const QString& path)
{
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

} // namespace

class ReviewWindowTest : public QObject {
    Q_OBJECT

private slots:
    void statesAreTakenAndSavedBack()
    {
        Editor editor;
        const QString path
            = writePair(editor, {{QStringLiteral("2"), QStringLiteral("FE.B"),
                                     {State::Approved, QStringLiteral("ok"), QStringLiteral("Pear")}},
                                    {QStringLiteral("9"), QStringLiteral("FE.Gone"), {State::Translated, {}, {}}}});
        editor.open(path);
        document::Document& document = editor.window.document();
        QCOMPARE(document.entryReview(2).state, State::Approved);
        QCOMPARE(document.entryReview(2).snapshot, std::optional<QString>(QStringLiteral("Pear")));
        QCOMPARE(document.entryReview(1).state, State::Unset);
        QCOMPARE(editor.boxes->informationTexts.size(), 1);
        QVERIFY(editor.boxes->informationTexts.front().startsWith(QStringLiteral("1 entries of the review file")));
        QVERIFY(!editor.window.hasUnsavedChanges());

        document.setEntryReviews({{1, {}, {State::NeedsReview, {}, {}}}}, QStringLiteral("Review"));
        QVERIFY(editor.window.hasUnsavedChanges());
        editor.save(path);
        const review::ReviewBeside saved = review::readReviewBeside(path, bytesOf(path));
        QVERIFY(saved.file);
        QVERIFY(saved.pairs);
        QCOMPARE(saved.file->lines.size(), std::size_t{3});
        QCOMPARE(saved.file->lines[0].name, QStringLiteral("FE.A"));
        QCOMPARE(saved.file->lines[2].name, QStringLiteral("FE.Gone"));
    }

    void aDamagedReviewIsRefusedByLineAndTheFileOpens()
    {
        Editor editor;
        const QString path = writePair(editor, {});
        QFile beside(review::reviewPathFor(path));
        QVERIFY(beside.open(QIODevice::Append));
        beside.write("1\tFE.A\tfinal\t-\t\n");
        beside.close();
        editor.open(path);
        QCOMPARE(editor.rows().size(), 3);
        QCOMPARE(editor.boxes->errorTexts.size(), 1);
        QCOMPARE(editor.boxes->errorTexts.front(),
            QStringLiteral("The review file lang_de.xom.review was not read (line 3: \"final\" is no state); "
                           "lang_de.xom is open without its states."));
    }

    // Accepting the Edit dialog makes the entry translated in the same step
    // as its text; Ctrl+Enter approves and takes it back; the number cell's
    // colour and tooltip follow; Ctrl+Shift+Enter goes to the next entry
    // that needs review.
    void editApproveAndNextToReviewFromTheKeyboard()
    {
        Editor editor;
        const QString path
            = writePair(editor, {{QStringLiteral("3"), QStringLiteral("FE.C"), {State::NeedsReview, {}, {}}}});
        editor.open(path);
        editor.activate();
        document::Document& document = editor.window.document();
        const auto numberCell = [&](const int gridRow, const int role) {
            return editor.table()->model()->index(gridRow - 1, xom::NumberColumn).data(role);
        };
        QCOMPARE(numberCell(3, Qt::ToolTipRole).toString(), QStringLiteral("Needs review"));
        QVERIFY(!numberCell(1, Qt::BackgroundRole).isValid());

        editor.clickCell(1, xom::TextColumn);
        dialogs::TEditForm& form = editor.forms.EditForm;
        apptest::whenShown(form, [&] {
            form.findChild<QPlainTextEdit*>()->setPlainText(QStringLiteral("Apfelbaum"));
            QTest::mouseClick(form.findChild<QPushButton*>(QStringLiteral("Button1")), Qt::LeftButton);
        });
        editor.click("EditText");
        QCOMPARE(editor.cell(1, xom::TextColumn), QStringLiteral("Apfelbaum"));
        QCOMPARE(document.entryReview(1).state, State::Translated);
        QCOMPARE(numberCell(1, Qt::ToolTipRole).toString(), QStringLiteral("Translated"));
        QCOMPARE(document.history().undoText(), QStringLiteral("Edit"));

        editor.activate();
        editor.table()->setFocus();
        QTest::keyClick(editor.table(), Qt::Key_Return, Qt::ControlModifier);
        QCOMPARE(document.entryReview(1).state, State::Approved);
        QVERIFY(numberCell(1, Qt::BackgroundRole).isValid());
        QTest::keyClick(editor.table(), Qt::Key_Return, Qt::ControlModifier);
        QCOMPARE(document.entryReview(1).state, State::Translated);

        QTest::keyClick(editor.table(), Qt::Key_Return, Qt::ControlModifier | Qt::ShiftModifier);
        QCOMPARE(editor.currentCell(), std::make_pair(3, static_cast<int>(xom::TextColumn)));

        // One undo takes back the approval toggles, then the text and its
        // state together.
        document.undo();
        document.undo();
        document.undo();
        QCOMPARE(editor.cell(1, xom::TextColumn), QStringLiteral("Apfel"));
        QCOMPARE(document.entryReview(1).state, State::Unset);
    }

    // The filter shows the rows of a state, with each choice's count; an
    // entry approved under Needs review stays in view, Sort keeps the
    // filter, and going to a row it hides shows every row.
    void theFilterShowsTheRowsOfAStateAndItsCount()
    {
        Editor editor;
        const QString path
            = writePair(editor, {{QStringLiteral("2"), QStringLiteral("FE.B"), {State::Approved, {}, {}}},
                                    {QStringLiteral("3"), QStringLiteral("FE.C"), {State::NeedsReview, {}, {}}}});
        editor.open(path);
        editor.activate();
        document::Document& document = editor.window.document();
        QComboBox* const box = filterBox(editor);
        const QStringList counted{QStringLiteral("All (3)"), QStringLiteral("Untranslated (0)"),
            QStringLiteral("Needs review (1)"), QStringLiteral("With warnings (0)"),
            QStringLiteral("Source changed (0)"), QStringLiteral("Approved (1)")};
        for (int item = 0; item < counted.size(); ++item)
            QCOMPARE(box->itemText(item), counted[item]);

        chooseFilter(editor, 2);
        QCOMPARE(rowsShown(editor), 1);
        QCOMPARE(editor.currentCell().first, 3);
        QCOMPARE(editor.table()->model()->index(0, xom::NameColumn).data().toString(), QStringLiteral("FE.C"));

        editor.table()->setFocus();
        QTest::keyClick(editor.table(), Qt::Key_Return, Qt::ControlModifier);
        QCOMPARE(document.entryReview(3).state, State::Approved);
        QCOMPARE(rowsShown(editor), 1);
        QCOMPARE(filterBox(editor)->itemText(2), QStringLiteral("Needs review (0)"));
        QCOMPARE(filterBox(editor)->itemText(5), QStringLiteral("Approved (2)"));

        chooseFilter(editor, 5);
        QCOMPARE(rowsShown(editor), 2);
        document.setCellTexts(
            {{2, xom::NameColumn, QStringLiteral("FE.B"), QStringLiteral("FE.Z")}}, QStringLiteral("Rename"));
        document.sortByName();
        QCOMPARE(rowsShown(editor), 2);
        QCOMPARE(editor.table()->model()->index(0, xom::NameColumn).data().toString(), QStringLiteral("FE.C"));
        QCOMPARE(editor.table()->model()->index(1, xom::NameColumn).data().toString(), QStringLiteral("FE.Z"));
        QCOMPARE(box->currentIndex(), 5);

        // The search box goes to FE.A, which the filter hides.
        editor.searchBox()->setText(QStringLiteral("Apf"));
        editor.searchBox()->setFocus();
        QTest::keyClick(editor.searchBox(), Qt::Key_Return);
        QCOMPARE(box->currentIndex(), 0);
        QCOMPARE(rowsShown(editor), 3);
        QCOMPARE(editor.cell(editor.currentCell().first, xom::NameColumn), QStringLiteral("FE.A"));
    }

    // Under a filter the grid model stays consistent, as Qt's model tester
    // checks after every change: entries added and taken back, a Sort and
    // its undo, a new reference, a new filter.
    void theFilteredGridStaysConsistentThroughEveryChange()
    {
        Editor editor;
        const QString path
            = writePair(editor, {{QStringLiteral("1"), QStringLiteral("FE.A"), {State::NeedsReview, {}, {}}},
                                    {QStringLiteral("3"), QStringLiteral("FE.C"), {State::NeedsReview, {}, {}}}});
        editor.open(path);
        QAbstractItemModelTester tester(
            editor.table()->model(), QAbstractItemModelTester::FailureReportingMode::QtTest);
        document::Document& document = editor.window.document();
        chooseFilter(editor, 2);
        QCOMPARE(rowsShown(editor), 2);

        // An entry added shows whatever the filter; undo takes it away.
        document.addEntry(QStringLiteral("FE.D"), QStringLiteral("Dattel"));
        QCOMPARE(rowsShown(editor), 3);
        QCOMPARE(editor.table()->model()->index(2, xom::NameColumn).data().toString(), QStringLiteral("FE.D"));
        document.undo();
        QCOMPARE(rowsShown(editor), 2);
        document.redo();
        QCOMPARE(rowsShown(editor), 3);

        // Sort by name reverses nothing here, so rename first: FE.A last.
        document.setCellTexts(
            {{1, xom::NameColumn, QStringLiteral("FE.A"), QStringLiteral("FE.Z")}}, QStringLiteral("Rename"));
        document.sortByName();
        QCOMPARE(rowsShown(editor), 3);
        QCOMPARE(editor.table()->model()->index(2, xom::NameColumn).data().toString(), QStringLiteral("FE.Z"));
        document.undo();
        QCOMPARE(editor.table()->model()->index(0, xom::NameColumn).data().toString(), QStringLiteral("FE.Z"));

        // A reference filters anew: the added entry, which needs no review,
        // leaves the rows shown.
        editor.openReferenceEntries({{QStringLiteral("FE.A"), QStringLiteral("Apple")}});
        QCOMPARE(rowsShown(editor), 2);
        chooseFilter(editor, 0);
        QCOMPARE(rowsShown(editor), 4);
    }

    // File › Update from New Reference…: one step, a summary, the entries
    // that need review shown, and the reference pane marking what changed.
    void anUpdateShowsWhatChangedAndUndoTakesItBack()
    {
        Editor editor;
        editor.openEntries(
            {{QStringLiteral("FE.A"), QStringLiteral("Apfel")}, {QStringLiteral("FE.B"), QStringLiteral("Birne")},
                {QStringLiteral("FE.C"), QStringLiteral("Cherry")}},
            QStringLiteral("lang_de.xom"));
        editor.openReferenceEntries({{QStringLiteral("FE.A"), QStringLiteral("Apple")},
            {QStringLiteral("FE.B"), QStringLiteral("Pear")}, {QStringLiteral("FE.C"), QStringLiteral("Cherry")}});
        const QString next = editor.writeFile(QStringLiteral("lang_en_v2.xom"),
            testsupport::simpleFile({{QStringLiteral("FE.A"), QStringLiteral("Apple")},
                                        {QStringLiteral("FE.B"), QStringLiteral("Pear tree")},
                                        {QStringLiteral("FE.C"), QStringLiteral("Cherries")},
                                        {QStringLiteral("FE.D"), QStringLiteral("Date")}})
                .bytes());
        editor.files->referenceAnswers.push_back(next);
        editor.window.actions().updateFromReference->trigger();

        QCOMPARE(editor.boxes->informationTexts.size(), 1);
        QCOMPARE(editor.boxes->informationTexts.front(),
            QStringLiteral("Updated from lang_en_v2.xom: 1 added, 1 source changed (now needing review), "
                           "1 untranslated following the new source, 1 unchanged.\n\nThe grid shows the entries "
                           "that need review; All in the filter box shows every entry again."));
        QCOMPARE(editor.rows(), (QStringList{QStringLiteral("|1|FE.A|Apfel"), QStringLiteral("|2|FE.B|Birne"),
                                    QStringLiteral("|3|FE.C|Cherries"), QStringLiteral("|4|FE.D|Date")}));
        QCOMPARE(rowsShown(editor), 1);
        QCOMPARE(editor.currentCell().first, 2);
        QCOMPARE(
            paneTextWhere(editor, [](const QTextCharFormat& format) { return format.fontStrikeOut(); }), QString());
        QCOMPARE(paneTextWhere(editor, [](const QTextCharFormat& format) { return format.fontUnderline(); }),
            QStringLiteral(" tree"));

        editor.window.document().undo();
        QCOMPARE(editor.rows().size(), 3);
        QCOMPARE(editor.cell(3, xom::TextColumn), QStringLiteral("Cherry"));
        QCOMPARE(editor.window.document().entryReview(2).state, State::Unset);
    }

    // An update that finds entries the new reference lacks asks whether to
    // drop them; Keep Them is the answer by default, Drop Them one more
    // step that renumbers the rest and undo takes back.
    void anUpdateAsksToDropWhatTheReferenceLacks()
    {
        Editor editor;
        editor.openEntries(
            {{QStringLiteral("FE.A"), QStringLiteral("Apfel")}, {QStringLiteral("FE.Gone"), QStringLiteral("Weg")},
                {QStringLiteral("FE.C"), QStringLiteral("Kirsche")}},
            QStringLiteral("lang_de.xom"));
        const QString next = editor.writeFile(QStringLiteral("lang_en_v2.xom"),
            testsupport::simpleFile(
                {{QStringLiteral("FE.A"), QStringLiteral("Apple")}, {QStringLiteral("FE.C"), QStringLiteral("Cherry")}})
                .bytes());
        for (const bool drop : {false, true}) {
            editor.boxes->dropAnswers.push_back(drop);
            editor.files->referenceAnswers.push_back(next);
            editor.window.actions().updateFromReference->trigger();
            QVERIFY(editor.boxes->dropQuestions.back().contains(
                QStringLiteral("No longer in the reference: #2 FE.Gone\n\nKeep these entries, or drop them?")));
        }
        QCOMPARE(editor.boxes->informationTexts.size(), 0);
        QCOMPARE(editor.rows(), (QStringList{QStringLiteral("|1|FE.A|Apfel"), QStringLiteral("|2|FE.C|Kirsche")}));
        QCOMPARE(editor.window.document().history().undoText(), QStringLiteral("Drop Removed Entries"));

        editor.window.document().undo();
        QCOMPARE(editor.rows(), (QStringList{QStringLiteral("|1|FE.A|Apfel"), QStringLiteral("|2|FE.Gone|Weg"),
                                    QStringLiteral("|3|FE.C|Kirsche")}));
    }

    // Each state has an icon of its own in the number cell, and the column
    // has room for it beside the number once the first entry has a state.
    void theNumberCellShowsTheStateAsAnIcon()
    {
        Editor editor;
        editor.openEntries(entries, QStringLiteral("lang_de.xom"));
        const int widthBefore = editor.table()->columnWidth(xom::NumberColumn);
        const auto icon = [&](const int gridRow) {
            return editor.table()
                ->model()
                ->index(gridRow - 1, xom::NumberColumn)
                .data(Qt::DecorationRole)
                .value<QIcon>();
        };
        QVERIFY(icon(1).isNull());
        editor.window.document().setEntryReviews(
            {{1, {}, {State::NeedsReview, {}, {}}}, {2, {}, {State::Translated, {}, {}}},
                {3, {}, {State::Approved, {}, {}}}},
            QStringLiteral("Review"));
        QVERIFY(editor.table()->columnWidth(xom::NumberColumn) >= widthBefore);
        // As wide as Qt's own layout of the icon beside the number needs,
        // so no number is cut short.
        for (int row = 0; row < 3; ++row) {
            QStyleOptionViewItem option;
            option.initFrom(editor.table());
            option.decorationSize = editor.table()->iconSize();
            option.features |= QStyleOptionViewItem::HasDecoration;
            const QModelIndex cell = editor.table()->model()->index(row, xom::NumberColumn);
            QVERIFY(editor.table()->columnWidth(xom::NumberColumn)
                    >= editor.table()->itemDelegate()->sizeHint(option, cell).width());
        }
        const QImage images[]
            = {icon(1).pixmap(10).toImage(), icon(2).pixmap(10).toImage(), icon(3).pixmap(10).toImage()};
        for (const QImage& image : images)
            QVERIFY(!image.isNull());
        QVERIFY(images[0] != images[1]);
        QVERIFY(images[1] != images[2]);
        QVERIFY(images[0] != images[2]);
    }

    void aReviewSavedWithOtherBytesIsTold()
    {
        Editor editor;
        const QString path
            = writePair(editor, {{QStringLiteral("1"), QStringLiteral("FE.A"), {State::Approved, {}, {}}}}, false);
        editor.open(path);
        QCOMPARE(editor.window.document().entryReview(1).state, State::Approved);
        QCOMPARE(editor.boxes->informationTexts.size(), 1);
        QVERIFY(editor.boxes->informationTexts.front().contains(QStringLiteral("may be older than the texts")));
    }
};

QTEST_MAIN(ReviewWindowTest)
#include "ReviewWindowTest.moc"
