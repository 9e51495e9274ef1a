// The filter of the grid's rows, in a box at the status bar's end with the
// count of each choice; going to rows among those shown; the reference pane's
// word difference for an entry whose source changed.

#include "app/LanguageEdit2Uni.h"

#include "app/EntryGridModel.h"
#include "app/EntryGridView.h"
#include "app/PaneText.h"

#include "review/WordDiff.h"
#include "text/Decimal.h"

#include <QComboBox>
#include <QPlainTextEdit>
#include <QStatusBar>
#include <QTextCharFormat>
#include <QTextCursor>
#include <QTimer>

namespace app {

namespace {

QString filterName(const document::RowFilter filter)
{
    switch (filter) {
    case document::RowFilter::All:
        return QStringLiteral("All");
    case document::RowFilter::Untranslated:
        return QStringLiteral("Untranslated");
    case document::RowFilter::NeedsReview:
        return QStringLiteral("Needs review");
    case document::RowFilter::WithWarnings:
        return QStringLiteral("With warnings");
    case document::RowFilter::SourceChanged:
        return QStringLiteral("Source changed");
    case document::RowFilter::Approved:
        return QStringLiteral("Approved");
    }
    return {};
}

constexpr int FilterBoxWidth = 170;

} // namespace

void TFormXom::buildFilterControls()
{
    FilterBox = new QComboBox(StatusBar1);
    FilterBox->setObjectName(QStringLiteral("FilterBox"));
    FilterBox->setToolTip(QStringLiteral("Show only these entries"));
    FilterBox->setFixedWidth(FilterBoxWidth);
    FilterBox->setFocusPolicy(Qt::ClickFocus);
    for (const document::RowFilter filter : document::AllRowFilters)
        FilterBox->addItem(filterName(filter), static_cast<int>(filter));
    StatusBar1->addPermanentWidget(FilterBox);
    connect(FilterBox, &QComboBox::activated, this,
        [this](const int item) { showOnly(static_cast<document::RowFilter>(FilterBox->itemData(item).toInt())); });

    // The counts follow every change, counted once after a burst of them.
    const auto countsDue = [this] {
        if (std::exchange(m_filterCountsDue, true))
            return;
        QTimer::singleShot(0, this, &TFormXom::showFilterCounts);
    };
    connect(&m_document, &document::Document::reset, this, countsDue);
    connect(&m_document, &document::Document::reviewChanged, this, countsDue);
    connect(&m_document, &document::Document::reviewsChanged, this, countsDue);
    connect(&m_document, &document::Document::rowCountChanged, this, countsDue);
    connect(&m_document, &document::Document::referenceChanged, this, countsDue);
    // The first state set makes room for the number cells' icons.
    connect(&m_document, &document::Document::reviewsChanged, this, [this] {
        if (m_document.keepsReviews() != m_numberIconRoom)
            fitNumberWidths();
    });
    showFilterCounts();
}

void TFormXom::showFilterCounts()
{
    m_filterCountsDue = false;
    const document::RowFilterCounts counts = document::countRowFilters(m_document);
    for (std::size_t item = 0; item < counts.size(); ++item) {
        FilterBox->setItemText(
            static_cast<int>(item), QStringLiteral("%1 (%2)").arg(
                                        filterName(document::AllRowFilters[item]), text::FormatDecimal(counts[item])));
    }
}

void TFormXom::showOnly(const document::RowFilter filter)
{
    const QModelIndex current = Table->currentIndex();
    const int gridRow = current.isValid() ? m_grid->gridRowOf(current) : 0;
    const int column = current.isValid() ? current.column() : static_cast<int>(xom::TextColumn);
    FilterBox->setCurrentIndex(FilterBox->findData(static_cast<int>(filter)));
    m_grid->setFilter(filter);
    // The current entry stays current when the filter shows it; otherwise
    // the first row shown is.
    QModelIndex cell = m_grid->indexOfCell(gridRow, column);
    if (!cell.isValid())
        cell = m_grid->index(0, column);
    if (cell.isValid()) {
        Table->selectCell(cell);
        revealCurrentCell();
    } else {
        showCurrentCell();
    }
}

void TFormXom::selectGridCell(const int gridRow, const int column)
{
    QModelIndex cell = m_grid->indexOfCell(gridRow, column);
    if (!cell.isValid() && gridRow >= 1 && gridRow <= m_document.entries().entryCount()
        && m_grid->filter() != document::RowFilter::All) {
        showOnly(document::RowFilter::All);
        cell = m_grid->indexOfCell(gridRow, column);
    }
    Table->selectCell(cell);
}

std::optional<int> TFormXom::nextShownRow(const bool forward, const std::function<bool(int)>& wanted) const
{
    const int rows = m_grid->rowCount();
    if (rows == 0)
        return std::nullopt;
    const QModelIndex current = Table->currentIndex();
    // Without a current row the search starts from the top (forward) or the
    // bottom.
    const int start = current.isValid() ? current.row() : (forward ? -1 : rows);
    for (int step = 1; step <= rows; ++step) {
        const int row = ((start + (forward ? step : -step)) % rows + rows) % rows;
        const int gridRow = m_grid->gridRowOf(m_grid->index(row, 0));
        if (wanted(gridRow))
            return gridRow;
    }
    return std::nullopt;
}

void TFormXom::showReferenceOf(const int gridRow)
{
    const xom::TranslationReview* const review = m_document.review();
    const std::optional<QStringView> reference = review ? review->referenceTextOfRow(gridRow - 1) : std::nullopt;
    const QString now = reference ? reference->toString() : QString();
    if (!m_document.sourceChanged(gridRow)) {
        // Leaving a difference, the pane is set even to an empty text.
        if (m_referenceDiffShown) {
            m_referenceDiffShown.reset();
            m_referencePreviewText = now;
            ReferencePreview->setPlainText(now);
            return;
        }
        setPaneText(*ReferencePreview, m_referencePreviewText, now);
        return;
    }
    const QString& before = *m_document.entryReview(gridRow).snapshot;
    if (m_referenceDiffShown && m_referenceDiffShown->first == before && m_referenceDiffShown->second == now)
        return;
    m_referenceDiffShown.emplace(before, now);
    m_referencePreviewText.clear();

    // The words the reference lost struck out in red, the words it gained
    // underlined in green, after a line that says what the pane shows.
    ReferencePreview->clear();
    QTextCursor cursor(ReferencePreview->document());
    QTextCharFormat heading;
    heading.setFontItalic(true);
    heading.setFontWeight(QFont::Normal);
    heading.setForeground(Qt::darkGray);
    cursor.insertText(QStringLiteral("Source changed since the translation was accepted:\n"), heading);
    const QTextCharFormat same;
    QTextCharFormat deleted;
    deleted.setFontStrikeOut(true);
    deleted.setForeground(QColor(0xB0, 0x00, 0x00));
    deleted.setBackground(QColor(0xFF, 0xE0, 0xE0));
    QTextCharFormat inserted;
    inserted.setFontUnderline(true);
    inserted.setForeground(QColor(0x00, 0x70, 0x00));
    inserted.setBackground(QColor(0xDD, 0xF4, 0xDD));
    for (const review::DiffPart& part : review::wordDiff(before, now)) {
        const QTextCharFormat& format = part.kind == review::DiffPart::Kind::Deleted
                                          ? deleted
                                          : (part.kind == review::DiffPart::Kind::Inserted ? inserted : same);
        cursor.insertText(part.text, format);
    }
    ReferencePreview->moveCursor(QTextCursor::Start);
}

} // namespace app
