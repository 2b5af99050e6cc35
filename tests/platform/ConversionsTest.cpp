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

// The result of a parse as text: units of an amount, ISO dates, C numbers.
QString text(Decimal d)
{
    return QString::number(d.units());
}
QString text(QDate d)
{
    return d.toString(Qt::ISODate);
}
QString text(const QDateTime &d)
{
    return d.toString(u"yyyy-MM-dd'T'HH:mm:ss"_s);
}
QString text(double d)
{
    return QString::number(d);
}
QString text(qint64 n)
{
    return QString::number(n);
}

template<class T>
QString orRefused(const std::optional<T> &value)
{
    return value ? text(*value) : kRefused;
}

QString positions(const QList<qsizetype> &unmapped)
{
    QStringList out;
    for (const qsizetype p : unmapped)
        out.append(QString::number(p));
    return u'|' + out.join(u' ');
}

QString encoded(const QString &text)
{
    QList<qsizetype> unmapped;
    QString out = QString::fromLatin1(Cp1252::encode(text, &unmapped).toHex(' '));
    return out += positions(unmapped);
}

QString encodable(const QString &text)
{
    QList<qsizetype> unmapped;
    QString out = Cp1252::toEncodable(text, &unmapped);
    return out += positions(unmapped);
}

QVariant variant(const QString &text)
{
    const QDate date = QDate::fromString(text, Qt::ISODate);
    return text.isEmpty() ? QVariant() : date.isValid() ? QVariant(date) : QVariant::fromValue(dec(text));
}

// A function of the case file: its name and its result as text from the arguments a.
#define CASE_FUNCTION(name, result)                                                                                    \
    {                                                                                                                  \
        QString::fromUtf16(name), [](const Args &a) -> QString { return result; }                                      \
    }

const QMap<QString, Function> &functions()
{
    static const QMap<QString, Function> table{
        CASE_FUNCTION(u"Decimal::parse", orRefused(Decimal::parse(a[0]))),
        CASE_FUNCTION(u"Decimal::parseC", orRefused(Decimal::parseC(a[0]))),
        CASE_FUNCTION(u"Decimal::toDoubleExact", dec(a[0]).toDoubleExact()
                                                     ? Decimal::fromDouble(*dec(a[0]).toDoubleExact()).toString()
                                                     : kRefused),
        CASE_FUNCTION(u"Decimal::fromDouble", Decimal::fromDouble(a[0].toDouble()).toString()),
        CASE_FUNCTION(u"Decimal::fromInt", Decimal::fromInt(a[0].toLongLong()).toString()),
        CASE_FUNCTION(u"Decimal::fromUnits", Decimal::fromUnits(a[0].toLongLong()).toString()),
        CASE_FUNCTION(u"Decimal::toString", a[1].isEmpty() ? dec(a[0]).toString() : dec(a[0]).toString(a[1].toInt())),
        CASE_FUNCTION(u"Decimal::rounded", dec(a[0]).rounded(a[1].toInt()).toString()),
        CASE_FUNCTION(u"Decimal +", (dec(a[0]) + dec(a[1])).toString()),
        CASE_FUNCTION(u"Decimal -", (dec(a[0]) - dec(a[1])).toString()),
        CASE_FUNCTION(u"Decimal *", (dec(a[0]) * dec(a[1])).toString()),
        CASE_FUNCTION(u"Decimal /", (dec(a[0]) / dec(a[1])).toString()),
        CASE_FUNCTION(u"Conv::dateToText", Conv::dateToText(QDate::fromString(a[0], Qt::ISODate))),
        CASE_FUNCTION(u"Conv::dateTimeToText", Conv::dateTimeToText(QDateTime::fromString(a[0], Qt::ISODate))),
        CASE_FUNCTION(u"Conv::parseDate", orRefused(Conv::parseDate(a[0]))),
        CASE_FUNCTION(u"Conv::parseDateTime", orRefused(Conv::parseDateTime(a[0]))),
        CASE_FUNCTION(u"Conv::floatToText", Conv::floatToText(a[0].toDouble())),
        CASE_FUNCTION(u"Conv::parseFloat", orRefused(Conv::parseFloat(a[0]))),
        CASE_FUNCTION(u"Conv::parseInteger", orRefused(Conv::parseInteger(a[0]))),
        CASE_FUNCTION(u"Conv::toText", Conv::toText(variant(a[0]))),
        CASE_FUNCTION(u"Conv::formatFloat", Conv::formatFloat(a[0], dec(a[1]))),
        CASE_FUNCTION(u"Conv::formatFloat double", Conv::formatFloat(a[0], a[1].toDouble())),
        CASE_FUNCTION(u"TextLib::Trim", TextLib::Trim(a[0])),
        CASE_FUNCTION(u"TextLib::TrimRight", TextLib::TrimRight(a[0])),
        CASE_FUNCTION(u"TextLib::Right", TextLib::Right(a[0], a[1].toInt())),
        CASE_FUNCTION(u"TextLib::Left", TextLib::Left(a[0], a[1].toInt())),
        CASE_FUNCTION(u"TextLib::QuotedStr", TextLib::QuotedStr(a[0])),
        CASE_FUNCTION(u"TextLib::IsNumeric", TextLib::IsNumeric(a[0]) ? u"true"_s : u"false"_s),
        CASE_FUNCTION(u"Cp1252::encode", encoded(a[0])),
        CASE_FUNCTION(u"Cp1252::toEncodable", encodable(a[0])),
    };
    return table;
}

} // namespace

TEST(Conversions, EveryCaseGivesItsResultOrIsRefused)
{
    for (const QStringList &row : caseTextRows(QStringLiteral(ELH_CASES_DIR "/conversions.json"))) {
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
