#include "collation.h"
#include "database.h"
#include "dberror.h"
#include "dialect.h"
#include "folderuse.h"
#include "table.h"
#include "tablemodel.h"

#include <QAbstractItemModelTester>
#include <QDate>
#include <QFile>
#include <QSignalSpy>
#include <QTemporaryDir>
#include <QTest>

using namespace Engine;

class TestEngine : public QObject
{
    Q_OBJECT

    QTemporaryDir m_dir;
    const QString C = QStringLiteral("t");

    void exec(const QString& sql) { Database::exec(C, sql); }

private slots:
    void init()
    {
        QVERIFY(m_dir.isValid());
        QFile::remove(Database::filePath(m_dir.path()));
        Database::open(C, m_dir.path(), Database::OpenMode::CreateIfMissing);
    }
    void cleanup() { Database::close(C); }

    void hungarianOrder_data()
    {
        QTest::addColumn<QString>("less");
        QTest::addColumn<QString>("greater");
        QTest::newRow("c before cs") << "cukor" << "csiga";
        QTest::newRow("dz before dzs") << "dzéta" << "dzsungel";
        QTest::newRow("o before ö") << "orr" << "ötös";
        QTest::newRow("sz after s") << "sztár" << "szép" ; // same letter sz: t < é? no: compare below
        QTest::newRow("z before zs") << "zebra" << "zsák";
        QTest::newRow("ny after n") << "nyúl" << "o";
    }
    void hungarianOrder()
    {
        QFETCH(QString, less);
        QFETCH(QString, greater);
        if (QString::fromLatin1(QTest::currentDataTag()) == QLatin1String("sz after s")) {
            QVERIFY(compareHungarian(QStringLiteral("sül"), QStringLiteral("szél")) < 0);
            return;
        }
        QVERIFY2(compareHungarian(less, greater) < 0, qPrintable(less + " < " + greater));
        QVERIFY(compareHungarian(greater, less) > 0);
    }

    void collationInSqlIsCaseInsensitive()
    {
        exec(QStringLiteral("CREATE TABLE w (id AUTOINC, nev CHAR(20), PRIMARY KEY (id))"));
        for (const char* w : {"csiga", "Cukor", "dzsungel", "DZÉTA", "cukor", "Álom", "alma"})
            Database::exec(C, QStringLiteral("INSERT INTO w (nev) VALUES (:n)"), {{":n", QString::fromUtf8(w)}});
        QSqlQuery q = Database::exec(C, QStringLiteral("SELECT nev FROM w ORDER BY nev, id"));
        QStringList got;
        while (q.next())
            got << q.value(0).toString();
        QCOMPARE(got, (QStringList{"alma", "Álom", "Cukor", "cukor", "csiga", "DZÉTA", "dzsungel"}));
        QCOMPARE(Database::scalar(C, QStringLiteral("SELECT count(*) FROM w WHERE nev = 'CUKOR'")).toInt(), 2);
        QCOMPARE(Database::scalar(C, QStringLiteral("SELECT upper('árvíztűrő') ")).toString(), QStringLiteral("ÁRVÍZTŰRŐ"));
        QCOMPARE(Database::scalar(C, QStringLiteral("SELECT lower('ŐSZ')")).toString(), QStringLiteral("ősz"));
    }

    void dialect_data()
    {
        QTest::addColumn<QString>("local");
        QTest::addColumn<QString>("sqlite");
        QTest::newRow("table extension") << "SELECT * FROM Konyv.DB WHERE konyv.tipus=1"
                                         << "SELECT * FROM Konyv WHERE konyv.tipus=1";
        QTest::newRow("string literal untouched") << "SELECT 'a.DB' FROM x" << "SELECT 'a.DB' FROM x";
        QTest::newRow("alter char") << "ALTER TABLE konyv ADD kiado_nev CHAR(50);"
                                    << "ALTER TABLE konyv ADD COLUMN kiado_nev CHAR(50) COLLATE HU;";
        QTest::newRow("alter int") << "ALTER TABLE konyv ADD sorszam INT;"
                                   << "ALTER TABLE konyv ADD COLUMN sorszam INTEGER;";
        QTest::newRow("create autoinc key")
            << "CREATE TABLE beallit(\n beallit AUTOINC,\n leltszam INT,\n leltszammaszk CHAR(15),\nPRIMARY KEY (beallit));"
            << "CREATE TABLE beallit(beallit INTEGER PRIMARY KEY AUTOINCREMENT, leltszam INTEGER, leltszammaszk "
               "CHAR(15) COLLATE HU);";
        QTest::newRow("create text key")
            << "CREATE TABLE szakjel ( szakjel CHAR(10), szakjel_nev CHAR(50), PRIMARY KEY(szakjel));"
            << "CREATE TABLE szakjel (szakjel CHAR(10) COLLATE HU, szakjel_nev CHAR(50) COLLATE HU, PRIMARY KEY "
               "(szakjel));";
        QTest::newRow("quoted key and sqlite column kept")
            << "CREATE TABLE q (\"Order No\" INT, n MEMO TEXT COLLATE HU, PRIMARY KEY (\"Order No\"))"
            << "CREATE TABLE q (\"Order No\" INTEGER PRIMARY KEY, n MEMO TEXT COLLATE HU)";
    }
    void dialect()
    {
        QFETCH(QString, local);
        QFETCH(QString, sqlite);
        QCOMPARE(Dialect::translate(local), sqlite);
    }

    void autoincNumbersRowsAndTypesAreReported()
    {
        exec(QStringLiteral("CREATE TABLE polc(\n polc AUTOINC,\n polc_nev CHAR(25),\nPRIMARY KEY (polc));"));
        exec(QStringLiteral("INSERT INTO polc (polc_nev) VALUES ('A')"));
        exec(QStringLiteral("INSERT INTO polc.DB (polc_nev) VALUES ('B')"));
        QCOMPARE(Database::scalar(C, QStringLiteral("SELECT max(polc) FROM polc")).toInt(), 2);
        const QList<FieldInfo> f = Database::fields(C, QStringLiteral("Polc.DB"));
        QCOMPARE(f.size(), 2);
        QCOMPARE(f[0].type, FieldType::AutoInc);
        QCOMPARE(f[1].type, FieldType::String);
        QCOMPARE(f[1].size, 25);
        exec(QStringLiteral("CREATE TABLE m (a INT, b MEMO, c DATE, d FLOAT, e BOOLEAN, g BLOB(1,1), h BLOB)"));
        const QList<FieldInfo> m = Database::fields(C, QStringLiteral("m"));
        QCOMPARE(m[0].type, FieldType::Integer);
        QCOMPARE(m[1].type, FieldType::Memo);
        QCOMPARE(m[2].type, FieldType::Date);
        QCOMPARE(m[3].type, FieldType::Float);
        QCOMPARE(m[4].type, FieldType::Boolean);
        QCOMPARE(m[5].type, FieldType::Memo);
        QCOMPARE(m[6].type, FieldType::Blob);
        // A memo keeps digits as text (no numeric affinity).
        exec(QStringLiteral("INSERT INTO m (b) VALUES ('007')"));
        QCOMPARE(Database::scalar(C, QStringLiteral("SELECT b FROM m")).toString(), QStringLiteral("007"));
        QCOMPARE(Database::tableNames(C), (QStringList{"m", "polc"}));
    }

    void tableEditsCutsTextAndRunsHooks()
    {
        exec(QStringLiteral("CREATE TABLE k (az INT, nev CHAR(5), d DATE, b BOOLEAN, PRIMARY KEY (az))"));
        Database::addIndex(C, QStringLiteral("k"), QStringLiteral("idx_nev"), {QStringLiteral("nev")});
        Table t(C);
        t.setTableName(QStringLiteral("k.DB"));
        t.addCalcField(QStringLiteral("bstr"), FieldType::String, 10);
        t.setCalcFields([](RowRef r) {
            r.setValue(QStringLiteral("bstr"), r.value(QStringLiteral("b")).toBool() ? QStringLiteral("Igen")
                                                                                    : QStringLiteral("Nem"));
        });
        int before = 0, after = 0;
        t.setBeforePost([&] {
            ++before;
            if (t.isNull(QStringLiteral("az")))
                t.setValue(QStringLiteral("az"),
                           Database::scalar(C, QStringLiteral("SELECT MAX(az) FROM k"), 0).toInt() + 1);
        });
        t.setAfterPost([&] { ++after; });
        t.open();
        QVERIFY(t.isEmpty());
        QCOMPARE(t.recNo(), 0);
        for (const char* n : {"Zsófi", "ábel", "Csaba hosszú név"}) {
            t.insert();
            t.setValue(QStringLiteral("nev"), QString::fromUtf8(n));
            t.setValue(QStringLiteral("b"), true);
            QCOMPARE(t.value(QStringLiteral("bstr")).toString(), QStringLiteral("Igen"));
            t.post();
        }
        QCOMPARE(before, 3);
        QCOMPARE(after, 3);
        QCOMPARE(t.recordCount(), 3);
        QCOMPARE(t.value(QStringLiteral("az")).toInt(), 3);
        QCOMPARE(t.value(QStringLiteral("nev")).toString(), QStringLiteral("Csaba")); // cut to 5 on save

        t.setIndexName(QStringLiteral("idx_nev"));
        QCOMPARE(t.value(QStringLiteral("az")).toInt(), 3); // current row kept under the new order
        t.first();
        QCOMPARE(t.value(QStringLiteral("nev")).toString(), QStringLiteral("ábel"));
        QVERIFY(t.locate(QStringLiteral("nev"), QStringLiteral("zS"), {true, true}));
        QCOMPARE(t.value(QStringLiteral("az")).toInt(), 1);
        QVERIFY(!t.locate(QStringLiteral("nev"), QStringLiteral("x"), {true, true}));
        QCOMPARE(t.value(QStringLiteral("az")).toInt(), 1); // stays
        QVERIFY(!t.locate(QStringLiteral("az"), QStringLiteral("abc")));
        QVERIFY(t.locate(QStringLiteral("az"), 2));
        QCOMPARE(t.recNo(), 1);

        // A value the field cannot hold is refused and the buffer keeps the rest.
        t.edit();
        t.setValue(QStringLiteral("nev"), QStringLiteral("Béla"));
        QVERIFY_THROWS_EXCEPTION(DbError, t.setValue(QStringLiteral("az"), QStringLiteral("abc")));
        QCOMPARE(t.value(QStringLiteral("nev")).toString(), QStringLiteral("Béla"));
        t.cancel();
        QCOMPARE(t.value(QStringLiteral("nev")).toString(), QStringLiteral("ábel"));

        // A refused save leaves the row in edit state with what was typed.
        t.setBeforePost([] { throw DbError(QStringLiteral("nem")); });
        t.edit();
        t.setValue(QStringLiteral("d"), QDate(2024, 3, 15));
        QVERIFY_THROWS_EXCEPTION(DbError, t.post());
        QCOMPARE(t.state(), Table::State::Edit);
        QCOMPARE(t.value(QStringLiteral("d")).toDate(), QDate(2024, 3, 15));
        t.setBeforePost({});
        t.post();
        QCOMPARE(Database::scalar(C, QStringLiteral("SELECT d FROM k WHERE az=2")).toString(), QStringLiteral("2024-03-15"));

        t.setFilter(QStringLiteral("az>1"));
        t.setFiltered(true);
        QCOMPARE(t.recordCount(), 2);
        t.remove();
        QCOMPARE(t.recordCount(), 1);
        QCOMPARE(Database::scalar(C, QStringLiteral("SELECT count(*) FROM k")).toInt(), 2);

        QVERIFY_THROWS_EXCEPTION(DbError, t.setIndexName(QStringLiteral("idx_nincs")));
        QCOMPARE(t.indexName(), QStringLiteral("idx_nev"));
    }

    void boundFieldsAreChecked()
    {
        exec(QStringLiteral("CREATE TABLE k (az AUTOINC, nev CHAR(5), PRIMARY KEY (az))"));
        Table t(C);
        t.setTableName(QStringLiteral("k"));
        t.setFieldDefs({{QStringLiteral("az"), FieldType::Integer, 0}});
        try {
            t.open();
            QFAIL("opened");
        } catch (const DbError& e) {
            QVERIFY(e.message().contains(QStringLiteral("„az”")));
        }
        t.setFieldDefs({{QStringLiteral("lista"), FieldType::String, 255}});
        QVERIFY_THROWS_EXCEPTION(DbError, t.open());
        QVERIFY(!t.isActive());
    }

    void modelShowsRowsLazily()
    {
        exec(QStringLiteral("CREATE TABLE k (az INT, nev CHAR(20), PRIMARY KEY (az))"));
        for (int i = 1; i <= 500; ++i)
            Database::exec(C, QStringLiteral("INSERT INTO k VALUES (:a, :n)"), {{":a", i}, {":n", QString("n%1").arg(i)}});
        Table t(C);
        t.setTableName(QStringLiteral("k"));
        t.open();
        TableModel m(&t, {{QStringLiteral("az"), QStringLiteral("sorszám"), 0.5, QStringLiteral("00000")},
                          {QStringLiteral("nev"), QStringLiteral("név"), 0.5, {}}});
        QAbstractItemModelTester tester(&m);
        QCOMPARE(m.rowCount(), 500);
        QCOMPARE(m.data(m.index(6, 0)).toString(), QStringLiteral("00007"));
        QCOMPARE(m.data(m.index(499, 1)).toString(), QStringLiteral("n500"));
        QCOMPARE(m.headerData(1, Qt::Horizontal).toString(), QStringLiteral("név"));
        t.setFilter(QStringLiteral("az <= 10"));
        t.setFiltered(true);
        QCOMPARE(m.rowCount(), 10);
    }

    void damagedFilesAreRefusedUntouched_data()
    {
        QTest::addColumn<QByteArray>("content");
        QTest::newRow("not sqlite") << QByteArray("Ez egy szöveg, nem adatbázis.\n").repeated(50);
        QTest::newRow("empty") << QByteArray();
    }
    void damagedFilesAreRefusedUntouched()
    {
        QFETCH(QByteArray, content);
        QTemporaryDir d;
        QFile f(Database::filePath(d.path()));
        QVERIFY(f.open(QIODevice::WriteOnly));
        f.write(content);
        f.close();
        QVERIFY_THROWS_EXCEPTION(DbError, Database::open(QStringLiteral("bad"), d.path()));
        QVERIFY(f.open(QIODevice::ReadOnly));
        QCOMPARE(f.readAll(), content);
    }

    void truncatedDatabaseIsRefused()
    {
        exec(QStringLiteral("CREATE TABLE k (az INT, nev CHAR(200), PRIMARY KEY (az))"));
        for (int i = 1; i <= 300; ++i)
            Database::exec(C, QStringLiteral("INSERT INTO k VALUES (:a, :n)"),
                           {{":a", i}, {":n", QString(150, QChar(u'x'))}});
        Database::close(C);
        QFile f(Database::filePath(m_dir.path()));
        QVERIFY(f.open(QIODevice::ReadOnly));
        const QByteArray whole = f.readAll();
        f.close();
        QTemporaryDir d;
        QFile g(Database::filePath(d.path()));
        QVERIFY(g.open(QIODevice::WriteOnly));
        const QByteArray half = whole.left(whole.size() / 2 / 4096 * 4096);
        g.write(half);
        g.close();
        QString why;
        QVERIFY(!Database::checkFile(g.fileName(), &why));
        QVERIFY(!why.isEmpty());
        QVERIFY(g.open(QIODevice::ReadOnly));
        QCOMPARE(g.readAll(), half);
        Database::open(C, m_dir.path());
    }

    void lockedDatabaseReportsTheEngineMessage()
    {
        exec(QStringLiteral("CREATE TABLE k (az INT, PRIMARY KEY (az))"));
        Database::open(QStringLiteral("other"), m_dir.path());
        Database::begin(QStringLiteral("other"));
        Database::exec(QStringLiteral("other"), QStringLiteral("INSERT INTO k VALUES (1)"));
        QSqlQuery q(Database::handle(C));
        QVERIFY(q.exec(QStringLiteral("PRAGMA busy_timeout=50")));
        Table t(C);
        t.setTableName(QStringLiteral("k"));
        t.open();
        t.insert();
        t.setValue(QStringLiteral("az"), 2);
        try {
            t.post();
            QFAIL("saved while locked");
        } catch (const DbError& e) {
            QVERIFY(e.message().contains(QStringLiteral("zárolva")));
        }
        QCOMPARE(t.state(), Table::State::Insert);
        QCOMPARE(t.value(QStringLiteral("az")).toInt(), 2);
        Database::rollback(QStringLiteral("other"));
        Database::close(QStringLiteral("other"));
        t.post();
        QCOMPARE(t.recordCount(), 1);
    }

    void folderUseSeesOtherCopies()
    {
        FolderUse a;
        QVERIFY(a.acquire(m_dir.path()));
        QVERIFY(FolderUse::otherUsers(m_dir.path(), &a).isEmpty());
        QCOMPARE(FolderUse::otherUsers(m_dir.path()).size(), 1);
        a.release();
        QVERIFY(FolderUse::otherUsers(m_dir.path()).isEmpty());
    }
};

QTEST_GUILESS_MAIN(TestEngine)
#include "tst_engine.moc"
