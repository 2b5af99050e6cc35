#pragma once

#include <QMetaType>
#include <QString>

#include <compare>
#include <cstdint>
#include <optional>

// Exact amount with four decimals, held as a count of ten-thousandths.
// Amounts of the return never pass through binary floating point: sums,
// differences and roundings are exact. Arithmetic that leaves the range of
// a 64-bit count raises EConvertError instead of wrapping.
class Decimal
{
public:
    static constexpr int kScale = 4;
    static constexpr std::int64_t kUnitsPerOne = 10000;

    constexpr Decimal() = default;

    static constexpr Decimal fromUnits(std::int64_t units)
    {
        Decimal d;
        d.m_units = units;
        return d;
    }
    static Decimal fromInt(std::int64_t value);
    // The amount whose shortest decimal text reads back as the value, rounded
    // half away from zero to four decimals.
    static Decimal fromDouble(double value);
    // Italian form: optional sign, digits optionally grouped by thousands
    // with full stops, optional comma and decimals ("-1.234,5", "1234,5").
    // Blanks around are ignored. More than four decimals are rounded half
    // away from zero. Returns nothing on any other text: a full stop is never
    // read as a decimal point ("1.23" is refused, "1.234" is 1234).
    static std::optional<Decimal> parse(const QString &text);
    // Same as parse() with the decimal point of the C locale ("1234.5"),
    // used for machine formats (JSON, SQL) and never for what a user types.
    static std::optional<Decimal> parseC(const QString &text);

    constexpr std::int64_t units() const { return m_units; }
    double toDouble() const;
    // The double that gives this amount back through fromDouble(); nothing
    // when none does (some amounts beyond fifteen significant digits share a
    // double with their neighbour), so that a store of binary numbers can
    // refuse the amount instead of altering it.
    std::optional<double> toDoubleExact() const;
    // Whole part, truncated toward zero.
    std::int64_t truncated() const { return m_units / kUnitsPerOne; }
    // Rounded to `decimals` (0..4) half away from zero.
    Decimal rounded(int decimals) const;
    bool isZero() const { return m_units == 0; }

    // Italian text with the decimals it needs and no thousands separator:
    // 1234,5 ; -0,25 ; 100.
    QString toString() const;
    // Italian text with exactly `decimals` decimals (rounded half away).
    QString toString(int decimals) const;

    Decimal operator-() const;
    Decimal operator+(Decimal other) const;
    Decimal operator-(Decimal other) const;
    // Products and quotients are rounded half away from zero to four decimals.
    Decimal operator*(Decimal other) const;
    Decimal operator/(Decimal other) const;
    Decimal &operator+=(Decimal other) { return *this = *this + other; }
    Decimal &operator-=(Decimal other) { return *this = *this - other; }

    constexpr auto operator<=>(const Decimal &) const = default;

private:
    static std::optional<Decimal> parseWith(const QString &text, QChar separator);

    std::int64_t m_units = 0;
};

Q_DECLARE_METATYPE(Decimal)
