#include "tablemodel.h"

#include "table.h"

#include <QDate>

namespace Engine {

TableModel::TableModel(Table* table, const QList<Column>& columns, QObject* parent)
    : QAbstractTableModel(parent), m_table(table), m_columns(columns), m_colors(columns.size())
{
    resolveFields();
    connect(table, &Table::rowsReset, this, [this] {
        beginResetModel();
        resolveFields();
        endResetModel();
    });
    connect(table, &Table::rowDataChanged, this, [this](int row) {
        emit dataChanged(index(row, 0), index(row, columnCount() - 1));
    });
}

void TableModel::resolveFields()
{
    m_fieldIndex.clear();
    for (const Column& c : m_columns)
        m_fieldIndex.append(m_table && m_table->isActive() ? m_table->fieldIndex(c.field) : -1);
}

QString TableModel::columnField(int column) const { return m_columns.value(column).field; }

QColor TableModel::columnColor(int column) const { return m_colors.value(column); }

void TableModel::setColumnColor(int column, const QColor& color)
{
    if (column < 0 || column >= m_colors.size() || m_colors[column] == color)
        return;
    m_colors[column] = color;
    if (rowCount() > 0)
        emit dataChanged(index(0, column), index(rowCount() - 1, column), {Qt::BackgroundRole});
}

void TableModel::setColumnTitle(int column, const QString& title)
{
    if (column < 0 || column >= m_columns.size())
        return;
    m_columns[column].title = title;
    emit headerDataChanged(Qt::Horizontal, column, column);
}

int TableModel::rowCount(const QModelIndex& parent) const
{
    if (parent.isValid() || !m_table)
        return 0;
    return m_table->recordCount();
}

int TableModel::columnCount(const QModelIndex& parent) const
{
    return parent.isValid() ? 0 : static_cast<int>(m_columns.size());
}

QString TableModel::formatValue(const QVariant& value, const QString& format)
{
    if (!value.isValid() || value.isNull())
        return QString();
    if (!format.isEmpty() && format.count(QLatin1Char('0')) == format.size()) {
        bool ok = false;
        const qlonglong n = value.toLongLong(&ok);
        if (ok)
            return QStringLiteral("%1").arg(n, static_cast<int>(format.size()), 10, QLatin1Char('0'));
    }
    if (value.typeId() == QMetaType::QDate)
        return value.toDate().toString(QStringLiteral("yyyy.MM.dd"));
    if (value.typeId() == QMetaType::Double)
        return QString::number(value.toDouble(), 'g', 15);
    if (value.typeId() == QMetaType::Bool)
        return value.toBool() ? QStringLiteral("Igen") : QStringLiteral("Nem");
    return value.toString();
}

QVariant TableModel::data(const QModelIndex& index, int role) const
{
    if (!index.isValid() || !m_table || index.column() >= m_columns.size())
        return QVariant();
    const int fi = m_fieldIndex.value(index.column(), -1);
    switch (role) {
    case Qt::DisplayRole:
        return formatValue(m_table->valueAt(index.row(), fi), m_columns[index.column()].format);
    case FieldValueRole:
        return m_table->valueAt(index.row(), fi);
    case Qt::BackgroundRole: {
        const QColor c = m_colors.value(index.column());
        return c.isValid() ? QVariant(c) : QVariant();
    }
    default:
        return QVariant();
    }
}

QVariant TableModel::headerData(int section, Qt::Orientation orientation, int role) const
{
    if (role != Qt::DisplayRole)
        return QVariant();
    if (orientation == Qt::Horizontal)
        return m_columns.value(section).title;
    return QVariant();
}

} // namespace Engine
