#include "PrintFormats.h"

#include "Conversions.h"
#include "Decimal.h"
#include "Exceptions.h"

#include <optional>

using namespace Qt::Literals::StringLiterals;

namespace PrintFormats {

namespace {

Decimal number(const QString &value, const QString &type)
{
    const std::optional<Decimal> d = Decimal::parse(value);
    if (!d)
        throw EConvertError(u"«%1» non è un numero valido (formato di stampa %2)"_s.arg(value, type));
    return *d;
}

Decimal numberOrZero(const QString &value)
{
    return Decimal::parse(value).value_or(Decimal());
}

QDate date(const QString &value, const QString &type)
{
    const std::optional<QDate> d = Conv::parseDate(value);
    if (!d)
        throw EConvertError(u"«%1» non è una data valida (formato di stampa %2)"_s.arg(value, type));
    return *d;
}

// n, which is not negative, with zeros in front up to `width` digits.
void appendDigits(QString &out, int n, int width)
{
    char16_t digits[10];
    int count = 0;
    do {
        digits[count++] = static_cast<char16_t>(u'0' + n % 10);
        n /= 10;
    } while (n > 0);
    for (int i = count; i < width; ++i)
        out += u'0';
    while (count > 0)
        out += QChar(digits[--count]);
}

// Day and month of a date with the gap between them, then the year after
// its own gap when there is one.
QString dateText(const QDate &d, QStringView afterDay, std::optional<QStringView> afterMonth)
{
    QString out;
    out.reserve(8 + afterDay.size() + afterMonth.value_or(QStringView()).size());
    appendDigits(out, d.day(), 2);
    out += afterDay;
    appendDigits(out, d.month(), 2);
    if (afterMonth) {
        out += *afterMonth;
        appendDigits(out, d.year(), 4);
    }
    return out;
}

// The same pieces cut from the text dd/mm/yyyy.
QString slicedDate(const QString &value, const QString &afterDay, const QString &afterMonth, bool withYear = true)
{
    QString out = value.mid(0, 2) + afterDay + value.mid(3, 2);
    if (withYear)
        out += afterMonth + value.mid(6, 4);
    return out;
}

QString spread(const QString &value, const QString &gap)
{
    QString out;
    out.reserve(value.size() * (1 + gap.size()));
    for (const QChar c : value)
        out += c + gap;
    return out;
}

QString markIf(const QString &value, const QString &expected)
{
    return value == expected ? u"X"_s : u" "_s;
}

QString wholeWithSeparators(Decimal value)
{
    return Conv::formatFloat(u"#,##0"_s, value);
}

// Blanks in front of a text shorter than `width`.
QString padded(const QString &value, int width)
{
    return value.size() < width ? QString(width - value.size(), u' ') + value : value;
}

// The codes both certificates share.
std::optional<CertificateValue> certificateValue(const QString &type, const QString &value)
{
    if (type == u"TR")
        return CertificateValue{wholeWithSeparators(Decimal::fromInt(number(value, type).truncated()))};
    if (type == u"FF")
        return CertificateValue{engineValue(type, value)};
    if (type == u"CB")
        return CertificateValue{value == u"1" ? u"X"_s : QString()};
    return std::nullopt;
}

} // namespace

THlkPdf::Alignment alignment(const QString &name)
{
    if (name.compare(u"taCenter", Qt::CaseInsensitive) == 0)
        return THlkPdf::Alignment::Centre;
    if (name.compare(u"taRightJustify", Qt::CaseInsensitive) == 0)
        return THlkPdf::Alignment::Right;
    return THlkPdf::Alignment::Left;
}

QString engineValue(const QString &type, const QString &value)
{
    if (type == u"FL")
        return Conv::formatFloat(u"0.00"_s, value.isEmpty() ? Decimal() : numberOrZero(value));
    if (type == u"M" || type == u"F")
        return markIf(value, type);
    if (value.isEmpty())
        return value;
    if (type == u"TR")
        return wholeWithSeparators(Decimal::fromInt(numberOrZero(value).truncated()));
    if (type == u"TA")
        return wholeWithSeparators(numberOrZero(value).rounded(0));
    if (type == u"FF")
        return value.trimmed().isEmpty() ? value : Conv::formatFloat(u"0.00"_s, number(value, type));
    if (type == u"DT")
        return dateText(date(value, type), u"  ", u"  ");
    if (type == u"DT2")
        return dateText(date(value, type), u"   ", u"  ");
    if (type == u"DA")
        return dateText(date(value, type), u" ", std::nullopt);
    if (type == u"CD")
        return padded(value, 11);
    if (type == u"CB")
        return value == u"1" ? u"X"_s : QString();
    return value;
}

CertificateValue employeeValue(const QString &type, const QString &value)
{
    if (std::optional<CertificateValue> shared = certificateValue(type, value))
        return *shared;
    if (type == u"TA")
        return {wholeWithSeparators(number(value, type).rounded(0))};
    if (type == u"A1") {
        // Something paid, however little, is never printed as nothing.
        const Decimal d = number(value, type);
        if (d > Decimal() && d < Decimal::fromInt(1))
            return {u"1"_s};
        if (d < Decimal() && d > Decimal::fromInt(-1))
            return {u"-1"_s};
        return {wholeWithSeparators(d.rounded(0))};
    }
    if (type == u"DT")
        return {dateText(date(value, type), u" ", u" "), 7};
    if (type == u"DA")
        return {dateText(date(value, type), u" ", std::nullopt), 7};
    if (type == u"SP")
        return {value, 14};
    if (type == u"CD")
        return {padded(value, 11), 14.5};
    return {value};
}

CertificateValue selfEmployedValue(const QString &type, const QString &value)
{
    if (std::optional<CertificateValue> shared = certificateValue(type, value))
        return *shared;
    if (type == u"AR")
        return {wholeWithSeparators(number(value, type).rounded(0))};
    if (type == u"DT")
        return {dateText(date(value, type), u" ", u" "), 2};
    if (type == u"SP")
        return {value, 5};
    if (type == u"TOT")
        return {padded(value, 9)};
    return {value};
}

QString frontispieceValue(const QString &type, const QString &value)
{
    if (type == u"TR")
        return value.isEmpty() ? u"0"_s : QString::number(number(value, type).truncated());
    if (type == u"AR") {
        if (value.isEmpty())
            return u"0"_s;
        const Decimal d = number(value, type);
        const std::int64_t whole = d.truncated();
        const std::int64_t fraction = d.units() - whole * Decimal::kUnitsPerOne;
        return QString::number(fraction * 2 >= Decimal::kUnitsPerOne ? whole + 1 : whole);
    }
    if (type == u"PC")
        return value.isEmpty() ? u"0"_s : value;
    if (type == u"M" || type == u"F")
        return markIf(value, type);
    if (value.isEmpty())
        return value;
    if (type == u"DT")
        return slicedDate(value, u"  "_s, u"  "_s);
    if (type == u"DTd")
        return slicedDate(value, u" "_s, u" "_s);
    if (type == u"DA")
        return slicedDate(value, u" "_s, QString(), false);
    if (type == u"SP")
        return spread(value, u" "_s);
    if (type == u"SP2")
        return spread(value, u"   "_s);
    if (type == u"CB")
        return value == u"1" ? u"X"_s : QString();
    return value;
}

} // namespace PrintFormats
