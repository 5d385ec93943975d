#pragma once

#include "fieldtypes.h"

#include <QList>
#include <QString>
#include <QStringList>

// The catalogue's tables, fields, keys, kinds and indexes, as data the rest of the program uses.
namespace Schema {

struct FieldDef
{
    QString name;
    Engine::FieldType type;
    int size = 0;
    bool caseSensitive = false; // compared byte for byte (file paths), not by the Hungarian order
};

struct IndexDef
{
    QString name;  // "idx_" + field
    QString field;
    // Stored ahead of the field: every view of konyv shows one kind, so its orders lead with tipus
    // and a view reads its rows straight from the index.
    QStringList leading;
    QStringList columns() const { return leading + QStringList{field}; }
};

struct TableDef
{
    QString name;
    QList<FieldDef> fields;
    QStringList primaryKey;
    QList<IndexDef> indexes; // secondary, in creation order
    QString nameField;       // lookup tables: the name field
    bool partitioned = false;
};

struct Kind
{
    int tipus;
    QString viewCaption; // caption of the kind's view
    QString storedName;  // tipus_nev of a new database
};

// Every table, in the order a new database creates them.
const QList<TableDef>& tables();
const TableDef* table(const QString& name); // case-insensitive, ".DB" allowed; nullptr when unknown

// The nine kinds, tipus 1..9.
const QList<Kind>& kinds();

// konyv's fields in the order of a new database.
QList<Engine::FieldInfo> konyvFields();
// What the catalogue binds: every konyv field except ugyfel and torolve.
QList<Engine::FieldInfo> boundKonyvFields();

// The twelve tables whose indexes the maintenance program rebuilds, in its order.
QStringList rebuildOrder();

QString createTableSql(const TableDef& t);

// Makes the folder (with parents) and a new database in it with every table, key, index,
// the kinds and the counter row. Throws Engine::DbError; an existing database is never touched.
void createDatabase(const QString& folder);

// Creates every secondary index of t that is missing.
void createIndexes(const QString& connection, const TableDef& t);

} // namespace Schema
