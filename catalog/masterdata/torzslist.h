#pragma once

#include "torzsmembers.h"

#include <QDialog>
#include <QVariant>

class DBGrid;
class QAction;
class QKeyEvent;
class QLabel;
class QLineEdit;
class QMenu;
class QStatusBar;
class QToolBar;
class QWidget;

namespace Engine {
class Table;
}

// A master list, opened as a chooser: search box, grid, tool bar and pop-up menu over its own
// cursor Tbl on the master table. Every change is saved at once; Bezár does not undo it.
class TorzsListWindow : public QDialog
{
    Q_OBJECT

public:
    TorzsListWindow(TorzsKind kind, QWidget* parent = nullptr);
    ~TorzsListWindow() override;

    const TorzsMember& member() const { return m_member; }

    // The choose steps, in the order the chooser runs them. They throw Engine::DbError.
    void setListCaption(const QString& caption);
    QString listCaption() const { return m_caption; }
    void enableElfogad();
    void setPartition(int tip);
    int partition() const { return m_tip; }
    void openAt(const QVariant& start); // opens Tbl and makes the row whose key is start current

    // The current row's key (0 on an empty list) and name (empty when null).
    QVariant currentKey() const;
    QString currentName() const;

    Engine::Table* Tbl;

    void aUjExecute();
    void aSzerkesztExecute();
    void aTorolExecute();
    void aKeresExecute();
    void aElfogadExecute();
    void aBezarExecute();

protected:
    void showEvent(QShowEvent* e) override;
    void done(int r) override;
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void FormShow();
    void Edit1Change(const QString& text);
    bool Edit1KeyDown(QKeyEvent* e);
    bool DBGrid1KeyPress(QKeyEvent* e);
    void DBGrid1DblClick();
    void DBGrid1Resize();
    void TblAfterScroll();
    void addLines();
    void runEditor();

    const TorzsMember& m_member;
    QString m_caption;
    int m_tip = 0;
    bool m_shown = false;

    QToolBar* ToolBar1;
    QWidget* Panel1;
    QLabel* Panel1Caption;
    QLineEdit* Edit1;
    DBGrid* DBGrid1;
    QStatusBar* StatusBar1;
    QLabel* StatusPanel1;
    QMenu* PopupMenu1;
    QAction* aUj;
    QAction* aSzerkeszt;
    QAction* aTorol;
    QAction* aKeres = nullptr;
    QAction* aElfogad;
    QAction* aBezar;
};

// The thin named members of the family.

class Tfrm_TorzsSzerzo : public TorzsListWindow
{
    Q_OBJECT

public:
    explicit Tfrm_TorzsSzerzo(QWidget* parent = nullptr) : TorzsListWindow(TorzsKind::Szerzo, parent) {}
};

class Tfrm_TorzsKiado : public TorzsListWindow
{
    Q_OBJECT

public:
    explicit Tfrm_TorzsKiado(QWidget* parent = nullptr) : TorzsListWindow(TorzsKind::Kiado, parent) {}
};

class Tfrm_TorzsTargykor : public TorzsListWindow
{
    Q_OBJECT

public:
    explicit Tfrm_TorzsTargykor(QWidget* parent = nullptr) : TorzsListWindow(TorzsKind::Targykor, parent) {}
};

class Tfrm_TorzsMufaj : public TorzsListWindow
{
    Q_OBJECT

public:
    explicit Tfrm_TorzsMufaj(QWidget* parent = nullptr) : TorzsListWindow(TorzsKind::Mufaj, parent) {}
};

class Tfrm_TorzsSorozat : public TorzsListWindow
{
    Q_OBJECT

public:
    explicit Tfrm_TorzsSorozat(QWidget* parent = nullptr) : TorzsListWindow(TorzsKind::Sorozat, parent) {}
};

class Tfrm_TorzsPrgTipus : public TorzsListWindow
{
    Q_OBJECT

public:
    explicit Tfrm_TorzsPrgTipus(QWidget* parent = nullptr) : TorzsListWindow(TorzsKind::PrgTipus, parent) {}
};

class Tfrm_TorzsPolc : public TorzsListWindow
{
    Q_OBJECT

public:
    explicit Tfrm_TorzsPolc(QWidget* parent = nullptr) : TorzsListWindow(TorzsKind::Polc, parent) {}
};

class Tfrm_TorzsSzakjel : public TorzsListWindow
{
    Q_OBJECT

public:
    explicit Tfrm_TorzsSzakjel(QWidget* parent = nullptr) : TorzsListWindow(TorzsKind::Szakjel, parent) {}
};

class Tfrm_TorzsMinoseg : public TorzsListWindow
{
    Q_OBJECT

public:
    explicit Tfrm_TorzsMinoseg(QWidget* parent = nullptr) : TorzsListWindow(TorzsKind::Minoseg, parent) {}
};
