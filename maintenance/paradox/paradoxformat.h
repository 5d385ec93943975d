#pragma once

// The byte layout of Paradox .DB and .MB files, as far as reading and writing tables
// needs it. Everything here works on whole files in memory and checks every offset
// against their size.

#include <QByteArray>
#include <QList>
#include <QString>
#include <QVariant>

#include <optional>

namespace Maintenance::ParadoxFormat {

constexpr int MainHeaderSize = 0x58;
constexpr int DataHeaderEnd = 0x78;
constexpr int DataBlockHeaderSize = 6;
constexpr int BlobPointerSize = 10;
constexpr int MbBlockSize = 4096;
constexpr int GraphicPrefixSize = 8;
constexpr int BcdSize = 17;

struct RawField
{
    char type = 0;
    int size = 0;     // bytes in the record
    int decimals = 0; // BCD
    QByteArray name;  // as stored, in the table's code page
};

struct Header
{
    int recordSize = 0;
    int headerSize = 0;
    int fileType = 0;
    int blockSize = 0; // bytes
    qint64 numRecords = 0;
    int fileBlocks = 0;
    int firstBlock = 0;
    int lastBlock = 0;
    int primaryKeyFields = 0;
    int versionId = 0;   // header byte 0x39
    int fileVersion = 0; // 30, 35, 40, 50, 70
    bool hasDataHeader = false;
    int codePage = 0;
    quint32 encryption = 0;
    qint64 autoInc = 0;
    QByteArray tableName;
    QList<RawField> fields;
};

enum class HeaderStatus {
    Ok,
    Empty,
    NotParadox,
    NotDataTable,
    TruncatedHeader,
    TruncatedData,
    Corrupt,
    Encrypted
};

// Checks everything pxlib would trust blindly. detail is Hungarian, without the file name.
HeaderStatus parseHeader(const QByteArray& file, Header* header, QString* detail);

struct DataBlock
{
    int number = 0;
    qint64 offset = 0; // of the block header in the file
    int records = 0;
};

// Follows the chain of data blocks from the header's first block. Fails on a block number
// outside the file, a loop, or a block claiming more records than fit into it.
bool walkBlocks(const QByteArray& file, const Header& header, QList<DataBlock>* blocks, QString* detail);

bool isValidFieldType(char type);

// Value of a fixed-size field; a null QVariant of the right type for an empty field.
// Alpha text comes back as the raw bytes (QByteArray) for the caller to decode.
// *invalid is set (and a null value returned) for bytes that are no value of the type.
QVariant decodeValue(char type, const char* data, int size, bool* invalid);
// Inverse of decodeValue, for the writer: fills size bytes. A null value writes zeros.
// Returns false when the value does not fit the type (out of range, not a number ...).
bool encodeValue(char type, int size, int decimals, const QVariant& value, char* out);

// The last 10 bytes of a memo or blob field.
struct BlobPointer
{
    quint32 offset = 0; // of the 4 KiB block in the .MB file
    int index = 0;      // entry in a suballocated block; 0xFF for a block of its own
    quint32 length = 0;
    int modNr = 0;
};
BlobPointer blobPointer(const char* field, int size);
void putBlobPointer(char* field, int size, const BlobPointer& pointer);

// Bounds-checked reader of a .MB file held in memory.
class MbFile
{
public:
    explicit MbFile(QByteArray data);
    bool looksValid() const; // begins with a header block
    // The stored bytes of one blob (for graphics including their 8-byte prefix), or
    // nullopt with a Hungarian reason.
    std::optional<QByteArray> read(const BlobPointer& pointer, QString* problem) const;

private:
    QByteArray m_data;
};

// Builds a .MB file: blobs up to 2 KiB share suballocated blocks, longer ones get
// blocks of their own, as Paradox lays them out.
class MbWriter
{
public:
    MbWriter();
    BlobPointer add(const QByteArray& blob);
    QByteArray data() const;

private:
    QByteArray m_data;
    int m_modNr = 0;
    qint64 m_subBlock = -1; // offset of the suballocated block being filled
    int m_subEntries = 0;
    int m_subNextParagraph = 0;
};

} // namespace Maintenance::ParadoxFormat
