#include "numbering.h"

#include <QLocale>
#include <QStringList>

#include <cmath>

namespace {

// Splits at ";" outside quotes.
QStringList sections(const QString& mask)
{
    QStringList out;
    QString cur;
    QChar quote;
    for (QChar c : mask) {
        if (!quote.isNull()) {
            if (c == quote)
                quote = QChar();
            cur += c;
        } else if (c == u'\'' || c == u'"') {
            quote = c;
            cur += c;
        } else if (c == u';') {
            out.append(cur);
            cur.clear();
        } else {
            cur += c;
        }
    }
    out.append(cur);
    return out;
}

struct Item
{
    enum Kind { Literal, Digit, Point, Exponent } kind;
    QString text;   // literal text, or "E+"/"E-"
    bool zero = false; // "0" rather than "#"
};

QList<Item> parse(const QString& section, bool* thousands)
{
    QList<Item> items;
    *thousands = false;
    bool seenPoint = false;
    for (qsizetype i = 0; i < section.size(); ++i) {
        const QChar c = section[i];
        if (c == u'\'' || c == u'"') {
            const qsizetype end = section.indexOf(c, i + 1);
            const qsizetype stop = end < 0 ? section.size() : end;
            items.append({Item::Literal, section.mid(i + 1, stop - i - 1)});
            i = stop;
        } else if (c == u'0' || c == u'#') {
            items.append({Item::Digit, QString(), c == u'0'});
        } else if (c == u'.' && !seenPoint) {
            seenPoint = true;
            items.append({Item::Point, QString()});
        } else if (c == u',') {
            if (!seenPoint)
                *thousands = true;
        } else if ((c == u'E' || c == u'e') && i + 1 < section.size() &&
                   (section[i + 1] == u'+' || section[i + 1] == u'-')) {
            items.append({Item::Exponent, QString(c) + section[i + 1]});
            ++i;
        } else {
            items.append({Item::Literal, QString(c)});
        }
    }
    return items;
}

QString group(const QString& digits, const QString& sep)
{
    QString out;
    const qsizetype n = digits.size();
    for (qsizetype i = 0; i < n; ++i) {
        if (i > 0 && (n - i) % 3 == 0)
            out += sep;
        out += digits[i];
    }
    return out;
}

QString formatSection(double value, const QString& section)
{
    const QLocale hu(QLocale::Hungarian);
    bool thousands = false;
    const QList<Item> items = parse(section, &thousands);

    int intZeros = 0, intDigits = 0, fracZeros = 0, fracDigits = 0, expZeros = 0;
    int pointAt = -1, expAt = -1;
    for (int i = 0; i < items.size(); ++i) {
        const Item& it = items[i];
        if (it.kind == Item::Point)
            pointAt = i;
        else if (it.kind == Item::Exponent)
            expAt = i;
        else if (it.kind == Item::Digit) {
            if (expAt >= 0)
                expZeros += it.zero ? 1 : 0;
            else if (pointAt >= 0) {
                ++fracDigits;
                fracZeros += it.zero ? 1 : 0;
            } else {
                ++intDigits;
                intZeros += it.zero ? 1 : 0;
            }
        }
    }
    if (intDigits == 0 && fracDigits == 0 && expAt < 0) {
        QString out;
        for (const Item& it : items)
            out += it.text;
        return out;
    }

    double v = std::fabs(value);
    int exponent = 0;
    if (expAt >= 0 && v != 0.0) {
        const int lead = std::max(1, intDigits);
        exponent = static_cast<int>(std::floor(std::log10(v))) - (lead - 1);
        v /= std::pow(10.0, exponent);
        if (std::round(v * std::pow(10.0, fracDigits)) >= std::pow(10.0, lead + fracDigits)) {
            ++exponent;
            v /= 10.0;
        }
    }
    const double scaled = std::round(v * std::pow(10.0, fracDigits));
    QString all = QString::number(scaled, 'f', 0);
    while (all.size() <= fracDigits)
        all.prepend(u'0');
    QString intPart = all.left(all.size() - fracDigits);
    QString fracPart = all.right(fracDigits);
    if (intPart == QLatin1String("0") && intZeros == 0)
        intPart.clear();
    while (intPart.size() < intZeros)
        intPart.prepend(u'0');
    while (fracPart.size() > fracZeros && fracPart.endsWith(u'0'))
        fracPart.chop(1);

    // Digits are laid onto the integer placeholders from the right; the surplus goes to the first one.
    QStringList slot(intDigits);
    {
        int s = intDigits - 1;
        qsizetype d = intPart.size() - 1;
        while (s >= 0 && d >= 0) {
            slot[s--] = QString(intPart[d--]);
        }
        if (d >= 0 && intDigits > 0)
            slot[0] = intPart.left(d + 1) + slot[0];
    }
    if (thousands) {
        const QString joined = slot.join(QString());
        slot = QStringList(intDigits > 0 ? intDigits : 1);
        slot[0] = group(joined, hu.groupSeparator());
    }

    QString out;
    int intIndex = 0, fracIndex = 0;
    bool inFrac = false, inExp = false;
    for (int i = 0; i < items.size(); ++i) {
        const Item& it = items[i];
        switch (it.kind) {
        case Item::Literal: out += it.text; break;
        case Item::Point:
            inFrac = true;
            if (!fracPart.isEmpty())
                out += hu.decimalPoint();
            break;
        case Item::Exponent: {
            inExp = true;
            const bool alwaysSign = it.text.endsWith(u'+');
            out += it.text.left(1);
            if (exponent < 0)
                out += u'-';
            else if (alwaysSign)
                out += u'+';
            QString e = QString::number(std::abs(exponent));
            while (e.size() < expZeros)
                e.prepend(u'0');
            out += e;
            break;
        }
        case Item::Digit:
            if (inExp)
                break;
            if (inFrac) {
                if (fracIndex < fracPart.size())
                    out += fracPart[fracIndex];
                ++fracIndex;
            } else {
                if (intIndex < slot.size())
                    out += slot[intIndex];
                ++intIndex;
            }
            break;
        }
    }
    if (intDigits == 0 && !intPart.isEmpty() && pointAt >= 0)
        out.prepend(intPart);
    return out;
}

} // namespace

QString FormatMask(double value, const QString& mask)
{
    if (mask.isEmpty())
        return QString::number(value, 'f', value == std::floor(value) ? 0 : 6);
    const QStringList sec = sections(mask);
    if (value < 0) {
        if (sec.size() >= 2 && !sec[1].isEmpty())
            return formatSection(value, sec[1]);
        return QStringLiteral("-") + formatSection(value, sec[0]);
    }
    if (value == 0 && sec.size() >= 3 && !sec[2].isEmpty())
        return formatSection(value, sec[2]);
    return formatSection(value, sec[0]);
}
