// The dialogs on their own: how their text boxes give texts back, and how
// each showing ends.

#include "dialogs/AddUni.h"
#include "dialogs/EditUni.h"
#include "dialogs/LineBreaks.h"
#include "dialogs/ModalResult.h"
#include "dialogs/PlainTextBox.h"
#include "dialogs/SelectedCell.h"

#include "AppTestSupport.h"

#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QTest>

using dialogs::PlainTextBox;

namespace {

// A selected cell that is one string.
class OneCell final : public dialogs::SelectedCell {
public:
    QString text;
    int writes = 0;

    [[nodiscard]] QString selectedCellText() const override { return text; }
    void setSelectedCellText(const QString& newText) override
    {
        text = newText;
        ++writes;
    }
    [[nodiscard]] QString selectedEntryLabel() const override { return {}; }
    [[nodiscard]] bool referenceIsOpen() const override { return false; }
    [[nodiscard]] std::optional<QString> selectedReferenceText() const override { return std::nullopt; }
    [[nodiscard]] QString renameWarning(const QString&) const override { return {}; }
};

QString units(std::initializer_list<char16_t> codeUnits)
{
    QString text;
    for (const char16_t unit : codeUnits)
        text.append(QChar(unit));
    return text;
}

} // namespace

class DialogTextTest : public QObject {
    Q_OBJECT

private slots:
    void lineBreaksBecomeCrLf_data();
    void lineBreaksBecomeCrLf();
    void textBoxGivesBackEveryCharacter_data();
    void textBoxGivesBackEveryCharacter();
    void typedLineBreaksComeBackAsCrLf();
    void rtfLookingTextIsShownLiterally();

    void addDialogResults();
    void addDialogPrepareReplacesWhatWasTyped();

    void editDialogLoadsTheCellOnEveryShowing();
    void editDialogSaveWritesTheWholeText();
    void editDialogCloseAndCloseBoxWriteNothing();
};

void DialogTextTest::lineBreaksBecomeCrLf_data()
{
    QTest::addColumn<QString>("text");
    QTest::addColumn<QString>("expected");
    QTest::newRow("empty") << QString() << QString();
    QTest::newRow("no break") << QStringLiteral("abc") << QStringLiteral("abc");
    QTest::newRow("CR LF stays") << QStringLiteral("a\r\nb") << QStringLiteral("a\r\nb");
    QTest::newRow("lone LF") << QStringLiteral("a\nb") << QStringLiteral("a\r\nb");
    QTest::newRow("lone CR") << QStringLiteral("a\rb") << QStringLiteral("a\r\nb");
    QTest::newRow("line separator") << units({u'a', 0x2028, u'b'}) << QStringLiteral("a\r\nb");
    QTest::newRow("paragraph separator") << units({u'a', 0x2029, u'b'}) << QStringLiteral("a\r\nb");
    QTest::newRow("LF CR is two breaks") << QStringLiteral("a\n\rb") << QStringLiteral("a\r\n\r\nb");
    QTest::newRow("CR CR LF") << QStringLiteral("\r\r\n") << QStringLiteral("\r\n\r\n");
    QTest::newRow("trailing CR") << QStringLiteral("a\r") << QStringLiteral("a\r\n");
    QTest::newRow("NUL and lone surrogates kept")
        << units({0x0000, 0xD800, u'x', 0xDC00, u'\n'}) << units({0x0000, 0xD800, u'x', 0xDC00, u'\r', u'\n'});
}

void DialogTextTest::lineBreaksBecomeCrLf()
{
    QFETCH(QString, text);
    QFETCH(QString, expected);
    QCOMPARE(dialogs::withCrLfLineBreaks(text), expected);
}

void DialogTextTest::textBoxGivesBackEveryCharacter_data()
{
    QTest::addColumn<QString>("text");
    QTest::addColumn<QString>("expected");
    const QString crLf = QStringLiteral("un\r\ndeux");
    QTest::newRow("no-break space") << QStringLiteral("10\u00A0%") << QStringLiteral("10\u00A0%");
    QTest::newRow("tab") << QStringLiteral("a\tb") << QStringLiteral("a\tb");
    QTest::newRow("NUL") << units({u'a', 0x0000, u'b'}) << units({u'a', 0x0000, u'b'});
    QTest::newRow("unpaired high surrogate") << units({u'a', 0xD83D, u'b'}) << units({u'a', 0xD83D, u'b'});
    QTest::newRow("unpaired low surrogate") << units({0xDE00, u'b'}) << units({0xDE00, u'b'});
    QTest::newRow("surrogate pair") << units({0xD83D, 0xDE00}) << units({0xD83D, 0xDE00});
    QTest::newRow("CR LF") << crLf << crLf;
    QTest::newRow("LF") << QStringLiteral("un\ndeux") << crLf;
    QTest::newRow("CR") << QStringLiteral("un\rdeux") << crLf;
    QTest::newRow("line separator") << units({u'u', 0x2028, u'd'}) << QStringLiteral("u\r\nd");
    QTest::newRow("empty lines kept") << QStringLiteral("\n\na\n") << QStringLiteral("\r\n\r\na\r\n");
    QTest::newRow("object replacement") << units({0xFFFC, u'a'}) << units({0xFFFC, u'a'});
    QTest::newRow("mixed") << QStringLiteral("Prix\u00A0:\t12\u00A0€\nFin")
                           << QStringLiteral("Prix\u00A0:\t12\u00A0€\r\nFin");
}

void DialogTextTest::textBoxGivesBackEveryCharacter()
{
    QFETCH(QString, text);
    QFETCH(QString, expected);
    PlainTextBox box;
    box.setText(text);
    QCOMPARE(box.text(), expected);
}

void DialogTextTest::typedLineBreaksComeBackAsCrLf()
{
    PlainTextBox box;
    QTest::keyClicks(&box, QStringLiteral("one"));
    QTest::keyClick(&box, Qt::Key_Return);
    QTest::keyClicks(&box, QStringLiteral("two"));
    QTest::keyClick(&box, Qt::Key_Return, Qt::ShiftModifier);
    QTest::keyClicks(&box, QStringLiteral("three"));
    QCOMPARE(box.text(), QStringLiteral("one\r\ntwo\r\nthree"));
}

void DialogTextTest::rtfLookingTextIsShownLiterally()
{
    const QString rtf = QStringLiteral("{\\rtf1\\ansi {\\b bold}}");
    PlainTextBox box;
    box.setText(rtf);
    QCOMPARE(box.toPlainText(), rtf);
    QCOMPARE(box.text(), rtf);
}

void DialogTextTest::addDialogResults()
{
    dialogs::TAddForm form;
    auto* const addButton = form.findChild<QPushButton*>(QStringLiteral("AddBut"));
    auto* const closeButton = form.findChild<QPushButton*>(QStringLiteral("Button2"));

    apptest::whenShown(form, [&] { QTest::mouseClick(addButton, Qt::LeftButton); });
    QCOMPARE(form.exec(), int(dialogs::ModalOk));
    apptest::whenShown(form, [&] { QTest::mouseClick(closeButton, Qt::LeftButton); });
    QCOMPARE(form.exec(), int(dialogs::ModalCancel));
    apptest::whenShown(form, [&] { form.close(); });
    QCOMPARE(form.exec(), int(dialogs::ModalCancel));
    apptest::whenShown(form, [&] { QTest::keyClick(&form, Qt::Key_Escape); });
    QCOMPARE(form.exec(), int(dialogs::ModalCancel));
}

void DialogTextTest::addDialogPrepareReplacesWhatWasTyped()
{
    dialogs::TAddForm form;
    auto* const name = form.findChild<QLineEdit*>(QStringLiteral("EditName"));
    auto* const text = form.findChild<PlainTextBox*>(QStringLiteral("EditText"));
    auto* const label = form.findChild<QLabel*>(QStringLiteral("labNumber"));

    form.prepare(7);
    QCOMPARE(form.name(), QStringLiteral("FE.NewString"));
    QCOMPARE(form.text(), QStringLiteral("NewString"));
    QCOMPARE(label->text(), QStringLiteral("#7"));

    name->setText(QStringLiteral("Typed.Name"));
    text->setText(QStringLiteral("line 1\nline 2"));
    QCOMPARE(form.text(), QStringLiteral("line 1\r\nline 2"));

    form.prepare(1235);
    QCOMPARE(form.name(), QStringLiteral("FE.NewString"));
    QCOMPARE(form.text(), QStringLiteral("NewString"));
    QCOMPARE(label->text(), QStringLiteral("#1235"));
    // The label grows with its number instead of cutting it off.
    QVERIFY(label->width() >= label->sizeHint().width());

    const QString longName(40000, QLatin1Char('n'));
    name->setText(longName);
    QCOMPARE(form.name(), longName);
}

void DialogTextTest::editDialogLoadsTheCellOnEveryShowing()
{
    OneCell cell;
    dialogs::TEditForm form(cell);
    auto* const box = form.findChild<PlainTextBox*>(QStringLiteral("RichEdit1"));
    QString shown;

    cell.text = QStringLiteral("first");
    apptest::whenShown(form, [&] {
        shown = box->text();
        box->setText(QStringLiteral("typed, then closed"));
        form.reject();
    });
    form.exec();
    QCOMPARE(shown, QStringLiteral("first"));

    cell.text = QStringLiteral("second");
    apptest::whenShown(form, [&] {
        shown = box->text();
        form.reject();
    });
    form.exec();
    QCOMPARE(shown, QStringLiteral("second"));
    QCOMPARE(cell.writes, 0);
}

void DialogTextTest::editDialogSaveWritesTheWholeText()
{
    OneCell cell;
    cell.text = QStringLiteral("a\u00A0b\tc");
    dialogs::TEditForm form(cell);
    auto* const box = form.findChild<PlainTextBox*>(QStringLiteral("RichEdit1"));
    auto* const save = form.findChild<QPushButton*>(QStringLiteral("Button1"));

    apptest::whenShown(form, [&] {
        QTest::keyClick(box, Qt::Key_End, Qt::ControlModifier);
        QTest::keyClick(box, Qt::Key_Return);
        QTest::keyClicks(box, QStringLiteral("d"));
        QTest::mouseClick(save, Qt::LeftButton);
    });
    QCOMPARE(form.exec(), int(dialogs::ModalOk));
    QCOMPARE(cell.writes, 1);
    QCOMPARE(cell.text, QStringLiteral("a\u00A0b\tc\r\nd"));
}

void DialogTextTest::editDialogCloseAndCloseBoxWriteNothing()
{
    OneCell cell;
    cell.text = QStringLiteral("kept");
    dialogs::TEditForm form(cell);
    auto* const box = form.findChild<PlainTextBox*>(QStringLiteral("RichEdit1"));
    auto* const closeButton = form.findChild<QPushButton*>(QStringLiteral("Button2"));

    apptest::whenShown(form, [&] {
        box->setText(QStringLiteral("changed"));
        QTest::mouseClick(closeButton, Qt::LeftButton);
    });
    QCOMPARE(form.exec(), int(dialogs::ModalCancel));
    apptest::whenShown(form, [&] {
        box->setText(QStringLiteral("changed"));
        form.close();
    });
    QCOMPARE(form.exec(), int(dialogs::ModalCancel));
    QCOMPARE(cell.writes, 0);
    QCOMPARE(cell.text, QStringLiteral("kept"));
}

QTEST_MAIN(DialogTextTest)
#include "DialogTextTest.moc"
