#include "app/GridCellDelegate.h"

#include "dialogs/LineBreaks.h"
#include "xom/EntryTable.h"

namespace app {

namespace {

// No cell is wider than this many characters can fill; laying out a cell's
// whole text on every paint would slow scrolling over long texts.
constexpr qsizetype ShownLength = 1000;

} // namespace

QString GridCellDelegate::displayText(const QVariant& value, const QLocale&) const
{
    const QString text = value.toString();
    return dialogs::withLineBreaksAs(QStringView(text).left(ShownLength), u" ");
}

void GridCellDelegate::initStyleOption(QStyleOptionViewItem* option, const QModelIndex& index) const
{
    QStyledItemDelegate::initStyleOption(option, index);
    if (index.column() == xom::MarkColumn)
        option->backgroundBrush = option->palette.button();
}

} // namespace app
