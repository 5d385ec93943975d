#include "paradoxwriter.h"

#include "paradoxcodepage.h"
#include "paradoxformat.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QSaveFile>
#include <QSet>
#include <QtEndian>

// paradox.h has no C++ linkage block of its own.
extern "C" {
#include <paradox.h>
}

#include <cstdio>
#include <cstring>

namespace Maintenance {

using namespace ParadoxFormat;

namespace {

struct PxMessages
{
    QStringList messages;
};

void collectPxMessage(pxdoc_t*, int level, const char* message, void* data)
{
    if (data && message && level != PX_Warning)
        static_cast<PxMessages*>(data)->messages.append(QString::fromLocal8Bit(message));
}

bool validSize(const ParadoxField& field)
{
    switch (field.pxType) {
    case ParadoxType::Alpha:
    case ParadoxType::Bytes:
        return field.size >= 1 && field.size <= 255;
    case ParadoxType::Short:
        return field.size == 2;
    case ParadoxType::Logical:
        return field.size == 1;
    case ParadoxType::Date:
    case ParadoxType::Long:
    case ParadoxType::Time:
    case ParadoxType::AutoInc:
        return field.size == 4;
    case ParadoxType::Currency:
    case ParadoxType::Number:
    case ParadoxType::Timestamp:
        return field.size == 8;
    case ParadoxType::BCD:
        return field.size == BcdSize && field.decimals >= 0 && field.decimals <= 32;
    case ParadoxType::MemoBLOb:
    case ParadoxType::BLOb:
    case ParadoxType::OLE:
    case ParadoxType::Graphic:
        return field.size >= BlobPointerSize && field.size <= 250;
    default:
        return false;
    }
}

} // namespace

bool ParadoxWriter::write(const QString& dbPath, const QList<ParadoxField>& fields, int primaryKeyFields,
                          const QList<QVector<QVariant>>& rows, int codePage, QString* error)
{
    const auto fail = [error](const QString& message) {
        if (error) *error = message;
        return false;
    };
    const QString shown = QDir::toNativeSeparators(dbPath);
    if (!ParadoxCodePage::isSupported(codePage))
        return fail(QStringLiteral("A kódlap (%1) nem támogatott: %2").arg(codePage).arg(shown));
    if (fields.isEmpty() || fields.size() > 255)
        return fail(QStringLiteral("A táblának 1–255 mezője lehet: %1").arg(shown));
    if (primaryKeyFields < 0 || primaryKeyFields > fields.size())
        return fail(QStringLiteral("A kulcsmezők száma érvénytelen: %1").arg(shown));

    QList<QByteArray> names;
    QSet<QString> seenNames;
    bool hasBlobs = false;
    for (const ParadoxField& field : fields) {
        const auto name = ParadoxCodePage::encode(field.name, codePage);
        if (!name || name->isEmpty() || name->size() > 25 || name->contains('\0'))
            return fail(
                QStringLiteral("A(z) „%1” mezőnév nem használható (1–25 karakter a tábla kódlapján): %2")
                    .arg(field.name, shown));
        if (seenNames.contains(field.name.toLower()))
            return fail(QStringLiteral("A(z) „%1” mezőnév kétszer szerepel: %2").arg(field.name, shown));
        seenNames.insert(field.name.toLower());
        if (!validSize(field))
            return fail(QStringLiteral("A(z) „%1” mező típusa vagy hossza nem írható (%2, %3 bájt): %4")
                            .arg(field.name, ParadoxType::name(field.pxType))
                            .arg(field.size)
                            .arg(shown));
        names.append(*name);
        hasBlobs = hasBlobs || ParadoxType::isBlob(field.pxType);
    }

    // Every record is built before any file is touched, so a bad value leaves nothing behind.
    int recordSize = 0;
    for (const ParadoxField& field : fields)
        recordSize += field.size;
    MbWriter mb;
    QList<QByteArray> records;
    qint64 autoInc = 0;
    for (const QVector<QVariant>& row : rows) {
        for (int f = 0; f < fields.size(); ++f) {
            if (fields[f].pxType == ParadoxType::AutoInc && f < row.size() && !row[f].isNull())
                autoInc = qMax(autoInc, row[f].toLongLong());
        }
    }
    for (qsizetype r = 0; r < rows.size(); ++r) {
        const QVector<QVariant>& row = rows[r];
        if (row.size() != fields.size())
            return fail(QStringLiteral("A(z) %1. sorban %2 érték van %3 helyett: %4")
                            .arg(r + 1)
                            .arg(row.size())
                            .arg(fields.size())
                            .arg(shown));
        QByteArray record(recordSize, '\0');
        int offset = 0;
        for (int f = 0; f < fields.size(); ++f) {
            const ParadoxField& field = fields[f];
            char* out = record.data() + offset;
            offset += field.size;
            QVariant value = row[f];
            const auto bad = [&](const QString& why) {
                return fail(QStringLiteral("A(z) %1. sor „%2” mezője nem írható (%3): %4")
                                .arg(r + 1)
                                .arg(field.name, why, shown));
            };
            if (field.pxType == ParadoxType::AutoInc && value.isNull())
                value = QVariant::fromValue<qint64>(++autoInc);
            if (ParadoxType::isText(field.pxType) && !value.isNull()) {
                const auto encoded = ParadoxCodePage::encode(value.toString(), codePage);
                if (!encoded)
                    return bad(QStringLiteral("a szöveg nem írható le a(z) %1 kódlappal")
                                   .arg(ParadoxCodePage::displayName(codePage)));
                value = encoded->isEmpty() ? QVariant() : QVariant(*encoded);
            }

            if (!ParadoxType::isBlob(field.pxType)) {
                if (field.pxType == ParadoxType::Alpha && value.toByteArray().contains('\0'))
                    return bad(QStringLiteral("a szövegben 0 kódú karakter van"));
                if (!encodeValue(field.pxType, field.size, field.decimals, value, out))
                    return bad(QStringLiteral("az érték nem fér el a(z) %1 típusú mezőben")
                                   .arg(ParadoxType::name(field.pxType)));
                continue;
            }
            if (value.isNull()) continue;
            QByteArray blob = value.toByteArray();
            if (blob.isEmpty()) continue;
            const int leader = field.size - BlobPointerSize;
            std::memcpy(out, blob.constData(), size_t(qMin<qsizetype>(leader, blob.size())));
            BlobPointer pointer;
            if (field.pxType == ParadoxType::Graphic) {
                QByteArray prefix(GraphicPrefixSize, '\0');
                prefix[0] = 1;
                prefix[3] = 1;
                qToLittleEndian<quint32>(quint32(blob.size()), prefix.data() + 4);
                if (blob.size() <= leader) {
                    pointer.length = quint32(blob.size() + GraphicPrefixSize);
                } else {
                    pointer = mb.add(prefix + blob);
                }
            } else if (blob.size() <= leader) {
                pointer.length = quint32(blob.size());
            } else {
                pointer = mb.add(blob);
            }
            putBlobPointer(out, field.size, pointer);
        }
        records.append(record);
    }

    const QFileInfo info(dbPath);
    FILE* file = std::fopen(QFile::encodeName(dbPath).constData(), "wb+");
    if (!file) return fail(QStringLiteral("A fájl nem hozható létre: %1").arg(shown));
    PxMessages messages;
    pxdoc_t* px = PX_new3(collectPxMessage, nullptr, nullptr, nullptr, &messages);
    if (!px) {
        std::fclose(file);
        return fail(QStringLiteral("A Paradox-tábla nem írható: %1").arg(shown));
    }
    // pxlib takes ownership of the field list and frees it with its own allocator.
    auto* pxFields =
        static_cast<pxfield_t*>(px->malloc(px, sizeof(pxfield_t) * size_t(fields.size()), "fields"));
    for (int f = 0; f < fields.size(); ++f) {
        pxFields[f].px_fname = PX_strdup(px, names[f].constData());
        pxFields[f].px_ftype = fields[f].pxType;
        pxFields[f].px_flen = fields[f].size;
        pxFields[f].px_fdc = fields[f].pxType == ParadoxType::BCD ? fields[f].decimals : 0;
    }
    bool ok = PX_create_fp(px, pxFields, int(fields.size()), file,
                           primaryKeyFields > 0 ? pxfFileTypIndexDB : pxfFileTypNonIndexDB) >= 0;
    if (!ok) {
        if (!px->px_head) {
            for (int f = 0; f < fields.size(); ++f)
                px->free(px, pxFields[f].px_fname);
            px->free(px, pxFields);
        }
    } else {
        // The table name inside the header is the file name, as Paradox writes it.
        const auto tableName = ParadoxCodePage::encode(info.fileName(), codePage);
        if (tableName && tableName->size() < 79)
            ok = PX_set_parameter(px, "tablename", tableName->constData()) >= 0;
        ok = ok && PX_set_value(px, "numprimkeys", float(primaryKeyFields)) >= 0;
        for (QByteArray& record : records) {
            if (!ok) break;
            ok = PX_put_record(px, record.data()) >= 0;
        }
        if (ok) {
            // The last number given out, from which Paradox goes on counting.
            px->px_head->px_autoinc = int(autoInc);
            ok = PX_set_value(px, "codepage", float(codePage)) >= 0;
        }
    }
    PX_close(px);
    PX_delete(px);
    const bool closed = std::fclose(file) == 0;
    if (!ok || !closed) {
        QFile::remove(dbPath);
        return fail(QStringLiteral("A Paradox-tábla nem írható (%1): %2")
                        .arg(messages.messages.join(QStringLiteral("; ")), shown));
    }

    if (hasBlobs) {
        const bool upper = info.suffix() == info.suffix().toUpper();
        const QString mbPath = info.absoluteDir().filePath(
            info.completeBaseName() + (upper ? QStringLiteral(".MB") : QStringLiteral(".mb")));
        QSaveFile mbFile(mbPath);
        if (!mbFile.open(QIODevice::WriteOnly) || mbFile.write(mb.data()) != mb.data().size() ||
            !mbFile.commit()) {
            QFile::remove(dbPath);
            return fail(
                QStringLiteral("A feljegyzésfájl nem írható: %1").arg(QDir::toNativeSeparators(mbPath)));
        }
    }
    return true;
}

} // namespace Maintenance
