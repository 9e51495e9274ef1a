// The window on a small screen: a 1280 x 1024 screen at twice the scale
// leaves 640 x 512 for it (the test runs under that screen; see
// CMakeLists.txt). The form is taller than that: the window must still fit,
// its menu bar and status bar on the screen, every control of the top row
// shown.

#include "AppTestSupport.h"

#include <QLineEdit>
#include <QMenuBar>
#include <QPushButton>
#include <QScreen>
#include <QStatusBar>
#include <QTest>

using apptest::Editor;

class ScaleTest : public QObject {
    Q_OBJECT

private slots:
    void windowFitsAScaledScreen();
};

void ScaleTest::windowFitsAScaledScreen()
{
    Editor editor;
    const QRect available = editor.window.screen()->availableGeometry();
    QCOMPARE(available.size(), QSize(640, 512));
    const QRect frame = editor.window.frameGeometry();
    QVERIFY2(available.contains(frame),
        qPrintable(QStringLiteral("%1,%2 %3x%4").arg(frame.x()).arg(frame.y()).arg(frame.width()).arg(frame.height())));
    QVERIFY(available.contains(editor.window.menuBar()->mapToGlobal(QPoint(0, 0))));
    const QStatusBar* const status = editor.window.statusBar();
    QVERIFY(available.contains(status->mapToGlobal(QPoint(0, status->height() - 1))));
    // Save at the right edge, clear of the search box.
    QPushButton* const save = editor.button("SaveLang");
    QVERIFY(save->geometry().left() > editor.searchBox()->geometry().right());
    QVERIFY(save->geometry().right() < editor.window.width());
}

QTEST_MAIN(ScaleTest)
#include "ScaleTest.moc"
