// The main window's reference language: opening and closing it, its pane
// and panels, stepping through the entries that fail a check, and copying
// the reference into the text.

#include "app/LanguageEdit2Uni.h"

#include "app/EntryGridModel.h"
#include "app/EntryGridView.h"
#include "app/FileDialogs.h"
#include "app/MessageBoxes.h"
#include "app/PaneText.h"
#include "app/SuggestionsPane.h"
#include "app/WindowSpeller.h"

#include "checks/DocumentChecks.h"
#include "app/WindowCaptions.h"

#include "text/TextCompare.h"
#include "xom/TranslationReview.h"

#include <QAction>
#include <QFrame>
#include <QLabel>
#include <QPlainTextEdit>
#include <QSplitter>
#include <QStatusBar>
#include <QVBoxLayout>

#include <algorithm>

namespace app {

namespace {

constexpr int UsualCountPanelWidth = 250;

} // namespace

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
    Splitter1->setStretchFactor(2, 1);

    m_checksPanel = new QLabel(StatusBar1);
    m_checksPanel->setObjectName(QStringLiteral("StatusPanel2"));
    m_checksPanel->setTextFormat(Qt::PlainText);
    StatusBar1->addWidget(m_checksPanel, 1);
    m_checksPanel->hide();

    connect(&m_document, &document::Document::reviewChanged, this, &TFormXom::showReview);
}

bool TFormXom::openReference(const QString& path)
{
    bool taken = false;
    guarded([this, &path, &taken] {
        std::optional<xom::LoadedFile> loaded = readLanguageFile(path, MissingFile::Report);
        if (!loaded)
            return;
        m_document.openReference(std::move(loaded->entries), path);
        taken = true;
        rememberReference();
    });
    return taken;
}

void TFormXom::rememberReference()
{
    m_recentFiles.setReference(m_document.path(), m_document.referencePath());
    rememberRecentFiles();
}

void TFormXom::OpenReferenceClick()
{
    const QString path = m_fileDialogs->chooseReferenceFile(QStringLiteral("Open Reference"));
    if (!path.isEmpty())
        openReference(path);
}

void TFormXom::updateFromReferenceClick()
{
    const QString path = m_fileDialogs->chooseReferenceFile(QStringLiteral("Update from New Reference"));
    if (!path.isEmpty())
        updateFromReference(path);
}

bool TFormXom::updateFromReference(const QString& path)
{
    bool updated = false;
    guarded([this, &path, &updated] {
        std::optional<xom::LoadedFile> loaded = readLanguageFile(path, MissingFile::Report);
        if (!loaded)
            return;
        // The reference open now is the old one: it moves out of the
        // document with the update, so a copy stands in.
        const std::optional<xom::EntryTable> oldReference
            = m_document.review() ? std::optional(m_document.review()->reference()) : std::nullopt;
        const document::UpdateResult result
            = m_document.updateToReference(std::move(loaded->entries), path, oldReference ? &*oldReference : nullptr);
        updated = true;
        rememberReference();
        showUpdateSummary(result);
    });
    return updated;
}

void TFormXom::showUpdateSummary(document::UpdateResult result)
{
    const auto told = [this](const document::UpdateResult& shown) {
        return QStringLiteral("Updated from %1: %2.")
            .arg(fileNameOf(m_document.referencePath()), document::updateSummaryLine(shown.summary));
    };
    if (result.summary.count(document::UpdateOutcome::SourceChanged) > 0)
        showOnly(document::RowFilter::NeedsReview);
    const QString filtered = result.summary.count(document::UpdateOutcome::SourceChanged) > 0
                               ? QStringLiteral("\n\nThe grid shows the entries that need review; All in the filter "
                                                "box shows every entry again.")
                               : QString();
    const int removedCount = result.summary.count(document::UpdateOutcome::Removed);
    if (removedCount == 0) {
        m_messageBoxes->showInformation(applicationTitle(), told(result) + filtered);
        return;
    }
    // The entries the new reference lacks, by number and name, the first
    // few; whether to drop them is the translator's choice, kept by default.
    constexpr int namesShown = 10;
    QStringList removed;
    for (const document::UpdatedEntry& entry : result.entries) {
        if (entry.outcome == document::UpdateOutcome::Removed && removed.size() < namesShown)
            removed.append(QStringLiteral("#%1 %2").arg(m_document.entries().gridCell(entry.gridRow, xom::NumberColumn),
                m_document.entries().gridCell(entry.gridRow, xom::NameColumn)));
    }
    const QString question
        = told(result)
        + QStringLiteral("\n\nNo longer in the reference: %1%2\n\nKeep these entries, or drop them? Dropping "
                         "renumbers the entries after them; Undo takes it back.")
              .arg(removed.join(QStringLiteral(", ")), removedCount > namesShown ? QStringLiteral(", …") : QString())
        + filtered;
    if (m_messageBoxes->askDropRemoved(question))
        m_document.dropRemovedEntries(result);
}

void TFormXom::CloseReferenceClick()
{
    if (!m_document.review())
        return;
    // The Reference cell goes with its column: the selection moves to the
    // same row's Text cell first.
    const QModelIndex current = Table->currentIndex();
    if (current.isValid() && current.column() == EntryGridModel::ReferenceColumn)
        Table->selectCell(current.siblingAtColumn(xom::TextColumn));
    m_document.closeReference();
    rememberReference();
}

bool TFormXom::referenceIsOpen() const
{
    return m_document.review() != nullptr;
}

std::optional<QString> TFormXom::selectedReferenceText() const
{
    const xom::TranslationReview* const review = m_document.review();
    const QModelIndex cell = Table->currentIndex();
    if (!review || !cell.isValid())
        return std::nullopt;
    const std::optional<QStringView> reference = review->referenceTextOfRow(m_grid->gridRowOf(cell) - 1);
    if (!reference)
        return std::nullopt;
    return reference->toString();
}

void TFormXom::copyReferenceClick()
{
    guarded([this] {
        const QModelIndex cell = Table->currentIndex();
        const std::optional<QString> reference = selectedReferenceText();
        if (!cell.isValid() || !reference)
            return;
        const int gridRow = m_grid->gridRowOf(cell);
        const QString before = m_document.entries().text(gridRow - 1).toString();
        if (text::TextEquals(before, *reference))
            return;
        setCellTexts({xom::CellChange{gridRow, xom::TextColumn, before, *reference}}, QStringLiteral("Copy Reference"));
    });
}

void TFormXom::NextWarningClick()
{
    stepToFailingEntry(true);
}

void TFormXom::PreviousWarningClick()
{
    stepToFailingEntry(false);
}

bool TFormXom::stepToFailingEntry(const bool forward)
{
    const xom::TranslationReview* const review = m_document.review();
    if (!review)
        return false;
    // Among the rows the filter shows.
    const std::optional<int> found = nextShownRow(forward, [this, review](const int gridRow) {
        return review->rowFails(gridRow - 1) || m_unknownWords.contains(gridRow - 1);
    });
    if (!found)
        return false;
    selectGridCell(*found, xom::TextColumn);
    TableMouseUp(); // Edit follows the selected Text cell as after a click
    return true;
}

void TFormXom::showReview()
{
    const xom::TranslationReview* const review = m_document.review();
    const bool open = review != nullptr;
    if (open == ReferencePane->isHidden()) {
        Table->fitReferenceColumn(open);
        ReferencePane->setVisible(open);
        Suggestions->setVisible(open);
        m_checksPanel->setVisible(open);
        for (QAction* const action :
            {m_actions.closeReference, m_actions.copyReference, m_actions.nextWarning, m_actions.previousWarning})
            action->setEnabled(open);
        if (open) {
            // The preview gives half of its room to the reference and the
            // memory's suggestions.
            const QList<int> sizes = Splitter1->sizes();
            const int preview = sizes.value(1);
            Splitter1->setSizes({sizes.value(0), preview - preview / 2, preview / 4, preview / 2 - preview / 4});
        }
    }
    showCountPanel();
    showCurrentReview();
}

void TFormXom::showCountPanel()
{
    const xom::TranslationReview* const review = m_document.review();
    if (m_notFound)
        m_countPanel->setText(QStringLiteral("Not found"));
    else if (review)
        m_countPanel->setText(xom::totalsText(checks::totalsWithSpelling(*review, m_unknownWords)));
    else
        m_countPanel->setText(m_entryCount);
    // The totals of a large file are wider than the form's panel: it grows
    // to show them whole, and goes back to its width without them.
    const int frame = 2 * m_countPanel->frameWidth() + 2 * m_countPanel->margin() + 8;
    const int needed = review ? m_countPanel->fontMetrics().horizontalAdvance(m_countPanel->text()) + frame : 0;
    m_countPanel->setFixedWidth(std::max(UsualCountPanelWidth, needed));
    m_countPanel->setToolTip(review ? QStringLiteral("Untranslated: entries whose text is the reference text. With "
                                                     "warnings: entries that fail any other check (F8 goes to them).")
                                    : QString());
}

void TFormXom::showCurrentReview()
{
    const xom::TranslationReview* const review = m_document.review();
    if (!review) {
        m_checksPanel->clear();
        setPaneText(*ReferencePreview, m_referencePreviewText, QString());
        return;
    }
    const QModelIndex current = Table->currentIndex();
    const int gridRow = current.isValid() ? m_grid->gridRowOf(current) : 0;
    m_checksPanel->setText(checks::describe(checks::findingsOfRow(m_document, gridRow - 1, m_checkContext,
                                                m_speller->unknownWordsOfRows(m_document, {gridRow - 1})))
                               .join(QStringLiteral(", ")));
    showReferenceOf(gridRow);
    lookUpCurrentEntry();
}

} // namespace app
