#include "dberror.h"
#include "generator.h"

#include <QCoreApplication>
#include <QElapsedTimer>
#include <QFileInfo>

#include <cstdio>

// lerovani_gen <folder> [items]
int main(int argc, char* argv[])
{
    QCoreApplication app(argc, argv);
    const QStringList args = app.arguments();
    if (args.size() < 2) {
        std::fprintf(stderr, "Használat: lerovani_gen <adatbázis mappa> [tételek száma, alapértelmezés 100000]\n");
        return 2;
    }
    GeneratorOptions o;
    if (args.size() > 2)
        o.items = args[2].toInt();
    QElapsedTimer t;
    t.start();
    try {
        GenerateCatalogue(args[1], o);
    } catch (const Engine::DbError& e) {
        std::fprintf(stderr, "%s\n", qPrintable(e.message()));
        return 1;
    }
    const qint64 ms = t.elapsed();
    const qint64 size = QFileInfo(args[1] + QStringLiteral("/lerovani.sqlite")).size();
    std::printf("%d items in %.2f s, database %.1f MB\n", o.items, ms / 1000.0, size / 1048576.0);
    return 0;
}
