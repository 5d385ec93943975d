// Times the catalogue window on a generated database: start-up to the first painted view,
// tab switch, sort change and one search keystroke (each with its repaint), and memory.
//   bench_main [items=100000] [database folder]
#include "beall.h"
#include "dbgrid.h"
#include "folders.h"
#include "generator.h"
#include "mainwindow.h"
#include "messagerecorder.h"

#include <QAction>
#include <QApplication>
#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QFileInfo>
#include <QLineEdit>
#include <QStandardPaths>
#include <QTemporaryDir>
#include <QTest>

#include <algorithm>
#include <cstdio>

namespace {

double median(QList<double> v)
{
    std::sort(v.begin(), v.end());
    return v.isEmpty() ? 0 : v[v.size() / 2];
}

long residentKb()
{
    QFile f(QStringLiteral("/proc/self/status"));
    if (!f.open(QIODevice::ReadOnly))
        return -1;
    for (const QByteArray& line : f.readAll().split('\n'))
        if (line.startsWith("VmRSS:"))
            return line.mid(6).trimmed().split(' ').first().toLong();
    return -1;
}

// Work and then the repaint of the grid on screen.
double timed(Tfrm_Main& w, const std::function<void()>& work)
{
    QElapsedTimer t;
    t.start();
    work();
    if (DBGrid* g = w.currentGrid())
        g->viewport()->repaint();
    return t.nsecsElapsed() / 1e6;
}

} // namespace

int main(int argc, char* argv[])
{
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    const int items = argc > 1 ? QString::fromLocal8Bit(argv[1]).toInt() : 100000;
    QTemporaryDir home;
    qputenv("HOME", home.path().toUtf8());
    QStandardPaths::setTestModeEnabled(true);
    ResetFolders();
    SetExeDirForTests(home.path() + QStringLiteral("/bin"));
    QString folder = argc > 2 ? QString::fromLocal8Bit(argv[2]) : home.path() + QStringLiteral("/db");
    if (!QFileInfo::exists(folder + QStringLiteral("/lerovani.sqlite"))) {
        GeneratorOptions o;
        o.items = items;
        GenerateCatalogue(folder, o);
    }
    const QString ini = HomeDir() + QStringLiteral("/Lerovani.ini");
    QDir().mkpath(HomeDir());
    {
        QFile f(ini);
        f.open(QIODevice::WriteOnly);
        f.write(QStringLiteral("[Database]\nPath=%1\n[Defaults]\nFullScreen=0\n").arg(folder).toUtf8());
    }
    MessageRecorder boxes;
    const long rssBefore = residentKb();

    QElapsedTimer start;
    start.start();
    Tfrm_Main w;
    if (!w.created()) {
        std::fprintf(stderr, "start-up failed: %s\n", qPrintable(boxes.texts().join(QLatin1Char('\n'))));
        return 1;
    }
    w.show();
    (void)QTest::qWaitForWindowExposed(&w);
    w.currentGrid()->viewport()->repaint();
    const double startup = start.nsecsElapsed() / 1e6;

    QList<double> tabs, sorts, keys;
    const QStringList kinds = {"aKonyvek", "aCDZene", "aDVD", "aBakelit", "aKotta", "aVHS"};
    for (int round = 0; round < 5; ++round)
        for (const QString& k : kinds)
            tabs << timed(w, [&] { w.action(k)->trigger(); });
    w.action(QStringLiteral("aKonyvek"))->trigger();
    DBGrid* g = w.grid(1);
    const QStringList fields = {"cim", "szerzo", "kiado_nev", "mufaj_nev", "sorszam", "targykor_nev"};
    for (int round = 0; round < 5; ++round)
        for (const QString& f : fields)
            sorts << timed(w, [&] { emit g->titleClicked(g->columnOfField(f)); });
    emit g->titleClicked(g->columnOfField(QStringLiteral("cim")));
    auto* edit = w.findChild<QLineEdit*>(QStringLiteral("Edit1"));
    for (const QString& word : {QStringLiteral("az utolsó"), QStringLiteral("egri cs"), QStringLiteral("a kék ház"),
                                QStringLiteral("zzz"), QStringLiteral("egy őszi")}) {
        edit->clear();
        for (const QChar c : word)
            keys << timed(w, [&] { edit->setText(edit->text() + c); });
    }
    const long rss = residentKb();
    std::printf("items %d (per kind about %d)\n", items, items / 9);
    std::printf("start-up to first painted view: %.1f ms\n", startup);
    std::printf("tab switch median: %.2f ms (max %.2f)\n", median(tabs), *std::max_element(tabs.begin(), tabs.end()));
    std::printf("sort change median: %.2f ms (max %.2f)\n", median(sorts), *std::max_element(sorts.begin(), sorts.end()));
    std::printf("search keystroke median: %.2f ms (max %.2f)\n", median(keys), *std::max_element(keys.begin(), keys.end()));
    std::printf("resident memory: %.1f MB (before the window %.1f MB)\n", rss / 1024.0, rssBefore / 1024.0);
    w.close();
    return 0;
}
