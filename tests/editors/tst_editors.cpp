#include "beall.h"
#include "choosers.h"
#include "database.h"
#include "dberror.h"
#include "editors.h"
#include "folders.h"
#include "messagerecorder.h"
#include "schema.h"
#include "table.h"

#include <QAbstractItemModel>
#include <QAction>
#include <QApplication>
#include <QCheckBox>
#include <QComboBox>
#include <QDateEdit>
#include <QDesktopServices>
#include <QDialog>
#include <QElapsedTimer>
#include <QFile>
#include <QImage>
#include <QLabel>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QPointer>
#include <QPushButton>
#include <QSqlQuery>
#include <QStandardPaths>
#include <QTableView>
#include <QTemporaryDir>
#include <QTest>
#include <QTimer>
#include <QUrl>

#include <functional>
#include <optional>

namespace {

const QString kConn = QStringLiteral("Lerovani");

void closeAllModals()
{
    for (int guard = 0; guard < 10; ++guard) {
        QWidget* m = QApplication::activeModalWidget();
        if (!m) return;
        if (auto* d = qobject_cast<QDialog*>(m))
            d->reject();
        else
            m->close();
    }
}

// Acts inside a modal window as soon as the window with that objectName is up. A failed check
// inside closes what is still open, so the test ends instead of waiting for a human.
class ModalWatcher : public QObject
{
public:
    ModalWatcher(const QString& name, std::function<void(QWidget*)> fn) : m_name(name), m_fn(std::move(fn))
    {
        connect(&m_timer, &QTimer::timeout, this, &ModalWatcher::poll);
        m_timer.start(5);
        m_clock.start();
    }

private:
    void poll()
    {
        QWidget* w = QApplication::activeModalWidget();
        if (w && w->objectName() == m_name && w->isVisible()) {
            m_timer.stop();
            w->activateWindow();
            (void)QTest::qWaitForWindowActive(w, 1000);
            const auto fn = m_fn;
            fn(w);
            if (QTest::currentTestFailed()) closeAllModals();
            deleteLater();
            return;
        }
        if (m_clock.elapsed() > 10000) {
            m_timer.stop();
            closeAllModals();
            deleteLater();
            QFAIL(qPrintable(QStringLiteral("%1 did not open").arg(m_name)));
        }
    }

    QString m_name;
    std::function<void(QWidget*)> m_fn;
    QTimer m_timer;
    QElapsedTimer m_clock;
};

QList<QPointer<ModalWatcher>>& watchers()
{
    static QList<QPointer<ModalWatcher>> list;
    return list;
}

void whenShown(const QString& name, std::function<void(QWidget*)> fn)
{
    watchers().append(new ModalWatcher(name, std::move(fn)));
}

// A watcher whose window never came (rightly so, in some tests) must not act in the next test.
void dropWatchers()
{
    for (const QPointer<ModalWatcher>& w : watchers())
        delete w.data();
    watchers().clear();
}

template <typename T> T* child(QWidget* w, const QString& name)
{
    T* c = w->findChild<T*>(name);
    if (!c) qWarning("no child %s", qPrintable(name));
    return c;
}

QString focusName()
{
    QWidget* f = QApplication::focusWidget();
    // An editable combo box's editor stands for the combo box.
    if (f && qobject_cast<QComboBox*>(f->parentWidget())) f = f->parentWidget();
    return f ? f->objectName() : QString();
}

int count(const QString& sql, const QVariantMap& params = {})
{
    return Engine::Database::scalar(kConn, sql, 0, params).toInt();
}

void addMaster(const QString& table, const QString& name, int tip)
{
    if (table == QLatin1String("szakjel")) {
        Engine::Database::exec(kConn,
                               QStringLiteral("INSERT INTO szakjel (szakjel, szakjel_nev) VALUES (:n, '')"),
                               {{QStringLiteral("n"), name}});
    } else if (tip == -1) {
        Engine::Database::exec(kConn, QStringLiteral("INSERT INTO %1 (%1_nev) VALUES (:n)").arg(table),
                               {{QStringLiteral("n"), name}});
    } else {
        Engine::Database::exec(kConn,
                               QStringLiteral("INSERT INTO %1 (%1_nev, tip) VALUES (:n, :t)").arg(table),
                               {{QStringLiteral("n"), name}, {QStringLiteral("t"), tip}});
    }
}

int keyOf(const QString& table, const QString& name, int tip)
{
    return Engine::Database::scalar(
               kConn,
               QStringLiteral("SELECT %1 FROM %1 WHERE %1_nev = :n AND tip = :t ORDER BY %1").arg(table), -1,
               {{QStringLiteral("n"), name}, {QStringLiteral("t"), tip}})
        .toInt();
}

// A fresh database folder opened as the catalogue's connection, and a catalogue cursor bound as
// the main window binds it, with a new-item routine that numbers and pre-fills like the main window.
struct Fixture
{
    QTemporaryDir dir;
    Engine::Table tbl{kConn};
    bool failNextPost = false;
    EditorContext ctx;

    Fixture()
    {
        Schema::createDatabase(dir.path() + QStringLiteral("/Data"));
        Engine::Database::open(kConn, dir.path() + QStringLiteral("/Data"));
        tbl.setTableName(QStringLiteral("konyv.DB"));
        tbl.setFieldDefs(Schema::boundKonyvFields());
        tbl.addCalcField(QStringLiteral("polconstr"), Engine::FieldType::String, 10);
        tbl.setCalcFields([](Engine::RowRef r) {
            r.setValue(QStringLiteral("polconstr"), r.value(QStringLiteral("polcon")).toBool()
                                                        ? QStringLiteral("Igen")
                                                        : QStringLiteral("Nem"));
        });
        tbl.setBeforePost([this] {
            if (failNextPost) {
                failNextPost = false;
                throw Engine::DbError(QStringLiteral("Az adatbázis zárolva van."));
            }
            if (tbl.value(QStringLiteral("az")).toInt() == 0)
                tbl.setValue(
                    QStringLiteral("az"),
                    Engine::Database::scalar(kConn, QStringLiteral("SELECT MAX(az) FROM konyv"), 0).toInt() +
                        1);
        });
        tbl.open();
        ctx.tbl = &tbl;
        ctx.insertNewItem = [this](int kind) {
            const int n = Beall.NextLeltszam++;
            tbl.insert();
            tbl.setValue(QStringLiteral("azonosito"), QStringLiteral("%1").arg(n, 7, 10, QLatin1Char('0')));
            tbl.setValue(QStringLiteral("sorszam"),
                         Engine::Database::scalar(
                             kConn, QStringLiteral("SELECT MAX(sorszam) FROM konyv WHERE tipus = :k"), 0,
                             {{QStringLiteral("k"), kind}})
                                 .toInt() +
                             1);
            tbl.setValue(QStringLiteral("tipus"), kind);
            for (const char* f : {"kiado", "kiadas", "targykor", "prgtipus", "mufaj", "minoseg", "ar",
                                  "sorozat", "polc", "kolcsonzes"})
                tbl.setValue(QString::fromLatin1(f), 0);
            tbl.setValue(QStringLiteral("polcon"), true);
            tbl.setValue(QStringLiteral("kotetszam"), 1);
            tbl.setValue(QStringLiteral("dat_beszerzes"), QDate::currentDate());
        };
    }
    ~Fixture()
    {
        tbl.close();
        Engine::Database::close(kConn);
    }

    // An item saved directly, for the edit cases.
    int addItem(int kind, const QString& cim, const QVariant& date = QVariant())
    {
        ctx.insertNewItem(kind);
        tbl.setValue(QStringLiteral("cim"), cim);
        tbl.setValue(QStringLiteral("dat_beszerzes"), date);
        tbl.post();
        return tbl.value(QStringLiteral("az")).toInt();
    }
    QVariant stored(int az, const QString& field)
    {
        return Engine::Database::scalar(kConn,
                                        QStringLiteral("SELECT %1 FROM konyv WHERE az = :az").arg(field),
                                        QVariant(), {{QStringLiteral("az"), az}});
    }
};

QStringList comboItems(QComboBox* c)
{
    QStringList out;
    for (int i = 0; i < c->count(); ++i)
        out.append(c->itemText(i));
    return out;
}

// QTest::keyClicks knows only ASCII; accented letters arrive as key events with their text.
void keyText(QWidget* w, const QString& text)
{
    for (const QChar c : text) {
        if (c.unicode() < 128)
            QTest::keyClick(w, char(c.unicode()));
        else
            QTest::sendKeyEvent(QTest::Click, w, Qt::Key_unknown, QString(c), Qt::NoModifier);
    }
}

void typeInto(QWidget* w, const QString& text)
{
    w->setFocus();
    if (auto* c = qobject_cast<QComboBox*>(w))
        c->lineEdit()->selectAll();
    else if (auto* e = qobject_cast<QLineEdit*>(w))
        e->selectAll();
    keyText(w, text);
}

struct ChooserCall
{
    QString table;
    int start;
    int tip;
    QString caption;
};

// Records every chooser call and answers like a user who picks a row.
class ChooserAnswerer
{
public:
    ChooserAnswerer()
    {
        setChooserHook([this](const QString& table, int start, int tip,
                              const QString& caption) -> std::optional<std::pair<QVariant, QString>> {
            calls.append({table, start, tip, caption});
            if (answers.isEmpty()) return std::nullopt;
            return answers.takeFirst();
        });
    }
    ~ChooserAnswerer() { setChooserHook({}); }
    QList<ChooserCall> calls;
    QList<std::optional<std::pair<QVariant, QString>>> answers;
};

class UrlCatcher : public QObject
{
    Q_OBJECT
public:
    QList<QUrl> urls;
public slots:
    void open(const QUrl& url) { urls.append(url); }
};

} // namespace

class tst_Editors : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase();
    void init();
    void cleanup();

    void editorsByKind_data();
    void editorsByKind();
    void resolveLookup_data();
    void resolveLookup();
    void cancelGivesBackNumber();
    void cancelEditLeavesItem();
    void authorAppend();
    void enterAndArrowNavigation();
    void nonNumberKeepsFocus();
    void finalPostFailureKeepsWindow();
    void editOnEmptyView();
    void emptyDate();
    void programPolcon();
    void pictureOfItem();
    void askString_data();
    void askString();
    void attachments();
    void duplicateAttachment();

private:
    QTemporaryDir m_home;
};

void tst_Editors::initTestCase()
{
    QStandardPaths::setTestModeEnabled(true);
    QVERIFY(m_home.isValid());
    // Window positions go to a settings file of our own.
    QFile ini(m_home.path() + QStringLiteral("/Lerovani.ini"));
    QVERIFY(ini.open(QIODevice::WriteOnly));
    ini.close();
    SetExeDirForTests(m_home.path());
}

void tst_Editors::init()
{
    Beall = TBeall();
    Beall.NextLeltszam = 5;
}

void tst_Editors::cleanup()
{
    setChooserHook({});
    setAskStringHook({});
    setMessageHook({});
    setFileDialogHook({});
    closeAllModals();
    dropWatchers();
}

// One row per editor, written out by hand (not taken from the editors' own table): window, labels in tab
// order, list groups, and per button the chooser call (table:tip:caption), the field it fills and
// the control that has the focus afterwards.
void tst_Editors::editorsByKind_data()
{
    QTest::addColumn<int>("kind");
    QTest::addColumn<QString>("className");
    QTest::addColumn<QString>("caption");
    QTest::addColumn<QString>("fields");  // field=label, in tab order; "date" the picker
    QTest::addColumn<QString>("lists");   // table:tip
    QTest::addColumn<QString>("buttons"); // name=table:tip:caption>field@focus ("clear" as table)
    QTest::addColumn<bool>("buttonTabStops");
    QTest::addColumn<bool>("polconWritable");

    QTest::newRow("1 book")
        << 1 << "Tfrm_Szerk_Konyv"
        << "Könyv adatainak szerkesztése"
        << "sorszam=azonosító|polc_nev=polc|date=beszerzés|szerzo=szerző(k)|szerkeszto=szerkesztő(k)|"
           "cim=cím|isbn=ISBN|alcim=alcím|szakjel=szakjel|kiado_nev=kiadó|sorozat_nev=sorozat|"
           "targykor_nev=tárgykör|mufaj_nev=műfaj|kiadas=kiadás (év)|kotetszam=kötetszám|"
           "hossz=terjedelem|ar=ár|prgtipus_nev=nyelv"
        << "polc:-1|szakjel:-1|kiado:1|sorozat:-1|targykor:1|mufaj:1|prgtipus:121"
        << "btnSzerzo=szerzo:1:szerző>szerzo@|btnSzerzoTorol=clear>szerzo@btnSzerzo|"
           "BitBtn2=szerzo:1:szerkesztő>szerkeszto@DBEdit13|BitBtn1=clear>szerkeszto@BitBtn2|"
           "BitBtn5=polc:-1:>polc@|BitBtn6=szakjel:-1:>szakjel@|btnKiado=kiado:1:kiadó>kiado@|"
           "BitBtn3=sorozat:-1:>sorozat@btnTargykor|btnTargykor=targykor:1:Tárgykör>targykor@|"
           "btnMufaj=mufaj:1:műfaj>mufaj@|BitBtn4=prgtipus:121:Nyelv>prgtipus@"
        << false << false;
    QTest::newRow("2 program CD")
        << 2 << "Tfrm_Szerk_Program"
        << "Program CD adatainak szerkesztése"
        << "sorszam=azonosító|polc_nev=polc|date=beszerzés|cim=program neve|"
           "kiado_nev=kiadó (software fejlesztő)|kiadas=kiadás|prgtipus_nev=típus|"
           "kotetszam=CD-k száma|hossz=méret (Mb)|prgkod=program azonosító (key)|ar=ár"
        << "polc:-1|kiado:2|prgtipus:1"
        << "BitBtn3=polc:-1:>polc@|btnKiado=kiado:2:kiadó>kiado@|"
           "btnMufaj=prgtipus:1:program típus>prgtipus@"
        << false << true;
    QTest::newRow("3 music CD")
        << 3 << "Tfrm_Szerk_CDZene"
        << "Zenei CD adatainak szerkesztése"
        << "sorszam=azonosító|polc_nev=polc|date=beszerzés|szerzo=előadó|cim=album|"
           "kiado_nev=kiadó|kiadas=kiadás|mufaj_nev=műfaj|kotetszam=CD-k száma|hossz=hossz"
        << "polc:-1|kiado:3|mufaj:3"
        << "BitBtn3=polc:-1:>polc@|btnSzerzo=szerzo:3:előadó>szerzo@|"
           "btnSzerzoTorol=clear>szerzo@btnSzerzo|btnKiado=kiado:3:kiadó>kiado@|"
           "btnMufaj=mufaj:3:műfaj>mufaj@"
        << false << false;
    QTest::newRow("4 video CD")
        << 4 << "Tfrm_Szerk_CDVideo"
        << "Video CD adatainak szerkesztése"
        << "sorszam=azonosító|polc_nev=polc|date=beszerzés|szerzo=főszereplők|cim=film címe|"
           "kiado_nev=rendezte|kiadas=kiadás|minoseg_nev=formátum|mufaj_nev=műfaj|"
           "prgtipus_nev=nyelvi típus|kotetszam=CD-k száma|hossz=hossz|szoveg=feliratok"
        << "polc:-1|kiado:4|minoseg:4|mufaj:4|prgtipus:21"
        << "BitBtn1=polc:-1:>polc@|btnSzerzo=szerzo:4:szereplők>szerzo@DBEdit13|"
           "btnSzerzoTorol=clear>szerzo@btnSzerzo|btnKiado=kiado:4:rendező>kiado@|"
           "btnMinoseg=minoseg:4:formátum>minoseg@|btnMufaj=mufaj:4:műfaj>mufaj@|"
           "BitBtn2=prgtipus:21:Nyelvi típus>prgtipus@|BitBtn4=szerzo:33:nyelvek>szoveg@|"
           "BitBtn3=clear>szoveg@"
        << true << false;
    QTest::newRow("5 vinyl") << 5 << "Tfrm_Szerk_Bakelit"
                             << "Hanglemez adatainak szerkesztése"
                             << "sorszam=azonosító|polc_nev=polc|date=beszerzés|szerzo=előadó|cim=album|"
                                "kiado_nev=kiadó|kiadas=kiadás|mufaj_nev=műfaj|minoseg_nev=minőség|"
                                "kotetszam=lemezek száma|hossz=hossz"
                             << "polc:-1|kiado:3|mufaj:3|minoseg:3"
                             << "BitBtn3=polc:-1:>polc@|btnSzerzo=szerzo:3:előadó>szerzo@|"
                                "btnSzerzoTorol=clear>szerzo@btnSzerzo|btnKiado=kiado:3:kiadó>kiado@|"
                                "btnMufaj=mufaj:3:műfaj>mufaj@|btnMinoseg=minoseg:3:minőség>minoseg@"
                             << true << false;
    QTest::newRow("6 VHS")
        << 6 << "Tfrm_Szerk_VHS"
        << "Videokazetta adatainak szerkesztése"
        << "sorszam=azonosító|polc_nev=polc|date=beszerzés|szerzo=főszereplők|cim=film címe|"
           "kiado_nev=rendezte|kiadas=kiadás|minoseg_nev=minőség|mufaj_nev=műfaj|"
           "prgtipus_nev=nyelv|targykor_nev=felirat|kotetszam=számláló|hossz=hossz|ar=ár"
        << "polc:-1|kiado:4|minoseg:6|mufaj:4|prgtipus:21|targykor:33"
        << "BitBtn3=polc:-1:>polc@|btnSzerzo=szerzo:4:szereplők>szerzo@|"
           "btnSzerzoTorol=clear>szerzo@|btnKiado=kiado:4:rendező>kiado@|"
           "btnMinoseg=minoseg:6:minőség>minoseg@|btnMufaj=mufaj:4:műfaj>mufaj@|"
           "BitBtn1=prgtipus:21:Nyelvi típus>prgtipus@|"
           "BitBtn2=targykor:33:Tárgykör választás>targykor@"
        << false << false;
    QTest::newRow("7 audio cassette")
        << 7 << "Tfrm_Szerk_Hang"
        << "Hangkazetta adatainak szerkesztése"
        << "sorszam=azonosító|polc_nev=polc|date=beszerzés|szerzo=előadó|cim=album|"
           "kiado_nev=kiadó|kiadas=kiadás|mufaj_nev=műfaj|minoseg_nev=minőség|"
           "kotetszam=számláló|hossz=hossz"
        << "polc:-1|kiado:3|mufaj:3|minoseg:3"
        << "BitBtn3=polc:-1:>polc@|btnSzerzo=szerzo:3:előadó>szerzo@|"
           "btnSzerzoTorol=clear>szerzo@|btnKiado=kiado:3:kiadó>kiado@|"
           "btnMufaj=mufaj:3:műfaj>mufaj@|btnMinoseg=minoseg:3:minőség>minoseg@"
        << false << false;
    QTest::newRow("8 DVD")
        << 8 << "Tfrm_Szerk_DVD"
        << "DVD adatainak szerkesztése"
        << "sorszam=azonosító|polc_nev=polc|date=beszerzés|cim=film címe|szerzo=főszereplők|"
           "kiado_nev=rendezte|mufaj_nev=műfaj|kiadas=kiadás|kotetszam=DVD-k száma|hossz=hossz|"
           "prgtipus_nev=nyelvi típus|szoveg=feliratok"
        << "polc:-1|kiado:4|mufaj:4|prgtipus:21"
        << "BitBtn2=polc:-1:>polc@DateTimePicker1|btnSzerzo=szerzo:4:szereplők>szerzo@|"
           "btnSzerzoTorol=clear>szerzo@|btnKiado=kiado:4:rendező>kiado@|"
           "btnMufaj=mufaj:4:műfaj>mufaj@|BitBtn1=prgtipus:21:Nyelvi típus>prgtipus@|"
           "BitBtn4=szerzo:33:nyelvek>szoveg@|BitBtn3=clear>szoveg@"
        << false << false;
    QTest::newRow("9 sheet music")
        << 9 << "Tfrm_Szerk_Kotta"
        << "Kotta adatainak szerkesztése"
        << "sorszam=azonosító|polc_nev=polc|date=beszerzés|szerzo=szerző(k)|"
           "szerkeszto=szerkesztő(k)|cim=cím|isbn=ISBN|alcim=alcím|szoveg=hangszerek|"
           "kiado_nev=kiadó|sorozat_nev=sorozat|targykor_nev=típus|mufaj_nev=műfaj|"
           "kiadas=kiadás (év)|kotetszam=kötetszám|hossz=terjedelem|ar=ár|"
           "prgtipus_nev=nyelv"
        << "polc:-1|kiado:1|sorozat:-1|targykor:99|mufaj:99|prgtipus:121"
        << "BitBtn5=polc:-1:>polc@|btnSzerzo=szerzo:99:szerző>szerzo@|"
           "btnSzerzoTorol=clear>szerzo@btnSzerzo|"
           "BitBtn2=szerzo:99:szerkesztő>szerkeszto@DBEdit13|"
           "BitBtn1=clear>szerkeszto@BitBtn2|BitBtn6=szerzo:98:hangszerek>szoveg@|"
           "BitBtn7=clear>szoveg@|btnKiado=kiado:1:kiadó>kiado@|"
           "BitBtn3=sorozat:-1:>sorozat@btnTargykor|"
           "btnTargykor=targykor:99:Típus>targykor@|btnMufaj=mufaj:99:műfaj>mufaj@|"
           "BitBtn4=prgtipus:121:Nyelv>prgtipus@"
        << false << false;
}

void tst_Editors::editorsByKind()
{
    QFETCH(int, kind);
    QFETCH(QString, className);
    QFETCH(QString, caption);
    QFETCH(QString, fields);
    QFETCH(QString, lists);
    QFETCH(QString, buttons);
    QFETCH(bool, buttonTabStops);
    QFETCH(bool, polconWritable);

    Fixture fx;
    // One row per group that any editor uses, so a list filled from the wrong group shows it.
    const QList<int> groups{1, 2, 3, 4, 6, 21, 33, 98, 99, 121};
    for (const char* t : {"kiado", "targykor", "mufaj", "prgtipus", "minoseg", "szerzo"})
        for (int g : groups)
            addMaster(QString::fromLatin1(t), QStringLiteral("%1-%2").arg(QString::fromLatin1(t)).arg(g), g);
    addMaster(QStringLiteral("polc"), QStringLiteral("polc-a"), -1);
    addMaster(QStringLiteral("sorozat"), QStringLiteral("sorozat-a"), -1);
    addMaster(QStringLiteral("szakjel"), QStringLiteral("SZ-1"), -1);
    addMaster(QStringLiteral("polc"), QString(), -1); // an empty name is left out of the list

    ChooserAnswerer chooser;
    bool checked = false;
    const QString windowName = className.mid(1);
    whenShown(windowName, [&](QWidget* w) {
        QCOMPARE(QString::fromLatin1(w->metaObject()->className()), className);
        QCOMPARE(w->windowTitle(), caption);

        // Labels, and the tab order as Enter walks it from the first field back to OK.
        QStringList expectedOrder;
        for (const QString& pair : fields.split(u'|')) {
            const QString field = pair.section(u'=', 0, 0);
            const QString label = pair.section(u'=', 1);
            const QString name = field == QLatin1String("date") ? QStringLiteral("dat_beszerzes") : field;
            auto* lbl = w->findChild<QLabel*>(QStringLiteral("Label_") + name);
            QVERIFY2(lbl, qPrintable(field));
            QCOMPARE(lbl->text(), label);
            QVERIFY(lbl->buddy());
            expectedOrder.append(lbl->buddy()->objectName());
        }
        QStringList buttonNames;
        for (const QString& b : buttons.split(u'|'))
            buttonNames.append(b.section(u'=', 0, 0));
        if (buttonTabStops) expectedOrder.append(buttonNames);
        expectedOrder.append(QStringLiteral("Button1"));

        QCOMPARE(focusName(), QStringLiteral("DBEdit1"));
        QStringList walked{focusName()};
        for (int i = 0; i < expectedOrder.size() - 1; ++i) {
            // Enter on a button presses it, so Tab walks on from the buttons.
            const bool onButton = qobject_cast<QPushButton*>(QApplication::focusWidget());
            QTest::keyClick(QApplication::focusWidget(), onButton ? Qt::Key_Tab : Qt::Key_Return);
            QApplication::processEvents();
            walked.append(focusName());
        }
        QCOMPARE(walked, expectedOrder);

        // Every list: an empty first line, then the names of its own group only.
        for (const QString& l : lists.split(u'|')) {
            const QString table = l.section(u':', 0, 0);
            const int tip = l.section(u':', 1).toInt();
            const QString field = table == QLatin1String("szakjel") ? table : table + QStringLiteral("_nev");
            auto* lbl = w->findChild<QLabel*>(QStringLiteral("Label_") + field);
            QVERIFY2(lbl, qPrintable(field));
            auto* combo = qobject_cast<QComboBox*>(lbl->buddy());
            QVERIFY2(combo, qPrintable(field));
            const QString only = table == QLatin1String("szakjel") ? QStringLiteral("SZ-1")
                                 : tip == -1                       ? table + QStringLiteral("-a")
                                             : QStringLiteral("%1-%2").arg(table).arg(tip);
            QCOMPARE(comboItems(combo), QStringList({QString(), only}));
        }

        auto* polcon = child<QCheckBox>(w, QStringLiteral("DBCheckBox1"));
        QVERIFY(polcon);
        QCOMPARE(polcon->text(), QStringLiteral("polcon"));
        QCOMPARE(polcon->isEnabled(), polconWritable);

        // Buttons: the chooser each one opens, what it writes, where the focus goes.
        for (const QString& b : buttons.split(u'|')) {
            const QString name = b.section(u'=', 0, 0);
            const QString call = b.section(u'=', 1).section(u'>', 0, 0);
            const QString target = b.section(u'>', 1).section(u'@', 0, 0);
            const QString focus = b.section(u'@', 1);
            auto* btn = child<QPushButton>(w, name);
            QVERIFY2(btn, qPrintable(name));
            QCOMPARE(bool(btn->focusPolicy() & Qt::TabFocus), buttonTabStops);
            const QString table = call.section(u':', 0, 0);
            child<QWidget>(w, QStringLiteral("DBEdit1"))->setFocus();
            chooser.calls.clear();
            if (table == QLatin1String("szakjel"))
                chooser.answers = {std::make_pair(QVariant(QStringLiteral("X-1")), QStringLiteral("leírás"))};
            else
                chooser.answers = {std::make_pair(QVariant(7), QStringLiteral("Választott"))};
            btn->click();
            QApplication::processEvents();
            if (table == QLatin1String("clear")) {
                QVERIFY(chooser.calls.isEmpty());
                QCOMPARE(fx.tbl.value(target).toString(), QString());
            } else {
                QCOMPARE(chooser.calls.size(), 1);
                const ChooserCall& c = chooser.calls.first();
                QCOMPARE(c.table, table);
                QCOMPARE(c.tip, call.section(u':', 1, 1).toInt());
                if (table == QLatin1String("szakjel")) {
                    QCOMPARE(fx.tbl.value(target).toString(), QStringLiteral("X-1"));
                } else if (table == QLatin1String("szerzo")) {
                    QCOMPARE(c.start, -1);
                    QCOMPARE(c.caption, call.section(u':', 2));
                    QVERIFY2(fx.tbl.value(target).toString().endsWith(QStringLiteral("Választott")),
                             qPrintable(fx.tbl.value(target).toString()));
                } else {
                    QCOMPARE(c.start, 0); // the item's key; a new item has none
                    QCOMPARE(c.caption, call.section(u':', 2));
                    QCOMPARE(fx.tbl.value(target).toInt(), 7);
                    QCOMPARE(fx.tbl.value(target + QStringLiteral("_nev")).toString(),
                             QStringLiteral("Választott"));
                }
            }
            QCOMPARE(focusName(), focus.isEmpty() ? QStringLiteral("DBEdit1") : focus);
        }
        checked = true;
        child<QPushButton>(w, QStringLiteral("Button2"))->click();
    });
    QCOMPARE(EditItem(kind, true, fx.ctx, nullptr), -1);
    QVERIFY(checked);
}

// Names typed into a list, resolved against the master table on OK (or not, after Mégsem).
void tst_Editors::resolveLookup_data()
{
    QTest::addColumn<int>("kind");
    QTest::addColumn<QString>("table");
    QTest::addColumn<int>("existingTip"); // the group of the row already there; 0: none
    QTest::addColumn<QString>("existing");
    QTest::addColumn<QString>("typed");
    QTest::addColumn<bool>("ok");
    QTest::addColumn<bool>("takesExisting");
    QTest::addColumn<QString>("storedName"); // the item's name copy afterwards
    QTest::addColumn<int>("newRows");        // master rows added
    QTest::addColumn<int>("newRowTip");

    QTest::newRow("case differs: existing row and its spelling")
        << 1 << "kiado" << 1 << "Móra Kiadó"
        << "móra kiadó" << true << true << "Móra Kiadó" << 0 << 0;
    QTest::newRow("accented capitals match") << 1 << "prgtipus" << 121 << "magyar"
                                             << "MAGYAR" << true << true << "magyar" << 0 << 0;
    QTest::newRow("a prefix is not the name") << 1 << "kiado" << 1 << "Móra Kiadó"
                                              << "Móra" << true << false << "Móra" << 1 << 1;
    QTest::newRow("other tip: new row with this tip")
        << 1 << "kiado" << 3 << "Hungaroton"
        << "Hungaroton" << true << false << "Hungaroton" << 1 << 1;
    QTest::newRow("video director found for the DVD (same group)")
        << 8 << "kiado" << 4 << "Jancsó Miklós"
        << "jancsó miklós" << true << true << "Jancsó Miklós" << 0 << 0;
    QTest::newRow("video director not found for a music CD")
        << 3 << "kiado" << 4 << "Jancsó Miklós"
        << "Jancsó Miklós" << true << false << "Jancsó Miklós" << 1 << 3;
    QTest::newRow("new subject only on OK") << 1 << "targykor" << 0 << ""
                                            << "Új tárgykör" << true << false << "Új tárgykör" << 1 << 1;
    QTest::newRow("none after Mégsem") << 1 << "targykor" << 0 << ""
                                       << "Új tárgykör" << false << false << "" << 0 << 0;
    QTest::newRow("VHS subtitles in subject group 33")
        << 6 << "targykor" << 0 << ""
        << "angol felirat" << true << false << "angol felirat" << 1 << 33;
    QTest::newRow("empty name adds nothing") << 1 << "mufaj" << 0 << ""
                                             << "" << true << false << "" << 0 << 0;
    QTest::newRow("shelf without groups") << 1 << "polc" << -1 << "A1"
                                          << "a1" << true << true << "A1" << 0 << 0;
    QTest::newRow("new classification code") << 1 << "szakjel" << 0 << ""
                                             << "821.511" << true << false << "821.511" << 1 << 0;
}

void tst_Editors::resolveLookup()
{
    QFETCH(int, kind);
    QFETCH(QString, table);
    QFETCH(int, existingTip);
    QFETCH(QString, existing);
    QFETCH(QString, typed);
    QFETCH(bool, ok);
    QFETCH(bool, takesExisting);
    QFETCH(QString, storedName);
    QFETCH(int, newRows);
    QFETCH(int, newRowTip);

    Fixture fx;
    const bool szakjel = table == QLatin1String("szakjel");
    const QString nameField = szakjel ? table : table + QStringLiteral("_nev");
    if (existingTip != 0) addMaster(table, existing, existingTip);
    // A row of the same name in a later key position must not be the one taken.
    if (existingTip > 0) addMaster(table, existing.toUpper(), existingTip);
    const int existingKey =
        existingTip > 0 ? keyOf(table, existing, existingTip)
        : existingTip == -1
            ? Engine::Database::scalar(
                  kConn, QStringLiteral("SELECT %1 FROM %1 WHERE %1_nev = :n ORDER BY %1").arg(table), -1,
                  {{QStringLiteral("n"), existing}})
                  .toInt()
            : -1;
    const int before = count(QStringLiteral("SELECT COUNT(*) FROM %1").arg(table));

    const QString windowName = QStringList{
        "frm_Szerk_Konyv", "frm_Szerk_Program", "frm_Szerk_CDZene", "frm_Szerk_CDVideo", "frm_Szerk_Bakelit",
        "frm_Szerk_VHS",   "frm_Szerk_Hang",    "frm_Szerk_DVD",    "frm_Szerk_Kotta"}[kind - 1];
    whenShown(windowName, [&](QWidget* w) {
        auto* lbl = w->findChild<QLabel*>(QStringLiteral("Label_") + nameField);
        QVERIFY(lbl);
        typeInto(lbl->buddy(), typed);
        QTest::mouseClick(child<QPushButton>(w, ok ? QStringLiteral("Button1") : QStringLiteral("Button2")),
                          Qt::LeftButton);
    });
    const int az = EditItem(kind, true, fx.ctx, nullptr);
    closeAllModals();
    QCOMPARE(az > 0, ok);
    QCOMPARE(count(QStringLiteral("SELECT COUNT(*) FROM %1").arg(table)) - before, newRows);
    if (!ok) {
        QCOMPARE(count(QStringLiteral("SELECT COUNT(*) FROM konyv")), 0);
        return;
    }
    QCOMPARE(fx.stored(az, nameField).toString(), storedName);
    if (szakjel) {
        QCOMPARE(count(QStringLiteral("SELECT COUNT(*) FROM szakjel WHERE szakjel = :c AND szakjel_nev = ''"),
                       {{QStringLiteral("c"), typed}}),
                 1);
        return;
    }
    const int key = fx.stored(az, table).toInt();
    if (takesExisting) {
        QCOMPARE(key, existingKey);
    } else if (newRows == 0) {
        QCOMPARE(key, 0);
    } else {
        QVERIFY(key != existingKey);
        QCOMPARE(Engine::Database::scalar(kConn,
                                          QStringLiteral("SELECT %1_nev FROM %1 WHERE %1 = :k").arg(table),
                                          QVariant(), {{QStringLiteral("k"), key}})
                     .toString(),
                 typed);
        QCOMPARE(Engine::Database::scalar(kConn,
                                          QStringLiteral("SELECT tip FROM %1 WHERE %1 = :k").arg(table),
                                          QVariant(), {{QStringLiteral("k"), key}})
                     .toInt(),
                 newRowTip);
    }
}

void tst_Editors::cancelGivesBackNumber()
{
    Fixture fx;
    for (const bool esc : {false, true}) {
        Beall.NextLeltszam = 5;
        whenShown(QStringLiteral("frm_Szerk_CDZene"), [&](QWidget* w) {
            QCOMPARE(Beall.NextLeltszam, 6); // taken by the new item
            typeInto(child<QWidget>(w, QStringLiteral("DBEdit13")), QStringLiteral("Eldobott album"));
            if (esc)
                QTest::keyClick(QApplication::focusWidget(), Qt::Key_Escape);
            else
                child<QPushButton>(w, QStringLiteral("Button2"))->click();
        });
        QCOMPARE(EditItem(3, true, fx.ctx, nullptr), -1);
        QCOMPARE(Beall.NextLeltszam, 5);
        QCOMPARE(fx.tbl.state(), Engine::Table::State::Browse);
        QCOMPARE(count(QStringLiteral("SELECT COUNT(*) FROM konyv")), 0);
    }
    // OK keeps the number taken.
    whenShown(QStringLiteral("frm_Szerk_CDZene"),
              [](QWidget* w) { child<QPushButton>(w, QStringLiteral("Button1"))->click(); });
    const int az = EditItem(3, true, fx.ctx, nullptr);
    QCOMPARE(az, 1);
    QCOMPARE(Beall.NextLeltszam, 6);
    QCOMPARE(fx.stored(az, QStringLiteral("tipus")).toInt(), 3);
}

void tst_Editors::cancelEditLeavesItem()
{
    Fixture fx;
    const int az = fx.addItem(1, QStringLiteral("Egri csillagok"), QDate(2020, 5, 6));
    const int counter = Beall.NextLeltszam;
    QVERIFY(fx.tbl.locate(QStringLiteral("az"), az));
    whenShown(QStringLiteral("frm_Szerk_Konyv"), [&](QWidget* w) {
        auto* picker = child<QDateEdit>(w, QStringLiteral("DateTimePicker1"));
        QCOMPARE(picker->date(), QDate(2020, 5, 6));
        picker->setDate(QDate(2021, 1, 1));
        typeInto(child<QWidget>(w, QStringLiteral("DBEdit13")), QStringLiteral("Más cím"));
        child<QWidget>(w, QStringLiteral("DBEdit2"))->setFocus(); // the title is in the row now
        child<QPushButton>(w, QStringLiteral("Button2"))->click();
    });
    QCOMPARE(EditItem(1, false, fx.ctx, nullptr), -1);
    QCOMPARE(Beall.NextLeltszam, counter); // only a new item gives a number back
    QCOMPARE(fx.stored(az, QStringLiteral("cim")).toString(), QStringLiteral("Egri csillagok"));
    QCOMPARE(fx.stored(az, QStringLiteral("dat_beszerzes")).toString(), QStringLiteral("2020-05-06"));
    QCOMPARE(fx.tbl.value(QStringLiteral("cim")).toString(), QStringLiteral("Egri csillagok"));

    // OK saves both, and gives the item's own az.
    whenShown(QStringLiteral("frm_Szerk_Konyv"), [&](QWidget* w) {
        child<QDateEdit>(w, QStringLiteral("DateTimePicker1"))->setDate(QDate(2021, 1, 1));
        typeInto(child<QWidget>(w, QStringLiteral("DBEdit13")), QStringLiteral("Más cím"));
        QTest::mouseClick(child<QPushButton>(w, QStringLiteral("Button1")), Qt::LeftButton);
    });
    QCOMPARE(EditItem(1, false, fx.ctx, nullptr), az);
    QCOMPARE(fx.stored(az, QStringLiteral("cim")).toString(), QStringLiteral("Más cím"));
    QCOMPARE(fx.stored(az, QStringLiteral("dat_beszerzes")).toString(), QStringLiteral("2021-01-01"));
}

void tst_Editors::authorAppend()
{
    Fixture fx;
    ChooserAnswerer chooser;
    whenShown(QStringLiteral("frm_Szerk_Konyv"), [&](QWidget* w) {
        auto* authors = child<QLineEdit>(w, QStringLiteral("DBEdit2"));
        auto* btn = child<QPushButton>(w, QStringLiteral("btnSzerzo"));
        chooser.answers = {std::make_pair(QVariant(0), QStringLiteral("Gárdonyi Géza"))};
        btn->click();
        QCOMPARE(authors->text(), QStringLiteral("Gárdonyi Géza")); // no leading comma
        chooser.answers = {std::make_pair(QVariant(0), QStringLiteral("Gárdonyi Géza"))};
        btn->click();
        QCOMPARE(authors->text(), QStringLiteral("Gárdonyi Géza, Gárdonyi Géza"));
        chooser.answers = {std::nullopt}; // Bezár
        btn->click();
        QCOMPARE(authors->text(), QStringLiteral("Gárdonyi Géza, Gárdonyi Géza"));

        // A name typed a moment ago is kept in front of the chosen one.
        auto* editors = child<QLineEdit>(w, QStringLiteral("DBEdit15"));
        typeInto(editors, QStringLiteral("Kiss Anna"));
        chooser.answers = {std::make_pair(QVariant(0), QStringLiteral("Nagy Béla"))};
        child<QPushButton>(w, QStringLiteral("BitBtn2"))->click();
        QCOMPARE(editors->text(), QStringLiteral("Kiss Anna, Nagy Béla"));
        QCOMPARE(focusName(), QStringLiteral("DBEdit13"));
        QTest::mouseClick(child<QPushButton>(w, QStringLiteral("Button1")), Qt::LeftButton);
    });
    const int az = EditItem(1, true, fx.ctx, nullptr);
    QVERIFY(az > 0);
    QCOMPARE(fx.stored(az, QStringLiteral("szerzo")).toString(),
             QStringLiteral("Gárdonyi Géza, Gárdonyi Géza"));
    QCOMPARE(fx.stored(az, QStringLiteral("szerkeszto")).toString(), QStringLiteral("Kiss Anna, Nagy Béla"));
    QCOMPARE(count(QStringLiteral("SELECT COUNT(*) FROM szerzo")), 0); // the author list stores nothing
}

void tst_Editors::enterAndArrowNavigation()
{
    Fixture fx;
    whenShown(QStringLiteral("frm_Szerk_Konyv"), [&](QWidget* w) {
        auto* title = child<QLineEdit>(w, QStringLiteral("DBEdit13"));
        // Right arrow at the end of an empty field moves on; with the caret inside it stays.
        child<QWidget>(w, QStringLiteral("DBEdit2"))->setFocus();
        QTest::keyClick(QApplication::focusWidget(), Qt::Key_Right);
        QApplication::processEvents();
        QCOMPARE(focusName(), QStringLiteral("DBEdit15"));
        title->setFocus();
        keyText(title, QStringLiteral("Abc"));
        title->setCursorPosition(1);
        QTest::keyClick(title, Qt::Key_Left);
        QApplication::processEvents();
        QCOMPARE(focusName(), QStringLiteral("DBEdit13")); // the caret went to the start, no further
        QCOMPARE(title->cursorPosition(), 0);
        QTest::keyClick(title, Qt::Key_Left);
        QApplication::processEvents();
        QCOMPARE(focusName(), QStringLiteral("DBEdit15"));
        // The whole text selected: Right moves on.
        title->setFocus();
        title->selectAll();
        QTest::keyClick(title, Qt::Key_Right);
        QApplication::processEvents();
        QCOMPARE(focusName(), QStringLiteral("DBEdit12"));
        // Left at the start of a drop-down list goes back.
        auto* kiado = child<QComboBox>(w, QStringLiteral("DBComboBox2"));
        kiado->setFocus();
        kiado->lineEdit()->setCursorPosition(0);
        QTest::keyClick(QApplication::focusWidget(), Qt::Key_Left);
        QApplication::processEvents();
        QCOMPARE(focusName(), QStringLiteral("DBComboBox6"));

        // Enter on the last field wraps to OK; Enter in a memo starts a new line.
        child<QWidget>(w, QStringLiteral("DBComboBox7"))->setFocus();
        QTest::keyClick(QApplication::focusWidget(), Qt::Key_Return);
        QCOMPARE(focusName(), QStringLiteral("Button1"));
        auto* memo = child<QPlainTextEdit>(w, QStringLiteral("DBMemo1"));
        auto* pages = child<QTabWidget>(w, QStringLiteral("PageControl1"));
        pages->setCurrentIndex(1);
        memo->setFocus();
        keyText(memo, QStringLiteral("első"));
        QTest::keyClick(memo, Qt::Key_Return);
        keyText(memo, QStringLiteral("második"));
        QCOMPARE(focusName(), QStringLiteral("DBMemo1"));
        QCOMPARE(memo->toPlainText(), QStringLiteral("első\nmásodik"));
        // Enter on a focused button presses it: OK saves.
        child<QPushButton>(w, QStringLiteral("Button1"))->setFocus();
        QTest::keyClick(QApplication::focusWidget(), Qt::Key_Return);
    });
    const int az = EditItem(1, true, fx.ctx, nullptr);
    QVERIFY(az > 0);
    QCOMPARE(fx.stored(az, QStringLiteral("tartalom")).toString(), QStringLiteral("első\nmásodik"));
    QCOMPARE(fx.stored(az, QStringLiteral("cim")).toString(), QStringLiteral("Abc"));
}

void tst_Editors::nonNumberKeepsFocus()
{
    Fixture fx;
    MessageRecorder boxes;
    bool stayed = false;
    whenShown(QStringLiteral("frm_Szerk_Konyv"), [&](QWidget* w) {
        QCOMPARE(child<QLineEdit>(w, QStringLiteral("DBEdit13"))->maxLength(), 75);
        QCOMPARE(child<QComboBox>(w, QStringLiteral("DBComboBox1"))->lineEdit()->maxLength(),
                 25); // polc keeps 25
        typeInto(child<QWidget>(w, QStringLiteral("DBEdit13")), QStringLiteral("A kőszívű ember fiai"));
        typeInto(child<QWidget>(w, QStringLiteral("DBEdit11")), QStringLiteral("480 oldal"));
        typeInto(child<QWidget>(w, QStringLiteral("DBEdit5")), QStringLiteral("19a9"));
        child<QPushButton>(w, QStringLiteral("Button1"))->click();
        QApplication::processEvents();
        QVERIFY(w->isVisible());
        QCOMPARE(boxes.count(MsgKind::Error), 1);
        QCOMPARE(focusName(), QStringLiteral("DBEdit5"));
        QCOMPARE(child<QLineEdit>(w, QStringLiteral("DBEdit5"))->text(), QStringLiteral("19a9"));
        QCOMPARE(child<QLineEdit>(w, QStringLiteral("DBEdit13"))->text(),
                 QStringLiteral("A kőszívű ember fiai"));
        QCOMPARE(child<QLineEdit>(w, QStringLiteral("DBEdit11"))->text(), QStringLiteral("480 oldal"));
        stayed = true;
        typeInto(child<QWidget>(w, QStringLiteral("DBEdit5")), QStringLiteral("1869"));
        child<QPushButton>(w, QStringLiteral("Button1"))->click();
    });
    const int az = EditItem(1, true, fx.ctx, nullptr);
    QVERIFY(stayed);
    QVERIFY(az > 0);
    QCOMPARE(fx.stored(az, QStringLiteral("kiadas")).toInt(), 1869);
    QCOMPARE(fx.stored(az, QStringLiteral("cim")).toString(), QStringLiteral("A kőszívű ember fiai"));
    QCOMPARE(fx.stored(az, QStringLiteral("hossz")).toString(), QStringLiteral("480 oldal"));
}

void tst_Editors::finalPostFailureKeepsWindow()
{
    Fixture fx;
    fx.addItem(1, QStringLiteral("Első"));
    MessageRecorder boxes;
    whenShown(QStringLiteral("frm_Szerk_Konyv"), [&](QWidget* w) {
        typeInto(child<QWidget>(w, QStringLiteral("DBEdit13")), QStringLiteral("Második"));
        typeInto(child<QWidget>(w, QStringLiteral("DBComboBox2")), QStringLiteral("Európa"));
        fx.failNextPost = true;
        child<QPushButton>(w, QStringLiteral("Button1"))->click();
        QApplication::processEvents();
        QVERIFY(w->isVisible());
        QCOMPARE(boxes.texts(), QStringList{QStringLiteral("Az adatbázis zárolva van.")});
        QCOMPARE(fx.tbl.state(), Engine::Table::State::Insert);
        QCOMPARE(child<QLineEdit>(w, QStringLiteral("DBEdit13"))->text(), QStringLiteral("Második"));
        QCOMPARE(child<QComboBox>(w, QStringLiteral("DBComboBox2"))->currentText(), QStringLiteral("Európa"));
        child<QPushButton>(w, QStringLiteral("Button1"))->click(); // the second try goes through
    });
    const int az = EditItem(1, true, fx.ctx, nullptr);
    QCOMPARE(az, 2);
    QCOMPARE(fx.stored(az, QStringLiteral("cim")).toString(), QStringLiteral("Második"));
    QCOMPARE(fx.stored(az, QStringLiteral("kiado_nev")).toString(), QStringLiteral("Európa"));
    // The publisher added on the failed try is found on the second, not added twice.
    QCOMPARE(count(QStringLiteral("SELECT COUNT(*) FROM kiado")), 1);
}

void tst_Editors::editOnEmptyView()
{
    Fixture fx;
    bool opened = false;
    whenShown(QStringLiteral("frm_Szerk_Konyv"), [&](QWidget* w) {
        opened = true;
        qobject_cast<QDialog*>(w)->reject();
    });
    QCOMPARE(EditItem(1, false, fx.ctx, nullptr), -1);
    QCOMPARE(fx.tbl.state(), Engine::Table::State::Browse);
    QCOMPARE(count(QStringLiteral("SELECT COUNT(*) FROM konyv")), 0);
    QApplication::processEvents();
    QVERIFY(!opened);
    closeAllModals();
    // Attachments on an empty view do nothing either.
    ShowAttachments(fx.tbl, nullptr);
    QVERIFY(!QApplication::activeModalWidget());
}

void tst_Editors::emptyDate()
{
    Fixture fx;
    const int az = fx.addItem(1, QStringLiteral("Dátum nélkül"));
    QVERIFY(fx.tbl.locate(QStringLiteral("az"), az));
    whenShown(QStringLiteral("frm_Szerk_Konyv"), [&](QWidget* w) {
        QCOMPARE(child<QDateEdit>(w, QStringLiteral("DateTimePicker1"))->date(), QDate(1899, 12, 30));
        child<QPushButton>(w, QStringLiteral("Button1"))->click();
    });
    QCOMPARE(EditItem(1, false, fx.ctx, nullptr), az);
    // Day 0 of the picker is no acquisition date: the item stays without one.
    QVERIFY(fx.stored(az, QStringLiteral("dat_beszerzes")).isNull());
}

void tst_Editors::programPolcon()
{
    Fixture fx;
    for (const bool ok : {false, true}) {
        whenShown(QStringLiteral("frm_Szerk_Program"), [&](QWidget* w) {
            auto* box = child<QCheckBox>(w, QStringLiteral("DBCheckBox1"));
            QVERIFY(box->isChecked());
            QTest::mouseClick(box, Qt::LeftButton, {}, QPoint(6, box->height() / 2));
            QVERIFY(!box->isChecked());
            child<QPushButton>(w, ok ? QStringLiteral("Button1") : QStringLiteral("Button2"))->click();
        });
        if (ok) {
            const int az = fx.addItem(2, QStringLiteral("Program"));
            QVERIFY(fx.tbl.locate(QStringLiteral("az"), az));
            fx.tbl.edit();
            fx.tbl.setValue(QStringLiteral("polcon"), true);
            fx.tbl.post();
            QCOMPARE(EditItem(2, false, fx.ctx, nullptr), az);
            QCOMPARE(fx.stored(az, QStringLiteral("polcon")).toInt(), 0);
        } else {
            QCOMPARE(EditItem(2, true, fx.ctx, nullptr), -1);
            QCOMPARE(count(QStringLiteral("SELECT COUNT(*) FROM konyv")), 0);
        }
    }
}

void tst_Editors::pictureOfItem()
{
    Fixture fx;
    const int az = fx.addItem(1, QStringLiteral("Képes"));
    QTemporaryDir files;
    // In path order the text file comes first; it is not a picture, so the red image is taken.
    QFile text(files.path() + QStringLiteral("/a.png"));
    QVERIFY(text.open(QIODevice::WriteOnly));
    text.write("not a picture");
    text.close();
    QImage red(200, 100, QImage::Format_RGB32);
    red.fill(Qt::red);
    QVERIFY(red.save(files.path() + QStringLiteral("/b.png")));
    QImage blue(50, 50, QImage::Format_RGB32);
    blue.fill(Qt::blue);
    QVERIFY(blue.save(files.path() + QStringLiteral("/c.png")));
    for (const char* f : {"/c.png", "/a.png", "/b.png"})
        Engine::Database::exec(
            kConn, QStringLiteral("INSERT INTO megj (konyv, doknev, doknev_rovid) VALUES (:k, :d, 'x')"),
            {{QStringLiteral("k"), az}, {QStringLiteral("d"), files.path() + QString::fromLatin1(f)}});
    QVERIFY(fx.tbl.locate(QStringLiteral("az"), az));
    QImage shown;
    whenShown(QStringLiteral("frm_Szerk_Konyv"), [&](QWidget* w) {
        shown = child<QLabel>(w, QStringLiteral("Image1"))->pixmap().toImage();
        qobject_cast<QDialog*>(w)->reject();
    });
    EditItem(1, false, fx.ctx, nullptr);
    QCOMPARE(shown.width(), 64);
    QCOMPARE(shown.pixelColor(32, 20), QColor(Qt::red));

    // Without pictures: the kind's icon, a different picture for a vinyl record than for a book.
    QImage book, vinyl;
    for (auto [kind, target] : {std::pair{1, &book}, std::pair{5, &vinyl}}) {
        whenShown(kind == 1 ? QStringLiteral("frm_Szerk_Konyv") : QStringLiteral("frm_Szerk_Bakelit"),
                  [&, target = target](QWidget* w) {
                      *target = child<QLabel>(w, QStringLiteral("Image1"))->pixmap().toImage();
                      qobject_cast<QDialog*>(w)->reject();
                  });
        EditItem(kind, true, fx.ctx, nullptr);
    }
    QVERIFY(!book.isNull());
    QVERIFY(!vinyl.isNull());
    QVERIFY(book != vinyl);
}

void tst_Editors::askString_data()
{
    QTest::addColumn<bool>("normalCase");
    QTest::addColumn<int>("maxLength");
    QTest::addColumn<QString>("value");
    QTest::addColumn<QString>("typed");
    QTest::addColumn<bool>("ok");
    QTest::addColumn<QString>("shownFirst");
    QTest::addColumn<QString>("result");

    QTest::newRow("upper-cased, the value put in too") << false << -1 << "kép.jpg"
                                                       << "ő és ű" << true << "KÉP.JPG"
                                                       << "KÉP.JPGŐ ÉS Ű";
    QTest::newRow("normal case kept as typed") << true << -1 << ""
                                               << "Kovács Éva" << true << ""
                                               << "Kovács Éva";
    QTest::newRow("length limit") << true << 5 << ""
                                  << "abcdefgh" << true << ""
                                  << "abcde";
    QTest::newRow("Mégsem keeps the value") << true << -1 << "régi"
                                            << "új" << false << "régi"
                                            << "régi";
}

void tst_Editors::askString()
{
    QFETCH(bool, normalCase);
    QFETCH(int, maxLength);
    QFETCH(QString, value);
    QFETCH(QString, typed);
    QFETCH(bool, ok);
    QFETCH(QString, shownFirst);
    QFETCH(QString, result);

    whenShown(QStringLiteral("frm_InpStr"), [&](QWidget* w) {
        QCOMPARE(w->windowTitle(), QStringLiteral("Kölcsönadás"));
        QCOMPARE(child<QLabel>(w, QStringLiteral("Label1"))->text(), QStringLiteral("Kinek adod kölcsön?"));
        auto* edit = child<QLineEdit>(w, QStringLiteral("Edit1"));
        QCOMPARE(edit->width(), 353);
        QCOMPARE(edit->text(), shownFirst);
        QCOMPARE(focusName(), QStringLiteral("Edit1"));
        edit->end(false);
        keyText(edit, typed);
        if (ok)
            QTest::keyClick(edit, Qt::Key_Return); // OK is the default button
        else
            QTest::keyClick(edit, Qt::Key_Escape);
    });
    QString v = value;
    QCOMPARE(AskString(QStringLiteral("Kölcsönadás"), QStringLiteral("Kinek adod kölcsön?"), v, normalCase,
                       maxLength),
             ok);
    QCOMPARE(v, result);
}

void tst_Editors::attachments()
{
    Fixture fx;
    const int az = fx.addItem(1, QStringLiteral("Csatolásos"));
    fx.addItem(1, QStringLiteral("Másik"));
    QVERIFY(fx.tbl.locate(QStringLiteral("az"), az));
    QTemporaryDir files;
    const QString b = files.path() + QStringLiteral("/b-borito.jpg");
    const QString a = files.path() + QStringLiteral("/z/a-tartalom.pdf");
    MessageRecorder boxes;
    FileDialogRecorder dialogs;
    dialogs.answers = {b, a, QString()};
    UrlCatcher urls;
    QDesktopServices::setUrlHandler(QStringLiteral("file"), &urls, "open");

    bool done = false;
    whenShown(QStringLiteral("frm_Megj"), [&](QWidget* w) {
        QCOMPARE(w->windowTitle(), QStringLiteral("Képek, egyebek"));
        QCOMPARE(child<QLineEdit>(w, QStringLiteral("DBEdit2"))->text(), QStringLiteral("Csatolásos"));
        auto* grid = child<QTableView>(w, QStringLiteral("DBGrid1"));
        QCOMPARE(grid->model()->headerData(0, Qt::Horizontal).toString(), QStringLiteral("rövid név"));
        QCOMPARE(grid->model()->headerData(1, Qt::Horizontal).toString(), QStringLiteral("dátum"));
        auto* aUj = w->findChild<QAction*>(QStringLiteral("aUj"));
        auto* aTorol = w->findChild<QAction*>(QStringLiteral("aTorol"));
        auto* aMegnyit = w->findChild<QAction*>(QStringLiteral("aMegnyit"));
        QVERIFY(aUj && aTorol && aMegnyit);

        // Empty list: delete asks nothing, open opens nothing.
        aTorol->trigger();
        aMegnyit->trigger();
        QVERIFY(boxes.records.isEmpty());
        QVERIFY(urls.urls.isEmpty());

        // First file: the real input dialog proposes its name in capitals; typed letters become capitals.
        whenShown(QStringLiteral("frm_InpStr"), [&](QWidget* d) {
            QCOMPARE(d->windowTitle(), QStringLiteral("Rövid leírás"));
            auto* edit = child<QLineEdit>(d, QStringLiteral("Edit1"));
            QCOMPARE(edit->text(), QStringLiteral("B-BORITO.JPG"));
            edit->clear();
            keyText(edit, QStringLiteral("borító"));
            QTest::keyClick(edit, Qt::Key_Return);
        });
        aUj->trigger();
        QCOMPARE(dialogs.calls.size(), 1);
        QCOMPARE(dialogs.calls[0].title, QStringLiteral("Dokumentum csatolás"));
        QCOMPARE(dialogs.calls[0].filter, QStringLiteral("Minden file (*)"));
        setAskStringHook([](const QString&, const QString&, const QString& v, bool normalCase) {
            return std::optional<QString>(normalCase ? v : v.toUpper());
        });
        aUj->trigger();
        aUj->trigger(); // the chooser cancelled: nothing happens
        QCOMPARE(grid->model()->rowCount(), 2);
        // In path order: .../b-borito.jpg before .../z/a-tartalom.pdf, not by description.
        QCOMPARE(grid->model()->index(0, 0).data().toString(), QStringLiteral("BORÍTÓ"));
        QCOMPARE(grid->model()->index(1, 0).data().toString(), QStringLiteral("A-TARTALOM.PDF"));
        QCOMPARE(grid->model()->index(0, 1).data().toString(),
                 QDate::currentDate().toString(QStringLiteral("yyyy.MM.dd")));

        // The link shows the current row's path and opens it.
        grid->setCurrentIndex(grid->model()->index(1, 0));
        auto* link = child<QLabel>(w, QStringLiteral("DBText1"));
        QCOMPARE(link->text(), QDir::toNativeSeparators(a));
        QTest::mouseClick(link, Qt::LeftButton);
        QCOMPARE(urls.urls, QList<QUrl>{QUrl::fromLocalFile(a)});
        grid->setCurrentIndex(grid->model()->index(0, 0));
        aMegnyit->trigger();
        QCOMPARE(urls.urls.last(), QUrl::fromLocalFile(b));

        // Delete asks first; No keeps the row, Yes removes only the reference.
        boxes.answers = {false, true};
        aTorol->trigger();
        QCOMPARE(grid->model()->rowCount(), 2);
        aTorol->trigger();
        QCOMPARE(boxes.count(MsgKind::Confirm), 2);
        QCOMPARE(boxes.records[0].text, QStringLiteral("Valóban töröljem a bejegyzést?"));
        QCOMPARE(boxes.records[0].caption, QStringLiteral("Megerősítés"));
        QCOMPARE(grid->model()->rowCount(), 1);
        QCOMPARE(grid->model()->index(0, 0).data().toString(), QStringLiteral("A-TARTALOM.PDF"));
        done = true;
        QTest::keyClick(grid, Qt::Key_Escape); // Esc closes
    });
    ShowAttachments(fx.tbl, nullptr);
    QDesktopServices::unsetUrlHandler(QStringLiteral("file"));
    QVERIFY(done);
    QVERIFY(!QApplication::activeModalWidget());
    QCOMPARE(count(QStringLiteral("SELECT COUNT(*) FROM megj WHERE konyv = :k"), {{QStringLiteral("k"), az}}),
             1);
    QCOMPARE(count(QStringLiteral("SELECT COUNT(*) FROM megj")), 1); // the other item has none
}

void tst_Editors::duplicateAttachment()
{
    Fixture fx;
    const int first = fx.addItem(1, QStringLiteral("Egyik"));
    const int second = fx.addItem(1, QStringLiteral("Másik"));
    const QString path = QStringLiteral("/srv/kepek/Borito.jpg");
    MessageRecorder boxes;
    FileDialogRecorder dialogs;
    setAskStringHook(
        [](const QString&, const QString&, const QString& v, bool) { return std::optional<QString>(v); });
    for (int az : {first, second}) {
        QVERIFY(fx.tbl.locate(QStringLiteral("az"), az));
        dialogs.answers = {path, path, QStringLiteral("/srv/kepek/borito.jpg")};
        whenShown(QStringLiteral("frm_Megj"), [&](QWidget* w) {
            auto* aUj = w->findChild<QAction*>(QStringLiteral("aUj"));
            aUj->trigger();
            aUj->trigger(); // the same file again
            aUj->trigger(); // another spelling is another file here
            qobject_cast<QDialog*>(w)->reject();
        });
        ShowAttachments(fx.tbl, nullptr);
    }
    // Each item once per file: the same file may belong to two items.
    QCOMPARE(
        count(QStringLiteral("SELECT COUNT(*) FROM megj WHERE doknev = :d"), {{QStringLiteral("d"), path}}),
        2);
    QCOMPARE(count(QStringLiteral("SELECT COUNT(*) FROM megj")), 4);
    QCOMPARE(boxes.count(MsgKind::Warning), 2);
    QCOMPARE(boxes.count(MsgKind::Error), 0);
    QVERIFY(boxes.records[0].text.startsWith(QStringLiteral("Ez a fájl már csatolva van ehhez a tételhez:")));
    QVERIFY(boxes.records[0].text.contains(path));
}

QTEST_MAIN(tst_Editors)
#include "tst_editors.moc"
