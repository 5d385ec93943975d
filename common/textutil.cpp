#include "textutil.h"

#include "convert.h"

#include <QHash>

#include <array>

namespace {

// Unicode of the bytes 0x80..0xFF.
constexpr std::array<char16_t, 128> cp1250High = {
    0x20AC, 0x0081, 0x201A, 0x0083, 0x201E, 0x2026, 0x2020, 0x2021, //
    0x0088, 0x2030, 0x0160, 0x2039, 0x015A, 0x0164, 0x017D, 0x0179, //
    0x0090, 0x2018, 0x2019, 0x201C, 0x201D, 0x2022, 0x2013, 0x2014, //
    0x0098, 0x2122, 0x0161, 0x203A, 0x015B, 0x0165, 0x017E, 0x017A, //
    0x00A0, 0x02C7, 0x02D8, 0x0141, 0x00A4, 0x0104, 0x00A6, 0x00A7, //
    0x00A8, 0x00A9, 0x015E, 0x00AB, 0x00AC, 0x00AD, 0x00AE, 0x017B, //
    0x00B0, 0x00B1, 0x02DB, 0x0142, 0x00B4, 0x00B5, 0x00B6, 0x00B7, //
    0x00B8, 0x0105, 0x015F, 0x00BB, 0x013D, 0x02DD, 0x013E, 0x017C, //
    0x0154, 0x00C1, 0x00C2, 0x0102, 0x00C4, 0x0139, 0x0106, 0x00C7, //
    0x010C, 0x00C9, 0x0118, 0x00CB, 0x011A, 0x00CD, 0x00CE, 0x010E, //
    0x0110, 0x0143, 0x0147, 0x00D3, 0x00D4, 0x0150, 0x00D6, 0x00D7, //
    0x0158, 0x016E, 0x00DA, 0x0170, 0x00DC, 0x00DD, 0x0162, 0x00DF, //
    0x0155, 0x00E1, 0x00E2, 0x0103, 0x00E4, 0x013A, 0x0107, 0x00E7, //
    0x010D, 0x00E9, 0x0119, 0x00EB, 0x011B, 0x00ED, 0x00EE, 0x010F, //
    0x0111, 0x0144, 0x0148, 0x00F3, 0x00F4, 0x0151, 0x00F6, 0x00F7, //
    0x0159, 0x016F, 0x00FA, 0x0171, 0x00FC, 0x00FD, 0x0163, 0x02D9, //
};

constexpr std::array<char16_t, 128> cp852High = {
    0x00C7, 0x00FC, 0x00E9, 0x00E2, 0x00E4, 0x016F, 0x0107, 0x00E7, //
    0x0142, 0x00EB, 0x0150, 0x0151, 0x00EE, 0x0179, 0x00C4, 0x0106, //
    0x00C9, 0x0139, 0x013A, 0x00F4, 0x00F6, 0x013D, 0x013E, 0x015A, //
    0x015B, 0x00D6, 0x00DC, 0x0164, 0x0165, 0x0141, 0x00D7, 0x010D, //
    0x00E1, 0x00ED, 0x00F3, 0x00FA, 0x0104, 0x0105, 0x017D, 0x017E, //
    0x0118, 0x0119, 0x00AC, 0x017A, 0x010C, 0x015F, 0x00AB, 0x00BB, //
    0x2591, 0x2592, 0x2593, 0x2502, 0x2524, 0x00C1, 0x00C2, 0x011A, //
    0x015E, 0x2563, 0x2551, 0x2557, 0x255D, 0x017B, 0x017C, 0x2510, //
    0x2514, 0x2534, 0x252C, 0x251C, 0x2500, 0x253C, 0x0102, 0x0103, //
    0x255A, 0x2554, 0x2569, 0x2566, 0x2560, 0x2550, 0x256C, 0x00A4, //
    0x0111, 0x0110, 0x010E, 0x00CB, 0x010F, 0x0147, 0x00CD, 0x00CE, //
    0x011B, 0x2518, 0x250C, 0x2588, 0x2584, 0x0162, 0x016E, 0x2580, //
    0x00D3, 0x00DF, 0x00D4, 0x0143, 0x0144, 0x0148, 0x0160, 0x0161, //
    0x0154, 0x00DA, 0x0155, 0x0170, 0x00FD, 0x00DD, 0x0163, 0x00B4, //
    0x00AD, 0x02DD, 0x02DB, 0x02C7, 0x02D8, 0x00A7, 0x00F7, 0x00B8, //
    0x00B0, 0x00A8, 0x02D9, 0x0171, 0x0158, 0x0159, 0x25A0, 0x00A0, //
};

QHash<char16_t, char> reverseTable(const std::array<char16_t, 128>& high)
{
    QHash<char16_t, char> map;
    for (int i = 0; i < 128; ++i)
        map.insert(high[size_t(i)], char(0x80 + i));
    return map;
}

const QHash<char16_t, char>& to1250()
{
    static const QHash<char16_t, char> map = reverseTable(cp1250High);
    return map;
}

const QHash<char16_t, char>& to852()
{
    static const QHash<char16_t, char> map = reverseTable(cp852High);
    return map;
}

// Typographic marks of Windows texts that code page 852 lacks.
QByteArray asciiFallback(char32_t c)
{
    switch (c) {
    case 0x201A: // single low quote
    case 0x2018:
    case 0x2019:
    case 0x2039:
    case 0x203A:
        return "'";
    case 0x201E: // double low quote, as Hungarian text opens a quotation
    case 0x201C:
    case 0x201D:
        return "\"";
    case 0x2013:
    case 0x2014:
        return "-";
    case 0x2026:
        return "...";
    case 0x2022:
        return "*";
    default:
        return "?";
    }
}

template <typename F> void forEachCodePoint(const QString& text, F f)
{
    for (qsizetype i = 0; i < text.size(); ++i) {
        char32_t c = text.at(i).unicode();
        if (QChar::isHighSurrogate(c) && i + 1 < text.size() && text.at(i + 1).isLowSurrogate()) {
            c = QChar::surrogateToUcs4(text.at(i), text.at(i + 1));
            ++i;
        }
        f(c);
    }
}

} // namespace

QString NthField(const QString& separators, const QString& text, int n)
{
    QString result;
    int field = 1;
    for (const QChar c : text) {
        if (separators.contains(c))
            ++field;
        else if (field == n)
            result.append(c);
    }
    return result;
}

QString ReplaceChar(const QVariant& value, QChar from, QChar to)
{
    return VarToStrDef(value, QString()).replace(from, to);
}

QString EscapeText(const QVariant& value)
{
    QString s = VarToStrDef(value, QString());
    s.replace(QLatin1Char('\\'), QLatin1String("\\\\"));
    s.replace(QLatin1Char('\r'), QLatin1String("\\n"));
    s.remove(QLatin1Char('\n'));
    return s;
}

QString StripChars(const QString& chars, const QString& text)
{
    QString s = text;
    for (const QChar c : chars)
        s.remove(c);
    return s;
}

int CountChar(QChar c, const QString& text)
{
    return int(text.count(c));
}

QString ToFileName(const QString& text)
{
    static const QString dashed = QStringLiteral(" !\"#%&'*+/:?@\\");
    QString result;
    result.reserve(text.size());
    forEachCodePoint(text, [&result](char32_t c) {
        if (c >= 0x80)
            result.append(QLatin1Char('_'));
        else if (dashed.contains(QChar(c)))
            result.append(QLatin1Char('-'));
        else
            result.append(QChar(c).toLower());
    });
    return result;
}

QByteArray ToCodePage852(const QString& text)
{
    QByteArray result;
    result.reserve(text.size());
    forEachCodePoint(text, [&result](char32_t c) {
        if (c < 32)
            result.append(' ');
        else if (c < 0x80)
            result.append(char(c));
        else if (c <= 0xFFFF && to852().contains(char16_t(c)))
            result.append(to852().value(char16_t(c)));
        else
            result.append(asciiFallback(c));
    });
    return result;
}

QByteArray ToCodePage1250(const QString& text)
{
    QByteArray result;
    result.reserve(text.size());
    forEachCodePoint(text, [&result](char32_t c) {
        if (c < 0x80)
            result.append(char(c));
        else if (c <= 0xFFFF && to1250().contains(char16_t(c)))
            result.append(to1250().value(char16_t(c)));
        else
            result.append('?');
    });
    return result;
}

QString FromCodePage1250(const QByteArray& bytes)
{
    QString result;
    result.reserve(bytes.size());
    for (const char b : bytes) {
        const uchar u = uchar(b);
        result.append(u < 0x80 ? QChar(u) : QChar(cp1250High[u - 0x80]));
    }
    return result;
}
