#pragma once

#include "fieldtypes.h"

#include <QHash>
#include <QObject>
#include <QVector>

#include <functional>

namespace Engine {

class Table;

// A row's values as the hooks see them: the current edit buffer or a row being read.
class RowRef
{
public:
    RowRef(const Table* table, QVector<QVariant>* values) : m_table(table), m_values(values) {}
    QVariant value(const QString& field) const;
    void setValue(const QString& field, const QVariant& value);

private:
    const Table* m_table;
    QVector<QVariant>* m_values;
};

struct LocateOptions
{
    bool caseInsensitive = false;
    bool partialKey = false;
};

// A cursor over one table: current row, browse/insert/edit states with post and cancel,
// locate, filter text and the order of an index, and hooks that run for every save
// whatever window caused it. Rows are read lazily, a page at a time.
class Table : public QObject
{
    Q_OBJECT

public:
    enum class State { Inactive, Browse, Edit, Insert };

    using LocateOptions = Engine::LocateOptions;

    explicit Table(const QString& connectionName = QString(), QObject* parent = nullptr);
    ~Table() override;

    void setConnectionName(const QString& name) { m_connection = name; }
    QString connectionName() const { return m_connection; }
    void setTableName(const QString& name); // "Konyv.DB" or "konyv"
    QString tableName() const { return m_table; }

    // Bound field list: open() fails, naming the field, when one is missing or of another type.
    // Empty: every field of the table.
    void setFieldDefs(const QList<FieldInfo>& fields) { m_fieldDefs = fields; }
    void addCalcField(const QString& name, FieldType type, int size = 0);

    void setFilter(const QString& filter);
    QString filter() const { return m_filter; }
    void setFiltered(bool on);
    bool filtered() const { return m_filtered; }
    // Order by a named index ("idx_cim"); empty means the primary key. Throws when the index is missing.
    void setIndexName(const QString& indexName);
    QString indexName() const { return m_indexName; }
    // The fields an index orders by (empty name: the primary key); throws when the index is missing.
    QStringList indexFields(const QString& indexName) const;
    // Order by a field list ("konyv;doknev").
    void setIndexFieldNames(const QString& fields);
    QStringList orderFields() const { return m_orderFields; }

    void setBeforePost(std::function<void()> hook) { m_beforePost = std::move(hook); }
    void setAfterPost(std::function<void()> hook) { m_afterPost = std::move(hook); }
    void setCalcFields(std::function<void(RowRef)> hook) { m_calcFields = std::move(hook); }

    void open();
    void close();
    bool isActive() const { return m_state != State::Inactive; }
    State state() const { return m_state; }
    bool isEditing() const { return m_state == State::Edit || m_state == State::Insert; }

    // Several changes of filter and order as one: views and hooks hear of it once, at the end.
    void beginUpdate();
    void endUpdate();

    int recordCount() const;
    int recNo() const; // 1-based; 0 when there is no current row
    bool isEmpty() const { return recordCount() == 0; }
    bool eof() const { return m_eof; }
    void first();
    void last();
    void next();
    void prior();
    void moveTo(int index); // 0-based position in the current order
    int currentIndex() const;

    bool locate(const QString& field, const QVariant& value, LocateOptions options = {});

    const QList<FieldInfo>& fields() const { return m_fields; }
    int fieldIndex(const QString& name) const;
    bool hasField(const QString& name) const { return fieldIndex(name) >= 0; }
    FieldInfo field(const QString& name) const;
    QVariant value(const QString& field) const;
    bool isNull(const QString& field) const;
    // Converts at once: a value the field cannot hold throws DbError and changes nothing.
    void setValue(const QString& field, const QVariant& value);
    QVariant valueAt(int row, int fieldIndex) const; // for item models; does not move the cursor
    qint64 rowIdAt(int row) const;

    void insert();
    void append() { insert(); }
    void edit();
    void post();
    void cancel();
    void remove();
    void refresh();

signals:
    void rowsReset();            // the set or order of rows changed
    void rowDataChanged(int row);
    void afterScroll();          // the current row changed
    void stateChanged();
    void currentValuesChanged(); // a value of the current row changed (edit buffer or scroll)

private:
    friend class RowRef;
    void requireActive() const;
    void requireBrowse(const char* what) const;
    void ensureKeys() const;
    void markDirty();
    void notifyReset();
    const QVector<QVariant>& rowValues(int index) const;
    const QVector<QVariant>* rowById(qint64 rowId) const;
    void fetchRows(const QVector<qint64>& ids) const;
    QVector<QVariant> convertRow(const QVector<QVariant>& stored) const;
    void applyCalc(QVector<QVariant>& row) const;
    QString whereClause() const;
    QString orderClause() const;
    QString selectList() const;
    qint64 currentRowId() const;
    void setCurrentRowId(qint64 rowId);
    int storedFieldCount() const { return m_storedCount; }

    QString m_connection;
    QString m_table;
    QList<FieldInfo> m_fieldDefs;
    QList<FieldInfo> m_calcDefs;
    QList<FieldInfo> m_fields; // stored fields, then calculated ones
    QHash<QString, int> m_fieldPos;
    int m_storedCount = 0;
    QString m_filter;
    bool m_filtered = false;
    QString m_indexName;
    QStringList m_orderFields;

    State m_state = State::Inactive;
    mutable QVector<qint64> m_keys;
    mutable QHash<qint64, int> m_keyPos;
    mutable bool m_keysDirty = true;
    mutable qint64 m_pendingRowId = -1; // current row chosen while the keys were not read yet
    mutable int m_cur = -1;
    bool m_eof = false;
    mutable QHash<qint64, QVector<QVariant>> m_cache;
    QVector<QVariant> m_buffer;
    QVector<bool> m_modified;
    qint64 m_editRowId = -1;
    int m_beforeInsertIndex = -1;
    int m_updateDepth = 0;
    bool m_resetPending = false;
    bool m_scrollPending = false;

    std::function<void()> m_beforePost;
    std::function<void()> m_afterPost;
    std::function<void(RowRef)> m_calcFields;
};

} // namespace Engine
