#include "app/LanguageEdit2Uni.h"

#include "app/EntryGridModel.h"
#include "app/EntryGridView.h"
#include "app/WindowSpeller.h"
#include "app/ErrorText.h"
#include "app/FileDialogs.h"
#include "app/MessageBoxes.h"
#include "app/ProgressShown.h"
#include "app/WindowCaptions.h"

#include "dialogs/AddUni.h"
#include "dialogs/EditNameForm.h"
#include "dialogs/EditUni.h"
#include "dialogs/FormFont.h"
#include "dialogs/GoToForm.h"
#include "dialogs/ModalResult.h"

#include "text/Decimal.h"
#include "text/TextCompare.h"
#include "xom/EntryLookup.h"
#include "xom/EntryOperations.h"

#include <QAction>
#include <QFrame>
#include <QLabel>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QProgressBar>
#include <QPushButton>
#include <QSplitter>
#include <QStatusBar>

#include <algorithm>
#include <limits>

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

} // namespace

TFormXom::TFormXom(QWidget* parent)
    : QMainWindow(parent, Qt::Window | Qt::CustomizeWindowHint | Qt::WindowTitleHint | Qt::WindowSystemMenuHint
                              | Qt::WindowMinMaxButtonsHint | Qt::WindowCloseButtonHint)
    , m_journal(std::make_unique<recovery::DocumentJournal>(m_document, recovery::JournalFolder()))
    , m_grid(new EntryGridModel(m_document, this))
    , m_fileDialogs(std::make_unique<SystemFileDialogs>(*this))
    , m_messageBoxes(std::make_unique<SystemMessageBoxes>(*this))
{
    setObjectName(QStringLiteral("FormXom"));
    setCaption(startCaption());
    setFont(dialogs::formFont());
    setAcceptDrops(true);
    buildControls();
    buildMenus();
    buildReviewControls();
    buildRecoveryControls();
    buildFilterControls();
    buildMemoryControls();
    buildCheckControls();
    connectMenus();
    setTabOrders();
    placeOnScreen();
    restoreWindowState();

    // Grid row 1, column 1 is selected at the start, without a select event:
    // the panels and the preview start empty.
    Table->setCurrentCellQuietly(m_grid->indexOfCell(1, xom::NumberColumn));
    Button1->setFocus();
}

TFormXom::~TFormXom()
{
    // The widgets, children, go after this object's members: the document
    // tells no one of anything by then.
    m_document.disconnect();
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
    // Room beyond the form's goes to the grid and the preview alike.
    Splitter1->setStretchFactor(0, 1);
    Splitter1->setStretchFactor(1, 1);

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
    connect(Table->selectionModel(), &QItemSelectionModel::currentChanged, this, &TFormXom::followEditButton);
    connect(&m_document, &document::Document::cellsConcerned, this, &TFormXom::showConcernedCells);
    connect(&m_document, &document::Document::rowConcerned, this, &TFormXom::showConcernedRow);
    connect(&m_document, &document::Document::currentEntryConcerned, this, &TFormXom::revealCurrentCell);
    // Whatever changed the entries, the views show the current cell as it is
    // now, and the caption and the Undo and Redo items follow.
    connect(&m_document, &document::Document::historyChanged, this, &TFormXom::showCurrentCell);
    connect(&m_document, &document::Document::historyChanged, this, &TFormXom::updateUndoTexts);
    connect(&m_document, &document::Document::modifiedChanged, this, &TFormXom::updateCaption);
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
    m_editForm->setSpeller(m_speller.get());
    // A new entry has no row yet: every entry of the name counts.
    m_addForm->setNameWarning([this](const QString& name) { return sharedNameWarning(name, 0); });
}

void TFormXom::attachEntryDialogs(dialogs::EditNameForm& editNameForm, dialogs::GoToForm& goToForm)
{
    m_editNameForm = &editNameForm;
    m_goToForm = &goToForm;
    m_goToForm->setGoTo([this](const QString& query) { return goToEntry(query); });
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
    // Only names and texts are edited: a number edited into another text
    // would leave a file that cannot be saved, and references are read-only.
    if (!cell.isValid() || (cell.column() != xom::NameColumn && cell.column() != xom::TextColumn))
        return;
    // An accepted text makes its entry translated, changed or not.
    if (cell.column() == xom::TextColumn) {
        guarded([this, &cell, &text] { m_document.acceptText(m_grid->gridRowOf(cell), text); });
        return;
    }
    const QString before = m_grid->cellText(cell);
    if (text::TextEquals(before, text))
        return;
    setCellTexts({xom::CellChange{m_grid->gridRowOf(cell), cell.column(), before, text}}, QStringLiteral("Rename"));
}

QString TFormXom::selectedEntryLabel() const
{
    const QModelIndex cell = Table->currentIndex();
    if (!cell.isValid())
        return {};
    const xom::EntryTable& table = m_document.entries();
    const int row = m_grid->gridRowOf(cell) - 1;
    const QString number = table.number(row);
    const QString name = table.name(row).toString();
    if (number.isEmpty() && name.isEmpty())
        return {};
    return QStringLiteral("#%1 %2").arg(number, name).trimmed();
}

QString TFormXom::renameWarning(const QString& name) const
{
    // The entry renamed is not its own twin.
    return sharedNameWarning(name, currentGridRow());
}

QString TFormXom::sharedNameWarning(const QString& name, const int exceptGridRow) const
{
    const std::optional<int> other = xom::otherRowNamed(m_document.entries(), name, exceptGridRow);
    if (!other)
        return {};
    return QStringLiteral("Entry #%1 has this name too.").arg(m_document.entries().number(*other - 1));
}

void TFormXom::setCellTexts(std::vector<xom::CellChange> changes, const QString& text)
{
    m_document.setCellTexts(std::move(changes), text);
}

void TFormXom::guarded(const std::function<void()>& handler)
{
    if (const std::optional<QString> failure = failureOf(handler))
        showError(*failure);
}

void TFormXom::AddRowClick()
{
    guarded([this] {
        if (!m_addForm || !AddRow->isEnabled())
            return;
        m_addForm->prepare(m_document.entries().gridRowCount());
        if (m_addForm->exec() != dialogs::ModalOk)
            return;
        const QString name = m_addForm->name();
        const QString entryText = m_addForm->text();
        const xom::AddedEntry added = m_document.addEntry(name, entryText);
        m_entryCount = text::FormatDecimal(added.number);
        m_notFound = false;
        showCountPanel();
        fitNumberWidths();
        showConcernedRow(m_document.entries().gridRowCount() - 1);
    });
}

void TFormXom::EditTextClick()
{
    // Without a current cell the dialog would show nothing and drop what
    // the user typed.
    const QModelIndex cell = Table->currentIndex();
    if (!cell.isValid())
        return;
    guarded([this, &cell] {
        if (cell.column() == xom::NameColumn) {
            if (m_editNameForm)
                m_editNameForm->exec();
            return;
        }
        if (cell.column() != xom::TextColumn || !m_editForm)
            return;
        // Ctrl+Shift+Enter saves and goes on with the next entry to check.
        while (m_editForm->exec() == dialogs::ModalOkNext) {
            if (!stepToFailingEntry(true))
                break;
        }
    });
}

void TFormXom::editCurrentCell()
{
    EditTextClick();
}

void TFormXom::MoveDownClick()
{
    guarded([this] {
        if (m_document.moveDown())
            revealCurrentCell();
    });
}

void TFormXom::SortClick()
{
    guarded([this] {
        bool moved = false;
        {
            const ProgressShown shown(*ProgressBar1);
            moved = m_document.sortByName([this](int position) { setProgress(position); });
        }
        if (moved)
            revealCurrentCell();
    });
}

void TFormXom::TableMouseDown(const int gridRow)
{
    guarded([this, gridRow] { m_document.toggleMark(gridRow); });
}

void TFormXom::toggleCurrentMark()
{
    const QModelIndex cell = Table->currentIndex();
    if (cell.isValid())
        TableMouseDown(m_grid->gridRowOf(cell));
}

void TFormXom::TableMouseUp()
{
    const QModelIndex cell = Table->currentIndex();
    setButtonEnabled(*EditText, *m_actions.edit, cell.isValid() && cell.column() == xom::TextColumn);
}

void TFormXom::undo()
{
    guarded([this] { m_document.undo(); });
    fitNumberWidths();
}

void TFormXom::redo()
{
    guarded([this] { m_document.redo(); });
    fitNumberWidths();
}

void TFormXom::setButtonEnabled(QPushButton& button, QAction& action, const bool enabled)
{
    button.setEnabled(enabled);
    action.setEnabled(enabled);
}

void TFormXom::setSaveEnabled(const bool enabled)
{
    setButtonEnabled(*SaveLang, *m_actions.saveAs, enabled);
    m_actions.save->setEnabled(enabled);
    // An exchange file applies to, and is written from, a loaded file.
    m_actions.importFile->setEnabled(enabled);
    m_actions.updateFromReference->setEnabled(enabled);
    m_actions.exportFile->setEnabled(enabled);
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

void TFormXom::showError(const QString& message)
{
    m_messageBoxes->showError(errorBoxText(message));
}

} // namespace app
