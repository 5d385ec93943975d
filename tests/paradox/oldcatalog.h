#pragma once

#include "paradoxtable.h"

// A small catalogue as an older version of the program kept it in Paradox tables:
// konyv with `az` as an autoincrement field, `tartalom` and `lista` as memos and none of
// the later fields (sorszam, the name copies, polc, sorozat ...), kiado and tipus.
// Text is Windows-1250. data/oldcatalog holds these tables as gen_oldcatalog wrote them.
namespace OldCatalog {

struct Table
{
    QString fileName; // "konyv.DB"
    QList<Maintenance::ParadoxField> fields;
    int primaryKeyFields = 0;
    QList<QVector<QVariant>> rows;
};

constexpr int CodePage = 1250;

QList<Table> tables();

// Writes every table into folder (which must exist).
bool write(const QString& folder, QString* error);

} // namespace OldCatalog
