#pragma once

#include <QColor>
#include <QDate>
#include <QStyledItemDelegate>

// Colours of one cell of a catalogue grid: lent items stand out, overdue ones in red.
struct CellColors
{
    QColor text;       // invalid: the grid's normal colour
    QColor background; // invalid: the grid's normal (or the column's own) background
};

CellColors LentCellColors(const QVariant& polcon, const QVariant& visszakell, bool selected, bool sortColumn,
                          const QDate& today);

class LentRowDelegate : public QStyledItemDelegate
{
    Q_OBJECT

public:
    using QStyledItemDelegate::QStyledItemDelegate;
    void paint(QPainter* painter, const QStyleOptionViewItem& option, const QModelIndex& index) const override;
    CellColors colorsFor(const QModelIndex& index, bool selected) const;
};
