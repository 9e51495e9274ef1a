#include "app/LanguageEdit2Uni.h"

#include "app/EntryGridModel.h"
#include "app/EntryGridView.h"
#include "app/ErrorText.h"
#include "app/FileDialogs.h"
#include "app/FileReading.h"
#include "app/MessageBoxes.h"
#include "app/WindowCaptions.h"

#include "dialogs/AddUni.h"
#include "dialogs/EditUni.h"
#include "dialogs/FindReplaceDialog.h"
#include "dialogs/FormFont.h"
#include "dialogs/ModalResult.h"

#include "text/Decimal.h"
#include "text/EditorError.h"
#include "xom/EntryOperations.h"
#include "xom/LanguageFileReader.h"
#include "xom/LanguageFileWriter.h"

#include <QAction>
#include <QFrame>
#include <QGuiApplication>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QProgressBar>
#include <QPushButton>
#include <QScreen>
#include <QSplitter>
#include <QStatusBar>

#include <algorithm>
#include <limits>
#include <optional>

namespace app {

namespace {

QPushButton* makeButton(const QString& caption, const char* name, QWidget* parent, const QRect& geometry)
{
    auto* const button = new QPushButton(caption, parent);
    button->setObjectName(QLatin1String(name));
    button->setGeometry(geometry);
    return button;
}

QLabel* makeStatusPanel(const char* name, const int width, QStatusBar* bar)
{
    auto* const panel = new QLabel(bar);
    panel->setObjectName(QLatin1String(name));
    panel->setFixedWidth(width);
    panel->setFrameStyle(QFrame::Panel | QFrame::Sunken);
    panel->setTextFormat(Qt::PlainText);
    return panel;
}

// Shows the progress bar at 0 for as long as it lives. Nothing yields to the
// event loop meanwhile, so the bar is painted by hand.
class ProgressShown {
public:
    explicit ProgressShown(QProgressBar& bar)
        : m_bar(bar)
    {
        m_bar.show();
        m_bar.setValue(0);
        m_bar.repaint();
    }
    ~ProgressShown() { m_bar.hide(); }
    ProgressShown(const ProgressShown&) = delete;
    ProgressShown& operator=(const ProgressShown&) = delete;

private:
    QProgressBar& m_bar;
};

} // namespace

TFormXom::TFormXom(QWidget* parent)
    : QMainWindow(parent, Qt::Window | Qt::CustomizeWindowHint | Qt::WindowTitleHint | Qt::WindowSystemMenuHint
                              | Qt::WindowMinimizeButtonHint | Qt::WindowCloseButtonHint)
    , m_grid(new EntryGridModel(this))
    , m_fileDialogs(std::make_unique<SystemFileDialogs>(*this))
    , m_messageBoxes(std::make_unique<SystemMessageBoxes>(*this))
{
    setObjectName(QStringLiteral("FormXom"));
    setWindowTitle(startCaption());
    setFont(dialogs::formFont());
    buildControls();
    setTabOrders();
    setFixedSize(622, 629);
    if (const QScreen* const screen = QGuiApplication::primaryScreen())
        move(screen->availableGeometry().center() - rect().center());

    // Grid row 1, column 1 is selected at the start, without a select event:
    // the panels and the preview start empty.
    Table->setCurrentCellQuietly(m_grid->indexOfCell(1, xom::NumberColumn));
    Button1->setFocus();
}

TFormXom::~TFormXom() = default;

void TFormXom::buildControls()
{
    auto* const client = new QWidget(this);
    setCentralWidget(client);

    Button1 = makeButton(QStringLiteral("Open lang*.xom"), "Button1", client, QRect(8, 8, 113, 33));
    AddRow = makeButton(QStringLiteral("Add"), "AddRow", client, QRect(128, 16, 33, 21));
    EditText = makeButton(QStringLiteral("Edit"), "EditText", client, QRect(168, 16, 33, 21));
    MoveDown = makeButton(QStringLiteral("Move Down"), "MoveDown", client, QRect(208, 16, 73, 22));
    Sort = makeButton(QStringLiteral("Sort"), "Sort", client, QRect(288, 16, 41, 22));
    AddRow->setEnabled(false);
    EditText->setEnabled(false);

    LabSearch = new QLabel(QStringLiteral("Search:"), client);
    LabSearch->setObjectName(QStringLiteral("LabSearch"));
    LabSearch->move(342, 20);
    LabSearch->adjustSize();

    Edit1 = new QLineEdit(client);
    Edit1->setObjectName(QStringLiteral("Edit1"));
    Edit1->setGeometry(392, 16, 105, 21);
    Edit1->setMaxLength(std::numeric_limits<int>::max());
    Edit1->installEventFilter(this);

    SaveLang = makeButton(QStringLiteral("Save lang*.xom"), "SaveLang", client, QRect(512, 8, 105, 33));
    SaveLang->setEnabled(false);

    Panel1 = new QFrame(client);
    Panel1->setObjectName(QStringLiteral("Panel1"));
    Panel1->setGeometry(0, 48, 622, 562);
    Panel1->setFrameStyle(QFrame::Panel | QFrame::Raised);

    Splitter1 = new QSplitter(Qt::Vertical, Panel1);
    Splitter1->setObjectName(QStringLiteral("Splitter1"));
    Splitter1->setGeometry(1, 1, 620, 560);
    Splitter1->setHandleWidth(3);
    Splitter1->setChildrenCollapsible(false);

    Table = new EntryGridView(Splitter1);
    Table->setObjectName(QStringLiteral("Table"));
    Table->setModel(m_grid);

    RichEdit1 = new QPlainTextEdit(Splitter1);
    RichEdit1->setObjectName(QStringLiteral("RichEdit1"));
    RichEdit1->setReadOnly(true);
    RichEdit1->setLineWrapMode(QPlainTextEdit::NoWrap);
    QFont previewFont = dialogs::formFont(13);
    previewFont.setBold(true);
    RichEdit1->setFont(previewFont);
    Splitter1->setSizes({351, 206});

    ProgressBar1 = new QProgressBar(client);
    ProgressBar1->setObjectName(QStringLiteral("ProgressBar1"));
    ProgressBar1->setGeometry(56, 208, 505, 17);
    ProgressBar1->setRange(0, 100);
    ProgressBar1->setTextVisible(false);
    ProgressBar1->hide();
    ProgressBar1->raise();

    StatusBar1 = statusBar();
    StatusBar1->setObjectName(QStringLiteral("StatusBar1"));
    StatusBar1->setSizeGripEnabled(false);
    StatusBar1->setFixedHeight(19);
    m_countPanel = makeStatusPanel("StatusPanel0", 250, StatusBar1);
    m_rowPanel = makeStatusPanel("StatusPanel1", 50, StatusBar1);
    StatusBar1->addWidget(m_countPanel);
    StatusBar1->addWidget(m_rowPanel);

    connect(Button1, &QPushButton::clicked, this, &TFormXom::Button1Click);
    connect(SaveLang, &QPushButton::clicked, this, &TFormXom::SaveLangClick);
    connect(AddRow, &QPushButton::clicked, this, &TFormXom::AddRowClick);
    connect(EditText, &QPushButton::clicked, this, &TFormXom::EditTextClick);
    connect(MoveDown, &QPushButton::clicked, this, &TFormXom::MoveDownClick);
    connect(Sort, &QPushButton::clicked, this, &TFormXom::SortClick);
    connect(Table, &EntryGridView::markPressed, this, &TFormXom::TableMouseDown);
    connect(Table, &EntryGridView::mouseReleased, this, &TFormXom::TableMouseUp);
    connect(Table, &EntryGridView::cellSelected, this, &TFormXom::TableSelectCell);

    m_findReplaceAction = new QAction(QStringLiteral("Find and Replace\u2026"), this);
    m_findReplaceAction->setObjectName(QStringLiteral("FindReplaceAction"));
    m_findReplaceAction->setShortcut(QKeySequence(Qt::CTRL | Qt::Key_H));
    m_findAction = new QAction(QStringLiteral("Find"), this);
    m_findAction->setObjectName(QStringLiteral("FindAction"));
    m_findAction->setShortcut(QKeySequence(Qt::CTRL | Qt::Key_F));
    addAction(m_findReplaceAction);
    addAction(m_findAction);
    connect(m_findReplaceAction, &QAction::triggered, this, &TFormXom::FindReplaceClick);
    connect(m_findAction, &QAction::triggered, this, &TFormXom::FindClick);
}

void TFormXom::setTabOrders()
{
    setTabOrder(Button1, EditText);
    setTabOrder(EditText, SaveLang);
    setTabOrder(SaveLang, RichEdit1);
    setTabOrder(RichEdit1, Table);
    setTabOrder(Table, Edit1);
    setTabOrder(Edit1, MoveDown);
    setTabOrder(MoveDown, Sort);
    setTabOrder(Sort, AddRow);
}

void TFormXom::attachDialogs(dialogs::TEditForm& editForm, dialogs::TAddForm& addForm)
{
    m_editForm = &editForm;
    m_addForm = &addForm;
}

void TFormXom::attachFindReplace(dialogs::FindReplaceDialog& findReplace)
{
    m_findReplace = &findReplace;
}

void TFormXom::setFileDialogs(std::unique_ptr<FileDialogs> fileDialogs)
{
    m_fileDialogs = std::move(fileDialogs);
}

void TFormXom::setMessageBoxes(std::unique_ptr<MessageBoxes> messageBoxes)
{
    m_messageBoxes = std::move(messageBoxes);
}

const xom::EntryTable& TFormXom::entries() const noexcept
{
    return m_grid->table();
}

QString TFormXom::selectedCellText() const
{
    return m_grid->cellText(Table->currentIndex());
}

void TFormXom::setSelectedCellText(const QString& text)
{
    m_grid->setCellText(Table->currentIndex(), text);
}

const xom::EntryTable& TFormXom::searchedTable() const
{
    return m_grid->table();
}

int TFormXom::currentGridRow() const
{
    const QModelIndex cell = Table->currentIndex();
    return cell.isValid() ? EntryGridModel::gridRowOf(cell) : 0;
}

int TFormXom::currentColumn() const
{
    const QModelIndex cell = Table->currentIndex();
    return cell.isValid() ? cell.column() : xom::NumberColumn;
}

void TFormXom::selectFoundCell(const int gridRow, const int column)
{
    Table->selectCell(m_grid->indexOfCell(gridRow, column));
}

void TFormXom::changeCells(std::vector<xom::CellChange> changes, [[maybe_unused]] const QString& what)
{
    // Every change Find and Replace makes enters the grid here, as one step.
    m_grid->changeCells(changes);
    RichEdit1->setPlainText(m_grid->cellText(Table->currentIndex()));
}

void TFormXom::Button1Click()
{
    const QString path = m_fileDialogs->chooseOpenFile();
    if (path.isEmpty())
        return;
    const WholeFile file = readWholeFile(path);
    switch (file.status) {
    case WholeFile::Status::Missing:
        return;
    case WholeFile::Status::Unreadable:
        showError(QStringLiteral("Cannot open file %1").arg(path));
        return;
    case WholeFile::Status::TooLarge:
        m_messageBoxes->showBadLanguageFile();
        return;
    case WholeFile::Status::Read:
        break;
    }

    xom::LoadResult result = xom::loadLanguageFile(file.bytes);
    // The loader gives all or nothing: a rejected file changes nothing here,
    // so Save and Add only ever see a complete model.
    if (const auto* const error = std::get_if<xom::LoadError>(&result)) {
        if (error->kind == xom::LoadError::Kind::BadLanguageFile)
            m_messageBoxes->showBadLanguageFile();
        else
            showError(error->message());
        return;
    }
    auto& loaded = std::get<xom::LoadedFile>(result);
    m_countBeforeNotFound.reset();
    if (loaded.containerCounter)
        m_countPanel->setText(text::FormatDecimal(*loaded.containerCounter));
    takeLoadedFile(std::move(loaded.entries), std::move(loaded.model), path);
}

void TFormXom::takeLoadedFile(xom::EntryTable entries, xom::LanguageModel model, const QString& path)
{
    // The selection stays at its row and column, clamped to the new rows,
    // without a select event: the preview keeps what it showed.
    const QModelIndex before = Table->currentIndex();
    const int row = before.isValid() ? before.row() : 0;
    const int column = before.isValid() ? before.column() : static_cast<int>(xom::NumberColumn);

    m_model = std::move(model);
    m_grid->replaceTable(std::move(entries));
    Table->setCurrentCellQuietly(m_grid->index(std::min(row, m_grid->rowCount() - 1), column));

    setWindowTitle(loadedCaption(path));
    SaveLang->setEnabled(true);
    AddRow->setEnabled(true);
}

void TFormXom::SaveLangClick()
{
    const QString path = m_fileDialogs->chooseSaveFile(m_lastSavePath);
    if (path.isEmpty())
        return;
    m_lastSavePath = path;

    std::optional<QString> failure;
    {
        const ProgressShown shown(*ProgressBar1);
        try {
            xom::saveLanguageFile(path, m_grid->table(), m_model, [this](int position) { setProgress(position); });
        } catch (const text::EditorError& error) {
            failure = error.message();
        } catch (const std::exception& error) {
            // No memory for the image, say: no error may pass into the event
            // loop unshown.
            failure = QString::fromLocal8Bit(error.what());
        }
    }
    if (failure) {
        showError(*failure);
        return;
    }
    setWindowTitle(savedCaption(path));
}

void TFormXom::AddRowClick()
{
    if (!m_addForm)
        return;
    m_addForm->prepare(m_grid->table().gridRowCount());
    if (m_addForm->exec() != dialogs::ModalOk)
        return;
    const int number = m_grid->addEntry(m_model, m_addForm->name(), m_addForm->text());
    m_countPanel->setText(text::FormatDecimal(number));
    m_countBeforeNotFound.reset();
}

void TFormXom::EditTextClick()
{
    if (m_editForm)
        m_editForm->exec();
}

void TFormXom::MoveDownClick()
{
    m_grid->reorderRows([](xom::EntryTable& table) { xom::moveMarkedRowsToEnd(table); });
}

void TFormXom::SortClick()
{
    const ProgressShown shown(*ProgressBar1);
    m_grid->reorderRows([this](xom::EntryTable& table) {
        xom::sortEntriesByName(table, [this](int position) { setProgress(position); });
    });
}

void TFormXom::TableMouseDown(const int gridRow)
{
    m_grid->toggleMark(gridRow);
}

void TFormXom::TableMouseUp()
{
    const QModelIndex cell = Table->currentIndex();
    EditText->setEnabled(cell.isValid() && cell.column() == xom::TextColumn);
}

void TFormXom::TableSelectCell(const QModelIndex& cell)
{
    m_rowPanel->setText(text::FormatDecimal(EntryGridModel::gridRowOf(cell)));
    RichEdit1->setPlainText(m_grid->cellText(cell));
}

void TFormXom::Edit1KeyDown(const int key)
{
    if (key != Qt::Key_Return && key != Qt::Key_Enter)
        return;
    const std::optional<int> found = xom::searchRowForPrefix(m_grid->table(), Edit1->text());
    if (!found)
        return;
    // First the Text column of the current row, then the row found: each
    // step that moves the selection is a select event of its own.
    const QModelIndex current = Table->currentIndex();
    if (current.isValid())
        Table->selectCell(current.siblingAtColumn(xom::TextColumn));
    Table->selectCell(m_grid->indexOfCell(*found, xom::TextColumn));
}

void TFormXom::searchAgain(const bool backwards)
{
    const std::optional<int> found
        = xom::searchRowForPrefixAgain(m_grid->table(), Edit1->text(), currentGridRow(), backwards);
    if (!found) {
        if (!m_countBeforeNotFound)
            m_countBeforeNotFound = m_countPanel->text();
        m_countPanel->setText(QStringLiteral("Not found"));
        return;
    }
    if (m_countBeforeNotFound) {
        m_countPanel->setText(*m_countBeforeNotFound);
        m_countBeforeNotFound.reset();
    }
    Table->selectCell(m_grid->indexOfCell(*found, xom::TextColumn));
}

void TFormXom::FindReplaceClick()
{
    if (m_findReplace)
        m_findReplace->showFor();
}

void TFormXom::FindClick()
{
    if (m_findReplace)
        m_findReplace->showFor(Edit1->text());
}

bool TFormXom::eventFilter(QObject* watched, QEvent* event)
{
    if (watched == Edit1 && event->type() == QEvent::KeyPress) {
        const auto* const key = static_cast<const QKeyEvent*>(event);
        if (key->key() == Qt::Key_F3) {
            searchAgain(key->modifiers().testFlag(Qt::ShiftModifier));
            return true;
        }
        Edit1KeyDown(key->key());
    }
    return QMainWindow::eventFilter(watched, event);
}

void TFormXom::setProgress(const int position)
{
    // Long operations report a position per row, mostly the one the bar
    // already shows; painting each would cost more than the work itself.
    if (position == ProgressBar1->value())
        return;
    ProgressBar1->setValue(position);
    ProgressBar1->repaint();
}

void TFormXom::showError(const QString& message)
{
    m_messageBoxes->showError(errorBoxText(message));
}

} // namespace app
