#include "indexrebuild.h"

#include "database.h"
#include "dberror.h"
#include "folderuse.h"
#include "messages.h"
#include "schema.h"

#include <QDir>

using Engine::Database;
using Engine::DbError;

namespace Maintenance {

void RebuildIndexes(const QString& connection, const QString& folder, const Progress& progress,
                    QWidget* owner)
{
    const QString inUse =
        QStringLiteral("A következő file nem törölhető, valószínüleg használatban van:\r\n") +
        QDir::toNativeSeparators(Database::filePath(folder));
    progress.max(13);
    for (const QString& table : Schema::rebuildOrder()) {
        progress.advance();
        const QString tableFile = table + QStringLiteral(".DB");
        progress.show(QStringLiteral("Index készítés: ") + tableFile);

        // The old engine could not delete an index file a running copy held open; here every
        // running copy holds its lock file, and the table is left alone while one does.
        if (!Engine::FolderUse::otherUsers(folder).isEmpty()) {
            ShowError(inUse, owner);
            continue;
        }
        try {
            Database::dropAllIndexes(connection, table);
        } catch (const DbError&) {
            ShowError(inUse, owner);
            continue;
        }
        try {
            const Schema::TableDef* def = Schema::table(table);
            Engine::IndexOptions key;
            key.primary = true;
            key.caseInsensitive = false;
            Database::addIndex(connection, table, QString(), def->primaryKey, key);
            for (const Schema::IndexDef& ix : def->indexes)
                Database::addIndex(connection, table, ix.name, ix.columns());
        } catch (const DbError& e) {
            ShowError(QStringLiteral("Ismeretlen hiba: ") + tableFile + QStringLiteral("\r\n") + e.message(),
                      owner);
        }
    }
}

} // namespace Maintenance
