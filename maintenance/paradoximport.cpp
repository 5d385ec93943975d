#include "paradoximport.h"

#include "codepagechoice.h"
#include "database.h"
#include "dberror.h"
#include "messages.h"
#include "paradoxreader.h"

#include <QDate>
#include <QDateTime>
#include <QDir>
#include <QFileInfo>
#include <QHash>
#include <QRegularExpression>
#include <QSet>
#include <QSqlError>
#include <QSqlQuery>
#include <QTime>

using Engine::Database;
using Engine::DbError;

namespace Maintenance {

namespace {

const QString kImportConnection = QStringLiteral("Lerovani_Upd_import");

QString quoted(const QString& identifier)
{
    QString s = identifier;
    s.replace(QLatin1Char('"'), QLatin1String("\"\""));
    return QLatin1Char('"') + s + QLatin1Char('"');
}

// A name the local SQL can carry without quotes, also inside its PRIMARY KEY clause.
bool isPlainName(const QString& name)
{
    static const QRegularExpression word(QStringLiteral("^[\\p{L}_][\\p{L}\\p{N}_]*$"));
    static const QSet<QString> keywords = [] {
        QSet<QString> s;
        const char* const list[] = {"ABORT",
                                    "ACTION",
                                    "ADD",
                                    "AFTER",
                                    "ALL",
                                    "ALTER",
                                    "ALWAYS",
                                    "ANALYZE",
                                    "AND",
                                    "AS",
                                    "ASC",
                                    "ATTACH",
                                    "AUTOINCREMENT",
                                    "BEFORE",
                                    "BEGIN",
                                    "BETWEEN",
                                    "BY",
                                    "CASCADE",
                                    "CASE",
                                    "CAST",
                                    "CHECK",
                                    "COLLATE",
                                    "COLUMN",
                                    "COMMIT",
                                    "CONFLICT",
                                    "CONSTRAINT",
                                    "CREATE",
                                    "CROSS",
                                    "CURRENT",
                                    "CURRENT_DATE",
                                    "CURRENT_TIME",
                                    "CURRENT_TIMESTAMP",
                                    "DATABASE",
                                    "DEFAULT",
                                    "DEFERRABLE",
                                    "DEFERRED",
                                    "DELETE",
                                    "DESC",
                                    "DETACH",
                                    "DISTINCT",
                                    "DO",
                                    "DROP",
                                    "EACH",
                                    "ELSE",
                                    "END",
                                    "ESCAPE",
                                    "EXCEPT",
                                    "EXCLUDE",
                                    "EXCLUSIVE",
                                    "EXISTS",
                                    "EXPLAIN",
                                    "FAIL",
                                    "FILTER",
                                    "FIRST",
                                    "FOLLOWING",
                                    "FOR",
                                    "FOREIGN",
                                    "FROM",
                                    "FULL",
                                    "GENERATED",
                                    "GLOB",
                                    "GROUP",
                                    "GROUPS",
                                    "HAVING",
                                    "IF",
                                    "IGNORE",
                                    "IMMEDIATE",
                                    "IN",
                                    "INDEX",
                                    "INDEXED",
                                    "INITIALLY",
                                    "INNER",
                                    "INSERT",
                                    "INSTEAD",
                                    "INTERSECT",
                                    "INTO",
                                    "IS",
                                    "ISNULL",
                                    "JOIN",
                                    "KEY",
                                    "LAST",
                                    "LEFT",
                                    "LIKE",
                                    "LIMIT",
                                    "MATCH",
                                    "MATERIALIZED",
                                    "NATURAL",
                                    "NO",
                                    "NOT",
                                    "NOTHING",
                                    "NOTNULL",
                                    "NULL",
                                    "NULLS",
                                    "OF",
                                    "OFFSET",
                                    "ON",
                                    "OR",
                                    "ORDER",
                                    "OTHERS",
                                    "OUTER",
                                    "OVER",
                                    "PARTITION",
                                    "PLAN",
                                    "PRAGMA",
                                    "PRECEDING",
                                    "PRIMARY",
                                    "QUERY",
                                    "RAISE",
                                    "RANGE",
                                    "RECURSIVE",
                                    "REFERENCES",
                                    "REGEXP",
                                    "REINDEX",
                                    "RELEASE",
                                    "RENAME",
                                    "REPLACE",
                                    "RESTRICT",
                                    "RETURNING",
                                    "RIGHT",
                                    "ROLLBACK",
                                    "ROW",
                                    "ROWS",
                                    "SAVEPOINT",
                                    "SELECT",
                                    "SET",
                                    "TABLE",
                                    "TEMP",
                                    "TEMPORARY",
                                    "THEN",
                                    "TIES",
                                    "TO",
                                    "TRANSACTION",
                                    "TRIGGER",
                                    "UNBOUNDED",
                                    "UNION",
                                    "UNIQUE",
                                    "UPDATE",
                                    "USING",
                                    "VACUUM",
                                    "VALUES",
                                    "VIEW",
                                    "VIRTUAL",
                                    "WHEN",
                                    "WHERE",
                                    "WINDOW",
                                    "WITH",
                                    "WITHOUT"};
        for (const char* k : list)
            s.insert(QString::fromLatin1(k));
        return s;
    }();
    return word.match(name).hasMatch() && !keywords.contains(name.toUpper());
}

// The local SQL type of a Paradox field.
QString localType(const ParadoxField& f)
{
    using namespace ParadoxType;
    switch (f.pxType) {
    case Alpha:
        return QStringLiteral("CHAR(%1)").arg(f.size);
    case Date:
        return QStringLiteral("DATE");
    case Short:
    case Long:
        return QStringLiteral("INT");
    case AutoInc:
        return QStringLiteral("AUTOINC");
    case Currency:
    case Number:
    case BCD:
        return QStringLiteral("FLOAT");
    case Logical:
        return QStringLiteral("BOOLEAN");
    case MemoBLOb:
    case FmtMemoBLOb:
        return QStringLiteral("MEMO");
    case Time:
        return QStringLiteral("TIME");
    case Timestamp:
        return QStringLiteral("TIMESTAMP");
    case BLOb:
    case OLE:
    case Graphic:
    case Bytes:
        return QStringLiteral("BLOB");
    default:
        return QString();
    }
}

// A read value as the engine stores it: dates and times as ISO text, flags as 0/1.
QVariant storageValue(char pxType, const QVariant& v)
{
    if (!v.isValid() || v.isNull()) return QVariant();
    switch (pxType) {
    case ParadoxType::Date:
        return v.toDate().toString(Qt::ISODate);
    case ParadoxType::Time:
        return v.toTime().toString(QStringLiteral("HH:mm:ss.zzz"));
    case ParadoxType::Timestamp: {
        // Wall-clock time as stored; no time zone may move it.
        const QDateTime t = v.toDateTime();
        return t.date().toString(Qt::ISODate) + QLatin1Char('T') +
               t.time().toString(QStringLiteral("HH:mm:ss.zzz"));
    }
    case ParadoxType::Logical:
        return v.toBool() ? 1 : 0;
    default:
        return v;
    }
}

QString nativeName(const QString& path)
{
    return QDir::toNativeSeparators(path);
}

} // namespace

QStringList ParadoxTableFiles(const QString& folder)
{
    QDir dir(folder);
    QStringList out;
    for (const QFileInfo& fi : dir.entryInfoList({QStringLiteral("*.db")}, QDir::Files | QDir::Readable,
                                                 QDir::Name | QDir::IgnoreCase))
        if (fi.suffix().compare(QLatin1String("db"), Qt::CaseInsensitive) == 0)
            out.append(fi.absoluteFilePath());
    return out;
}

bool IsParadoxFolder(const QString& folder)
{
    return !QFileInfo::exists(Database::filePath(folder)) && !ParadoxTableFiles(folder).isEmpty();
}

QString ImportWorkFolder(const QString& folder)
{
    return QDir(folder).filePath(QStringLiteral("lerovani.import"));
}

bool ImportParadoxTable(const QString& connection, const ParadoxTable& table, QString* error)
{
    const QString name = table.tableName.toLower();
    if (name.isEmpty() || name.startsWith(QLatin1String("sqlite_"))) {
        *error = QStringLiteral("A tábla neve nem használható: %1").arg(table.tableName);
        return false;
    }
    if (table.fields.isEmpty()) {
        *error = QStringLiteral("A táblának nincs mezője.");
        return false;
    }
    const int keyCount = qBound(0, table.primaryKeyFields, int(table.fields.size()));
    bool plainKey = true;
    for (int i = 0; i < keyCount; ++i)
        plainKey = plainKey && isPlainName(table.fields[i].name);

    QStringList defs;
    QStringList columns;
    for (int i = 0; i < table.fields.size(); ++i) {
        const ParadoxField& f = table.fields[i];
        const QString type = localType(f);
        if (type.isEmpty()) {
            *error = QStringLiteral("A(z) %1 mező típusa ismeretlen.").arg(f.name);
            return false;
        }
        // The local SQL reads key names only bare; every other name is quoted.
        const bool bare = plainKey && i < keyCount;
        defs.append((bare ? f.name : quoted(f.name)) + QLatin1Char(' ') + type);
        columns.append(quoted(f.name));
    }
    if (keyCount > 0 && plainKey) {
        QStringList key;
        for (int i = 0; i < keyCount; ++i)
            key.append(table.fields[i].name);
        defs.append(QStringLiteral("PRIMARY KEY (%1)").arg(key.join(QStringLiteral(", "))));
    }

    QStringList marks;
    for (int i = 0; i < columns.size(); ++i)
        marks.append(QStringLiteral("?"));
    try {
        Database::begin(connection);
        Database::exec(
            connection,
            QStringLiteral("CREATE TABLE %1 (%2)").arg(quoted(name), defs.join(QStringLiteral(", "))));
        QSqlQuery insert(Database::handle(connection));
        if (!insert.prepare(
                QStringLiteral("INSERT INTO %1 (%2) VALUES (%3)")
                    .arg(quoted(name), columns.join(QStringLiteral(", ")), marks.join(QLatin1Char(',')))))
            throw DbError(Database::errorText(insert.lastError()));
        const int n = int(table.fields.size());
        QVector<char> types(n);
        for (int i = 0; i < n; ++i)
            types[i] = table.fields[i].pxType;
        qint64 rowNumber = 0;
        for (const QVector<QVariant>& row : table.rows) {
            ++rowNumber;
            for (int i = 0; i < n; ++i)
                insert.bindValue(i, i < row.size() ? storageValue(types[i], row[i]) : QVariant());
            if (!insert.exec())
                throw DbError(QStringLiteral("%1. sor: %2")
                                  .arg(rowNumber)
                                  .arg(Database::errorText(insert.lastError())));
        }
        insert.finish();
        if (keyCount > 0 && !plainKey) {
            QStringList key;
            for (int i = 0; i < keyCount; ++i)
                key.append(table.fields[i].name);
            Engine::IndexOptions options;
            options.primary = true;
            options.caseInsensitive = false;
            Database::addIndex(connection, name, QString(), key, options);
        }
        Database::commit(connection);
    } catch (const DbError& e) {
        Database::rollback(connection);
        *error = e.message();
        return false;
    }
    return true;
}

bool ImportParadoxFolder(const QString& folder, const Progress& progress, QWidget* owner)
{
    const QStringList files = ParadoxTableFiles(folder);
    const QString work = ImportWorkFolder(folder);
    const QString target = Database::filePath(folder);
    auto discard = [&] {
        Database::close(kImportConnection);
        QDir(work).removeRecursively();
    };

    // What is in the work folder is the remains of an earlier import that was not kept.
    QDir(work).removeRecursively();
    if (!QDir().mkpath(work)) {
        ShowError(QStringLiteral("Az új adatbázis nem hozható létre: %1").arg(nativeName(work)), owner);
        return false;
    }
    try {
        Database::open(kImportConnection, work, Database::OpenMode::CreateIfMissing);
    } catch (const DbError& e) {
        ShowError(e.message(), owner);
        discard();
        return false;
    }

    progress.max(int(files.size()));
    QStringList imported;
    QStringList missing;
    QStringList incomplete; // in, but the reader had to leave something out
    QSet<QString> names;
    QHash<int, int> chosenPages; // header code page -> the user's answer, asked once per run
    for (const QString& path : files) {
        const QString file = QFileInfo(path).fileName();
        progress.advance();
        progress.show(QStringLiteral("Paradox tábla átvétele: ") + file);
        auto fail = [&](const QString& why) {
            ShowError(QStringLiteral("A(z) %1 tábla nem vehető át:\r\n%2").arg(nativeName(path), why), owner);
            missing.append(file);
        };

        QString error;
        const std::optional<ParadoxTable> header = ParadoxReader::readHeader(path, &error);
        if (!header) {
            fail(error);
            continue;
        }
        const QString name = header->tableName.toLower();
        if (names.contains(name)) {
            fail(QStringLiteral("Egy azonos nevű tábla (%1) már átkerült.").arg(name));
            continue;
        }
        ParadoxReader::ReadOptions options;
        if (!ParadoxReader::isCodePagePlausible(header->headerCodePage)) {
            int page = chosenPages.value(header->headerCodePage, 0);
            if (page == 0) page = AskCodePage(path, header->headerCodePage, owner);
            if (page == 0) {
                fail(QStringLiteral("Nem lett kódlap választva a tábla szövegeihez."));
                continue;
            }
            chosenPages.insert(header->headerCodePage, page);
            options.codePageOverride = page;
        }
        const std::optional<ParadoxTable> table = ParadoxReader::read(path, options, &error);
        if (!table) {
            fail(error);
            continue;
        }
        if (!ImportParadoxTable(kImportConnection, *table, &error)) {
            fail(error);
            continue;
        }
        if (!table->warnings.isEmpty()) {
            ShowWarning(table->warnings.join(QStringLiteral("\r\n")), owner);
            incomplete.append(file);
        }
        names.insert(name);
        imported.append(file);
    }
    Database::close(kImportConnection);

    if (imported.isEmpty()) {
        ShowError(QStringLiteral("Egyetlen Paradox tábla sem vehető át, az új adatbázis nem jött létre.\r\n"
                                 "A Paradox fájlok változatlanok."),
                  owner);
        discard();
        return false;
    }
    if (!missing.isEmpty() || !incomplete.isEmpty()) {
        QString text;
        if (!missing.isEmpty())
            text += QStringLiteral("A következő táblák nem kerültek át az új adatbázisba:\r\n%1\r\n\r\n")
                        .arg(missing.join(QStringLiteral("\r\n")));
        if (!incomplete.isEmpty())
            text += QStringLiteral(
                        "A következő táblák hiányosan kerültek át (lásd a figyelmeztetéseket):\r\n%1\r\n\r\n")
                        .arg(incomplete.join(QStringLiteral("\r\n")));
        text += QStringLiteral("Megtartja az új adatbázist?\r\n(A Paradox fájlok változatlanok maradnak.)");
        if (!AskConfirm(text, QStringLiteral("Megerősítés"), owner)) {
            discard();
            return false;
        }
    }
    if (QFileInfo::exists(target) || !QFile::rename(Database::filePath(work), target)) {
        ShowError(QStringLiteral("Az új adatbázis nem helyezhető a helyére: %1").arg(nativeName(target)),
                  owner);
        discard();
        return false;
    }
    discard();
    return true;
}

} // namespace Maintenance
