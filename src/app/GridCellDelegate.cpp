#include "app/GridCellDelegate.h"

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
    const QStringView start = QStringView(text).left(ShownLength);
    QString shown;
    shown.reserve(start.size());
    for (qsizetype i = 0; i < start.size(); ++i) {
        switch (start[i].unicode()) {
        case u'\r':
            if (i + 1 < start.size() && start[i + 1] == u'\n')
                ++i;
            shown += u' ';
            break;
        case u'\n':
        case u'\u2028':
        case u'\u2029':
            shown += u' ';
            break;
        default:
            shown += start[i];
        }
    }
    return shown;
}

void GridCellDelegate::initStyleOption(QStyleOptionViewItem* option, const QModelIndex& index) const
{
    QStyledItemDelegate::initStyleOption(option, index);
    if (index.column() == xom::MarkColumn)
        option->backgroundBrush = option->palette.button();
}

} // namespace app
