#include "database.h"
#include "dberror.h"
#include "generator.h"
#include "indexrebuild.h"
#include "messagerecorder.h"
#include "oldparadoxcatalog.h"
#include "paradoximport.h"
#include "upgrade.h"

#include <QApplication>
#include <QElapsedTimer>
#include <QTemporaryDir>

#include <cstdio>

using Engine::Database;

namespace {

void report(const char* what, qint64 ms, bool target)
{
    std::printf("%-48s %8.3f s%s\n", what, double(ms) / 1000.0,
                target ? (ms <= 5000 ? "  (<= 5 s)" : "  (OVER 5 s)") : "");
    std::fflush(stdout);
}

} // namespace

int main(int argc, char* argv[])
{
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    const int items = argc > 1 ? QString::fromLocal8Bit(argv[1]).toInt() : 100000;
    QTemporaryDir tmp;
    MessageRecorder messages; // no box may stop the benchmark; each one is printed at the end
    QElapsedTimer t;

    // Paradox import of an old-style catalogue.
    const QString paradox = tmp.filePath(QStringLiteral("paradox"));
    QString error;
    t.start();
    if (!OldParadoxCatalog::write(paradox, items, &error)) {
        std::fprintf(stderr, "%s\n", qPrintable(error));
        return 1;
    }
    report("writing the Paradox tables (fixture)", t.elapsed(), false);
    t.start();
    if (!Maintenance::ImportParadoxFolder(paradox, {}, nullptr)) {
        std::fprintf(stderr, "import failed: %s\n", qPrintable(messages.texts().join(QLatin1Char('\n'))));
        return 1;
    }
    report(qPrintable(QStringLiteral("Paradox import, %1 items").arg(items)), t.elapsed(), true);
    Database::open(QStringLiteral("bench"), paradox);
    t.start();
    Maintenance::UpgradeDatabase(QStringLiteral("bench"), {}, nullptr);
    report("upgrade of the imported database", t.elapsed(), false);
    Database::close(QStringLiteral("bench"));

    // Index rebuild of a current database.
    const QString current = tmp.filePath(QStringLiteral("current"));
    t.start();
    try {
        GeneratorOptions options;
        options.items = items;
        GenerateCatalogue(current, options);
    } catch (const Engine::DbError& e) {
        std::fprintf(stderr, "%s\n", qPrintable(e.message()));
        return 1;
    }
    report("generating the current database (fixture)", t.elapsed(), false);
    Database::open(QStringLiteral("bench"), current);
    t.start();
    Maintenance::RebuildIndexes(QStringLiteral("bench"), current, {}, nullptr);
    report(qPrintable(QStringLiteral("index rebuild, %1 items").arg(items)), t.elapsed(), true);
    Database::close(QStringLiteral("bench"));

    for (const QString& m : messages.texts())
        std::printf("message: %s\n", qPrintable(m));
    return messages.records.isEmpty() ? 0 : 1;
}
