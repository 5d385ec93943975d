#pragma once

#include <QString>
#include <QVariant>

#include <stdexcept>

// A field value that cannot be read as the number the caller asked for.
class ConversionError : public std::runtime_error
{
public:
    explicit ConversionError(const QString& message)
        : std::runtime_error(message.toStdString()), m_message(message)
    {
    }
    QString message() const { return m_message; }

private:
    QString m_message;
};

// A field value is null when it is invalid or holds the null of its type (as QSqlQuery gives it).
bool VarIsNull(const QVariant& v);

QString VarToStrDef(const QVariant& v, const QString& def);
// Numbers are rounded half to even; text must be an integer. Throws ConversionError.
int VarToIntDef(const QVariant& v, int def);
// Dates count days from 1899-12-30 with the time of day as fraction. Text may use a decimal
// point or comma. Throws ConversionError.
double VarToFloatDef(const QVariant& v, double def);
// "0" for null. Throws ConversionError.
QString VarToIntStr(const QVariant& v);
QVariant IfThenVar(bool condition, const QVariant& whenTrue, const QVariant& whenFalse);
