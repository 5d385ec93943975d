#include "paradoxformat.h"

#include "paradoxtable.h"

#include <QDate>
#include <QDateTime>
#include <QTime>
#include <QtEndian>

#include <cmath>
#include <cstring>

namespace Maintenance::ParadoxFormat {

namespace {

// Julian day of 31 December 1 BC: Paradox counts dates from 1 January 1 as day 1.
constexpr qint64 JulianDayOffset = 1721425;
constexpr qint64 MsecsPerDay = 86400000;

quint16 u16(const char* p)
{
    return qFromLittleEndian<quint16>(p);
}

quint32 u32(const char* p)
{
    return qFromLittleEndian<quint32>(p);
}

bool validTableSize(int kib)
{
    return kib == 1 || kib == 2 || kib == 3 || kib == 4 || kib == 8 || kib == 16 || kib == 32;
}

bool allZero(const char* data, int size)
{
    for (int i = 0; i < size; ++i) {
        if (data[i] != 0) return false;
    }
    return true;
}

// Paradox stores integers big-endian with the sign bit inverted, so that byte order sorts.
std::optional<qint64> readInteger(const char* data, int bytes)
{
    if (allZero(data, bytes)) return std::nullopt;
    quint64 raw = 0;
    for (int i = 0; i < bytes; ++i)
        raw = (raw << 8) | static_cast<unsigned char>(data[i]);
    const quint64 signBit = quint64(1) << (bytes * 8 - 1);
    raw ^= signBit;
    if (raw & signBit) return qint64(raw) - qint64(signBit << 1);
    return qint64(raw);
}

void writeInteger(char* out, int bytes, qint64 value)
{
    const quint64 signBit = quint64(1) << (bytes * 8 - 1);
    quint64 raw = quint64(value) ^ signBit;
    for (int i = bytes - 1; i >= 0; --i) {
        out[i] = char(raw & 0xFF);
        raw >>= 8;
    }
}

// Doubles: big-endian; positive ones with the sign bit set, negative ones all bits inverted.
std::optional<double> readDouble(const char* data)
{
    if (allZero(data, 8)) return std::nullopt;
    unsigned char b[8];
    std::memcpy(b, data, 8);
    if (b[0] & 0x80) {
        b[0] &= 0x7F;
    } else {
        for (unsigned char& c : b)
            c = static_cast<unsigned char>(~c);
    }
    return qFromBigEndian<double>(b);
}

void writeDouble(char* out, double value)
{
    qToBigEndian<double>(value, out);
    if (value >= 0) {
        out[0] = char(out[0] | 0x80);
    } else {
        for (int i = 0; i < 8; ++i)
            out[i] = char(~out[i]);
    }
}

int nibble(const char* data, int index)
{
    const auto byte = static_cast<unsigned char>(data[index / 2]);
    return index % 2 ? byte & 0x0F : byte >> 4;
}

// 17 bytes: a flag byte (0x40 set: not empty; 0x80 set: positive) with the number of
// decimals, then 32 digits, all inverted for negative numbers. Paradox leaves junk in the
// digits beyond a double's precision; the first non-digit after the point ends the number.
std::optional<double> readBcd(const char* data, bool* invalid)
{
    const auto head = static_cast<unsigned char>(data[0]);
    if (!(head & 0x40)) return std::nullopt;
    const bool negative = !(head & 0x80);
    const int decimals = head & 0x3F;
    if (decimals > 32) {
        *invalid = true;
        return std::nullopt;
    }
    const int flip = negative ? 0x0F : 0;
    QByteArray text;
    if (negative) text.append('-');
    text.append('0');
    for (int i = 2; i < 34; ++i) {
        const bool fraction = i >= 34 - decimals;
        if (i == 34 - decimals) text.append('.');
        const int digit = nibble(data, i) ^ flip;
        if (digit > 9) {
            if (fraction) break;
            *invalid = true;
            return std::nullopt;
        }
        text.append(char('0' + digit));
    }
    bool ok = false;
    const double value = text.toDouble(&ok);
    if (!ok) {
        *invalid = true;
        return std::nullopt;
    }
    return value;
}

bool writeBcd(char* out, int decimals, double value)
{
    if (!std::isfinite(value) || decimals < 0 || decimals > 32) return false;
    const bool negative = value < 0;
    QByteArray digits = QByteArray::number(std::fabs(value), 'f', decimals);
    digits.replace('.', QByteArray());
    if (digits.size() > 32) return false;
    digits = QByteArray(32 - digits.size(), '0') + digits;
    std::memset(out, 0, BcdSize);
    out[0] = char((negative ? 0x40 : 0xC0) | decimals);
    const int flip = negative ? 0x0F : 0;
    for (int i = 0; i < 32; ++i) {
        const int digit = (digits[i] - '0') ^ flip;
        const int index = i + 2;
        char& byte = out[index / 2];
        if (index % 2)
            byte = char((byte & 0xF0) | digit);
        else
            byte = char((byte & 0x0F) | (digit << 4));
    }
    return true;
}

template <typename T> QVariant nullOf()
{
    return QVariant(QMetaType::fromType<T>());
}

} // namespace

bool isValidFieldType(char type)
{
    switch (type) {
    case ParadoxType::Alpha:
    case ParadoxType::Date:
    case ParadoxType::Short:
    case ParadoxType::Long:
    case ParadoxType::Currency:
    case ParadoxType::Number:
    case ParadoxType::Logical:
    case ParadoxType::MemoBLOb:
    case ParadoxType::BLOb:
    case ParadoxType::FmtMemoBLOb:
    case ParadoxType::OLE:
    case ParadoxType::Graphic:
    case ParadoxType::Time:
    case ParadoxType::Timestamp:
    case ParadoxType::AutoInc:
    case ParadoxType::BCD:
    case ParadoxType::Bytes:
        return true;
    default:
        return false;
    }
}

namespace {

// Stored size byte of a field that is valid for its type; BCD stores its decimals.
bool validFieldSize(char type, int size)
{
    switch (type) {
    case ParadoxType::Alpha:
    case ParadoxType::Bytes:
        return size >= 1 && size <= 255;
    case ParadoxType::Short:
        return size == 2;
    case ParadoxType::Logical:
        return size == 1;
    case ParadoxType::Date:
    case ParadoxType::Long:
    case ParadoxType::Time:
    case ParadoxType::AutoInc:
        return size == 4;
    case ParadoxType::Currency:
    case ParadoxType::Number:
    case ParadoxType::Timestamp:
        return size == 8;
    case ParadoxType::BCD:
        return size >= 0 && size <= 32;
    default: // memo and blob fields: an optional in-record prefix and the pointer
        return size >= BlobPointerSize && size <= 255;
    }
}

} // namespace

HeaderStatus parseHeader(const QByteArray& file, Header* header, QString* detail)
{
    *header = Header();
    const qint64 size = file.size();
    const char* p = file.constData();
    if (size == 0) return HeaderStatus::Empty;
    if (size < MainHeaderSize) {
        // Plausible first bytes of a header cut short, or something else altogether.
        if (size >= 6 && static_cast<unsigned char>(p[4]) <= 8 &&
            validTableSize(static_cast<unsigned char>(p[5])) && u16(p) > 0 && u16(p + 2) >= MainHeaderSize) {
            *detail = QStringLiteral("a fájl csak %1 bájt, a fejléc ennél hosszabb").arg(size);
            return HeaderStatus::TruncatedHeader;
        }
        return HeaderStatus::NotParadox;
    }

    Header h;
    h.recordSize = u16(p);
    h.headerSize = u16(p + 2);
    h.fileType = static_cast<unsigned char>(p[4]);
    const int tableKib = static_cast<unsigned char>(p[5]);
    h.versionId = static_cast<unsigned char>(p[0x39]);
    if (h.fileType > 8 || !validTableSize(tableKib) || h.versionId < 3 || h.versionId > 12 ||
        h.recordSize == 0 || h.headerSize < MainHeaderSize)
        return HeaderStatus::NotParadox;
    if (h.fileType != 0 && h.fileType != 2) return HeaderStatus::NotDataTable;

    h.blockSize = tableKib * 1024;
    if (h.versionId == 3)
        h.fileVersion = 30;
    else if (h.versionId == 4)
        h.fileVersion = 35;
    else if (h.versionId <= 9)
        h.fileVersion = 40;
    else if (h.versionId <= 11)
        h.fileVersion = 50;
    else
        h.fileVersion = 70;
    h.hasDataHeader = h.fileVersion >= 40;

    if (size < h.headerSize) {
        *detail = QStringLiteral("a fájl %1 bájt, a fejléc %2 bájt volna").arg(size).arg(h.headerSize);
        return HeaderStatus::TruncatedHeader;
    }
    if (h.hasDataHeader && h.headerSize < DataHeaderEnd) {
        *detail = QStringLiteral("a fejléc mérete (%1 bájt) kisebb a szükségesnél").arg(h.headerSize);
        return HeaderStatus::Corrupt;
    }

    const quint32 encryption1 = u32(p + 0x25);
    if (encryption1 == 0xFF00FF00u)
        h.encryption = h.hasDataHeader ? u32(p + 0x5C) : 0;
    else
        h.encryption = encryption1;
    if (h.encryption != 0) return HeaderStatus::Encrypted;

    h.numRecords = qint32(u32(p + 6));
    h.fileBlocks = u16(p + 0x0C);
    h.firstBlock = u16(p + 0x0E);
    h.lastBlock = u16(p + 0x10);
    const int numFields = qint16(u16(p + 0x21));
    h.primaryKeyFields = qint16(u16(p + 0x23));
    h.autoInc = qint32(u32(p + 0x49));
    h.codePage = h.hasDataHeader ? u16(p + 0x6A) : 0;

    if (h.numRecords < 0) {
        *detail = QStringLiteral("a rekordok száma (%1) érvénytelen").arg(h.numRecords);
        return HeaderStatus::Corrupt;
    }
    if (numFields < 1 || numFields > 255) {
        *detail = QStringLiteral("a mezők száma (%1) érvénytelen").arg(numFields);
        return HeaderStatus::Corrupt;
    }
    if (h.primaryKeyFields < 0 || h.primaryKeyFields > numFields) {
        *detail = QStringLiteral("a kulcsmezők száma (%1) érvénytelen").arg(h.primaryKeyFields);
        return HeaderStatus::Corrupt;
    }
    if (h.recordSize + DataBlockHeaderSize > h.blockSize) {
        *detail = QStringLiteral("a rekord (%1 bájt) nem fér el egy %2 bájtos adatblokkban")
                      .arg(h.recordSize)
                      .arg(h.blockSize);
        return HeaderStatus::Corrupt;
    }
    const qint64 needed = qint64(h.headerSize) + qint64(h.fileBlocks) * h.blockSize;
    if (size < needed) {
        *detail = QStringLiteral("a fejléc szerint %1 adatblokk van benne (%2 bájt), a fájl csak %3 bájt")
                      .arg(h.fileBlocks)
                      .arg(needed)
                      .arg(size);
        return HeaderStatus::TruncatedData;
    }

    qint64 pos = h.hasDataHeader ? DataHeaderEnd : MainHeaderSize;
    if (pos + 2 * numFields > h.headerSize) {
        *detail = QStringLiteral("a mezőleírások nem férnek el a fejlécben");
        return HeaderStatus::Corrupt;
    }
    int recordSize = 0;
    for (int i = 0; i < numFields; ++i) {
        RawField field;
        field.type = p[pos + 2 * i];
        const int stored = static_cast<unsigned char>(p[pos + 2 * i + 1]);
        if (!isValidFieldType(field.type)) {
            *detail = QStringLiteral("a(z) %1. mező típusa (%2) ismeretlen")
                          .arg(i + 1)
                          .arg(static_cast<unsigned char>(field.type));
            return HeaderStatus::Corrupt;
        }
        if (!validFieldSize(field.type, stored)) {
            *detail = QStringLiteral("a(z) %1. mező (%2) hossza (%3) érvénytelen")
                          .arg(i + 1)
                          .arg(ParadoxType::name(field.type))
                          .arg(stored);
            return HeaderStatus::Corrupt;
        }
        if (field.type == ParadoxType::BCD) {
            field.size = BcdSize;
            field.decimals = stored;
        } else {
            field.size = stored;
        }
        recordSize += field.size;
        h.fields.append(field);
    }
    if (recordSize != h.recordSize) {
        *detail = QStringLiteral("a mezők együttes hossza (%1) eltér a rekord hosszától (%2)")
                      .arg(recordSize)
                      .arg(h.recordSize);
        return HeaderStatus::Corrupt;
    }

    // Pointer to the table name and one pointer per field name, then the name itself.
    pos += 2 * numFields + 4 + 4 * numFields;
    const int tableNameLength = h.versionId >= 12 ? 261 : 79;
    if (pos + tableNameLength > h.headerSize) {
        *detail = QStringLiteral("a tábla neve nem fér el a fejlécben");
        return HeaderStatus::Corrupt;
    }
    const int tableNameEnd = int(qstrnlen(p + pos, tableNameLength));
    if (tableNameEnd == tableNameLength) {
        *detail = QStringLiteral("a tábla neve nincs lezárva");
        return HeaderStatus::Corrupt;
    }
    h.tableName = QByteArray(p + pos, tableNameEnd);
    pos += tableNameLength;

    for (int i = 0; i < numFields; ++i) {
        const qint64 room = qMin<qint64>(h.headerSize - pos, 256);
        const int length = room > 0 ? int(qstrnlen(p + pos, size_t(room))) : 0;
        if (room <= 0 || length == room) {
            *detail = QStringLiteral("a(z) %1. mező neve hiányzik vagy nincs lezárva").arg(i + 1);
            return HeaderStatus::Corrupt;
        }
        h.fields[i].name = QByteArray(p + pos, length);
        pos += length + 1;
    }

    *header = h;
    return HeaderStatus::Ok;
}

bool walkBlocks(const QByteArray& file, const Header& header, QList<DataBlock>* blocks, QString* detail)
{
    blocks->clear();
    if (header.fileBlocks == 0 || header.firstBlock == 0) return true;
    const char* p = file.constData();
    const int capacity = (header.blockSize - DataBlockHeaderSize) / header.recordSize;
    QList<bool> seen(header.fileBlocks + 1, false);
    int number = header.firstBlock;
    while (number != 0) {
        if (number < 1 || number > header.fileBlocks) {
            *detail = QStringLiteral("a(z) %1. adatblokk nem létezik (a fájlban %2 blokk van)")
                          .arg(number)
                          .arg(header.fileBlocks);
            return false;
        }
        if (seen[number]) {
            *detail = QStringLiteral("az adatblokkok lánca önmagába tér vissza (%1. blokk)").arg(number);
            return false;
        }
        seen[number] = true;
        const qint64 offset = header.headerSize + qint64(number - 1) * header.blockSize;
        if (offset + header.blockSize > file.size()) { // parseHeader checked it; kept for safety
            *detail = QStringLiteral("a(z) %1. adatblokk a fájl végén túl van").arg(number);
            return false;
        }
        const int next = u16(p + offset);
        const int addDataSize = qint16(u16(p + offset + 4));
        const int records = addDataSize / header.recordSize + 1;
        if (addDataSize % header.recordSize != 0 || records < 0 || records > capacity) {
            *detail = QStringLiteral("a(z) %1. adatblokk rekordszáma érvénytelen").arg(number);
            return false;
        }
        blocks->append({number, offset, records});
        number = next;
    }
    return true;
}

QVariant decodeValue(char type, const char* data, int size, bool* invalid)
{
    *invalid = false;
    switch (type) {
    case ParadoxType::Alpha: {
        const int length = int(qstrnlen(data, size_t(size)));
        return length ? QVariant(QByteArray(data, length)) : nullOf<QByteArray>();
    }
    case ParadoxType::Short:
    case ParadoxType::Long:
    case ParadoxType::AutoInc: {
        const auto value = readInteger(data, type == ParadoxType::Short ? 2 : 4);
        return value ? QVariant::fromValue<qint64>(*value) : nullOf<qint64>();
    }
    case ParadoxType::Number:
    case ParadoxType::Currency: {
        const auto value = readDouble(data);
        return value ? QVariant(*value) : nullOf<double>();
    }
    case ParadoxType::BCD: {
        const auto value = readBcd(data, invalid);
        return value ? QVariant(*value) : nullOf<double>();
    }
    case ParadoxType::Date: {
        const auto days = readInteger(data, 4);
        if (!days) return nullOf<QDate>();
        const QDate date = QDate::fromJulianDay(*days + JulianDayOffset);
        if (!date.isValid()) {
            *invalid = true;
            return nullOf<QDate>();
        }
        return date;
    }
    case ParadoxType::Time: {
        const auto msecs = readInteger(data, 4);
        if (!msecs) return nullOf<QTime>();
        if (*msecs < 0 || *msecs >= MsecsPerDay) {
            *invalid = true;
            return nullOf<QTime>();
        }
        return QTime::fromMSecsSinceStartOfDay(int(*msecs));
    }
    case ParadoxType::Timestamp: {
        const auto stored = readDouble(data);
        if (!stored) return nullOf<QDateTime>();
        // Whole milliseconds; beyond some million years a double has no room for them.
        if (!std::isfinite(*stored) || std::fabs(*stored) > 1e17) {
            *invalid = true;
            return nullOf<QDateTime>();
        }
        const qint64 msecs = qint64(std::llround(*stored));
        qint64 days = msecs / MsecsPerDay;
        qint64 rest = msecs % MsecsPerDay;
        if (rest < 0) {
            rest += MsecsPerDay;
            --days;
        }
        const QDate date = QDate::fromJulianDay(days + JulianDayOffset);
        if (!date.isValid()) {
            *invalid = true;
            return nullOf<QDateTime>();
        }
        return QDateTime(date, QTime::fromMSecsSinceStartOfDay(int(rest)), Qt::UTC);
    }
    case ParadoxType::Logical: {
        const auto b = static_cast<unsigned char>(data[0]);
        if (b == 0) return nullOf<bool>();
        return (b & 0x7F) != 0;
    }
    case ParadoxType::Bytes:
        return allZero(data, size) ? nullOf<QByteArray>() : QVariant(QByteArray(data, size));
    default:
        *invalid = true;
        return QVariant();
    }
}

bool encodeValue(char type, int size, int decimals, const QVariant& value, char* out)
{
    std::memset(out, 0, size_t(size));
    if (value.isNull()) return true;
    switch (type) {
    case ParadoxType::Alpha:
    case ParadoxType::Bytes: {
        const QByteArray bytes = value.toByteArray();
        if (bytes.size() > size) return false;
        std::memcpy(out, bytes.constData(), size_t(bytes.size()));
        return true;
    }
    case ParadoxType::Short:
    case ParadoxType::Long:
    case ParadoxType::AutoInc: {
        bool ok = false;
        const qint64 v = value.toLongLong(&ok);
        // The most negative value would be stored as all zeros, which means empty.
        const qint64 limit = type == ParadoxType::Short ? 32767 : 2147483647;
        if (!ok || v < -limit || v > limit) return false;
        writeInteger(out, type == ParadoxType::Short ? 2 : 4, v);
        return true;
    }
    case ParadoxType::Number:
    case ParadoxType::Currency: {
        bool ok = false;
        const double v = value.toDouble(&ok);
        if (!ok || !std::isfinite(v)) return false;
        writeDouble(out, v);
        return true;
    }
    case ParadoxType::BCD: {
        bool ok = false;
        const double v = value.toDouble(&ok);
        return ok && writeBcd(out, decimals, v);
    }
    case ParadoxType::Date: {
        const QDate date = value.toDate();
        if (!date.isValid()) return false;
        const qint64 days = date.toJulianDay() - JulianDayOffset;
        if (days < -2147483647 || days > 2147483647) return false;
        writeInteger(out, 4, days);
        return true;
    }
    case ParadoxType::Time: {
        const QTime time = value.toTime();
        if (!time.isValid()) return false;
        writeInteger(out, 4, time.msecsSinceStartOfDay());
        return true;
    }
    case ParadoxType::Timestamp: {
        const QDateTime dt = value.toDateTime();
        if (!dt.isValid()) return false;
        const double msecs = double(dt.date().toJulianDay() - JulianDayOffset) * MsecsPerDay +
                             dt.time().msecsSinceStartOfDay();
        writeDouble(out, msecs);
        return true;
    }
    case ParadoxType::Logical:
        if (!value.canConvert<bool>()) return false;
        out[0] = char(value.toBool() ? 0x81 : 0x80);
        return true;
    default:
        return false;
    }
}

BlobPointer blobPointer(const char* field, int size)
{
    const char* p = field + size - BlobPointerSize;
    BlobPointer pointer;
    const quint32 location = u32(p);
    pointer.offset = location & 0xFFFFFF00u;
    pointer.index = int(location & 0xFF);
    pointer.length = u32(p + 4);
    pointer.modNr = u16(p + 8);
    return pointer;
}

void putBlobPointer(char* field, int size, const BlobPointer& pointer)
{
    char* p = field + size - BlobPointerSize;
    qToLittleEndian<quint32>(pointer.offset | quint32(pointer.index & 0xFF), p);
    qToLittleEndian<quint32>(pointer.length, p + 4);
    qToLittleEndian<quint16>(quint16(pointer.modNr), p + 8);
}

MbFile::MbFile(QByteArray data) : m_data(std::move(data)) {}

bool MbFile::looksValid() const
{
    return m_data.size() >= MbBlockSize && m_data[0] == 0;
}

std::optional<QByteArray> MbFile::read(const BlobPointer& pointer, QString* problem) const
{
    const qint64 size = m_data.size();
    const qint64 offset = pointer.offset;
    const qint64 length = pointer.length;
    const char* p = m_data.constData();
    if (offset == 0) {
        *problem = QStringLiteral("a mutatója nem jelöl ki helyet a feljegyzésfájlban");
        return std::nullopt;
    }
    if (offset % MbBlockSize != 0) {
        *problem = QStringLiteral("a mutatója (%1) nem blokkhatárra mutat").arg(offset);
        return std::nullopt;
    }
    if (offset + 12 > size) {
        *problem = QStringLiteral("a mutatója (%1) a %2 bájtos feljegyzésfájl végén túlra mutat")
                       .arg(offset)
                       .arg(size);
        return std::nullopt;
    }
    const int type = static_cast<unsigned char>(p[offset]);
    if (type == 2) {
        if (pointer.index != 0xFF) {
            *problem = QStringLiteral("a mutatója önálló blokkra mutat, de sorszámot (%1) is megad")
                           .arg(pointer.index);
            return std::nullopt;
        }
        const qint64 stored = u32(p + offset + 3);
        if (stored != length) {
            *problem = QStringLiteral("a hossza (%1) eltér a feljegyzésfájlban tárolttól (%2)")
                           .arg(length)
                           .arg(stored);
            return std::nullopt;
        }
        const qint64 start = offset + 9;
        if (start + length > size) {
            *problem = QStringLiteral("a tartalma a feljegyzésfájl végén túlra nyúlna");
            return std::nullopt;
        }
        return m_data.mid(start, length);
    }
    if (type == 3) {
        if (pointer.index >= 64) {
            *problem = QStringLiteral("a mutatója érvénytelen bejegyzésre (%1) mutat").arg(pointer.index);
            return std::nullopt;
        }
        const qint64 entry = offset + 12 + pointer.index * 5;
        if (entry + 5 > size) {
            *problem = QStringLiteral("a bejegyzése a feljegyzésfájl végén túl van");
            return std::nullopt;
        }
        const int paragraph = static_cast<unsigned char>(p[entry]);
        const int paragraphs = static_cast<unsigned char>(p[entry + 1]);
        const int lastBytes = static_cast<unsigned char>(p[entry + 4]);
        if (paragraph == 0 || paragraphs == 0) {
            *problem = QStringLiteral("a feljegyzésfájlban a bejegyzése üres (törölt)");
            return std::nullopt;
        }
        const qint64 stored = qint64(paragraphs - 1) * 16 + lastBytes;
        if (stored != length) {
            *problem = QStringLiteral("a hossza (%1) eltér a feljegyzésfájlban tárolttól (%2)")
                           .arg(length)
                           .arg(stored);
            return std::nullopt;
        }
        const qint64 start = offset + qint64(paragraph) * 16;
        if (start < offset + 12 + 64 * 5 || start + length > offset + MbBlockSize || start + length > size) {
            *problem = QStringLiteral("a tartalma kilóg a feljegyzésfájl blokkjából");
            return std::nullopt;
        }
        return m_data.mid(start, length);
    }
    if (type == 0)
        *problem = QStringLiteral("a mutatója a feljegyzésfájl fejlécére mutat");
    else if (type == 4)
        *problem = QStringLiteral("a mutatója a feljegyzésfájl szabad (törölt) blokkjára mutat");
    else
        *problem = QStringLiteral("a mutatója ismeretlen típusú (%1) blokkra mutat").arg(type);
    return std::nullopt;
}

MbWriter::MbWriter() : m_data(MbBlockSize, '\0')
{
    char* p = m_data.data();
    // The header as Paradox writes it: block count, modification count, block sizes and
    // the suballocation limits (64 entries, blobs up to 2 KiB).
    qToLittleEndian<quint16>(1, p + 1);
    qToLittleEndian<quint16>(1, p + 3);
    const unsigned char fixed[] = {0x82, 0x73, 0x02, 0x00, 0x29, 0x00};
    std::memcpy(p + 5, fixed, sizeof fixed);
    qToLittleEndian<quint16>(0x1000, p + 11);
    qToLittleEndian<quint16>(0x1000, p + 13);
    p[15] = 0x10;
    qToLittleEndian<quint16>(0x0040, p + 16);
    qToLittleEndian<quint16>(0x0800, p + 18);
}

BlobPointer MbWriter::add(const QByteArray& blob)
{
    BlobPointer pointer;
    pointer.length = quint32(blob.size());
    pointer.modNr = ++m_modNr;
    if (blob.size() <= 2048) {
        const int paragraphs = int((blob.size() + 15) / 16);
        if (m_subBlock < 0 || m_subEntries >= 64 || m_subNextParagraph + paragraphs > 256) {
            m_subBlock = m_data.size();
            m_data.append(QByteArray(MbBlockSize, '\0'));
            m_data[m_subBlock] = 3;
            qToLittleEndian<quint16>(1, m_data.data() + m_subBlock + 1);
            m_subEntries = 0;
            m_subNextParagraph = 21; // first paragraph after the 64 entries
        }
        char* block = m_data.data() + m_subBlock;
        char* entry = block + 12 + m_subEntries * 5;
        entry[0] = char(m_subNextParagraph);
        entry[1] = char(paragraphs);
        qToLittleEndian<quint16>(quint16(pointer.modNr), entry + 2);
        entry[4] = char(blob.size() - (paragraphs - 1) * 16);
        std::memcpy(block + m_subNextParagraph * 16, blob.constData(), size_t(blob.size()));
        pointer.offset = quint32(m_subBlock);
        pointer.index = m_subEntries;
        ++m_subEntries;
        m_subNextParagraph += paragraphs;
    } else {
        const qint64 blocks = (9 + blob.size() + MbBlockSize - 1) / MbBlockSize;
        const qint64 offset = m_data.size();
        m_data.append(QByteArray(blocks * MbBlockSize, '\0'));
        char* block = m_data.data() + offset;
        block[0] = 2;
        qToLittleEndian<quint16>(quint16(blocks), block + 1);
        qToLittleEndian<quint32>(quint32(blob.size()), block + 3);
        qToLittleEndian<quint16>(quint16(pointer.modNr), block + 7);
        std::memcpy(block + 9, blob.constData(), size_t(blob.size()));
        pointer.offset = quint32(offset);
        pointer.index = 0xFF;
    }
    qToLittleEndian<quint16>(quint16(m_modNr), m_data.data() + 3);
    return pointer;
}

QByteArray MbWriter::data() const
{
    return m_data;
}

} // namespace Maintenance::ParadoxFormat
