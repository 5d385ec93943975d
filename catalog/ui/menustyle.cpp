#include "menustyle.h"

#include <QApplication>
#include <QPainter>
#include <QStyleFactory>
#include <QStyleOptionMenuItem>

MenuStyle::MenuStyle() : QProxyStyle(QStyleFactory::create(QStringLiteral("Fusion"))) {}

MenuStyle* MenuStyle::instance()
{
    static MenuStyle* style = [] {
        auto* s = new MenuStyle;
        s->setParent(qApp);
        return s;
    }();
    return style;
}

void DrawMenuItem(QPainter* painter, const QRect& r, const MenuItemLook& item)
{
    painter->save();
    int d = 0;
    if (item.selected && !item.separator) {
        painter->fillRect(r, QColor(222, 170, 141));
        painter->setPen(QColor(128, 128, 128));
        painter->drawRect(r.adjusted(0, 0, -1, -1));
        d = -1;
    } else {
        painter->fillRect(r, QColor(222, 222, 222));
    }
    QString text = item.caption;
    text.remove(QLatin1Char('&'));
    if (item.separator || text == QLatin1String("-")) {
        painter->setPen(QColor(162, 162, 162));
        const int y = r.top() + r.height() / 2;
        painter->drawLine(r.left() + 2, y, r.right() - 2, y);
        painter->restore();
        return;
    }
    painter->setPen(item.enabled ? QColor(Qt::black) : QColor(128, 128, 128));
    const QFontMetrics fm(painter->font());
    const int baseline = r.top() + 4 + fm.ascent();
    painter->drawText(r.left() + 22, baseline, text);
    if (!item.shortcut.isEmpty())
        painter->drawText(r.right() - 4 - fm.horizontalAdvance(item.shortcut), baseline, item.shortcut);
    if (item.checked) {
        painter->setBrush(painter->pen().color());
        painter->drawEllipse(QRect(r.left() + 8, r.top() + 5 + (fm.height() - 8) / 2, 7, 7));
    } else if (!item.icon.isNull()) {
        item.icon.paint(painter, QRect(r.left() + 2 + d, r.top() + 2 + d, 16, 16));
    }
    painter->restore();
}

void MenuStyle::drawControl(ControlElement element, const QStyleOption* option, QPainter* painter,
                            const QWidget* widget) const
{
    if (element == CE_MenuItem) {
        if (const auto* mi = qstyleoption_cast<const QStyleOptionMenuItem*>(option)) {
            MenuItemLook look;
            const int tab = mi->text.indexOf(QLatin1Char('\t'));
            look.caption = tab >= 0 ? mi->text.left(tab) : mi->text;
            look.shortcut = tab >= 0 ? mi->text.mid(tab + 1) : QString();
            look.selected = mi->state & State_Selected;
            look.enabled = mi->state & State_Enabled;
            look.checked = mi->checkType != QStyleOptionMenuItem::NotCheckable && mi->checked;
            look.separator = mi->menuItemType == QStyleOptionMenuItem::Separator;
            look.icon = mi->icon;
            DrawMenuItem(painter, mi->rect, look);
            return;
        }
    }
    if (element == CE_MenuBarItem) {
        if (const auto* mi = qstyleoption_cast<const QStyleOptionMenuItem*>(option)) {
            MenuItemLook look;
            look.caption = mi->text;
            look.selected = mi->state & (State_Selected | State_Sunken);
            look.enabled = mi->state & State_Enabled;
            // Menu bar captions stand centred in their item; the painter places text at a fixed offset.
            painter->save();
            painter->fillRect(mi->rect, look.selected ? QColor(222, 170, 141) : QColor(222, 222, 222));
            if (look.selected) {
                painter->setPen(QColor(128, 128, 128));
                painter->drawRect(mi->rect.adjusted(0, 0, -1, -1));
            }
            painter->setPen(look.enabled ? QColor(Qt::black) : QColor(128, 128, 128));
            QString text = mi->text;
            text.remove(QLatin1Char('&'));
            painter->drawText(mi->rect, Qt::AlignCenter, text);
            painter->restore();
            return;
        }
    }
    QProxyStyle::drawControl(element, option, painter, widget);
}

QSize MenuStyle::sizeFromContents(ContentsType type, const QStyleOption* option, const QSize& size,
                                  const QWidget* widget) const
{
    QSize s = QProxyStyle::sizeFromContents(type, option, size, widget);
    if (type == CT_MenuItem)
        s += QSize(40, 4);
    return s;
}
