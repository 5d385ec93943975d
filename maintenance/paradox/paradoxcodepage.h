#pragma once

#include <QByteArray>
#include <QByteArrayView>
#include <QList>
#include <QString>

#include <optional>

namespace Maintenance {

// The single-byte code pages Paradox tables are written in, decoded from tables built
// into the program, so the result never depends on what iconv or ICU has installed.
class ParadoxCodePage
{
public:
    static bool isSupported(int codePage);
    static QList<int> supported();
    // "Windows-1250 (közép-európai)"; for an unknown page just the number.
    static QString displayName(int codePage);

    // Bytes 0x80-0xFF that the page leaves undefined become U+FFFD.
    // An unsupported page decodes as Windows-1250.
    static QString decode(QByteArrayView bytes, int codePage);
    // Empty optional when a character has no byte in the page (or the page is unsupported).
    static std::optional<QByteArray> encode(const QString& text, int codePage);
};

} // namespace Maintenance
