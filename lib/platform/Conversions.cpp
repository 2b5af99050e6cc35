#include "Conversions.h"

#include <QRegularExpression>

#include <algorithm>
#include <cmath>

using namespace Qt::Literals::StringLiterals;

namespace Conv {

QString dateToText(const QDate &date)
{
    if (!date.isValid())
        return QString();
    int year = 0;
    int month = 0;
    int day = 0;
    date.getDate(&year, &month, &day);
    if (year < 1 || year > 9999)
        return date.toString(u"dd/MM/yyyy"_s);
    const char16_t text[] = {
        char16_t(u'0' + day / 10),    char16_t(u'0' + day % 10),        u'/',
        char16_t(u'0' + month / 10),  char16_t(u'0' + month % 10),      u'/',
        char16_t(u'0' + year / 1000), char16_t(u'0' + year / 100 % 10), char16_t(u'0' + year / 10 % 10),
        char16_t(u'0' + year % 10),
    };
    return QString(reinterpret_cast<const QChar *>(text), std::size(text));
}

QString dateTimeToText(const QDateTime &dateTime)
{
    if (!dateTime.isValid())
        return QString();
    const QTime t = dateTime.time();
    if (t == QTime(0, 0))
        return dateToText(dateTime.date());
    return dateToText(dateTime.date()) + u' ' + t.toString(u"hh:mm:ss"_s);
}

QString floatToText(double value)
{
    if (value == 0.0)
        return u"0"_s;
    QString s = QString::number(value, 'g', 15);
    s.replace(u'.', u',');
    return s;
}

QString boolToText(bool value)
{
    return value ? u"True"_s : u"False"_s;
}

QString toText(const QVariant &value)
{
    if (!value.isValid() || value.isNull())
        return QString();
    switch (value.metaType().id()) {
    case QMetaType::QString:
        return value.toString();
    case QMetaType::Double:
    case QMetaType::Float:
        return floatToText(value.toDouble());
    case QMetaType::QDate:
        return dateToText(value.toDate());
    case QMetaType::QDateTime:
        return dateTimeToText(value.toDateTime());
    case QMetaType::Bool:
        return boolToText(value.toBool());
    case QMetaType::QByteArray:
        return QString::fromLatin1(value.toByteArray());
    default:
        break;
    }
    if (value.metaType() == QMetaType::fromType<Decimal>())
        return value.value<Decimal>().toString();
    return value.toString();
}

std::optional<QDate> parseDate(const QString &text)
{
    // dd/mm/yyyy, as dateToText writes it, read without the expressions.
    constexpr QStringView kShape = u"00/00/0000";
    const auto fits = [](QChar c, QChar shape) { return shape == u'/' ? c == u'/' : c >= u'0' && c <= u'9'; };
    if (std::equal(text.cbegin(), text.cend(), kShape.cbegin(), kShape.cend(), fits)) {
        const auto digit = [&text](qsizetype i) { return text[i].unicode() - u'0'; };
        const QDate d(digit(6) * 1000 + digit(7) * 100 + digit(8) * 10 + digit(9), digit(3) * 10 + digit(4),
                      digit(0) * 10 + digit(1));
        return d.isValid() ? std::optional<QDate>(d) : std::nullopt;
    }
    static const QRegularExpression italian(uR"(^\s*(\d{1,2})/(\d{1,2})/(\d{2}|\d{4})\s*$)"_s);
    static const QRegularExpression iso(uR"(^\s*(\d{4})-(\d{2})-(\d{2})\s*$)"_s);
    int day = 0;
    int month = 0;
    int year = 0;
    if (const auto m = italian.match(text); m.hasMatch()) {
        day = m.captured(1).toInt();
        month = m.captured(2).toInt();
        year = m.captured(3).toInt();
        if (m.captured(3).size() == 2)
            year += year < 50 ? 2000 : 1900;
    } else if (const auto i = iso.match(text); i.hasMatch()) {
        year = i.captured(1).toInt();
        month = i.captured(2).toInt();
        day = i.captured(3).toInt();
    } else {
        return std::nullopt;
    }
    const QDate d(year, month, day);
    if (!d.isValid())
        return std::nullopt;
    return d;
}

std::optional<QDateTime> parseDateTime(const QString &text)
{
    static const QRegularExpression withTime(uR"(^\s*(\S+)(?:[ T](\d{1,2}):(\d{2})(?::(\d{2}))?)?\s*$)"_s);
    const auto m = withTime.match(text);
    if (!m.hasMatch())
        return std::nullopt;
    const auto date = parseDate(m.captured(1));
    if (!date)
        return std::nullopt;
    QTime time(0, 0);
    if (m.capturedLength(2) > 0) {
        time = QTime(m.captured(2).toInt(), m.captured(3).toInt(), m.captured(4).toInt());
        if (!time.isValid())
            return std::nullopt;
    }
    return QDateTime(*date, time, Qt::UTC);
}

std::optional<qint64> parseInteger(const QString &text)
{
    bool ok = false;
    const qint64 v = text.trimmed().toLongLong(&ok, 10);
    if (!ok)
        return std::nullopt;
    return v;
}

std::optional<double> parseFloat(const QString &text)
{
    // Full stops group thousands ("1.234,5"); they are never a decimal point.
    static const QRegularExpression number(uR"(^\s*[+-]?((\d{1,3}(\.\d{3})+|\d+)(,\d*)?|,\d+)([eE][+-]?\d+)?\s*$)"_s);
    if (!number.match(text).hasMatch())
        return std::nullopt;
    QString c = text.trimmed();
    c.remove(u'.');
    c.replace(u',', u'.');
    bool ok = false;
    const double v = c.toDouble(&ok);
    if (!ok || !std::isfinite(v))
        return std::nullopt;
    return v;
}

std::optional<bool> parseBool(const QString &text)
{
    const QString t = text.trimmed().toLower();
    if (t == u"true" || t == u"1" || t == u"si" || t == u"sì" || t == u"vero")
        return true;
    if (t == u"false" || t == u"0" || t == u"no" || t == u"falso")
        return false;
    return std::nullopt;
}

namespace {

struct Mask
{
    QString prefix;
    QString suffix;
    bool thousands = false;
    int minInt = 0;
    int minFrac = 0;
    int maxFrac = 0;
};

Mask parseMask(const QString &mask)
{
    Mask m;
    qsizetype first = -1;
    qsizetype last = -1;
    for (qsizetype i = 0; i < mask.size(); ++i) {
        const QChar c = mask[i];
        if (c == u'0' || c == u'#' || c == u',' || c == u'.') {
            if (first < 0)
                first = i;
            last = i;
        }
    }
    if (first < 0) {
        m.prefix = mask;
        return m;
    }
    m.prefix = mask.left(first);
    m.suffix = mask.mid(last + 1);
    bool inFraction = false;
    bool seenZero = false;
    for (qsizetype i = first; i <= last; ++i) {
        const QChar c = mask[i];
        if (c == u'.') {
            inFraction = true;
        } else if (inFraction) {
            if (c == u'0') {
                ++m.maxFrac;
                m.minFrac = m.maxFrac;
            } else if (c == u'#') {
                ++m.maxFrac;
            }
        } else if (c == u',') {
            m.thousands = true;
        } else if (c == u'0') {
            seenZero = true;
            ++m.minInt;
        } else if (c == u'#' && seenZero) {
            ++m.minInt;
        }
    }
    return m;
}

// digits: the magnitude rounded to maxFrac decimals, as "123.4500" in C form.
QString applyMask(const Mask &m, bool negative, const QString &digits)
{
    const qsizetype dot = digits.indexOf(u'.');
    QString whole = dot < 0 ? digits : digits.left(dot);
    QString frac = dot < 0 ? QString() : digits.mid(dot + 1);
    while (frac.size() > m.minFrac && frac.endsWith(u'0'))
        frac.chop(1);
    while (whole.size() > 1 && whole.startsWith(u'0'))
        whole.remove(0, 1);
    if (whole == u"0" && m.minInt == 0)
        whole.clear();
    if (whole.size() < m.minInt)
        whole = whole.rightJustified(m.minInt, u'0');
    if (m.thousands) {
        for (qsizetype i = whole.size() - 3; i > 0; i -= 3)
            whole.insert(i, u'.');
    }
    QString body = whole;
    if (!frac.isEmpty())
        body += u',' + frac;
    const bool isZero = std::none_of(digits.cbegin(), digits.cend(), [](QChar c) { return c >= u'1' && c <= u'9'; });
    return m.prefix + (negative && !isZero ? u"-"_s : QString()) + body + m.suffix;
}

} // namespace

QString formatFloat(const QString &mask, Decimal value)
{
    const Mask m = parseMask(mask);
    const int decimals = m.maxFrac > Decimal::kScale ? Decimal::kScale : m.maxFrac;
    const Decimal r = value.rounded(decimals);
    QString digits = r.toString(Decimal::kScale);
    const bool negative = digits.startsWith(u'-');
    if (negative)
        digits.remove(0, 1);
    digits.replace(u',', u'.');
    if (m.maxFrac > Decimal::kScale)
        digits += QString(m.maxFrac - Decimal::kScale, u'0');
    return applyMask(m, negative, digits);
}

QString formatFloat(const QString &mask, double value)
{
    const Mask m = parseMask(mask);
    const double scale = std::pow(10.0, m.maxFrac);
    const double rounded = std::round(std::fabs(value) * scale) / scale;
    return applyMask(m, value < 0, QString::number(rounded, 'f', m.maxFrac));
}

} // namespace Conv
