#include "formpos.h"

#include "folders.h"
#include "settingsfile.h"

#include <QFont>
#include <QWidget>

QPoint LoadFormPos(const QString& section)
{
    return QPoint(IniReadInt(section, QStringLiteral("Left"), 10),
                  IniReadInt(section, QStringLiteral("Top"), 10));
}

QRect LoadFormBounds(const QString& section, int left, int top, int width, int height)
{
    left = IniReadInt(section, QStringLiteral("Left"), left);
    top = IniReadInt(section, QStringLiteral("Top"), top);
    width = IniReadInt(section, QStringLiteral("Width"), width);
    height = IniReadInt(section, QStringLiteral("Height"), height);

    // R and B are the coordinates just past the work area (x + width), not QRect::right(), which
    // is one less: a window exactly as wide as the area, placed at its left, fits.
    const QRect area = WorkArea();
    const int r = area.x() + area.width();
    const int b = area.y() + area.height();
    if (left > r) left = 0;
    if (top > b) top = 0;
    if (left + width > r) {
        if (width < r) {
            left = r - width;
        } else {
            left = 0;
            width = r;
        }
    }
    if (top + height > b) {
        if (height < b) {
            top = b - height;
        } else {
            top = 0;
            height = b;
        }
    }
    return QRect(left, top, width, height);
}

bool SaveFormPos(const QString& section, int left, int top)
{
    bool ok = IniWriteInt(section, QStringLiteral("Left"), left);
    ok = IniWriteInt(section, QStringLiteral("Top"), top) && ok;
    return ok;
}

bool SaveFormBounds(const QString& section, int left, int top, int width, int height)
{
    bool ok = SaveFormPos(section, left, top);
    ok = IniWriteInt(section, QStringLiteral("Width"), width) && ok;
    ok = IniWriteInt(section, QStringLiteral("Height"), height) && ok;
    return ok;
}

void RestoreFormPos(QWidget* w)
{
    if (!w || w->objectName().isEmpty()) return;
    w->move(LoadFormPos(w->objectName()));
}

bool StoreFormPos(QWidget* w)
{
    if (!w || w->objectName().isEmpty()) return false;
    return SaveFormPos(w->objectName(), w->x(), w->y());
}

void RestoreFormBounds(QWidget* w)
{
    if (!w || w->objectName().isEmpty()) return;
    const QRect r = LoadFormBounds(w->objectName(), 10, 10, w->width(), w->height());
    w->move(r.topLeft());
    w->resize(r.size());
}

bool StoreFormBounds(QWidget* w)
{
    if (!w || w->objectName().isEmpty()) return false;
    return SaveFormBounds(w->objectName(), w->x(), w->y(), w->width(), w->height());
}

void ApplyFontSize(QWidget* w, int pointSize)
{
    // A size of 0 or less cannot be set on a font; the window keeps the one it has.
    if (!w || pointSize <= 0) return;
    QFont f = w->font();
    f.setPointSize(pointSize);
    w->setFont(f);
}
