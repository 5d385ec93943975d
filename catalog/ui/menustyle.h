#pragma once

#include <QProxyStyle>

// The catalogue's own menu look: light grey items, a brown hot item with a grey frame,
// a round bullet for checked items, items 40 pixels wider and 4 higher than usual.
class MenuStyle : public QProxyStyle
{
    Q_OBJECT

public:
    MenuStyle();
    void drawControl(ControlElement element, const QStyleOption* option, QPainter* painter,
                     const QWidget* widget) const override;
    QSize sizeFromContents(ContentsType type, const QStyleOption* option, const QSize& size,
                           const QWidget* widget) const override;

    static MenuStyle* instance();
};

struct MenuItemLook
{
    QString caption;
    QString shortcut;
    bool selected = false;
    bool enabled = true;
    bool checked = false;
    bool separator = false;
    QIcon icon;
};

// Paints one menu item into r.
void DrawMenuItem(QPainter* painter, const QRect& r, const MenuItemLook& item);
