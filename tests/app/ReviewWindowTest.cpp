// The review file as the window opens it: its states reach the document and
// the next save writes them back beside the file; a damaged one is refused
// naming its line while the file opens without states; entries the file
// lacks and a review saved with other bytes are told.

#include "AppTestSupport.h"

#include "app/EntryGridView.h"
#include "app/LanguageEdit2Uni.h"
#include "dialogs/EditUni.h"
#include "review/ReviewPairing.h"

#include "support/FileBuilder.h"

#include <QFile>
#include <QPlainTextEdit>
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
