#include "dbgrid.h"

#include "table.h"

#include <QHeaderView>
#include <QKeyEvent>

DBGrid::DBGrid(QWidget* parent) : QTableView(parent)
{
    setSelectionBehavior(QAbstractItemView::SelectRows);
    setSelectionMode(QAbstractItemView::SingleSelection);
    setEditTriggers(QAbstractItemView::NoEditTriggers);
    setWordWrap(false);
    setShowGrid(true);
    setAlternatingRowColors(false);
    verticalHeader()->setDefaultSectionSize(fontMetrics().height() + 4);
    verticalHeader()->setSectionResizeMode(QHeaderView::Fixed);
    verticalHeader()->setFixedWidth(12);
    horizontalHeader()->setSectionsClickable(true);
    horizontalHeader()->setHighlightSections(false);
    horizontalHeader()->setSectionResizeMode(QHeaderView::Interactive);
    // The selected row stays visible when the grid loses the focus.
    QPalette p = palette();
    p.setColor(QPalette::Inactive, QPalette::Highlight, p.color(QPalette::Active, QPalette::Highlight));
    p.setColor(QPalette::Inactive, QPalette::HighlightedText, p.color(QPalette::Active, QPalette::HighlightedText));
    setPalette(p);
    connect(horizontalHeader(), &QHeaderView::sectionClicked, this, &DBGrid::titleClicked);
}

void DBGrid::setTable(Engine::Table* table, const QList<Engine::Column>& columns)
{
    m_table = table;
    auto* old = m_model;
    m_model = new Engine::TableModel(table, columns, this);
    setModel(m_model);
    delete old;
    connect(table, &Engine::Table::afterScroll, this, &DBGrid::followTable);
    connect(m_model, &QAbstractItemModel::modelReset, this, &DBGrid::followTable);
    followTable();
}

int DBGrid::columnOfField(const QString& field) const
{
    if (!m_model)
        return -1;
    for (int i = 0; i < m_model->columns().size(); ++i)
        if (m_model->columns()[i].field.compare(field, Qt::CaseInsensitive) == 0)
            return i;
    return -1;
}

void DBGrid::followTable()
{
    if (!m_table || !m_model || m_syncing || !m_table->isActive())
        return;
    const int row = m_table->currentIndex();
    m_syncing = true;
    if (row < 0) {
        selectionModel()->clear();
    } else {
        const QModelIndex cur = currentIndex();
        const QModelIndex target = m_model->index(row, cur.isValid() ? cur.column() : 0);
        selectionModel()->setCurrentIndex(target, QItemSelectionModel::ClearAndSelect | QItemSelectionModel::Rows);
        scrollTo(target);
    }
    m_syncing = false;
}

void DBGrid::currentChanged(const QModelIndex& current, const QModelIndex& previous)
{
    QTableView::currentChanged(current, previous);
    if (m_syncing || !m_table || !current.isValid() || !m_table->isActive() || m_table->isEditing())
        return;
    if (current.row() == m_table->currentIndex())
        return;
    m_syncing = true;
    m_table->moveTo(current.row());
    m_syncing = false;
}

void DBGrid::keyPressEvent(QKeyEvent* e)
{
    if (m_keyHandler && m_keyHandler(e))
        return;
    QTableView::keyPressEvent(e);
}
