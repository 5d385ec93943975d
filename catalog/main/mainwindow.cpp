#include "mainwindow.h"

#include "beall.h"
#include "convert.h"
#include "database.h"
#include "dberror.h"
#include "dbgrid.h"
#include "editors.h"
#include "fieldlink.h"
#include "folders.h"
#include "formpos.h"
#include "formutil.h"
#include "kindviews.h"
#include "lentdelegate.h"
#include "messages.h"
#include "numbering.h"
#include "schema.h"
#include "settingsfile.h"

#include <QAction>
#include <QActionGroup>
#include <QApplication>
#include <QCloseEvent>
#include <QDate>
#include <QDir>
#include <QFileInfo>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QLabel>
#include <QLineEdit>
#include <QMenu>
#include <QMenuBar>
#include <QStatusBar>
#include <QStatusTipEvent>
#include <QTabBar>
#include <QToolBar>
#include <QToolButton>
#include <QToolTip>
#include <QVBoxLayout>
#include <QWheelEvent>

#include <cmath>

namespace {

constexpr int kDesignWidth = 968;
constexpr int kDesignHeight = 762;
constexpr int kNoTab = 9; // LastAz slot used before any tab is selected

QString homeData() { return HomeDir() + QStringLiteral("/Data"); }
QString homeHtml() { return HomeDir() + QStringLiteral("/Html"); }

bool hasParadoxTables(const QString& folder)
{
    const QStringList found = QDir(folder).entryList({QStringLiteral("*.db"), QStringLiteral("*.DB")}, QDir::Files);
    return std::any_of(found.begin(), found.end(),
                       [](const QString& f) { return f.compare(QLatin1String("konyv.db"), Qt::CaseInsensitive) == 0; });
}

const QString kOpenFailed = QStringLiteral("Adatbázis megnyitása sikertelen");

} // namespace

// ---------------------------------------------------------------- connection

void TDatabase::Open()
{
    const QString folder = path();
    Engine::Database::open(DatabaseName, folder);
}

void TDatabase::Close() { Engine::Database::close(DatabaseName); }

bool TDatabase::Connected() const { return Engine::Database::isOpen(DatabaseName); }

QString TDatabase::path() const
{
    for (const QString& p : Params)
        if (p.startsWith(QLatin1String("PATH="), Qt::CaseInsensitive))
            return p.mid(5);
    return QString();
}

// ---------------------------------------------------------------- creation

Tfrm_Main::Tfrm_Main(QWidget* parent) : QMainWindow(parent)
{
    setObjectName(QStringLiteral("frm_Main"));
    setWindowTitle(QStringLiteral("Vemla Lerovani"));
    resize(kDesignWidth, kDesignHeight);
    m_created = FormCreate();
}

Tfrm_Main::~Tfrm_Main()
{
    if (m_created && !m_closed)
        FormClose();
    qApp->removeEventFilter(this);
}

bool Tfrm_Main::FormCreate()
{
    Shown = false;
    ReadSettings();
    Beall.NewItemStarted = false;

    const QFileInfo html(Beall.HtmlPath);
    if (!QDir().mkpath(Beall.HtmlPath) || !(html.exists() && html.isDir() && html.isWritable()))
        ShowError(QStringLiteral("Nem beállítható HTML mappa"), this);

    try {
        openDatabase();
    } catch (const Engine::DbError& e) {
        ShowError(kOpenFailed + QStringLiteral("\n\n") + e.message(), this);
        return false;
    }
    SetQueryIntConnection(Database1.DatabaseName);

    for (int i = 0; i < 9; ++i) {
        m_sortField[i] = QStringLiteral("azonosito");
        m_sortCaption[i] = QStringLiteral("Azonosító");
    }
    createActions();
    createViews();
    createStatusBar();
    createMenus();
    createToolBars();
    qApp->installEventFilter(this);
    QPalette tip = QToolTip::palette();
    tip.setColor(QPalette::ToolTipBase, QColor(255, 218, 181));
    QToolTip::setPalette(tip);

    try {
        openTables();
        BuildTabs();
        ApplyFontSize();
        for (int p = 0; p < 9; ++p)
            SetSortOrder(QStringLiteral("sorszam"), QStringLiteral("sorszám"), p);
    } catch (const Engine::DbError& e) {
        ShowError(kOpenFailed + QStringLiteral("\n\n") + e.message() +
                      QStringLiteral("\n\nFuttassa az adatbázis karbantartó programot (Lerovani_Upd): "
                                     "Verzióváltás, majd Karbantartás."),
                  this);
        Tbl->close();
        Database1.Close();
        m_folderUse.release();
        return false;
    }
    return true;
}

void Tfrm_Main::openDatabase()
{
    Database1.Close();
    const QString folder = Beall.DatabasePath;
    if (!QFileInfo::exists(Engine::Database::filePath(folder))) {
        if (hasParadoxTables(folder))
            throw Engine::DbError(
                QStringLiteral("A mappában régi formátumú (Paradox) adatbázis van: %1\nAlakítsa át az adatbázis "
                               "karbantartó program (Lerovani_Upd) Verzióváltás gombjával.")
                    .arg(QDir::toNativeSeparators(folder)));
        // A fresh start has no database yet: make one, empty.
        Schema::createDatabase(folder);
    }
    Database1.Params = {QStringLiteral("PATH=") + folder, QStringLiteral("DEFAULT DRIVER=PARADOX"),
                        QStringLiteral("ENABLE BCD=FALSE"), QStringLiteral("LANGDRIVER=Pdox ANSI Hun. DC")};
    Database1.Open();
    m_folderUse.acquire(folder);
}

void Tfrm_Main::openTables()
{
    Tbl = new Engine::Table(Database1.DatabaseName, this);
    Tbl->setObjectName(QStringLiteral("Tbl"));
    Tbl->setTableName(QStringLiteral("Konyv.DB"));
    Tbl->setFieldDefs(Schema::boundKonyvFields());
    Tbl->addCalcField(QStringLiteral("polconstr"), Engine::FieldType::String, 10);
    Tbl->setCalcFields([](Engine::RowRef r) {
        const QVariant p = r.value(QStringLiteral("polcon"));
        r.setValue(QStringLiteral("polconstr"),
                   IfThenVar(!VarIsNull(p) && p.toBool(), QStringLiteral("Igen"), QStringLiteral("Nem")));
    });
    Tbl->setBeforePost([this] { TblBeforePost(); });
    Tbl->setAfterPost([this] { TblAfterPost(); });
    Tbl->setIndexFieldNames(QStringLiteral("sorszam"));
    Tbl->open();
    connect(Tbl, &Engine::Table::afterScroll, this, &Tfrm_Main::TblAfterScroll);

    TblBeallit = new Engine::Table(Database1.DatabaseName, this);
    TblBeallit->setObjectName(QStringLiteral("TblBeallit"));
    TblBeallit->setTableName(QStringLiteral("beallit.db"));
    TblBeallit->setIndexFieldNames(QStringLiteral("beallit"));

    TblL = new Engine::Table(Database1.DatabaseName, this);
    TblL->setObjectName(QStringLiteral("TblL"));
    TblL->setTableName(QStringLiteral("konyv.DB"));
    TblL->setFieldDefs({{QStringLiteral("azonosito"), Engine::FieldType::String, 10}});

    for (int i = 0; i < m_grids.size(); ++i) {
        m_grids[i]->setTable(Tbl, kindViews()[i].columns);
        m_grids[i]->setItemDelegate(new LentRowDelegate(m_grids[i]));
    }
    for (const KindView& k : kindViews()) {
        FieldLink::bind(findChild<QLabel*>(k.detail + QStringLiteral("_cim")), Tbl, QStringLiteral("cim"));
        for (const DetailField& d : k.details)
            for (const QString& f : d.fields)
                FieldLink::bind(findChild<QLabel*>(k.detail + QLatin1Char('_') + f), Tbl, f,
                                {false, true, f == QLatin1String("datum") ? QStringLiteral("yyyy.MM.dd") : QString()});
    }
}

// ---------------------------------------------------------------- settings

void Tfrm_Main::ReadSettings()
{
    Beall.TabOf.fill(99);
    Beall.FullScreen = IniReadBool(QStringLiteral("Defaults"), QStringLiteral("FullScreen"), true);
    for (int i = 0; i < 9; ++i)
        Beall.VisibleTabs[i] = IniReadBool(QStringLiteral("VisibleTabs"), QStringLiteral("Tab%1").arg(i), true);
    // Read as the file has them; the window's place is taken from the frm_Main section.
    IniReadInt(QStringLiteral("Defaults"), QStringLiteral("Left"), x());
    IniReadInt(QStringLiteral("Defaults"), QStringLiteral("Top"), y());
    IniReadInt(QStringLiteral("Defaults"), QStringLiteral("Width"), width());
    IniReadInt(QStringLiteral("Defaults"), QStringLiteral("Height"), height());
    Beall.DatabasePath = IniReadString(QStringLiteral("Database"), QStringLiteral("Path"), homeData());
    if (!QFileInfo(Beall.DatabasePath).isDir()) {
        const bool wasDefault = QDir::cleanPath(Beall.DatabasePath) == QDir::cleanPath(homeData());
        if (!wasDefault)
            ShowError(QStringLiteral("Nem létező adatbázis útvonal, alapértelmezés beállítva."), this);
        Beall.DatabasePath = homeData();
        QDir().mkpath(Beall.DatabasePath);
    }
    Beall.FontSize = IniReadInt(QStringLiteral("Defaults"), QStringLiteral("FontSize"), 9);
    Beall.HtmlPath = IniReadString(QStringLiteral("Defaults"), QStringLiteral("HtmlPath"), homeHtml());
    if (Beall.HtmlPath.isEmpty() || !QFileInfo(Beall.HtmlPath).isDir())
        Beall.HtmlPath = homeHtml();
}

void Tfrm_Main::WriteSettings()
{
    bool ok = IniWriteBool(QStringLiteral("Defaults"), QStringLiteral("FullScreen"), Beall.FullScreen);
    for (int i = 0; i < 9; ++i)
        ok = IniWriteBool(QStringLiteral("VisibleTabs"), QStringLiteral("Tab%1").arg(i), Beall.VisibleTabs[i]) && ok;
    ok = IniWriteInt(QStringLiteral("Defaults"), QStringLiteral("Left"), x()) && ok;
    ok = IniWriteInt(QStringLiteral("Defaults"), QStringLiteral("Top"), y()) && ok;
    ok = IniWriteInt(QStringLiteral("Defaults"), QStringLiteral("Width"), width()) && ok;
    ok = IniWriteInt(QStringLiteral("Defaults"), QStringLiteral("Height"), height()) && ok;
    ok = IniWriteString(QStringLiteral("Database"), QStringLiteral("Path"), Beall.DatabasePath) && ok;
    ok = IniWriteInt(QStringLiteral("Defaults"), QStringLiteral("FontSize"), Beall.FontSize) && ok;
    ok = IniWriteString(QStringLiteral("Defaults"), QStringLiteral("HtmlPath"), Beall.HtmlPath) && ok;
    if (!ok)
        ShowError(IniWriteErrorText(), this);
    writeCounterBack();
}

void Tfrm_Main::writeCounterBack()
{
    try {
        if (!Database1.Connected())
            Database1.Open();
        TblBeallit->open();
        if (!TblBeallit->isEmpty() && VarToIntDef(TblBeallit->value(QStringLiteral("leltszam")), 0) < Beall.NextLeltszam &&
            Beall.NewItemStarted) {
            TblBeallit->edit();
            TblBeallit->setValue(QStringLiteral("leltszam"), Beall.NextLeltszam);
            TblBeallit->post();
        }
        TblBeallit->close();
        Database1.Close();
    } catch (const Engine::DbError& e) {
        TblBeallit->close();
        Database1.Close();
        ShowError(e.message(), this);
    }
}

// ---------------------------------------------------------------- show and close

void Tfrm_Main::showEvent(QShowEvent* e)
{
    QMainWindow::showEvent(e);
    if (m_firstShow) {
        m_firstShow = false;
        FormShow();
    }
}

void Tfrm_Main::FormShow()
{
    for (DBGrid* g : m_grids)
        if (g->tableModel())
            g->tableModel()->setColumnColor(0, SortColumnColor());
    SetupMenuDrawing(this);
    move(0, 0);
    const QRect wa = WorkArea();
    if (Beall.FullScreen) {
        setGeometry(0, 0, wa.x() + wa.width(), wa.y() + wa.height());
    } else {
        const QRect r = LoadFormBounds(objectName(), 10, 10, kDesignWidth, kDesignHeight);
        setGeometry(r);
    }
    ::ApplyFontSize(this, Beall.FontSize);
    QFont f = Edit1->font();
    f.setPointSize(Beall.FontSize);
    Edit1->setFont(f);
    Shown = true;
    if (Edit1->isVisible())
        Edit1->setFocus();
    FormResize();
}

void Tfrm_Main::closeEvent(QCloseEvent* e)
{
    if (!m_closed)
        FormClose();
    e->accept();
}

void Tfrm_Main::FormClose()
{
    m_closed = true;
    if (Tbl)
        Tbl->close();
    Database1.Close();
    SaveFormBounds(objectName(), x(), y(), width(), height());
    WriteSettings();
    m_folderUse.release();
}

// ---------------------------------------------------------------- actions and menus

void Tfrm_Main::addAction(const QString& name, const QString& caption, const QKeySequence& key, const QString& hint,
                          void (Tfrm_Main::*slot)())
{
    auto* a = new QAction(caption, this);
    a->setObjectName(name);
    if (!key.isEmpty())
        a->setShortcut(key);
    a->setStatusTip(hint.isEmpty() ? caption : hint);
    a->setToolTip(hint.isEmpty() ? caption : hint);
    a->setShortcutContext(Qt::WindowShortcut);
    if (slot)
        connect(a, &QAction::triggered, this, [this, slot] { guarded([this, slot] { (this->*slot)(); }); });
    else
        a->setEnabled(false); // its window comes with a later version
    m_actions.insert(name, a);
    QMainWindow::addAction(a);
}

void Tfrm_Main::createActions()
{
    using K = QKeySequence;
    addAction(QStringLiteral("aUj"), QStringLiteral("Új sor"), K(Qt::Key_Insert), {}, &Tfrm_Main::aUjExecute);
    addAction(QStringLiteral("aSzerkeszt"), QStringLiteral("Szerkeszt"), K(Qt::Key_F2), {}, &Tfrm_Main::aSzerkesztExecute);
    addAction(QStringLiteral("aTorol"), QStringLiteral("Sor törlése"), K(Qt::CTRL | Qt::Key_Delete), {},
              &Tfrm_Main::aTorolExecute);
    addAction(QStringLiteral("aCsatolt"), QStringLiteral("Csatolt dokumentumok, képek"), K(Qt::Key_F3),
              QStringLiteral("Képek, egyebek"), &Tfrm_Main::aCsatoltExecute);
    addAction(QStringLiteral("aKilep"), QStringLiteral("Kilépés a programból"), {}, {}, &Tfrm_Main::aKilepExecute);
    addAction(QStringLiteral("aNyomtat"), QStringLiteral("Nyomtat"), K(Qt::CTRL | Qt::Key_P),
              QStringLiteral("Egyszerű lista nyomtatás"));
    addAction(QStringLiteral("aReszletes"), QStringLiteral("Részletes lista nyomtatás"));
    addAction(QStringLiteral("aAktualis"), QStringLiteral("Aktuális tétel adatlapja"));
    addAction(QStringLiteral("aNyomCsop"), QStringLiteral("Csoportosított lista"), K(Qt::CTRL | Qt::SHIFT | Qt::Key_P));
    addAction(QStringLiteral("aNyomLejart"), QStringLiteral("Kölcsönadott tételek"));
    addAction(QStringLiteral("aBeszerzesek"), QStringLiteral("Beszerzések időszakra"));
    addAction(QStringLiteral("aTetelStat"), QStringLiteral("Tételek statisztika"));
    addAction(QStringLiteral("aKeresReszlet"), QStringLiteral("Keresés"), K(Qt::CTRL | Qt::Key_T),
              QStringLiteral("Részletes keresés"));
    addAction(QStringLiteral("aLista"), QStringLiteral("Lista összeállítás"), K(Qt::Key_F4));
    addAction(QStringLiteral("aExcelbe"), QStringLiteral("Excelbe..."), K(Qt::CTRL | Qt::Key_E));
    addAction(QStringLiteral("aHtml"), QStringLiteral("Html export"), K(Qt::CTRL | Qt::Key_H));
    addAction(QStringLiteral("aDymo"), QStringLiteral("Dymo címke"), {}, QStringLiteral("Etikett nyomtatás"));
    addAction(QStringLiteral("aSQL"), QStringLiteral("Szabad lekérdezés (SQL)"));
    addAction(QStringLiteral("aBeallit"), QStringLiteral("Beállítások"));
    addAction(QStringLiteral("aFontos"), QStringLiteral("Fontos információk"));
    addAction(QStringLiteral("aNevjegy"), QStringLiteral("Névjegy"), K(Qt::ALT | Qt::Key_F1));
    addAction(QStringLiteral("aKolcsonad"), QStringLiteral("Kölcsönad"), K(Qt::Key_F5), {},
              &Tfrm_Main::aKolcsonadExecute);
    addAction(QStringLiteral("aVisszavesz"), QStringLiteral("Visszavesz"), K(Qt::Key_F6), {},
              &Tfrm_Main::aVisszaveszExecute);
    addAction(QStringLiteral("aSugo"), QStringLiteral("Súgó"), K(Qt::Key_F1));
    addAction(QStringLiteral("aHonlap"), QStringLiteral("Ferolin honlapja"));
    addAction(QStringLiteral("aLevel"), QStringLiteral("Levélküldés Ferolinnak"));
    addAction(QStringLiteral("aUjdonsag"), QStringLiteral("Újdonságok az Interneten"));
    addAction(QStringLiteral("aKarbantart"), QStringLiteral("Adatbázis karbantartás"));
    addAction(QStringLiteral("aAdatMent"), QStringLiteral("Adatbázis biztonsági mentése"));
    addAction(QStringLiteral("aBetuNovel"), QStringLiteral("Betűméret növelése"), K(Qt::CTRL | Qt::Key_F10), {},
              &Tfrm_Main::aBetuNovelExecute);
    addAction(QStringLiteral("aBetuCsokkent"), QStringLiteral("Betűméret csökkentése"), K(Qt::SHIFT | Qt::Key_F10), {},
              &Tfrm_Main::aBetuCsokkentExecute);

    m_kindGroup = new QActionGroup(this);
    m_kindGroup->setExclusive(true);
    for (const KindView& k : kindViews()) {
        auto* a = new QAction(k.commandCaption, this);
        a->setObjectName(k.command);
        a->setShortcut(k.shortcut);
        a->setStatusTip(k.commandCaption);
        a->setToolTip(k.commandCaption);
        a->setCheckable(true);
        a->setIcon(QIcon::fromTheme(k.iconName));
        // Until the tabs are built only the books' command is there; sheet music stays greyed when hidden.
        a->setEnabled(k.tipus == 1);
        a->setVisible(k.tipus == 1 || k.tipus == 9);
        m_kindGroup->addAction(a);
        const int tipus = k.tipus;
        connect(a, &QAction::triggered, this, [this, tipus] {
            if (Beall.TabOf[tipus - 1] != 99)
                guarded([this, tipus] { TabSet1->setCurrentIndex(Beall.TabOf[tipus - 1]); });
        });
        m_actions.insert(k.command, a);
        QMainWindow::addAction(a);
    }

    const QList<std::pair<const char*, const char*>> icons = {
        {"aUj", "document-new"},           {"aSzerkeszt", "document-edit"},   {"aTorol", "edit-delete"},
        {"aCsatolt", "mail-attachment"},   {"aKilep", "application-exit"},    {"aNyomtat", "document-print"},
        {"aKeresReszlet", "edit-find"},    {"aBetuNovel", "zoom-in"},         {"aBetuCsokkent", "zoom-out"},
        {"aBeallit", "preferences-system"}, {"aSugo", "help-browser"},        {"aFontos", "dialog-information"},
        {"aHonlap", "go-home"},            {"aUjdonsag", "emblem-new"},       {"aKolcsonad", "go-next"},
        {"aVisszavesz", "go-previous"},    {"aDymo", "printer"},              {"aExcelbe", "x-office-spreadsheet"}};
    for (const auto& [name, icon] : icons)
        m_actions.value(QString::fromLatin1(name))->setIcon(QIcon::fromTheme(QString::fromLatin1(icon)));
}

void Tfrm_Main::createMenus()
{
    auto add = [this](QMenu* m, const QStringList& names) {
        for (const QString& n : names) {
            if (n == QLatin1String("-"))
                m->addSeparator();
            else
                m->addAction(m_actions.value(n));
        }
    };
    QMenuBar* bar = menuBar();
    bar->setObjectName(QStringLiteral("MainMenu1"));
    add(bar->addMenu(QStringLiteral("Rekordok")),
        {"aUj", "aSzerkeszt", "aTorol", "-", "aCsatolt", "aLista", "-", "aNyomtat", "aExcelbe", "-", "aKilep"});
    add(bar->addMenu(QStringLiteral("Kölcsön")), {"aKolcsonad", "aVisszavesz"});
    add(bar->addMenu(QStringLiteral("Nézet")), {"aBetuNovel", "aBetuCsokkent", "-", "aKeresReszlet"});
    add(bar->addMenu(QStringLiteral("Nyomtatás")), {"aNyomtat", "aReszletes", "aAktualis", "aNyomCsop", "-",
                                                    "aNyomLejart", "aBeszerzesek", "-", "aTetelStat"});
    add(bar->addMenu(QStringLiteral("Rendszer")), {"aKarbantart", "aAdatMent", "-", "aSQL", "-", "aBeallit"});
    QStringList kinds;
    for (const KindView& k : kindViews())
        kinds << k.command;
    add(bar->addMenu(QStringLiteral("Ablak")), kinds);
    add(bar->addMenu(QStringLiteral("Súgó")),
        {"aSugo", "-", "aFontos", "-", "aHonlap", "aLevel", "aUjdonsag", "-", "aNevjegy"});

    PopupMenu1 = new QMenu(this);
    PopupMenu1->setObjectName(QStringLiteral("PopupMenu1"));
    add(PopupMenu1, {"aUj", "aSzerkeszt", "aTorol", "-", "aKeresReszlet", "-", "aNyomtat", "aExcelbe", "-",
                     "aKolcsonad", "aVisszavesz"});
    PopupMenu2 = new QMenu(this);
    PopupMenu2->setObjectName(QStringLiteral("PopupMenu2"));
    add(PopupMenu2, kinds);
    PopupMenu3 = new QMenu(this);
    PopupMenu3->setObjectName(QStringLiteral("PopupMenu3"));
    add(PopupMenu3, {"aNyomtat", "aReszletes", "aAktualis", "aNyomCsop", "-", "aExcelbe", "aHtml"});
    PopupMenu4 = new QMenu(this);
    PopupMenu4->setObjectName(QStringLiteral("PopupMenu4"));
    add(PopupMenu4, {"aKeresReszlet", "-", "aCsatolt", "aLista"});

    for (DBGrid* g : m_grids) {
        g->setContextMenuPolicy(Qt::CustomContextMenu);
        connect(g, &QWidget::customContextMenuRequested, this,
                [this, g](const QPoint& p) { PopupMenu1->popup(g->viewport()->mapToGlobal(p)); });
    }
    TabSet1->setContextMenuPolicy(Qt::CustomContextMenu);
    connect(TabSet1, &QWidget::customContextMenuRequested, this,
            [this](const QPoint& p) { PopupMenu2->popup(TabSet1->mapToGlobal(p)); });
}

void Tfrm_Main::createToolBars()
{
    auto* row1 = addToolBar(QStringLiteral("Nézetek"));
    row1->setObjectName(QStringLiteral("ToolBar1"));
    row1->setMovable(false);
    row1->setIconSize(QSize(16, 16));
    for (const KindView& k : kindViews())
        row1->addAction(m_actions.value(k.command));
    row1->addSeparator();
    row1->addActions({m_actions.value(QStringLiteral("aBetuNovel")), m_actions.value(QStringLiteral("aBetuCsokkent"))});
    row1->addSeparator();
    row1->addAction(m_actions.value(QStringLiteral("aBeallit")));
    row1->addSeparator();
    for (const char* n : {"aSugo", "aFontos", "aHonlap", "aUjdonsag"})
        row1->addAction(m_actions.value(QString::fromLatin1(n)));
    row1->addSeparator();
    row1->addAction(m_actions.value(QStringLiteral("aKilep")));

    addToolBarBreak();
    auto* row2 = addToolBar(QStringLiteral("Parancsok"));
    row2->setObjectName(QStringLiteral("ToolBar2"));
    row2->setMovable(false);
    row2->setToolButtonStyle(Qt::ToolButtonTextUnderIcon);
    row2->setIconSize(QSize(16, 16));
    QFont small = row2->font();
    small.setPointSize(7);
    auto button = [row2, small](QAction* a) {
        row2->addAction(a);
        if (auto* b = qobject_cast<QToolButton*>(row2->widgetForAction(a))) {
            b->setFixedSize(63, 36);
            b->setFont(small);
        }
    };
    for (const char* n : {"aUj", "aSzerkeszt", "aTorol"})
        button(m_actions.value(QString::fromLatin1(n)));
    auto menuButton = [row2, small](const QString& name, const QString& caption, const QString& hint, QMenu* menu,
                             const QString& icon) {
        auto* b = new QToolButton(row2);
        b->setObjectName(name);
        b->setText(caption);
        b->setToolTip(hint);
        b->setStatusTip(hint);
        b->setIcon(QIcon::fromTheme(icon));
        b->setToolButtonStyle(Qt::ToolButtonTextUnderIcon);
        b->setFixedSize(63, 36);
        b->setFont(small);
        b->setMenu(menu);
        b->setPopupMode(QToolButton::InstantPopup);
        row2->addWidget(b);
    };
    menuButton(QStringLiteral("btnKereses"), QStringLiteral("Keresés"), QStringLiteral("Részletes keresés"), PopupMenu4,
               QStringLiteral("edit-find"));
    menuButton(QStringLiteral("btnNyomtat"), QStringLiteral("Nyomtat"), QStringLiteral("Egyszerű lista nyomtatás"),
               PopupMenu3, QStringLiteral("document-print"));
    button(m_actions.value(QStringLiteral("aKolcsonad")));
    button(m_actions.value(QStringLiteral("aVisszavesz")));
    button(m_actions.value(QStringLiteral("aDymo")));
}

// ---------------------------------------------------------------- views

void Tfrm_Main::createViews()
{
    auto* central = new QWidget(this);
    central->setObjectName(QStringLiteral("ClientArea"));
    auto* v = new QVBoxLayout(central);
    v->setContentsMargins(0, 0, 0, 0);
    v->setSpacing(0);

    auto* panel2 = new QWidget(central);
    panel2->setObjectName(QStringLiteral("Panel2"));
    panel2->setFixedHeight(33);
    auto* h = new QHBoxLayout(panel2);
    h->setContentsMargins(4, 4, 4, 4);
    Edit1 = new QLineEdit(panel2);
    Edit1->setObjectName(QStringLiteral("Edit1"));
    Edit1->setFixedWidth(121);
    Edit1->installEventFilter(this);
    connect(Edit1, &QLineEdit::textChanged, this, &Tfrm_Main::Edit1Change);
    m_tabCaption = new QLabel(panel2);
    m_tabCaption->setObjectName(QStringLiteral("lblTabCaption"));
    QFont bold(QStringLiteral("Arial"));
    bold.setPixelSize(15);
    bold.setBold(true);
    m_tabCaption->setFont(bold);
    m_tabCaption->setAlignment(Qt::AlignCenter);
    h->addWidget(Edit1);
    h->addWidget(m_tabCaption, 1);
    h->addSpacing(121);
    v->addWidget(panel2);

    QFont titleFont(QStringLiteral("Arial"));
    titleFont.setPixelSize(15);
    titleFont.setBold(true);
    for (const KindView& k : kindViews()) {
        auto* panel = new QWidget(central);
        panel->setObjectName(k.panel);
        auto* pv = new QVBoxLayout(panel);
        pv->setContentsMargins(0, 0, 0, 0);
        auto* grid = new DBGrid(panel);
        grid->setObjectName(k.grid);
        grid->setKeyPressHandler([this](QKeyEvent* e) { return DBGrid1KeyPress(e); });
        connect(grid, &DBGrid::titleClicked, this, [this, grid](int c) { DBGrid1TitleClick(grid, c); });
        connect(grid, &QAbstractItemView::doubleClicked, this, [this] {
            if (QAction* a = m_actions.value(QStringLiteral("aSzerkeszt")); a && a->isEnabled())
                a->trigger();
        });
        pv->addWidget(grid, 1);

        auto* detail = new QWidget(panel);
        detail->setObjectName(k.detail);
        auto* dl = new QGridLayout(detail);
        auto* title = new QLabel(detail);
        title->setObjectName(k.detail + QStringLiteral("_cim"));
        title->setFont(titleFont);
        dl->addWidget(title, 0, 0, 1, 4);
        int row = 1, col = 0;
        for (const DetailField& d : k.details) {
            auto* cap = new QLabel(d.caption, detail);
            cap->setEnabled(false); // greyed caption
            dl->addWidget(cap, row, col * 2);
            auto* values = new QWidget(detail);
            auto* vl = new QHBoxLayout(values);
            vl->setContentsMargins(0, 0, 0, 0);
            for (const QString& f : d.fields) {
                auto* val = new QLabel(values);
                val->setObjectName(k.detail + QLatin1Char('_') + f);
                val->setTextInteractionFlags(Qt::TextSelectableByMouse);
                vl->addWidget(val);
            }
            vl->addStretch();
            dl->addWidget(values, row, col * 2 + 1);
            if (++col == 2) {
                col = 0;
                ++row;
            }
        }
        dl->setColumnStretch(1, 1);
        dl->setColumnStretch(3, 1);
        pv->addWidget(detail);
        v->addWidget(panel, 1);
        panel->hide();
        panel->setEnabled(false);
        m_panels.append(panel);
        m_grids.append(grid);
    }
    setCentralWidget(central);
}

void Tfrm_Main::createStatusBar()
{
    QStatusBar* sb = statusBar();
    sb->setObjectName(QStringLiteral("StatusBar1"));
    sb->setSizeGripEnabled(false);
    const int widths[4] = {77, 225, 120, 100};
    for (int i = 0; i < 4; ++i) {
        auto* l = new QLabel(sb);
        l->setObjectName(QStringLiteral("StatusPanel%1").arg(i));
        l->setFixedWidth(widths[i]);
        l->setFrameShape(QFrame::StyledPanel);
        sb->addWidget(l);
        m_statusPanels.append(l);
    }
    TabSet1 = new QTabBar(sb);
    TabSet1->setObjectName(QStringLiteral("TabSet1"));
    TabSet1->setShape(QTabBar::RoundedSouth);
    TabSet1->setDrawBase(false);
    TabSet1->setExpanding(false);
    TabSet1->setDocumentMode(true);
    TabSet1->setGeometry(sb->width() - Beall.TabSetWidth - 15, 2, 15, 17);
    TabSet1->show();
    connect(TabSet1, &QTabBar::currentChanged, this, [this](int n) {
        if (n >= 0 && n != m_currentTab)
            guarded([this, n] { TabSet1Change(n); });
    });
}

QString Tfrm_Main::statusText(int panel) const { return m_statusPanels.value(panel) ? m_statusPanels[panel]->text() : QString(); }

DBGrid* Tfrm_Main::grid(int tipus) const { return m_grids.value(tipus - 1); }

int Tfrm_Main::kindAtTab(int tab) const
{
    for (int k = 1; k <= 9; ++k)
        if (Beall.TabOf[k - 1] != 99 && Beall.TabOf[k - 1] == tab)
            return k;
    return 0;
}

int Tfrm_Main::currentKind() const { return kindAtTab(m_currentTab); }

DBGrid* Tfrm_Main::currentGrid() const
{
    const int k = currentKind();
    return k ? m_grids.value(k - 1) : nullptr;
}

void Tfrm_Main::BuildTabs()
{
    Beall.TabSetWidth = 0;
    TblBeallit->open();
    Beall.NextLeltszam = VarToIntDef(TblBeallit->value(QStringLiteral("leltszam")), 0);
    Beall.LeltszamMaszk = VarToStrDef(TblBeallit->value(QStringLiteral("leltszammaszk")), QString());
    TblBeallit->close();

    const QSignalBlocker block(TabSet1);
    while (TabSet1->count() > 0)
        TabSet1->removeTab(0);
    // With every kind hidden there would be no view at all: show them all for this run.
    const bool none = std::none_of(Beall.VisibleTabs.begin(), Beall.VisibleTabs.end(), [](bool b) { return b; });
    int p = 0;
    for (const KindView& k : kindViews()) {
        if (!(none || Beall.VisibleTabs[k.tipus - 1]))
            continue;
        TabSet1->addTab(k.tabCaption);
        QAction* a = m_actions.value(k.command);
        a->setEnabled(true);
        a->setVisible(true);
        if (p == 0)
            a->setChecked(true);
        Beall.TabOf[k.tipus - 1] = p++;
        Beall.TabSetWidth += k.tabWidth;
    }
    if (!(none || Beall.VisibleTabs[0])) {
        m_actions.value(QStringLiteral("aKonyvek"))->setEnabled(false);
        m_actions.value(QStringLiteral("aKonyvek"))->setVisible(false);
    }
    m_currentTab = -1;
    TabSet1Change(0);
    TabSet1->setCurrentIndex(0);
    FormResize();
}

void Tfrm_Main::TabSet1Change(int n)
{
    const int previous = m_currentTab;
    const int kind = kindAtTab(n);
    if (!kind)
        return;
    // A view is switched whole or not at all: its index is checked before anything changes.
    const QString idx = QStringLiteral("idx_") + m_sortField[n];
    try {
        Tbl->indexFields(idx);
    } catch (const Engine::DbError&) {
        if (previous >= 0) {
            const QSignalBlocker b(TabSet1);
            TabSet1->setCurrentIndex(previous);
        }
        throw;
    }

    Beall.LastAz[previous >= 0 ? previous : kNoTab] = VarToIntDef(Tbl->value(QStringLiteral("az")), 0);
    const QString oldFilter = Tbl->filter();
    Tbl->beginUpdate();
    try {
        for (QWidget* p : m_panels) {
            p->setEnabled(false);
            p->hide();
        }
        m_tabCaption->setText(TabSet1->tabText(n));
        const KindView& kv = kindViews()[kind - 1];
        QWidget* panel = m_panels[kind - 1];
        panel->setEnabled(true);
        panel->show();
        panel->raise();
        Tbl->setFilter(kindFilter(kind));
        m_actions.value(kv.command)->setChecked(true);
        m_currentTab = n;
        if (Shown)
            Edit1->setFocus();
        Tbl->setFiltered(true);
        // The view's own order first, so that without a remembered item its first row in that order is current.
        Tbl->setIndexName(idx);
        Tbl->locate(QStringLiteral("az"), Beall.LastAz[n]);
        SetSortOrder(m_sortField[n], m_sortCaption[n], n);
    } catch (...) {
        m_currentTab = previous;
        Tbl->setFilter(oldFilter);
        Tbl->endUpdate();
        throw;
    }
    Tbl->endUpdate();
    {
        const QSignalBlocker b(TabSet1);
        TabSet1->setCurrentIndex(n);
    }
}

void Tfrm_Main::SetSortOrder(const QString& field, const QString& caption, int p)
{
    if (p < 0)
        return;
    const int kind = kindAtTab(p);
    const bool current = p == m_currentTab;
    const int az = current ? VarToIntDef(Tbl->value(QStringLiteral("az")), 0) : 0;
    // The index belongs to the one cursor shared by all views; only the view on screen may change it.
    if (current)
        Tbl->setIndexName(QStringLiteral("idx_") + field);
    if (kind) {
        // Status panel 2 tells the order of the view on screen.
        if (current)
            m_statusPanels[2]->setText(QStringLiteral("Sorrend: ") + caption + (kind == 5 ? QStringLiteral(">") : QString()));
        HighlightSortColumn(m_grids[kind - 1], field);
    }
    m_sortField[p] = field;
    m_sortCaption[p] = caption;
    if (current)
        Tbl->locate(QStringLiteral("az"), az);
}

void Tfrm_Main::DBGrid1TitleClick(DBGrid* grid, int column)
{
    if (!grid->tableModel() || m_currentTab < 0)
        return;
    const Engine::Column& c = grid->tableModel()->columns().value(column);
    guarded([&] { SetSortOrder(c.field, c.title, m_currentTab); });
}

void Tfrm_Main::Edit1Change(const QString& text)
{
    if (text.isEmpty() || m_currentTab < 0 || !Tbl || !Tbl->isActive())
        return;
    try {
        const QString field = m_sortField[m_currentTab];
        const auto type = Tbl->field(field).type;
        if (type == Engine::FieldType::String || type == Engine::FieldType::Memo)
            Tbl->locate(field, text, {true, true});
        else
            Tbl->locate(field, text);
    } catch (const Engine::DbError&) {
        // A text that cannot be compared with the column is ignored.
    }
}

bool Tfrm_Main::Edit1KeyDown(QKeyEvent* e)
{
    switch (e->key()) {
    case Qt::Key_PageUp:
    case Qt::Key_PageDown:
    case Qt::Key_Up:
    case Qt::Key_Down:
        if (DBGrid* g = currentGrid())
            g->setFocus();
        return true;
    default: return false;
    }
}

bool Tfrm_Main::DBGrid1KeyPress(QKeyEvent* e)
{
    if (e->modifiers() & (Qt::ControlModifier | Qt::AltModifier))
        return false;
    const QString t = e->text().toLower();
    if (t.size() != 1)
        return false;
    const QChar c = t[0];
    static const QString hungarian = QStringLiteral("áéíóöőúüű");
    if (!((c >= u'0' && c <= u'9') || (c >= u'a' && c <= u'z') || hungarian.contains(c)))
        return false;
    Edit1->setFocus();
    Edit1->setText(QString(c));
    Edit1->setCursorPosition(1);
    return true;
}

void Tfrm_Main::TblAfterScroll()
{
    if (m_statusPanels.isEmpty() || !Tbl->isActive())
        return;
    m_statusPanels[0]->setText(QString::asprintf("%d / %d", Tbl->recordCount(), Tbl->recNo()));
}

void Tfrm_Main::ShowHintText(const QString& hint)
{
    if (m_statusPanels.size() > 1)
        m_statusPanels[1]->setText(hint.isEmpty() ? QString() : QStringLiteral("  ") + hint);
}

bool Tfrm_Main::event(QEvent* e)
{
    if (e->type() == QEvent::StatusTip) {
        ShowHintText(static_cast<QStatusTipEvent*>(e)->tip());
        return true;
    }
    return QMainWindow::event(e);
}

bool Tfrm_Main::eventFilter(QObject* watched, QEvent* event)
{
    if (watched == Edit1 && event->type() == QEvent::KeyPress)
        return Edit1KeyDown(static_cast<QKeyEvent*>(event));
    if (event->type() == QEvent::Wheel) {
        // One wheel notch moves the current row by one, as the arrow keys do.
        auto* we = static_cast<QWheelEvent*>(event);
        QWidget* target = QApplication::focusWidget();
        if (!target)
            target = qobject_cast<QWidget*>(watched);
        if (target && target->window() == this) {
            const int key = we->angleDelta().y() <= 0 ? Qt::Key_Down : Qt::Key_Up;
            QKeyEvent press(QEvent::KeyPress, key, Qt::NoModifier);
            QApplication::sendEvent(target, &press);
            return true;
        }
    }
    return QMainWindow::eventFilter(watched, event);
}

void Tfrm_Main::resizeEvent(QResizeEvent* e)
{
    QMainWindow::resizeEvent(e);
    FormResize();
}

void Tfrm_Main::FormResize()
{
    if (!TabSet1)
        return;
    QStatusBar* sb = statusBar();
    // The tabs are as wide as their captions in this font, which can be more than the sum of widths.
    const int tabs = std::max(Beall.TabSetWidth, TabSet1->sizeHint().width());
    TabSet1->setFixedWidth(tabs);
    TabSet1->move(sb->width() - tabs - 15, 2);
    TabSet1->setFixedHeight(std::max(17, TabSet1->sizeHint().height()));
    if (m_statusPanels.size() > 1)
        m_statusPanels[1]->setFixedWidth(std::max(0, sb->width() - tabs - m_statusPanels[0]->width() - 135));
    const int w = frameGeometry().width() - 50;
    for (int i = 0; i < m_grids.size(); ++i) {
        const QList<Engine::Column>& cols = kindViews()[i].columns;
        for (int c = 0; c < cols.size(); ++c)
            m_grids[i]->setColumnWidth(c, static_cast<int>(std::nearbyint(w * cols[c].share)));
    }
}

void Tfrm_Main::ApplyFontSize()
{
    const QFont keep = Edit1->font();
    ::ApplyFontSize(this, Beall.FontSize);
    Edit1->setFont(keep);
}

void Tfrm_Main::aBetuNovelExecute()
{
    if (Beall.FontSize < 10)
        ++Beall.FontSize;
    ApplyFontSize();
}

void Tfrm_Main::aBetuCsokkentExecute()
{
    if (Beall.FontSize > 8)
        --Beall.FontSize;
    ApplyFontSize();
}

// ---------------------------------------------------------------- items and numbering

void Tfrm_Main::guarded(const std::function<void()>& work)
{
    try {
        work();
    } catch (const Engine::DbError& e) {
        ShowError(e.message(), this);
    } catch (const ConversionError& e) {
        ShowError(e.message(), this);
    }
}

QString Tfrm_Main::NextAzonosito()
{
    int n = std::max(0, Beall.NextLeltszam);
    TblL->open();
    // The identifier field holds 10 characters; the probe compares what would be stored.
    auto format = [](int v) { return FormatMask(v, Beall.LeltszamMaszk).left(10); };
    QString t = format(n);
    while (TblL->locate(QStringLiteral("azonosito"), t)) {
        ++n;
        t = format(n);
    }
    TblL->close();
    Beall.NextLeltszam = n + 1;
    TblBeallit->open();
    if (TblBeallit->isEmpty()) {
        TblBeallit->insert();
        TblBeallit->setValue(QStringLiteral("leltszammaszk"), Beall.LeltszamMaszk);
    } else {
        TblBeallit->edit();
    }
    TblBeallit->setValue(QStringLiteral("leltszam"), Beall.NextLeltszam);
    TblBeallit->post();
    TblBeallit->close();
    return t;
}

void Tfrm_Main::InsertNewItem(int kind)
{
    const QString t = NextAzonosito();
    Tbl->insert();
    Tbl->setValue(QStringLiteral("azonosito"), t);
    Tbl->setValue(QStringLiteral("sorszam"),
                  QueryInt(QStringLiteral("SELECT MAX(sorszam) FROM konyv WHERE tipus = ") + VarToIntStr(kind) +
                               QStringLiteral(";"),
                           0) +
                      1);
    Tbl->setValue(QStringLiteral("tipus"), kind);
    for (const char* f : {"kiado", "kiadas", "targykor"})
        Tbl->setValue(QString::fromLatin1(f), 0);
    Tbl->setValue(QStringLiteral("polcon"), true);
    for (const char* f : {"prgtipus", "mufaj", "minoseg"})
        Tbl->setValue(QString::fromLatin1(f), 0);
    Tbl->setValue(QStringLiteral("kotetszam"), 1);
    for (const char* f : {"ar", "sorozat", "polc", "kolcsonzes"})
        Tbl->setValue(QString::fromLatin1(f), 0);
    Tbl->setValue(QStringLiteral("dat_beszerzes"), QDate::currentDate());
}

void Tfrm_Main::TblBeforePost()
{
    if (VarToIntDef(Tbl->value(QStringLiteral("az")), 0) == 0)
        Tbl->setValue(QStringLiteral("az"), QueryInt(QStringLiteral("SELECT MAX(az) FROM konyv;"), 0) + 1);
}

void Tfrm_Main::TblAfterPost()
{
    // Every save is its own committed transaction, so the row is already on disk.
}

void Tfrm_Main::aUjExecute()
{
    const int kind = currentKind();
    if (!kind)
        return;
    EditorContext ctx{Tbl, [this](int k) { InsertNewItem(k); }};
    try {
        EditItem(kind, true, ctx, this);
    } catch (...) {
        Beall.NewItemStarted = true;
        throw;
    }
    Beall.NewItemStarted = true;
}

void Tfrm_Main::aSzerkesztExecute()
{
    const int kind = currentKind();
    if (!kind || Tbl->isEmpty())
        return;
    EditorContext ctx{Tbl, [this](int k) { InsertNewItem(k); }};
    EditItem(kind, false, ctx, this);
}

void Tfrm_Main::aTorolExecute()
{
    if (!currentKind() || Tbl->isEmpty())
        return;
    if (AskConfirm(QStringLiteral("Valóban töröljem a tételt?"), QStringLiteral("Megerősítés"), this))
        Tbl->remove();
}

void Tfrm_Main::aCsatoltExecute()
{
    if (!currentKind() || Tbl->isEmpty())
        return;
    ShowAttachments(*Tbl, this);
}

void Tfrm_Main::aKilepExecute() { close(); }

// ---------------------------------------------------------------- lending

void Tfrm_Main::aKolcsonadExecute()
{
    if (!currentKind() || Tbl->isEmpty())
        return;
    const QVariant polcon = Tbl->value(QStringLiteral("polcon"));
    if (!VarIsNull(polcon) && !polcon.toBool()) {
        ShowError(QStringLiteral("Ez a tétel már ki lett adva."), this);
        return;
    }
    if (!AskConfirm(QStringLiteral("Valóban kölcsönadod a tételt?"), QStringLiteral("Megerősítés"), this))
        return;
    QString name;
    if (!AskString(QStringLiteral("Kölcsönadás"), QStringLiteral("Kinek adod kölcsön?"), name, true, -1, this))
        return;
    Tbl->edit();
    Tbl->setValue(QStringLiteral("polcon"), false);
    Tbl->setValue(QStringLiteral("kolcsonadva"), name);
    Tbl->setValue(QStringLiteral("datum"), QDate::currentDate());
    postKeepingChanges();
}

void Tfrm_Main::aVisszaveszExecute()
{
    if (!currentKind() || Tbl->isEmpty())
        return;
    const QVariant polcon = Tbl->value(QStringLiteral("polcon"));
    if (!VarIsNull(polcon) && polcon.toBool()) {
        ShowError(QStringLiteral("Ez a tétel nincs kölcsönadva"), this);
        return;
    }
    if (!AskConfirm(QStringLiteral("Valóban visszaveszed a tételt?"), QStringLiteral("Megerősítés"), this))
        return;
    Tbl->edit();
    Tbl->setValue(QStringLiteral("polcon"), true);
    Tbl->setValue(QStringLiteral("kolcsonadva"), QVariant());
    Tbl->setValue(QStringLiteral("datum"), QVariant());
    postKeepingChanges();
}

void Tfrm_Main::postKeepingChanges()
{
    // A refused save (another copy holding the database) keeps the change until the user gives up.
    for (;;) {
        try {
            Tbl->post();
            return;
        } catch (const Engine::DbError& e) {
            if (!AskConfirm(QStringLiteral("A mentés nem sikerült:\n%1\n\nPróbáljam újra?").arg(e.message()),
                            QStringLiteral("Megerősítés"), this)) {
                Tbl->cancel();
                return;
            }
        }
    }
}
