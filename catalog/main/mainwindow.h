#pragma once

#include "folderuse.h"
#include "table.h"

#include <QHash>
#include <QMainWindow>
#include <QStringList>

#include <array>

class DBGrid;
class QAction;
class QActionGroup;
class QLabel;
class QLineEdit;
class QMenu;
class QTabBar;
class QToolBar;
class QWidget;

// The one database connection of the catalogue and the parameters it is opened with.
struct TDatabase
{
    QString DatabaseName = QStringLiteral("Lerovani");
    QStringList Params;
    bool LoginPrompt = false;
    void Open();  // throws Engine::DbError
    void Close();
    bool Connected() const;
    QString path() const;
};

class Tfrm_Main : public QMainWindow
{
    Q_OBJECT

public:
    explicit Tfrm_Main(QWidget* parent = nullptr);
    ~Tfrm_Main() override;

    // False when start-up failed (the program then ends without showing the window).
    bool created() const { return m_created; }

    TDatabase Database1;
    Engine::Table* Tbl = nullptr;
    Engine::Table* TblBeallit = nullptr;
    Engine::Table* TblL = nullptr;

    QAction* action(const QString& name) const { return m_actions.value(name); }
    DBGrid* grid(int tipus) const;
    DBGrid* currentGrid() const;
    int currentTab() const { return m_currentTab; }
    int currentKind() const; // tipus of the current view, 0 when none
    int kindAtTab(int tab) const; // tipus shown at a tab position, 0 when none
    QString statusText(int panel) const;
    QString sortField(int tab) const { return tab >= 0 && tab < 9 ? m_sortField[tab] : QString(); }

    // Operations used by other windows.
    void InsertNewItem(int kind);
    QString NextAzonosito();
    void BuildTabs();
    void TabSet1Change(int newTab);
    void SetSortOrder(const QString& field, const QString& caption, int tab);
    void ApplyFontSize();

    void ReadSettings();
    void WriteSettings();

public slots:
    void aUjExecute();
    void aSzerkesztExecute();
    void aTorolExecute();
    void aCsatoltExecute();
    void aKilepExecute();
    void aKolcsonadExecute();
    void aVisszaveszExecute();
    void aBetuNovelExecute();
    void aBetuCsokkentExecute();

protected:
    void showEvent(QShowEvent* e) override;
    void closeEvent(QCloseEvent* e) override;
    void resizeEvent(QResizeEvent* e) override;
    bool event(QEvent* e) override;
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    bool FormCreate();
    void FormShow();
    void FormClose();
    void createActions();
    void createMenus();
    void createToolBars();
    void createViews();
    void createStatusBar();
    void openDatabase();
    void openTables();
    void TblBeforePost();
    void TblAfterPost();
    void TblAfterScroll();
    void Edit1Change(const QString& text);
    bool Edit1KeyDown(QKeyEvent* e);
    bool DBGrid1KeyPress(QKeyEvent* e);
    void DBGrid1TitleClick(DBGrid* grid, int column);
    void ShowHintText(const QString& hint);
    void FormResize();
    void writeCounterBack();
    void postKeepingChanges();
    void guarded(const std::function<void()>& work);
    void addAction(const QString& name, const QString& caption, const QKeySequence& key = {},
                   const QString& hint = {}, void (Tfrm_Main::*slot)() = nullptr);

    bool m_created = false;
    bool Shown = false;
    bool m_firstShow = true;
    bool m_closed = false;
    int m_currentTab = -1;
    std::array<QString, 9> m_sortField;
    std::array<QString, 9> m_sortCaption;
    QHash<QString, QAction*> m_actions;
    QActionGroup* m_kindGroup = nullptr;
    QList<QWidget*> m_panels;
    QList<DBGrid*> m_grids;
    QLineEdit* Edit1 = nullptr;
    QLabel* m_tabCaption = nullptr;
    QTabBar* TabSet1 = nullptr;
    QList<QLabel*> m_statusPanels;
    QMenu* PopupMenu1 = nullptr;
    QMenu* PopupMenu2 = nullptr;
    QMenu* PopupMenu3 = nullptr;
    QMenu* PopupMenu4 = nullptr;
    Engine::FolderUse m_folderUse;
};
