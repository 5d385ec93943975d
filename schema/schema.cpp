#include "schema.h"

#include "database.h"
#include "dberror.h"
#include "dialect.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>

namespace Schema {

using Engine::FieldType;

namespace {

FieldDef I(const char* n) { return {QString::fromLatin1(n), FieldType::Integer, 0}; }
FieldDef A(const char* n) { return {QString::fromLatin1(n), FieldType::AutoInc, 0}; }
FieldDef S(const char* n, int size) { return {QString::fromLatin1(n), FieldType::String, size}; }
FieldDef D(const char* n) { return {QString::fromLatin1(n), FieldType::Date, 0}; }
FieldDef F(const char* n) { return {QString::fromLatin1(n), FieldType::Float, 0}; }
FieldDef B(const char* n) { return {QString::fromLatin1(n), FieldType::Boolean, 0}; }

IndexDef idx(const char* field) { return {QStringLiteral("idx_") + QString::fromLatin1(field), QString::fromLatin1(field), {}}; }

TableDef lookup(const char* name, int nameSize, bool partitioned)
{
    const QString n = QString::fromLatin1(name);
    TableDef t;
    t.name = n;
    t.fields = {{n, FieldType::AutoInc, 0}, {n + QStringLiteral("_nev"), FieldType::String, nameSize}};
    if (partitioned)
        t.fields.append({QStringLiteral("tip"), FieldType::Integer, 0});
    t.primaryKey = {n};
    t.indexes = {{QStringLiteral("idx_") + n + QStringLiteral("_nev"), n + QStringLiteral("_nev"), {}}};
    t.nameField = n + QStringLiteral("_nev");
    t.partitioned = partitioned;
    return t;
}

QList<TableDef> buildTables()
{
    QList<TableDef> out;
    TableDef konyv;
    konyv.name = QStringLiteral("konyv");
    konyv.fields = {I("az"),           I("tipus"),         S("szerzo", 255),     S("cim", 75),
                    I("kiado"),        I("kiadas"),        I("targykor"),        S("kolcsonadva", 50),
                    D("datum"),        B("polcon"),        S("prgkod", 50),      I("prgtipus"),
                    I("mufaj"),        I("minoseg"),       I("kotetszam"),       S("hossz", 20),
                    S("tartalom", 255), S("azonosito", 10), S("szoveg", 255),    S("lista", 255),
                    S("isbn", 20),     S("alcim", 128),    S("szerkeszto", 255), F("ar"),
                    I("sorozat"),      I("polc"),          D("dat_kiadva"),      D("dat_visszakell"),
                    D("dat_vissza"),   I("ugyfel"),        I("kolcsonzes"),      D("dat_beszerzes"),
                    S("szakjel", 10),  D("dat_selejt"),    S("torolve", 1),      S("kiado_nev", 50),
                    S("targykor_nev", 50), S("prgtipus_nev", 50), S("mufaj_nev", 50), S("minoseg_nev", 50),
                    S("sorozat_nev", 50), S("polc_nev", 50), I("sorszam")};
    konyv.primaryKey = {QStringLiteral("az")};
    konyv.indexes = {idx("azonosito"), idx("szerzo"),       idx("cim"),       idx("targykor_nev"), idx("mufaj_nev"),
                     idx("szakjel"),   idx("prgtipus_nev"), idx("kiado_nev"), idx("prgkod"),       idx("kotetszam"),
                     idx("hossz"),     idx("minoseg_nev"),  idx("sorszam")};
    for (IndexDef& ix : konyv.indexes)
        ix.leading = {QStringLiteral("tipus")};
    out.append(konyv);

    TableDef tipus;
    tipus.name = QStringLiteral("tipus");
    tipus.fields = {A("tipus"), S("tipus_nev", 30)};
    tipus.primaryKey = {QStringLiteral("tipus")};
    tipus.indexes = {idx("tipus_nev")};
    tipus.nameField = QStringLiteral("tipus_nev");
    out.append(tipus);

    out.append(lookup("kiado", 50, true));
    out.append(lookup("szerzo", 50, true));
    out.append(lookup("targykor", 50, true));
    out.append(lookup("mufaj", 50, true));
    out.append(lookup("prgtipus", 50, true));
    out.append(lookup("minoseg", 50, true));
    out.append(lookup("sorozat", 50, false));
    out.append(lookup("polc", 25, false));

    TableDef szakjel;
    szakjel.name = QStringLiteral("szakjel");
    szakjel.fields = {S("szakjel", 10), S("szakjel_nev", 50)};
    szakjel.primaryKey = {QStringLiteral("szakjel")};
    szakjel.indexes = {idx("szakjel_nev")};
    szakjel.nameField = QStringLiteral("szakjel_nev");
    out.append(szakjel);

    TableDef megj;
    megj.name = QStringLiteral("megj");
    // A path is a file name: on this system File.txt and file.txt are two files.
    megj.fields = {I("konyv"), {QStringLiteral("doknev"), FieldType::String, 1024, true}, S("doknev_rovid", 100),
                   D("datum")};
    megj.primaryKey = {QStringLiteral("konyv"), QStringLiteral("doknev")};
    out.append(megj);

    TableDef beallit;
    beallit.name = QStringLiteral("beallit");
    beallit.fields = {A("beallit"), I("leltszam"), S("leltszammaszk", 15)};
    beallit.primaryKey = {QStringLiteral("beallit")};
    out.append(beallit);
    return out;
}

} // namespace

const QList<TableDef>& tables()
{
    static const QList<TableDef> all = buildTables();
    return all;
}

const TableDef* table(const QString& name)
{
    const QString n = Engine::Dialect::tableName(name);
    for (const TableDef& t : tables())
        if (t.name == n)
            return &t;
    return nullptr;
}

const QList<Kind>& kinds()
{
    static const QList<Kind> all = {
        {1, QStringLiteral("Könyvek"), QStringLiteral("Könyvek")},
        {2, QStringLiteral("CD-Programok"), QStringLiteral("CD-Programok")},
        {3, QStringLiteral("CD-Zene"), QStringLiteral("CD-Zene")},
        {4, QStringLiteral("CD-Video"), QStringLiteral("CD-Video")},
        {5, QStringLiteral("Bakelit"), QStringLiteral("Bakelit")},
        {6, QStringLiteral("VHS"), QStringLiteral("VHS")},
        {7, QStringLiteral("Hangkazetta"), QStringLiteral("Hangkazetta")},
        {8, QStringLiteral("DVD"), QStringLiteral("DVD")},
        {9, QStringLiteral("Kották"), QStringLiteral("Kotta")},
    };
    return all;
}

QList<Engine::FieldInfo> konyvFields()
{
    QList<Engine::FieldInfo> out;
    for (const FieldDef& f : table(QStringLiteral("konyv"))->fields)
        out.append({f.name, f.type, f.size, false});
    return out;
}

QList<Engine::FieldInfo> boundKonyvFields()
{
    QList<Engine::FieldInfo> out;
    for (const Engine::FieldInfo& f : konyvFields())
        if (f.name != QLatin1String("ugyfel") && f.name != QLatin1String("torolve"))
            out.append(f);
    return out;
}

QStringList rebuildOrder()
{
    return {QStringLiteral("kiado"),    QStringLiteral("konyv"),   QStringLiteral("megj"),
            QStringLiteral("minoseg"),  QStringLiteral("mufaj"),   QStringLiteral("polc"),
            QStringLiteral("prgtipus"), QStringLiteral("sorozat"), QStringLiteral("szakjel"),
            QStringLiteral("szerzo"),   QStringLiteral("targykor"), QStringLiteral("tipus")};
}

QString createTableSql(const TableDef& t)
{
    QStringList defs;
    const bool singleKey = t.primaryKey.size() == 1;
    bool keyDone = false;
    for (const FieldDef& f : t.fields) {
        QString decl;
        if (singleKey && f.name == t.primaryKey.first() && f.type == FieldType::Integer) {
            decl = QStringLiteral("INTEGER PRIMARY KEY");
            keyDone = true;
        } else if (f.type == FieldType::AutoInc) {
            decl = Engine::sqliteDeclaration(FieldType::AutoInc, 0);
            keyDone = true;
        } else {
            decl = Engine::sqliteDeclaration(f.type, f.size);
            if (f.caseSensitive)
                decl.replace(QLatin1String(" COLLATE HU"), QLatin1String(" COLLATE BINARY"));
        }
        defs.append(f.name + QLatin1Char(' ') + decl);
    }
    if (!keyDone && !t.primaryKey.isEmpty())
        defs.append(QStringLiteral("PRIMARY KEY (%1)").arg(t.primaryKey.join(QStringLiteral(", "))));
    return QStringLiteral("CREATE TABLE %1 (%2)").arg(t.name, defs.join(QStringLiteral(", ")));
}

void createIndexes(const QString& connection, const TableDef& t)
{
    const QList<Engine::IndexInfo> existing = Engine::Database::indexes(connection, t.name);
    for (const IndexDef& ix : t.indexes) {
        const bool present = std::any_of(existing.begin(), existing.end(), [&](const Engine::IndexInfo& e) {
            return e.name.compare(ix.name, Qt::CaseInsensitive) == 0;
        });
        if (!present)
            Engine::Database::addIndex(connection, t.name, ix.name, ix.columns());
    }
}

void createDatabase(const QString& folder)
{
    if (!QDir().mkpath(folder))
        throw Engine::DbError(
            QStringLiteral("Az adatbázis mappa nem hozható létre: %1").arg(QDir::toNativeSeparators(folder)));
    const QString path = Engine::Database::filePath(folder);
    if (QFileInfo::exists(path))
        throw Engine::DbError(
            QStringLiteral("Az adatbázis már létezik: %1").arg(QDir::toNativeSeparators(path)));
    const QString conn = QStringLiteral("lerovani_create");
    Engine::Database::open(conn, folder, Engine::Database::OpenMode::CreateIfMissing);
    try {
        Engine::Database::begin(conn);
        for (const TableDef& t : tables()) {
            Engine::Database::exec(conn, createTableSql(t));
            createIndexes(conn, t);
        }
        for (const Kind& k : kinds())
            Engine::Database::exec(conn, QStringLiteral("INSERT INTO tipus (tipus, tipus_nev) VALUES (:t, :n)"),
                                   {{QStringLiteral(":t"), k.tipus}, {QStringLiteral(":n"), k.storedName}});
        Engine::Database::exec(conn, QStringLiteral("INSERT INTO beallit (leltszam, leltszammaszk) VALUES (0, :m)"),
                               {{QStringLiteral(":m"), QStringLiteral("0000000")}});
        Engine::Database::commit(conn);
    } catch (...) {
        Engine::Database::rollback(conn);
        Engine::Database::close(conn);
        QFile::remove(path);
        throw;
    }
    Engine::Database::close(conn);
}

} // namespace Schema
