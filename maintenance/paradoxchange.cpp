#include "paradoxchange.h"

#include "database.h"
#include "dberror.h"
#include "dialect.h"

#include <QRegularExpression>
#include <QSqlError>
#include <QSqlQuery>

using Engine::Database;
using Engine::DbError;
using Engine::FieldInfo;
using Engine::FieldType;

namespace {

QString quoted(const QString& identifier)
{
    QString s = identifier;
    s.replace(QLatin1Char('"'), QLatin1String("\"\""));
    return QLatin1Char('"') + s + QLatin1Char('"');
}

// The statements of the rebuild are SQLite's own and must not pass the local dialect.
QSqlQuery run(const QString& connection, const QString& sql, const QVariantMap& params = {})
{
    QSqlQuery q(Database::handle(connection));
    if (!q.prepare(sql)) throw DbError(Database::errorText(q.lastError()));
    for (auto it = params.cbegin(); it != params.cend(); ++it)
        q.bindValue(it.key(), it.value());
    if (!q.exec()) throw DbError(Database::errorText(q.lastError()));
    return q;
}

qint64 count(const QString& connection, const QString& sql)
{
    QSqlQuery q = run(connection, sql);
    return q.next() ? q.value(0).toLongLong() : 0;
}

// The column and constraint items of a CREATE TABLE statement, split at the commas that
// stand outside brackets and quotes.
struct CreateParts
{
    QString tail; // after the closing bracket: WITHOUT ROWID, STRICT
    QStringList items;
};

bool splitCreate(const QString& sql, CreateParts* parts)
{
    int depth = 0;
    QChar quote;
    qsizetype itemStart = -1;
    for (qsizetype i = 0; i < sql.size(); ++i) {
        const QChar c = sql[i];
        if (!quote.isNull()) {
            if (c == quote) {
                if (quote != u']' && i + 1 < sql.size() && sql[i + 1] == quote)
                    ++i;
                else
                    quote = QChar();
            }
            continue;
        }
        if (c == u'\'' || c == u'"' || c == u'`') {
            quote = c;
        } else if (c == u'[') {
            quote = QChar(u']');
        } else if (c == u'(') {
            if (++depth == 1) itemStart = i + 1;
        } else if (c == u')') {
            if (--depth == 0) {
                parts->items.append(sql.mid(itemStart, i - itemStart).trimmed());
                parts->tail = sql.mid(i + 1).trimmed();
                return true;
            }
        } else if (c == u',' && depth == 1) {
            parts->items.append(sql.mid(itemStart, i - itemStart).trimmed());
            itemStart = i + 1;
        }
    }
    return false;
}

// Name at the start of a column definition, and where the rest begins.
QString leadingName(const QString& item, qsizetype* restStart)
{
    if (item.isEmpty()) return QString();
    const QChar first = item[0];
    if (first == u'"' || first == u'`' || first == u'[') {
        const QChar close = first == u'[' ? QChar(u']') : first;
        QString name;
        qsizetype i = 1;
        for (; i < item.size(); ++i) {
            if (item[i] == close) {
                if (close != u']' && i + 1 < item.size() && item[i + 1] == close) {
                    name += close;
                    ++i;
                    continue;
                }
                ++i;
                break;
            }
            name += item[i];
        }
        *restStart = i;
        return name;
    }
    qsizetype i = 0;
    while (i < item.size() && !item[i].isSpace() && item[i] != u'(')
        ++i;
    *restStart = i;
    return item.left(i);
}

bool isTableConstraint(const QString& item)
{
    static const QRegularExpression re(QStringLiteral("^(CONSTRAINT|PRIMARY|UNIQUE|CHECK|FOREIGN)\\b"),
                                       QRegularExpression::CaseInsensitiveOption);
    return re.match(item).hasMatch();
}

bool isTextType(FieldType t)
{
    return t == FieldType::String || t == FieldType::Memo;
}

// What the copied value becomes on its way into the new column.
QString convertExpression(const QString& column, FieldType from, FieldType to, int size)
{
    const QString c = quoted(column);
    switch (to) {
    case FieldType::String:
        return QStringLiteral("substr(CAST(%1 AS TEXT), 1, %2)").arg(c).arg(size);
    case FieldType::Memo:
        return QStringLiteral("CAST(%1 AS TEXT)").arg(c);
    case FieldType::Integer:
    case FieldType::AutoInc:
    case FieldType::Float:
        // An empty text is no number, but no value either.
        return isTextType(from) ? QStringLiteral("CASE WHEN trim(%1) = '' THEN NULL ELSE %1 END").arg(c) : c;
    default:
        return c;
    }
}

// Rows the new column could not take as its type; SQLite would keep them as they were.
QString invalidRowsCondition(const QString& column, FieldType to)
{
    const QString c = quoted(column);
    switch (to) {
    case FieldType::Integer:
    case FieldType::AutoInc:
        return QStringLiteral("typeof(%1) NOT IN ('integer', 'null')").arg(c);
    case FieldType::Float:
        return QStringLiteral("typeof(%1) NOT IN ('integer', 'real', 'null')").arg(c);
    case FieldType::Date:
        return QStringLiteral("%1 IS NOT NULL AND (typeof(%1) <> 'text' OR date(%1) IS NULL)").arg(c);
    default:
        return QString();
    }
}

} // namespace

void TParadoxChange::ChangeFieldType(const QString& fieldName, FieldType kind)
{
    if (kind == FieldType::Unknown) return;
    ChangeRequest request;
    request.newType = kind;
    RestructureField(fieldName, request);
}

qint64 TParadoxChange::CountLongerThan(const QString& fieldName, int length) const
{
    const QString table = Engine::Dialect::tableName(m_tableName);
    QSqlQuery q = run(
        m_databaseName,
        QStringLiteral("SELECT count(*) FROM %1 WHERE length(%2) > :n").arg(quoted(table), quoted(fieldName)),
        {{QStringLiteral(":n"), length}});
    return q.next() ? q.value(0).toLongLong() : 0;
}

void TParadoxChange::RestructureField(const QString& fieldName, const ChangeRequest& request)
{
    const QString conn = m_databaseName;
    const QString table = Engine::Dialect::tableName(m_tableName);
    if (!Database::hasTable(conn, table))
        throw DbError(QStringLiteral("A(z) %1 tábla nem található.").arg(table));

    const QList<FieldInfo> fields = Database::fields(conn, table);
    qsizetype pos = -1;
    for (qsizetype i = 0; i < fields.size(); ++i)
        if (fields[i].name.compare(fieldName, Qt::CaseInsensitive) == 0) pos = i;
    if (pos < 0)
        throw DbError(QStringLiteral("A(z) %1 mező nem található a(z) %2 táblában.").arg(fieldName, table));
    const FieldInfo old = fields[pos];

    const FieldType newType = request.newType == FieldType::Unknown ? old.type : request.newType;
    int newSize = 0;
    if (newType == FieldType::String)
        newSize = request.newLength > 0 ? request.newLength : old.size > 0 ? old.size : MemoToTextLength;
    const bool rename =
        !request.newName.isEmpty() && request.newName.compare(old.name, Qt::CaseInsensitive) != 0;
    if (newType == old.type && newSize == old.size && !rename) return;

    QSqlQuery master = run(conn,
                           QStringLiteral("SELECT name, sql FROM sqlite_master WHERE type='table' AND "
                                          "lower(name)=:t"),
                           {{QStringLiteral(":t"), table}});
    if (!master.next()) throw DbError(QStringLiteral("A(z) %1 tábla nem található.").arg(table));
    const QString realName = master.value(0).toString();
    const QString createSql = master.value(1).toString();
    master.finish(); // an open statement would keep the table from being dropped
    CreateParts parts;
    if (!splitCreate(createSql, &parts))
        throw DbError(QStringLiteral("A(z) %1 tábla szerkezete nem olvasható.").arg(table));

    QStringList indexSql;
    {
        QSqlQuery q = run(conn,
                          QStringLiteral("SELECT sql FROM sqlite_master WHERE type='index' AND "
                                         "lower(tbl_name)=:t AND sql IS NOT NULL ORDER BY rowid"),
                          {{QStringLiteral(":t"), table}});
        while (q.next())
            indexSql.append(q.value(0).toString());
    }
    int keyColumns = 0;
    bool fieldInKey = false;
    {
        QSqlQuery q = run(conn, QStringLiteral("PRAGMA table_info(%1)").arg(quoted(realName)));
        while (q.next()) {
            if (q.value(5).toInt() > 0) {
                ++keyColumns;
                if (q.value(1).toString().compare(old.name, Qt::CaseInsensitive) == 0) fieldInKey = true;
            }
        }
    }

    // Rebuild the column list: every item as it stands, the changed column declared anew.
    QStringList items;
    int columnsSeen = 0;
    bool done = false;
    static const QRegularExpression columnKey(QStringLiteral("\\bPRIMARY\\s+KEY\\b"),
                                              QRegularExpression::CaseInsensitiveOption);
    static const QRegularExpression collate(QStringLiteral("\\bCOLLATE\\s+(\"[^\"]+\"|\\w+)"),
                                            QRegularExpression::CaseInsensitiveOption);
    for (const QString& item : parts.items) {
        if (isTableConstraint(item)) {
            items.append(item);
            continue;
        }
        ++columnsSeen;
        qsizetype restStart = 0;
        const QString name = leadingName(item, &restStart);
        if (done || name.compare(old.name, Qt::CaseInsensitive) != 0) {
            items.append(item);
            continue;
        }
        done = true;
        const QString rest = item.mid(restStart);
        const bool keyHere = columnKey.match(rest).hasMatch();
        QString def = quoted(old.name) + QLatin1Char(' ');
        if (newType == FieldType::AutoInc) {
            if (!fieldInKey || keyColumns != 1 || !keyHere)
                throw DbError(
                    QStringLiteral("A(z) %1 mező nem lehet automatikus sorszám: csak a tábla egyetlen, "
                                   "egész szám kulcsa számozhatja a sorokat.")
                        .arg(old.name));
            def += Engine::sqliteDeclaration(FieldType::AutoInc, 0);
        } else if (keyHere && newType == FieldType::Integer) {
            def += QStringLiteral("INTEGER PRIMARY KEY");
        } else {
            QString decl = Engine::sqliteDeclaration(newType, newSize);
            // A text column keeps the order it was compared by (file paths stay byte for byte).
            const auto m = collate.match(rest);
            if (isTextType(newType) && m.hasMatch())
                decl.replace(QRegularExpression(QStringLiteral("\\s+COLLATE\\s+\\w+$")),
                             QStringLiteral(" COLLATE ") + m.captured(1));
            def += decl;
            if (keyHere) def += QStringLiteral(" PRIMARY KEY");
        }
        items.append(def);
    }
    if (!done || columnsSeen != fields.size())
        throw DbError(QStringLiteral("A(z) %1 tábla szerkezete nem olvasható.").arg(table));

    QStringList targetColumns;
    QStringList sourceValues;
    for (qsizetype i = 0; i < fields.size(); ++i) {
        targetColumns.append(quoted(fields[i].name));
        sourceValues.append(i == pos ? convertExpression(old.name, old.type, newType, newSize)
                                     : quoted(fields[i].name));
    }

    const QString work = table + QStringLiteral("__atalakitas");
    Database::begin(conn);
    try {
        run(conn, QStringLiteral("DROP TABLE IF EXISTS %1").arg(quoted(work)));
        QString create =
            QStringLiteral("CREATE TABLE %1 (%2)").arg(quoted(work), items.join(QStringLiteral(", ")));
        if (!parts.tail.isEmpty()) create += QLatin1Char(' ') + parts.tail;
        run(conn, create);
        run(conn, QStringLiteral("INSERT INTO %1 (%2) SELECT %3 FROM %4")
                      .arg(quoted(work), targetColumns.join(QStringLiteral(", ")),
                           sourceValues.join(QStringLiteral(", ")), quoted(realName)));
        const QString invalid = invalidRowsCondition(old.name, newType);
        if (!invalid.isEmpty()) {
            const qint64 bad =
                count(conn, QStringLiteral("SELECT count(*) FROM %1 WHERE %2").arg(quoted(work), invalid));
            if (bad > 0)
                throw DbError(
                    QStringLiteral("A(z) %1 mező nem alakítható át (%2): %3 sor értéke nem fér el az új "
                                   "típusban.")
                        .arg(old.name, Engine::fieldTypeText(newType, newSize))
                        .arg(bad));
        }
        if (count(conn, QStringLiteral("SELECT count(*) FROM %1").arg(quoted(work))) !=
            count(conn, QStringLiteral("SELECT count(*) FROM %1").arg(quoted(realName))))
            throw DbError(
                QStringLiteral("A(z) %1 tábla átalakítása közben sorok vesztek volna el.").arg(table));
        run(conn, QStringLiteral("DROP TABLE %1").arg(quoted(realName)));
        run(conn, QStringLiteral("ALTER TABLE %1 RENAME TO %2").arg(quoted(work), quoted(realName)));
        for (const QString& sql : indexSql)
            run(conn, sql);
        // Renaming last lets SQLite carry the new name into the indexes.
        if (rename)
            run(conn, QStringLiteral("ALTER TABLE %1 RENAME COLUMN %2 TO %3")
                          .arg(quoted(realName), quoted(old.name), quoted(request.newName)));
        Database::commit(conn);
    } catch (const DbError&) {
        Database::rollback(conn);
        throw;
    }
}
