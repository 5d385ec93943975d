#include "database.h"

#include "collation.h"
#include "dberror.h"
#include "dialect.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QHash>
#include <QSqlDriver>
#include <QSqlError>
#include <QSqlRecord>
#include <QtEndian>

#include <sqlite3.h>

namespace Engine {

namespace {

QHash<QString, QString>& folders()
{
    static QHash<QString, QString> map;
    return map;
}

sqlite3* rawHandle(const QSqlDatabase& db)
{
    const QVariant v = db.driver()->handle();
    if (!v.isValid() || qstrcmp(v.typeName(), "sqlite3*") != 0)
        return nullptr;
    return *static_cast<sqlite3* const*>(v.constData());
}

QString quoted(const QString& identifier)
{
    QString s = identifier;
    s.replace(QLatin1Char('"'), QLatin1String("\"\""));
    return QLatin1Char('"') + s + QLatin1Char('"');
}

const char* kPrimarySuffix = "__primary";

QStringList declaredKey(const QString& name, const QString& table)
{
    QSqlQuery q = Database::exec(name, QStringLiteral("PRAGMA table_info(%1)").arg(quoted(table)));
    QMap<int, QString> keys;
    while (q.next())
        if (q.value(5).toInt() > 0)
            keys.insert(q.value(5).toInt(), q.value(1).toString());
    return keys.values();
}

} // namespace

QString Database::fileName() { return QStringLiteral("lerovani.sqlite"); }

QString Database::filePath(const QString& folder) { return QDir(folder).filePath(fileName()); }

QString Database::errorText(const QSqlError& e)
{
    QString t = e.databaseText().isEmpty() ? e.text() : e.databaseText();
    if (t.contains(QLatin1String("database is locked")) || t.contains(QLatin1String("database table is locked")))
        t = QStringLiteral("Az adatbázist egy másik program használja (zárolva), a művelet nem hajtható végre.\n(%1)")
                .arg(t);
    return t;
}

bool Database::checkFile(const QString& path, QString* error)
{
    auto fail = [&](const QString& why) {
        if (error)
            *error = why;
        return false;
    };
    QFile f(path);
    if (!f.open(QIODevice::ReadOnly))
        return fail(QStringLiteral("A fájl nem olvasható: %1").arg(QDir::toNativeSeparators(path)));
    const qint64 size = f.size();
    if (size == 0)
        return fail(QStringLiteral("Az adatbázis fájl üres: %1").arg(QDir::toNativeSeparators(path)));
    const QByteArray head = f.read(100);
    if (head.size() < 100 || !head.startsWith(QByteArray("SQLite format 3\0", 16)))
        return fail(QStringLiteral("A fájl nem Lerovani adatbázis: %1").arg(QDir::toNativeSeparators(path)));
    quint32 pageSize = qFromBigEndian<quint16>(head.constData() + 16);
    if (pageSize == 1)
        pageSize = 65536;
    const quint32 pages = qFromBigEndian<quint32>(head.constData() + 28);
    const quint32 changeCounter = qFromBigEndian<quint32>(head.constData() + 24);
    const quint32 validFor = qFromBigEndian<quint32>(head.constData() + 92);
    if (pageSize < 512 || (pageSize & (pageSize - 1)) != 0 || size % pageSize != 0 ||
        (pages != 0 && validFor == changeCounter && static_cast<qint64>(pages) * pageSize > size))
        return fail(QStringLiteral("Az adatbázis fájl sérült vagy csonka: %1").arg(QDir::toNativeSeparators(path)));
    f.close();

    // A read-only look at the schema catches damage the header does not show.
    const QString probe = QStringLiteral("lerovani_probe_%1").arg(reinterpret_cast<quintptr>(&f));
    bool ok = true;
    QString why;
    {
        QSqlDatabase db = QSqlDatabase::addDatabase(QStringLiteral("QSQLITE"), probe);
        db.setDatabaseName(path);
        db.setConnectOptions(QStringLiteral("QSQLITE_OPEN_READONLY"));
        if (!db.open()) {
            ok = false;
            why = errorText(db.lastError());
        } else if (!registerFunctions(rawHandle(db))) {
            ok = false;
            why = QStringLiteral("A magyar rendezés nem állítható be.");
        } else {
            QSqlQuery q(db);
            if (!q.exec(QStringLiteral("SELECT count(*) FROM sqlite_master")) || !q.next()) {
                ok = false;
                why = errorText(q.lastError());
            } else {
                QSqlQuery check(db);
                if (!check.exec(QStringLiteral("PRAGMA quick_check(1)")) || !check.next() ||
                    check.value(0).toString() != QLatin1String("ok")) {
                    ok = false;
                    why = check.lastError().isValid() ? errorText(check.lastError()) : check.value(0).toString();
                }
            }
        }
        db.close();
    }
    QSqlDatabase::removeDatabase(probe);
    if (!ok)
        return fail(QStringLiteral("Az adatbázis fájl sérült: %1\n%2").arg(QDir::toNativeSeparators(path), why));
    return true;
}

void Database::open(const QString& name, const QString& folder, OpenMode mode)
{
    close(name);
    const QString path = filePath(folder);
    if (!QFileInfo(folder).isDir())
        throw DbError(QStringLiteral("Az adatbázis mappa nem létezik: %1").arg(QDir::toNativeSeparators(folder)));
    if (QFileInfo::exists(path)) {
        QString why;
        if (!checkFile(path, &why))
            throw DbError(why);
    } else if (mode == OpenMode::MustExist) {
        throw DbError(QStringLiteral("Az adatbázis fájl nem található: %1").arg(QDir::toNativeSeparators(path)));
    }
    QSqlDatabase db = QSqlDatabase::addDatabase(QStringLiteral("QSQLITE"), name);
    db.setDatabaseName(path);
    db.setConnectOptions(QStringLiteral("QSQLITE_BUSY_TIMEOUT=5000"));
    if (!db.open()) {
        const QString why = errorText(db.lastError());
        db = QSqlDatabase();
        QSqlDatabase::removeDatabase(name);
        throw DbError(why);
    }
    if (!registerFunctions(rawHandle(db))) {
        db.close();
        db = QSqlDatabase();
        QSqlDatabase::removeDatabase(name);
        throw DbError(QStringLiteral("A magyar rendezés nem állítható be az adatbázis kapcsolaton."));
    }
    folders().insert(name, folder);
    for (const char* pragma : {"PRAGMA journal_mode=DELETE", "PRAGMA synchronous=FULL", "PRAGMA foreign_keys=OFF"}) {
        QSqlQuery q(db);
        if (!q.exec(QString::fromLatin1(pragma))) {
            const QString why = errorText(q.lastError());
            close(name);
            throw DbError(why);
        }
    }
}

void Database::close(const QString& name)
{
    folders().remove(name);
    if (!QSqlDatabase::contains(name))
        return;
    {
        QSqlDatabase db = QSqlDatabase::database(name, false);
        db.close();
    }
    QSqlDatabase::removeDatabase(name);
}

bool Database::isOpen(const QString& name)
{
    return QSqlDatabase::contains(name) && QSqlDatabase::database(name, false).isOpen();
}

QSqlDatabase Database::handle(const QString& name)
{
    if (!isOpen(name))
        throw DbError(QStringLiteral("Az adatbázis kapcsolat (%1) nincs megnyitva.").arg(name));
    return QSqlDatabase::database(name, false);
}

QString Database::folder(const QString& name) { return folders().value(name); }

QSqlQuery Database::exec(const QString& name, const QString& sql, const QVariantMap& params)
{
    QSqlQuery q(handle(name));
    const QString translated = Dialect::translate(sql);
    if (params.isEmpty()) {
        if (!q.exec(translated))
            throw DbError(errorText(q.lastError()));
        return q;
    }
    if (!q.prepare(translated))
        throw DbError(errorText(q.lastError()));
    for (auto it = params.cbegin(); it != params.cend(); ++it)
        q.bindValue(it.key().startsWith(QLatin1Char(':')) ? it.key() : QLatin1Char(':') + it.key(), it.value());
    if (!q.exec())
        throw DbError(errorText(q.lastError()));
    return q;
}

QVariant Database::scalar(const QString& name, const QString& sql, const QVariant& def, const QVariantMap& params)
{
    QSqlQuery q = exec(name, sql, params);
    if (!q.next() || q.value(0).isNull())
        return def;
    return q.value(0);
}

void Database::begin(const QString& name)
{
    QSqlQuery q(handle(name));
    if (!q.exec(QStringLiteral("BEGIN IMMEDIATE")))
        throw DbError(errorText(q.lastError()));
}

void Database::commit(const QString& name)
{
    QSqlQuery q(handle(name));
    if (!q.exec(QStringLiteral("COMMIT"))) {
        const QString why = errorText(q.lastError());
        rollback(name);
        throw DbError(why);
    }
}

void Database::rollback(const QString& name) noexcept
{
    if (!isOpen(name))
        return;
    QSqlQuery q(QSqlDatabase::database(name, false));
    q.exec(QStringLiteral("ROLLBACK"));
}

QStringList Database::tableNames(const QString& name)
{
    QSqlQuery q = exec(name, QStringLiteral("SELECT name FROM sqlite_master WHERE type='table' AND name NOT LIKE "
                                            "'sqlite_%' ORDER BY name"));
    QStringList out;
    while (q.next())
        out.append(q.value(0).toString());
    return out;
}

bool Database::hasTable(const QString& name, const QString& table)
{
    return exec(name, QStringLiteral("SELECT 1 FROM sqlite_master WHERE type='table' AND lower(name)=:t"),
                {{QStringLiteral(":t"), Dialect::tableName(table)}})
        .next();
}

QList<FieldInfo> Database::fields(const QString& name, const QString& table)
{
    const QString t = Dialect::tableName(table);
    QSqlQuery q = exec(name, QStringLiteral("PRAGMA table_info(%1)").arg(quoted(t)));
    sqlite3* db = rawHandle(handle(name));
    QList<FieldInfo> out;
    while (q.next()) {
        FieldInfo f;
        f.name = q.value(1).toString();
        int autoinc = 0;
        if (db) {
            const QByteArray tn = t.toUtf8();
            const QByteArray cn = f.name.toUtf8();
            sqlite3_table_column_metadata(db, nullptr, tn.constData(), cn.constData(), nullptr, nullptr, nullptr,
                                          nullptr, &autoinc);
        }
        f.type = fieldTypeFromDeclaration(q.value(2).toString(), autoinc != 0, &f.size);
        out.append(f);
    }
    if (out.isEmpty())
        throw DbError(QStringLiteral("A(z) %1 tábla nem található.").arg(t));
    return out;
}

QStringList Database::primaryKey(const QString& name, const QString& table)
{
    const QStringList keys = declaredKey(name, Dialect::tableName(table));
    if (keys.isEmpty()) {
        // A key rebuilt after an import lives in a unique index of its own.
        for (const IndexInfo& ix : indexes(name, table))
            if (ix.name.isEmpty())
                return ix.fields;
    }
    return keys;
}

QString Database::sqliteIndexName(const QString& table, const QString& indexName)
{
    return Dialect::tableName(table) + QStringLiteral("__") + indexName.toLower();
}

QList<IndexInfo> Database::indexes(const QString& name, const QString& table)
{
    const QString t = Dialect::tableName(table);
    QSqlQuery q = exec(name, QStringLiteral("PRAGMA index_list(%1)").arg(quoted(t)));
    QList<IndexInfo> out;
    const QString prefix = t + QStringLiteral("__");
    while (q.next()) {
        const QString sqliteName = q.value(1).toString();
        IndexInfo info;
        info.unique = q.value(2).toInt() != 0;
        if (sqliteName.startsWith(QLatin1String("sqlite_autoindex_")) ||
            sqliteName.compare(t + QLatin1String(kPrimarySuffix), Qt::CaseInsensitive) == 0)
            info.name.clear();
        else if (sqliteName.startsWith(prefix, Qt::CaseInsensitive))
            info.name = sqliteName.mid(prefix.size());
        else
            info.name = sqliteName;
        QSqlQuery cols = exec(name, QStringLiteral("PRAGMA index_info(%1)").arg(quoted(sqliteName)));
        while (cols.next())
            info.fields.append(cols.value(2).toString());
        out.append(info);
    }
    return out;
}

void Database::addIndex(const QString& name, const QString& table, const QString& indexName, const QStringList& fields,
                        IndexOptions options)
{
    const QString t = Dialect::tableName(table);
    const QString ixName = options.primary ? t + QLatin1String(kPrimarySuffix) : sqliteIndexName(t, indexName);
    const QList<FieldInfo> tableFields = Database::fields(name, t);
    QStringList cols;
    for (const QString& f : fields) {
        const auto it = std::find_if(tableFields.begin(), tableFields.end(),
                                     [&](const FieldInfo& fi) { return fi.name.compare(f, Qt::CaseInsensitive) == 0; });
        if (it == tableFields.end())
            throw DbError(QStringLiteral("A(z) %1 mező nem található a(z) %2 táblában.").arg(f, t));
        const bool text = it->type == FieldType::String || it->type == FieldType::Memo;
        cols.append(quoted(it->name) + (text && options.caseInsensitive ? QStringLiteral(" COLLATE HU") : QString()));
    }
    if (options.primary) {
        if (declaredKey(name, t).join(QLatin1Char(',')).compare(fields.join(QLatin1Char(',')), Qt::CaseInsensitive) == 0) {
            // The key is part of the table itself; rebuilding its index is all that can be done.
            exec(name, QStringLiteral("REINDEX %1").arg(quoted(t)));
            return;
        }
    }
    exec(name, QStringLiteral("CREATE %1INDEX %2 ON %3 (%4)")
                   .arg(options.primary ? QStringLiteral("UNIQUE ") : QString(), quoted(ixName), quoted(t),
                        cols.join(QStringLiteral(", "))));
}

void Database::dropIndex(const QString& name, const QString& table, const QString& indexName)
{
    exec(name, QStringLiteral("DROP INDEX IF EXISTS %1").arg(quoted(sqliteIndexName(table, indexName))));
}

void Database::dropAllIndexes(const QString& name, const QString& table)
{
    const QString t = Dialect::tableName(table);
    QSqlQuery q = exec(name, QStringLiteral("SELECT name FROM sqlite_master WHERE type='index' AND lower(tbl_name)=:t "
                                            "AND sql IS NOT NULL"),
                       {{QStringLiteral(":t"), t}});
    QStringList names;
    while (q.next())
        names.append(q.value(0).toString());
    for (const QString& n : names)
        exec(name, QStringLiteral("DROP INDEX %1").arg(quoted(n)));
}

} // namespace Engine
