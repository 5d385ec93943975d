#include "paradoxcodepage.h"

#include "codepagetables.h"

#include <QHash>

namespace Maintenance {

namespace {

const CodePageTables::Table* findTable(int codePage)
{
    for (int i = 0; i < CodePageTables::tableCount; ++i) {
        if (CodePageTables::tables[i].codePage == codePage) return &CodePageTables::tables[i];
    }
    return nullptr;
}

const CodePageTables::Table* tableOrDefault(int codePage)
{
    const CodePageTables::Table* table = findTable(codePage);
    return table ? table : findTable(1250);
}

} // namespace

bool ParadoxCodePage::isSupported(int codePage)
{
    return findTable(codePage) != nullptr;
}

QList<int> ParadoxCodePage::supported()
{
    QList<int> pages;
    for (int i = 0; i < CodePageTables::tableCount; ++i)
        pages.append(CodePageTables::tables[i].codePage);
    return pages;
}

QString ParadoxCodePage::displayName(int codePage)
{
    if (const CodePageTables::Table* table = findTable(codePage)) return QString::fromUtf8(table->name);
    return QString::number(codePage);
}

QString ParadoxCodePage::decode(QByteArrayView bytes, int codePage)
{
    const CodePageTables::Table* table = tableOrDefault(codePage);
    QString text;
    text.resize(bytes.size());
    QChar* out = text.data();
    for (qsizetype i = 0; i < bytes.size(); ++i) {
        const auto b = static_cast<unsigned char>(bytes[i]);
        out[i] = b < 0x80 ? QChar(b) : QChar(table->upper[b - 0x80]);
    }
    return text;
}

std::optional<QByteArray> ParadoxCodePage::encode(const QString& text, int codePage)
{
    const CodePageTables::Table* table = findTable(codePage);
    if (!table) return std::nullopt;
    QHash<char16_t, char> reverse;
    for (int i = 0; i < 128; ++i) {
        if (table->upper[i] != 0xFFFD) reverse.insert(table->upper[i], char(0x80 + i));
    }
    QByteArray bytes;
    bytes.reserve(text.size());
    for (QChar ch : text) {
        const char16_t u = ch.unicode();
        if (u < 0x80) {
            bytes.append(char(u));
            continue;
        }
        const auto it = reverse.constFind(u);
        if (it == reverse.constEnd()) return std::nullopt;
        bytes.append(it.value());
    }
    return bytes;
}

} // namespace Maintenance
