#pragma once

#include <QPixmap>
#include <QString>

// The picture at the top left of an item editor.

// The kind's icon from the desktop theme, or a small drawing of our own when the theme has none.
QPixmap KindPixmap(int kind, int size);

// The item's first attached file (in path order) that is a readable image, scaled to fit size;
// a null pixmap when there is none.
QPixmap AttachedPicture(const QString& connection, int az, int size);
