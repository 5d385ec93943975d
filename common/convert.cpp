#include "convert.h"

#include <QDate>
#include <QDateTime>
#include <QLocale>
#include <QTime>

#include <cmath>
#include <limits>

namespace {

constexpr double msecsPerDay = 86400000.0;

QString shownValue(const QVariant& v)
{
    return v.canConvert<QString>() ? v.toString() : QString::fromLatin1(v.typeName());
}

[[noreturn]] void notInteger(const QVariant& v)
{
    throw ConversionError(QStringLiteral("'%1' nem érvényes egész szám").arg(shownValue(v)));
}

[[noreturn]] void notNumber(const QVariant& v)
{
    throw ConversionError(QStringLiteral("'%1' nem érvényes szám").arg(shownValue(v)));
}

// Day numbers before the epoch keep the time of day as a positive fraction, as the
// catalogue's older date values do: 1899-12-29 12:00 is -1.5.
double dayNumber(const QDate& date, const QTime& time)
{
    const double days = double(QDate(1899, 12, 30).daysTo(date));
    const double frac = time.isValid() ? time.msecsSinceStartOfDay() / msecsPerDay : 0.0;
    return days < 0 ? days - frac : days + frac;
}

bool isDateType(const QVariant& v)
{
    const int id = v.metaType().id();
    return id == QMetaType::QDate || id == QMetaType::QDateTime || id == QMetaType::QTime;
}

double dateValue(const QVariant& v)
{
    switch (v.metaType().id()) {
    case QMetaType::QDate:
        return dayNumber(v.toDate(), QTime());
    case QMetaType::QDateTime: {
        const QDateTime dt = v.toDateTime();
        return dayNumber(dt.date(), dt.time());
    }
    default:
        return v.toTime().msecsSinceStartOfDay() / msecsPerDay;
    }
}

bool isTextType(const QVariant& v)
{
    const int id = v.metaType().id();
    return id == QMetaType::QString || id == QMetaType::QByteArray || id == QMetaType::QChar;
}

bool isNumberType(const QVariant& v)
{
    switch (v.metaType().id()) {
    case QMetaType::Bool:
    case QMetaType::Int:
    case QMetaType::UInt:
    case QMetaType::Long:
    case QMetaType::ULong:
    case QMetaType::LongLong:
    case QMetaType::ULongLong:
    case QMetaType::Short:
    case QMetaType::UShort:
    case QMetaType::Char:
    case QMetaType::SChar:
    case QMetaType::UChar:
    case QMetaType::Double:
    case QMetaType::Float:
        return true;
    default:
        return false;
    }
}

int toInt32(double value, const QVariant& original)
{
    if (!std::isfinite(value)) notInteger(original);
    const double rounded = std::nearbyint(value); // the default rounding mode: half to even
    if (rounded < double(std::numeric_limits<int>::min()) ||
        rounded > double(std::numeric_limits<int>::max()))
        throw ConversionError(
            QStringLiteral("'%1' kívül esik az egész számok tartományán").arg(shownValue(original)));
    return int(rounded);
}

} // namespace

bool VarIsNull(const QVariant& v)
{
    return !v.isValid() || v.isNull();
}

QString VarToStrDef(const QVariant& v, const QString& def)
{
    return VarIsNull(v) ? def : v.toString();
}

int VarToIntDef(const QVariant& v, int def)
{
    if (VarIsNull(v)) return def;
    if (isTextType(v)) {
        bool ok = false;
        const qlonglong n = v.toString().trimmed().toLongLong(&ok);
        if (!ok) notInteger(v);
        return toInt32(double(n), v);
    }
    if (isDateType(v)) return toInt32(dateValue(v), v);
    if (!isNumberType(v)) notInteger(v);
    const int id = v.metaType().id();
    if (id == QMetaType::Double || id == QMetaType::Float) return toInt32(v.toDouble(), v);
    if (id == QMetaType::ULongLong || id == QMetaType::ULong) {
        const qulonglong n = v.toULongLong();
        if (n > qulonglong(std::numeric_limits<int>::max())) return toInt32(double(n), v);
        return int(n);
    }
    return toInt32(double(v.toLongLong()), v);
}

double VarToFloatDef(const QVariant& v, double def)
{
    if (VarIsNull(v)) return def;
    if (isTextType(v)) {
        const QString text = v.toString().trimmed();
        // Hungarian text uses a decimal comma; "1,500" is one and a half, never a grouped 1500.
        QLocale c = QLocale::c();
        c.setNumberOptions(QLocale::RejectGroupSeparator);
        bool ok = false;
        const double d = c.toDouble(QString(text).replace(QLatin1Char(','), QLatin1Char('.')), &ok);
        if (!ok || !std::isfinite(d)) notNumber(v);
        return d;
    }
    if (isDateType(v)) return dateValue(v);
    if (!isNumberType(v)) notNumber(v);
    return v.toDouble();
}

QString VarToIntStr(const QVariant& v)
{
    return QString::number(VarToIntDef(v, 0));
}

QVariant IfThenVar(bool condition, const QVariant& whenTrue, const QVariant& whenFalse)
{
    return condition ? whenTrue : whenFalse;
}
