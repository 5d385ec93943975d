#pragma once

#include <QString>

// Fills a new database folder with items spread over the nine kinds, with Hungarian titles,
// authors, publishers, lookup rows in their list groups, and track lists.
struct GeneratorOptions
{
    int items = 100000;
    int lookupRows = 300; // rows per lookup list group
    quint32 seed = 20261211;
};

// Throws Engine::DbError. The folder must not hold a database yet.
void GenerateCatalogue(const QString& folder, const GeneratorOptions& options = {});
