#include "paradoxtable.h"

namespace Maintenance {

QString ParadoxType::name(char pxType)
{
    switch (pxType) {
    case Alpha:
        return QStringLiteral("Alpha");
    case Date:
        return QStringLiteral("Date");
    case Short:
        return QStringLiteral("Short");
    case Long:
        return QStringLiteral("Long");
    case Currency:
        return QStringLiteral("Money");
    case Number:
        return QStringLiteral("Number");
    case Logical:
        return QStringLiteral("Logical");
    case MemoBLOb:
        return QStringLiteral("Memo");
    case BLOb:
        return QStringLiteral("Binary");
    case FmtMemoBLOb:
        return QStringLiteral("Formatted Memo");
    case OLE:
        return QStringLiteral("OLE");
    case Graphic:
        return QStringLiteral("Graphic");
    case Time:
        return QStringLiteral("Time");
    case Timestamp:
        return QStringLiteral("Timestamp");
    case AutoInc:
        return QStringLiteral("Autoincrement");
    case BCD:
        return QStringLiteral("BCD");
    case Bytes:
        return QStringLiteral("Bytes");
    default:
        return QStringLiteral("0x%1").arg(int(static_cast<unsigned char>(pxType)), 2, 16, QLatin1Char('0'));
    }
}

bool ParadoxType::isBlob(char pxType)
{
    return pxType == MemoBLOb || pxType == BLOb || pxType == FmtMemoBLOb || pxType == OLE ||
           pxType == Graphic;
}

bool ParadoxType::isText(char pxType)
{
    return pxType == Alpha || pxType == MemoBLOb || pxType == FmtMemoBLOb;
}

int ParadoxTable::fieldIndex(const QString& name) const
{
    for (int i = 0; i < fields.size(); ++i) {
        if (fields[i].name.compare(name, Qt::CaseInsensitive) == 0) return i;
    }
    return -1;
}

} // namespace Maintenance
