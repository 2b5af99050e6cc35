#pragma once

#include "Decimal.h"

#include <QDate>
#include <QString>

#include <variant>

class Field;

// A value of the import engine: empty, null, Boolean, integer, currency
// (exact, four decimals), floating-point number, date or text, with the
// arithmetic of numbers between them. Integers and currency never pass
// through binary floating point: a sum of an integer and an amount is an
// amount, and only an operand that is already a float makes a float.
// Arithmetic with a null operand gives null; a result that leaves the range
// of its type raises EConvertError.
class ImportValue
{
public:
    // Integer, Currency and Float in the order in which arithmetic promotes them.
    enum class Kind { Empty, Null, Boolean, Integer, Currency, Float, Date, Text };
    enum class Operator { Add, Subtract, Multiply, Divide };

    ImportValue() = default;
    static ImportValue null();
    explicit ImportValue(bool value);
    explicit ImportValue(qint64 value);
    explicit ImportValue(Decimal value);
    explicit ImportValue(double value);
    explicit ImportValue(QDate value);
    explicit ImportValue(QString value);
    // The value of a field in its own type; null when the field is null.
    static ImportValue fromField(const Field &field);

    Kind kind() const { return static_cast<Kind>(m_value.index()); }
    bool isNull() const { return kind() == Kind::Null; }

    // The platform's standard (Italian) text: "1234,5", "31/12/2023", "True".
    QString toText() const;
    // The value as a number, as if 0 were added to it: Booleans count 1 and 0,
    // dates their serial day (days from 30/12/1899), blank text 0, other
    // text its number; null stays null. Text that is no number raises
    // EConvertError.
    ImportValue numeric() const;
    // Rounded half away from zero to a 32-bit integer (EConvertError outside it).
    qint32 toInt32() const;
    // Numeric equality with a whole number; false for null and for text.
    bool equals(qint64 number) const;

    // Writes the value into a field of a dataset in edit or insert state:
    // null clears it, the zero date (30/12/1899) too.
    void writeTo(Field &field) const;

    friend ImportValue operator+(const ImportValue &a, const ImportValue &b);
    friend ImportValue operator-(const ImportValue &a, const ImportValue &b);
    friend ImportValue operator*(const ImportValue &a, const ImportValue &b);
    // Real division: integers divide into an amount with four decimals.
    friend ImportValue operator/(const ImportValue &a, const ImportValue &b);
    // The smaller and the larger, both taken as 32-bit integers.
    static ImportValue min(const ImportValue &a, const ImportValue &b);
    static ImportValue max(const ImportValue &a, const ImportValue &b);

    // The date that stands for "no date" in the suite's data.
    static QDate zeroDate() { return QDate(1899, 12, 30); }

private:
    struct NullTag
    {
    };
    using Storage = std::variant<std::monostate, NullTag, bool, qint64, Decimal, double, QDate, QString>;
    static ImportValue arithmetic(Operator op, const ImportValue &lhs, const ImportValue &rhs);
    // Of a numeric value (integer, currency or float).
    Decimal currencyValue() const;
    double floatValue() const;

    Storage m_value;
};
