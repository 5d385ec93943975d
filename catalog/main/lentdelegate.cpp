#include "lentdelegate.h"

#include "folders.h"
#include "tablemodel.h"

#include <QApplication>
#include <QPainter>
#include <QStyle>

CellColors LentCellColors(const QVariant& polcon, const QVariant& visszakell, bool selected, bool sortColumn,
                          const QDate& today)
{
    CellColors c;
    if (polcon.isValid() && !polcon.isNull() && polcon.toBool())
        return c;
    if (selected) {
        c.text = QColor(255, 255, 0);
        return c;
    }
    if (!sortColumn)
        c.background = QColor(230, 242, 255);
    const QDate due = visszakell.toDate();
    // A missing due date counts as the earliest date, so it is always overdue.
    if (!due.isValid() || today >= due) {
        c.text = QColor(255, 0, 0);
        if (!sortColumn)
            c.background = QColor(255, 236, 236);
    } else {
        c.text = QColor(0, 0, 255);
    }
    return c;
}

CellColors LentRowDelegate::colorsFor(const QModelIndex& index, bool selected) const
{
    const auto* model = qobject_cast<const Engine::TableModel*>(index.model());
    if (!model || !model->table())
        return {};
    const Engine::Table* t = model->table();
    const QVariant polcon = t->valueAt(index.row(), t->fieldIndex(QStringLiteral("polcon")));
    const QVariant due = t->valueAt(index.row(), t->fieldIndex(QStringLiteral("dat_visszakell")));
    return LentCellColors(polcon, due, selected, model->columnColor(index.column()) == SortColumnColor(),
                          QDate::currentDate());
}

void LentRowDelegate::paint(QPainter* painter, const QStyleOptionViewItem& option, const QModelIndex& index) const
{
    const bool selected = option.state & QStyle::State_Selected;
    const CellColors c = colorsFor(index, selected);
    QStyleOptionViewItem opt(option);
    initStyleOption(&opt, index);
    if (c.background.isValid())
        opt.backgroundBrush = c.background;
    if (c.text.isValid()) {
        opt.palette.setColor(QPalette::Text, c.text);
        opt.palette.setColor(QPalette::HighlightedText, c.text);
    }
    const QWidget* w = option.widget;
    QStyle* style = w ? w->style() : QApplication::style();
    style->drawControl(QStyle::CE_ItemViewItem, &opt, painter, w);
}
