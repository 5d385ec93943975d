#pragma once

#include <QDialog>

class DBGrid;
class QAction;
class QLabel;
class QLineEdit;
class QMenu;
class QToolBar;

namespace Engine {
class Table;
}

// The attachments of one catalogue item: references to files anywhere on disk.
class Tfrm_Megj : public QDialog
{
    Q_OBJECT

public:
    Tfrm_Megj(Engine::Table& catalog, QWidget* parent = nullptr);
    ~Tfrm_Megj() override;

    Engine::Table* table() const { return Tbl; }

    void aUjExecute();
    void aTorolExecute();
    void aMegnyitExecute();
    void aBezarExecute();

protected:
    void done(int r) override;

private:
    void updateLink();
    bool alreadyAttached(const QString& path) const;

    Engine::Table& m_catalog;
    int m_az = 0;
    Engine::Table* Tbl = nullptr;
    QLineEdit* DBEdit1 = nullptr;
    QLineEdit* DBEdit2 = nullptr;
    QToolBar* ToolBar1 = nullptr;
    DBGrid* DBGrid1 = nullptr;
    QLabel* DBText1 = nullptr;
    QMenu* PopupMenu1 = nullptr;
    QAction* aUj = nullptr;
    QAction* aTorol = nullptr;
    QAction* aMegnyit = nullptr;
    QAction* aBezar = nullptr;
};
