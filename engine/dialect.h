#pragma once

#include <QString>
#include <QStringList>

namespace Engine {

// The local SQL that the programs and the user write (table names with ".DB",
// AUTOINC/INT/CHAR(n)/DATE/FLOAT/BLOB/MEMO columns, a separate PRIMARY KEY clause)
// is turned into SQLite here, and only here.
namespace Dialect {

QString translate(const QString& sql);

// Splits a script at semicolons that stand outside quotes and comments; empty statements are dropped.
QStringList splitStatements(const QString& script);

// "Konyv.DB" -> "konyv"; names are case-insensitive, kept as lower case.
QString tableName(const QString& name);

} // namespace Dialect
} // namespace Engine
