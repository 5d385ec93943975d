#pragma once

#include <QByteArray>
#include <QChar>
#include <QString>
#include <QVariant>

// The n-th field (1-based) of text split at every character of separators; empty when there are
// fewer fields. Two separators in a row enclose an empty field.
QString NthField(const QString& separators, const QString& text, int n);
// Empty for null.
QString ReplaceChar(const QVariant& value, QChar from, QChar to);
// Backslash doubled, CR written as backslash + "n", LF dropped; empty for null.
QString EscapeText(const QVariant& value);
QString StripChars(const QString& chars, const QString& text);
int CountChar(QChar c, const QString& text);
// Lower-case ASCII name: the punctuation that troubles file systems and shells becomes "-",
// every non-ASCII character "_".
QString ToFileName(const QString& text);

// Bytes for a device that speaks code page 852 (the label printer): control characters become
// spaces; a character code page 852 lacks becomes its nearest ASCII form or "?".
QByteArray ToCodePage852(const QString& text);

// Windows-1250, the single-byte code of the exported files and of the old Paradox tables. The five
// bytes the code page leaves undefined stand for U+0081, U+0083, U+0088, U+0090 and U+0098, so every
// byte string survives a round trip; a character outside the code page becomes "?".
QByteArray ToCodePage1250(const QString& text);
QString FromCodePage1250(const QByteArray& bytes);
