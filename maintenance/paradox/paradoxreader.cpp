#include "paradoxreader.h"

#include "paradoxcodepage.h"
#include "paradoxformat.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QtEndian>

// paradox.h has no C++ linkage block of its own.
extern "C" {
#include <paradox.h>
}

#include <cstdio>

namespace Maintenance {

using namespace ParadoxFormat;

static_assert(ParadoxType::Alpha == pxfAlpha && ParadoxType::Date == pxfDate &&
              ParadoxType::Short == pxfShort && ParadoxType::Long == pxfLong &&
              ParadoxType::Currency == pxfCurrency && ParadoxType::Number == pxfNumber &&
              ParadoxType::Logical == pxfLogical && ParadoxType::MemoBLOb == pxfMemoBLOb &&
              ParadoxType::BLOb == pxfBLOb && ParadoxType::FmtMemoBLOb == pxfFmtMemoBLOb &&
              ParadoxType::OLE == pxfOLE && ParadoxType::Graphic == pxfGraphic &&
              ParadoxType::Time == pxfTime && ParadoxType::Timestamp == pxfTimestamp &&
              ParadoxType::AutoInc == pxfAutoInc && ParadoxType::BCD == pxfBCD &&
              ParadoxType::Bytes == pxfBytes);

namespace {

constexpr int MaxDetailedWarnings = 20;

struct PxMessages
{
    QStringList messages;
};

// pxlib's default handler prints to stderr; this one only collects, and never aborts.
void collectPxMessage(pxdoc_t*, int, const char* message, void* data)
{
    if (data && message) static_cast<PxMessages*>(data)->messages.append(QString::fromLocal8Bit(message));
}

struct PxDocument
{
    FILE* file = nullptr;
    pxdoc_t* doc = nullptr;
    PxMessages messages;

    ~PxDocument()
    {
        if (doc) {
            PX_close(doc);
            PX_delete(doc);
        }
        if (file) std::fclose(file);
    }
};

// Warnings about single values: the first ones in full, then only how many more.
class ValueWarnings
{
public:
    explicit ValueWarnings(QStringList* out) : m_out(out) {}
    void add(const QString& text)
    {
        if (++m_count <= MaxDetailedWarnings) m_out->append(text);
    }
    void finish(const QString& table)
    {
        if (m_count > MaxDetailedWarnings)
            m_out->append(QStringLiteral("A(z) %1 táblában további %2 hasonló hiba van.")
                              .arg(table)
                              .arg(m_count - MaxDetailedWarnings));
    }

private:
    QStringList* m_out;
    int m_count = 0;
};

QString companionFile(const QFileInfo& db, const QString& suffix)
{
    const QDir dir = db.absoluteDir();
    const bool upper = db.suffix() == db.suffix().toUpper();
    const QString preferred =
        db.completeBaseName() + QLatin1Char('.') + (upper ? suffix.toUpper() : suffix.toLower());
    if (QFileInfo::exists(dir.filePath(preferred))) return dir.filePath(preferred);
    const QString wanted = db.completeBaseName() + QLatin1Char('.') + suffix;
    const QStringList entries = dir.entryList(QDir::Files | QDir::Hidden | QDir::System);
    for (const QString& entry : entries) {
        if (entry.compare(wanted, Qt::CaseInsensitive) == 0) return dir.filePath(entry);
    }
    return QString();
}

// A formatted memo holds a table of sections and then the plain text, NUL-terminated.
std::optional<QByteArray> formattedMemoText(const QByteArray& blob)
{
    if (blob.size() < 8) return std::nullopt;
    const quint32 sections = qFromLittleEndian<quint32>(blob.constData());
    const quint32 textLength = qFromLittleEndian<quint32>(blob.constData() + 4);
    if (sections < 1 || sections > 64 || textLength == 0) return std::nullopt;
    const qint64 start = 8 + qint64(sections - 1) * 6;
    if (start + textLength > blob.size() || blob[start + textLength - 1] != '\0') return std::nullopt;
    return blob.mid(start, textLength - 1);
}

QByteArray withoutTrailingNuls(QByteArray bytes)
{
    qsizetype end = bytes.size();
    while (end > 0 && bytes[end - 1] == '\0')
        --end;
    bytes.truncate(end);
    return bytes;
}

QVariant nullFor(char type)
{
    switch (type) {
    case ParadoxType::Alpha:
    case ParadoxType::MemoBLOb:
    case ParadoxType::FmtMemoBLOb:
        return QVariant(QMetaType::fromType<QString>());
    default:
        return QVariant(QMetaType::fromType<QByteArray>());
    }
}

QString headerError(HeaderStatus status, const QString& shown, const QString& detail)
{
    switch (status) {
    case HeaderStatus::Ok:
        break;
    case HeaderStatus::Empty:
        return QStringLiteral("A fájl üres, nem Paradox-tábla: %1").arg(shown);
    case HeaderStatus::NotParadox:
        return QStringLiteral("A fájl nem Paradox-tábla: %1").arg(shown);
    case HeaderStatus::NotDataTable:
        return QStringLiteral("A fájl Paradox-indexfájl, nem adattábla: %1").arg(shown);
    case HeaderStatus::TruncatedHeader:
        return QStringLiteral("A Paradox-tábla fejléce csonka (%1): %2").arg(detail, shown);
    case HeaderStatus::TruncatedData:
        return QStringLiteral("A Paradox-tábla csonka (%1): %2").arg(detail, shown);
    case HeaderStatus::Corrupt:
        return QStringLiteral("A Paradox-tábla fejléce sérült (%1): %2").arg(detail, shown);
    case HeaderStatus::Encrypted:
        return QStringLiteral("A Paradox-tábla jelszóval védett (titkosított), ezért nem olvasható be. "
                              "Vegye le róla a jelszót a Paradoxban, és próbálja újra: %1")
            .arg(shown);
    }
    return QString();
}

QString codePageText(int codePage)
{
    return codePage == 0 ? QStringLiteral("nincs megadva") : ParadoxCodePage::displayName(codePage);
}

std::optional<ParadoxTable> readTable(const QString& dbPath, const ParadoxReader::ReadOptions& opt,
                                      bool withRows, QString* error)
{
    const auto fail = [error](const QString& message) -> std::optional<ParadoxTable> {
        if (error) *error = message;
        return std::nullopt;
    };
    const QString shown = QDir::toNativeSeparators(dbPath);
    const QFileInfo info(dbPath);
    if (!info.exists()) return fail(QStringLiteral("A Paradox-tábla nem található: %1").arg(shown));
    if (info.isDir()) return fail(QStringLiteral("Mappa, nem Paradox-tábla: %1").arg(shown));

    QFile file(dbPath);
    if (!file.open(QIODevice::ReadOnly))
        return fail(QStringLiteral("A Paradox-tábla nem olvasható: %1").arg(shown));
    const QByteArray data = file.readAll();
    if (file.error() != QFileDevice::NoError)
        return fail(QStringLiteral("A Paradox-tábla nem olvasható: %1").arg(shown));
    file.close();

    Header header;
    QString detail;
    const HeaderStatus status = parseHeader(data, &header, &detail);
    if (status != HeaderStatus::Ok) return fail(headerError(status, shown, detail));
    QList<DataBlock> blocks;
    if (!walkBlocks(data, header, &blocks, &detail))
        return fail(QStringLiteral("A Paradox-tábla sérült (%1): %2").arg(detail, shown));

    ParadoxTable table;
    table.fileName = dbPath;
    table.tableName = info.completeBaseName();
    table.primaryKeyFields = header.primaryKeyFields;
    table.fileVersion = header.fileVersion;
    table.headerCodePage = header.codePage;

    const QString fileLabel = info.fileName();
    if (opt.codePageOverride != 0) {
        if (!ParadoxCodePage::isSupported(opt.codePageOverride))
            return fail(QStringLiteral("A megadott kódlap (%1) nem támogatott: %2")
                            .arg(opt.codePageOverride)
                            .arg(shown));
        table.codePageUsed = opt.codePageOverride;
    } else if (ParadoxReader::isCodePagePlausible(header.codePage)) {
        table.codePageUsed = header.codePage;
    } else {
        table.codePageUsed = ParadoxCodePage::isSupported(opt.fallbackCodePage) ? opt.fallbackCodePage : 1250;
        table.warnings.append(QStringLiteral("A(z) %1 tábla fejlécében megadott kódlap (%2) nem használható; "
                                             "a szövegek %3 kódlappal kerültek beolvasásra.")
                                  .arg(fileLabel, codePageText(header.codePage),
                                       ParadoxCodePage::displayName(table.codePageUsed)));
    }
    const int codePage = table.codePageUsed;

    for (int i = 0; i < header.fields.size(); ++i) {
        const RawField& raw = header.fields[i];
        ParadoxField field;
        field.name = ParadoxCodePage::decode(raw.name, codePage);
        if (field.name.isEmpty()) {
            field.name = QStringLiteral("Mezo%1").arg(i + 1);
            table.warnings.append(
                QStringLiteral("A(z) %1 tábla %2. mezőjének nincs neve; „%3” néven került be.")
                    .arg(fileLabel)
                    .arg(i + 1)
                    .arg(field.name));
        }
        field.pxType = raw.type;
        field.size = raw.size;
        field.decimals = raw.decimals;
        table.fields.append(field);
    }

    QList<qint64> positions;
    for (const DataBlock& block : blocks) {
        for (int r = 0; r < block.records; ++r)
            positions.append(block.offset + DataBlockHeaderSize + qint64(r) * header.recordSize);
    }
    table.recordCount = int(positions.size());
    if (!withRows) return table;

    if (positions.size() != header.numRecords)
        table.warnings.append(
            QStringLiteral("A(z) %1 tábla fejléce szerint %2 rekord van benne, az adatblokkokban "
                           "%3 található; mind a(z) %3 beolvasásra került.")
                .arg(fileLabel)
                .arg(header.numRecords)
                .arg(positions.size()));

    bool hasBlobFields = false;
    for (const RawField& raw : header.fields)
        hasBlobFields = hasBlobFields || ParadoxType::isBlob(raw.type);

    std::optional<MbFile> mb;
    QString mbLabel = table.tableName + (info.suffix() == info.suffix().toUpper() ? QStringLiteral(".MB")
                                                                                  : QStringLiteral(".mb"));
    bool mbMissing = false;
    if (hasBlobFields) {
        const QString mbPath = companionFile(info, QStringLiteral("mb"));
        if (mbPath.isEmpty()) {
            mbMissing = true;
        } else {
            mbLabel = QFileInfo(mbPath).fileName();
            QFile mbFile(mbPath);
            if (!mbFile.open(QIODevice::ReadOnly)) {
                table.warnings.append(QStringLiteral("A(z) %1 feljegyzésfájl nem olvasható.").arg(mbLabel));
                mbMissing = true;
            } else {
                MbFile candidate(mbFile.readAll());
                if (mbFile.error() != QFileDevice::NoError) {
                    table.warnings.append(
                        QStringLiteral("A(z) %1 feljegyzésfájl nem olvasható.").arg(mbLabel));
                    mbMissing = true;
                } else if (!candidate.looksValid()) {
                    table.warnings.append(
                        QStringLiteral("A(z) %1 nem Paradox-feljegyzésfájl (vagy a fejléce sérült).")
                            .arg(mbLabel));
                    mbMissing = true;
                } else {
                    mb = std::move(candidate);
                }
            }
        }
    }

    PxDocument px;
    if (!positions.isEmpty()) {
        px.file = std::fopen(QFile::encodeName(dbPath).constData(), "rb");
        if (!px.file) return fail(QStringLiteral("A Paradox-tábla nem olvasható: %1").arg(shown));
        px.doc = PX_new3(collectPxMessage, nullptr, nullptr, nullptr, &px.messages);
        if (!px.doc || PX_open_fp(px.doc, px.file) < 0)
            return fail(QStringLiteral("A Paradox-tábla nem nyitható meg (%1): %2")
                            .arg(px.messages.messages.join(QStringLiteral("; ")), shown));
        bool same = PX_get_num_fields(px.doc) == header.fields.size() &&
                    PX_get_recordsize(px.doc) == header.recordSize;
        for (int i = 0; same && i < header.fields.size(); ++i) {
            const pxfield_t* f = PX_get_field(px.doc, i);
            same = f && f->px_ftype == header.fields[i].type && f->px_flen == header.fields[i].size;
        }
        if (!same) return fail(QStringLiteral("A Paradox-tábla fejléce nem egyértelmű: %1").arg(shown));
    }

    ValueWarnings valueWarnings(&table.warnings);
    int cutByMissingMb = 0;
    QByteArray buffer(header.recordSize, '\0');
    const qint64 viaPxlib = qMin<qint64>(positions.size(), header.numRecords);
    table.rows.reserve(positions.size());
    for (qsizetype r = 0; r < positions.size(); ++r) {
        const char* record = data.constData() + positions[r];
        if (r < viaPxlib) {
            // pxlib reads the record; where it would place it elsewhere than the checked
            // block chain says (empty blocks confuse its count), the chain wins.
            int deleted = 0;
            pxdatablockinfo_t where{};
            if (PX_get_record2(px.doc, int(r), buffer.data(), &deleted, &where) &&
                where.recordpos == positions[r])
                record = buffer.constData();
        }

        QVector<QVariant> row(header.fields.size());
        int offset = 0;
        for (int f = 0; f < header.fields.size(); ++f) {
            const RawField& raw = header.fields[f];
            const char* value = record + offset;
            offset += raw.size;
            const auto where = [&] {
                return QStringLiteral("A(z) %1 tábla %2. rekordjának „%3” mezője")
                    .arg(fileLabel)
                    .arg(r + 1)
                    .arg(table.fields[f].name);
            };

            if (!ParadoxType::isBlob(raw.type)) {
                bool invalid = false;
                const QVariant v = decodeValue(raw.type, value, raw.size, &invalid);
                if (invalid)
                    valueWarnings.add(where() +
                                      QStringLiteral(" érvénytelen értéket tartalmaz; üresen került be."));
                if (raw.type == ParadoxType::Alpha)
                    row[f] = v.isNull() ? nullFor(raw.type)
                                        : QVariant(ParadoxCodePage::decode(v.toByteArray(), codePage));
                else
                    row[f] = v;
                continue;
            }

            const bool text = ParadoxType::isText(raw.type);
            const bool graphic = raw.type == ParadoxType::Graphic;
            const int leader = raw.size - BlobPointerSize;
            const BlobPointer pointer = blobPointer(value, raw.size);
            const QByteArray prefix = withoutTrailingNuls(QByteArray(value, leader));
            std::optional<QByteArray> bytes;
            if (pointer.length == 0) {
                // An empty value, whatever bytes an earlier value left in the record.
            } else if (graphic && pointer.length < GraphicPrefixSize) {
                valueWarnings.add(where() + QStringLiteral(" hibás hosszt jelez; üresen került be."));
            } else {
                const qint64 length =
                    graphic ? qint64(pointer.length) - GraphicPrefixSize : qint64(pointer.length);
                if (length <= leader) {
                    bytes = QByteArray(value, length);
                } else if (!mb) {
                    ++cutByMissingMb;
                    if (text) bytes = prefix;
                } else {
                    QString problem;
                    const auto stored = mb->read(pointer, &problem);
                    if (!stored) {
                        valueWarnings.add(where() + QLatin1Char(' ') + problem +
                                          (text ? QStringLiteral("; csak a rekordban tárolt eleje került be.")
                                                : QStringLiteral("; üresen került be.")));
                        if (text) bytes = prefix;
                    } else {
                        bytes = graphic ? stored->mid(GraphicPrefixSize) : *stored;
                    }
                }
            }

            if (!bytes || bytes->isEmpty()) {
                row[f] = nullFor(raw.type);
            } else if (!text) {
                row[f] = *bytes;
            } else {
                QByteArray plain = *bytes;
                if (raw.type == ParadoxType::FmtMemoBLOb) {
                    if (const auto extracted = formattedMemoText(*bytes)) {
                        plain = *extracted;
                    } else {
                        valueWarnings.add(where() +
                                          QStringLiteral(" formázása nem értelmezhető; "
                                                         "a tárolt bájtok szövegként kerültek be."));
                        plain.replace('\0', QByteArray());
                    }
                }
                plain = withoutTrailingNuls(plain);
                row[f] =
                    plain.isEmpty() ? nullFor(raw.type) : QVariant(ParadoxCodePage::decode(plain, codePage));
            }
        }
        table.rows.append(row);
    }
    valueWarnings.finish(fileLabel);

    if (mbMissing) {
        if (cutByMissingMb > 0)
            table.warnings.append(
                QStringLiteral(
                    "A(z) %1 feljegyzésfájl hiányzik vagy használhatatlan: %2 feljegyzésből csak a "
                    "rekordban tárolt eleje került be, a képek és bináris adatok üresek maradtak.")
                    .arg(mbLabel)
                    .arg(cutByMissingMb));
        else
            table.warnings.append(
                QStringLiteral("A(z) %1 feljegyzésfájl hiányzik, de egyik rekord sem hivatkozik rá.")
                    .arg(mbLabel));
    }
    return table;
}

} // namespace

std::optional<ParadoxTable> ParadoxReader::read(const QString& dbPath, const ReadOptions& opt, QString* error)
{
    return readTable(dbPath, opt, true, error);
}

std::optional<ParadoxTable> ParadoxReader::readHeader(const QString& dbPath, QString* error)
{
    return readTable(dbPath, ReadOptions(), false, error);
}

bool ParadoxReader::isCodePagePlausible(int codePage)
{
    return ParadoxCodePage::isSupported(codePage);
}

} // namespace Maintenance
