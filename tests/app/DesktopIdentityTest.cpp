// The running editor names the desktop entry that the package installs, and
// its windows carry the icon drawn for it.

#include "app/DesktopIdentity.h"
#include "app/EditorForms.h"

#include <QFile>
#include <QGuiApplication>
#include <QIcon>
#include <QTest>

class DesktopIdentityTest : public QObject {
    Q_OBJECT

private slots:
    void windowsNameTheInstalledEntryAndIcon();
};

void DesktopIdentityTest::windowsNameTheInstalledEntryAndIcon()
{
    app::setDesktopIdentity();

    // The entry the compositor looks up is the one in the package, and that
    // entry names the icon by the same identity.
    QFile entry(QStringLiteral(LUDRA_PACKAGING_DIR "/%1.desktop").arg(QGuiApplication::desktopFileName()));
    QVERIFY2(entry.open(QIODevice::ReadOnly | QIODevice::Text), qPrintable(entry.fileName()));
    const QList<QByteArray> lines = entry.readAll().split('\n');
    QVERIFY(lines.contains("Icon=" + app::desktopId().toUtf8()));
    QVERIFY(QFile::exists(QStringLiteral(LUDRA_PACKAGING_DIR "/%1.svg").arg(app::desktopId())));

    // Every window, the dialogs included, shows the built-in icon.
    app::EditorForms forms;
    for (const QWidget* const window : {static_cast<QWidget*>(&forms.FormXom), static_cast<QWidget*>(&forms.EditForm),
             static_cast<QWidget*>(&forms.AddForm)}) {
        const QIcon icon = window->windowIcon();
        QVERIFY2(!icon.isNull(), qPrintable(window->objectName()));
        QCOMPARE(icon.pixmap(QSize(256, 256)).size(), QSize(256, 256));
    }
}

QTEST_MAIN(DesktopIdentityTest)
#include "DesktopIdentityTest.moc"
