#pragma once

#include <QStyledItemDelegate>

namespace app {

// Paints the grid's cells: the mark column in the colour of the header, as
// the fixed column it is, and every text on one line, its line breaks shown
// as spaces (the preview pane shows the lines).
class GridCellDelegate final : public QStyledItemDelegate {
    Q_OBJECT

public:
    using QStyledItemDelegate::QStyledItemDelegate;

    [[nodiscard]] QString displayText(const QVariant& value, const QLocale& locale) const override;

protected:
    void initStyleOption(QStyleOptionViewItem* option, const QModelIndex& index) const override;
};

} // namespace app
