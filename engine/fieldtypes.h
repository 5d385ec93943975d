#pragma once

#include <QList>
#include <QString>
#include <QVariant>

namespace Engine {

enum class FieldType { Unknown, Integer, AutoInc, String, Memo, Float, Date, Time, DateTime, Boolean, Blob };

struct FieldInfo
{
    QString name;
    FieldType type = FieldType::Unknown;
    int size = 0; // characters for String; 0 otherwise
    bool calculated = false;
};

// Hungarian name of a type, for messages ("egész szám", "szöveg(50)", ...).
QString fieldTypeText(FieldType type, int size = 0);

// Declared SQLite column type for a field type.
QString sqliteDeclaration(FieldType type, int size);

// Classifies a declared column type as SQLite reports it.
FieldType fieldTypeFromDeclaration(const QString& declared, bool autoIncrement, int* size);

// Converts a value to the representation stored in the database; throws DbError when
// the value cannot be held by the type (for example a word in an integer field).
QVariant toStorage(FieldType type, int size, const QVariant& value);

// Converts a stored value back to the program's representation (QDate, bool, QString ...).
QVariant fromStorage(FieldType type, const QVariant& stored);

} // namespace Engine
