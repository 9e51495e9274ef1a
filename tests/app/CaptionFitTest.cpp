// Every caption of the editor's windows shows whole, across and down, in the
// face the platform gives for "MS Sans Serif": the windows' fixed pixel
// geometry holds only while that stand-in face is no wider.

#include "app/EditorForms.h"

#include <QLabel>
#include <QPushButton>
#include <QStyle>
#include <QStyleOptionButton>
#include <QTest>

namespace {

// The room a push button gives its caption, as its style draws it.
QRect captionRoom(const QPushButton& button)
{
    QStyleOptionButton option;
    option.initFrom(&button);
    option.text = button.text();
    return button.style()->subElementRect(QStyle::SE_PushButtonContents, &option, &button);
}

QString clipped(const QWidget& widget, const QString& text, const QRect& room)
{
    const QFontMetrics metrics = widget.fontMetrics();
    const QSize needed(metrics.horizontalAdvance(text), metrics.height());
    if (needed.width() <= room.width() && needed.height() <= room.height())
        return {};
    return QStringLiteral("%1 \"%2\" needs %3 x %4 px in %5, has %6 x %7\n")
        .arg(widget.objectName(), text)
        .arg(needed.width())
        .arg(needed.height())
        .arg(QFontInfo(widget.font()).family())
        .arg(room.width())
        .arg(room.height());
}

} // namespace

class CaptionFitTest : public QObject {
    Q_OBJECT

private slots:
    void captionsShowWhole_data();
    void captionsShowWhole();
};

void CaptionFitTest::captionsShowWhole_data()
{
    QTest::addColumn<QString>("window");
    QTest::newRow("main window") << QStringLiteral("FormXom");
    QTest::newRow("Edit dialog") << QStringLiteral("EditForm");
    QTest::newRow("Add dialog") << QStringLiteral("AddForm");
}

void CaptionFitTest::captionsShowWhole()
{
    QFETCH(QString, window);
    app::EditorForms forms;
    forms.AddForm.prepare(2147483647);
    QWidget* const shown = forms.FormXom.objectName() == window  ? static_cast<QWidget*>(&forms.FormXom)
                         : forms.EditForm.objectName() == window ? static_cast<QWidget*>(&forms.EditForm)
                                                                 : static_cast<QWidget*>(&forms.AddForm);
    shown->show();
    QVERIFY(QTest::qWaitForWindowExposed(shown));

    QString failures;
    int captions = 0;
    for (const QPushButton* const button : shown->findChildren<QPushButton*>()) {
        failures += clipped(*button, button->text(), captionRoom(*button));
        ++captions;
    }
    for (const QLabel* const label : shown->findChildren<QLabel*>()) {
        if (label->text().isEmpty())
            continue;
        failures += clipped(*label, label->text(), label->contentsRect());
        ++captions;
    }
    QVERIFY(captions >= 2);
    QVERIFY2(failures.isEmpty(), qPrintable(failures));
}

QTEST_MAIN(CaptionFitTest)
#include "CaptionFitTest.moc"
