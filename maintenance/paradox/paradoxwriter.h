#pragma once

#include "paradoxtable.h"

namespace Maintenance {

// Writes a Paradox 7 table for test fixtures and benchmarks: the .DB through pxlib,
// memo and blob data into a .MB file of our own writing (pxlib's blob file support is
// unusable in Debian's 0.6.8). No .PX primary index is written; the number of key fields
// is stored in the header. Values as ParadoxTable describes them; a null QVariant (or an
// empty text) is an empty field; AutoInc fields left null are numbered from 1 on.
class ParadoxWriter
{
public:
    static bool write(const QString& dbPath, const QList<ParadoxField>& fields, int primaryKeyFields,
                      const QList<QVector<QVariant>>& rows, int codePage, QString* error);
};

} // namespace Maintenance
