// Opening an item editor over master tables of 5,000 rows each, and pressing OK.
// Run offscreen: QT_QPA_PLATFORM=offscreen bench_editors [rounds]

#include "beall.h"
#include "database.h"
#include "editors.h"
#include "schema.h"
#include "table.h"

#include <QApplication>
#include <QComboBox>
#include <QElapsedTimer>
#include <QLineEdit>
#include <QPushButton>
#include <QStandardPaths>
#include <QTemporaryDir>
#include <QTimer>

#include <algorithm>
#include <cstdio>

namespace {

const QString kConn = QStringLiteral("Lerovani");
constexpr int kRows = 5000;

void fill(const QString& table, int tip)
{
    Engine::Database::begin(kConn);
    for (int i = 0; i < kRows; ++i) {
        const QString name = QStringLiteral("%1 név %2").arg(table).arg(i, 5, 10, QLatin1Char('0'));
        if (table == QLatin1String("szakjel"))
            Engine::Database::exec(
                kConn, QStringLiteral("INSERT INTO szakjel (szakjel, szakjel_nev) VALUES (:c, :n)"),
                {{QStringLiteral("c"), QStringLiteral("%1").arg(i, 6, 10, QLatin1Char('0'))},
                 {QStringLiteral("n"), name}});
        else if (tip < 0)
            Engine::Database::exec(kConn, QStringLiteral("INSERT INTO %1 (%1_nev) VALUES (:n)").arg(table),
                                   {{QStringLiteral("n"), name.left(25)}});
        else
            Engine::Database::exec(kConn,
                                   QStringLiteral("INSERT INTO %1 (%1_nev, tip) VALUES (:n, :t)").arg(table),
                                   {{QStringLiteral("n"), name}, {QStringLiteral("t"), tip}});
    }
    Engine::Database::commit(kConn);
}

struct Stats
{
    QList<double> v;
    double median() const
    {
        QList<double> s = v;
        std::sort(s.begin(), s.end());
        return s.isEmpty() ? 0 : s[s.size() / 2];
    }
    double max() const { return v.isEmpty() ? 0 : *std::max_element(v.begin(), v.end()); }
};

} // namespace

int main(int argc, char** argv)
{
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    QStandardPaths::setTestModeEnabled(true);
    const int rounds = argc > 1 ? QString::fromLatin1(argv[1]).toInt() : 20;
    QTemporaryDir dir;
    const QString folder = dir.path() + QStringLiteral("/Data");
    Schema::createDatabase(folder);
    Engine::Database::open(kConn, folder);

    // Book lists: every row in the book's group, the largest lists a book editor can get.
    fill(QStringLiteral("polc"), -1);
    fill(QStringLiteral("szakjel"), -1);
    fill(QStringLiteral("kiado"), 1);
    fill(QStringLiteral("sorozat"), -1);
    fill(QStringLiteral("targykor"), 1);
    fill(QStringLiteral("mufaj"), 1);
    fill(QStringLiteral("prgtipus"), 121);
    fill(QStringLiteral("szerzo"), 1);

    Engine::Table tbl(kConn);
    tbl.setTableName(QStringLiteral("konyv.DB"));
    tbl.setFieldDefs(Schema::boundKonyvFields());
    tbl.setBeforePost([&] {
        if (tbl.value(QStringLiteral("az")).toInt() == 0)
            tbl.setValue(
                QStringLiteral("az"),
                Engine::Database::scalar(kConn, QStringLiteral("SELECT MAX(az) FROM konyv"), 0).toInt() + 1);
    });
    tbl.open();
    EditorContext ctx;
    ctx.tbl = &tbl;
    ctx.insertNewItem = [&](int kind) {
        tbl.insert();
        tbl.setValue(QStringLiteral("tipus"), kind);
        tbl.setValue(QStringLiteral("sorszam"), 1);
        tbl.setValue(QStringLiteral("polcon"), true);
        tbl.setValue(QStringLiteral("kotetszam"), 1);
        tbl.setValue(QStringLiteral("dat_beszerzes"), QDate::currentDate());
    };

    Stats open, ok;
    QElapsedTimer clock;
    for (int r = 0; r < rounds; ++r) {
        double okStarted = 0;
        QTimer poll;
        QObject::connect(&poll, &QTimer::timeout, [&] {
            QWidget* w = QApplication::activeModalWidget();
            if (!w || w->objectName() != QLatin1String("frm_Szerk_Konyv")) return;
            poll.stop();
            w->repaint();
            open.v.append(clock.nsecsElapsed() / 1e6);
            // Names found at the end of their lists, and one new publisher: the slowest OK.
            w->findChild<QComboBox*>(QStringLiteral("DBComboBox1"))
                ->setEditText(QStringLiteral("POLC NÉV 04999"));
            w->findChild<QComboBox*>(QStringLiteral("DBComboBox4"))
                ->setEditText(QStringLiteral("targykor név 04999"));
            w->findChild<QComboBox*>(QStringLiteral("DBComboBox5"))
                ->setEditText(QStringLiteral("mufaj név 04999"));
            w->findChild<QComboBox*>(QStringLiteral("DBComboBox7"))
                ->setEditText(QStringLiteral("prgtipus név 04999"));
            w->findChild<QComboBox*>(QStringLiteral("DBComboBox2"))
                ->setEditText(QStringLiteral("Új kiadó %1").arg(r));
            w->findChild<QLineEdit*>(QStringLiteral("DBEdit13"))->setText(QStringLiteral("Cím %1").arg(r));
            okStarted = clock.nsecsElapsed() / 1e6;
            w->findChild<QPushButton*>(QStringLiteral("Button1"))->click();
        });
        poll.start(0);
        clock.start();
        const int az = EditItem(1, true, ctx, nullptr);
        ok.v.append(clock.nsecsElapsed() / 1e6 - okStarted);
        if (az <= 0) {
            std::fprintf(stderr, "round %d: not saved\n", r);
            return 1;
        }
    }
    std::printf("book editor, 7 lists of %d rows, %d rounds\n", kRows, rounds);
    std::printf("open (to first paint): median %.1f ms, max %.1f ms\n", open.median(), open.max());
    std::printf("OK (resolve 7 lookups, one new, post): median %.1f ms, max %.1f ms\n", ok.median(),
                ok.max());
    return 0;
}
