#include "oldparadoxcatalog.h"

#include "paradoxwriter.h"

#include <QDate>
#include <QDir>

using Maintenance::ParadoxField;
using Maintenance::ParadoxWriter;
namespace PT = Maintenance::ParadoxType;

namespace OldParadoxCatalog {

namespace {

constexpr int kCodePage = 1250;

ParadoxField field(const char* name, char type, int size)
{
    return ParadoxField{QString::fromUtf8(name), type, size, 0};
}

bool writeLookup(const QString& folder, const char* table, const QStringList& names, bool withTip,
                 QString* error)
{
    const QString key = QString::fromLatin1(table);
    QList<ParadoxField> fields = {field(table, PT::AutoInc, 4),
                                  ParadoxField{key + QStringLiteral("_nev"), PT::Alpha, 50, 0}};
    if (withTip) fields.append(field("tip", PT::Long, 4));
    QList<QVector<QVariant>> rows;
    for (int i = 0; i < names.size(); ++i) {
        QVector<QVariant> row = {qint64(i + 1), names[i]};
        if (withTip) row.append(qint64(1));
        rows.append(row);
    }
    return ParadoxWriter::write(QDir(folder).filePath(key + QStringLiteral(".DB")), fields, 1, rows,
                                kCodePage, error);
}

} // namespace

int az(int i)
{
    return 3 * i;
}
int tipus(int i)
{
    return (i - 1) % 8 + 1;
}
int kiado(int i)
{
    return i % 3;
}
QString cim(int i)
{
    return QStringLiteral("Cím ő ű %1").arg(i);
}
QString tartalom(int i)
{
    return QStringLiteral("Tartalom: tűzőgép és őszi levél, %1. tétel").arg(i);
}
QString lista(int i)
{
    return QStringLiteral("Első sor %1\r\nMásodik sor űr").arg(i);
}
QString kiadoNev(int key)
{
    return key == 1   ? QStringLiteral("Móra Ferenc Ifjúsági Kiadó")
           : key == 2 ? QStringLiteral("Európa Könyvkiadó")
                      : QString();
}

bool write(const QString& folder, int konyvRows, QString* error)
{
    if (!QDir().mkpath(folder)) {
        *error = QStringLiteral("cannot create ") + folder;
        return false;
    }
    const QList<ParadoxField> konyvFields = {
        field("az", PT::AutoInc, 4),         field("tipus", PT::Long, 4),
        field("szerzo", PT::Alpha, 255),     field("cim", PT::Alpha, 75),
        field("kiado", PT::Long, 4),         field("kiadas", PT::Long, 4),
        field("targykor", PT::Long, 4),      field("kolcsonadva", PT::Alpha, 50),
        field("datum", PT::Date, 4),         field("polcon", PT::Logical, 1),
        field("prgkod", PT::Alpha, 50),      field("prgtipus", PT::Long, 4),
        field("mufaj", PT::Long, 4),         field("minoseg", PT::Long, 4),
        field("kotetszam", PT::Long, 4),     field("hossz", PT::Alpha, 20),
        field("tartalom", PT::MemoBLOb, 40), field("azonosito", PT::Alpha, 10),
        field("lista", PT::MemoBLOb, 40),
    };
    QList<QVector<QVariant>> rows;
    rows.reserve(konyvRows);
    for (int i = 1; i <= konyvRows; ++i) {
        const bool lent = i % 4 == 0;
        rows.append({qint64(az(i)), qint64(tipus(i)),
                     QStringLiteral("Szerző Ödön %1, Kovács Ő.").arg(i % 997), cim(i), qint64(kiado(i)),
                     qint64(1950 + i % 70), qint64(i % 5), lent ? QStringLiteral("Kiss Erzsébet") : QString(),
                     lent ? QVariant(QDate(2001, 2, 3).addDays(i % 300)) : QVariant(), !lent, QString(),
                     qint64(0), qint64(i % 4), qint64(0), qint64(1),
                     QStringLiteral("%1 old.").arg(100 + i % 400), tartalom(i),
                     QStringLiteral("%1").arg(i, 7, 10, QLatin1Char('0')), lista(i)});
    }
    if (!ParadoxWriter::write(QDir(folder).filePath(QStringLiteral("konyv.DB")), konyvFields, 1, rows,
                              kCodePage, error))
        return false;

    QList<QVector<QVariant>> kinds;
    const char* names[] = {"Könyvek", "CD-Programok", "CD-Zene",     "CD-Video",
                           "Bakelit", "VHS",          "Hangkazetta", "DVD"};
    for (int k = 0; k < 8; ++k)
        kinds.append({qint64(k + 1), QString::fromUtf8(names[k])});
    if (!ParadoxWriter::write(QDir(folder).filePath(QStringLiteral("tipus.DB")),
                              {field("tipus", PT::AutoInc, 4), field("tipus_nev", PT::Alpha, 30)}, 1, kinds,
                              kCodePage, error))
        return false;

    return writeLookup(folder, "kiado", {kiadoNev(1), kiadoNev(2)}, true, error) &&
           writeLookup(folder, "targykor",
                       {QStringLiteral("Szépirodalom"), QStringLiteral("Történelem"),
                        QStringLiteral("Útleírás"), QStringLiteral("Műszaki")},
                       true, error) &&
           writeLookup(folder, "mufaj",
                       {QStringLiteral("Regény"), QStringLiteral("Vers"), QStringLiteral("Dráma")}, true,
                       error) &&
           writeLookup(folder, "prgtipus", {QStringLiteral("Játék"), QStringLiteral("Magyar")}, true,
                       error) &&
           writeLookup(folder, "minoseg", {QStringLiteral("Újszerű"), QStringLiteral("Használt")}, true,
                       error) &&
           writeLookup(folder, "szerzo", {QStringLiteral("Jókai Mór"), QStringLiteral("Weöres Sándor")}, true,
                       error) &&
           ParadoxWriter::write(QDir(folder).filePath(QStringLiteral("megj.DB")),
                                {field("konyv", PT::Long, 4), field("doknev", PT::Alpha, 255),
                                 field("doknev_rovid", PT::Alpha, 100), field("datum", PT::Date, 4)},
                                2,
                                {{qint64(az(1)), QStringLiteral("C:\\Képek\\borító.jpg"),
                                  QStringLiteral("Borító"), QDate(2003, 4, 5)}},
                                kCodePage, error);
}

} // namespace OldParadoxCatalog
