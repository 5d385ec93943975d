#pragma once

#include "table.h"

#include <QAbstractTableModel>
#include <QColor>
#include <QPointer>

namespace Engine {

struct Column
{
    QString field;
    QString title;
    double share = 0.0;     // part of the grid width
    QString format;         // "00000": zero-padded number
};

// Read-only grid model over a Table; rows are fetched only when a view paints them.
class TableModel : public QAbstractTableModel
{
    Q_OBJECT

public:
    static constexpr int FieldValueRole = Qt::UserRole + 1; // the raw value, unformatted

    TableModel(Table* table, const QList<Column>& columns, QObject* parent = nullptr);

    const QList<Column>& columns() const { return m_columns; }
    Table* table() const { return m_table; }
    QString columnField(int column) const;
    QColor columnColor(int column) const;
    void setColumnColor(int column, const QColor& color); // invalid colour: the normal background
    void setColumnTitle(int column, const QString& title);

    int rowCount(const QModelIndex& parent = QModelIndex()) const override;
    int columnCount(const QModelIndex& parent = QModelIndex()) const override;
    QVariant data(const QModelIndex& index, int role = Qt::DisplayRole) const override;
    QVariant headerData(int section, Qt::Orientation orientation, int role = Qt::DisplayRole) const override;

    static QString formatValue(const QVariant& value, const QString& format);

private:
    QPointer<Table> m_table;
    QList<Column> m_columns;
    QList<int> m_fieldIndex;
    QList<QColor> m_colors;
    void resolveFields();
};

} // namespace Engine
