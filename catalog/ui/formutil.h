#pragma once

#include <QColor>
#include <QString>

class QHBoxLayout;
class QPushButton;
class QTableView;
class QWidget;

namespace Engine {
class Table;
}

// Light sky blue of the focused entry control.
inline QColor FocusColor() { return QColor(166, 202, 240); }

// The focused entry control (line edit, combo box, text editor, date picker, spin box) is
// painted FocusColor() and gets the normal colour back when the focus leaves.
void InstallFocusHighlight(QWidget* control);
void InstallFocusHighlightAll(QWidget* form); // every entry control below form

// Enter moves the focus to the next tab stop (wrapping); in a multi-line editor Enter starts a
// new line; on a focused button Enter presses it.
void InstallEnterNavigation(QWidget* form);

// Right arrow at the end of the text (or with all of it selected) moves to the next tab stop,
// Left arrow at the start moves to the previous one; the key itself is not swallowed.
void InstallArrowNavigation(QWidget* control);

// Columns whose field is field get SortColumnColor(), the others the normal background.
void HighlightSortColumn(QTableView* grid, const QString& field);

// "120: 7": record count and the current record's position.
QString RecordPosText(const Engine::Table& table);

// First column of the first row of sql on the catalogue connection, or def when null or absent.
int QueryInt(const QString& sql, int def);
void SetQueryIntConnection(const QString& connectionName);

// Owner-drawn menus: every QMenu and QMenuBar below window gets the catalogue's menu look.
void SetupMenuDrawing(QWidget* window);

// Asks the desktop to open a file, a web or mail address, or to start a program (working folder
// ExeDir()), without waiting. What happens next is the desktop's to report.
void ShellOpen(const QString& target);

// "OK" and "Mégsem" at the right of a row; neither is a default button, so Enter stays with
// the focused control.
QHBoxLayout* MakeOkCancelRow(QWidget* parent, QPushButton*& ok, QPushButton*& cancel,
                             const QString& okName = QStringLiteral("btnOK"),
                             const QString& cancelName = QStringLiteral("btnMegsem"));
