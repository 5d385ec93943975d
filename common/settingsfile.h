#pragma once

#include <QString>

// Keys of the settings file IniFileName(), as "section/key". Integers are decimal; booleans are
// written as "1" and "0" and read as true for any integer other than 0. A value that is not an
// integer reads as the default.
int IniReadInt(const QString& section, const QString& key, int def);
bool IniReadBool(const QString& section, const QString& key, bool def);
QString IniReadString(const QString& section, const QString& key, const QString& def);

// False when the value could not be stored: the settings folder does not exist (it is not
// created here), the file cannot be written, or it is not a settings file (it is left untouched).
// The caller tells the user, for example with IniWriteErrorText().
bool IniWriteInt(const QString& section, const QString& key, int value);
bool IniWriteBool(const QString& section, const QString& key, bool value);
bool IniWriteString(const QString& section, const QString& key, const QString& value);

QString IniWriteErrorText(); // "A beállítások nem menthetők: <file>"
