#pragma once

#include "fieldtypes.h"

#include <QObject>
#include <QString>

// Changes the type of one column of an existing table in place: the table keeps its name,
// rows, other columns, key and indexes; the column keeps its name and position. SQLite has
// no statement for this, so the table is rebuilt inside one transaction; any error rolls it
// back and reaches the caller as the engine's DbError, with nothing changed.
class TParadoxChange : public QObject
{
    Q_OBJECT
    Q_PROPERTY(QString DatabaseName READ DatabaseName WRITE setDatabaseName)
    Q_PROPERTY(QString TableName READ TableName WRITE setTableName)

public:
    // An empty or zero part keeps that property of the column.
    struct ChangeRequest
    {
        QString newName;
        Engine::FieldType newType = Engine::FieldType::Unknown;
        int newLength = 0; // characters of a text column
    };

    explicit TParadoxChange(QObject* parent = nullptr) : QObject(parent) {}

    QString DatabaseName() const { return m_databaseName; } // connection name
    void setDatabaseName(const QString& name) { m_databaseName = name; }
    QString TableName() const { return m_tableName; } // "konyv.DB"
    void setTableName(const QString& name) { m_tableName = name; }

    // A memo has no length in SQLite; turned into text it gets the 255 characters that the
    // catalogue's text fields have, and longer texts are cut there.
    static constexpr int MemoToTextLength = 255;

    // kind Unknown changes nothing.
    void ChangeFieldType(const QString& fieldName, Engine::FieldType kind);
    void RestructureField(const QString& fieldName, const ChangeRequest& request);

    // Rows whose text in fieldName is longer than length characters: what a change to text(length) cuts.
    qint64 CountLongerThan(const QString& fieldName, int length) const;

private:
    QString m_databaseName;
    QString m_tableName;
};
