#pragma once

#include <QString>

// A catalogue folder as an old version of the program left it: Paradox tables in Windows-1250,
// konyv with an autoincrement az, memo tartalom and lista, Hungarian accented text and none of
// the newer fields; kinds 1 to 8, no beallit, polc, sorozat or szakjel. Written with the
// project's Paradox writer, for the tests and the benchmark.
namespace OldParadoxCatalog {

// Values of item i (1-based) as the writer stores them.
int az(int i);      // 3 * i: numbering by position differs from the key
int tipus(int i);   // 1..8
int kiado(int i);   // 0 (none), 1 or 2
QString cim(int i); // "Cím ő ű <i>"
QString tartalom(int i);
QString lista(int i);      // two lines
QString kiadoNev(int key); // names of kiado rows 1 and 2

bool write(const QString& folder, int konyvRows, QString* error);

} // namespace OldParadoxCatalog
