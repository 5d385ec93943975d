#include "table.h"

#include "database.h"
#include "dberror.h"
#include "dialect.h"

#include <QSqlError>
#include <QSqlQuery>

namespace Engine {

namespace {

constexpr int kPageBefore = 30;
constexpr int kPageAfter = 90;
constexpr int kCacheLimit = 6000;

QString quoted(const QString& identifier)
{
    QString s = identifier;
    s.replace(QLatin1Char('"'), QLatin1String("\"\""));
    return QLatin1Char('"') + s + QLatin1Char('"');
}

bool isText(FieldType t) { return t == FieldType::String || t == FieldType::Memo; }

} // namespace

QVariant RowRef::value(const QString& field) const
{
    const int i = m_table->fieldIndex(field);
    return i >= 0 && i < m_values->size() ? m_values->at(i) : QVariant();
}

void RowRef::setValue(const QString& field, const QVariant& value)
{
    const int i = m_table->fieldIndex(field);
    if (i >= 0 && i < m_values->size())
        (*m_values)[i] = value;
}

Table::Table(const QString& connectionName, QObject* parent) : QObject(parent), m_connection(connectionName) {}

Table::~Table() = default;

void Table::setTableName(const QString& name)
{
    if (isActive())
        throw DbError(QStringLiteral("Nyitott tábla neve nem változtatható."));
    m_table = Dialect::tableName(name);
}

void Table::addCalcField(const QString& name, FieldType type, int size)
{
    FieldInfo f;
    f.name = name;
    f.type = type;
    f.size = size;
    f.calculated = true;
    m_calcDefs.append(f);
}

void Table::requireActive() const
{
    if (!isActive())
        throw DbError(QStringLiteral("A(z) %1 tábla nincs megnyitva.").arg(m_table));
}

void Table::requireBrowse(const char* what) const
{
    requireActive();
    if (isEditing())
        throw DbError(QStringLiteral("A(z) %1 tábla szerkesztés alatt áll; a(z) %2 művelet előtt mentse vagy "
                                     "vesse el a változásokat.")
                          .arg(m_table, QString::fromLatin1(what)));
}

int Table::fieldIndex(const QString& name) const { return m_fieldPos.value(name.toLower(), -1); }

FieldInfo Table::field(const QString& name) const
{
    const int i = fieldIndex(name);
    if (i < 0)
        throw DbError(QStringLiteral("A(z) %1 mező nem található a(z) %2 táblában.").arg(name, m_table));
    return m_fields[i];
}

QString Table::whereClause() const
{
    if (!m_filtered || m_filter.trimmed().isEmpty())
        return QString();
    return QStringLiteral(" WHERE (%1)").arg(Dialect::translate(m_filter));
}

QString Table::orderClause() const
{
    QStringList parts;
    for (const QString& f : m_orderFields)
        parts.append(quoted(f));
    parts.append(QStringLiteral("rowid"));
    return QStringLiteral(" ORDER BY ") + parts.join(QStringLiteral(", "));
}

QString Table::selectList() const
{
    QStringList cols{QStringLiteral("rowid")};
    for (int i = 0; i < m_storedCount; ++i)
        cols.append(quoted(m_fields[i].name));
    return cols.join(QStringLiteral(", "));
}

void Table::open()
{
    if (isActive())
        return;
    if (m_table.isEmpty())
        throw DbError(QStringLiteral("Nincs megadva a megnyitandó tábla."));
    const QList<FieldInfo> actual = Database::fields(m_connection, m_table);
    QList<FieldInfo> bound;
    if (m_fieldDefs.isEmpty()) {
        bound = actual;
    } else {
        for (const FieldInfo& want : m_fieldDefs) {
            const auto it = std::find_if(actual.begin(), actual.end(), [&](const FieldInfo& f) {
                return f.name.compare(want.name, Qt::CaseInsensitive) == 0;
            });
            if (it == actual.end())
                throw DbError(QStringLiteral("A(z) %1 táblából hiányzik a(z) „%2” mező.").arg(m_table, want.name));
            if (it->type != want.type)
                throw DbError(QStringLiteral("A(z) %1 tábla „%2” mezőjének típusa nem megfelelő: %3 (elvárt: %4).")
                                  .arg(m_table, want.name, fieldTypeText(it->type, it->size),
                                       fieldTypeText(want.type, want.size)));
            FieldInfo f = *it;
            f.name = want.name;
            bound.append(f);
        }
    }
    m_fields = bound;
    m_storedCount = static_cast<int>(bound.size());
    m_fields.append(m_calcDefs);
    m_fieldPos.clear();
    for (int i = 0; i < m_fields.size(); ++i)
        m_fieldPos.insert(m_fields[i].name.toLower(), i);
    if (m_orderFields.isEmpty() && m_indexName.isEmpty())
        m_orderFields = Database::primaryKey(m_connection, m_table);
    m_state = State::Browse;
    m_cache.clear();
    m_keysDirty = true;
    m_pendingRowId = -1;
    m_eof = false;
    // The rows are read when first needed: a cursor used only to locate never reads them all.
    notifyReset();
}

void Table::close()
{
    if (!isActive())
        return;
    m_state = State::Inactive;
    m_keys.clear();
    m_keyPos.clear();
    m_cache.clear();
    m_buffer.clear();
    m_cur = -1;
    m_keysDirty = true;
    emit stateChanged();
    emit rowsReset();
}

void Table::beginUpdate() { ++m_updateDepth; }

void Table::endUpdate()
{
    if (m_updateDepth > 0 && --m_updateDepth == 0) {
        if (m_resetPending) {
            m_resetPending = false;
            m_scrollPending = false;
            emit rowsReset();
            emit afterScroll();
            emit currentValuesChanged();
        } else if (m_scrollPending) {
            m_scrollPending = false;
            emit afterScroll();
            emit currentValuesChanged();
        }
    }
}

void Table::notifyReset()
{
    if (m_updateDepth > 0) {
        m_resetPending = true;
        return;
    }
    emit rowsReset();
    emit afterScroll();
    emit currentValuesChanged();
}

void Table::markDirty()
{
    m_keysDirty = true;
    m_pendingRowId = -1;
    m_eof = false;
    notifyReset();
}

void Table::setFilter(const QString& filter)
{
    if (filter == m_filter)
        return;
    if (isActive())
        requireBrowse("szűrés");
    m_filter = filter;
    if (isActive() && m_filtered)
        markDirty();
}

void Table::setFiltered(bool on)
{
    if (on == m_filtered)
        return;
    if (isActive())
        requireBrowse("szűrés");
    m_filtered = on;
    if (isActive() && !m_filter.trimmed().isEmpty())
        markDirty();
}

QStringList Table::indexFields(const QString& indexName) const
{
    if (indexName.isEmpty())
        return Database::primaryKey(m_connection, m_table);
    for (const IndexInfo& ix : Database::indexes(m_connection, m_table))
        if (ix.name.compare(indexName, Qt::CaseInsensitive) == 0)
            return ix.fields;
    throw DbError(QStringLiteral("A(z) %1 tábla „%2” indexe hiányzik. Futtassa az adatbázis karbantartót "
                                 "(Lerovani_Upd, Karbantartás).")
                      .arg(m_table, indexName));
}

void Table::setIndexName(const QString& indexName)
{
    if (isActive())
        requireBrowse("rendezés");
    const QStringList fields = indexFields(indexName);
    if (indexName == m_indexName && fields == m_orderFields)
        return;
    const qint64 keep = !isActive() ? -1 : (m_keysDirty ? m_pendingRowId : currentRowId());
    m_indexName = indexName;
    m_orderFields = fields;
    if (isActive()) {
        markDirty();
        m_pendingRowId = keep;
    }
}

void Table::setIndexFieldNames(const QString& fields)
{
    if (isActive())
        requireBrowse("rendezés");
    m_indexName.clear();
    m_orderFields = fields.split(QLatin1Char(';'), Qt::SkipEmptyParts);
    for (QString& f : m_orderFields)
        f = f.trimmed();
    if (isActive())
        markDirty();
}

void Table::ensureKeys() const
{
    if (!m_keysDirty || !isActive())
        return;
    QSqlQuery q = Database::exec(m_connection, QStringLiteral("SELECT rowid FROM %1%2%3")
                                                   .arg(quoted(m_table), whereClause(), orderClause()));
    m_keys.clear();
    m_keyPos.clear();
    while (q.next())
        m_keys.append(q.value(0).toLongLong());
    m_keyPos.reserve(m_keys.size());
    for (int i = 0; i < m_keys.size(); ++i)
        m_keyPos.insert(m_keys[i], i);
    m_keysDirty = false;
    int cur = m_keys.isEmpty() ? -1 : 0;
    if (m_pendingRowId >= 0) {
        const auto it = m_keyPos.constFind(m_pendingRowId);
        if (it != m_keyPos.cend())
            cur = it.value();
    }
    m_pendingRowId = -1;
    m_cur = cur;
}

int Table::recordCount() const
{
    if (!isActive())
        return 0;
    ensureKeys();
    return static_cast<int>(m_keys.size());
}

int Table::currentIndex() const
{
    if (!isActive())
        return -1;
    ensureKeys();
    return m_cur;
}

int Table::recNo() const { return currentIndex() + 1; }

qint64 Table::currentRowId() const
{
    if (m_keysDirty && m_pendingRowId >= 0)
        return m_pendingRowId;
    ensureKeys();
    return m_cur >= 0 && m_cur < m_keys.size() ? m_keys[m_cur] : -1;
}

void Table::setCurrentRowId(qint64 rowId)
{
    if (m_keysDirty) {
        m_pendingRowId = rowId;
    } else {
        m_cur = m_keyPos.value(rowId, m_cur);
    }
    if (m_updateDepth > 0) {
        m_scrollPending = true;
        return;
    }
    emit afterScroll();
    emit currentValuesChanged();
}

void Table::moveTo(int index)
{
    requireBrowse("léptetés");
    ensureKeys();
    if (m_keys.isEmpty()) {
        m_eof = true;
        return;
    }
    m_eof = index >= m_keys.size();
    const int target = std::clamp(index, 0, static_cast<int>(m_keys.size()) - 1);
    if (target == m_cur)
        return;
    m_cur = target;
    if (m_updateDepth > 0) {
        m_scrollPending = true;
        return;
    }
    emit afterScroll();
    emit currentValuesChanged();
}

void Table::first() { moveTo(0); }
void Table::last() { moveTo(recordCount() - 1); }
void Table::next() { moveTo(currentIndex() + 1); }
void Table::prior() { moveTo(std::max(0, currentIndex() - 1)); }

void Table::fetchRows(const QVector<qint64>& ids) const
{
    if (ids.isEmpty())
        return;
    if (m_cache.size() > kCacheLimit)
        m_cache.clear();
    QStringList list;
    list.reserve(ids.size());
    for (qint64 id : ids)
        list.append(QString::number(id));
    QSqlQuery q = Database::exec(m_connection, QStringLiteral("SELECT %1 FROM %2 WHERE rowid IN (%3)")
                                                   .arg(selectList(), quoted(m_table), list.join(QLatin1Char(','))));
    QVector<QVariant> stored(m_storedCount);
    while (q.next()) {
        for (int i = 0; i < m_storedCount; ++i)
            stored[i] = q.value(i + 1);
        m_cache.insert(q.value(0).toLongLong(), convertRow(stored));
    }
}

QVector<QVariant> Table::convertRow(const QVector<QVariant>& stored) const
{
    QVector<QVariant> row(m_fields.size());
    for (int i = 0; i < m_storedCount; ++i)
        row[i] = fromStorage(m_fields[i].type, stored[i]);
    applyCalc(row);
    return row;
}

void Table::applyCalc(QVector<QVariant>& row) const
{
    if (m_calcFields && !m_calcDefs.isEmpty())
        m_calcFields(RowRef(this, &row));
}

const QVector<QVariant>* Table::rowById(qint64 rowId) const
{
    auto it = m_cache.constFind(rowId);
    if (it == m_cache.cend()) {
        fetchRows({rowId});
        it = m_cache.constFind(rowId);
        if (it == m_cache.cend())
            return nullptr;
    }
    return &it.value();
}

const QVector<QVariant>& Table::rowValues(int index) const
{
    static const QVector<QVariant> empty;
    if (index < 0 || index >= m_keys.size())
        return empty;
    const qint64 id = m_keys[index];
    auto it = m_cache.constFind(id);
    if (it == m_cache.cend()) {
        QVector<qint64> ids;
        const int from = std::max(0, index - kPageBefore);
        const int to = std::min(static_cast<int>(m_keys.size()), index + kPageAfter);
        for (int i = from; i < to; ++i)
            if (!m_cache.contains(m_keys[i]))
                ids.append(m_keys[i]);
        fetchRows(ids);
        it = m_cache.constFind(id);
        if (it == m_cache.cend())
            return empty;
    }
    return it.value();
}

QVariant Table::valueAt(int row, int fieldIndex) const
{
    if (!isActive())
        return QVariant();
    ensureKeys();
    const QVector<QVariant>& r = rowValues(row);
    return fieldIndex >= 0 && fieldIndex < r.size() ? r[fieldIndex] : QVariant();
}

qint64 Table::rowIdAt(int row) const
{
    ensureKeys();
    return row >= 0 && row < m_keys.size() ? m_keys[row] : -1;
}

QVariant Table::value(const QString& fieldName) const
{
    const int i = fieldIndex(fieldName);
    if (i < 0)
        throw DbError(QStringLiteral("A(z) %1 mező nem található a(z) %2 táblában.").arg(fieldName, m_table));
    if (isEditing())
        return m_buffer.value(i);
    if (!isActive())
        return QVariant();
    const qint64 id = currentRowId();
    if (id < 0)
        return QVariant();
    const QVector<QVariant>* r = rowById(id);
    return r && i < r->size() ? r->at(i) : QVariant();
}

bool Table::isNull(const QString& field) const
{
    const QVariant v = value(field);
    return !v.isValid() || v.isNull();
}

void Table::setValue(const QString& fieldName, const QVariant& v)
{
    const int i = fieldIndex(fieldName);
    if (i < 0)
        throw DbError(QStringLiteral("A(z) %1 mező nem található a(z) %2 táblában.").arg(fieldName, m_table));
    if (!isEditing())
        throw DbError(QStringLiteral("A(z) %1 tábla nincs szerkesztési állapotban.").arg(m_table));
    const FieldInfo& f = m_fields[i];
    QVariant converted;
    if (f.calculated) {
        converted = v;
    } else if (f.type == FieldType::String) {
        // Kept whole until the save cuts it, so a refused save loses nothing that was typed.
        converted = (!v.isValid() || v.isNull()) ? QVariant() : QVariant(v.toString());
    } else {
        converted = fromStorage(f.type, toStorage(f.type, f.size, v));
    }
    m_buffer[i] = converted;
    if (!f.calculated)
        m_modified[i] = true;
    applyCalc(m_buffer);
    emit currentValuesChanged();
}

void Table::insert()
{
    requireBrowse("új sor");
    m_beforeInsertIndex = currentIndex();
    m_buffer = QVector<QVariant>(m_fields.size());
    m_modified = QVector<bool>(m_fields.size(), false);
    m_editRowId = -1;
    applyCalc(m_buffer);
    m_state = State::Insert;
    emit stateChanged();
    emit currentValuesChanged();
}

void Table::edit()
{
    requireBrowse("szerkesztés");
    const qint64 id = currentRowId();
    if (id < 0)
        throw DbError(QStringLiteral("Nincs kiválasztott sor a(z) %1 táblában.").arg(m_table));
    const QVector<QVariant>* r = rowById(id);
    if (!r)
        throw DbError(QStringLiteral("A kiválasztott sort időközben törölték."));
    m_buffer = *r;
    m_modified = QVector<bool>(m_fields.size(), false);
    m_editRowId = id;
    m_state = State::Edit;
    emit stateChanged();
}

void Table::post()
{
    requireActive();
    if (!isEditing())
        return;
    Database::begin(m_connection);
    qint64 rowId = m_editRowId;
    try {
        if (m_beforePost)
            m_beforePost();
        QStringList cols;
        QVariantList values;
        for (int i = 0; i < m_storedCount; ++i) {
            const bool include = m_state == State::Insert ? (m_modified[i] || !m_buffer[i].isNull()) : m_modified[i];
            if (!include)
                continue;
            cols.append(quoted(m_fields[i].name));
            values.append(toStorage(m_fields[i].type, m_fields[i].size, m_buffer[i]));
        }
        QSqlQuery q(Database::handle(m_connection));
        QString sql;
        if (m_state == State::Insert) {
            if (cols.isEmpty()) {
                sql = QStringLiteral("INSERT INTO %1 DEFAULT VALUES").arg(quoted(m_table));
            } else {
                QStringList marks(cols.size(), QStringLiteral("?"));
                sql = QStringLiteral("INSERT INTO %1 (%2) VALUES (%3)")
                          .arg(quoted(m_table), cols.join(QStringLiteral(", ")), marks.join(QStringLiteral(", ")));
            }
        } else if (!cols.isEmpty()) {
            QStringList sets;
            for (const QString& c : cols)
                sets.append(c + QStringLiteral(" = ?"));
            sql = QStringLiteral("UPDATE %1 SET %2 WHERE rowid = ?").arg(quoted(m_table), sets.join(QStringLiteral(", ")));
            values.append(rowId);
        }
        if (!sql.isEmpty()) {
            if (!q.prepare(sql))
                throw DbError(Database::errorText(q.lastError()));
            for (const QVariant& v : values)
                q.addBindValue(v);
            if (!q.exec())
                throw DbError(Database::errorText(q.lastError()));
            if (m_state == State::Insert)
                rowId = q.lastInsertId().toLongLong();
            else if (q.numRowsAffected() == 0)
                throw DbError(QStringLiteral("A sort időközben egy másik program törölte; a változás nem menthető."));
        }
        Database::commit(m_connection);
    } catch (...) {
        Database::rollback(m_connection);
        throw;
    }
    m_state = State::Browse;
    m_buffer.clear();
    m_cache.remove(rowId);
    m_keysDirty = true;
    m_pendingRowId = rowId;
    ensureKeys();
    if (m_cur >= 0 && m_keys[m_cur] != rowId && m_beforeInsertIndex >= 0)
        m_cur = std::min(m_beforeInsertIndex, static_cast<int>(m_keys.size()) - 1);
    emit stateChanged();
    notifyReset();
    if (m_afterPost)
        m_afterPost();
}

void Table::cancel()
{
    if (!isEditing())
        return;
    m_state = State::Browse;
    m_buffer.clear();
    m_modified.clear();
    emit stateChanged();
    emit currentValuesChanged();
}

void Table::remove()
{
    requireBrowse("törlés");
    const qint64 id = currentRowId();
    if (id < 0)
        return;
    Database::begin(m_connection);
    try {
        QSqlQuery q(Database::handle(m_connection));
        if (!q.prepare(QStringLiteral("DELETE FROM %1 WHERE rowid = ?").arg(quoted(m_table))))
            throw DbError(Database::errorText(q.lastError()));
        q.addBindValue(id);
        if (!q.exec())
            throw DbError(Database::errorText(q.lastError()));
        Database::commit(m_connection);
    } catch (...) {
        Database::rollback(m_connection);
        throw;
    }
    const int at = currentIndex();
    m_cache.remove(id);
    m_keys.removeAt(at);
    m_keyPos.clear();
    for (int i = 0; i < m_keys.size(); ++i)
        m_keyPos.insert(m_keys[i], i);
    m_cur = m_keys.isEmpty() ? -1 : std::min(at, static_cast<int>(m_keys.size()) - 1);
    notifyReset();
}

void Table::refresh()
{
    requireBrowse("frissítés");
    const qint64 keep = currentRowId();
    m_cache.clear();
    m_keysDirty = true;
    m_pendingRowId = keep;
    notifyReset();
}

bool Table::locate(const QString& fieldName, const QVariant& value, LocateOptions options)
{
    requireBrowse("keresés");
    const FieldInfo f = field(fieldName);
    if (f.calculated)
        return false;
    const QString col = quoted(f.name);
    QString cond;
    QVariantList binds;
    const bool null = !value.isValid() || value.isNull();
    if (null) {
        cond = col + QStringLiteral(" IS NULL");
    } else if (isText(f.type)) {
        const QString text = value.toString();
        if (options.partialKey) {
            // When the field is the last of the order, the rows from the search text on are the index's
            // own range, so the walk starts there.
            const bool leading = !m_orderFields.isEmpty() && m_orderFields.last().compare(f.name, Qt::CaseInsensitive) == 0;
            if (options.caseInsensitive) {
                // Walking the index from the search text on finds the first match quickly.
                cond = (leading && f.type == FieldType::String ? col + QStringLiteral(" >= ? AND ") : QString()) +
                       QStringLiteral("lower(substr(%1, 1, %2)) = lower(?)").arg(col).arg(text.size());
                if (leading && f.type == FieldType::String)
                    binds.append(text);
            } else {
                cond = QStringLiteral("substr(%1, 1, %2) = ?").arg(col).arg(text.size());
            }
        } else {
            cond = options.caseInsensitive ? QStringLiteral("lower(%1) = lower(?)").arg(col)
                                           : col + QStringLiteral(" = ? COLLATE BINARY");
        }
        binds.append(text);
    } else {
        QVariant stored;
        try {
            stored = toStorage(f.type, f.size, value);
        } catch (const DbError&) {
            return false;
        }
        if (!stored.isValid())
            return false;
        cond = col + QStringLiteral(" = ?");
        binds.append(stored);
    }
    const QString where = whereClause();
    const QString sql = QStringLiteral("SELECT rowid FROM %1%2%3%4 LIMIT 1")
                            .arg(quoted(m_table), where.isEmpty() ? QStringLiteral(" WHERE ") : where + QStringLiteral(" AND "),
                                 cond, orderClause());
    QSqlQuery q(Database::handle(m_connection));
    if (!q.prepare(sql))
        throw DbError(Database::errorText(q.lastError()));
    for (const QVariant& b : binds)
        q.addBindValue(b);
    if (!q.exec())
        throw DbError(Database::errorText(q.lastError()));
    if (!q.next())
        return false;
    const qint64 id = q.value(0).toLongLong();
    if (!m_keysDirty && !m_keyPos.contains(id))
        return false;
    setCurrentRowId(id);
    return true;
}

} // namespace Engine
