#include "app/EntryGridModel.h"

#include "checks/DocumentChecks.h"

#include "app/StateIcons.h"

#include <QColor>

#include "document/Document.h"

#include <algorithm>

namespace app {

namespace {

int columnsOf(const document::Document& document)
{
    return document.review() ? xom::ColumnCount + 1 : xom::ColumnCount;
}

} // namespace

EntryGridModel::EntryGridModel(const document::Document& document, QObject* parent)
    : QAbstractTableModel(parent)
    , m_document(document)
    , m_rowCount(document.entries().entryCount())
    , m_columnCount(columnsOf(document))
    , m_documentRows(m_rowCount)
{
    connect(&document, &document::Document::aboutToReset, this, &EntryGridModel::beginResetModel);
    connect(&document, &document::Document::reset, this, [this] {
        refilter();
        m_columnCount = columnsOf(m_document);
        endResetModel();
    });
    connect(&document, &document::Document::aboutToReorder, this,
        [this] { emit layoutAboutToBeChanged({}, VerticalSortHint); });
    connect(&document, &document::Document::reordered, this, &EntryGridModel::followReorder);
    connect(
        &document, &document::Document::reorderAbandoned, this, [this] { emit layoutChanged({}, VerticalSortHint); });
    connect(&document, &document::Document::rowCountChanged, this, &EntryGridModel::followRowCount);
    connect(&document, &document::Document::cellsChanged, this, &EntryGridModel::followCells);
    connect(&document, &document::Document::referenceChanged, this, &EntryGridModel::followReference);
    connect(&document, &document::Document::reviewsChanged, this,
        [this](const std::vector<document::ReviewChange>& changes) {
            for (const document::ReviewChange& change : changes) {
                const QModelIndex number = indexOfCell(change.gridRow, xom::NumberColumn);
                if (number.isValid())
                    emit dataChanged(number, number, {Qt::BackgroundRole, Qt::ToolTipRole, Qt::DecorationRole});
            }
        });
}

int EntryGridModel::rowCount(const QModelIndex& parent) const
{
    return parent.isValid() ? 0 : m_rowCount;
}

int EntryGridModel::columnCount(const QModelIndex& parent) const
{
    return parent.isValid() ? 0 : m_columnCount;
}

QVariant EntryGridModel::data(const QModelIndex& index, const int role) const
{
    // The view asks for a dozen roles per painted cell; all but one are
    // answered at once.
    if (!index.isValid())
        return {};
    const xom::TranslationReview* const review = m_document.review();
    if (role == Qt::ToolTipRole && review && index.column() == xom::MarkColumn
        && gridRowOf(index) <= review->rowCount())
        return checks::describe(checks::findingsOfRow(m_document, gridRowOf(index) - 1, m_checkContext))
            .join(QStringLiteral(", "));
    if (index.column() == xom::NumberColumn
        && (role == Qt::BackgroundRole || role == Qt::ToolTipRole || role == Qt::DecorationRole)) {
        const int gridRow = gridRowOf(index);
        return reviewShown(m_document.entryReview(gridRow).state, m_document.sourceChanged(gridRow), role);
    }
    if (role != Qt::DisplayRole)
        return {};
    return cellText(index);
}

QVariant EntryGridModel::reviewShown(const review::State state, const bool sourceChanged, const int role)
{
    // A changed source asks for review whatever the state: the colour of
    // needs review, and both named.
    if (sourceChanged) {
        const QVariant stateName = reviewShown(state, false, Qt::ToolTipRole);
        if (role == Qt::BackgroundRole || role == Qt::DecorationRole)
            return reviewShown(review::State::NeedsReview, false, role);
        return stateName.isValid() ? stateName.toString() + QStringLiteral("; source changed")
                                   : QStringLiteral("Source changed");
    }
    // The number cell's colour tells the state, and its tooltip names it;
    // an entry without a state keeps the grid's own colour.
    struct Shown {
        review::State state;
        QColor colour;
        const char* name;
    };
    static const Shown shown[] = {
        {review::State::NeedsReview, QColor(0xFF, 0xD8, 0x80), "Needs review"},
        {review::State::Translated, QColor(0xCF, 0xE4, 0xFF), "Translated"},
        {review::State::Approved, QColor(0xBF, 0xEB, 0xC4), "Approved"},
    };
    if (role == Qt::DecorationRole) {
        const QIcon icon = stateIcon(state);
        return icon.isNull() ? QVariant() : QVariant(icon);
    }
    for (const Shown& entry : shown) {
        if (entry.state == state)
            return role == Qt::BackgroundRole ? QVariant(entry.colour) : QVariant(QString::fromLatin1(entry.name));
    }
    return {};
}

QVariant EntryGridModel::headerData(const int section, const Qt::Orientation orientation, const int role) const
{
    if (orientation != Qt::Horizontal || section < 0 || section >= columnCount())
        return {};
    if (role == Qt::DisplayRole) {
        if (section == ReferenceColumn)
            return QStringLiteral("Reference");
        return xom::EntryTable::headerTexts()[static_cast<std::size_t>(section)];
    }
    if (role == Qt::TextAlignmentRole)
        return QVariant::fromValue(Qt::Alignment(Qt::AlignLeft | Qt::AlignVCenter));
    return {};
}

Qt::ItemFlags EntryGridModel::flags(const QModelIndex& index) const
{
    if (!index.isValid())
        return Qt::NoItemFlags;
    if (index.column() == xom::MarkColumn)
        return Qt::ItemIsEnabled | Qt::ItemNeverHasChildren;
    return Qt::ItemIsEnabled | Qt::ItemIsSelectable | Qt::ItemNeverHasChildren;
}

void EntryGridModel::setFilter(const document::RowFilter filter)
{
    beginResetModel();
    m_filter = filter;
    refilter();
    endResetModel();
}

void EntryGridModel::refilter()
{
    m_documentRows = m_document.entries().entryCount();
    if (filtered()) {
        m_shownRows = document::rowsPassing(m_document, m_filter);
        m_rowCount = static_cast<int>(m_shownRows.size());
    } else {
        m_shownRows = {};
        m_rowCount = m_documentRows;
    }
}

int EntryGridModel::gridRowOf(const QModelIndex& index) const noexcept
{
    if (!filtered())
        return index.row() + 1;
    const auto row = static_cast<std::size_t>(index.row());
    return index.row() >= 0 && row < m_shownRows.size() ? m_shownRows[row] : 0;
}

int EntryGridModel::modelRowOf(const int gridRow) const noexcept
{
    if (!filtered())
        return gridRow - 1;
    const auto found = std::lower_bound(m_shownRows.begin(), m_shownRows.end(), gridRow);
    return found != m_shownRows.end() && *found == gridRow ? static_cast<int>(found - m_shownRows.begin()) : -1;
}

QModelIndex EntryGridModel::indexOfCell(const int gridRow, const int column) const
{
    const int row = modelRowOf(gridRow);
    return row < 0 ? QModelIndex() : index(row, column);
}

QString EntryGridModel::cellText(const QModelIndex& index) const
{
    // No current cell is asked about too: an invalid index has no text.
    if (!index.isValid() || !checkIndex(index, CheckIndexOption::IndexIsValid))
        return {};
    // Rows the document has already taken away, while the views are told.
    const int row = gridRowOf(index) - 1;
    if (row < 0 || row >= m_document.entries().entryCount())
        return {};
    if (index.column() == ReferenceColumn) {
        const xom::TranslationReview* const review = m_document.review();
        const std::optional<QStringView> reference = review ? review->referenceTextOfRow(row) : std::nullopt;
        return reference ? reference->toString() : QString();
    }
    return m_document.entries().cell(row, index.column());
}

void EntryGridModel::followReorder(const xom::RowOrder& order, const bool reverting)
{
    // Applying, the row from order[i] lands on i; reverting, the row at i
    // goes back to order[i].
    const QModelIndexList before = persistentIndexList();
    // The inverse costs a pass over a million rows: made only when a
    // persistent index or the filtered rows need it.
    std::vector<std::int32_t> newPlace;
    if (!reverting && (!before.isEmpty() || filtered())) {
        newPlace.resize(order.size());
        for (std::size_t i = 0; i < order.size(); ++i)
            newPlace[static_cast<std::size_t>(order[i])] = static_cast<std::int32_t>(i);
    }
    const auto landing = [&](const int gridRow) {
        const auto row = static_cast<std::size_t>(gridRow - 1);
        if (gridRow < 1 || row >= order.size())
            return gridRow;
        return 1 + (reverting ? order[row] : newPlace[row]);
    };
    std::vector<int> landed;
    landed.reserve(static_cast<std::size_t>(before.size()));
    for (const QModelIndex& index : before)
        landed.push_back(landing(gridRowOf(index)));
    // The filtered rows are the same entries in their new places, so the
    // row count stays as a layout change needs it.
    if (filtered()) {
        for (int& gridRow : m_shownRows)
            gridRow = landing(gridRow);
        std::sort(m_shownRows.begin(), m_shownRows.end());
    }
    QModelIndexList after;
    after.reserve(before.size());
    for (qsizetype i = 0; i < before.size(); ++i)
        after.append(indexOfCell(landed[static_cast<std::size_t>(i)], before[i].column()));
    changePersistentIndexList(before, after);
    emit layoutChanged({}, VerticalSortHint);
}

void EntryGridModel::followRowCount()
{
    // Rows come and go at the end of the grid, which is the end of the
    // filtered rows too: entries added show whatever the filter.
    const int documentRows = m_document.entries().entryCount();
    int rows = documentRows;
    if (filtered()) {
        while (!m_shownRows.empty() && m_shownRows.back() > documentRows)
            m_shownRows.pop_back();
        for (int gridRow = m_documentRows + 1; gridRow <= documentRows; ++gridRow)
            m_shownRows.push_back(gridRow);
        rows = static_cast<int>(m_shownRows.size());
    }
    m_documentRows = documentRows;
    if (rows > m_rowCount) {
        beginInsertRows({}, m_rowCount, rows - 1);
        m_rowCount = rows;
        endInsertRows();
    } else if (rows < m_rowCount) {
        beginRemoveRows({}, rows, m_rowCount - 1);
        m_rowCount = rows;
        endRemoveRows();
    }
}

void EntryGridModel::followCells(const std::vector<xom::CellChange>& changes)
{
    // One signal for the whole batch: a replace over a million rows must
    // not become a million repaints.
    int top = rowCount();
    int bottom = -1;
    int left = xom::ColumnCount;
    int right = -1;
    bool namesOrTexts = false;
    for (const xom::CellChange& change : changes) {
        const QModelIndex cell = indexOfCell(change.gridRow, change.column);
        if (!cell.isValid())
            continue;
        top = std::min(top, cell.row());
        bottom = std::max(bottom, cell.row());
        left = std::min(left, cell.column());
        right = std::max(right, cell.column());
        namesOrTexts = namesOrTexts || change.column == xom::NameColumn || change.column == xom::TextColumn;
    }
    if (bottom < 0)
        return;
    emit dataChanged(index(top, left), index(bottom, right), {Qt::DisplayRole});
    if (m_document.review() && namesOrTexts) {
        // The checks of the entries changed, and a renamed entry may have
        // found another reference.
        emit dataChanged(index(top, xom::MarkColumn), index(bottom, xom::MarkColumn), {Qt::ToolTipRole});
        emit dataChanged(index(top, ReferenceColumn), index(bottom, ReferenceColumn), {Qt::DisplayRole});
    }
}

void EntryGridModel::followReference()
{
    // A new reference decides anew which entries pass the filter.
    if (filtered()) {
        beginResetModel();
        refilter();
        m_columnCount = columnsOf(m_document);
        endResetModel();
        return;
    }
    const int columns = columnsOf(m_document);
    if (columns > m_columnCount) {
        beginInsertColumns({}, ReferenceColumn, ReferenceColumn);
        m_columnCount = columns;
        endInsertColumns();
    } else if (columns < m_columnCount) {
        beginRemoveColumns({}, ReferenceColumn, ReferenceColumn);
        m_columnCount = columns;
        endRemoveColumns();
    } else if (m_rowCount > 0) {
        emit dataChanged(index(0, 0), index(m_rowCount - 1, columns - 1), {Qt::DisplayRole, Qt::ToolTipRole});
    }
}

} // namespace app
