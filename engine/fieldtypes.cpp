#include "fieldtypes.h"

#include "dberror.h"

#include <QDate>
#include <QDateTime>
#include <QLocale>
#include <QRegularExpression>
#include <QTime>

namespace Engine {

QString fieldTypeText(FieldType type, int size)
{
    switch (type) {
    case FieldType::Integer: return QStringLiteral("egész szám");
    case FieldType::AutoInc: return QStringLiteral("automatikus sorszám");
    case FieldType::String: return QStringLiteral("szöveg(%1)").arg(size);
    case FieldType::Memo: return QStringLiteral("memo");
    case FieldType::Float: return QStringLiteral("valós szám");
    case FieldType::Date: return QStringLiteral("dátum");
    case FieldType::Time: return QStringLiteral("idő");
    case FieldType::DateTime: return QStringLiteral("időbélyeg");
    case FieldType::Boolean: return QStringLiteral("logikai");
    case FieldType::Blob: return QStringLiteral("bináris");
    case FieldType::Unknown: break;
    }
    return QStringLiteral("ismeretlen");
}

QString sqliteDeclaration(FieldType type, int size)
{
    switch (type) {
    case FieldType::Integer: return QStringLiteral("INTEGER");
    case FieldType::AutoInc: return QStringLiteral("INTEGER PRIMARY KEY AUTOINCREMENT");
    case FieldType::String: return QStringLiteral("CHAR(%1) COLLATE HU").arg(size > 0 ? size : 255);
    // "MEMO" alone would get numeric affinity; the TEXT word gives it text affinity.
    case FieldType::Memo: return QStringLiteral("MEMO TEXT COLLATE HU");
    case FieldType::Float: return QStringLiteral("FLOAT");
    case FieldType::Date: return QStringLiteral("DATE");
    case FieldType::Time: return QStringLiteral("TIME");
    case FieldType::DateTime: return QStringLiteral("TIMESTAMP");
    case FieldType::Boolean: return QStringLiteral("BOOLEAN");
    case FieldType::Blob: return QStringLiteral("BLOB");
    case FieldType::Unknown: break;
    }
    return QString();
}

FieldType fieldTypeFromDeclaration(const QString& declared, bool autoIncrement, int* size)
{
    const QString d = declared.trimmed().toUpper();
    if (size)
        *size = 0;
    static const QRegularExpression withLength(QStringLiteral("^(?:VAR)?CHAR(?:ACTER)?\\s*\\(\\s*(\\d+)"));
    const auto m = withLength.match(d);
    if (m.hasMatch()) {
        if (size)
            *size = m.captured(1).toInt();
        return FieldType::String;
    }
    if (d.startsWith(QLatin1String("MEMO")) || d == QLatin1String("TEXT") || d.startsWith(QLatin1String("CLOB")))
        return FieldType::Memo;
    if (d.startsWith(QLatin1String("INT")) || d == QLatin1String("SMALLINT") || d == QLatin1String("BIGINT") ||
        d == QLatin1String("SHORT") || d == QLatin1String("LONG"))
        return autoIncrement ? FieldType::AutoInc : FieldType::Integer;
    if (d.startsWith(QLatin1String("FLOA")) || d.startsWith(QLatin1String("REAL")) ||
        d.startsWith(QLatin1String("DOUB")) || d.startsWith(QLatin1String("NUMERIC")) ||
        d.startsWith(QLatin1String("DECIMAL")) || d == QLatin1String("MONEY"))
        return FieldType::Float;
    if (d == QLatin1String("DATE"))
        return FieldType::Date;
    if (d == QLatin1String("TIME"))
        return FieldType::Time;
    if (d == QLatin1String("TIMESTAMP") || d == QLatin1String("DATETIME"))
        return FieldType::DateTime;
    if (d.startsWith(QLatin1String("BOOL")) || d == QLatin1String("LOGICAL"))
        return FieldType::Boolean;
    if (d.startsWith(QLatin1String("BLOB")) || d.isEmpty())
        return FieldType::Blob;
    if (d.contains(QLatin1String("CHAR")) || d.contains(QLatin1String("TEXT")))
        return FieldType::Memo;
    return FieldType::Unknown;
}

static bool isNullValue(const QVariant& v) { return !v.isValid() || v.isNull(); }

static QString plainText(const QVariant& v) { return v.toString().trimmed(); }

QVariant toStorage(FieldType type, int size, const QVariant& value)
{
    if (isNullValue(value))
        return QVariant();
    switch (type) {
    case FieldType::Integer:
    case FieldType::AutoInc: {
        if (value.typeId() == QMetaType::Bool)
            return value.toBool() ? 1 : 0;
        const QString t = plainText(value);
        if (t.isEmpty())
            return QVariant();
        bool ok = false;
        qlonglong n = t.toLongLong(&ok);
        if (!ok) {
            const double d = QLocale::c().toDouble(t, &ok);
            if (ok && d == static_cast<double>(static_cast<qlonglong>(d)))
                n = static_cast<qlonglong>(d);
            else
                ok = false;
        }
        if (!ok || n < INT32_MIN || n > INT32_MAX)
            throw DbError(QStringLiteral("'%1' nem érvényes egész szám.").arg(value.toString()));
        return n;
    }
    case FieldType::Float: {
        const QString t = plainText(value);
        if (t.isEmpty())
            return QVariant();
        bool ok = false;
        double d = value.typeId() == QMetaType::QString ? QLocale::c().toDouble(t, &ok) : value.toDouble(&ok);
        if (!ok && value.typeId() == QMetaType::QString)
            d = QLocale(QLocale::Hungarian).toDouble(t, &ok);
        if (!ok)
            throw DbError(QStringLiteral("'%1' nem érvényes szám.").arg(value.toString()));
        return d;
    }
    case FieldType::String: {
        QString s = value.toString();
        if (size > 0 && s.size() > size)
            s.truncate(size);
        return s;
    }
    case FieldType::Memo: return value.toString();
    case FieldType::Date: {
        QDate d = value.typeId() == QMetaType::QDateTime ? value.toDateTime().date() : value.toDate();
        if (!d.isValid() && value.typeId() == QMetaType::QString) {
            const QString t = plainText(value);
            if (t.isEmpty())
                return QVariant();
            d = QDate::fromString(t, Qt::ISODate);
            if (!d.isValid())
                d = QDate::fromString(t, QStringLiteral("yyyy.MM.dd"));
        }
        if (!d.isValid())
            throw DbError(QStringLiteral("'%1' nem érvényes dátum.").arg(value.toString()));
        return d.toString(Qt::ISODate);
    }
    case FieldType::Time: {
        const QTime t = value.toTime();
        if (!t.isValid())
            throw DbError(QStringLiteral("'%1' nem érvényes időpont.").arg(value.toString()));
        return t.toString(Qt::ISODateWithMs);
    }
    case FieldType::DateTime: {
        const QDateTime t = value.toDateTime();
        if (!t.isValid())
            throw DbError(QStringLiteral("'%1' nem érvényes időpont.").arg(value.toString()));
        return t.toString(Qt::ISODateWithMs);
    }
    case FieldType::Boolean:
        if (value.typeId() == QMetaType::QString) {
            const QString t = plainText(value).toUpper();
            if (t == QLatin1String("TRUE") || t == QLatin1String("I") || t == QLatin1String("IGEN"))
                return 1;
            if (t == QLatin1String("FALSE") || t == QLatin1String("N") || t == QLatin1String("NEM"))
                return 0;
        }
        return value.toBool() ? 1 : 0;
    case FieldType::Blob: return value.toByteArray();
    case FieldType::Unknown: break;
    }
    return value;
}

QVariant fromStorage(FieldType type, const QVariant& stored)
{
    if (isNullValue(stored))
        return QVariant();
    switch (type) {
    case FieldType::Integer:
    case FieldType::AutoInc: {
        bool ok = false;
        const qlonglong n = stored.toLongLong(&ok);
        return ok ? QVariant(static_cast<int>(n)) : stored;
    }
    case FieldType::Float: return stored.toDouble();
    case FieldType::String:
    case FieldType::Memo: return stored.toString();
    case FieldType::Date: {
        const QString t = stored.toString();
        const QDate d = QDate::fromString(t.left(10), Qt::ISODate);
        return d.isValid() ? QVariant(d) : QVariant();
    }
    case FieldType::Time: {
        const QTime t = QTime::fromString(stored.toString(), Qt::ISODateWithMs);
        return t.isValid() ? QVariant(t) : QVariant();
    }
    case FieldType::DateTime: {
        const QDateTime t = QDateTime::fromString(stored.toString(), Qt::ISODateWithMs);
        return t.isValid() ? QVariant(t) : QVariant();
    }
    case FieldType::Boolean: {
        if (stored.typeId() == QMetaType::QString) {
            const QString t = stored.toString().toUpper();
            return QVariant(t == QLatin1String("1") || t == QLatin1String("TRUE") || t == QLatin1String("I"));
        }
        return QVariant(stored.toLongLong() != 0);
    }
    case FieldType::Blob: return stored.toByteArray();
    case FieldType::Unknown: break;
    }
    return stored;
}

} // namespace Engine
