#include "database.h"
#include "dberror.h"
#include "schema.h"
#include "table.h"

#include <QFile>
#include <QTemporaryDir>
#include <QTest>

using namespace Engine;

class TestSchema : public QObject
{
    Q_OBJECT

private slots:
    void newDatabaseHasEverything()
    {
        QTemporaryDir home;
        const QString folder = home.filePath(QStringLiteral("Data"));
        Schema::createDatabase(folder);
        const QString c = QStringLiteral("s");
        Database::open(c, folder);
        QStringList expected;
        for (const Schema::TableDef& t : Schema::tables())
            expected << t.name;
        expected.sort();
        QCOMPARE(Database::tableNames(c), expected);

        int secondary = 0;
        for (const Schema::TableDef& t : Schema::tables()) {
            const QList<FieldInfo> f = Database::fields(c, t.name);
            QCOMPARE(f.size(), t.fields.size());
            for (int i = 0; i < f.size(); ++i) {
                QCOMPARE(f[i].name, t.fields[i].name);
                QCOMPARE(f[i].type, t.fields[i].type);
                if (t.fields[i].type == FieldType::String)
                    QCOMPARE(f[i].size, t.fields[i].size);
            }
            QCOMPARE(Database::primaryKey(c, t.name), t.primaryKey);
            QStringList names;
            for (const IndexInfo& ix : Database::indexes(c, t.name))
                if (!ix.name.isEmpty())
                    names << ix.name;
            for (const Schema::IndexDef& ix : t.indexes)
                QVERIFY2(names.contains(ix.name), qPrintable(t.name + ": " + ix.name));
            secondary += static_cast<int>(t.indexes.size());
        }
        QCOMPARE(secondary, 23);
        QCOMPARE(Database::scalar(c, QStringLiteral("SELECT tipus_nev FROM tipus WHERE tipus=9")).toString(),
                 QStringLiteral("Kotta"));
        QCOMPARE(Database::scalar(c, QStringLiteral("SELECT count(*) FROM tipus")).toInt(), 9);
        QCOMPARE(Database::scalar(c, QStringLiteral("SELECT leltszammaszk FROM beallit")).toString(),
                 QStringLiteral("0000000"));
        QCOMPARE(Database::scalar(c, QStringLiteral("SELECT leltszam FROM beallit")).toInt(), 0);

        // The catalogue's own binding of konyv opens on the new table.
        Table t(c);
        t.setTableName(QStringLiteral("Konyv.DB"));
        t.setFieldDefs(Schema::boundKonyvFields());
        t.setIndexName(QStringLiteral("idx_sorszam"));
        t.open();
        QCOMPARE(t.fields().size(), 41);
        // A new lookup row numbers itself.
        Database::exec(c, QStringLiteral("INSERT INTO kiado (kiado_nev, tip) VALUES ('Móra', 1)"));
        QCOMPARE(Database::scalar(c, QStringLiteral("SELECT kiado FROM kiado")).toInt(), 1);
        // Paths differing in letter case are two attachments.
        Database::exec(c, QStringLiteral("INSERT INTO megj (konyv, doknev) VALUES (1, '/a/Kep.jpg')"));
        Database::exec(c, QStringLiteral("INSERT INTO megj (konyv, doknev) VALUES (1, '/a/kep.jpg')"));
        QVERIFY_THROWS_EXCEPTION(DbError,
                                 Database::exec(c, QStringLiteral("INSERT INTO megj (konyv, doknev) VALUES (1, '/a/kep.jpg')")));
        t.close();
        Database::close(c);

        QVERIFY_THROWS_EXCEPTION(DbError, Schema::createDatabase(folder));
    }
};

QTEST_GUILESS_MAIN(TestSchema)
#include "tst_schema.moc"
