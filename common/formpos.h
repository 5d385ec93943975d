#pragma once

#include <QPoint>
#include <QRect>
#include <QString>

class QWidget;

// Window positions in the settings file, one section per window (its component name), keys
// Left, Top and, for resizable windows, Width and Height.

// Left and top, each 10 when missing; not clamped.
QPoint LoadFormPos(const QString& section);
// Left and top default to the values given (windows pass 10, 10), width and height to the window's
// own size; the result is pulled back into WorkArea().
QRect LoadFormBounds(const QString& section, int left, int top, int width, int height);
// False when the settings file cannot be written.
bool SaveFormPos(const QString& section, int left, int top);
bool SaveFormBounds(const QString& section, int left, int top, int width, int height);

// The same with the widget's objectName() as the section. Restore moves (and resizes) the window;
// RestoreFormBounds takes the widget's current size as its design size.
void RestoreFormPos(QWidget* w);
bool StoreFormPos(QWidget* w);
void RestoreFormBounds(QWidget* w);
bool StoreFormBounds(QWidget* w);

// The font of the widget, and so of every child that does not set its own, gets this point size.
void ApplyFontSize(QWidget* w, int pointSize);
