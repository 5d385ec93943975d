#pragma once

#include "fieldtypes.h"

#include <QSqlDatabase>
#include <QSqlQuery>
#include <QStringList>
#include <QVariantMap>

namespace Engine {

struct IndexOptions
{
    bool primary = false;         // unique; stands for the table's key
    bool caseInsensitive = true;  // ordered by the HU collation
};

struct IndexInfo
{
    QString name;        // the catalogue's name ("idx_cim"); empty for the table's own key
    QStringList fields;
    bool unique = false;
};

// Named connections to a database folder. One SQLite file per folder; the folder is what
// the user points at, backs up and shares.
class Database
{
public:
    enum class OpenMode { MustExist, CreateIfMissing };

    static QString fileName();                          // "lerovani.sqlite"
    static QString filePath(const QString& folder);     // folder + "/" + fileName()

    // Checks, without writing anything, that an existing file is an intact SQLite database.
    static bool checkFile(const QString& path, QString* error);

    // Opens (or replaces) the connection called name on the database of folder. Throws DbError.
    static void open(const QString& name, const QString& folder, OpenMode mode = OpenMode::MustExist);
    static void close(const QString& name);
    static bool isOpen(const QString& name);
    static QSqlDatabase handle(const QString& name);
    static QString folder(const QString& name);

    // Runs one statement of the local SQL with named parameters (":name" keys). Throws DbError.
    static QSqlQuery exec(const QString& name, const QString& sql, const QVariantMap& params = {});
    // First column of the first row, or def when there is none or it is null.
    static QVariant scalar(const QString& name, const QString& sql, const QVariant& def = {},
                           const QVariantMap& params = {});

    static void begin(const QString& name);  // write transaction, taken at once
    static void commit(const QString& name);
    static void rollback(const QString& name) noexcept;

    static QStringList tableNames(const QString& name);
    static bool hasTable(const QString& name, const QString& table);
    static QList<FieldInfo> fields(const QString& name, const QString& table);
    static QStringList primaryKey(const QString& name, const QString& table);

    // Indexes are named per table by the catalogue; SQLite's names are global, so they are mapped.
    static QList<IndexInfo> indexes(const QString& name, const QString& table);
    static void addIndex(const QString& name, const QString& table, const QString& indexName,
                         const QStringList& fields, IndexOptions options = {});
    static void dropIndex(const QString& name, const QString& table, const QString& indexName);
    static void dropAllIndexes(const QString& name, const QString& table);
    static QString sqliteIndexName(const QString& table, const QString& indexName);

    static QString errorText(const QSqlError& e);
};

} // namespace Engine
