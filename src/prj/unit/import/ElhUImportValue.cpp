#include "ElhUImportValue.h"

#include "Conversions.h"
#include "Exceptions.h"
#include "Field.h"

#include <cmath>
#include <limits>

using namespace Qt::Literals::StringLiterals;

namespace {

// Days from 30/12/1899, as the suite counts dates.
constexpr qint64 kSerialEpochJulianDay = 2415019;

[[noreturn]] void outOfRange()
{
    throw EConvertError(u"Risultato fuori dall'intervallo ammesso"_s);
}

double finite(double value)
{
    if (!std::isfinite(value))
        outOfRange();
    return value;
}

using Operator = ImportValue::Operator;

qint64 integerResult(Operator op, qint64 a, qint64 b)
{
    qint64 r = 0;
    bool overflow = false;
    switch (op) {
    case Operator::Add:
        overflow = __builtin_add_overflow(a, b, &r);
        break;
    case Operator::Subtract:
        overflow = __builtin_sub_overflow(a, b, &r);
        break;
    case Operator::Multiply:
        overflow = __builtin_mul_overflow(a, b, &r);
        break;
    case Operator::Divide:
        break;
    }
    if (overflow)
        outOfRange();
    return r;
}

Decimal currencyResult(Operator op, Decimal a, Decimal b)
{
    switch (op) {
    case Operator::Add:
        return a + b;
    case Operator::Subtract:
        return a - b;
    case Operator::Multiply:
        return a * b;
    case Operator::Divide:
        return a / b;
    }
    return a;
}

double floatResult(Operator op, double a, double b)
{
    switch (op) {
    case Operator::Add:
        return finite(a + b);
    case Operator::Subtract:
        return finite(a - b);
    case Operator::Multiply:
        return finite(a * b);
    case Operator::Divide:
        return finite(a / b);
    }
    return a;
}

} // namespace

ImportValue ImportValue::null()
{
    ImportValue v;
    v.m_value = NullTag{};
    return v;
}

ImportValue::ImportValue(bool value)
    : m_value(value)
{
}

ImportValue::ImportValue(qint64 value)
    : m_value(value)
{
}

ImportValue::ImportValue(Decimal value)
    : m_value(value)
{
}

ImportValue::ImportValue(double value)
    : m_value(value)
{
}

ImportValue::ImportValue(QDate value)
    : m_value(value)
{
}

ImportValue::ImportValue(QString value)
    : m_value(std::move(value))
{
}

ImportValue ImportValue::fromField(const Field &field)
{
    if (field.isNull())
        return null();
    switch (field.dataType()) {
    case FieldType::Integer:
    case FieldType::LargeInt:
        return ImportValue(field.asLargeInt());
    case FieldType::Decimal:
        return ImportValue(field.asCurrency());
    case FieldType::Float:
    case FieldType::DateTime:
        return ImportValue(field.asFloat());
    case FieldType::Date:
        return ImportValue(field.asDate());
    case FieldType::Boolean:
        return ImportValue(field.asBoolean());
    case FieldType::String:
    case FieldType::Memo:
    case FieldType::Blob:
        break;
    }
    return ImportValue(field.asString());
}

QString ImportValue::toText() const
{
    switch (kind()) {
    case Kind::Empty:
    case Kind::Null:
        return QString();
    case Kind::Boolean:
        return Conv::boolToText(std::get<bool>(m_value));
    case Kind::Integer:
        return QString::number(std::get<qint64>(m_value));
    case Kind::Currency:
        return std::get<Decimal>(m_value).toString();
    case Kind::Float:
        return Conv::floatToText(std::get<double>(m_value));
    case Kind::Date:
        return Conv::dateToText(std::get<QDate>(m_value));
    case Kind::Text:
        break;
    }
    return std::get<QString>(m_value);
}

ImportValue ImportValue::numeric() const
{
    switch (kind()) {
    case Kind::Empty:
        return ImportValue(qint64(0));
    case Kind::Null:
    case Kind::Integer:
    case Kind::Currency:
    case Kind::Float:
        return *this;
    case Kind::Boolean:
        return ImportValue(qint64(std::get<bool>(m_value) ? 1 : 0));
    case Kind::Date: {
        const QDate d = std::get<QDate>(m_value);
        return ImportValue(d.isValid() ? d.toJulianDay() - kSerialEpochJulianDay : qint64(0));
    }
    case Kind::Text:
        break;
    }
    const QString &text = std::get<QString>(m_value);
    if (text.trimmed().isEmpty())
        return ImportValue(qint64(0));
    if (const auto i = Conv::parseInteger(text))
        return ImportValue(*i);
    if (const auto c = Decimal::parse(text))
        return ImportValue(*c);
    if (const auto f = Conv::parseFloat(text))
        return ImportValue(*f);
    throw EConvertError(u"'%1' non è un numero valido"_s.arg(text));
}

qint32 ImportValue::toInt32() const
{
    const ImportValue n = numeric();
    qint64 whole = 0;
    switch (n.kind()) {
    case Kind::Integer:
        whole = std::get<qint64>(n.m_value);
        break;
    case Kind::Currency:
        whole = std::get<Decimal>(n.m_value).rounded(0).truncated();
        break;
    case Kind::Float: {
        const double r = std::round(std::get<double>(n.m_value));
        if (!(std::fabs(r) <= 2147483648.0))
            outOfRange();
        whole = static_cast<qint64>(r);
        break;
    }
    default:
        break;
    }
    if (whole < std::numeric_limits<qint32>::min() || whole > std::numeric_limits<qint32>::max())
        outOfRange();
    return static_cast<qint32>(whole);
}

bool ImportValue::equals(qint64 number) const
{
    switch (kind()) {
    case Kind::Integer:
        return std::get<qint64>(m_value) == number;
    case Kind::Currency:
        return std::get<Decimal>(m_value) == Decimal::fromInt(number);
    case Kind::Float:
        return std::get<double>(m_value) == static_cast<double>(number);
    default:
        return false;
    }
}

void ImportValue::writeTo(Field &field) const
{
    switch (kind()) {
    case Kind::Empty:
    case Kind::Null:
        field.clear();
        return;
    case Kind::Boolean:
        field.setAsBoolean(std::get<bool>(m_value));
        return;
    case Kind::Integer:
        field.setAsInteger(std::get<qint64>(m_value));
        return;
    case Kind::Currency:
        field.setAsCurrency(std::get<Decimal>(m_value));
        return;
    case Kind::Float:
        field.setAsFloat(std::get<double>(m_value));
        return;
    case Kind::Date: {
        const QDate d = std::get<QDate>(m_value);
        if (!d.isValid() || d == zeroDate())
            field.clear();
        else
            field.setAsDate(d);
        return;
    }
    case Kind::Text: {
        // What the field could not keep whole is refused, never cut.
        field.setAsCheckedString(std::get<QString>(m_value));
        return;
    }
    }
}

Decimal ImportValue::currencyValue() const
{
    return kind() == Kind::Integer ? Decimal::fromInt(std::get<qint64>(m_value)) : std::get<Decimal>(m_value);
}

double ImportValue::floatValue() const
{
    switch (kind()) {
    case Kind::Integer:
        return static_cast<double>(std::get<qint64>(m_value));
    case Kind::Currency:
        return std::get<Decimal>(m_value).toDouble();
    default:
        return std::get<double>(m_value);
    }
}

ImportValue ImportValue::arithmetic(Operator op, const ImportValue &lhs, const ImportValue &rhs)
{
    const ImportValue a = lhs.numeric();
    const ImportValue b = rhs.numeric();
    if (a.isNull() || b.isNull())
        return null();
    const Kind kind = std::max(a.kind(), b.kind());
    if (kind == Kind::Float)
        return ImportValue(floatResult(op, a.floatValue(), b.floatValue()));
    if (kind == Kind::Currency || op == Operator::Divide)
        return ImportValue(currencyResult(op, a.currencyValue(), b.currencyValue()));
    return ImportValue(integerResult(op, std::get<qint64>(a.m_value), std::get<qint64>(b.m_value)));
}

ImportValue operator+(const ImportValue &a, const ImportValue &b)
{
    return ImportValue::arithmetic(ImportValue::Operator::Add, a, b);
}

ImportValue operator-(const ImportValue &a, const ImportValue &b)
{
    return ImportValue::arithmetic(ImportValue::Operator::Subtract, a, b);
}

ImportValue operator*(const ImportValue &a, const ImportValue &b)
{
    return ImportValue::arithmetic(ImportValue::Operator::Multiply, a, b);
}

ImportValue operator/(const ImportValue &a, const ImportValue &b)
{
    return ImportValue::arithmetic(ImportValue::Operator::Divide, a, b);
}

ImportValue ImportValue::min(const ImportValue &a, const ImportValue &b)
{
    return ImportValue(qint64(std::min(a.toInt32(), b.toInt32())));
}

ImportValue ImportValue::max(const ImportValue &a, const ImportValue &b)
{
    return ImportValue(qint64(std::max(a.toInt32(), b.toInt32())));
}
