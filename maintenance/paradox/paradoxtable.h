#pragma once

#include <QList>
#include <QString>
#include <QStringList>
#include <QVariant>
#include <QVector>

namespace Maintenance {

// Field type codes of the Paradox header; the values are pxlib's pxf* codes.
namespace ParadoxType {
constexpr char Alpha = 0x01;
constexpr char Date = 0x02;
constexpr char Short = 0x03;
constexpr char Long = 0x04;
constexpr char Currency = 0x05;
constexpr char Number = 0x06;
constexpr char Logical = 0x09;
constexpr char MemoBLOb = 0x0C;
constexpr char BLOb = 0x0D;
constexpr char FmtMemoBLOb = 0x0E;
constexpr char OLE = 0x0F;
constexpr char Graphic = 0x10;
constexpr char Time = 0x14;
constexpr char Timestamp = 0x15;
constexpr char AutoInc = 0x16;
constexpr char BCD = 0x17;
constexpr char Bytes = 0x18;

// "Alpha", "Memo", ... as Paradox names them.
QString name(char pxType);
// Memo, formatted memo, BLOb, OLE and graphic fields keep their data in the .MB file.
bool isBlob(char pxType);
bool isText(char pxType); // Alpha, Memo, formatted memo
} // namespace ParadoxType

struct ParadoxField
{
    QString name;
    char pxType = 0;
    // Bytes the field takes in a record (17 for BCD). For memo and blob fields it is the
    // in-record prefix plus the 10-byte pointer into the .MB file.
    int size = 0;
    int decimals = 0; // BCD only: digits after the decimal point, as the header stores them
};

// A whole table read into memory. Values by field type:
//   Alpha, Memo, formatted memo -> QString (decoded from codePageUsed)
//   Short, Long, AutoInc        -> qint64
//   Number, Currency, BCD       -> double
//   Date -> QDate, Time -> QTime, Logical -> bool
//   Timestamp -> QDateTime in Qt::UTC: the wall-clock value as stored, which no time
//                zone rule may shift (Paradox keeps no zone)
//   Bytes, BLOb, OLE, Graphic   -> QByteArray
// An empty Paradox value is a null QVariant of the field's type.
struct ParadoxTable
{
    QString fileName;  // the path that was read
    QString tableName; // base name of the file as on disk ("Konyv" for Konyv.DB)
    QList<ParadoxField> fields;
    int primaryKeyFields = 0;
    int fileVersion = 0;    // 30, 35, 40, 50 or 70
    int headerCodePage = 0; // 0 when the header names none (Paradox 3.x) or names 0
    int codePageUsed = 0;
    int recordCount = 0; // records in the data blocks; a header that says otherwise gets a warning
    QList<QVector<QVariant>> rows;
    // Hungarian, each naming the file; for the caller to show. Nothing in them was lost
    // silently: each says what was kept instead.
    QStringList warnings;

    int fieldIndex(const QString& name) const; // case-insensitive; -1 when missing
};

} // namespace Maintenance
