#include "Decimal.h"

#include "Exceptions.h"

#include <charconv>
#include <cmath>
#include <iterator>
#include <limits>

using namespace Qt::Literals::StringLiterals;

namespace {

__extension__ typedef __int128 Int128;

[[noreturn]] void throwOverflow()
{
    throw EConvertError(u"Importo fuori dall'intervallo ammesso"_s);
}

std::int64_t checkedMul(std::int64_t a, std::int64_t b)
{
    std::int64_t r = 0;
    if (__builtin_mul_overflow(a, b, &r))
        throwOverflow();
    return r;
}

std::int64_t checkedAdd(std::int64_t a, std::int64_t b)
{
    std::int64_t r = 0;
    if (__builtin_add_overflow(a, b, &r))
        throwOverflow();
    return r;
}

// Divides rounding half away from zero.
std::int64_t divRound(Int128 numerator, Int128 denominator)
{
    if (denominator == 0)
        throw EConvertError(u"Divisione per zero"_s);
    const bool negative = (numerator < 0) != (denominator < 0);
    Int128 n = numerator < 0 ? -numerator : numerator;
    const Int128 d = denominator < 0 ? -denominator : denominator;
    Int128 q = n / d;
    if ((n % d) * 2 >= d)
        ++q;
    if (negative)
        q = -q;
    if (q > std::numeric_limits<std::int64_t>::max() || q < std::numeric_limits<std::int64_t>::min())
        throwOverflow();
    return static_cast<std::int64_t>(q);
}

constexpr std::int64_t kPow10[] = {1, 10, 100, 1000, 10000};

} // namespace

Decimal Decimal::fromInt(std::int64_t value)
{
    return fromUnits(checkedMul(value, kUnitsPerOne));
}

Decimal Decimal::fromDouble(double value)
{
    // The shortest decimal text that reads back as the same double is the
    // amount that was written (0.1 + 0.2 gives "0.30000000000000004", an
    // amount of 13 digits and two decimals comes back whole), rounded to four
    // decimals; scaling the binary value would lose the last digits.
    if (!std::isfinite(value) || std::fabs(value) >= 9.2e14)
        throwOverflow();
    // Below 1e11 two amounts of four decimals are farther apart than two
    // doubles: the one whose quotient by 10,000 is the value itself is that
    // shortest text, without writing it out.
    if (std::fabs(value) < 1e11) {
        const auto units = static_cast<std::int64_t>(std::round(value * static_cast<double>(kUnitsPerOne)));
        if (static_cast<double>(units) / static_cast<double>(kUnitsPerOne) == value)
            return fromUnits(units);
    }
    char text[64];
    const auto [end, error] = std::to_chars(std::begin(text), std::end(text), value, std::chars_format::fixed);
    if (error != std::errc())
        throwOverflow();
    const auto d = parseC(QString::fromLatin1(text, end - text));
    if (!d)
        throwOverflow();
    return *d;
}

std::optional<double> Decimal::toDoubleExact() const
{
    // Up to fifteen significant digits a double tells every amount from its
    // neighbours, and the quotient of two exact doubles is the double nearest
    // to the amount: the one its text reads as.
    constexpr std::int64_t kExactUnits = 1000000000000000;
    if (m_units > -kExactUnits && m_units < kExactUnits)
        return static_cast<double>(m_units) / static_cast<double>(kUnitsPerOne);
    const QByteArray text = toString().replace(u',', u'.').toLatin1();
    double value = 0;
    const auto [end, error] = std::from_chars(text.constData(), text.constData() + text.size(), value);
    if (error != std::errc() || end != text.constData() + text.size() || fromDouble(value) != *this)
        return std::nullopt;
    return value;
}

std::optional<Decimal> Decimal::parse(const QString &text)
{
    return parseWith(text, u',');
}

std::optional<Decimal> Decimal::parseC(const QString &text)
{
    return parseWith(text, u'.');
}

std::optional<Decimal> Decimal::parseWith(const QString &text, QChar separator)
{
    const QString t = text.trimmed();
    qsizetype i = 0;
    bool negative = false;
    if (i < t.size() && (t[i] == u'-' || t[i] == u'+')) {
        negative = t[i] == u'-';
        ++i;
    }
    Int128 units = 0;
    int intDigits = 0;
    // The Italian form groups thousands with full stops ("1.234.567"): every
    // group after the first has three digits, the first one to three.
    const bool grouping = separator == u',';
    int groupDigits = 0;
    bool grouped = false;
    for (; i < t.size(); ++i) {
        if (grouping && t[i] == u'.') {
            if (groupDigits == 0 || groupDigits > 3 || (grouped && groupDigits != 3))
                return std::nullopt;
            grouped = true;
            groupDigits = 0;
            continue;
        }
        if (!t[i].isDigit() || t[i].unicode() >= 128)
            break;
        units = units * 10 + (t[i].unicode() - u'0');
        if (units > std::numeric_limits<std::int64_t>::max())
            return std::nullopt;
        ++intDigits;
        ++groupDigits;
    }
    if (grouped && groupDigits != 3)
        return std::nullopt;
    units *= kUnitsPerOne;
    int fracDigits = 0;
    bool roundUp = false;
    if (i < t.size() && t[i] == separator) {
        ++i;
        while (i < t.size() && t[i].isDigit() && t[i].unicode() < 128) {
            const int digit = t[i].unicode() - u'0';
            if (fracDigits < kScale)
                units += digit * kPow10[kScale - 1 - fracDigits];
            else if (fracDigits == kScale)
                roundUp = digit >= 5;
            ++fracDigits;
            ++i;
        }
    }
    if (i != t.size() || (intDigits == 0 && fracDigits == 0))
        return std::nullopt;
    if (roundUp)
        ++units;
    if (units > std::numeric_limits<std::int64_t>::max())
        return std::nullopt;
    const auto u = static_cast<std::int64_t>(units);
    return fromUnits(negative ? -u : u);
}

double Decimal::toDouble() const
{
    return static_cast<double>(m_units) / static_cast<double>(kUnitsPerOne);
}

Decimal Decimal::rounded(int decimals) const
{
    if (decimals >= kScale)
        return *this;
    const std::int64_t step = kPow10[kScale - (decimals < 0 ? 0 : decimals)];
    return fromUnits(checkedMul(divRound(m_units, step), step));
}

QString Decimal::toString() const
{
    QString s = toString(kScale);
    if (s.contains(u',')) {
        while (s.endsWith(u'0'))
            s.chop(1);
        if (s.endsWith(u','))
            s.chop(1);
    }
    return s;
}

QString Decimal::toString(int decimals) const
{
    if (decimals < 0)
        decimals = 0;
    if (decimals > kScale)
        decimals = kScale;
    const Decimal r = rounded(decimals);
    const bool negative = r.m_units < 0;
    // Work on the unsigned magnitude so that the smallest value has a sign too.
    const auto magnitude = negative ? 0 - static_cast<std::uint64_t>(r.m_units)
                                    : static_cast<std::uint64_t>(r.m_units);
    const auto whole = magnitude / static_cast<std::uint64_t>(kUnitsPerOne);
    const auto frac = magnitude % static_cast<std::uint64_t>(kUnitsPerOne);
    QString s = QString::number(whole);
    if (decimals > 0) {
        const auto shown = frac / static_cast<std::uint64_t>(kPow10[kScale - decimals]);
        s += u',' + QString::number(shown).rightJustified(decimals, u'0');
    }
    if (negative && magnitude != 0)
        s.prepend(u'-');
    return s;
}

Decimal Decimal::operator-() const
{
    if (m_units == std::numeric_limits<std::int64_t>::min())
        throwOverflow();
    return fromUnits(-m_units);
}

Decimal Decimal::operator+(Decimal other) const
{
    return fromUnits(checkedAdd(m_units, other.m_units));
}

Decimal Decimal::operator-(Decimal other) const
{
    return *this + (-other);
}

Decimal Decimal::operator*(Decimal other) const
{
    return fromUnits(divRound(static_cast<Int128>(m_units) * other.m_units, kUnitsPerOne));
}

Decimal Decimal::operator/(Decimal other) const
{
    return fromUnits(divRound(static_cast<Int128>(m_units) * kUnitsPerOne, other.m_units));
}
