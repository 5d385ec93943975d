#pragma once

#include "paradoxtable.h"
#include "progress.h"

#include <QString>
#include <QStringList>

class QWidget;

namespace Maintenance {

// The Paradox tables (*.DB, any case) of a folder, sorted by name.
QStringList ParadoxTableFiles(const QString& folder);
// A folder of the older format: Paradox tables and no database of ours yet.
bool IsParadoxFolder(const QString& folder);

// Creates the table in the database open on connection, with the same (lower-case) table
// name and field names, equivalent types, the key and every row, in one transaction: on
// error nothing of it stays and false is returned with the reason.
bool ImportParadoxTable(const QString& connection, const ParadoxTable& table, QString* error);

// Copies every Paradox table of folder into a new database written beside them, which
// becomes the folder's database only at the end: at once when every table went in whole,
// otherwise when the user, told which tables are missing or came in incomplete, keeps it.
// A code page the header does not give is asked once per header value. The Paradox files
// are only read. True when the folder now has its database.
bool ImportParadoxFolder(const QString& folder, const Progress& progress, QWidget* owner);

// Where the new database is written until it is complete.
QString ImportWorkFolder(const QString& folder);

} // namespace Maintenance
