// Times a publisher chooser over 5,000 rows of its group: opening it to the first paint of the grid,
// and each keystroke of the search box to the repainted grid. Runs headless (offscreen).

#include "beall.h"
#include "choosers.h"
#include "database.h"
#include "dbgrid.h"
#include "folders.h"
#include "schema.h"

#include <QApplication>
#include <QDialog>
#include <QElapsedTimer>
#include <QFile>
#include <QLineEdit>
#include <QRandomGenerator>
#include <QTemporaryDir>
#include <QTest>
#include <QTimer>

#include <algorithm>
#include <cstdio>

namespace {

constexpr int kRows = 5000;
constexpr int kOtherGroupRows = 1000;
constexpr int kOpenRuns = 7;
constexpr double kBudgetMs = 30.0;

QString makeName(QRandomGenerator& rnd)
{
    static const QStringList syllables{"ka", "ro",  "sze", "gyö", "ár", "zso", "nyí", "lé", "ma",  "tő",
                                       "be", "csi", "dú",  "fe",  "ha", "ku",  "ló",  "pe", "szi", "tü"};
    static const QStringList endings{" Kiadó", " Könyvkiadó", " Kft.", " és Társa", ""};
    QString s;
    const int n = 2 + int(rnd.bounded(3));
    for (int i = 0; i < n; ++i)
        s += syllables[int(rnd.bounded(syllables.size()))];
    s[0] = s[0].toUpper();
    return s + endings[int(rnd.bounded(endings.size()))] + QStringLiteral(" %1").arg(rnd.bounded(1000));
}

struct Stats
{
    double min, median, max;
};

Stats stats(QList<double> v)
{
    std::sort(v.begin(), v.end());
    return {v.first(), v[v.size() / 2], v.last()};
}

// The time from the call of the chooser to the end of the grid's first paint.
class FirstPaint : public QObject
{
public:
    QElapsedTimer clock;
    double ms = -1;

    bool eventFilter(QObject* watched, QEvent* e) override
    {
        if (ms < 0 && e->type() == QEvent::Paint) {
            auto* w = qobject_cast<QWidget*>(watched);
            if (w && w->parentWidget() && w->parentWidget()->objectName() == QLatin1String("DBGrid1")) {
                qApp->removeEventFilter(this);
                // Queued, so the paint that this event starts is counted too.
                QMetaObject::invokeMethod(
                    this, [this] { ms = clock.nsecsElapsed() / 1e6; }, Qt::QueuedConnection);
            }
        }
        return false;
    }
};

} // namespace

int main(int argc, char** argv)
{
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);

    QTemporaryDir dir;
    SetExeDirForTests(dir.path());
    QFile ini(dir.filePath(QStringLiteral("Lerovani.ini")));
    if (!ini.open(QIODevice::WriteOnly)) return 2;
    ini.close();
    const QString folder = dir.filePath(QStringLiteral("Data"));
    Schema::createDatabase(folder);
    Engine::Database::open(CatalogConnection(), folder);

    QRandomGenerator rnd(4711);
    QStringList names;
    Engine::Database::begin(CatalogConnection());
    for (int i = 0; i < kRows + kOtherGroupRows; ++i) {
        const QString name = makeName(rnd);
        if (i < kRows) names.append(name);
        Engine::Database::exec(CatalogConnection(),
                               QStringLiteral("INSERT INTO kiado (kiado_nev, tip) VALUES (:n, :t)"),
                               {{QStringLiteral(":n"), name}, {QStringLiteral(":t"), i < kRows ? 1 : 2}});
    }
    Engine::Database::commit(CatalogConnection());

    const QList<QString> searches{names[3700].left(7).toLower(), names[123].left(5).toUpper(),
                                  QStringLiteral("zzzq")};
    QList<double> openMs;
    QList<double> keyMs;
    for (int run = 0; run < kOpenRuns; ++run) {
        FirstPaint probe;
        // Seen from inside the modal loop: the window is there, measure and type.
        QTimer poll;
        poll.setInterval(0);
        QObject::connect(&poll, &QTimer::timeout, [&] {
            auto* dlg = qobject_cast<QDialog*>(QApplication::activeModalWidget());
            if (!dlg) return;
            auto* grid = dlg->findChild<DBGrid*>(QStringLiteral("DBGrid1"));
            if (probe.ms < 0) return;
            poll.stop();
            openMs.append(probe.ms);
            auto* edit = dlg->findChild<QLineEdit*>(QStringLiteral("Edit1"));
            for (const QString& text : searches) {
                edit->clear();
                for (const QChar c : text) {
                    QElapsedTimer t;
                    t.start();
                    QTest::sendKeyEvent(QTest::Click, edit, Qt::Key(c.toUpper().unicode()), QString(c),
                                        c.isUpper() ? Qt::ShiftModifier : Qt::NoModifier);
                    grid->viewport()->repaint();
                    keyMs.append(t.nsecsElapsed() / 1e6);
                }
            }
            dlg->reject();
        });
        QString name;
        qApp->installEventFilter(&probe);
        probe.clock.start();
        poll.start();
        ChooseKiado(kRows / 2, 1, QStringLiteral("Kiadó"), name);
    }

    // The first opening also loads fonts and styles once for the whole program; it is shown apart.
    const double coldOpen = openMs.takeFirst();
    const Stats o = stats(openMs);
    const Stats k = stats(keyMs);
    std::printf("chooser over %d rows of its group (%d rows in another group)\n", kRows, kOtherGroupRows);
    std::printf("open to first paint: first %.1f ms; then min %.1f, median %.1f, max %.1f ms (%lld runs)\n",
                coldOpen, o.min, o.median, o.max, static_cast<long long>(openMs.size()));
    std::printf("search keystroke to repainted grid: min %.2f, median %.2f, max %.2f ms (%lld keys)\n", k.min,
                k.median, k.max, static_cast<long long>(keyMs.size()));
    const bool ok = coldOpen <= kBudgetMs && o.max <= kBudgetMs && k.max <= kBudgetMs;
    std::printf("budget %.0f ms: %s\n", kBudgetMs, ok ? "kept" : "EXCEEDED");
    Engine::Database::close(CatalogConnection());
    return ok ? 0 : 1;
}
