#pragma once

#include "progress.h"

#include <QString>

class QWidget;

namespace Maintenance {

// Drops and recreates every index of the twelve catalogue tables, table by table. A table
// that a running catalogue copy may be using is reported and skipped; an error while adding
// the indexes of one table is reported and the next table follows.
void RebuildIndexes(const QString& connection, const QString& folder, const Progress& progress,
                    QWidget* owner);

} // namespace Maintenance
