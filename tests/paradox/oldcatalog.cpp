#include "oldcatalog.h"

#include "paradoxwriter.h"

#include <QDate>
#include <QDir>

using Maintenance::ParadoxField;
namespace T = Maintenance::ParadoxType;

namespace OldCatalog {

namespace {

const QVariant noText = QVariant(QMetaType::fromType<QString>());
const QVariant noInt = QVariant(QMetaType::fromType<qint64>());
const QVariant noDate = QVariant(QMetaType::fromType<QDate>());
const QVariant noFloat = QVariant(QMetaType::fromType<double>());
const QVariant noBool = QVariant(QMetaType::fromType<bool>());

QVariant i(qint64 v)
{
    return QVariant::fromValue<qint64>(v);
}

QVariant s(const char* utf8)
{
    return QString::fromUtf8(utf8);
}

// Long enough to need a block of its own in the .MB file.
QString longText()
{
    QString text;
    for (int n = 1; text.size() < 2600; ++n)
        text += QStringLiteral("%1. Őszi szél fúj, a fűzfán függő levelek hullnak; az öreg kőhíd alatt "
                               "zúg a víz, és a túlparton égő tűz füstje száll.\r\n")
                    .arg(n);
    return text;
}

Table konyv()
{
    Table t;
    t.fileName = QStringLiteral("konyv.DB");
    t.primaryKeyFields = 1;
    t.fields = {
        {QStringLiteral("az"), T::AutoInc, 4},         {QStringLiteral("tipus"), T::Long, 4},
        {QStringLiteral("szerzo"), T::Alpha, 255},     {QStringLiteral("cim"), T::Alpha, 75},
        {QStringLiteral("kiado"), T::Long, 4},         {QStringLiteral("kiadas"), T::Long, 4},
        {QStringLiteral("targykor"), T::Long, 4},      {QStringLiteral("kolcsonadva"), T::Alpha, 50},
        {QStringLiteral("datum"), T::Date, 4},         {QStringLiteral("polcon"), T::Logical, 1},
        {QStringLiteral("prgkod"), T::Alpha, 50},      {QStringLiteral("prgtipus"), T::Long, 4},
        {QStringLiteral("mufaj"), T::Long, 4},         {QStringLiteral("minoseg"), T::Long, 4},
        {QStringLiteral("kotetszam"), T::Long, 4},     {QStringLiteral("hossz"), T::Alpha, 20},
        {QStringLiteral("tartalom"), T::MemoBLOb, 60}, {QStringLiteral("azonosito"), T::Alpha, 10},
        {QStringLiteral("szoveg"), T::Alpha, 255},     {QStringLiteral("lista"), T::MemoBLOb, 60},
        {QStringLiteral("isbn"), T::Alpha, 20},        {QStringLiteral("alcim"), T::Alpha, 128},
        {QStringLiteral("szerkeszto"), T::Alpha, 255}, {QStringLiteral("ar"), T::Number, 8},
    };
    // az tipus szerzo cim kiado kiadas targykor kolcsonadva datum polcon prgkod prgtipus
    // mufaj minoseg kotetszam hossz tartalom azonosito szoveg lista isbn alcim szerkeszto ar
    t.rows = {
        {i(1),
         i(1),
         s("Gárdonyi Géza"),
         s("Egri csillagok"),
         i(1),
         i(1963),
         i(2),
         noText,
         noDate,
         true,
         noText,
         i(0),
         i(0),
         i(0),
         i(1),
         s("480 oldal"),
         s("Történelmi regény az 1552-es egri ostromról."),
         s("0000001"),
         noText,
         s("Első rész: Hol terem a magyar vitéz?\r\nMásodik rész: Oroszlán és kölyke\r\n"
           "Harmadik rész: Rab oroszlán\r\nNegyedik rész: Eger veszedelme\r\nÖtödik rész: Az Isten rabjai"),
         s("963-11-0001-7"),
         noText,
         noText,
         35.5},
        {i(2),
         i(1),
         s("Weöres Sándor"),
         s("Bóbita"),
         i(1),
         i(1955),
         i(1),
         s("Kovács Ödön"),
         QDate(2003, 11, 5),
         false,
         noText,
         i(0),
         i(0),
         i(0),
         i(1),
         s("64 oldal"),
         longText(),
         s("0000002"),
         noText,
         noText,
         noText,
         s("Versek gyerekeknek"),
         s("Szűts Ilona, Réber László"),
         0.0},
        {i(3),
         i(3),
         s("Kodály Zoltán"),
         s("Psalmus Hungaricus"),
         i(5),
         i(1998),
         i(0),
         noText,
         noDate,
         true,
         noText,
         i(0),
         i(2),
         i(1),
         i(2),
         s("74:12"),
         s("Felvétel a Zeneakadémia nagytermében. A Budapesti Fesztiválzenekar és a Magyar Rádió "
           "Énekkara; vezényel: Fischer Iván. A kísérőfüzet Kodály „Psalmus Hungaricus” című "
           "művének keletkezéséről, a Pest-Buda-Óbuda egyesítésének ötvenedik évfordulójára "
           "rendezett ünnepi hangversenyről szól – Őrült jó hangzás, kétszer is érdemes meghallgatni."),
         s("0000003"),
         noText,
         s("1. Psalmus Hungaricus\r\n2. Fölszállott a páva\r\n3. Székely fonó"),
         noText,
         noText,
         noText,
         2990.0},
        {i(5),
         i(2),
         noText,
         s("Nyelvtanoló 2.0"),
         i(4),
         i(2001),
         i(0),
         noText,
         noDate,
         true,
         s("ABCD-1234-ŰŐ"),
         i(1),
         i(0),
         i(0),
         i(1),
         s("650 MB"),
         noText,
         s("0000005"),
         noText,
         noText,
         noText,
         s("angol–magyar"),
         noText,
         4990.5},
        {i(6),
         i(6),
         s("Zenthe Ferenc, Szirtes Ádám"),
         s("A Tenkes kapitánya"),
         i(3),
         i(1963),
         i(0),
         noText,
         noDate,
         true,
         noText,
         i(0),
         i(3),
         i(2),
         i(2),
         s("180 perc"),
         noText,
         s("0000006"),
         s("magyar"),
         noText,
         noText,
         noText,
         noText,
         1200.0},
        // tartalom exactly fills the part of the memo kept in the record; lista is one byte over.
        {i(7),
         i(8),
         s("Rudolf Péter"),
         s("Üvegtigris"),
         i(3),
         i(2001),
         i(0),
         noText,
         noDate,
         true,
         noText,
         i(0),
         i(1),
         i(1),
         i(1),
         s("105 perc"),
         s("Büfé a 8-as főút mellett; Lali álmai, a tűzoltók!!"),
         s("0000007"),
         s("magyar, angol felirat"),
         s("Szereplők: Rudolf Péter, Reviczky Gábor, Gáspár S.!"),
         noText,
         s("Vígjáték"),
         s("Rudolf Péter"),
         1990.0},
        {i(8),
         i(5),
         s("Koncz Zsuzsa"),
         s("Ünnepi hangverseny"),
         i(5),
         i(1975),
         i(0),
         s("Szűcs Íbolya"),
         QDate(1999, 12, 31),
         false,
         noText,
         i(0),
         i(4),
         i(3),
         i(1),
         s("42:10"),
         noText,
         s("0000008"),
         noText,
         s("A oldal:\r\n1. Ha én rózsa volnék\r\n2. Szabadság, szerelem\r\nB oldal:\r\n3. Kőműves Kelemen"),
         noText,
         noText,
         noText,
         noFloat},
        {i(9),
         i(7),
         s("Halász Judit"),
         s("ŐSZI DALOK – ŰRHAJÓS MESÉK"),
         i(0),
         noInt,
         i(0),
         noText,
         noDate,
         noBool,
         noText,
         i(0),
         i(0),
         i(0),
         noInt,
         noText,
         noText,
         noText,
         noText,
         noText,
         noText,
         noText,
         noText,
         noFloat},
    };
    return t;
}

Table kiado()
{
    Table t;
    t.fileName = QStringLiteral("kiado.DB");
    t.primaryKeyFields = 1;
    t.fields = {{QStringLiteral("kiado"), T::AutoInc, 4},
                {QStringLiteral("kiado_nev"), T::Alpha, 50},
                {QStringLiteral("tip"), T::Long, 4}};
    t.rows = {
        {i(1), s("Móra Ferenc Ifjúsági Könyvkiadó"), i(1)},
        {i(2), s("Európa Könyvkiadó"), i(1)},
        {i(3), s("Szépirodalmi Könyvkiadó"), i(1)},
        {i(4), s("Magvető"), i(1)},
        {i(5), s("Hungaroton"), i(3)},
    };
    return t;
}

Table tipus()
{
    Table t;
    t.fileName = QStringLiteral("tipus.DB");
    t.primaryKeyFields = 1;
    t.fields = {{QStringLiteral("tipus"), T::AutoInc, 4}, {QStringLiteral("tipus_nev"), T::Alpha, 30}};
    const char* names[] = {"Könyvek", "CD-Programok", "CD-Zene",     "CD-Video",
                           "Bakelit", "VHS",          "Hangkazetta", "DVD"};
    for (int n = 0; n < 8; ++n)
        t.rows.append({i(n + 1), s(names[n])});
    return t;
}

} // namespace

QList<Table> tables()
{
    return {konyv(), kiado(), tipus()};
}

bool write(const QString& folder, QString* error)
{
    for (const Table& table : tables()) {
        if (!Maintenance::ParadoxWriter::write(QDir(folder).filePath(table.fileName), table.fields,
                                               table.primaryKeyFields, table.rows, CodePage, error))
            return false;
    }
    return true;
}

} // namespace OldCatalog
