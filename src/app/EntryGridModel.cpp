#include "app/EntryGridModel.h"

#include "xom/EntryOperations.h"

namespace app {

EntryGridModel::EntryGridModel(QObject* parent)
    : QAbstractTableModel(parent)
{
    m_table.rows.resize(1);
}

EntryGridModel::~EntryGridModel() = default;

int EntryGridModel::rowCount(const QModelIndex& parent) const
{
    return parent.isValid() ? 0 : m_table.entryCount();
}

int EntryGridModel::columnCount(const QModelIndex& parent) const
{
    if (parent.isValid())
        return 0;
    return m_review ? xom::ColumnCount + 1 : xom::ColumnCount;
}

QVariant EntryGridModel::data(const QModelIndex& index, const int role) const
{
    // The view asks for a dozen roles per painted cell; all but one are
    // answered at once.
    if (!index.isValid())
        return {};
    if (role == Qt::ToolTipRole && m_review && index.column() == xom::MarkColumn)
        return xom::checkNames(m_review->checksOfRow(index.row())).join(QStringLiteral(", "));
    if (role != Qt::DisplayRole)
        return {};
    return cellText(index);
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

QModelIndex EntryGridModel::indexOfCell(const int gridRow, const int column) const
{
    return index(gridRow - 1, column);
}

QString EntryGridModel::cellText(const QModelIndex& index) const
{
    if (!checkIndex(index, CheckIndexOption::IndexIsValid))
        return {};
    if (index.column() == ReferenceColumn) {
        const QString* const reference = m_review->referenceTextOfRow(index.row());
        return reference ? *reference : QString();
    }
    return m_table.rows[static_cast<std::size_t>(index.row())].cell(index.column());
}

void EntryGridModel::replaceTable(xom::EntryTable table)
{
    beginResetModel();
    m_table = std::move(table);
    if (m_review)
        m_review->recheckAll(m_table);
    endResetModel();
    if (m_review)
        emit reviewChanged();
}

void EntryGridModel::reorderRows(const std::function<void(xom::EntryTable&)>& reordering)
{
    [[maybe_unused]] const int rowsBefore = m_table.entryCount();
    emit layoutAboutToBeChanged({}, VerticalSortHint);
    try {
        reordering(m_table);
    } catch (...) {
        // Rows may have moved before the failure.
        if (m_review)
            m_review->recheckAll(m_table);
        emit layoutChanged({}, VerticalSortHint);
        throw;
    }
    Q_ASSERT(m_table.entryCount() == rowsBefore);
    // The checks move with their rows; the totals stay as they were.
    if (m_review)
        m_review->recheckAll(m_table);
    emit layoutChanged({}, VerticalSortHint);
    if (m_review)
        emit reviewChanged();
}

void EntryGridModel::setCellText(const QModelIndex& index, const QString& text)
{
    // The reference is never edited.
    if (!checkIndex(index, CheckIndexOption::IndexIsValid) || index.column() == ReferenceColumn)
        return;
    m_table.rows[static_cast<std::size_t>(index.row())].cell(index.column()) = text;
    emit dataChanged(index, index, {Qt::DisplayRole});
    if (index.column() == xom::NameColumn || index.column() == xom::TextColumn)
        recheckRow(index.row());
}

void EntryGridModel::toggleMark(const int gridRow)
{
    const QModelIndex markCell = indexOfCell(gridRow, xom::MarkColumn);
    if (!markCell.isValid())
        return;
    xom::toggleMark(m_table, gridRow);
    emit dataChanged(markCell, markCell, {Qt::DisplayRole});
}

int EntryGridModel::addEntry(xom::LanguageModel& model, const QString& name, const QString& text)
{
    const int newRow = m_table.entryCount();
    beginInsertRows({}, newRow, newRow);
    const int number = xom::addEntry(m_table, model, name, text);
    if (m_review)
        m_review->recheckRow(m_table, newRow);
    endInsertRows();
    if (m_review)
        emit reviewChanged();
    return number;
}

void EntryGridModel::setReference(xom::EntryTable reference)
{
    auto review = std::make_unique<xom::TranslationReview>(std::move(reference));
    review->recheckAll(m_table);
    if (m_review) {
        m_review = std::move(review);
        emit dataChanged(index(0, 0), index(rowCount() - 1, ReferenceColumn), {Qt::DisplayRole, Qt::ToolTipRole});
    } else {
        beginInsertColumns({}, ReferenceColumn, ReferenceColumn);
        m_review = std::move(review);
        endInsertColumns();
    }
    emit reviewChanged();
}

void EntryGridModel::clearReference()
{
    if (!m_review)
        return;
    beginRemoveColumns({}, ReferenceColumn, ReferenceColumn);
    m_review.reset();
    endRemoveColumns();
    emit reviewChanged();
}

void EntryGridModel::recheckRow(const int row)
{
    if (!m_review)
        return;
    m_review->recheckRow(m_table, row);
    const QModelIndex markCell = index(row, xom::MarkColumn);
    emit dataChanged(markCell, markCell, {Qt::ToolTipRole});
    emit reviewChanged();
}

} // namespace app
