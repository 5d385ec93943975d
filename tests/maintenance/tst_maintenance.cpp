#include "codepagechoice.h"
#include "database.h"
#include "dberror.h"
#include "dialect.h"
#include "folders.h"
#include "folderuse.h"
#include "indexrebuild.h"
#include "messagerecorder.h"
#ifdef LEROVANI_OLDCATALOG_DATA
#include "oldcatalog.h"
#endif
#include "oldparadoxcatalog.h"
#include "paradoxchange.h"
#include "paradoximport.h"
#include "schema.h"
#include "table.h"
#include "updmain.h"
#include "upgrade.h"

#include <QCryptographicHash>
#include <QDir>
#include <QDirIterator>
#include <QFile>
#include <QLabel>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QProgressBar>
#include <QPushButton>
#include <QSqlQuery>
#include <QSqlRecord>
#include <QStandardPaths>
#include <QTemporaryDir>
#include <QTest>

using Engine::Database;
using Engine::DbError;
using Engine::FieldInfo;
using Engine::FieldType;
using Maintenance::Progress;

namespace {

const QString C = QStringLiteral("t");

QString localType(const FieldInfo& f)
{
    switch (f.type) {
    case FieldType::Integer:
        return QStringLiteral("INT");
    case FieldType::AutoInc:
        return QStringLiteral("AUTOINC");
    case FieldType::String:
        return QStringLiteral("CHAR(%1)").arg(f.size);
    case FieldType::Memo:
        return QStringLiteral("MEMO");
    case FieldType::Float:
        return QStringLiteral("FLOAT");
    case FieldType::Date:
        return QStringLiteral("DATE");
    case FieldType::Boolean:
        return QStringLiteral("BOOLEAN");
    default:
        return QStringLiteral("BLOB");
    }
}

// konyv in local SQL: the current fields less some, with some types replaced.
QString konyvSql(const QStringList& without, const QMap<QString, QString>& types = {}, bool keyed = true)
{
    QStringList defs;
    for (const FieldInfo& f : Schema::konyvFields())
        if (!without.contains(f.name))
            defs.append(f.name + QLatin1Char(' ') + types.value(f.name, localType(f)));
    if (keyed) defs.append(QStringLiteral("PRIMARY KEY (az)"));
    return QStringLiteral("CREATE TABLE konyv (%1)").arg(defs.join(QStringLiteral(", ")));
}

// Every field after lista, and szoveg: what an early version did not have yet.
QStringList newerFields()
{
    QStringList out{QStringLiteral("szoveg")};
    bool after = false;
    for (const FieldInfo& f : Schema::konyvFields()) {
        if (after) out.append(f.name);
        if (f.name == QLatin1String("lista")) after = true;
    }
    return out;
}

QStringList lookupTables()
{
    QStringList sql;
    for (const char* t : {"kiado", "targykor", "mufaj", "prgtipus", "minoseg", "szerzo"})
        sql.append(QStringLiteral("CREATE TABLE %1 (%1 AUTOINC, %1_nev CHAR(50), tip INT, PRIMARY KEY (%1))")
                       .arg(QString::fromLatin1(t)));
    sql.append(QStringLiteral("CREATE TABLE tipus (tipus AUTOINC, tipus_nev CHAR(30), PRIMARY KEY (tipus))"));
    sql.append(
        QStringLiteral("CREATE TABLE megj (konyv INT, doknev CHAR(255), doknev_rovid CHAR(100), datum DATE, "
                       "PRIMARY KEY (konyv, doknev))"));
    return sql;
}

void exec(const QString& sql, const QVariantMap& params = {})
{
    Database::exec(C, sql, params);
}

// Kinds 1..8, two publishers and four items of several kinds whose az are not in insertion order.
void fillOldRows(bool withLista = true)
{
    const char* kinds[] = {"Könyvek", "CD-Programok", "CD-Zene",     "CD-Video",
                           "Bakelit", "VHS",          "Hangkazetta", "DVD"};
    for (const char* k : kinds)
        exec(QStringLiteral("INSERT INTO tipus (tipus_nev) VALUES (:n)"), {{":n", QString::fromUtf8(k)}});
    exec(QStringLiteral("INSERT INTO kiado (kiado_nev, tip) VALUES ('Móra', 1)"));
    exec(QStringLiteral("INSERT INTO kiado (kiado_nev, tip) VALUES ('Európa', 1)"));
    struct Item
    {
        int az, tipus, kiado;
        const char* cim;
    };
    for (const Item& it : {Item{9, 3, 1, "Zene"}, Item{2, 1, 1, "Egri csillagok"},
                           Item{5, 1, 0, "Nincs kiadója"}, Item{7, 2, 2, "Program"}}) {
        QVariantMap p{{":az", it.az},
                      {":tipus", it.tipus},
                      {":kiado", it.kiado},
                      {":cim", QString::fromUtf8(it.cim)},
                      {":tartalom", QStringLiteral("Tartalom %1 őű").arg(it.az)}};
        if (withLista) {
            p.insert(":lista", QStringLiteral("első\r\nmásodik %1").arg(it.az));
            exec(QStringLiteral(
                     "INSERT INTO konyv (az, tipus, cim, kiado, tartalom, lista, kotetszam, polcon) "
                     "VALUES (:az, :tipus, :cim, :kiado, :tartalom, :lista, 1, 1)"),
                 p);
        } else {
            exec(QStringLiteral("INSERT INTO konyv (az, tipus, cim, kiado, tartalom, kotetszam, polcon) "
                                "VALUES (:az, :tipus, :cim, :kiado, :tartalom, 1, 1)"),
                 p);
        }
    }
}

QString scalarText(const QString& sql)
{
    QSqlQuery q(Database::handle(C));
    if (!q.exec(sql) || !q.next()) return QStringLiteral("<no result>");
    return q.value(0).toString();
}

// The whole database as text: schema, then every row of every table with the storage classes.
QString dump(const QString& connection)
{
    QStringList out;
    QStringList tables;
    QSqlQuery q(Database::handle(connection));
    q.exec(QStringLiteral("SELECT type, name, tbl_name, sql FROM sqlite_master ORDER BY type, name"));
    while (q.next()) {
        out.append(QStringLiteral("%1|%2|%3|%4")
                       .arg(q.value(0).toString(), q.value(1).toString(), q.value(2).toString(),
                            q.value(3).toString()));
        if (q.value(0).toString() == QLatin1String("table")) tables.append(q.value(1).toString());
    }
    for (const QString& t : tables) {
        QSqlQuery rows(Database::handle(connection));
        rows.exec(QStringLiteral("SELECT * FROM \"%1\" ORDER BY rowid").arg(t));
        while (rows.next()) {
            QStringList v;
            for (int i = 0; i < rows.record().count(); ++i)
                v.append(rows.isNull(i)
                             ? QStringLiteral("NULL")
                             : QStringLiteral("%1:%2").arg(QString::fromLatin1(rows.value(i).typeName()),
                                                           rows.value(i).toString()));
            out.append(t + QLatin1Char('=') + v.join(QLatin1Char(',')));
        }
    }
    return out.join(QLatin1Char('\n'));
}

QString dumpFolder(const QString& folder)
{
    const QString conn = QStringLiteral("dump");
    Database::open(conn, folder);
    const QString d = dump(conn);
    Database::close(conn);
    return d;
}

QStringList indexNames(const QString& connection, const QString& table)
{
    QStringList out;
    for (const Engine::IndexInfo& ix : Database::indexes(connection, table))
        if (!ix.name.isEmpty()) out.append(ix.name);
    out.sort();
    return out;
}

QStringList schemaIndexNames(const QString& table)
{
    QStringList out;
    for (const Schema::IndexDef& ix : Schema::table(table)->indexes)
        out.append(ix.name);
    out.sort();
    return out;
}

// Checksums of every file below folder, by relative path.
QMap<QString, QByteArray> checksums(const QString& folder)
{
    QMap<QString, QByteArray> out;
    QDirIterator it(folder, QDir::Files, QDirIterator::Subdirectories);
    while (it.hasNext()) {
        const QString path = it.next();
        QFile f(path);
        f.open(QIODevice::ReadOnly);
        out.insert(QDir(folder).relativeFilePath(path),
                   QCryptographicHash::hash(f.readAll(), QCryptographicHash::Sha256));
    }
    return out;
}

struct ProgressLog
{
    QList<int> maxima;
    int steps = 0;
    QStringList statuses;
    Progress progress()
    {
        Progress p;
        p.setMaximum = [this](int m) { maxima.append(m); };
        p.step = [this] { ++steps; };
        p.status = [this](const QString& s) { statuses.append(s); };
        return p;
    }
};

QStringList textsOf(const MessageRecorder& rec, MsgKind kind)
{
    QStringList out;
    for (const MsgRecord& r : rec.records)
        if (r.kind == kind) out.append(r.text);
    return out;
}

QString fixture(const QString& relative)
{
    return QStringLiteral(LEROVANI_SHARED_FIXTURES) + QStringLiteral("/paradox/") + relative;
}

bool copyFile(const QString& from, const QString& toFolder)
{
    return QFile::copy(from, QDir(toFolder).filePath(QFileInfo(from).fileName()));
}

} // namespace

class TestMaintenance : public QObject
{
    Q_OBJECT

    QTemporaryDir m_tmp;
    int m_folders = 0;

    QString newFolder()
    {
        const QString path = m_tmp.filePath(QStringLiteral("db%1").arg(++m_folders));
        QDir().mkpath(path);
        return path;
    }
    // A new database folder built with local SQL; the connection C stays open on it.
    QString makeDatabase(const QStringList& statements)
    {
        const QString folder = newFolder();
        Database::open(C, folder, Database::OpenMode::CreateIfMissing);
        for (const QString& s : statements)
            exec(s);
        return folder;
    }
    QString makeOldDatabase(bool withLista = true)
    {
        QStringList without = newerFields();
        QMap<QString, QString> types{{"az", "AUTOINC"}, {"tartalom", "MEMO"}, {"lista", "MEMO"}};
        if (!withLista) without.append(QStringLiteral("lista"));
        const QString folder = makeDatabase(lookupTables() << konyvSql(without, types));
        fillOldRows(withLista);
        return folder;
    }
    QString makeCurrentDatabase()
    {
        const QString folder = newFolder();
        QFile::remove(Database::filePath(folder));
        QDir().rmdir(folder);
        Schema::createDatabase(folder);
        Database::open(C, folder);
        return folder;
    }

private slots:
    void initTestCase();
    void cleanup();

    void upgradeEdgeCases_data();
    void upgradeEdgeCases();
    void upgradeNumbersInAzOrderNotStorageOrder();
    void upgradeGivesTheCatalogueSchema();
    void upgradeTwiceChangesNothing();
    void upgradeCurrentDatabaseChangesNothing();
    void upgradeProgress();
    void upgradeAddsMissingLista();
    void upgradeStopsWhenTipusInsertFails();
    void upgradeStopsWithoutAz();
    void upgradeLongMemoAsksFirst_data();
    void upgradeLongMemoAsksFirst();

    void changeAutoIncToIntegerKeepsValuesKeyAndIndexes();
    void changeMemoToTextKeepsRowsAndColumns();
    void changeConversions_data();
    void changeConversions();
    void impossibleChangeChangesNothing_data();
    void impossibleChangeChangesNothing();

    void rebuild_data();
    void rebuild();
    void rebuildGivesMegjItsTwoFieldKey();
    void rebuildSkipsTablesWhileCatalogueRuns();

    void importSharedFixtures_data();
    void importSharedFixtures();
    void importBadInput_data();
    void importBadInput();
    void importNothingReadableKeepsNothing();
    void importCodePageCancelled();

    void windowLayout();
    void windowSettingsFile();
    void windowMissingFolder_data();
    void windowMissingFolder();
    void windowUpgradeAndRebuild();
    void windowCatalogueRunning();
    void windowParadoxCatalogue();
    void windowOldCatalogFixture_data();
    void windowOldCatalogFixture();
    void windowCloses();
};

void TestMaintenance::initTestCase()
{
    QVERIFY(m_tmp.isValid());
    QStandardPaths::setTestModeEnabled(true);
    const QString exe = m_tmp.filePath(QStringLiteral("exe"));
    QDir().mkpath(exe);
    SetExeDirForTests(exe);
}

void TestMaintenance::cleanup()
{
    Database::close(C);
    Maintenance::setCodePageHook({});
    QFile::remove(IniFileName());
    ResetFolders();
}

// ---------------------------------------------------------------- upgrade

void TestMaintenance::upgradeEdgeCases_data()
{
    QTest::addColumn<QString>("query");
    QTest::addColumn<QString>("expected");
    QTest::newRow("sorszam numbers all kinds in az order")
        << "SELECT group_concat(az || ':' || sorszam, ',') FROM (SELECT az, sorszam FROM konyv ORDER BY az)"
        << "2:1,5:2,7:3,9:4";
    QTest::newRow("torolve is N in every row") << "SELECT count(*) FROM konyv WHERE torolve = 'N'"
                                               << "4";
    QTest::newRow("ar is 0 in every row") << "SELECT count(*) FROM konyv WHERE ar = 0"
                                          << "4";
    QTest::newRow("sorozat is 0 in every row") << "SELECT count(*) FROM konyv WHERE sorozat = 0"
                                               << "4";
    QTest::newRow("kiado_nev filled, key 0 gives empty")
        << "SELECT group_concat(az || '=' || ifnull(kiado_nev, ''), ';') FROM (SELECT * FROM konyv ORDER BY "
           "az)"
        << "2=Móra;5=;7=Európa;9=Móra";
    QTest::newRow("polc added later: key and name empty")
        << "SELECT count(*) FROM konyv WHERE polc IS NULL AND ifnull(polc_nev, '') = ''"
        << "4";
    QTest::newRow("sorozat_nev stays empty") << "SELECT count(*) FROM konyv WHERE sorozat_nev IS NULL"
                                             << "4";
    QTest::newRow("Kotta added with key 9")
        << "SELECT group_concat(tipus) FROM tipus WHERE tipus_nev = 'Kotta'"
        << "9";
    QTest::newRow("beallit has its one row")
        << "SELECT count(*) || ':' || min(leltszam) || ':' || min(leltszammaszk) FROM beallit"
        << "1:0:0000000";
    QTest::newRow("missing tables created")
        << "SELECT group_concat(name) FROM (SELECT name FROM sqlite_master WHERE type = 'table' AND name IN "
           "('beallit', 'polc', 'sorozat', 'szakjel') ORDER BY name)"
        << "beallit,polc,sorozat,szakjel";
    QTest::newRow("az values kept") << "SELECT group_concat(az) FROM (SELECT az FROM konyv ORDER BY az)"
                                    << "2,5,7,9";
    QTest::newRow("memo text kept as text")
        << "SELECT typeof(tartalom) || ':' || tartalom FROM konyv WHERE az = 5"
        << "text:Tartalom 5 őű";
    QTest::newRow("list lines kept") << "SELECT lista FROM konyv WHERE az = 7"
                                     << "első\r\nmásodik 7";
    QTest::newRow("new polc table numbers its rows")
        << "INSERT INTO polc (polc_nev) VALUES ('A1') RETURNING polc"
        << "1";
}

void TestMaintenance::upgradeEdgeCases()
{
    QFETCH(QString, query);
    QFETCH(QString, expected);
    makeOldDatabase();
    MessageRecorder rec;
    QVERIFY2(Maintenance::UpgradeDatabase(C, {}, nullptr), qPrintable(rec.texts().join('\n')));
    QVERIFY2(rec.records.isEmpty(), qPrintable(rec.texts().join('\n')));
    QCOMPARE(scalarText(query), expected);
}

void TestMaintenance::upgradeNumbersInAzOrderNotStorageOrder()
{
    // az as a plain field: the rows lie in the file in another order than their keys.
    makeDatabase(lookupTables() << konyvSql(newerFields(), {}, false));
    for (int az : {40, 10, 30, 20})
        exec("INSERT INTO konyv (az, tipus) VALUES (:az, :t)", {{":az", az}, {":t", az / 10}});
    MessageRecorder rec;
    QVERIFY(Maintenance::UpgradeDatabase(C, {}, nullptr));
    QCOMPARE(
        scalarText("SELECT group_concat(az || ':' || sorszam, ',') FROM (SELECT az, sorszam FROM konyv ORDER "
                   "BY rowid)"),
        QStringLiteral("40:4,10:1,30:3,20:2"));
}

void TestMaintenance::upgradeGivesTheCatalogueSchema()
{
    makeOldDatabase();
    MessageRecorder rec;
    QVERIFY(Maintenance::UpgradeDatabase(C, {}, nullptr));

    // The catalogue binds konyv with exactly these types; opening fails on any other.
    Engine::Table tbl(C);
    tbl.setTableName(QStringLiteral("konyv.DB"));
    tbl.setFieldDefs(Schema::konyvFields());
    tbl.open();
    QCOMPARE(tbl.recordCount(), 4);
    for (const QString& name : {QStringLiteral("tartalom"), QStringLiteral("lista")}) {
        const FieldInfo f = tbl.field(name);
        QCOMPARE(int(f.type), int(FieldType::String));
        QCOMPARE(f.size, 255);
    }
    QCOMPARE(int(tbl.field("az").type), int(FieldType::Integer));
    QCOMPARE(Database::primaryKey(C, "konyv"), QStringList{"az"});
    tbl.close();
    QCOMPARE(Database::fields(C, "konyv").first().name, QStringLiteral("az"));

    for (const Schema::TableDef& t : Schema::tables()) {
        QVERIFY2(Database::hasTable(C, t.name), qPrintable(t.name));
        Engine::Table other(C);
        other.setTableName(t.name);
        QList<FieldInfo> defs;
        for (const Schema::FieldDef& f : t.fields)
            defs.append({f.name, f.type, f.size, false});
        other.setFieldDefs(defs);
        other.open();
    }
}

void TestMaintenance::upgradeTwiceChangesNothing()
{
    makeOldDatabase();
    MessageRecorder rec;
    QVERIFY(Maintenance::UpgradeDatabase(C, {}, nullptr));
    const QString first = dump(C);
    QVERIFY(Maintenance::UpgradeDatabase(C, {}, nullptr));
    QCOMPARE(dump(C), first);
    QVERIFY(rec.records.isEmpty());
    QCOMPARE(scalarText("SELECT count(*) FROM tipus WHERE tipus_nev = 'Kotta'"), QStringLiteral("1"));
}

void TestMaintenance::upgradeCurrentDatabaseChangesNothing()
{
    makeCurrentDatabase();
    exec(QStringLiteral(
        "INSERT INTO konyv (az, tipus, cim, sorszam, torolve, ar) VALUES (4, 2, 'Valami', 17, 'I', "
        "12.5)"));
    const QString before = dump(C);
    MessageRecorder rec;
    QVERIFY(Maintenance::UpgradeDatabase(C, {}, nullptr));
    QCOMPARE(dump(C), before);
    QVERIFY(rec.records.isEmpty());
}

void TestMaintenance::upgradeProgress()
{
    makeOldDatabase();
    ProgressLog log;
    MessageRecorder rec;
    QVERIFY2(Maintenance::UpgradeDatabase(C, log.progress(), nullptr), qPrintable(rec.texts().join('\n')));
    QCOMPARE(log.maxima, QList<int>{33});
    QCOMPARE(log.steps, 30);
    QCOMPARE(log.statuses, (QStringList{"Táblák létrehozása", "Mezők ellenőrzése, létrehozása"}));
}

void TestMaintenance::upgradeAddsMissingLista()
{
    makeOldDatabase(false);
    MessageRecorder rec;
    QVERIFY(Maintenance::UpgradeDatabase(C, {}, nullptr));
    QVERIFY(rec.records.isEmpty());
    bool found = false;
    for (const FieldInfo& f : Database::fields(C, "konyv"))
        if (f.name == QLatin1String("lista")) {
            found = true;
            QCOMPARE(int(f.type), int(FieldType::String));
            QCOMPARE(f.size, 255);
        }
    QVERIFY(found);
    // The steps after lista ran as well.
    QCOMPARE(scalarText("SELECT count(*) FROM konyv WHERE sorszam IS NOT NULL AND szoveg IS NULL"),
             QStringLiteral("4"));
}

void TestMaintenance::upgradeStopsWhenTipusInsertFails()
{
    QStringList sql = lookupTables();
    sql.removeIf([](const QString& s) { return s.contains("CREATE TABLE tipus"); });
    makeDatabase(sql << konyvSql(newerFields(), {{"az", "AUTOINC"}}));
    MessageRecorder rec;
    QVERIFY(!Maintenance::UpgradeDatabase(C, {}, nullptr));
    QCOMPARE(rec.count(MsgKind::Error), 1);
    QCOMPARE(rec.records.size(), 1);
    QVERIFY2(rec.records[0].text.contains("tipus"), qPrintable(rec.records[0].text));
    // Step 1 up to the insert is done; nothing after it.
    QVERIFY(Database::hasTable(C, "beallit"));
    QVERIFY(!Database::hasTable(C, "polc"));
    QCOMPARE(int(Database::fields(C, "konyv").first().type), int(FieldType::AutoInc));
}

void TestMaintenance::upgradeStopsWithoutAz()
{
    makeDatabase(lookupTables() << konyvSql(QStringList{"az"} + newerFields(), {}, false));
    MessageRecorder rec;
    QVERIFY(!Maintenance::UpgradeDatabase(C, {}, nullptr));
    QCOMPARE(rec.texts(), QStringList{"A(z) az mező nem található a(z) konyv táblában."});
    QVERIFY(Database::hasTable(C, "polc"));
    for (const FieldInfo& f : Database::fields(C, "konyv"))
        QVERIFY(f.name != QLatin1String("sorszam"));
}

void TestMaintenance::upgradeLongMemoAsksFirst_data()
{
    QTest::addColumn<bool>("answer");
    QTest::newRow("user keeps the long text") << false;
    QTest::newRow("user lets it be cut") << true;
}

void TestMaintenance::upgradeLongMemoAsksFirst()
{
    QFETCH(bool, answer);
    makeOldDatabase();
    const QString longText = QString(300, QChar(u'ő'));
    exec(QStringLiteral("UPDATE konyv SET tartalom = :t WHERE az = 2"), {{":t", longText}});
    MessageRecorder rec;
    rec.answers = {answer};
    QCOMPARE(Maintenance::UpgradeDatabase(C, {}, nullptr), answer);
    QCOMPARE(rec.count(MsgKind::Confirm), 1);
    QVERIFY2(rec.records[0].text.contains("1 tétel"), qPrintable(rec.records[0].text));
    QVERIFY(rec.records[0].text.contains("tartalom"));
    const FieldInfo tartalom = Database::fields(C, "konyv").at(16);
    QCOMPARE(tartalom.name, QStringLiteral("tartalom"));
    QCOMPARE(int(tartalom.type), int(answer ? FieldType::String : FieldType::Memo));
    QCOMPARE(scalarText("SELECT tartalom FROM konyv WHERE az = 2"), answer ? longText.left(255) : longText);
}

// ---------------------------------------------------------------- field restructure

void TestMaintenance::changeAutoIncToIntegerKeepsValuesKeyAndIndexes()
{
    makeDatabase({"CREATE TABLE konyv (az AUTOINC, cim CHAR(75), tartalom MEMO, PRIMARY KEY (az))"});
    Database::addIndex(C, "konyv", "idx_cim", {"cim"});
    for (int az : {3, 10, 7})
        exec("INSERT INTO konyv (az, cim) VALUES (:az, :c)",
             {{":az", az}, {":c", QStringLiteral("cím %1").arg(az)}});
    TParadoxChange change;
    change.setDatabaseName(C);
    change.setTableName("konyv.DB");
    change.ChangeFieldType("az", FieldType::Integer);

    const QList<FieldInfo> f = Database::fields(C, "konyv");
    QCOMPARE(f.size(), 3);
    QCOMPARE(f[0].name, QStringLiteral("az"));
    QCOMPARE(int(f[0].type), int(FieldType::Integer));
    QCOMPARE(f[1].name, QStringLiteral("cim"));
    QCOMPARE(f[1].size, 75);
    QCOMPARE(int(f[2].type), int(FieldType::Memo));
    QCOMPARE(scalarText("SELECT group_concat(az || '=' || cim) FROM (SELECT * FROM konyv ORDER BY az)"),
             QStringLiteral("3=cím 3,7=cím 7,10=cím 10"));
    QCOMPARE(Database::primaryKey(C, "konyv"), QStringList{"az"});
    QCOMPARE(indexNames(C, "konyv"), QStringList{"idx_cim"});
    QVERIFY_THROWS_EXCEPTION(DbError, exec("INSERT INTO konyv (az, cim) VALUES (7, 'kettőzött')"));
    QCOMPARE(scalarText("SELECT count(*) FROM sqlite_master WHERE name LIKE '%atalakitas%'"),
             QStringLiteral("0"));
}

void TestMaintenance::changeMemoToTextKeepsRowsAndColumns()
{
    makeDatabase(
        {"CREATE TABLE konyv (az INT, tartalom MEMO, cim CHAR(75), polcon BOOLEAN, PRIMARY KEY (az))"});
    exec("INSERT INTO konyv VALUES (1, 'csiga', 'A', 1)");
    exec("INSERT INTO konyv VALUES (2, 'cukor', 'B', 0)");
    exec("INSERT INTO konyv VALUES (3, NULL, 'C', 1)");
    const QString columnsBefore = scalarText("SELECT group_concat(name || ' ' || type, ', ') FROM "
                                             "pragma_table_info('konyv') WHERE name <> 'tartalom'");
    TParadoxChange change;
    change.setDatabaseName(C);
    change.setTableName("konyv.DB");
    change.ChangeFieldType("tartalom", FieldType::String);

    const QList<FieldInfo> f = Database::fields(C, "konyv");
    QCOMPARE(f[1].name, QStringLiteral("tartalom"));
    QCOMPARE(int(f[1].type), int(FieldType::String));
    QCOMPARE(f[1].size, TParadoxChange::MemoToTextLength);
    QCOMPARE(scalarText(
                 "SELECT group_concat(name || ' ' || type, ', ') FROM pragma_table_info('konyv') WHERE name "
                 "<> 'tartalom'"),
             columnsBefore);
    // Hungarian order and case-insensitivity survive: c before cs.
    QCOMPARE(
        scalarText("SELECT group_concat(az) FROM (SELECT az FROM konyv WHERE tartalom IS NOT NULL ORDER BY "
                   "tartalom)"),
        QStringLiteral("2,1"));
    QCOMPARE(scalarText("SELECT count(*) FROM konyv WHERE tartalom = 'CSIGA'"), QStringLiteral("1"));
    QCOMPARE(scalarText("SELECT count(*) FROM konyv WHERE tartalom IS NULL AND cim = 'C'"),
             QStringLiteral("1"));
}

void TestMaintenance::changeConversions_data()
{
    QTest::addColumn<QString>("type");
    QTest::addColumn<QVariant>("value");
    QTest::addColumn<int>("newType");
    QTest::addColumn<int>("newLength");
    QTest::addColumn<QString>("expected"); // typeof:value
    QTest::newRow("text shortened is cut")
        << "CHAR(10)" << QVariant("abcdéf") << int(FieldType::String) << 4 << "text:abcd";
    QTest::newRow("digits in text become a number")
        << "CHAR(10)" << QVariant("42") << int(FieldType::Integer) << 0 << "integer:42";
    QTest::newRow("empty text becomes no number")
        << "CHAR(10)" << QVariant("") << int(FieldType::Integer) << 0 << "null:";
    QTest::newRow("number becomes text") << "INT" << QVariant(42) << int(FieldType::String) << 0 << "text:42";
    QTest::newRow("integer becomes float")
        << "INT" << QVariant(42) << int(FieldType::Float) << 0 << "real:42.0";
    QTest::newRow("long memo cut to 255")
        << "MEMO" << QVariant(QString(300, QChar(u'ű'))) << int(FieldType::String) << 0
        << "text:" + QString(255, QChar(u'ű'));
}

void TestMaintenance::changeConversions()
{
    QFETCH(QString, type);
    QFETCH(QVariant, value);
    QFETCH(int, newType);
    QFETCH(int, newLength);
    QFETCH(QString, expected);
    makeDatabase({QStringLiteral("CREATE TABLE t (k INT, v %1, w CHAR(5), PRIMARY KEY (k))").arg(type)});
    exec("INSERT INTO t VALUES (1, :v, 'x')", {{":v", value}});
    TParadoxChange change;
    change.setDatabaseName(C);
    change.setTableName("t.DB");
    TParadoxChange::ChangeRequest request;
    request.newType = FieldType(newType);
    request.newLength = newLength;
    change.RestructureField("v", request);
    QCOMPARE(scalarText("SELECT typeof(v) || ':' || ifnull(v, '') FROM t"), expected);
    QCOMPARE(scalarText("SELECT group_concat(name) FROM pragma_table_info('t')"), QStringLiteral("k,v,w"));
}

void TestMaintenance::impossibleChangeChangesNothing_data()
{
    QTest::addColumn<QString>("table");
    QTest::addColumn<QString>("field");
    QTest::addColumn<int>("newType");
    QTest::addColumn<QString>("message");
    QTest::newRow("missing field") << "konyv.DB"
                                   << "nincs" << int(FieldType::Integer)
                                   << "A(z) nincs mező nem található a(z) konyv táblában.";
    QTest::newRow("missing table") << "nincs.DB"
                                   << "az" << int(FieldType::Integer) << "A(z) nincs tábla nem található.";
    QTest::newRow("words into integer") << "konyv.DB"
                                        << "cim" << int(FieldType::Integer) << "";
    QTest::newRow("words into date") << "konyv.DB"
                                     << "cim" << int(FieldType::Date) << "";
    QTest::newRow("numbering on a column that is not the key") << "konyv.DB"
                                                               << "tipus" << int(FieldType::AutoInc) << "";
}

void TestMaintenance::impossibleChangeChangesNothing()
{
    QFETCH(QString, table);
    QFETCH(QString, field);
    QFETCH(int, newType);
    QFETCH(QString, message);
    makeDatabase({"CREATE TABLE konyv (az AUTOINC, tipus INT, cim CHAR(75), PRIMARY KEY (az))"});
    Database::addIndex(C, "konyv", "idx_cim", {"cim"});
    exec("INSERT INTO konyv (tipus, cim) VALUES (1, 'Egri csillagok')");
    exec("INSERT INTO konyv (tipus, cim) VALUES (2, '12')");
    const QString before = dump(C);
    TParadoxChange change;
    change.setDatabaseName(C);
    change.setTableName(table);
    try {
        change.ChangeFieldType(field, FieldType(newType));
        QFAIL("no error");
    } catch (const DbError& e) {
        if (!message.isEmpty()) QCOMPARE(e.message(), message);
        QVERIFY(!e.message().isEmpty());
    }
    QCOMPARE(dump(C), before);
    // The connection is usable afterwards: no transaction was left open.
    exec("INSERT INTO konyv (tipus, cim) VALUES (3, 'utána')");
}

// ---------------------------------------------------------------- index rebuild

void TestMaintenance::rebuild_data()
{
    QTest::addColumn<QStringList>("setup");
    QTest::addColumn<QString>("error");
    QTest::addColumn<QStringList>("konyvIndexes");
    const QStringList all = schemaIndexNames("konyv");
    const QStringList spoil{"DROP INDEX konyv__idx_cim", "DROP INDEX kiado__idx_kiado_nev",
                            "CREATE INDEX konyv__idx_egyeb ON konyv (hossz)"};
    QTest::newRow("current database, indexes spoiled") << spoil << QString() << all;
    QTest::newRow("duplicate az") << QStringList{"DROP TABLE konyv", konyvSql({}, {}, false),
                                                 "INSERT INTO konyv (az, cim) VALUES (1, 'a')",
                                                 "INSERT INTO konyv (az, cim) VALUES (1, 'b')"}
                                  << "Ismeretlen hiba: konyv.DB\r\n"
                                  << QStringList();
    QStringList withoutSorszam = all;
    withoutSorszam.removeAll("idx_sorszam");
    QTest::newRow("konyv without sorszam")
        << QStringList{"DROP TABLE konyv", konyvSql({"sorszam"})}
        << "Ismeretlen hiba: konyv.DB\r\nA(z) sorszam mező nem található a(z) konyv táblában."
        << withoutSorszam;
}

void TestMaintenance::rebuild()
{
    QFETCH(QStringList, setup);
    QFETCH(QString, error);
    QFETCH(QStringList, konyvIndexes);
    const QString folder = makeCurrentDatabase();
    for (const QString& s : setup) {
        QSqlQuery q(Database::handle(C));
        QVERIFY2(q.exec(Engine::Dialect::translate(s)), qPrintable(s));
    }
    MessageRecorder rec;
    ProgressLog log;
    Maintenance::RebuildIndexes(C, folder, log.progress(), nullptr);

    if (error.isEmpty()) {
        QVERIFY2(rec.records.isEmpty(), qPrintable(rec.texts().join('\n')));
    } else {
        QCOMPARE(rec.count(MsgKind::Error), 1);
        QVERIFY2(rec.records[0].text.startsWith(error), qPrintable(rec.records[0].text));
        QVERIFY(rec.records[0].text.size() > QString("Ismeretlen hiba: konyv.DB\r\n").size());
    }
    QCOMPARE(indexNames(C, "konyv"), konyvIndexes);
    if (!konyvIndexes.isEmpty()) QCOMPARE(Database::primaryKey(C, "konyv"), QStringList{"az"});
    for (const QString& t : Schema::rebuildOrder()) {
        if (t == QLatin1String("konyv")) continue;
        QCOMPARE(indexNames(C, t), schemaIndexNames(t));
        QCOMPARE(Database::primaryKey(C, t), Schema::table(t)->primaryKey);
    }
    QCOMPARE(log.maxima, QList<int>{13});
    QStringList expected;
    for (const QString& t : Schema::rebuildOrder())
        expected.append("Index készítés: " + t + ".DB");
    QCOMPARE(log.statuses, expected);
}

void TestMaintenance::rebuildGivesMegjItsTwoFieldKey()
{
    const QString folder = makeCurrentDatabase();
    exec("DROP TABLE megj");
    exec("CREATE TABLE megj (konyv INT, doknev CHAR(255), doknev_rovid CHAR(100), datum DATE)");
    exec("INSERT INTO megj (konyv, doknev) VALUES (1, '/a.txt')");
    exec("INSERT INTO megj (konyv, doknev) VALUES (2, '/a.txt')");
    MessageRecorder rec;
    Maintenance::RebuildIndexes(C, folder, {}, nullptr);
    QVERIFY(rec.records.isEmpty());
    QCOMPARE(Database::primaryKey(C, "megj"), (QStringList{"konyv", "doknev"}));
    QVERIFY_THROWS_EXCEPTION(DbError, exec("INSERT INTO megj (konyv, doknev) VALUES (1, '/a.txt')"));
    exec("INSERT INTO megj (konyv, doknev) VALUES (1, '/b.txt')");
}

void TestMaintenance::rebuildSkipsTablesWhileCatalogueRuns()
{
    const QString folder = makeCurrentDatabase();
    exec("DROP INDEX konyv__idx_cim");
    const QString before = dump(C);
    Engine::FolderUse catalogue;
    QVERIFY(catalogue.acquire(folder));
    MessageRecorder rec;
    Maintenance::RebuildIndexes(C, folder, {}, nullptr);
    const QString inUse = "A következő file nem törölhető, valószínüleg használatban van:\r\n" +
                          QDir::toNativeSeparators(Database::filePath(folder));
    QCOMPARE(rec.texts(), QStringList(Schema::rebuildOrder().size(), inUse));
    QCOMPARE(rec.count(MsgKind::Error), 12);
    QCOMPARE(dump(C), before);
}

// ---------------------------------------------------------------- Paradox import

void TestMaintenance::importSharedFixtures_data()
{
    QTest::addColumn<QString>("source");     // folder below the fixtures
    QTest::addColumn<int>("answer");         // code page the user picks when asked
    QTest::addColumn<int>("questions");      // how often the user is asked
    QTest::addColumn<QStringList>("counts"); // table=rows
    QTest::addColumn<QStringList>("checks"); // query => expected
    QTest::addColumn<bool>("complete");      // no table needed a warning

    QTest::newRow("paradoxdriver db")
        << "paradoxdriver/db" << 1252 << 2
        << QStringList{"areacodes=370", "contacts=55", "customer=20", "decimal=9", "general=3",
                       "hercules=20",   "orders=224",  "roman8=1",    "server=4"}
        << QStringList{"SELECT FirstName || ' ' || LastName || ' ' || DateEntered FROM customer WHERE CustNo "
                       "= 1 "
                       "=> Luke Justice 1996-02-02",
                       "SELECT count(*) FROM customer WHERE Comments LIKE 'Small comment%' => 1",
                       "SELECT group_concat(name) FROM pragma_index_info('orders__primary') => Order No",
                       "SELECT count(DISTINCT \"Order No\") FROM orders => 224",
                       "SELECT type FROM pragma_table_info('customer') WHERE name = 'CustNo' => INTEGER",
                       "SELECT count(*) FROM sqlite_sequence WHERE name = 'customer' => 1"}
        << true;
    QTest::newRow("all field types, umlauts")
        << "pxlib" << 0 << 0 << QStringList{"typsammlung=5"}
        << QStringList{"SELECT Datum || ' ' || Zeit || ' ' || Logisch FROM typsammlung WHERE Alpha = 'Zweite "
                       "Zeile' "
                       "=> 1999-09-09 11:11:11.000 1",
                       "SELECT \"Datum/Zeit\" FROM typsammlung WHERE Alpha = 'Zweite Zeile' => "
                       "2003-06-10T11:11:11.000",
                       "SELECT count(*) FROM typsammlung WHERE Memo LIKE 'Dies ist eine Memo im %Fünften%' "
                       "=> 1",
                       "SELECT \"Integer lang\" FROM typsammlung WHERE Alpha = 'Zweite Zeile' => -40",
                       "SELECT group_concat(name) FROM pragma_table_info('typsammlung') WHERE pk > 0 => "
                       "Alpha,Numerisch",
                       "SELECT type FROM pragma_table_info('typsammlung') WHERE name = 'Währung' => FLOAT",
                       "SELECT type FROM pragma_table_info('typsammlung') WHERE name = 'Binär' => BLOB",
                       "SELECT BCD FROM typsammlung WHERE Alpha = 'Zweite Zeile' => -40"}
        << true;
    QTest::newRow("memo file missing, code page 437 names")
        << "paradoxreader-java" << 0 << 0 << QStringList{"membre=6"}
        << QStringList{"SELECT count(*) FROM pragma_table_info('membre') WHERE name IN ('Marié', 'N° "
                       "Licence') => 2",
                       "SELECT type FROM pragma_table_info('membre') WHERE name = 'Code_membre' => INTEGER"}
        << false;
    QTest::newRow("header code page wrong")
        << "paradoxdriver/db-history" << 1251 << 1 << QStringList{"note1251=2"}
        << QStringList{"SELECT count(*) FROM note1251 WHERE Note LIKE 'При разработке%' => 1",
                       "SELECT type FROM pragma_table_info('note1251') WHERE name = 'Note' => MEMO TEXT"}
        << true;
}

void TestMaintenance::importSharedFixtures()
{
    QFETCH(QString, source);
    QFETCH(int, answer);
    QFETCH(int, questions);
    QFETCH(QStringList, counts);
    QFETCH(QStringList, checks);
    QFETCH(bool, complete);
    const QString folder = newFolder();
    for (const QFileInfo& fi : QDir(fixture(source)).entryInfoList(QDir::Files))
        QVERIFY(copyFile(fi.absoluteFilePath(), folder));
    const auto sums = checksums(folder);
    QVERIFY(Maintenance::IsParadoxFolder(folder));

    int asked = 0;
    Maintenance::setCodePageHook([&](const QString&, int) {
        ++asked;
        return answer;
    });
    MessageRecorder rec;
    QVERIFY(Maintenance::ImportParadoxFolder(folder, {}, nullptr));
    QCOMPARE(asked, questions);
    QCOMPARE(rec.count(MsgKind::Error), 0);
    QVERIFY2(rec.count(MsgKind::Confirm) == (complete ? 0 : 1), qPrintable(rec.texts().join('\n')));
    QCOMPARE(checksums(folder).size(), sums.size() + 1);
    for (auto it = sums.cbegin(); it != sums.cend(); ++it)
        QCOMPARE(checksums(folder).value(it.key()), it.value());
    QVERIFY(!QFileInfo::exists(Maintenance::ImportWorkFolder(folder)));

    Database::open(C, folder);
    QStringList actual;
    for (const QString& t : Database::tableNames(C))
        if (t != QLatin1String("sqlite_sequence"))
            actual.append(t + "=" + scalarText(QStringLiteral("SELECT count(*) FROM \"%1\"").arg(t)));
    QCOMPARE(actual, counts);
    for (const QString& check : checks) {
        const QStringList parts = check.split(" => ");
        QCOMPARE(scalarText(parts[0]), parts[1]);
    }
}

void TestMaintenance::importBadInput_data()
{
    QTest::addColumn<QString>("kind");
    QTest::addColumn<bool>("keep");
    QTest::newRow("truncated, kept without it") << "truncated" << true;
    QTest::newRow("truncated, not kept") << "truncated" << false;
    QTest::newRow("corrupted header") << "corrupted" << true;
    QTest::newRow("not a Paradox file") << "text" << true;
    QTest::newRow("empty file") << "empty" << false;
    QTest::newRow("memo file missing, kept") << "nomemo" << true;
    QTest::newRow("memo file missing, not kept") << "nomemo" << false;
}

void TestMaintenance::importBadInput()
{
    QFETCH(QString, kind);
    QFETCH(bool, keep);
    const QString folder = newFolder();
    QVERIFY(copyFile(fixture("paradoxdriver/db/ORDERS.DB"), folder));
    QVERIFY(copyFile(fixture("paradoxdriver/db/ORDERS.PX"), folder));
    const QString bad = QDir(folder).filePath("CUSTOMER.DB");
    QFile original(fixture("paradoxdriver/db/CUSTOMER.DB"));
    QVERIFY(original.open(QIODevice::ReadOnly));
    QByteArray bytes = original.readAll();
    if (kind == "truncated")
        bytes.truncate(3000);
    else if (kind == "corrupted")
        bytes.replace(0, 8, QByteArray(8, '\xff'));
    else if (kind == "text")
        bytes = "Ez nem Paradox tábla, csak egy szöveg.\n";
    else if (kind == "empty")
        bytes.clear();
    QFile out(bad);
    QVERIFY(out.open(QIODevice::WriteOnly));
    out.write(bytes);
    out.close();
    const auto sums = checksums(folder);

    MessageRecorder rec;
    rec.answers = {keep};
    QCOMPARE(Maintenance::ImportParadoxFolder(folder, {}, nullptr), keep);
    const MsgKind reported = kind == "nomemo" ? MsgKind::Warning : MsgKind::Error;
    QCOMPARE(textsOf(rec, reported).size(), 1);
    const QString text = textsOf(rec, reported).first();
    QVERIFY2(text.contains(kind == "nomemo" ? "CUSTOMER.MB" : "CUSTOMER.DB"), qPrintable(text));
    QCOMPARE(rec.count(MsgKind::Confirm), 1);
    QVERIFY2(textsOf(rec, MsgKind::Confirm).first().contains("CUSTOMER.DB"),
             qPrintable(rec.texts().join('\n')));
    QVERIFY(!textsOf(rec, MsgKind::Confirm).first().contains("ORDERS.DB"));

    QCOMPARE(checksums(folder).size(), sums.size() + (keep ? 1 : 0));
    for (auto it = sums.cbegin(); it != sums.cend(); ++it)
        QCOMPARE(checksums(folder).value(it.key()), it.value());
    QVERIFY(!QFileInfo::exists(Maintenance::ImportWorkFolder(folder)));
    if (keep) {
        Database::open(C, folder);
        QCOMPARE(scalarText("SELECT count(*) FROM orders"), QStringLiteral("224"));
        QCOMPARE(Database::hasTable(C, "customer"), kind == "nomemo");
        if (kind == "nomemo") QCOMPARE(scalarText("SELECT count(*) FROM customer"), QStringLiteral("20"));
    }
}

void TestMaintenance::importNothingReadableKeepsNothing()
{
    const QString folder = newFolder();
    QFile f(QDir(folder).filePath("konyv.db"));
    QVERIFY(f.open(QIODevice::WriteOnly));
    f.write("nem tábla");
    f.close();
    MessageRecorder rec;
    QVERIFY(!Maintenance::ImportParadoxFolder(folder, {}, nullptr));
    QCOMPARE(rec.count(MsgKind::Error), 2);
    QVERIFY(rec.records[0].text.contains("konyv.db"));
    QCOMPARE(QDir(folder).entryList(QDir::AllEntries | QDir::NoDotAndDotDot), QStringList{"konyv.db"});
}

void TestMaintenance::importCodePageCancelled()
{
    const QString folder = newFolder();
    QVERIFY(copyFile(fixture("paradoxdriver/db/ROMAN8.db"), folder));
    QVERIFY(copyFile(fixture("paradoxdriver/db/ORDERS.DB"), folder));
    QVERIFY(copyFile(fixture("paradoxdriver/db/ORDERS.PX"), folder));
    QString askedFor;
    Maintenance::setCodePageHook([&](const QString& file, int header) {
        askedFor = QFileInfo(file).fileName() + ":" + QString::number(header);
        return 0;
    });
    MessageRecorder rec;
    QVERIFY(Maintenance::ImportParadoxFolder(folder, {}, nullptr));
    QCOMPARE(askedFor, QStringLiteral("ROMAN8.db:0"));
    QCOMPARE(rec.count(MsgKind::Error), 1);
    QVERIFY(rec.records[0].text.contains("ROMAN8.db"));
    QVERIFY(textsOf(rec, MsgKind::Confirm).first().contains("ROMAN8.db"));
    Database::open(C, folder);
    QCOMPARE(Database::tableNames(C), QStringList{"orders"});
}

// ---------------------------------------------------------------- window

void TestMaintenance::windowLayout()
{
    Tfrm_Upd_Main w;
    w.show();
    QVERIFY(QTest::qWaitForWindowExposed(&w));
    QCOMPARE(w.windowTitle(), QStringLiteral("Vemla Lerovani program adatbázis karbantartás V8.0.0.233"));
    QCOMPARE(w.size(), QSize(675, 372));
    QCOMPARE(w.minimumSize(), w.maximumSize());
    QCOMPARE(w.font().family(), QStringLiteral("Tahoma"));
    QCOMPARE(w.font().pointSize(), 9);

    auto* label1 = w.findChild<QLabel*>("Label1");
    QVERIFY(label1);
    QCOMPARE(label1->text(), QStringLiteral("Adatbázis elérési útvonala"));
    QVERIFY(w.findChild<QLabel*>("Image1"));
    auto* edit = w.findChild<QLineEdit*>("Edit1");
    QVERIFY(edit);
    QTRY_VERIFY(edit->hasFocus());

    auto* b1 = w.findChild<QPushButton*>("Button1");
    auto* b3 = w.findChild<QPushButton*>("Button3");
    auto* b2 = w.findChild<QPushButton*>("Button2");
    QVERIFY(b1 && b2 && b3);
    QCOMPARE(b1->text(), QStringLiteral("Karbantartás"));
    QCOMPARE(b3->text(), QStringLiteral("Verzióváltás"));
    QCOMPARE(b2->text(), QStringLiteral("Bezár"));
    QCOMPARE(b1->y(), b3->y());
    QVERIFY(b1->x() < b3->x() && b3->x() < b2->x());
    QVERIFY(b1->y() > edit->y());

    auto* memo = w.findChild<QPlainTextEdit*>("Memo1");
    QVERIFY(memo);
    QVERIFY(memo->isReadOnly());
    QVERIFY(!(memo->focusPolicy() & Qt::TabFocus));
    QCOMPARE(memo->font().family(), QStringLiteral("Courier New"));
    QCOMPARE(memo->font().pointSize(), 10);
    const QStringList lines = memo->toPlainText().split('\n');
    QCOMPARE(lines.size(), 12);
    QCOMPARE(lines[0], QStringLiteral("Lépések, ha új verziót kíván telepíteni:"));
    QCOMPARE(lines[1], QString());
    QCOMPARE(lines[2],
             QStringLiteral("1. Ellenőrizze, hogy egyetlen számítógépen se fusson a lerovani program."));
    QCOMPARE(lines[4], QStringLiteral("3. Nyomja meg a karbantartás gombot az adatbázis hibajavításához, "));
    QCOMPARE(lines[7], QStringLiteral("Lépések, ha adatbázisa sérült, vagy csak lassabban fut a program:"));
    QCOMPARE(lines[9],
             QStringLiteral("1. Ellenőrizze, hogy egyetlen számítógépen se működjön a lerovani program."));
    QCOMPARE(lines[11], QStringLiteral("optimalizálásához."));

    auto* label2 = w.findChild<QLabel*>("Label2");
    QVERIFY(label2 && label2->text().isEmpty());
    auto* bar = w.findChild<QProgressBar*>("ProgressBar1");
    QVERIFY(bar);
    QCOMPARE(bar->minimum(), 1);
    QCOMPARE(bar->maximum(), 33);
    QCOMPARE(bar->value(), 1);
}

void TestMaintenance::windowSettingsFile()
{
    {
        Tfrm_Upd_Main w;
        QCOMPARE(w.findChild<QLineEdit*>("Edit1")->text(), QDir::toNativeSeparators(ExeDir() + "/Data"));
    }
    QVERIFY(!QFileInfo::exists(IniFileName()));

    const QString folder = makeCurrentDatabase();
    Database::close(C);
    QFile ini(m_tmp.filePath("exe/Lerovani.ini"));
    QVERIFY(ini.open(QIODevice::WriteOnly));
    const QByteArray content = "[Defaults]\r\nFontSize=12\r\n[Database]\r\nPath=" + folder.toUtf8() + "\r\n";
    ini.write(content);
    ini.close();
    ResetFolders();
    QCOMPARE(IniFileName(), ini.fileName());

    Tfrm_Upd_Main w;
    w.show();
    auto* edit = w.findChild<QLineEdit*>("Edit1");
    QCOMPARE(edit->text(), QDir::toNativeSeparators(folder));
    MessageRecorder rec;
    QTest::mouseClick(w.findChild<QPushButton*>("Button3"), Qt::LeftButton);
    QTest::mouseClick(w.findChild<QPushButton*>("Button1"), Qt::LeftButton);
    QCOMPARE(rec.texts(), (QStringList{"Verzióváltás kész", "Indexek újraépítése kész."}));
    // A folder typed in is for this run; the file stays as it was.
    edit->setText(m_tmp.path());
    QTest::mouseClick(w.findChild<QPushButton*>("Button1"), Qt::LeftButton);
    QVERIFY(ini.open(QIODevice::ReadOnly));
    QCOMPARE(ini.readAll(), content);
}

void TestMaintenance::windowMissingFolder_data()
{
    QTest::addColumn<QString>("button");
    QTest::addColumn<QString>("folder");
    QTest::newRow("Karbantartás, no such folder") << "Button1"
                                                  << "/nincs/ilyen/mappa";
    QTest::newRow("Verzióváltás, no such folder") << "Button3"
                                                  << "/nincs/ilyen/mappa";
    QTest::newRow("Verzióváltás, empty box") << "Button3"
                                             << "";
    QTest::newRow("Karbantartás, a file, not a folder") << "Button1"
                                                        << "FILE";
}

void TestMaintenance::windowMissingFolder()
{
    QFETCH(QString, button);
    QFETCH(QString, folder);
    if (folder == "FILE") {
        folder = m_tmp.filePath("file.txt");
        QFile f(folder);
        QVERIFY(f.open(QIODevice::WriteOnly));
    }
    Tfrm_Upd_Main w;
    w.show();
    w.findChild<QLineEdit*>("Edit1")->setText(folder);
    MessageRecorder rec;
    QTest::mouseClick(w.findChild<QPushButton*>(button), Qt::LeftButton);
    QCOMPARE(rec.texts(), QStringList{"Nem létező adatbázis mappa."});
    QCOMPARE(rec.records[0].kind, MsgKind::Error);
}

void TestMaintenance::windowUpgradeAndRebuild()
{
    const QString folder = makeOldDatabase();
    Database::close(C);
    Tfrm_Upd_Main w;
    w.show();
    auto* edit = w.findChild<QLineEdit*>("Edit1");
    edit->clear();
    QTest::keyClicks(edit, QDir::toNativeSeparators(folder) + QDir::separator());
    MessageRecorder rec;
    QTest::mouseClick(w.findChild<QPushButton*>("Button3"), Qt::LeftButton);
    QCOMPARE(rec.texts(), QStringList{"Verzióváltás kész"});
    QCOMPARE(rec.records[0].kind, MsgKind::Info);
    QVERIFY(w.findChild<QLabel*>("Label2")->text().isEmpty());
    QCOMPARE(w.findChild<QProgressBar*>("ProgressBar1")->value(), 1);
    QVERIFY(!Database::isOpen(Tfrm_Upd_Main::connectionName()));

    QTest::mouseClick(w.findChild<QPushButton*>("Button1"), Qt::LeftButton);
    QCOMPARE(rec.texts(), (QStringList{"Verzióváltás kész", "Indexek újraépítése kész."}));
    Database::open(C, folder);
    QCOMPARE(indexNames(C, "konyv"), schemaIndexNames("konyv"));
    const QString after = dump(C);
    Database::close(C);

    QTest::mouseClick(w.findChild<QPushButton*>("Button3"), Qt::LeftButton);
    QCOMPARE(rec.texts().last(), QStringLiteral("Verzióváltás kész"));
    QCOMPARE(rec.records.size(), 3);
    QCOMPARE(dumpFolder(folder), after);
}

void TestMaintenance::windowCatalogueRunning()
{
    const QString folder = makeOldDatabase();
    const QString before = dump(C);
    Database::close(C);
    Engine::FolderUse catalogue;
    QVERIFY(catalogue.acquire(folder));
    const QStringList users = Engine::FolderUse::otherUsers(folder);
    QCOMPARE(users.size(), 1);

    Tfrm_Upd_Main w;
    w.show();
    w.findChild<QLineEdit*>("Edit1")->setText(folder);
    MessageRecorder rec;
    QTest::mouseClick(w.findChild<QPushButton*>("Button3"), Qt::LeftButton);
    QCOMPARE(rec.records.size(), 1);
    QCOMPARE(rec.records[0].kind, MsgKind::Error);
    QVERIFY(rec.records[0].text.contains("Lerovani program"));
    QVERIFY(rec.records[0].text.contains(users.first()));
    QCOMPARE(dumpFolder(folder), before);

    rec.records.clear();
    QTest::mouseClick(w.findChild<QPushButton*>("Button1"), Qt::LeftButton);
    QCOMPARE(rec.count(MsgKind::Error), 12);
    QVERIFY(rec.records[0].text.endsWith(QDir::toNativeSeparators(Database::filePath(folder))));
    QCOMPARE(rec.records.last().text, QStringLiteral("Indexek újraépítése kész."));
    QCOMPARE(dumpFolder(folder), before);

    catalogue.release();
    rec.records.clear();
    QTest::mouseClick(w.findChild<QPushButton*>("Button3"), Qt::LeftButton);
    QCOMPARE(rec.texts(), QStringList{"Verzióváltás kész"});
}

void TestMaintenance::windowParadoxCatalogue()
{
    const int n = 40;
    const QString folder = newFolder();
    QString error;
    QVERIFY2(OldParadoxCatalog::write(folder, n, &error), qPrintable(error));
    const auto sums = checksums(folder);

    Tfrm_Upd_Main w;
    w.show();
    w.findChild<QLineEdit*>("Edit1")->setText(folder);
    MessageRecorder rec;
    // Before the version change there is nothing to rebuild: the user is sent to the right button.
    QTest::mouseClick(w.findChild<QPushButton*>("Button1"), Qt::LeftButton);
    QCOMPARE(rec.count(MsgKind::Error), 1);
    QVERIFY(!QFileInfo::exists(Database::filePath(folder)));
    rec.records.clear();

    QTest::mouseClick(w.findChild<QPushButton*>("Button3"), Qt::LeftButton);
    QCOMPARE(rec.texts(), QStringList{"Verzióváltás kész"});
    QVERIFY(!QFileInfo::exists(Maintenance::ImportWorkFolder(folder)));
    for (auto it = sums.cbegin(); it != sums.cend(); ++it)
        QCOMPARE(checksums(folder).value(it.key()), it.value());

    QTest::mouseClick(w.findChild<QPushButton*>("Button1"), Qt::LeftButton);
    QCOMPARE(rec.texts().last(), QStringLiteral("Indexek újraépítése kész."));
    QCOMPARE(rec.records.size(), 2);

    Database::open(C, folder);
    Engine::Table tbl(C);
    tbl.setTableName("Konyv.DB");
    tbl.setFieldDefs(Schema::boundKonyvFields());
    tbl.setIndexName("idx_sorszam"); // rebuilt
    tbl.setIndexFieldNames("sorszam");
    tbl.open();
    QCOMPARE(tbl.recordCount(), n);
    for (int i = 1; i <= n; ++i) {
        tbl.moveTo(i - 1);
        QCOMPARE(tbl.value("sorszam").toInt(), i);
        QCOMPARE(tbl.value("az").toInt(), OldParadoxCatalog::az(i));
        QCOMPARE(tbl.value("tipus").toInt(), OldParadoxCatalog::tipus(i));
        QCOMPARE(tbl.value("cim").toString(), OldParadoxCatalog::cim(i));
        QCOMPARE(tbl.value("tartalom").toString(), OldParadoxCatalog::tartalom(i));
        QCOMPARE(tbl.value("lista").toString(), OldParadoxCatalog::lista(i));
        QCOMPARE(tbl.value("kiado_nev").toString(), OldParadoxCatalog::kiadoNev(OldParadoxCatalog::kiado(i)));
        QCOMPARE(tbl.value("polcon").toBool(), i % 4 != 0);
        QCOMPARE(tbl.value("datum").toDate(), i % 4 == 0 ? QDate(2001, 2, 3).addDays(i % 300) : QDate());
        QCOMPARE(tbl.value("ar").toDouble(), 0.0);
    }
    tbl.close();
    QCOMPARE(scalarText("SELECT tipus FROM tipus WHERE tipus_nev = 'Kotta'"), QStringLiteral("9"));
    QCOMPARE(scalarText("SELECT doknev FROM megj"), QStringLiteral("C:\\Képek\\borító.jpg"));
    QCOMPARE(Database::primaryKey(C, "megj"), (QStringList{"konyv", "doknev"}));
    const QString after = dump(C);
    Database::close(C);

    // The folder now has its database: a second run neither imports again nor changes anything.
    rec.records.clear();
    QTest::mouseClick(w.findChild<QPushButton*>("Button3"), Qt::LeftButton);
    QCOMPARE(rec.texts(), QStringList{"Verzióváltás kész"});
    QCOMPARE(dumpFolder(folder), after);
}

void TestMaintenance::windowOldCatalogFixture_data()
{
    QTest::addColumn<bool>("cut");
    QTest::newRow("long memo cut") << true;
    QTest::newRow("long memo kept, upgrade stops") << false;
}

// The old catalogue that the Paradox reader's own tests use, written independently of ours.
void TestMaintenance::windowOldCatalogFixture()
{
#ifndef LEROVANI_OLDCATALOG_DATA
    QSKIP("tests/paradox is not part of this build");
#else
    QFETCH(bool, cut);
    const QString folder = newFolder();
    for (const QFileInfo& fi : QDir(QStringLiteral(LEROVANI_OLDCATALOG_DATA)).entryInfoList(QDir::Files))
        QVERIFY(copyFile(fi.absoluteFilePath(), folder));
    const auto sums = checksums(folder);
    OldCatalog::Table konyv;
    OldCatalog::Table kiado;
    for (const OldCatalog::Table& t : OldCatalog::tables()) {
        if (t.fileName == QLatin1String("konyv.DB")) konyv = t;
        if (t.fileName == QLatin1String("kiado.DB")) kiado = t;
    }
    auto col = [&](const OldCatalog::Table& t, const char* name) {
        for (int i = 0; i < t.fields.size(); ++i)
            if (t.fields[i].name == QLatin1String(name)) return i;
        return -1;
    };
    int longMemos = 0;
    for (const auto& row : konyv.rows)
        if (row[col(konyv, "tartalom")].toString().size() > 255 ||
            row[col(konyv, "lista")].toString().size() > 255)
            ++longMemos;
    QVERIFY2(longMemos > 0, "the fixture is expected to hold a memo longer than a text field");

    Tfrm_Upd_Main w;
    w.show();
    w.findChild<QLineEdit*>("Edit1")->setText(folder);
    MessageRecorder rec;
    rec.answers = {cut, cut};
    QTest::mouseClick(w.findChild<QPushButton*>("Button3"), Qt::LeftButton);
    QVERIFY(rec.count(MsgKind::Confirm) >= 1);
    QVERIFY(rec.records[0].text.contains("tartalom") || rec.records[0].text.contains("lista"));
    QCOMPARE(rec.count(MsgKind::Error), 0);
    QVERIFY2((rec.texts().last() == QStringLiteral("Verzióváltás kész")) == cut,
             qPrintable(rec.texts().join("\n---\n")));
    for (auto it = sums.cbegin(); it != sums.cend(); ++it)
        QCOMPARE(checksums(folder).value(it.key()), it.value());

    // The import is kept either way; only the upgrade waits for the user.
    Database::open(C, folder);
    QCOMPARE(scalarText("SELECT count(*) FROM konyv"), QString::number(konyv.rows.size()));
    for (const auto& row : konyv.rows) {
        const QVariantMap key{{":az", row[col(konyv, "az")]}};
        QSqlQuery q = Database::exec(
            C, "SELECT cim, szerzo, tartalom, lista, datum, polcon, ar FROM konyv WHERE az = :az", key);
        QVERIFY(q.next());
        QCOMPARE(q.value(0).toString(), row[col(konyv, "cim")].toString());
        QCOMPARE(q.value(1).toString(), row[col(konyv, "szerzo")].toString());
        const QString tartalom = row[col(konyv, "tartalom")].toString();
        QCOMPARE(q.value(2).toString(), cut ? tartalom.left(255) : tartalom);
        const QString lista = row[col(konyv, "lista")].toString();
        QCOMPARE(q.value(3).toString(), cut ? lista.left(255) : lista);
        const QDate datum = row[col(konyv, "datum")].toDate();
        QCOMPARE(q.value(4).toString(), datum.isValid() ? datum.toString(Qt::ISODate) : QString());
        QCOMPARE(q.value(5).toBool(), row[col(konyv, "polcon")].toBool());
        QCOMPARE(q.value(6).toDouble(), row[col(konyv, "ar")].toDouble());
    }
    if (cut) {
        for (const auto& row : konyv.rows) {
            QString name;
            for (const auto& k : kiado.rows)
                if (k[col(kiado, "kiado")].toLongLong() == row[col(konyv, "kiado")].toLongLong())
                    name = k[col(kiado, "kiado_nev")].toString();
            QCOMPARE(scalarText(QStringLiteral("SELECT ifnull(kiado_nev, '') FROM konyv WHERE az = %1")
                                    .arg(row[col(konyv, "az")].toLongLong())),
                     name);
        }
        Engine::Table tbl(C);
        tbl.setTableName("konyv.DB");
        tbl.setFieldDefs(Schema::boundKonyvFields());
        tbl.open();
    } else {
        bool memo = false;
        for (const FieldInfo& f : Database::fields(C, "konyv"))
            memo = memo || f.type == FieldType::Memo;
        QVERIFY(memo);
    }
#endif
}

void TestMaintenance::windowCloses()
{
    Tfrm_Upd_Main w;
    w.show();
    QVERIFY(QTest::qWaitForWindowExposed(&w));
    QTest::mouseClick(w.findChild<QPushButton*>("Button2"), Qt::LeftButton);
    QVERIFY(!w.isVisible());
}

QTEST_MAIN(TestMaintenance)
#include "tst_maintenance.moc"
