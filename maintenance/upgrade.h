#pragma once

#include "progress.h"

#include <QString>
#include <QStringList>

class QWidget;

namespace Maintenance {

// Brings the database open on connection to the current schema: missing tables, the old
// types of az, tartalom and lista, missing konyv fields and the fills of the new ones.
// Each step first looks whether its table or field is there, so a second run changes
// nothing. Errors are shown to the user; false when the upgrade had to stop.
bool UpgradeDatabase(const QString& connection, const Progress& progress, QWidget* owner);

// Copies of the catalogue running on folder (the names of their lock files); empty when none.
QStringList CatalogueUsers(const QString& folder);
// The message telling that the catalogue program still works on the folder.
QString CatalogueRunningText(const QStringList& users);

} // namespace Maintenance
