#include "oldcatalog.h"
#include "paradoxcodepage.h"
#include "paradoxreader.h"
#include "paradoxwriter.h"

#include <QDir>
#include <QDirIterator>
#include <QElapsedTimer>
#include <QFile>
#include <QRandomGenerator>
#include <QTemporaryDir>
#include <QTest>
#include <QtEndian>

#include <cmath>

using namespace Maintenance;
namespace T = Maintenance::ParadoxType;

namespace {

QString fixture(const QString& relative)
{
    return QStringLiteral(LEROVANI_SHARED_FIXTURES "/paradox/") + relative;
}

QByteArray contents(const QString& path)
{
    QFile f(path);
    if (!f.open(QIODevice::ReadOnly)) return QByteArray();
    return f.readAll();
}

bool store(const QString& path, const QByteArray& data)
{
    QFile f(path);
    return f.open(QIODevice::WriteOnly | QIODevice::Truncate) && f.write(data) == data.size();
}

std::optional<ParadoxTable> readTable(const QString& path, int codePage = 0, QString* error = nullptr)
{
    ParadoxReader::ReadOptions options;
    options.codePageOverride = codePage;
    QString message;
    auto table = ParadoxReader::read(path, options, &message);
    if (error) *error = message;
    return table;
}

// The same type and, for doubles within rounding, the same value.
bool sameValue(const QVariant& actual, const QVariant& expected, QString* why)
{
    if (actual.metaType() != expected.metaType()) {
        *why = QStringLiteral("type %1, expected %2").arg(actual.typeName(), expected.typeName());
        return false;
    }
    if (actual.isNull() || expected.isNull()) {
        *why = QStringLiteral("null %1, expected null %2").arg(actual.isNull()).arg(expected.isNull());
        return actual.isNull() == expected.isNull();
    }
    bool same = false;
    if (expected.typeId() == QMetaType::Double) {
        const double a = actual.toDouble();
        const double e = expected.toDouble();
        same = a == e || std::fabs(a - e) <= 1e-9 * qMax(1.0, std::fabs(e));
    } else {
        same = actual == expected;
    }
    if (!same)
        *why = QStringLiteral("'%1', expected '%2'")
                   .arg(actual.toString().left(200), expected.toString().left(200));
    return same;
}

int countBlocksOfType(const QByteArray& mb, int type)
{
    int n = 0;
    for (qsizetype at = 4096; at < mb.size(); at += 4096) {
        if (static_cast<unsigned char>(mb[at]) == type) ++n;
    }
    return n;
}

} // namespace

class TestParadox : public QObject
{
    Q_OBJECT

private slots:
    void readsFixture_data();
    void readsFixture();
    void everyFixtureListed();
    void fixtureValue_data();
    void fixtureValue();
    void memosAndGraphicsFromMbFile();
    void codePageOverride();
    void codePagePlausibility_data();
    void codePagePlausibility();
    void codePageTables_data();
    void codePageTables();
    void codePageRoundTrip();
    void refusesBadFile_data();
    void refusesBadFile();
    void refusesMissingFileAndFolder();
    void missingMbKeepsPrefixes();
    void damagedBlob_data();
    void damagedBlob();
    void recordCountMismatch_data();
    void recordCountMismatch();
    void emptyBlockInChain();
    void writerRoundTripAllTypes();
    void writerRefusesBadInput_data();
    void writerRefusesBadInput();
    void oldCatalogRoundTrip();
    void committedOldCatalog();
    void damagedFilesNeverCrash();

private:
    void compareWithOldCatalog(const QString& folder);
};

void TestParadox::readsFixture_data()
{
    QTest::addColumn<QString>("file");
    QTest::addColumn<int>("codePage");
    QTest::addColumn<int>("rows");
    QTest::addColumn<int>("fields");
    QTest::addColumn<int>("keyFields");
    QTest::addColumn<int>("headerCodePage");
    QTest::addColumn<int>("warnings");

    // Row and field counts as in the table summary of SOURCES.md; one warning where the
    // header's code page is unusable or the .MB file is missing.
    QTest::newRow("biolife") << "biolife/BIOLIFE.DB" << 0 << 28 << 8 << 0 << 866 << 0;
    QTest::newRow("testtab") << "paradox-reader-net/testtab.DB" << 0 << 5 << 14 << 1 << 1252 << 0;
    QTest::newRow("testtabnoindex") << "paradox-reader-net/testtabnoindex.DB" << 0 << 5 << 11 << 0 << 1252
                                    << 0;
    QTest::newRow("NOTE1251 as 1251")
        << "paradoxdriver/db-history/NOTE1251.DB" << 1251 << 2 << 2 << 1 << 936 << 0;
    QTest::newRow("AREACODES") << "paradoxdriver/db/AREACODES.DB" << 0 << 370 << 3 << 1 << 1252 << 0;
    QTest::newRow("CONTACTS") << "paradoxdriver/db/CONTACTS.DB" << 0 << 55 << 4 << 0 << 437 << 0;
    QTest::newRow("CUSTOMER") << "paradoxdriver/db/CUSTOMER.DB" << 0 << 20 << 10 << 1 << 1252 << 0;
    QTest::newRow("DECIMAL") << "paradoxdriver/db/DECIMAL.DB" << 0 << 9 << 1 << 0 << 1252 << 0;
    QTest::newRow("GENERAL cp 936") << "paradoxdriver/db/GENERAL.DB" << 0 << 3 << 3 << 1 << 936 << 1;
    QTest::newRow("HERCULES") << "paradoxdriver/db/HERCULES.DB" << 0 << 20 << 2 << 1 << 1252 << 0;
    QTest::newRow("ORDERS") << "paradoxdriver/db/ORDERS.DB" << 0 << 224 << 11 << 1 << 437 << 0;
    QTest::newRow("ROMAN8 cp 0") << "paradoxdriver/db/ROMAN8.db" << 0 << 1 << 1 << 0 << 0 << 1;
    QTest::newRow("SERVER") << "paradoxdriver/db/SERVER.DB" << 0 << 4 << 4 << 2 << 1252 << 0;
    QTest::newRow("bcd") << "paradoxdriver/fields/bcd.db" << 0 << 3 << 3 << 0 << 850 << 0;
    QTest::newRow("bytes") << "paradoxdriver/fields/bytes.db" << 0 << 1 << 1 << 0 << 850 << 0;
    QTest::newRow("date35") << "paradoxdriver/fields/date35.db" << 0 << 3 << 1 << 0 << 0 << 1;
    QTest::newRow("date4") << "paradoxdriver/fields/date4.db" << 0 << 3 << 1 << 0 << 850 << 0;
    QTest::newRow("date5") << "paradoxdriver/fields/date5.db" << 0 << 3 << 2 << 0 << 850 << 0;
    QTest::newRow("date7") << "paradoxdriver/fields/date7.db" << 0 << 5 << 2 << 0 << 850 << 0;
    QTest::newRow("fmemo") << "paradoxdriver/fields/fmemo.db" << 0 << 2 << 2 << 1 << 850 << 0;
    QTest::newRow("graphic240") << "paradoxdriver/fields/graphic240.db" << 0 << 1 << 2 << 1 << 850 << 0;
    QTest::newRow("logical") << "paradoxdriver/fields/logical.db" << 0 << 4 << 1 << 0 << 1252 << 0;
    QTest::newRow("long") << "paradoxdriver/fields/long.db" << 0 << 3 << 2 << 1 << 850 << 0;
    QTest::newRow("memo") << "paradoxdriver/fields/memo.db" << 0 << 2 << 2 << 1 << 850 << 0;
    QTest::newRow("time") << "paradoxdriver/fields/time.db" << 0 << 3 << 1 << 0 << 1252 << 0;
    QTest::newRow("timestamp") << "paradoxdriver/fields/timestamp.db" << 0 << 2 << 1 << 0 << 850 << 0;
    QTest::newRow("tblsttes") << "paradoxdriver/geog/tblsttes.DB" << 0 << 58 << 13 << 1 << 437 << 0;
    QTest::newRow("mtdemo AMOUNT") << "paradoxdriver/mtdemo/AMOUNT.DB" << 0 << 50 << 10 << 2 << 0 << 1;
    QTest::newRow("mtdemo CUSTOMER") << "paradoxdriver/mtdemo/CUSTOMER.DB" << 0 << 28 << 12 << 1 << 0 << 1;
    QTest::newRow("mtdemo EMPLOYEE") << "paradoxdriver/mtdemo/EMPLOYEE.DB" << 0 << 21 << 3 << 2 << 0 << 1;
    QTest::newRow("mtdemo FILMS") << "paradoxdriver/mtdemo/FILMS.DB" << 0 << 36 << 9 << 1 << 0 << 1;
    QTest::newRow("mtdemo KRENTAL") << "paradoxdriver/mtdemo/KRENTAL.DB" << 0 << 198 << 9 << 3 << 0 << 1;
    QTest::newRow("mtdemo PAYMENT") << "paradoxdriver/mtdemo/PAYMENT.DB" << 0 << 54 << 4 << 3 << 0 << 1;
    QTest::newRow("mtdemo RENTAL") << "paradoxdriver/mtdemo/RENTAL.DB" << 0 << 198 << 8 << 3 << 0 << 1;
    QTest::newRow("mtdemo STORE") << "paradoxdriver/mtdemo/STORE.DB" << 0 << 4 << 4 << 1 << 0 << 1;
    QTest::newRow("mtdemo TAXRATE") << "paradoxdriver/mtdemo/TAXRATE.DB" << 0 << 9 << 3 << 2 << 0 << 1;
    QTest::newRow("mtdemo VIDORDER") << "paradoxdriver/mtdemo/VIDORDER.DB" << 0 << 50 << 11 << 2 << 0 << 1;
    QTest::newRow("MEMBRE without .MB") << "paradoxreader-java/MEMBRE.DB" << 0 << 6 << 92 << 1 << 437 << 1;
    QTest::newRow("TypSammlung") << "pxlib/TypSammlung.DB" << 0 << 5 << 14 << 2 << 1252 << 0;
}

void TestParadox::readsFixture()
{
    QFETCH(QString, file);
    QFETCH(int, codePage);
    QString error;
    const auto table = readTable(fixture(file), codePage, &error);
    QVERIFY2(table, qPrintable(error));
    QTEST(int(table->rows.size()), "rows");
    QCOMPARE(table->recordCount, int(table->rows.size()));
    QTEST(int(table->fields.size()), "fields");
    QTEST(table->primaryKeyFields, "keyFields");
    QTEST(table->headerCodePage, "headerCodePage");
    QCOMPARE(table->tableName, QFileInfo(file).completeBaseName());
    QTEST(int(table->warnings.size()), "warnings");
    for (const QString& warning : table->warnings)
        QVERIFY2(warning.contains(QFileInfo(file).completeBaseName()), qPrintable(warning));
    for (const QVector<QVariant>& row : table->rows)
        QCOMPARE(row.size(), table->fields.size());
}

// Each .DB fixture is either read above or refused on purpose below.
void TestParadox::everyFixtureListed()
{
    QDirIterator it(fixture(QString()), QDir::Files, QDirIterator::Subdirectories);
    QStringList found;
    while (it.hasNext()) {
        const QString path = it.next();
        if (path.endsWith(QLatin1String(".db"), Qt::CaseInsensitive))
            found.append(QDir(fixture(QString())).relativeFilePath(path));
    }
    const QStringList known = {"biolife/BIOLIFE.DB",
                               "paradox-reader-net/testtab.DB",
                               "paradox-reader-net/testtabnoindex.DB",
                               "paradoxdriver/db-history/NOTE1251.DB",
                               "paradoxdriver/db/AREACODES.DB",
                               "paradoxdriver/db/CONTACTS.DB",
                               "paradoxdriver/db/CUSTOMER.DB",
                               "paradoxdriver/db/DECIMAL.DB",
                               "paradoxdriver/db/GENERAL.DB",
                               "paradoxdriver/db/HERCULES.DB",
                               "paradoxdriver/db/ORDERS.DB",
                               "paradoxdriver/db/ROMAN8.db",
                               "paradoxdriver/db/SERVER.DB",
                               "paradoxdriver/encrypt/encrypted.db",
                               "paradoxdriver/encrypt/encrypted35.db",
                               "paradoxdriver/fields/bcd.db",
                               "paradoxdriver/fields/bytes.db",
                               "paradoxdriver/fields/date35.db",
                               "paradoxdriver/fields/date4.db",
                               "paradoxdriver/fields/date5.db",
                               "paradoxdriver/fields/date7.db",
                               "paradoxdriver/fields/fmemo.db",
                               "paradoxdriver/fields/graphic240.db",
                               "paradoxdriver/fields/logical.db",
                               "paradoxdriver/fields/long.db",
                               "paradoxdriver/fields/memo.db",
                               "paradoxdriver/fields/time.db",
                               "paradoxdriver/fields/timestamp.db",
                               "paradoxdriver/geog/tblsttes.DB",
                               "paradoxdriver/mtdemo/AMOUNT.DB",
                               "paradoxdriver/mtdemo/CUSTOMER.DB",
                               "paradoxdriver/mtdemo/EMPLOYEE.DB",
                               "paradoxdriver/mtdemo/FILMS.DB",
                               "paradoxdriver/mtdemo/KRENTAL.DB",
                               "paradoxdriver/mtdemo/PAYMENT.DB",
                               "paradoxdriver/mtdemo/RENTAL.DB",
                               "paradoxdriver/mtdemo/STORE.DB",
                               "paradoxdriver/mtdemo/TAXRATE.DB",
                               "paradoxdriver/mtdemo/VIDORDER.DB",
                               "paradoxreader-java/MEMBRE.DB",
                               "pxlib/TypSammlung.DB"};
    found.sort();
    QStringList expected = known;
    expected.sort();
    QCOMPARE(found, expected);
}

void TestParadox::fixtureValue_data()
{
    QTest::addColumn<QString>("file");
    QTest::addColumn<int>("codePage");
    QTest::addColumn<int>("row");
    QTest::addColumn<QString>("field");
    QTest::addColumn<QVariant>("expected");

    const auto i = [](qint64 v) { return QVariant::fromValue<qint64>(v); };
    const auto s = [](const char* utf8) { return QVariant(QString::fromUtf8(utf8)); };
    const auto nullOf = [](QMetaType type) { return QVariant(type); };
    const auto utc = [](int y, int mo, int d, int h, int mi, int sec) {
        return QVariant(QDateTime(QDate(y, mo, d), QTime(h, mi, sec), Qt::UTC));
    };

    // Every value checked against the record bytes by hand (sign-flipped big-endian
    // numbers, days since 1 January 1, milliseconds since midnight).
    QTest::newRow("biolife number") << "biolife/BIOLIFE.DB" << 0 << 0 << "Species No" << QVariant(90020.0);
    QTest::newRow("biolife alpha") << "biolife/BIOLIFE.DB" << 0 << 0 << "Common_Name"
                                   << s("Clown Triggerfish");
    QTest::newRow("CUSTOMER autoinc") << "paradoxdriver/db/CUSTOMER.DB" << 0 << 0 << "CustNo" << i(1);
    QTest::newRow("CUSTOMER date") << "paradoxdriver/db/CUSTOMER.DB" << 0 << 0 << "DateEntered"
                                   << QVariant(QDate(1996, 2, 2));
    QTest::newRow("CUSTOMER memo in record")
        << "paradoxdriver/db/CUSTOMER.DB" << 0 << 0 << "Comments" << s("Small comment (less 100 symbols)");
    QTest::newRow("TypSammlung umlaut")
        << "pxlib/TypSammlung.DB" << 0 << 2 << "Alpha" << s("Fünfter Datensatz");
    QTest::newRow("TypSammlung memo from MB")
        << "pxlib/TypSammlung.DB" << 0 << 2 << "Memo" << s("Dies ist eine Memo im 'Fünften Datensat'");
    QTest::newRow("TypSammlung umlaut field name")
        << "pxlib/TypSammlung.DB" << 0 << 4 << "Währung" << QVariant(-40.0);
    QTest::newRow("TypSammlung bcd") << "pxlib/TypSammlung.DB" << 0 << 2 << "BCD" << QVariant(13.123457);
    QTest::newRow("TypSammlung negative bcd") << "pxlib/TypSammlung.DB" << 0 << 4 << "BCD" << QVariant(-40.0);
    QTest::newRow("TypSammlung empty bcd")
        << "pxlib/TypSammlung.DB" << 0 << 1 << "BCD" << nullOf(QMetaType::fromType<double>());
    QTest::newRow("TypSammlung short") << "pxlib/TypSammlung.DB" << 0 << 4 << "Integer kurz" << i(-40);
    QTest::newRow("TypSammlung date")
        << "pxlib/TypSammlung.DB" << 0 << 4 << "Datum" << QVariant(QDate(1999, 9, 9));
    QTest::newRow("TypSammlung time")
        << "pxlib/TypSammlung.DB" << 0 << 4 << "Zeit" << QVariant(QTime(11, 11, 11));
    QTest::newRow("TypSammlung timestamp")
        << "pxlib/TypSammlung.DB" << 0 << 4 << "Datum/Zeit" << utc(2003, 6, 10, 11, 11, 11);
    QTest::newRow("TypSammlung true") << "pxlib/TypSammlung.DB" << 0 << 4 << "Logisch" << QVariant(true);
    QTest::newRow("TypSammlung false") << "pxlib/TypSammlung.DB" << 0 << 1 << "Logisch" << QVariant(false);
    QTest::newRow("TypSammlung empty logical")
        << "pxlib/TypSammlung.DB" << 0 << 0 << "Logisch" << nullOf(QMetaType::fromType<bool>());
    QTest::newRow("TypSammlung autoinc") << "pxlib/TypSammlung.DB" << 0 << 2 << "Zähler" << i(5);
    QTest::newRow("TypSammlung empty blob")
        << "pxlib/TypSammlung.DB" << 0 << 0 << "Binär" << nullOf(QMetaType::fromType<QByteArray>());
    QTest::newRow("NOTE1251 Russian memo") << "paradoxdriver/db-history/NOTE1251.DB" << 1251 << 1 << "Note"
                                           << s("Удивительное устройство USB-флешки Kingston DataTraveler");
    QTest::newRow("MEMBRE cp437 accent")
        << "paradoxreader-java/MEMBRE.DB" << 0 << 2 << "Adresse1" << s("22 rue Raymond Patenôtre");
    QTest::newRow("MEMBRE cp437 field name")
        << "paradoxreader-java/MEMBRE.DB" << 0 << 0 << "N° Licence" << s("214589");
    QTest::newRow("MEMBRE cp437 logical name")
        << "paradoxreader-java/MEMBRE.DB" << 0 << 0 << "Marié" << QVariant(true);
    QTest::newRow("MEMBRE date") << "paradoxreader-java/MEMBRE.DB" << 0 << 1 << "Date_adhesion"
                                 << QVariant(QDate(2004, 10, 1));
    QTest::newRow("MEMBRE logical") << "paradoxreader-java/MEMBRE.DB" << 0 << 1 << "MembreAssociation"
                                    << QVariant(true);
    QTest::newRow("v3 date") << "paradoxdriver/mtdemo/AMOUNT.DB" << 0 << 0 << "Date"
                             << QVariant(QDate(1989, 1, 1));
    QTest::newRow("v3 alpha") << "paradoxdriver/mtdemo/AMOUNT.DB" << 0 << 0 << "Customer #" << s("1332");
    QTest::newRow("v3 number") << "paradoxdriver/mtdemo/AMOUNT.DB" << 0 << 0 << "Sales Tax Rate"
                               << QVariant(5.0);
    QTest::newRow("v3 short") << "paradoxdriver/mtdemo/EMPLOYEE.DB" << 0 << 0 << "Employee #" << i(1);
    QTest::newRow("v3 long alpha")
        << "paradoxdriver/mtdemo/CUSTOMER.DB" << 0 << 2 << "Notes"
        << s("Five of Don's checks bounced on us last year.  Only accept cash from him.");
    QTest::newRow("v3.5 date") << "paradoxdriver/fields/date35.db" << 0 << 0 << "DATE"
                               << QVariant(QDate(2018, 1, 1));
    QTest::newRow("orders money") << "paradoxdriver/db/ORDERS.DB" << 0 << 0 << "Total Invoice"
                                  << QVariant(7320.0);
    QTest::newRow("orders date") << "paradoxdriver/db/ORDERS.DB" << 0 << 0 << "Sale Date"
                                 << QVariant(QDate(1988, 4, 3));
    QTest::newRow("negative number") << "paradoxdriver/db/DECIMAL.DB" << 0 << 0 << "DECIMAL"
                                     << QVariant(-200.0);
    QTest::newRow("empty long") << "paradoxdriver/fields/long.db" << 0 << 2 << "LONG"
                                << nullOf(QMetaType::fromType<qint64>());
    QTest::newRow("long") << "paradoxdriver/fields/long.db" << 0 << 1 << "LONG" << i(2);
    QTest::newRow("time") << "paradoxdriver/fields/time.db" << 0 << 0 << "Time" << QVariant(QTime(1, 0, 1));
    QTest::newRow("empty time") << "paradoxdriver/fields/time.db" << 0 << 1 << "Time"
                                << nullOf(QMetaType::fromType<QTime>());
    QTest::newRow("timestamp") << "paradoxdriver/fields/timestamp.db" << 0 << 1 << "Timestamp"
                               << utc(2020, 2, 1, 1, 0, 1);
    QTest::newRow("empty timestamp") << "paradoxdriver/fields/timestamp.db" << 0 << 0 << "Timestamp"
                                     << nullOf(QMetaType::fromType<QDateTime>());
    QTest::newRow("logical true") << "paradoxdriver/fields/logical.db" << 0 << 0 << "BOOL" << QVariant(true);
    QTest::newRow("logical false") << "paradoxdriver/fields/logical.db" << 0 << 1 << "BOOL"
                                   << QVariant(false);
    QTest::newRow("bcd 2 decimals") << "paradoxdriver/fields/bcd.db" << 0 << 1 << "A" << QVariant(-1.23);
    QTest::newRow("bcd 32 decimals") << "paradoxdriver/fields/bcd.db" << 0 << 0 << "C" << QVariant(0.123);
    QTest::newRow("bcd empty") << "paradoxdriver/fields/bcd.db" << 0 << 2 << "B"
                               << nullOf(QMetaType::fromType<double>());
    QTest::newRow("testtab short") << "paradox-reader-net/testtab.DB" << 0 << 1 << "SHORT" << i(-222);
    QTest::newRow("testtab money") << "paradox-reader-net/testtab.DB" << 0 << 1 << "MONEY"
                                   << QVariant(-222.22);
    QTest::newRow("testtab bytes") << "paradox-reader-net/testtab.DB" << 0 << 1 << "BINARY"
                                   << QVariant(QByteArray("123\0\0", 5));
    QTest::newRow("testtab memo past prefix")
        << "paradox-reader-net/testtab.DB" << 0 << 1 << "MEMO" << s("222");
    QTest::newRow("testtab timestamp")
        << "paradox-reader-net/testtab.DB" << 0 << 1 << "TIMESTAMP" << utc(2022, 12, 22, 22, 22, 22);
    QTest::newRow("memo kept in record")
        << "paradoxdriver/fields/memo.db" << 0 << 1 << "MEMO" << s("01234567890\n");
    QTest::newRow("formatted memo") << "paradoxdriver/fields/fmemo.db" << 0 << 0 << "FMEMO" << s("123");
}

void TestParadox::fixtureValue()
{
    QFETCH(QString, file);
    QFETCH(int, codePage);
    QFETCH(int, row);
    QFETCH(QString, field);
    QFETCH(QVariant, expected);
    QString error;
    const auto table = readTable(fixture(file), codePage, &error);
    QVERIFY2(table, qPrintable(error));
    const int column = table->fieldIndex(field);
    QVERIFY2(column >= 0, qPrintable(field));
    QVERIFY(row < table->rows.size());
    QString why;
    QVERIFY2(sameValue(table->rows[row][column], expected, &why), qPrintable(why));
}

void TestParadox::memosAndGraphicsFromMbFile()
{
    // BIOLIFE: memos in suballocated blocks, graphics in blocks of their own (8-byte prefix dropped).
    auto bio = readTable(fixture(QStringLiteral("biolife/BIOLIFE.DB")));
    QVERIFY(bio);
    const int notes = bio->fieldIndex(QStringLiteral("Notes"));
    const int graphic = bio->fieldIndex(QStringLiteral("Graphic"));
    const QString firstNote = bio->rows[0][notes].toString();
    QCOMPARE(firstNote.size(), 701);
    QVERIFY(firstNote.startsWith(QStringLiteral("Also known as the big spotted triggerfish.")));
    for (const QVector<QVariant>& row : bio->rows) {
        const QByteArray image = row[graphic].toByteArray();
        QCOMPARE(image.size(), 38878);
        QVERIFY(image.startsWith("BM"));
        QCOMPARE(qFromLittleEndian<quint32>(image.constData() + 2), quint32(image.size()));
    }
    QVERIFY(bio->rows[0][graphic] != bio->rows[1][graphic]);

    // CUSTOMER: a memo longer than the 100 bytes kept in the record.
    auto customer = readTable(fixture(QStringLiteral("paradoxdriver/db/CUSTOMER.DB")));
    QVERIFY(customer);
    const QString comment = customer->rows[1][customer->fieldIndex(QStringLiteral("Comments"))].toString();
    QCOMPARE(comment.size(), 518);
    QVERIFY(comment.startsWith(QStringLiteral("\tThe length of the leader may be zero for type B fields.")));

    // memo.db: 555 bytes in a suballocated block; the record holds the first 240.
    auto memo = readTable(fixture(QStringLiteral("paradoxdriver/fields/memo.db")));
    QVERIFY(memo);
    const QString long555 = memo->rows[0][1].toString();
    QCOMPARE(long555.size(), 555);
    QVERIFY(long555.startsWith(QStringLiteral("0123456789001234567890")));

    // graphic240: a bitmap in a block of its own, its start also kept in the record.
    auto picture = readTable(fixture(QStringLiteral("paradoxdriver/fields/graphic240.db")));
    QVERIFY(picture);
    const QByteArray bitmap = picture->rows[0][1].toByteArray();
    QCOMPARE(bitmap.size(), 0x4E6E);
    QVERIFY(bitmap.startsWith("BM"));

    // fmemo: the plain text of a formatted memo, without its formatting sections.
    auto formatted = readTable(fixture(QStringLiteral("paradoxdriver/fields/fmemo.db")));
    QVERIFY(formatted);
    const QString text = formatted->rows[1][1].toString();
    QCOMPARE(text.size(), 560);
    QCOMPARE(text.count(QStringLiteral("\r\n")), 5);
    QVERIFY(!text.contains(QStringLiteral("Arial")));
}

void TestParadox::codePageOverride()
{
    const QString path = fixture(QStringLiteral("paradoxdriver/db-history/NOTE1251.DB"));
    QString error;
    const auto header = ParadoxReader::readHeader(path, &error);
    QVERIFY2(header, qPrintable(error));
    QCOMPARE(header->headerCodePage, 936);
    QVERIFY(!ParadoxReader::isCodePagePlausible(header->headerCodePage));
    QCOMPARE(header->recordCount, 2);
    QVERIFY(header->rows.isEmpty());

    // Without an override the fallback (Windows-1250) is used and said so.
    const auto guessed = readTable(path);
    QVERIFY(guessed);
    QCOMPARE(guessed->codePageUsed, 1250);
    QCOMPARE(guessed->warnings.size(), 1);
    QVERIFY(guessed->warnings[0].contains(QStringLiteral("936")));
    QVERIFY(guessed->warnings[0].contains(QStringLiteral("NOTE1251.DB")));

    const auto russian = readTable(path, 1251);
    QVERIFY(russian);
    QCOMPARE(russian->codePageUsed, 1251);
    QVERIFY(russian->warnings.isEmpty());
    QVERIFY(russian->rows[0][1].toString().startsWith(QStringLiteral("При разработке электронных сервисов")));
    QCOMPARE(russian->rows[0][1].toString().size(), guessed->rows[0][1].toString().size());

    ParadoxReader::ReadOptions dos;
    dos.fallbackCodePage = 866;
    const auto viaFallback = ParadoxReader::read(path, dos, &error);
    QVERIFY(viaFallback);
    QCOMPARE(viaFallback->codePageUsed, 866);

    QVERIFY(!readTable(path, 936, &error));
    QVERIFY(error.contains(QStringLiteral("nem támogatott")));
    QVERIFY(error.contains(QDir::toNativeSeparators(path)));
}

void TestParadox::codePagePlausibility_data()
{
    QTest::addColumn<int>("codePage");
    QTest::addColumn<bool>("plausible");
    QTest::newRow("none") << 0 << false;
    QTest::newRow("936 Chinese") << 936 << false;
    QTest::newRow("UTF-8") << 65001 << false;
    QTest::newRow("unknown") << 12345 << false;
    QTest::newRow("1250") << 1250 << true;
    QTest::newRow("1252") << 1252 << true;
    QTest::newRow("852") << 852 << true;
    QTest::newRow("850") << 850 << true;
    QTest::newRow("437") << 437 << true;
    QTest::newRow("866") << 866 << true;
    QTest::newRow("1251") << 1251 << true;
    QTest::newRow("1257") << 1257 << true;
}

void TestParadox::codePagePlausibility()
{
    QFETCH(int, codePage);
    QFETCH(bool, plausible);
    QCOMPARE(ParadoxReader::isCodePagePlausible(codePage), plausible);
    QCOMPARE(ParadoxCodePage::isSupported(codePage), plausible);
    QVERIFY(ParadoxReader::isCodePagePlausible(ParadoxReader::proposedCodePage()));
}

void TestParadox::codePageTables_data()
{
    QTest::addColumn<int>("codePage");
    QTest::addColumn<int>("byte");
    QTest::addColumn<int>("unicode");
    QTest::newRow("1250 ő") << 1250 << 0xF5 << 0x0151;
    QTest::newRow("1250 ű") << 1250 << 0xFB << 0x0171;
    QTest::newRow("1250 Ő") << 1250 << 0xD5 << 0x0150;
    QTest::newRow("1250 Ű") << 1250 << 0xDB << 0x0170;
    QTest::newRow("1250 Š") << 1250 << 0x8A << 0x0160;
    QTest::newRow("1250 €") << 1250 << 0x80 << 0x20AC;
    QTest::newRow("1250 „") << 1250 << 0x84 << 0x201E;
    QTest::newRow("1250 undefined") << 1250 << 0x81 << 0xFFFD;
    QTest::newRow("852 ő") << 852 << 0x8B << 0x0151;
    QTest::newRow("852 Ő") << 852 << 0x8A << 0x0150;
    QTest::newRow("852 ű") << 852 << 0xFB << 0x0171;
    QTest::newRow("852 Ű") << 852 << 0xEB << 0x0170;
    QTest::newRow("852 á") << 852 << 0xA0 << 0x00E1;
    QTest::newRow("1252 ä") << 1252 << 0xE4 << 0x00E4;
    QTest::newRow("1252 õ") << 1252 << 0xF5 << 0x00F5;
    QTest::newRow("1252 €") << 1252 << 0x80 << 0x20AC;
    QTest::newRow("437 é") << 437 << 0x82 << 0x00E9;
    QTest::newRow("437 ô") << 437 << 0x93 << 0x00F4;
    QTest::newRow("437 °") << 437 << 0xF8 << 0x00B0;
    QTest::newRow("850 ı") << 850 << 0xD5 << 0x0131;
    QTest::newRow("1251 П") << 1251 << 0xCF << 0x041F;
    QTest::newRow("1251 Ё") << 1251 << 0xA8 << 0x0401;
    QTest::newRow("1251 я") << 1251 << 0xFF << 0x044F;
    QTest::newRow("866 П") << 866 << 0x8F << 0x041F;
    QTest::newRow("866 я") << 866 << 0xEF << 0x044F;
    QTest::newRow("866 Ё") << 866 << 0xF0 << 0x0401;
    QTest::newRow("ASCII") << 852 << 0x41 << 0x0041;
    QTest::newRow("CR") << 1250 << 0x0D << 0x000D;
}

void TestParadox::codePageTables()
{
    QFETCH(int, codePage);
    QFETCH(int, byte);
    QFETCH(int, unicode);
    const QByteArray bytes(1, char(byte));
    QCOMPARE(ParadoxCodePage::decode(bytes, codePage), QString(QChar(unicode)));
    if (unicode != 0xFFFD)
        QCOMPARE(ParadoxCodePage::encode(QString(QChar(unicode)), codePage),
                 std::optional<QByteArray>(bytes));
}

void TestParadox::codePageRoundTrip()
{
    QByteArray all;
    for (int b = 1; b < 256; ++b)
        all.append(char(b));
    const QList<int> pages = ParadoxCodePage::supported();
    QVERIFY(pages.size() >= 7);
    for (int page : pages) {
        const QString text = ParadoxCodePage::decode(all, page);
        QCOMPARE(text.size(), all.size());
        QString defined;
        QByteArray definedBytes;
        for (int n = 0; n < text.size(); ++n) {
            if (text[n] != QChar(0xFFFD)) {
                defined.append(text[n]);
                definedBytes.append(all[n]);
            }
        }
        QVERIFY2(definedBytes.size() >= 230, qPrintable(QString::number(page)));
        QCOMPARE(ParadoxCodePage::encode(defined, page), std::optional<QByteArray>(definedBytes));
        QVERIFY(!ParadoxCodePage::displayName(page).isEmpty());
    }
    QVERIFY(!ParadoxCodePage::encode(QStringLiteral("Ő"), 1252));
    QVERIFY(!ParadoxCodePage::encode(QStringLiteral("a"), 936));
}

void TestParadox::refusesBadFile_data()
{
    QTest::addColumn<QByteArray>("data");
    QTest::addColumn<QString>("message");

    const QByteArray customer = contents(fixture(QStringLiteral("paradoxdriver/db/CUSTOMER.DB")));
    QVERIFY(customer.size() == 10240);
    const auto patched = [&](qsizetype at, const QByteArray& bytes) {
        QByteArray d = customer;
        d.replace(at, bytes.size(), bytes);
        return d;
    };
    const auto le16 = [](int v) { return QByteArray(1, char(v & 0xFF)) + QByteArray(1, char(v >> 8)); };
    // CUSTOMER.DB: header 2048 bytes, four 2 KiB blocks chained 1 -> 2 -> 3 -> 4.
    const int block2 = 2048 + 2048;

    QTest::newRow("encrypted v5") << contents(fixture(QStringLiteral("paradoxdriver/encrypt/encrypted.db")))
                                  << "jelszóval védett";
    QTest::newRow("encrypted v3.5") << contents(
                                           fixture(QStringLiteral("paradoxdriver/encrypt/encrypted35.db")))
                                    << "jelszóval védett";
    QTest::newRow("empty") << QByteArray() << "üres";
    QTest::newRow("text") << QByteArray("Ez egy szovegfajl, nem tabla.\r\n").repeated(40)
                          << "nem Paradox-tábla";
    QTest::newRow("primary index") << contents(fixture(QStringLiteral("paradoxdriver/db/CUSTOMER.PX")))
                                   << "indexfájl";
    QTest::newRow("cut in main header") << customer.left(60) << "fejléce csonka";
    QTest::newRow("cut in field names") << customer.left(300) << "fejléce csonka";
    QTest::newRow("cut in data") << customer.left(5000) << "tábla csonka";
    QTest::newRow("block chain loop") << patched(block2, le16(1)) << "sérült";
    QTest::newRow("block out of range") << patched(block2, le16(9)) << "sérült";
    QTest::newRow("block record count") << patched(block2 + 4, le16(3000)) << "sérült";
    QTest::newRow("field sizes") << patched(0x78 + 3, QByteArray(1, char(52))) << "fejléce sérült";
    QTest::newRow("field type") << patched(0x78 + 2, QByteArray(1, char(0x33))) << "fejléce sérült";
    QTest::newRow("record count") << patched(6, QByteArray("\xFB\xFF\xFF\xFF", 4)) << "fejléce sérült";
    QTest::newRow("field list overwritten") << patched(0x78, QByteArray(20, char(0x01))) << "fejléce sérült";
}

void TestParadox::refusesBadFile()
{
    QFETCH(QByteArray, data);
    QFETCH(QString, message);
    QTemporaryDir dir;
    const QString path = dir.filePath(QStringLiteral("TABLA.DB"));
    QVERIFY(store(path, data));
    QString error;
    QVERIFY(!readTable(path, 0, &error));
    QVERIFY2(error.contains(message), qPrintable(error));
    QVERIFY2(error.contains(QDir::toNativeSeparators(path)), qPrintable(error));
    QVERIFY(!ParadoxReader::readHeader(path, &error));
}

void TestParadox::refusesMissingFileAndFolder()
{
    QTemporaryDir dir;
    QString error;
    const QString missing = dir.filePath(QStringLiteral("NINCS.DB"));
    QVERIFY(!readTable(missing, 0, &error));
    QVERIFY(error.contains(QStringLiteral("nem található")));
    QVERIFY(error.contains(QDir::toNativeSeparators(missing)));
    QVERIFY(!readTable(dir.path(), 0, &error));
    QVERIFY(error.contains(QStringLiteral("Mappa")));
}

void TestParadox::missingMbKeepsPrefixes()
{
    // CUSTOMER.DB without its .MB: every row, each memo cut to what the record holds.
    QTemporaryDir dir;
    const QString path = dir.filePath(QStringLiteral("CUSTOMER.DB"));
    QVERIFY(store(path, contents(fixture(QStringLiteral("paradoxdriver/db/CUSTOMER.DB")))));
    const auto full = readTable(fixture(QStringLiteral("paradoxdriver/db/CUSTOMER.DB")));
    const auto cut = readTable(path);
    QVERIFY(full && cut);
    QCOMPARE(cut->rows.size(), full->rows.size());
    QCOMPARE(cut->warnings.size(), 1);
    QVERIFY2(cut->warnings[0].contains(QStringLiteral("CUSTOMER.MB")), qPrintable(cut->warnings[0]));
    const int comments = full->fieldIndex(QStringLiteral("Comments"));
    int shortened = 0;
    for (int r = 0; r < full->rows.size(); ++r) {
        const QString whole = full->rows[r][comments].toString();
        const QString prefix = cut->rows[r][comments].toString();
        QVERIFY(whole.startsWith(prefix));
        if (whole.size() > 100) {
            QCOMPARE(prefix, whole.left(100));
            ++shortened;
        } else {
            QCOMPARE(prefix, whole);
        }
        for (int f = 0; f < full->fields.size(); ++f) {
            if (f != comments) QCOMPARE(cut->rows[r][f], full->rows[r][f]);
        }
    }
    QVERIFY(shortened > 0);
    QVERIFY(cut->warnings[0].contains(QString::number(shortened)));

    // MEMBRE.DB comes without its .MB: the one-byte memo prefixes stay, photos stay empty.
    const auto membre = readTable(fixture(QStringLiteral("paradoxreader-java/MEMBRE.DB")));
    QVERIFY(membre);
    QVERIFY(membre->warnings[0].contains(QStringLiteral("MEMBRE.MB")));
    const int photo = membre->fieldIndex(QStringLiteral("Photo"));
    for (const QVector<QVariant>& row : membre->rows)
        QVERIFY(row[photo].isNull());
}

void TestParadox::damagedBlob_data()
{
    QTest::addColumn<QString>("target"); // "db" or "mb"
    QTest::addColumn<int>("offset");
    QTest::addColumn<QByteArray>("bytes");
    QTest::addColumn<QString>("message");

    // memo.db: record 1 has its 555-byte memo in memo.mb's block at 0x1000, entry 0x3F;
    // its pointer sits at 0x8FA: location (4 bytes), length (4), modification number (2).
    const int pointer = 0x8FA;
    const auto le32 = [](quint32 v) {
        QByteArray b(4, '\0');
        qToLittleEndian<quint32>(v, b.data());
        return b;
    };
    QTest::newRow("no location") << "db" << pointer << le32(0) << "nem jelöl ki helyet";
    QTest::newRow("beyond the file") << "db" << pointer << le32(0x0010003F) << "végén túlra mutat";
    QTest::newRow("not on a block") << "db" << pointer << le32(0x0000183F) << "nem blokkhatárra";
    QTest::newRow("header block") << "db" << pointer << le32(0x0000003F) << "nem jelöl ki helyet";
    QTest::newRow("bad entry") << "db" << pointer << le32(0x00001050) << "érvénytelen bejegyzésre";
    QTest::newRow("length") << "db" << pointer + 4 << le32(556) << "hossza (556)";
    QTest::newRow("free block") << "mb" << 0x1000 << QByteArray(1, char(4)) << "szabad";
    QTest::newRow("unknown block") << "mb" << 0x1000 << QByteArray(1, char(9)) << "ismeretlen típusú";
    QTest::newRow("empty entry") << "mb" << 0x1000 + 12 + 0x3F * 5 << QByteArray(1, '\0') << "üres";
    QTest::newRow("entry outside its block")
        << "mb" << 0x1000 + 12 + 0x3F * 5 << QByteArray(1, char(0xFF)) << "kilóg";
    QTest::newRow("mb cut") << "mb" << -0x1100 << QByteArray() << "végén túl";
    QTest::newRow("mb not a memo file")
        << "mb" << 0 << QByteArray(1, char(0x55)) << "nem Paradox-feljegyzésfájl";
}

void TestParadox::damagedBlob()
{
    QFETCH(QString, target);
    QFETCH(int, offset);
    QFETCH(QByteArray, bytes);
    QFETCH(QString, message);
    QByteArray db = contents(fixture(QStringLiteral("paradoxdriver/fields/memo.db")));
    QByteArray mb = contents(fixture(QStringLiteral("paradoxdriver/fields/memo.mb")));
    QByteArray& damaged = target == QLatin1String("db") ? db : mb;
    if (offset < 0)
        damaged.truncate(-offset);
    else
        damaged.replace(offset, bytes.size(), bytes);
    QTemporaryDir dir;
    QVERIFY(store(dir.filePath(QStringLiteral("memo.db")), db));
    QVERIFY(store(dir.filePath(QStringLiteral("memo.mb")), mb));

    QString error;
    const auto table = readTable(dir.filePath(QStringLiteral("memo.db")), 0, &error);
    QVERIFY2(table, qPrintable(error));
    QCOMPARE(table->rows.size(), 2);
    QCOMPARE(table->warnings.size(), 1 + (message.startsWith(QLatin1String("nem Paradox")) ? 1 : 0));
    QVERIFY2(table->warnings.join(u'\n').contains(message), qPrintable(table->warnings.join(u'\n')));
    QVERIFY(table->warnings.join(u'\n').contains(QStringLiteral("memo")));
    // What the record holds survives: the first 240 bytes; the other row is untouched.
    const auto intact = readTable(fixture(QStringLiteral("paradoxdriver/fields/memo.db")));
    QCOMPARE(table->rows[0][1].toString(), intact->rows[0][1].toString().left(240));
    QCOMPARE(table->rows[1][1].toString(), intact->rows[1][1].toString());
}

void TestParadox::recordCountMismatch_data()
{
    QTest::addColumn<int>("headerCount");
    QTest::newRow("header says fewer") << 17;
    QTest::newRow("header says more") << 25;
    QTest::newRow("header says none") << 0;
}

void TestParadox::recordCountMismatch()
{
    QFETCH(int, headerCount);
    QByteArray db = contents(fixture(QStringLiteral("paradoxdriver/db/CUSTOMER.DB")));
    qToLittleEndian<qint32>(headerCount, db.data() + 6);
    QTemporaryDir dir;
    QVERIFY(store(dir.filePath(QStringLiteral("CUSTOMER.DB")), db));
    QVERIFY(QFile::copy(fixture(QStringLiteral("paradoxdriver/db/CUSTOMER.MB")),
                        dir.filePath(QStringLiteral("CUSTOMER.MB"))));
    const auto table = readTable(dir.filePath(QStringLiteral("CUSTOMER.DB")));
    const auto intact = readTable(fixture(QStringLiteral("paradoxdriver/db/CUSTOMER.DB")));
    QVERIFY(table && intact);
    QCOMPARE(table->rows, intact->rows);
    QCOMPARE(table->warnings.size(), 1);
    QVERIFY(table->warnings[0].contains(QString::number(headerCount)));
    QVERIFY(table->warnings[0].contains(QStringLiteral("20")));
}

// An empty data block linked into the chain, as Paradox leaves one after deletions.
// pxlib counts its records wrongly; the rows must come out complete and in order anyway.
void TestParadox::emptyBlockInChain()
{
    QTemporaryDir dir;
    const QString path = dir.filePath(QStringLiteral("LANC.DB"));
    const QList<ParadoxField> fields = {{QStringLiteral("n"), T::Long, 4},
                                        {QStringLiteral("t"), T::Alpha, 200}};
    QList<QVector<QVariant>> rows;
    for (int n = 1; n <= 200; ++n)
        rows.append({QVariant::fromValue<qint64>(n), QStringLiteral("sor %1").arg(n)});
    QString error;
    QVERIFY2(ParadoxWriter::write(path, fields, 0, rows, 1250, &error), qPrintable(error));

    QByteArray db = contents(path);
    const int headerSize = qFromLittleEndian<quint16>(db.constData() + 2);
    const int blockSize = static_cast<unsigned char>(db[5]) * 1024;
    const int blocks = qFromLittleEndian<quint16>(db.constData() + 0x0C);
    QVERIFY(blocks >= 2);
    QCOMPARE(db.size(), headerSize + blocks * blockSize);
    // New block blocks+1 between block 1 and block 2.
    QByteArray empty(blockSize, '\0');
    qToLittleEndian<quint16>(2, empty.data());
    qToLittleEndian<quint16>(1, empty.data() + 2);
    qToLittleEndian<qint16>(-204, empty.data() + 4);
    db.append(empty);
    qToLittleEndian<quint16>(quint16(blocks + 1), db.data() + headerSize);
    qToLittleEndian<quint16>(quint16(blocks + 1), db.data() + headerSize + blockSize + 2);
    qToLittleEndian<quint16>(quint16(blocks + 1), db.data() + 0x0C);
    QVERIFY(store(path, db));

    const auto table = readTable(path, 0, &error);
    QVERIFY2(table, qPrintable(error));
    QCOMPARE(table->rows, rows);
    QVERIFY(table->warnings.isEmpty());
}

void TestParadox::writerRoundTripAllTypes()
{
    const QList<ParadoxField> fields = {
        {QStringLiteral("Név"), T::Alpha, 30},        {QStringLiteral("rövid"), T::Short, 2},
        {QStringLiteral("hosszú"), T::Long, 4},       {QStringLiteral("számláló"), T::AutoInc, 4},
        {QStringLiteral("szám"), T::Number, 8},       {QStringLiteral("pénz"), T::Currency, 8},
        {QStringLiteral("bcd"), T::BCD, 17, 2},       {QStringLiteral("nap"), T::Date, 4},
        {QStringLiteral("idő"), T::Time, 4},          {QStringLiteral("pillanat"), T::Timestamp, 8},
        {QStringLiteral("igaz"), T::Logical, 1},      {QStringLiteral("bájtok"), T::Bytes, 8},
        {QStringLiteral("jegyzet"), T::MemoBLOb, 20}, {QStringLiteral("bináris"), T::BLOb, 10},
        {QStringLiteral("kép"), T::Graphic, 10},      {QStringLiteral("ole"), T::OLE, 30},
    };
    const auto i = [](qint64 v) { return QVariant::fromValue<qint64>(v); };
    const auto none = [](QMetaType t) { return QVariant(t); };
    const QVariant noText = none(QMetaType::fromType<QString>());
    const QVariant noBytes = none(QMetaType::fromType<QByteArray>());
    QByteArray binary;
    for (int n = 0; n < 5000; ++n)
        binary.append(char(n * 7));
    const QString longMemo = QStringLiteral("Árvíztűrő tükörfúrógép. ").repeated(420);
    const QString memo2048 = QString(2048, QLatin1Char('x'));
    const QString memo2049 = QString(2049, QLatin1Char('y'));
    QList<QVector<QVariant>> rows = {
        {QStringLiteral("Árvíztűrő tükörfúrógép"), i(-32767), i(2147483647), i(1), -0.5, 1234.56, 12.34,
         QDate(1, 1, 1), QTime(0, 0), QDateTime(QDate(2001, 2, 3), QTime(4, 5, 6, 789), Qt::UTC), false,
         QByteArray("\0\1\2", 3), QStringLiteral("rövid"), QByteArray("\0nulla\0", 7), QByteArray("GIF89a"),
         QByteArray("ole")},
        {QStringLiteral("ŐŰ őű"), i(32767), i(-2147483647), i(7), 0.0, -0.01, -98765.43, QDate(9999, 12, 31),
         QTime(23, 59, 59, 999), QDateTime(QDate(1899, 12, 30), QTime(0, 0), Qt::UTC), true,
         QByteArray("12345678"), longMemo, binary, binary, QByteArray(25, 'o')},
        {noText, none(QMetaType::fromType<qint64>()), none(QMetaType::fromType<qint64>()), i(8),
         none(QMetaType::fromType<double>()), none(QMetaType::fromType<double>()),
         none(QMetaType::fromType<double>()), none(QMetaType::fromType<QDate>()),
         none(QMetaType::fromType<QTime>()), none(QMetaType::fromType<QDateTime>()),
         none(QMetaType::fromType<bool>()), noBytes, noText, noBytes, noBytes, noBytes},
        {QStringLiteral("határ"), i(0), i(0), i(9), 1e300, 0.0, 0.0, QDate(2024, 2, 29), QTime(12, 0),
         QDateTime(QDate(2024, 3, 31), QTime(2, 30), Qt::UTC), true, noBytes, memo2048, noBytes, noBytes,
         QByteArray(21, 'p')},
        {QStringLiteral("vége"), i(1), i(1), i(10), 1.0, 1.0, 1.0, QDate(2000, 1, 1), QTime(1, 2, 3),
         QDateTime(QDate(2000, 1, 1), QTime(0, 0), Qt::UTC), false, noBytes, memo2049, noBytes, noBytes,
         noBytes},
    };
    // Enough memos of a few hundred bytes to fill several suballocated blocks.
    for (int n = 0; n < 70; ++n)
        rows.append({QStringLiteral("sor %1").arg(n), i(n), i(n * 1000), i(100 + n), n / 4.0, n * 1.25,
                     n * 0.5, QDate(2020, 1, 1).addDays(n), QTime(0, 0).addSecs(n * 61),
                     QDateTime(QDate(2020, 1, 1).addDays(n), QTime(13, 14), Qt::UTC), n % 2 == 0, noBytes,
                     QStringLiteral("Jegyzet %1: ").arg(n) + QStringLiteral("ő").repeated(10 * n), noBytes,
                     noBytes, noBytes});

    QTemporaryDir dir;
    const QString path = dir.filePath(QStringLiteral("MINDEN.DB"));
    QString error;
    QVERIFY2(ParadoxWriter::write(path, fields, 1, rows, 852, &error), qPrintable(error));
    const auto table = readTable(path, 0, &error);
    QVERIFY2(table, qPrintable(error));
    QVERIFY2(table->warnings.isEmpty(), qPrintable(table->warnings.join(u'\n')));
    QCOMPARE(table->headerCodePage, 852);
    QCOMPARE(table->primaryKeyFields, 1);
    QCOMPARE(table->fileVersion, 70);
    QCOMPARE(table->fields.size(), fields.size());
    for (int f = 0; f < fields.size(); ++f) {
        QCOMPARE(table->fields[f].name, fields[f].name);
        QCOMPARE(table->fields[f].pxType, fields[f].pxType);
        QCOMPARE(table->fields[f].size, fields[f].size);
        QCOMPARE(table->fields[f].decimals, fields[f].decimals);
    }
    QCOMPARE(table->rows.size(), rows.size());
    for (int r = 0; r < rows.size(); ++r) {
        for (int f = 0; f < fields.size(); ++f) {
            QVariant expected = rows[r][f];
            if (fields[f].pxType == T::Bytes && !expected.isNull())
                expected = expected.toByteArray().leftJustified(fields[f].size, '\0');
            QString why;
            QVERIFY2(sameValue(table->rows[r][f], expected, &why),
                     qPrintable(QStringLiteral("row %1 %2: %3").arg(r).arg(fields[f].name, why)));
        }
    }
    const QByteArray mb = contents(dir.filePath(QStringLiteral("MINDEN.MB")));
    QVERIFY(countBlocksOfType(mb, 2) >= 4);
    QVERIFY(countBlocksOfType(mb, 3) >= 2);
}

void TestParadox::writerRefusesBadInput_data()
{
    QTest::addColumn<QList<ParadoxField>>("fields");
    QTest::addColumn<QList<QVector<QVariant>>>("rows");
    QTest::addColumn<int>("codePage");
    QTest::addColumn<QString>("message");

    const QList<ParadoxField> text = {{QStringLiteral("szoveg"), T::Alpha, 5}};
    const QList<ParadoxField> small = {{QStringLiteral("kicsi"), T::Short, 2}};
    QTest::newRow("not in the code page")
        << text << QList<QVector<QVariant>>{{QStringLiteral("Жук")}} << 1250 << "kódlappal";
    QTest::newRow("too long") << text << QList<QVector<QVariant>>{{QStringLiteral("hatbetű")}} << 1250
                              << "nem fér el";
    QTest::newRow("short out of range")
        << small << QList<QVector<QVariant>>{{QVariant(40000)}} << 1250 << "nem fér el";
    QTest::newRow("not a number") << small << QList<QVector<QVariant>>{{QStringLiteral("sok")}} << 1250
                                  << "nem fér el";
    QTest::newRow("wrong size") << QList<ParadoxField>{{QStringLiteral("l"), T::Long, 2}}
                                << QList<QVector<QVariant>>{} << 1250 << "hossza";
    QTest::newRow("value count") << text
                                 << QList<QVector<QVariant>>{{QStringLiteral("a"), QStringLiteral("b")}}
                                 << 1250 << "érték van";
    QTest::newRow("same name twice") << QList<ParadoxField>{{QStringLiteral("a"), T::Short, 2},
                                                            {QStringLiteral("A"), T::Short, 2}}
                                     << QList<QVector<QVariant>>{} << 1250 << "kétszer";
    QTest::newRow("formatted memo") << QList<ParadoxField>{{QStringLiteral("f"), T::FmtMemoBLOb, 10}}
                                    << QList<QVector<QVariant>>{} << 1250 << "nem írható";
    QTest::newRow("code page") << text << QList<QVector<QVariant>>{} << 936 << "kódlap";
    QTest::newRow("no fields") << QList<ParadoxField>{} << QList<QVector<QVariant>>{} << 1250 << "mezője";
}

void TestParadox::writerRefusesBadInput()
{
    QFETCH(QList<ParadoxField>, fields);
    QFETCH(QList<QVector<QVariant>>, rows);
    QFETCH(int, codePage);
    QFETCH(QString, message);
    QTemporaryDir dir;
    const QString path = dir.filePath(QStringLiteral("ROSSZ.DB"));
    QString error;
    QVERIFY(!ParadoxWriter::write(path, fields, 0, rows, codePage, &error));
    QVERIFY2(error.contains(message), qPrintable(error));
    QVERIFY(!QFileInfo::exists(path));
}

void TestParadox::compareWithOldCatalog(const QString& folder)
{
    for (const OldCatalog::Table& expected : OldCatalog::tables()) {
        QString error;
        const auto table = readTable(QDir(folder).filePath(expected.fileName), 0, &error);
        QVERIFY2(table, qPrintable(error));
        QVERIFY2(table->warnings.isEmpty(), qPrintable(table->warnings.join(u'\n')));
        QCOMPARE(table->tableName, QFileInfo(expected.fileName).completeBaseName());
        QCOMPARE(table->headerCodePage, OldCatalog::CodePage);
        QCOMPARE(table->codePageUsed, OldCatalog::CodePage);
        QCOMPARE(table->primaryKeyFields, expected.primaryKeyFields);
        QCOMPARE(table->fields.size(), expected.fields.size());
        for (int f = 0; f < expected.fields.size(); ++f) {
            QCOMPARE(table->fields[f].name, expected.fields[f].name);
            QCOMPARE(table->fields[f].pxType, expected.fields[f].pxType);
            QCOMPARE(table->fields[f].size, expected.fields[f].size);
        }
        QCOMPARE(table->rows.size(), expected.rows.size());
        for (int r = 0; r < expected.rows.size(); ++r) {
            for (int f = 0; f < expected.fields.size(); ++f) {
                QString why;
                QVERIFY2(sameValue(table->rows[r][f], expected.rows[r][f], &why),
                         qPrintable(QStringLiteral("%1 row %2 %3: %4")
                                        .arg(expected.fileName)
                                        .arg(r)
                                        .arg(expected.fields[f].name, why)));
            }
        }
    }
}

void TestParadox::oldCatalogRoundTrip()
{
    QTemporaryDir dir;
    QString error;
    QVERIFY2(OldCatalog::write(dir.path(), &error), qPrintable(error));
    compareWithOldCatalog(dir.path());
    if (QTest::currentTestFailed()) return;

    // The old layout the upgrade works from: az an autoincrement, the memos, no later fields.
    const auto konyv = readTable(dir.filePath(QStringLiteral("konyv.DB")));
    QCOMPARE(konyv->fields[konyv->fieldIndex(QStringLiteral("az"))].pxType, T::AutoInc);
    QCOMPARE(konyv->fields[konyv->fieldIndex(QStringLiteral("tartalom"))].pxType, T::MemoBLOb);
    QCOMPARE(konyv->fields[konyv->fieldIndex(QStringLiteral("lista"))].pxType, T::MemoBLOb);
    for (const char* later : {"sorszam", "kiado_nev", "polc_nev", "torolve", "polc", "sorozat", "szakjel"})
        QCOMPARE(konyv->fieldIndex(QString::fromLatin1(later)), -1);
    const QString text = konyv->rows[1][konyv->fieldIndex(QStringLiteral("tartalom"))].toString();
    QVERIFY(text.contains(QStringLiteral("ő")) && text.contains(QStringLiteral("ű")));
    // The long memo took a block of its own, the shorter ones a suballocated block.
    const QByteArray mb = contents(dir.filePath(QStringLiteral("konyv.MB")));
    QCOMPARE(countBlocksOfType(mb, 2), 1);
    QCOMPARE(countBlocksOfType(mb, 3), 1);
    // The text is Windows-1250 on disk: ű is 0xFB there, Í 0xCD.
    QVERIFY(contents(dir.filePath(QStringLiteral("konyv.DB"))).contains("Sz\xFB\x63s \xCD\x62olya"));
}

void TestParadox::committedOldCatalog()
{
    compareWithOldCatalog(QStringLiteral(LEROVANI_TEST_DATA "/oldcatalog"));
}

// Cut and scrambled copies of real tables: read() must give a table or an error, every
// time, and never crash or hang. Bounded by time, so the test stays quick.
void TestParadox::damagedFilesNeverCrash()
{
    struct Source
    {
        QString db;
        QString mb;
    };
    QTemporaryDir dir;
    QString error;
    QVERIFY(OldCatalog::write(dir.path(), &error));
    const QList<Source> sources = {
        {fixture(QStringLiteral("paradoxdriver/fields/memo.db")),
         fixture(QStringLiteral("paradoxdriver/fields/memo.mb"))},
        {fixture(QStringLiteral("paradoxdriver/db/CUSTOMER.DB")),
         fixture(QStringLiteral("paradoxdriver/db/CUSTOMER.MB"))},
        {fixture(QStringLiteral("pxlib/TypSammlung.DB")), fixture(QStringLiteral("pxlib/TypSammlung.MB"))},
        {fixture(QStringLiteral("paradox-reader-net/testtab.DB")),
         fixture(QStringLiteral("paradox-reader-net/testtab.MB"))},
        {fixture(QStringLiteral("paradoxdriver/fields/fmemo.db")),
         fixture(QStringLiteral("paradoxdriver/fields/fmemo.mb"))},
        {fixture(QStringLiteral("paradoxdriver/fields/graphic240.db")),
         fixture(QStringLiteral("paradoxdriver/fields/graphic240.mb"))},
        {fixture(QStringLiteral("paradoxdriver/mtdemo/AMOUNT.DB")), QString()},
        {fixture(QStringLiteral("paradoxdriver/fields/bcd.db")), QString()},
        {dir.filePath(QStringLiteral("konyv.DB")), dir.filePath(QStringLiteral("konyv.MB"))},
    };
    const qint64 budgetPerSource = 4000 / sources.size();
    QRandomGenerator random(20240611);
    const QString db = dir.filePath(QStringLiteral("X.DB"));
    const QString mb = dir.filePath(QStringLiteral("X.MB"));
    int runs = 0;
    int tables = 0;
    const auto attempt = [&](const QByteArray& dbData, const QByteArray& mbData) {
        if (!store(db, dbData) || (!mbData.isNull() && !store(mb, mbData)))
            return QStringLiteral("cannot write the damaged copy");
        if (mbData.isNull()) QFile::remove(mb);
        ++runs;
        QString message;
        const auto table = ParadoxReader::read(db, ParadoxReader::ReadOptions(), &message);
        if (!table) return message.isEmpty() ? QStringLiteral("no table and no message") : QString();
        ++tables;
        if (table->rows.size() != table->recordCount)
            return QStringLiteral("row count differs from recordCount");
        for (const QVector<QVariant>& row : table->rows) {
            if (row.size() != table->fields.size()) return QStringLiteral("row of the wrong width");
        }
        return QString();
    };

    for (const Source& source : sources) {
        const QByteArray dbData = contents(source.db);
        const QByteArray mbData = source.mb.isEmpty() ? QByteArray() : contents(source.mb);
        QVERIFY(!dbData.isEmpty());
        QElapsedTimer timer;
        timer.start();
        const int headerSize = qFromLittleEndian<quint16>(dbData.constData() + 2);
        // Every cut of the header, then cuts through the data.
        for (int cut = 0; cut < dbData.size() && !timer.hasExpired(budgetPerSource / 4);
             cut += cut < headerSize ? 1 + cut / 64 : 97) {
            const QString problem = attempt(dbData.left(cut), mbData);
            QVERIFY2(problem.isEmpty(),
                     qPrintable(QStringLiteral("%1 cut at %2: %3").arg(source.db).arg(cut).arg(problem)));
        }
        while (!timer.hasExpired(budgetPerSource)) {
            QByteArray d = dbData;
            QByteArray m = mbData;
            const int changes = 1 + random.bounded(6);
            const bool inMb = !m.isEmpty() && random.bounded(3) == 0;
            QByteArray& target = inMb ? m : d;
            for (int c = 0; c < changes; ++c) {
                // Mostly the header and pointers, where a wrong byte does the most harm.
                const qsizetype limit =
                    !inMb && random.bounded(2) ? qMin<qsizetype>(headerSize, target.size()) : target.size();
                const int at = random.bounded(int(qMax<qsizetype>(limit, 1)));
                const char values[] = {'\0', char(0xFF), char(0x80), char(0x7F), char(random.bounded(256))};
                target[at] = values[random.bounded(5)];
            }
            if (inMb && random.bounded(4) == 0) m.truncate(random.bounded(int(m.size())));
            const QString problem = attempt(d, m);
            QVERIFY2(problem.isEmpty(), qPrintable(QStringLiteral("%1: %2").arg(source.db, problem)));
        }
    }
    QVERIFY(runs > 500);
    QVERIFY(tables > 0);
}

QTEST_GUILESS_MAIN(TestParadox)
#include "tst_paradox.moc"
