// The main window's size: the form's layout at any size, the first place on
// the screen, the geometry and the splitter kept between runs, and dialogs
// kept off the row they point at.

#include "app/LanguageEdit2Uni.h"

#include "app/DialogPlacement.h"
#include "app/EntryGridView.h"
#include "app/FormLayout.h"
#include "app/UserSettings.h"

#include <QFrame>
#include <QGuiApplication>
#include <QMenuBar>
#include <QProgressBar>
#include <QPushButton>
#include <QResizeEvent>
#include <QScreen>
#include <QSplitter>
#include <QStatusBar>

#include <algorithm>

namespace app {

namespace {

const QString GeometryKey = QStringLiteral("window/geometry");
const QString SplitterKey = QStringLiteral("window/splitter");

// What a window system adds around the client area and the menu bar: not
// known before the window is first shown, so a title bar and borders are
// allowed for.
constexpr QSize FrameAllowance(8, 40);

} // namespace

void TFormXom::placeOnScreen()
{
    const int around = menuBar()->sizeHint().height() + StatusBar1->height();
    setMinimumSize(FormLayout::MinimumClient.width(), FormLayout::MinimumClient.height() + around);
    QSize size(FormLayout::DesignedClient.width(), FormLayout::DesignedClient.height() + around);
    const QScreen* const screen = QGuiApplication::primaryScreen();
    if (!screen) {
        resize(size);
        return;
    }
    // On a small screen (or under a large scale) the form's height would
    // push the menu bar or the status bar off it: the grid gives up rows.
    const QRect available = screen->availableGeometry();
    size.setHeight(std::clamp(available.height() - FrameAllowance.height(), minimumHeight(), size.height()));
    resize(size);
    QRect placed(QPoint(), size + FrameAllowance);
    placed.moveCenter(available.center());
    placed.moveTop(std::max(placed.top(), available.top()));
    placed.moveLeft(std::max(placed.left(), available.left()));
    move(placed.topLeft());
}

void TFormXom::resizeEvent(QResizeEvent* event)
{
    QMainWindow::resizeEvent(event);
    layOutClient();
}

void TFormXom::layOutClient()
{
    QWidget* const client = centralWidget();
    if (!client || !Panel1)
        return;
    const FormLayout layout = FormLayout::forClient(client->size());
    SaveLang->setGeometry(layout.saveButton);
    Panel1->setGeometry(layout.panel);
    Splitter1->setGeometry(layout.splitter);
    ProgressBar1->setGeometry(layout.progressBar);
    Table->setExtraWidth(layout.extraWidth);
}

void TFormXom::restoreWindowState()
{
    const std::unique_ptr<QSettings> settings = openUserSettings();
    m_recentFiles.load(*settings);
    const QByteArray geometry = settings->value(GeometryKey).toByteArray();
    if (!geometry.isEmpty())
        restoreGeometry(geometry);
    const QByteArray splitter = settings->value(SplitterKey).toByteArray();
    if (!splitter.isEmpty())
        Splitter1->restoreState(splitter);
}

void TFormXom::storeWindowState()
{
    const std::unique_ptr<QSettings> settings = openUserSettings();
    settings->setValue(GeometryKey, saveGeometry());
    settings->setValue(SplitterKey, Splitter1->saveState());
}

void TFormXom::keepClearOfCurrentRow(QWidget& dialog)
{
    const QModelIndex cell = Table->currentIndex();
    const QScreen* const screen = dialog.screen();
    if (!cell.isValid() || !screen)
        return;
    QWidget* const viewport = Table->viewport();
    const QRect cellRect = Table->visualRect(cell);
    const QRect row(viewport->mapToGlobal(QPoint(0, cellRect.top())), QSize(viewport->width(), cellRect.height()));
    const QRect frame = dialog.frameGeometry();
    const QPoint placed = placedClearOf(frame, row, screen->availableGeometry());
    if (placed != frame.topLeft())
        dialog.move(placed);
}

} // namespace app
