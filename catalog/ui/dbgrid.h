#pragma once

#include "tablemodel.h"

#include <QTableView>

#include <functional>

namespace Engine {
class Table;
}

// Read-only grid over a Table: whole-row selection that stays visible without the focus,
// its current row follows the table's and moves it.
class DBGrid : public QTableView
{
    Q_OBJECT

public:
    explicit DBGrid(QWidget* parent = nullptr);

    void setTable(Engine::Table* table, const QList<Engine::Column>& columns);
    Engine::Table* table() const { return m_table; }
    Engine::TableModel* tableModel() const { return m_model; }
    int columnOfField(const QString& field) const;

    // Called for every key press before the grid handles it; return true to swallow it.
    void setKeyPressHandler(std::function<bool(QKeyEvent*)> handler) { m_keyHandler = std::move(handler); }

signals:
    void titleClicked(int column);

protected:
    void keyPressEvent(QKeyEvent* e) override;
    void currentChanged(const QModelIndex& current, const QModelIndex& previous) override;

private:
    void followTable();
    Engine::Table* m_table = nullptr;
    Engine::TableModel* m_model = nullptr;
    std::function<bool(QKeyEvent*)> m_keyHandler;
    bool m_syncing = false;
};
