#include "beall.h"
#include "choosers.h"
#include "database.h"
#include "dbgrid.h"
#include "folders.h"
#include "messagerecorder.h"
#include "schema.h"
#include "settingsfile.h"
#include "table.h"
#include "torzsadat.h"
#include "torzseditor.h"
#include "torzslist.h"

#include <QAction>
#include <QApplication>
#include <QElapsedTimer>
#include <QFile>
#include <QHeaderView>
#include <QLabel>
#include <QLineEdit>
#include <QMenu>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QStandardPaths>
#include <QTemporaryDir>
#include <QTest>
#include <QTimer>

#include <functional>
#include <memory>

Q_DECLARE_METATYPE(TorzsKind)

namespace {

// The offscreen platform does not give the activation back to a window when a dialog over it closes,
// as a desktop does; window shortcuts need an active window.
void activate(QWidget* w)
{
    w->activateWindow();
    QApplication::setActiveWindow(w);
}

// Runs fn on the modal window called name as soon as it is the active modal widget. A window that
// fn leaves open (a failed check returns early) is closed with the cancel result, so no test waits.
void whenShown(const QString& name, std::function<void(QDialog*)> fn, int timeoutMs = 5000,
               bool mustAppear = true)
{
    auto* timer = new QTimer;
    auto clock = std::make_shared<QElapsedTimer>();
    clock->start();
    QObject::connect(timer, &QTimer::timeout, [timer, clock, name, fn, timeoutMs, mustAppear] {
        auto* dlg = qobject_cast<QDialog*>(QApplication::activeModalWidget());
        if (dlg && dlg->objectName() == name && dlg->isVisible()) {
            timer->stop();
            timer->deleteLater();
            activate(dlg);
            fn(dlg);
            if (dlg->isVisible()) dlg->reject();
            return;
        }
        if (clock->elapsed() > timeoutMs) {
            timer->stop();
            timer->deleteLater();
            if (!mustAppear) return;
            QTest::qFail(qPrintable(QStringLiteral("%1 did not appear").arg(name)), __FILE__, __LINE__);
            while (auto* open = qobject_cast<QDialog*>(QApplication::activeModalWidget()))
                open->reject();
        }
    });
    timer->start(5);
}

// Key presses with any text, Hungarian letters outside Latin-1 included.
void typeText(QWidget* w, const QString& text)
{
    for (const QChar c : text) {
        const Qt::KeyboardModifiers mods = c.isUpper() ? Qt::ShiftModifier : Qt::NoModifier;
        const auto key = Qt::Key(c.toUpper().unicode());
        QTest::sendKeyEvent(QTest::Click, w, key, QString(c), mods);
    }
}

QString cell(DBGrid* grid, int row, int column = 0)
{
    return grid->model()->index(row, column).data().toString();
}

QStringList columnTexts(DBGrid* grid, int column = 0)
{
    QStringList out;
    for (int r = 0; r < grid->model()->rowCount(); ++r)
        out.append(cell(grid, r, column));
    return out;
}

QStringList menuTexts(QMenu* menu)
{
    QStringList out;
    for (QAction* a : menu->actions())
        out.append(a->isSeparator() ? QStringLiteral("-") : a->text());
    return out;
}

TorzsListWindow* asList(QDialog* d)
{
    return qobject_cast<TorzsListWindow*>(d);
}

// The public choose operation of a member; key as the caller gets it (the name for authors).
QVariant choose(TorzsKind kind, const QVariant& start, int tip, const QString& caption, QString& name)
{
    switch (kind) {
    case TorzsKind::Szerzo: {
        const QString n = ChooseSzerzo(start.toInt(), tip, caption);
        if (!n.isEmpty()) name = n;
        return n;
    }
    case TorzsKind::Kiado:
        return ChooseKiado(start.toInt(), tip, caption, name);
    case TorzsKind::Targykor:
        return ChooseTargykor(start.toInt(), tip, caption, name);
    case TorzsKind::Mufaj:
        return ChooseMufaj(start.toInt(), tip, caption, name);
    case TorzsKind::PrgTipus:
        return ChoosePrgtipus(start.toInt(), tip, caption, name);
    case TorzsKind::Minoseg:
        return ChooseMinoseg(start.toInt(), tip, caption, name);
    case TorzsKind::Sorozat:
        return ChooseSorozat(start.toInt(), name);
    case TorzsKind::Polc:
        return ChoosePolc(start.toInt(), name);
    case TorzsKind::Szakjel:
        return ChooseSzakjel(start.toString(), name);
    }
    return {};
}

} // namespace

class TestMasterData : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase();
    void init();
    void cleanup();

    void sharedLayout_data();
    void sharedLayout();
    void startKey_data();
    void startKey();
    void doubleClickAccepts();
    void search_data();
    void search();
    void gridKeyStartsSearch_data();
    void gridKeyStartsSearch();
    void searchBoxArrowGoesToGrid();
    void multiLineEntry();
    void multiLineEntryWindow();
    void longLines_data();
    void longLines();
    void deleteAsks();
    void emptyList_data();
    void emptyList();
    void editorEditsRow();
    void editorRefusedPost_data();
    void editorRefusedPost();
    void storedBounds();
    void hooks();

private:
    // Adds a master row and gives its key (the code for classification codes).
    QVariant addRow(TorzsKind kind, const QString& name, int tip = 0, const QString& code = QString());
    int count(const QString& sql);

    QTemporaryDir m_dir;
    int m_dbNo = 0;
};

void TestMasterData::initTestCase()
{
    QStandardPaths::setTestModeEnabled(true);
    QVERIFY(m_dir.isValid());
    // The settings file lives beside the "program", in the temporary folder.
    SetExeDirForTests(m_dir.path());
    SetWorkAreaForTests(QRect(0, 0, 1280, 1024));
    QFile ini(m_dir.filePath(QStringLiteral("Lerovani.ini")));
    QVERIFY(ini.open(QIODevice::WriteOnly));
    ini.close();
    QCOMPARE(IniFileName(), m_dir.filePath(QStringLiteral("Lerovani.ini")));
}

void TestMasterData::init()
{
    QFile ini(IniFileName());
    QVERIFY(ini.open(QIODevice::WriteOnly | QIODevice::Truncate));
    ini.close();
    const QString folder = m_dir.filePath(QStringLiteral("db%1").arg(++m_dbNo));
    Schema::createDatabase(folder);
    Engine::Database::open(CatalogConnection(), folder);
    Beall.FontSize = 9;
}

void TestMasterData::cleanup()
{
    setChooserHook({});
    setMasterLinesHook({});
    while (auto* open = qobject_cast<QDialog*>(QApplication::activeModalWidget()))
        open->reject();
    Engine::Database::close(CatalogConnection());
}

QVariant TestMasterData::addRow(TorzsKind kind, const QString& name, int tip, const QString& code)
{
    const TorzsMember& m = TorzsMemberOf(kind);
    if (m.isSzakjel()) {
        Engine::Database::exec(CatalogConnection(),
                               QStringLiteral("INSERT INTO szakjel (szakjel, szakjel_nev) VALUES (:c, :n)"),
                               {{QStringLiteral(":c"), code}, {QStringLiteral(":n"), name}});
        return code;
    }
    if (m.partitioned)
        Engine::Database::exec(
            CatalogConnection(),
            QStringLiteral("INSERT INTO %1 (%2, tip) VALUES (:n, :t)").arg(m.table, m.nameField),
            {{QStringLiteral(":n"), name}, {QStringLiteral(":t"), tip}});
    else
        Engine::Database::exec(CatalogConnection(),
                               QStringLiteral("INSERT INTO %1 (%2) VALUES (:n)").arg(m.table, m.nameField),
                               {{QStringLiteral(":n"), name}});
    return Engine::Database::scalar(CatalogConnection(),
                                    QStringLiteral("SELECT MAX(%1) FROM %2").arg(m.keyField, m.table));
}

int TestMasterData::count(const QString& sql)
{
    return Engine::Database::scalar(CatalogConnection(), sql, 0).toInt();
}

// What the nine lists share, and where they differ, checked through their real windows.
void TestMasterData::sharedLayout_data()
{
    QTest::addColumn<TorzsKind>("kind");
    QTest::addColumn<QString>("className");
    QTest::addColumn<QString>("title");
    QTest::addColumn<QStringList>("columns");
    QTest::addColumn<QSize>("design");
    QTest::addColumn<QString>("panelText");
    QTest::addColumn<bool>("kereso");

    const QString cap = QStringLiteral("Próba felirat");
    const QStringList capCol{cap};
    QTest::newRow("szerzo") << TorzsKind::Szerzo << "Tfrm_TorzsSzerzo" << cap << capCol << QSize(405, 410)
                            << "" << true;
    QTest::newRow("kiado") << TorzsKind::Kiado << "Tfrm_TorzsKiado" << cap << capCol << QSize(405, 382) << ""
                           << false;
    QTest::newRow("targykor") << TorzsKind::Targykor << "Tfrm_TorzsTargykor" << cap << capCol
                              << QSize(374, 378) << (cap + QStringLiteral("  ")) << true;
    QTest::newRow("mufaj") << TorzsKind::Mufaj << "Tfrm_TorzsMufaj" << cap << capCol << QSize(414, 390) << ""
                           << true;
    QTest::newRow("sorozat") << TorzsKind::Sorozat << "Tfrm_TorzsSorozat"
                             << "Sorozatok" << QStringList{"sorozat"} << QSize(376, 364) << "" << true;
    QTest::newRow("prgtipus") << TorzsKind::PrgTipus << "Tfrm_TorzsPrgTipus" << cap << capCol
                              << QSize(380, 395) << "" << true;
    QTest::newRow("polc") << TorzsKind::Polc << "Tfrm_TorzsPolc"
                          << "Polcok" << QStringList{"Polc"} << QSize(400, 368) << "" << true;
    QTest::newRow("szakjel") << TorzsKind::Szakjel << "Tfrm_TorzsSzakjel"
                             << "Szakjelek" << QStringList{"szakjel", "megnevezés"} << QSize(393, 445) << ""
                             << true;
    QTest::newRow("minoseg") << TorzsKind::Minoseg << "Tfrm_TorzsMinoseg" << cap << capCol << QSize(398, 368)
                             << "" << true;
}

void TestMasterData::sharedLayout()
{
    QFETCH(TorzsKind, kind);
    QFETCH(QString, className);
    QFETCH(QString, title);
    QFETCH(QStringList, columns);
    QFETCH(QSize, design);
    QFETCH(QString, panelText);
    QFETCH(bool, kereso);
    const TorzsMember& m = TorzsMemberOf(kind);

    // Two rows of group 3 and, for the lists with groups, one of group 4 that must stay out of sight.
    const QVariant bravo = addRow(kind, QStringLiteral("Bravó"), 3, QStringLiteral("B1"));
    addRow(kind, QStringLiteral("Alfa"), 3, QStringLiteral("A1"));
    if (m.partitioned) addRow(kind, QStringLiteral("Más csoport"), 4);

    bool ran = false;
    whenShown(className.mid(1), [&](QDialog* dlg) {
        ran = true;
        TorzsListWindow* w = asList(dlg);
        QVERIFY(w);
        QCOMPARE(QString::fromLatin1(w->metaObject()->className()), className);
        QCOMPARE(w->windowTitle(), title);
        QCOMPARE(w->size(), design);
        auto* grid = w->findChild<DBGrid*>(QStringLiteral("DBGrid1"));
        auto* edit = w->findChild<QLineEdit*>(QStringLiteral("Edit1"));
        QVERIFY(grid && edit);
        QCOMPARE(edit->width(), 121);
        QCOMPARE(grid->model()->columnCount(), columns.size());
        for (int c = 0; c < columns.size(); ++c)
            QCOMPARE(grid->model()->headerData(c, Qt::Horizontal).toString(), columns[c]);
        QCOMPARE(grid->model()->index(0, 0).data(Qt::BackgroundRole).value<QColor>(), SortColumnColor());
        // The width rule: the grid's width less 40, split 33 : 67 for the two columns of codes.
        const int usable = grid->width() - 40;
        if (m.isSzakjel()) {
            QCOMPARE(grid->columnWidth(0), int(usable * 0.33));
            QCOMPARE(grid->columnWidth(1), int(usable * 0.67));
        } else {
            QCOMPARE(grid->columnWidth(0), usable);
        }
        QCOMPARE(w->findChild<QLabel*>(QStringLiteral("Panel1Caption"))->text(), panelText);

        // Only the list's own group, in name order (codes in code order).
        QCOMPARE(grid->model()->rowCount(), 2);
        QCOMPARE(cell(grid, 0), m.isSzakjel() ? QStringLiteral("A1") : QStringLiteral("Alfa"));
        QCOMPARE(w->findChild<QLabel*>(QStringLiteral("StatusPanel1"))->text(), QStringLiteral("2: 1"));

        edit->setFocus();
        typeText(edit, QStringLiteral("b"));
        QCOMPARE(edit->text(), QStringLiteral("b"));
        QCOMPARE(w->currentName(), QStringLiteral("Bravó"));
        QCOMPARE(w->findChild<QLabel*>(QStringLiteral("StatusPanel1"))->text(), QStringLiteral("2: 2"));
        // The other group's "Más csoport" is not searched: the current row stays.
        edit->selectAll();
        typeText(edit, QStringLiteral("m"));
        QCOMPARE(w->currentName(), QStringLiteral("Bravó"));

        auto* menu = w->findChild<QMenu*>(QStringLiteral("PopupMenu1"));
        QVERIFY(menu);
        const QStringList expectedMenu =
            kereso ? QStringList{"Új sor", "Szerkeszt", "Sor törlése", "-", "Kereső", "-", "Elfogad", "Bezár"}
                   : QStringList{"Új sor", "Szerkeszt", "Sor törlése", "-", "Elfogad", "Bezár"};
        QCOMPARE(menuTexts(menu), expectedMenu);
        QAction* elfogad = w->findChild<QAction*>(QStringLiteral("aElfogad"));
        QVERIFY(elfogad && elfogad->isVisible() && elfogad->isEnabled());

        // Ctrl+F goes to the search box, except in the publisher list, which has no Kereső.
        QCOMPARE(w->findChild<QAction*>(QStringLiteral("aKeres")) != nullptr, kereso);
        grid->setFocus();
        QTRY_VERIFY(grid->hasFocus());
        QTest::keyClick(grid, Qt::Key_F, Qt::ControlModifier);
        QCOMPARE(edit->hasFocus(), kereso);
        QCOMPARE(grid->hasFocus(), !kereso);

        QTest::keyClick(grid, Qt::Key_Return);
    });
    QString name = QStringLiteral("régi");
    const QVariant key = choose(kind, -1, 3, QStringLiteral("Próba felirat"), name);
    QVERIFY(ran);
    QCOMPARE(name, QStringLiteral("Bravó"));
    if (kind == TorzsKind::Szerzo)
        QCOMPARE(key.toString(), QStringLiteral("Bravó"));
    else if (m.isSzakjel())
        QCOMPARE(key.toString(), QStringLiteral("B1"));
    else
        QCOMPARE(key.toInt(), bravo.toInt());
    // Closing stored the bounds under the window's name.
    QCOMPARE(IniReadInt(m.windowName(), QStringLiteral("Width"), -1), design.width());
    QCOMPARE(IniReadInt(m.windowName(), QStringLiteral("Height"), -1), design.height());
}

void TestMasterData::startKey_data()
{
    QTest::addColumn<TorzsKind>("kind");
    QTest::addColumn<QString>("start"); // a row's name, or a key that is not there
    QTest::addColumn<QString>("expected");

    QTest::newRow("publisher found") << TorzsKind::Kiado << "Corvina"
                                     << "Corvina";
    QTest::newRow("publisher missing") << TorzsKind::Kiado << "9999"
                                       << "Akadémiai";
    QTest::newRow("publisher of another group") << TorzsKind::Kiado << "Másik csoport"
                                                << "Akadémiai";
    QTest::newRow("series found") << TorzsKind::Sorozat << "Corvina"
                                  << "Corvina";
    QTest::newRow("series missing") << TorzsKind::Sorozat << "9999"
                                    << "Akadémiai";
    QTest::newRow("code found") << TorzsKind::Szakjel << "Corvina"
                                << "Corvina";
    QTest::newRow("code missing") << TorzsKind::Szakjel << "ZZ9"
                                  << "Akadémiai";
}

void TestMasterData::startKey()
{
    QFETCH(TorzsKind, kind);
    QFETCH(QString, start);
    QFETCH(QString, expected);
    const TorzsMember& m = TorzsMemberOf(kind);

    QHash<QString, QVariant> keys;
    keys.insert(QStringLiteral("Európa"), addRow(kind, QStringLiteral("Európa"), 1, QStringLiteral("C3")));
    keys.insert(QStringLiteral("Corvina"), addRow(kind, QStringLiteral("Corvina"), 1, QStringLiteral("B2")));
    keys.insert(QStringLiteral("Akadémiai"),
                addRow(kind, QStringLiteral("Akadémiai"), 1, QStringLiteral("A1")));
    if (m.partitioned)
        keys.insert(QStringLiteral("Másik csoport"), addRow(kind, QStringLiteral("Másik csoport"), 2));
    const QVariant startKey = keys.value(start, start);

    QString shownName;
    whenShown(m.windowName(), [&](QDialog* dlg) {
        shownName = asList(dlg)->currentName();
        // Enter in the search box accepts.
        auto* edit = dlg->findChild<QLineEdit*>(QStringLiteral("Edit1"));
        QVERIFY(edit->hasFocus());
        QTest::keyClick(edit, Qt::Key_Return);
    });
    QString name;
    const QVariant key = choose(kind, startKey, 1, QStringLiteral("Kiadó"), name);
    QCOMPARE(shownName, expected);
    QCOMPARE(name, expected);
    if (m.isSzakjel())
        QCOMPARE(key.toString(), keys.value(expected).toString());
    else
        QCOMPARE(key.toInt(), keys.value(expected).toInt());
}

void TestMasterData::doubleClickAccepts()
{
    addRow(TorzsKind::Polc, QStringLiteral("A polc"));
    const int second = addRow(TorzsKind::Polc, QStringLiteral("B polc")).toInt();
    whenShown(QStringLiteral("frm_TorzsPolc"), [&](QDialog* dlg) {
        auto* grid = dlg->findChild<DBGrid*>(QStringLiteral("DBGrid1"));
        const QRect r = grid->visualRect(grid->model()->index(1, 0));
        QTest::mouseClick(grid->viewport(), Qt::LeftButton, {}, r.center());
        QTest::mouseDClick(grid->viewport(), Qt::LeftButton, {}, r.center());
    });
    QString name;
    QCOMPARE(ChoosePolc(-1, name), second);
    QCOMPARE(name, QStringLiteral("B polc"));
}

void TestMasterData::search_data()
{
    QTest::addColumn<QString>("typed");
    QTest::addColumn<QString>("expected");

    QTest::newRow("lower case") << "akad"
                                << "Akadémiai";
    QTest::newRow("upper case accent") << "ÁRK"
                                       << "Árkádia";
    QTest::newRow("mixed case") << "éG"
                                << "Égtáj";
    QTest::newRow("e, not é") << "eu"
                              << "Európa";
    QTest::newRow("ő") << "ő"
                       << "Őrség";
    QTest::newRow("ö") << "Ö"
                       << "Öböl";
    QTest::newRow("ű") << "ű"
                       << "Űrhajó";
    QTest::newRow("c before cs") << "c"
                                 << "Corvina";
    QTest::newRow("cs") << "cS"
                        << "Cser";
    QTest::newRow("first in name order") << "SZAB"
                                         << "Szabadság";
    QTest::newRow("no match keeps the row") << "xyz"
                                            << "Akadémiai";
}

void TestMasterData::search()
{
    QFETCH(QString, typed);
    QFETCH(QString, expected);
    for (const char* n : {"Szabó", "Szabadság", "Öböl", "Őrség", "Űrhajó", "Cser", "Corvina", "Égtáj",
                          "Európa", "Árkádia", "Akadémiai", "Ulpius"})
        addRow(TorzsKind::Kiado, QString::fromUtf8(n), 1);
    QString current;
    whenShown(QStringLiteral("frm_TorzsKiado"), [&](QDialog* dlg) {
        auto* edit = dlg->findChild<QLineEdit*>(QStringLiteral("Edit1"));
        typeText(edit, typed);
        QCOMPARE(edit->text(), typed);
        current = asList(dlg)->currentName();
        QTest::keyClick(edit, Qt::Key_Escape);
    });
    QString name = QStringLiteral("régi");
    QCOMPARE(ChooseKiado(-1, 1, QStringLiteral("Kiadó"), name), -1);
    QCOMPARE(name, QStringLiteral("régi"));
    QCOMPARE(current, expected);
}

void TestMasterData::gridKeyStartsSearch_data()
{
    QTest::addColumn<QString>("key");
    QTest::addColumn<QString>("searchText");
    QTest::addColumn<QString>("expected");

    QTest::newRow("Ő typed") << "Ő"
                             << "ő"
                             << "Őrség";
    QTest::newRow("É typed") << "É"
                             << "é"
                             << "Égtáj";
    QTest::newRow("ű typed") << "ű"
                             << "ű"
                             << "Űrhajó";
    QTest::newRow("digit") << "4"
                           << "4"
                           << "4 évszak";
    QTest::newRow("plus is left to the grid") << "+"
                                              << ""
                                              << "4 évszak";
}

void TestMasterData::gridKeyStartsSearch()
{
    QFETCH(QString, key);
    QFETCH(QString, searchText);
    QFETCH(QString, expected);
    for (const char* n : {"Őrség", "Öböl", "Égtáj", "Európa", "Űrhajó", "4 évszak"})
        addRow(TorzsKind::Mufaj, QString::fromUtf8(n), 2);
    QString current;
    QString text;
    bool searchFocused = false;
    whenShown(QStringLiteral("frm_TorzsMufaj"), [&](QDialog* dlg) {
        auto* grid = dlg->findChild<DBGrid*>(QStringLiteral("DBGrid1"));
        auto* edit = dlg->findChild<QLineEdit*>(QStringLiteral("Edit1"));
        grid->setFocus();
        QTRY_VERIFY(grid->hasFocus());
        typeText(grid, key);
        text = edit->text();
        searchFocused = edit->hasFocus();
        QCOMPARE(edit->cursorPosition(), text.size());
        current = asList(dlg)->currentName();
        dlg->reject();
    });
    QString name;
    ChooseMufaj(-1, 2, QStringLiteral("Műfaj"), name);
    QCOMPARE(text, searchText);
    QCOMPARE(searchFocused, !searchText.isEmpty());
    QCOMPARE(current, expected);
}

void TestMasterData::searchBoxArrowGoesToGrid()
{
    for (const char* n : {"Első", "Második", "Harmadik"})
        addRow(TorzsKind::Minoseg, QString::fromUtf8(n), 1);
    whenShown(QStringLiteral("frm_TorzsMinoseg"), [&](QDialog* dlg) {
        auto* grid = dlg->findChild<DBGrid*>(QStringLiteral("DBGrid1"));
        auto* edit = dlg->findChild<QLineEdit*>(QStringLiteral("Edit1"));
        QTRY_VERIFY(edit->hasFocus());
        typeText(edit, QStringLiteral("h"));
        QCOMPARE(asList(dlg)->currentName(), QStringLiteral("Harmadik"));
        // The key takes the focus to the grid but does not move its row.
        QTest::keyClick(edit, Qt::Key_Down);
        QVERIFY(grid->hasFocus());
        QCOMPARE(asList(dlg)->currentName(), QStringLiteral("Harmadik"));
        dlg->reject();
    });
    QString name;
    ChooseMinoseg(-1, 1, QStringLiteral("Minőség"), name);
}

// Six lines typed into "Törzsadatok hozzáadása", one of them empty, add five rows of the list's group.
void TestMasterData::multiLineEntry()
{
    addRow(TorzsKind::Targykor, QStringLiteral("Dió"), 5);
    addRow(TorzsKind::Targykor, QStringLiteral("Mák"), 6);
    QStringList shown;
    whenShown(QStringLiteral("frm_TorzsTargykor"), [&](QDialog* dlg) {
        auto* grid = dlg->findChild<DBGrid*>(QStringLiteral("DBGrid1"));
        whenShown(QStringLiteral("frm_Torzsadat"), [&](QDialog* entry) {
            auto* memo = entry->findChild<QPlainTextEdit*>(QStringLiteral("Memo1"));
            QVERIFY(memo);
            const QStringList lines{"Zene", "Alma", "", "Körte", "Banán", "Csiga"};
            for (int i = 0; i < lines.size(); ++i) {
                if (i > 0) QTest::keyClick(memo, Qt::Key_Return);
                typeText(memo, lines[i]);
            }
            QVERIFY(entry->isVisible()); // Enter made new lines, it did not close the window
            QTest::mouseClick(entry->findChild<QPushButton*>(QStringLiteral("btnOK")), Qt::LeftButton);
        });
        QTest::keyClick(grid, Qt::Key_Insert);
        shown = columnTexts(grid);
        dlg->reject();
    });
    QString name;
    ChooseTargykor(-1, 5, QStringLiteral("Tárgykör"), name);
    QCOMPARE(shown, (QStringList{"Alma", "Banán", "Csiga", "Dió", "Körte", "Zene"}));
    QCOMPARE(count(QStringLiteral("SELECT COUNT(*) FROM targykor WHERE tip = 5")), 6);
    QCOMPARE(count(QStringLiteral("SELECT COUNT(*) FROM targykor")), 7);
}

void TestMasterData::multiLineEntryWindow()
{
    Beall.FontSize = 12;
    bool ran = false;
    whenShown(QStringLiteral("frm_Torzsadat"), [&](QDialog* entry) {
        ran = true;
        QCOMPARE(entry->windowTitle(), QStringLiteral("Törzsadatok hozzáadása"));
        auto* memo = entry->findChild<LineNumberEdit*>(QStringLiteral("Memo1"));
        QVERIFY(memo);
        QCOMPARE(memo->font().family(), QStringLiteral("Courier New"));
        QCOMPARE(memo->font().pointSize(), 12);
        QVERIFY(memo->lineNumberArea()->isVisible());
        QVERIFY(memo->lineNumberArea()->width() > 0);
        QCOMPARE(memo->viewport()->x(), memo->lineNumberArea()->x() + memo->lineNumberArea()->width());
        const int narrow = memo->lineNumberAreaWidth();
        for (int i = 0; i < 120; ++i)
            QTest::keyClick(memo, Qt::Key_Return);
        QVERIFY(memo->lineNumberAreaWidth() > narrow); // room for three digits
        typeText(memo, QStringLiteral("x"));
        const QList<QTextEdit::ExtraSelection> sel = memo->extraSelections();
        QCOMPARE(sel.size(), 1);
        QCOMPARE(sel.first().format.background().color(), QColor(255, 255, 204));
        QCOMPARE(sel.first().cursor.blockNumber(), 120);
        QTest::keyClick(memo, Qt::Key_Escape);
        QVERIFY(!entry->isVisible());
    });
    QCOMPARE(AskMasterLines(), QString());
    QVERIFY(ran);
    QCOMPARE(IniReadInt(QStringLiteral("frm_Torzsadat"), QStringLiteral("Left"), -1), 10);
}

void TestMasterData::longLines_data()
{
    QTest::addColumn<QList<bool>>("answers");
    QTest::addColumn<QStringList>("typedEachTime");
    QTest::addColumn<QStringList>("stored");

    const QString longLine = QStringLiteral("Harmadik emelet, bal oldali szekrény"); // 36 characters
    const QString fixed = QStringLiteral("Harmadik emelet, bal");
    QTest::newRow("cut on yes") << QList<bool>{true} << QStringList{"Lenti\n" + longLine}
                                << QStringList{longLine.left(25), "Lenti"};
    QTest::newRow("no gives the text back")
        << QList<bool>{false} << QStringList{"Lenti\n" + longLine, "Lenti\n" + fixed}
        << QStringList{fixed, "Lenti"};
    QTest::newRow("no, then Mégsem") << QList<bool>{false} << QStringList{"Lenti\n" + longLine, ""}
                                     << QStringList{};
}

void TestMasterData::longLines()
{
    QFETCH(QList<bool>, answers);
    QFETCH(QStringList, typedEachTime);
    QFETCH(QStringList, stored);

    MessageRecorder rec;
    rec.answers = answers;
    QStringList initialTexts;
    setMasterLinesHook([&](const QString& initial) {
        initialTexts.append(initial);
        return typedEachTime.value(initialTexts.size() - 1);
    });
    whenShown(QStringLiteral("frm_TorzsPolc"), [&](QDialog* dlg) {
        QTest::keyClick(dlg->findChild<DBGrid*>(QStringLiteral("DBGrid1")), Qt::Key_Insert);
        dlg->reject();
    });
    QString name;
    ChoosePolc(-1, name);

    QCOMPARE(rec.count(MsgKind::Confirm), 1);
    QVERIFY(rec.records.first().text.startsWith(QStringLiteral("1 sor hosszabb 25 karakternél")));
    QCOMPARE(initialTexts.size(), typedEachTime.size());
    if (initialTexts.size() > 1)
        QCOMPARE(initialTexts[1], typedEachTime[0]); // what was typed comes back to be corrected
    QStringList names;
    QSqlQuery q = Engine::Database::exec(CatalogConnection(),
                                         QStringLiteral("SELECT polc_nev FROM polc ORDER BY polc_nev"));
    while (q.next())
        names.append(q.value(0).toString());
    QCOMPARE(names, stored);
}

void TestMasterData::deleteAsks()
{
    addRow(TorzsKind::Sorozat, QStringLiteral("Első"));
    addRow(TorzsKind::Sorozat, QStringLiteral("Második"));
    MessageRecorder rec;
    rec.answers = {false, true};
    whenShown(QStringLiteral("frm_TorzsSorozat"), [&](QDialog* dlg) {
        auto* grid = dlg->findChild<DBGrid*>(QStringLiteral("DBGrid1"));
        grid->setFocus();
        QTest::keyClick(grid, Qt::Key_Delete, Qt::ControlModifier);
        QCOMPARE(grid->model()->rowCount(), 2);
        // From the search box too: Ctrl+Delete is the command there, not the editing key.
        auto* edit = dlg->findChild<QLineEdit*>(QStringLiteral("Edit1"));
        edit->setFocus();
        QTest::keyClick(edit, Qt::Key_Delete, Qt::ControlModifier);
        QCOMPARE(columnTexts(grid), QStringList{"Második"});
        dlg->reject();
    });
    QString name;
    ChooseSorozat(-1, name);
    QCOMPARE(rec.count(MsgKind::Confirm), 2);
    QCOMPARE(rec.records[0].text, QStringLiteral("Valóban töröljem a sort?"));
    QCOMPARE(rec.records[0].caption, QStringLiteral("Megerősítés"));
    QCOMPARE(count(QStringLiteral("SELECT COUNT(*) FROM sorozat")), 1);
}

void TestMasterData::emptyList_data()
{
    QTest::addColumn<TorzsKind>("kind");
    QTest::newRow("publisher") << TorzsKind::Kiado;
    QTest::newRow("author") << TorzsKind::Szerzo;
    QTest::newRow("code") << TorzsKind::Szakjel;
}

// Szerkeszt and Sor törlése do nothing on an empty list; Elfogad gives key 0 and an empty name.
void TestMasterData::emptyList()
{
    QFETCH(TorzsKind, kind);
    const TorzsMember& m = TorzsMemberOf(kind);
    if (m.partitioned) addRow(kind, QStringLiteral("Más csoport"), 7);

    MessageRecorder rec;
    bool editorShown = false;
    bool accepted = false;
    whenShown(m.windowName(), [&](QDialog* dlg) {
        auto* grid = dlg->findChild<DBGrid*>(QStringLiteral("DBGrid1"));
        QCOMPARE(grid->model()->rowCount(), 0);
        whenShown(
            m.editorWindowName(), [&](QDialog*) { editorShown = true; }, 300, false);
        QTest::keyClick(grid, Qt::Key_F2);
        QTest::keyClick(grid, Qt::Key_Delete, Qt::ControlModifier);
        QTest::qWait(400);
        QTest::keyClick(grid, Qt::Key_Return);
        accepted = dlg->result() == QDialog::Accepted;
    });
    QString name = QStringLiteral("régi");
    const QVariant key = choose(kind, -1, 1, QStringLiteral("Lista"), name);
    QVERIFY(accepted);
    if (kind == TorzsKind::Kiado)
        QCOMPARE(key.toInt(), 0);
    else
        QCOMPARE(key.toString(), QString());
    if (kind != TorzsKind::Szerzo) QCOMPARE(name, QString());
    QVERIFY(!editorShown);
    QCOMPARE(rec.records.size(), 0);
    QCOMPARE(count(QStringLiteral("SELECT COUNT(*) FROM %1").arg(m.table)), m.isSzakjel() ? 0 : 1);
}

void TestMasterData::editorEditsRow()
{
    addRow(TorzsKind::Kiado, QStringLiteral("Európa"), 1);
    addRow(TorzsKind::Kiado, QStringLiteral("Gondolat"), 1);
    QString caption, label;
    whenShown(QStringLiteral("frm_TorzsKiado"), [&](QDialog* dlg) {
        auto* grid = dlg->findChild<DBGrid*>(QStringLiteral("DBGrid1"));
        // Mégsem leaves the row as it was.
        whenShown(QStringLiteral("frm_TorzsKiado_Szerkeszt"), [&](QDialog* ed) {
            auto* field = ed->findChild<QLineEdit*>(QStringLiteral("DBEdit1"));
            QCOMPARE(field->text(), QStringLiteral("Európa"));
            field->selectAll();
            typeText(field, QStringLiteral("Elveszett"));
            QTest::mouseClick(ed->findChild<QPushButton*>(QStringLiteral("btnMegsem")), Qt::LeftButton);
        });
        QTest::keyClick(grid, Qt::Key_F2);
        QCOMPARE(columnTexts(grid), (QStringList{"Európa", "Gondolat"}));
        QVERIFY(!asList(dlg)->Tbl->isEditing());
        activate(dlg);

        whenShown(QStringLiteral("frm_TorzsKiado_Szerkeszt"), [&](QDialog* ed) {
            caption = ed->windowTitle();
            label = ed->findChild<QLabel*>(QStringLiteral("Label1"))->text();
            auto* field = ed->findChild<QLineEdit*>(QStringLiteral("DBEdit1"));
            QCOMPARE(field->maxLength(), 50);
            field->selectAll();
            typeText(field, QStringLiteral("Helikon"));
            QTest::keyClick(field, Qt::Key_Return); // to OK
            QVERIFY(ed->findChild<QPushButton*>(QStringLiteral("btnOK"))->hasFocus());
            QTest::keyClick(ed->findChild<QPushButton*>(QStringLiteral("btnOK")), Qt::Key_Return);
        });
        QTest::keyClick(grid, Qt::Key_F2);
        QCOMPARE(columnTexts(grid), (QStringList{"Gondolat", "Helikon"}));
        QCOMPARE(asList(dlg)->currentName(), QStringLiteral("Helikon"));
        dlg->reject();
    });
    QString name;
    ChooseKiado(-1, 1, QStringLiteral("Hanglemezkiadó"), name);
    QCOMPARE(caption, QStringLiteral("Hanglemezkiadó"));
    QCOMPARE(label, QStringLiteral("Hanglemezkiadó"));
    QCOMPARE(count(QStringLiteral("SELECT COUNT(*) FROM kiado WHERE kiado_nev = 'Helikon' AND tip = 1")), 1);
}

void TestMasterData::editorRefusedPost_data()
{
    QTest::addColumn<QString>("code");
    QTest::addColumn<QString>("reason");
    QTest::newRow("code already there") << "A1"
                                        << "";
    QTest::newRow("no code") << ""
                             << "A szakjel megadása kötelező.";
}

// A refused save keeps the editor open with what was typed; it can then be corrected.
void TestMasterData::editorRefusedPost()
{
    QFETCH(QString, code);
    QFETCH(QString, reason);
    addRow(TorzsKind::Szakjel, QStringLiteral("Általános"), 0, QStringLiteral("A1"));
    MessageRecorder rec;
    bool stayedOpen = false;
    bool stillInserting = false;
    QString typedName;
    QString caption;
    whenShown(QStringLiteral("frm_TorzsSzakjel"), [&](QDialog* dlg) {
        auto* grid = dlg->findChild<DBGrid*>(QStringLiteral("DBGrid1"));
        whenShown(QStringLiteral("frm_TorzsSzakjel_Szerkeszt"), [&](QDialog* ed) {
            caption = ed->windowTitle();
            auto* codeEdit = ed->findChild<QLineEdit*>(QStringLiteral("DBEdit1"));
            auto* nameEdit = ed->findChild<QLineEdit*>(QStringLiteral("DBEdit2"));
            QVERIFY(codeEdit->font().bold());
            QCOMPARE(codeEdit->maxLength(), 10);
            codeEdit->setFocus();
            typeText(codeEdit, code);
            nameEdit->setFocus();
            typeText(nameEdit, QStringLiteral("Művészet"));
            auto* ok = ed->findChild<QPushButton*>(QStringLiteral("btnOK"));
            QTest::mouseClick(ok, Qt::LeftButton);
            stayedOpen = ed->isVisible();
            stillInserting = asList(dlg)->Tbl->state() == Engine::Table::State::Insert;
            typedName = nameEdit->text();
            QVERIFY(codeEdit->hasFocus());
            QCOMPARE(codeEdit->text(), code);
            codeEdit->selectAll();
            typeText(codeEdit, QStringLiteral("M7"));
            QTest::mouseClick(ok, Qt::LeftButton);
        });
        QTest::keyClick(grid, Qt::Key_Insert);
        QCOMPARE(columnTexts(grid), (QStringList{"A1", "M7"}));
        QCOMPARE(asList(dlg)->currentName(), QStringLiteral("Művészet"));
        dlg->reject();
    });
    QString description;
    ChooseSzakjel(QString(), description);
    QCOMPARE(caption, QStringLiteral("Szakjel szerkesztés"));
    QVERIFY(stayedOpen);
    QVERIFY(stillInserting);
    QCOMPARE(typedName, QStringLiteral("Művészet"));
    QCOMPARE(rec.count(MsgKind::Error), 1);
    const QString msg = rec.records.first().text;
    QVERIFY2(msg.startsWith(QStringLiteral("Hiányos, vagy hibás adatmegadás\n")), qPrintable(msg));
    const QString detail = msg.section(QLatin1Char('\n'), 1);
    QVERIFY(!detail.isEmpty());
    if (!reason.isEmpty()) QCOMPARE(detail, reason);
    QCOMPARE(count(QStringLiteral("SELECT COUNT(*) FROM szakjel")), 2);
}

void TestMasterData::storedBounds()
{
    IniWriteInt(QStringLiteral("frm_TorzsSorozat"), QStringLiteral("Left"), 1500);
    IniWriteInt(QStringLiteral("frm_TorzsSorozat"), QStringLiteral("Top"), 40);
    IniWriteInt(QStringLiteral("frm_TorzsSorozat"), QStringLiteral("Width"), 500);
    IniWriteInt(QStringLiteral("frm_TorzsSorozat"), QStringLiteral("Height"), 450);
    Beall.FontSize = 14;
    QRect geometry;
    int editFont = 0;
    int gridWidth = 0, columnWidth = 0;
    whenShown(QStringLiteral("frm_TorzsSorozat"), [&](QDialog* dlg) {
        geometry = QRect(dlg->pos(), dlg->size());
        editFont = dlg->findChild<QLineEdit*>(QStringLiteral("Edit1"))->font().pointSize();
        dlg->resize(600, 500);
        auto* grid = dlg->findChild<DBGrid*>(QStringLiteral("DBGrid1"));
        QTRY_COMPARE(dlg->width(), 600);
        gridWidth = grid->width();
        columnWidth = grid->columnWidth(0);
        dlg->reject();
    });
    QString name;
    ChooseSorozat(-1, name);
    QCOMPARE(geometry, QRect(0, 40, 500, 450)); // a left edge beyond the work area comes back to 0
    QCOMPARE(editFont, 14);
    QCOMPARE(columnWidth, gridWidth - 40);
    QCOMPARE(IniReadInt(QStringLiteral("frm_TorzsSorozat"), QStringLiteral("Width"), -1), 600);
    QCOMPARE(IniReadInt(QStringLiteral("frm_TorzsSorozat"), QStringLiteral("Height"), -1), 500);
}

void TestMasterData::hooks()
{
    struct Call
    {
        QString table;
        int start;
        int tip;
        QString caption;
    };
    QList<Call> calls;
    std::optional<std::pair<QVariant, QString>> answer =
        std::make_pair(QVariant(12), QStringLiteral("Válasz"));
    setChooserHook([&](const QString& table, int start, int tip, const QString& caption) {
        calls.append({table, start, tip, caption});
        return answer;
    });
    QString name = QStringLiteral("régi");
    QCOMPARE(ChooseKiado(3, 2, QStringLiteral("Kiadó"), name), 12);
    QCOMPARE(name, QStringLiteral("Válasz"));
    QCOMPARE(ChooseSzerzo(-1, 1, QStringLiteral("Szerző")), QStringLiteral("Válasz"));
    answer = std::make_pair(QVariant(QStringLiteral("Z9")), QStringLiteral("Zene"));
    QString description;
    QCOMPARE(ChooseSzakjel(QStringLiteral("K1"), description), QStringLiteral("Z9"));
    QCOMPARE(description, QStringLiteral("Zene"));
    answer.reset();
    name = QStringLiteral("régi");
    QCOMPARE(ChoosePolc(4, name), -1);
    QCOMPARE(name, QStringLiteral("régi"));

    QCOMPARE(calls.size(), 4);
    QCOMPARE(calls[0].table, QStringLiteral("kiado"));
    QCOMPARE(calls[0].start, 3);
    QCOMPARE(calls[0].tip, 2);
    QCOMPARE(calls[0].caption, QStringLiteral("Kiadó"));
    QCOMPARE(calls[1].table, QStringLiteral("szerzo"));
    QCOMPARE(calls[2].table, QStringLiteral("szakjel"));
    QCOMPARE(calls[2].caption, QStringLiteral("K1"));
    QCOMPARE(calls[2].tip, -1);
    QCOMPARE(calls[3].table, QStringLiteral("polc"));
    QCOMPARE(calls[3].start, 4);
    QCOMPARE(calls[3].tip, -1);

    setMasterLinesHook([](const QString& initial) { return initial + QStringLiteral("sor"); });
    QCOMPARE(AskMasterLines(), QStringLiteral("sor"));
}

QTEST_MAIN(TestMasterData)
#include "tst_masterdata.moc"
