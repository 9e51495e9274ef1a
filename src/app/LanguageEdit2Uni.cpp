#include "app/LanguageEdit2Uni.h"

#include "app/EntryGridModel.h"
#include "app/EntryGridView.h"
#include "app/ErrorText.h"
#include "app/FileDialogs.h"
#include "app/MessageBoxes.h"
#include "app/UndoCommands.h"
#include "app/WindowCaptions.h"

#include "dialogs/AddUni.h"
#include "dialogs/EditUni.h"
#include "dialogs/FindReplaceDialog.h"
#include "dialogs/FormFont.h"
#include "dialogs/ModalResult.h"

#include "text/Decimal.h"
#include "text/EditorError.h"
#include "text/TextCompare.h"
#include "xom/EntryOperations.h"
#include "xom/LanguageFileReader.h"
#include "xom/LanguageFileWriter.h"
#include "xom/WholeFile.h"

#include <QAction>
#include <QCloseEvent>
#include <QCoreApplication>
#include <QDragEnterEvent>
#include <QDropEvent>
#include <QFileInfo>
#include <QFrame>
#include <QGuiApplication>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QMenuBar>
#include <QMimeData>
#include <QPlainTextEdit>
#include <QProgressBar>
#include <QPushButton>
#include <QScreen>
#include <QSplitter>
#include <QStatusBar>
#include <QUndoStack>
#include <QVBoxLayout>
#include <QUrl>

#include <algorithm>
#include <limits>
#include <new>
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

// The one language file among dropped data, or an empty string: a single
// local file whose name ends in ".xom".
QString droppedLanguageFile(const QMimeData* data)
{
    if (!data || !data->hasUrls())
        return {};
    const QList<QUrl> urls = data->urls();
    if (urls.size() != 1 || !urls.front().isLocalFile())
        return {};
    const QString path = urls.front().toLocalFile();
    if (!path.endsWith(QStringLiteral(".xom"), Qt::CaseInsensitive))
        return {};
    return path;
}

// The width that shows digits digits whole, the widest digit each time.
int widthOfDigits(const QFontMetrics& metrics, const qsizetype digits)
{
    int widest = 0;
    for (char16_t digit = u'0'; digit <= u'9'; ++digit)
        widest = std::max(widest, metrics.horizontalAdvance(QChar(digit)));
    return widest * static_cast<int>(digits);
}

constexpr int UsualRowPanelWidth = 50;

} // namespace

TFormXom::TFormXom(QWidget* parent)
    : QMainWindow(parent, Qt::Window | Qt::CustomizeWindowHint | Qt::WindowTitleHint | Qt::WindowSystemMenuHint
                              | Qt::WindowMinimizeButtonHint | Qt::WindowCloseButtonHint)
    , m_grid(new EntryGridModel(this))
    , m_fileDialogs(std::make_unique<SystemFileDialogs>(*this))
    , m_messageBoxes(std::make_unique<SystemMessageBoxes>(*this))
    , m_undoStack(new QUndoStack(this))
{
    setObjectName(QStringLiteral("FormXom"));
    setCaption(startCaption());
    setFont(dialogs::formFont());
    setAcceptDrops(true);
    buildControls();
    buildMenus();
    buildReviewControls();
    setTabOrders();
    // The client area as laid out, with the menu bar above it.
    setFixedSize(622, 629 + menuBar()->sizeHint().height());
    if (const QScreen* const screen = QGuiApplication::primaryScreen())
        move(screen->availableGeometry().center() - rect().center());

    // Grid row 1, column 1 is selected at the start, without a select event:
    // the panels and the preview start empty.
    Table->setCurrentCellQuietly(m_grid->indexOfCell(1, xom::NumberColumn));
    Button1->setFocus();
}

TFormXom::~TFormXom()
{
    // The undo stack, a child, goes after this object's members and
    // announces its clearing as it goes: no one may hear it by then.
    m_undoStack->disconnect();
}

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
    connect(Table, &EntryGridView::editRequested, this, &TFormXom::editCurrentCell);
    // Edit stays enabled only while there is a cell for it to edit.
    connect(Table->selectionModel(), &QItemSelectionModel::currentChanged, this, [this](const QModelIndex& current) {
        if (!current.isValid())
            setButtonEnabled(*EditText, *m_actions.edit, false);
    });
}

void TFormXom::buildMenus()
{
    m_actions = WindowActions::build(*this, *Table);
    connect(m_actions.open, &QAction::triggered, this, &TFormXom::Button1Click);
    connect(m_actions.save, &QAction::triggered, this, &TFormXom::SaveLangClick);
    connect(m_actions.quit, &QAction::triggered, this, &QWidget::close);
    connect(m_actions.undo, &QAction::triggered, this, &TFormXom::undo);
    connect(m_actions.redo, &QAction::triggered, this, &TFormXom::redo);
    connect(m_actions.add, &QAction::triggered, this, &TFormXom::AddRowClick);
    connect(m_actions.edit, &QAction::triggered, this, &TFormXom::EditTextClick);
    connect(m_actions.toggleMark, &QAction::triggered, this, &TFormXom::toggleCurrentMark);
    connect(m_actions.moveDown, &QAction::triggered, this, &TFormXom::MoveDownClick);
    connect(m_actions.sort, &QAction::triggered, this, &TFormXom::SortClick);
    connect(m_actions.findInTexts, &QAction::triggered, this, &TFormXom::findInTexts);
    connect(m_actions.find, &QAction::triggered, this, &TFormXom::FindClick);
    connect(m_actions.findReplace, &QAction::triggered, this, &TFormXom::FindReplaceClick);
    connect(m_actions.about, &QAction::triggered, this, &TFormXom::showAbout);
    connect(m_actions.keyboardShortcuts, &QAction::triggered, this, &TFormXom::showKeyboardShortcuts);

    m_actions.save->setEnabled(SaveLang->isEnabled());
    m_actions.add->setEnabled(AddRow->isEnabled());
    m_actions.edit->setEnabled(EditText->isEnabled());
    m_actions.undo->setEnabled(false);
    m_actions.redo->setEnabled(false);
    connect(m_undoStack, &QUndoStack::canUndoChanged, m_actions.undo, &QAction::setEnabled);
    connect(m_undoStack, &QUndoStack::canRedoChanged, m_actions.redo, &QAction::setEnabled);
    connect(m_undoStack, &QUndoStack::cleanChanged, this, &TFormXom::updateCaption);
}

void TFormXom::buildReviewControls()
{
    ReferencePane = new QWidget(Splitter1);
    ReferencePane->setObjectName(QStringLiteral("ReferencePane"));
    auto* const layout = new QVBoxLayout(ReferencePane);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->setSpacing(0);
    auto* const rule = new QFrame(ReferencePane);
    rule->setObjectName(QStringLiteral("ReferenceRule"));
    rule->setFrameStyle(QFrame::HLine | QFrame::Plain);
    rule->setFixedHeight(1);
    layout->addWidget(rule);
    ReferencePreview = new QPlainTextEdit(ReferencePane);
    ReferencePreview->setObjectName(QStringLiteral("ReferencePreview"));
    ReferencePreview->setReadOnly(true);
    ReferencePreview->setLineWrapMode(QPlainTextEdit::NoWrap);
    ReferencePreview->setFont(RichEdit1->font());
    layout->addWidget(ReferencePreview);
    ReferencePane->hide();

    m_checksPanel = new QLabel(StatusBar1);
    m_checksPanel->setObjectName(QStringLiteral("StatusPanel2"));
    m_checksPanel->setTextFormat(Qt::PlainText);
    StatusBar1->addWidget(m_checksPanel, 1);
    m_checksPanel->hide();

    const auto makeAction = [this](const QString& text, const char* name, const QKeySequence& keys) {
        auto* const action = new QAction(text, this);
        action->setObjectName(QLatin1String(name));
        action->setShortcut(keys);
        return action;
    };
    m_openReferenceAction = makeAction(QStringLiteral("Open Reference\u2026"), "OpenReference", {});
    m_closeReferenceAction = makeAction(QStringLiteral("Close Reference"), "CloseReference", {});
    m_closeReferenceAction->setEnabled(false);
    m_nextWarningAction = makeAction(QStringLiteral("Next Warning"), "NextWarning", QKeySequence(Qt::Key_F8));
    m_previousWarningAction
        = makeAction(QStringLiteral("Previous Warning"), "PreviousWarning", QKeySequence(Qt::SHIFT | Qt::Key_F8));
    // File: after Open; Edit: at the end. The menu bar's keys work wherever
    // the focus is.
    const QList<QAction*> fileActions = m_actions.fileMenu->actions();
    const auto afterOpen = std::find(fileActions.begin(), fileActions.end(), m_actions.open);
    QAction* const beforeAction
        = afterOpen != fileActions.end() && afterOpen + 1 != fileActions.end() ? *(afterOpen + 1) : nullptr;
    m_actions.fileMenu->insertActions(beforeAction, {m_openReferenceAction, m_closeReferenceAction});
    m_actions.editMenu->addSeparator();
    m_actions.editMenu->addAction(m_nextWarningAction);
    m_actions.editMenu->addAction(m_previousWarningAction);

    connect(m_openReferenceAction, &QAction::triggered, this, &TFormXom::OpenReferenceClick);
    connect(m_closeReferenceAction, &QAction::triggered, this, &TFormXom::CloseReferenceClick);
    connect(m_nextWarningAction, &QAction::triggered, this, &TFormXom::NextWarningClick);
    connect(m_previousWarningAction, &QAction::triggered, this, &TFormXom::PreviousWarningClick);
    connect(m_grid, &EntryGridModel::reviewChanged, this, &TFormXom::showReview);
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
    const QModelIndex cell = Table->currentIndex();
    // The Edit dialog opens only on a current cell and the grid takes no
    // input while it is shown: the cell is still there.
    Q_ASSERT(cell.isValid());
    if (!cell.isValid())
        return;
    const QString before = m_grid->cellText(cell);
    if (text::TextEquals(before, text))
        return;
    setCellTexts(
        {xom::CellChange{EntryGridModel::gridRowOf(cell), cell.column(), before, text}}, QStringLiteral("Edit"));
}

void TFormXom::setCellTexts(std::vector<xom::CellChange> changes, const QString& text)
{
    if (changes.empty())
        return;
    m_grid->applyCellChanges(changes);
    m_undoStack->push(new SetCellTextsCommand(*m_grid, std::move(changes), text));
}

bool TFormXom::hasUnsavedChanges() const
{
    return !m_documentPath.isEmpty() && !m_undoStack->isClean();
}

void TFormXom::guarded(const std::function<void()>& handler)
{
    try {
        handler();
    } catch (const text::EditorError& error) {
        showError(error.message());
    } catch (const std::bad_alloc&) {
        showError(QStringLiteral("Out of memory"));
    } catch (const std::exception& error) {
        showError(QString::fromLocal8Bit(error.what()));
    }
}

bool TFormXom::settleUnsavedChanges()
{
    if (!hasUnsavedChanges())
        return true;
    const QString question = QStringLiteral("Save changes to %1?").arg(fileNameOf(m_documentPath));
    switch (m_messageBoxes->askSaveChanges(question)) {
    case SaveChoice::Save:
        return saveWithDialog();
    case SaveChoice::Discard:
        return true;
    case SaveChoice::Cancel:
        return false;
    }
    return false;
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

void TFormXom::changeCells(std::vector<xom::CellChange> changes, const QString& what)
{
    setCellTexts(std::move(changes), what);
    RichEdit1->setPlainText(m_grid->cellText(Table->currentIndex()));
}

void TFormXom::Button1Click()
{
    guarded([this] {
        if (!settleUnsavedChanges())
            return;
        const QString path = m_fileDialogs->chooseOpenFile();
        if (!path.isEmpty())
            loadFile(path);
    });
}

bool TFormXom::openFile(const QString& path)
{
    bool loaded = false;
    guarded([this, &path, &loaded] { loaded = settleUnsavedChanges() && loadFile(path); });
    return loaded;
}

std::optional<xom::LoadedFile> TFormXom::readLanguageFile(const QString& path)
{
    const xom::WholeFile file = xom::readWholeFile(path);
    switch (file.status) {
    case xom::WholeFile::Status::Missing:
        return std::nullopt;
    case xom::WholeFile::Status::Unreadable:
        showError(QStringLiteral("Cannot open file %1").arg(path));
        return std::nullopt;
    case xom::WholeFile::Status::TooLarge:
        m_messageBoxes->showBadLanguageFile();
        return std::nullopt;
    case xom::WholeFile::Status::Read:
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
        return std::nullopt;
    }
    return std::get<xom::LoadedFile>(std::move(result));
}

bool TFormXom::loadFile(const QString& path)
{
    std::optional<xom::LoadedFile> loaded = readLanguageFile(path);
    if (!loaded)
        return false;
    m_countBeforeNotFound.reset();
    if (loaded->containerCounter)
        m_countPanel->setText(text::FormatDecimal(*loaded->containerCounter));
    takeLoadedFile(std::move(loaded->entries), std::move(loaded->model), path);
    return true;
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
    // A file without entries leaves no cell for Edit.
    if (!Table->currentIndex().isValid())
        setButtonEnabled(*EditText, *m_actions.edit, false);
    fitNumberWidths();

    // The history of the previous file ends with it.
    m_undoStack->clear();
    m_undoStack->setClean();
    m_documentPath = path;
    setCaption(loadedCaption(path));
    setButtonEnabled(*SaveLang, *m_actions.save, true);
    setButtonEnabled(*AddRow, *m_actions.add, true);
}

void TFormXom::SaveLangClick()
{
    guarded([this] { saveWithDialog(); });
}

bool TFormXom::saveWithDialog()
{
    const QString path = m_fileDialogs->chooseSaveFile(m_lastSavePath);
    if (path.isEmpty())
        return false;
    m_lastSavePath = path;

    std::optional<QString> failure;
    {
        const ProgressShown shown(*ProgressBar1);
        try {
            xom::saveLanguageFile(path, m_grid->table(), m_model, [this](int position) { setProgress(position); });
        } catch (const text::EditorError& error) {
            failure = error.message();
        } catch (const std::bad_alloc&) {
            failure = QStringLiteral("Out of memory");
        } catch (const std::exception& error) {
            // No memory for the image, say: no error may pass into the event
            // loop unshown.
            failure = QString::fromLocal8Bit(error.what());
        }
    }
    if (failure) {
        showError(*failure);
        return false;
    }
    m_undoStack->setClean();
    m_documentPath = path;
    setCaption(savedCaption(path));
    return true;
}

void TFormXom::AddRowClick()
{
    guarded([this] {
        if (!m_addForm || !AddRow->isEnabled())
            return;
        m_addForm->prepare(m_grid->table().gridRowCount());
        if (m_addForm->exec() != dialogs::ModalOk)
            return;
        const QString name = m_addForm->name();
        const QString entryText = m_addForm->text();
        const xom::AddedEntry added = m_grid->addEntry(m_model, name, entryText);
        m_undoStack->push(new AddEntryCommand(*m_grid, m_model, added, name, entryText));
        // While a reference is open the panel keeps showing the totals.
        if (!m_grid->review())
            m_countPanel->setText(text::FormatDecimal(added.number));
        m_countBeforeNotFound.reset();
        fitNumberWidths();
    });
}

void TFormXom::EditTextClick()
{
    // Without a current cell the dialog would show nothing and drop what
    // the user typed.
    if (m_editForm && Table->currentIndex().isValid())
        guarded([this] { m_editForm->exec(); });
}

void TFormXom::editCurrentCell()
{
    const QModelIndex cell = Table->currentIndex();
    if (cell.isValid() && cell.column() != xom::MarkColumn)
        EditTextClick();
}

void TFormXom::MoveDownClick()
{
    guarded([this] {
        xom::MoveDownChange change = m_grid->moveMarkedRowsDown();
        if (change.clearedMarks.empty())
            return;
        m_undoStack->push(new MoveDownCommand(*m_grid, std::move(change)));
    });
}

void TFormXom::SortClick()
{
    guarded([this] {
        xom::RowOrder order;
        {
            const ProgressShown shown(*ProgressBar1);
            order = m_grid->sortRowsByName([this](int position) { setProgress(position); });
        }
        // A sort of rows already in order changes nothing to undo.
        bool moved = false;
        for (std::size_t row = 0; row < order.size() && !moved; ++row)
            moved = order[row] != static_cast<std::int32_t>(row);
        if (moved)
            m_undoStack->push(new ReorderCommand(*m_grid, std::move(order), QStringLiteral("Sort")));
    });
}

void TFormXom::TableMouseDown(const int gridRow)
{
    guarded([this, gridRow] {
        const xom::CellChange change = xom::markToggle(m_grid->table(), gridRow);
        if (change.before != change.after)
            setCellTexts({change}, QStringLiteral("Toggle Mark"));
    });
}

void TFormXom::toggleCurrentMark()
{
    const QModelIndex cell = Table->currentIndex();
    if (cell.isValid())
        TableMouseDown(EntryGridModel::gridRowOf(cell));
}

void TFormXom::TableMouseUp()
{
    const QModelIndex cell = Table->currentIndex();
    setButtonEnabled(*EditText, *m_actions.edit, cell.isValid() && cell.column() == xom::TextColumn);
}

void TFormXom::undo()
{
    guarded([this] { m_undoStack->undo(); });
    fitNumberWidths();
}

void TFormXom::redo()
{
    guarded([this] { m_undoStack->redo(); });
    fitNumberWidths();
}

void TFormXom::findInTexts()
{
    Edit1->setFocus(Qt::ShortcutFocusReason);
    Edit1->selectAll();
}

void TFormXom::showAbout()
{
    m_messageBoxes->showInformation(QStringLiteral("About"),
        QStringLiteral("%1\nVersion %2\n\nEdits the string resources of a game's language files (lang*.xom).")
            .arg(applicationTitle(), QCoreApplication::applicationVersion()));
}

void TFormXom::showKeyboardShortcuts()
{
    QString list = m_actions.shortcutList();
    for (const QAction* const action : {m_nextWarningAction, m_previousWarningAction})
        list += QStringLiteral("\n%1\t%2").arg(action->text(), action->shortcut().toString(QKeySequence::NativeText));
    m_messageBoxes->showInformation(QStringLiteral("Keyboard Shortcuts"), list);
}

void TFormXom::closeEvent(QCloseEvent* event)
{
    bool close = false;
    guarded([this, &close] { close = settleUnsavedChanges(); });
    if (close)
        event->accept();
    else
        event->ignore();
}

void TFormXom::dragEnterEvent(QDragEnterEvent* event)
{
    if (!droppedLanguageFile(event->mimeData()).isEmpty())
        event->acceptProposedAction();
}

void TFormXom::dropEvent(QDropEvent* event)
{
    const QString path = droppedLanguageFile(event->mimeData());
    if (path.isEmpty())
        return;
    event->acceptProposedAction();
    // The drag source waits until the drop returns: the question and the
    // load run once it has.
    QMetaObject::invokeMethod(
        this, [this, path] { openFile(path); }, Qt::QueuedConnection);
}

void TFormXom::setButtonEnabled(QPushButton& button, QAction& action, const bool enabled)
{
    button.setEnabled(enabled);
    action.setEnabled(enabled);
}

void TFormXom::setCaption(const QString& caption)
{
    m_caption = caption;
    updateCaption();
}

void TFormXom::updateCaption()
{
    setWindowTitle(hasUnsavedChanges() ? m_caption + QStringLiteral(" *") : m_caption);
}

void TFormXom::fitNumberWidths()
{
    // The usual widths stay while the numbers fit them.
    const qsizetype digits = m_grid->table().longestNumberLength();
    Table->fitNumberColumn(widthOfDigits(Table->fontMetrics(), digits));
    const int frame = 2 * m_rowPanel->frameWidth() + 2 * m_rowPanel->margin() + 4;
    m_rowPanel->setFixedWidth(std::max(UsualRowPanelWidth, widthOfDigits(m_rowPanel->fontMetrics(), digits) + frame));
}

void TFormXom::TableSelectCell(const QModelIndex& cell)
{
    m_rowPanel->setText(text::FormatDecimal(EntryGridModel::gridRowOf(cell)));
    RichEdit1->setPlainText(m_grid->cellText(cell));
    showCurrentReview();
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

bool TFormXom::openReference(const QString& path)
{
    bool taken = false;
    guarded([this, &path, &taken] {
        std::optional<xom::LoadedFile> loaded = readLanguageFile(path);
        if (!loaded)
            return;
        m_grid->setReference(std::move(loaded->entries));
        taken = true;
    });
    return taken;
}

void TFormXom::OpenReferenceClick()
{
    const QString path = m_fileDialogs->chooseOpenFile();
    if (!path.isEmpty())
        openReference(path);
}

void TFormXom::CloseReferenceClick()
{
    // The Reference cell goes with its column: the selection moves to the
    // same row's Text cell first.
    const QModelIndex current = Table->currentIndex();
    if (current.isValid() && current.column() == EntryGridModel::ReferenceColumn)
        Table->selectCell(current.siblingAtColumn(xom::TextColumn));
    m_grid->clearReference();
}

void TFormXom::NextWarningClick()
{
    stepToFailingEntry(true);
}

void TFormXom::PreviousWarningClick()
{
    stepToFailingEntry(false);
}

void TFormXom::stepToFailingEntry(const bool forward)
{
    const xom::TranslationReview* const review = m_grid->review();
    if (!review)
        return;
    const QModelIndex current = Table->currentIndex();
    const std::optional<int> found = review->nextFailingRow(current.isValid() ? current.row() : -1, forward);
    if (!found)
        return;
    Table->selectCell(m_grid->index(*found, xom::TextColumn));
    TableMouseUp(); // Edit follows the selected Text cell as after a click
}

void TFormXom::showReview()
{
    const xom::TranslationReview* const review = m_grid->review();
    const bool open = review != nullptr;
    if (open == ReferencePane->isHidden()) {
        Table->fitReferenceColumn(open);
        ReferencePane->setVisible(open);
        m_checksPanel->setVisible(open);
        m_closeReferenceAction->setEnabled(open);
        if (open)
            Splitter1->setSizes({351, 103, 103});
        else
            m_countPanel->clear(); // the totals described the closed reference
    }
    if (open)
        m_countPanel->setText(xom::totalsText(review->totals()));
    showCurrentReview();
}

void TFormXom::showCurrentReview()
{
    const xom::TranslationReview* const review = m_grid->review();
    if (!review) {
        m_checksPanel->clear();
        ReferencePreview->clear();
        return;
    }
    const int row = Table->currentIndex().row();
    m_checksPanel->setText(xom::checkNames(review->checksOfRow(row)).join(QStringLiteral(", ")));
    const std::optional<QStringView> reference = review->referenceTextOfRow(row);
    ReferencePreview->setPlainText(reference ? reference->toString() : QString());
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
