// What the main window shows of its current cell: the row panel, the
// preview and the reference under it, kept to the cell's present texts after
// every selection and every change; the entry a change concerned brought into
// view; the widths that numbers need; the progress bar.

#include "app/LanguageEdit2Uni.h"

#include "app/EntryGridModel.h"
#include "app/EntryGridView.h"
#include "app/PaneText.h"
#include "app/StateIcons.h"

#include "text/Decimal.h"

#include <QAction>
#include <QLabel>
#include <QPlainTextEdit>
#include <QProgressBar>
#include <QPushButton>

#include <algorithm>

namespace app {

namespace {

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

void TFormXom::TableSelectCell(const QModelIndex& cell)
{
    if (std::exchange(m_notFound, false))
        showCountPanel();
    m_rowPanel->setText(text::FormatDecimal(m_grid->gridRowOf(cell)));
    showPreview(m_grid->cellText(cell));
    showCurrentReview();
}

void TFormXom::showCurrentCell()
{
    const QModelIndex cell = Table->currentIndex();
    if (cell.isValid())
        m_rowPanel->setText(text::FormatDecimal(m_grid->gridRowOf(cell)));
    else
        m_rowPanel->clear();
    showPreview(m_grid->cellText(cell));
    showCurrentReview();
}

void TFormXom::revealCurrentCell()
{
    const QModelIndex cell = Table->currentIndex();
    if (cell.isValid())
        Table->scrollTo(cell);
    showCurrentCell();
}

void TFormXom::showConcernedRow(const int gridRow)
{
    // In the column the user was in.
    const QModelIndex current = Table->currentIndex();
    const int column = current.isValid() ? current.column() : static_cast<int>(xom::TextColumn);
    const QModelIndex cell = m_grid->indexOfCell(gridRow, column);
    if (cell.isValid() && cell != current)
        Table->selectCell(cell);
    else if (!cell.isValid() && gridRow >= 1 && gridRow <= m_document.entries().entryCount())
        selectGridCell(gridRow, column); // a row the filter hides
    revealCurrentCell();
}

void TFormXom::showConcernedCells(const std::vector<xom::CellChange>& changes)
{
    if (changes.empty())
        return;
    // The current entry stays when the step changed it; otherwise the first
    // cell the step set is shown (its row, for a mark, which is never the
    // current cell).
    const int currentRow = currentGridRow();
    if (std::any_of(changes.begin(), changes.end(),
            [currentRow](const xom::CellChange& change) { return change.gridRow == currentRow; })) {
        revealCurrentCell();
        return;
    }
    const xom::CellChange& first = changes.front();
    if (first.column == xom::MarkColumn) {
        showConcernedRow(first.gridRow);
        return;
    }
    selectGridCell(first.gridRow, first.column);
    revealCurrentCell();
}

void TFormXom::showPreview(const QString& text)
{
    setPaneText(*RichEdit1, m_previewText, text);
}

void TFormXom::followEditButton(const QModelIndex& current)
{
    // Numbers and references are never edited; a mouse release on a Text
    // cell enables Edit again.
    if (!current.isValid() || current.column() == xom::NumberColumn
        || current.column() == EntryGridModel::ReferenceColumn)
        setButtonEnabled(*EditText, *m_actions.edit, false);
}

void TFormXom::fitNumberWidths()
{
    // The usual widths stay while the numbers fit them.
    const qsizetype digits = m_document.entries().longestNumberLength();
    // Once any entry has a state, the number cells show its icon too.
    m_numberIconRoom = m_document.keepsReviews();
    const int iconRoom = m_numberIconRoom ? Table->stateIconRoom() : 0;
    Table->fitNumberColumn(widthOfDigits(Table->fontMetrics(), digits) + iconRoom);
    const int frame = 2 * m_rowPanel->frameWidth() + 2 * m_rowPanel->margin() + 4;
    m_rowPanel->setFixedWidth(std::max(UsualRowPanelWidth, widthOfDigits(m_rowPanel->fontMetrics(), digits) + frame));
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

} // namespace app
