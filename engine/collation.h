#pragma once

#include <QString>

struct sqlite3;

namespace Engine {

// Hungarian order: ICU "hu" at secondary strength (letter case ignored, accents and the
// digraphs cs, dz, dzs, gy, ly, ny, sz, ty, zs respected).
int compareHungarian(const QString& a, const QString& b);

// Registers the HU collation and Unicode upper()/lower() on one SQLite connection.
bool registerFunctions(sqlite3* db);

} // namespace Engine
