#include "Conversions.h"
#include "CaseFile.h"
#include "Cp1252.h"
#include "Decimal.h"
#include "Exceptions.h"
#include "TextLib.h"

#include <QMap>

#include <gtest/gtest.h>

#include <functional>
#include <random>

using namespace Qt::Literals::StringLiterals;

namespace {

using Args = QStringList;
using Function = std::function<QString(const Args &)>;

const QString kRefused = u"!"_s;

Decimal dec(const QString &text)
{
    const auto d = Decimal::parse(text);
    if (!d)
        throw std::runtime_error("bad amount in a case: " + text.toStdString());
    return *d;
}

template<class T, class Text>
QString orRefused(const std::optional<T> &value, Text text)
{
    return value ? text(*value) : kRefused;
}

QString units(Decimal d)
{
    return QString::number(d.units());
}

QString cp1252Positions(const QList<qsizetype> &positions)
{
    QStringList out;
    for (const qsizetype p : positions)
        out.append(QString::number(p));
    return u'|' + out.join(u' ');
}

Function arithmetic(Decimal (*op)(Decimal, Decimal))
{
    return [op](const Args &a) { return op(dec(a[0]), dec(a[1])).toString(); };
}

// The functions of the case file by name: each gives its result as text.
const QMap<QString, Function> &functions()
{
    static const QMap<QString, Function> table{
        {u"Decimal::parse"_s, [](const Args &a) { return orRefused(Decimal::parse(a[0]), units); }},
        {u"Decimal::parseC"_s, [](const Args &a) { return orRefused(Decimal::parseC(a[0]), units); }},
        {u"Decimal::toDoubleExact"_s,
         [](const Args &a) {
             return orRefused(dec(a[0]).toDoubleExact(), [](double d) { return Decimal::fromDouble(d).toString(); });
         }},
        {u"Decimal::fromDouble"_s, [](const Args &a) { return Decimal::fromDouble(a[0].toDouble()).toString(); }},
        {u"Decimal::fromInt"_s, [](const Args &a) { return Decimal::fromInt(a[0].toLongLong()).toString(); }},
        {u"Decimal::fromUnits"_s, [](const Args &a) { return Decimal::fromUnits(a[0].toLongLong()).toString(); }},
        {u"Decimal::toString"_s,
         [](const Args &a) { return a[1].isEmpty() ? dec(a[0]).toString() : dec(a[0]).toString(a[1].toInt()); }},
        {u"Decimal::rounded"_s, [](const Args &a) { return dec(a[0]).rounded(a[1].toInt()).toString(); }},
        {u"Decimal +"_s, arithmetic([](Decimal x, Decimal y) { return x + y; })},
        {u"Decimal -"_s, arithmetic([](Decimal x, Decimal y) { return x - y; })},
        {u"Decimal *"_s, arithmetic([](Decimal x, Decimal y) { return x * y; })},
        {u"Decimal /"_s, arithmetic([](Decimal x, Decimal y) { return x / y; })},
        {u"Conv::dateToText"_s, [](const Args &a) { return Conv::dateToText(QDate::fromString(a[0], Qt::ISODate)); }},
        {u"Conv::dateTimeToText"_s,
         [](const Args &a) { return Conv::dateTimeToText(QDateTime::fromString(a[0], Qt::ISODate)); }},
        {u"Conv::parseDate"_s,
         [](const Args &a) {
             return orRefused(Conv::parseDate(a[0]), [](QDate d) { return d.toString(Qt::ISODate); });
         }},
        {u"Conv::parseDateTime"_s,
         [](const Args &a) {
             return orRefused(Conv::parseDateTime(a[0]),
                              [](const QDateTime &d) { return d.toString(u"yyyy-MM-dd'T'HH:mm:ss"_s); });
         }},
        {u"Conv::floatToText"_s, [](const Args &a) { return Conv::floatToText(a[0].toDouble()); }},
        {u"Conv::parseFloat"_s,
         [](const Args &a) { return orRefused(Conv::parseFloat(a[0]), [](double d) { return QString::number(d); }); }},
        {u"Conv::parseInteger"_s,
         [](const Args &a) {
             return orRefused(Conv::parseInteger(a[0]), [](qint64 n) { return QString::number(n); });
         }},
        {u"Conv::toText"_s,
         [](const Args &a) {
             const QDate date = QDate::fromString(a[0], Qt::ISODate);
             return Conv::toText(a[0].isEmpty()   ? QVariant()
                                 : date.isValid() ? QVariant(date)
                                                  : QVariant::fromValue(dec(a[0])));
         }},
        {u"Conv::formatFloat"_s, [](const Args &a) { return Conv::formatFloat(a[0], dec(a[1])); }},
        {u"Conv::formatFloat double"_s, [](const Args &a) { return Conv::formatFloat(a[0], a[1].toDouble()); }},
        {u"TextLib::Trim"_s, [](const Args &a) { return TextLib::Trim(a[0]); }},
        {u"TextLib::TrimRight"_s, [](const Args &a) { return TextLib::TrimRight(a[0]); }},
        {u"TextLib::Right"_s, [](const Args &a) { return TextLib::Right(a[0], a[1].toInt()); }},
        {u"TextLib::Left"_s, [](const Args &a) { return TextLib::Left(a[0], a[1].toInt()); }},
        {u"TextLib::QuotedStr"_s, [](const Args &a) { return TextLib::QuotedStr(a[0]); }},
        {u"TextLib::IsNumeric"_s, [](const Args &a) { return TextLib::IsNumeric(a[0]) ? u"true"_s : u"false"_s; }},
        {u"Cp1252::encode"_s,
         [](const Args &a) -> QString {
             QList<qsizetype> unmapped;
             const QByteArray bytes = Cp1252::encode(a[0], &unmapped);
             return QString::fromLatin1(bytes.toHex(' ')) + cp1252Positions(unmapped);
         }},
        {u"Cp1252::toEncodable"_s,
         [](const Args &a) {
             QList<qsizetype> unmapped;
             QString encodable = Cp1252::toEncodable(a[0], &unmapped);
             encodable += cp1252Positions(unmapped);
             return encodable;
         }},
    };
    return table;
}

} // namespace

TEST(Conversions, EveryCaseGivesItsResultOrIsRefused)
{
    for (const QStringList &row : caseRows(u"conversions.json"_s)) {
        SCOPED_TRACE(row.join(u" | "_s).toStdString());
        const auto function = functions().constFind(row.first());
        ASSERT_NE(function, functions().cend());
        QString result;
        try {
            result = (*function)(row.mid(1, row.size() - 2));
        } catch (const Exception &) {
            result = kRefused;
        }
        EXPECT_EQ(result, row.last());
    }
}

// Up to fifteen digits every amount has its nearest double, the one its text reads as.
TEST(Decimal, AmountsOfFifteenDigitsComeBackWholeFromADouble)
{
    std::mt19937_64 random(770);
    std::vector<std::int64_t> amounts{1, 999999999999999, 100000000000000, 123456789012345};
    for (int i = 0; i < 2000; ++i)
        amounts.push_back(static_cast<std::int64_t>(random() % 1000000000000000) * (i % 2 ? -1 : 1));
    for (const std::int64_t u : amounts) {
        const Decimal amount = Decimal::fromUnits(u);
        const auto d = amount.toDoubleExact();
        ASSERT_TRUE(d) << u;
        EXPECT_EQ(*d, amount.toString().replace(u',', u'.').toDouble()) << u;
        EXPECT_EQ(Decimal::fromDouble(*d), amount) << u;
    }
}

TEST(Cp1252, EveryDefinedByteRoundTripsAndTheFiveUndefinedOnesBecomeAQuestionMark)
{
    const QList<int> undefined = {0x81, 0x8D, 0x8F, 0x90, 0x9D};
    for (int b = 0; b < 256; ++b) {
        SCOPED_TRACE(b);
        const QByteArray one(1, static_cast<char>(b));
        const QString decoded = Cp1252::decode(one);
        ASSERT_EQ(decoded.size(), 1);
        QList<qsizetype> unmapped;
        EXPECT_EQ(Cp1252::encode(decoded, &unmapped), undefined.contains(b) ? QByteArray("?") : one);
        EXPECT_EQ(unmapped, undefined.contains(b) ? QList<qsizetype>{0} : QList<qsizetype>{});
    }
}
