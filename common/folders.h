#pragma once

#include <QColor>
#include <QRect>
#include <QString>

// Paths inside the programs use "/"; QDir::toNativeSeparators only when one is shown.

// Folder of the running program, without a trailing separator. Kept in its own case: lower-casing
// breaks paths on a case-sensitive file system.
QString ProgramFolder();
// The writable all-users data folder (empty when the system cannot tell).
QString CommonAppDataFolder();
QString DocumentsFolder();

// Fixed at first use: ExeDir = ProgramFolder(); HomeDir = ExeDir when ExeDir/Lerovani.ini exists,
// else CommonAppDataFolder()/Lerovani (neither created nor tested); IniFileName = HomeDir/Lerovani.ini.
QString ExeDir();
QString HomeDir();
QString IniFileName();

QColor SortColumnColor();
// Available geometry of the primary screen, read at first use; 0,0,1280,1024 without a screen.
QRect WorkArea();

// Tests: forget the values so the next use forms them again; a program folder to use instead of
// the real one (empty = the real one); a work area to use instead of the screen's (null = the screen's).
void ResetFolders();
void SetExeDirForTests(const QString& dir);
void SetWorkAreaForTests(const QRect& rect);
