#include "Decimal.h"
#include "Exceptions.h"

#include <gtest/gtest.h>

#include <random>
#include <vector>

using namespace Qt::Literals::StringLiterals;

namespace {

Decimal dec(const char16_t *text)
{
    const auto d = Decimal::parse(QString::fromUtf16(text));
    if (!d)
        throw std::runtime_error("bad test literal");
    return *d;
}

} // namespace

TEST(Decimal, ParsesTheItalianFormAndRejectsEverythingElse)
{
    EXPECT_EQ(dec(u"1234,5").units(), 12345000);
    EXPECT_EQ(dec(u"-0,25").units(), -2500);
    EXPECT_EQ(dec(u"+3").units(), 30000);
    EXPECT_EQ(dec(u" 7 ").units(), 70000);
    EXPECT_EQ(dec(u",5").units(), 5000);
    // Extra decimals round half away from zero.
    EXPECT_EQ(dec(u"0,00005").units(), 1);
    EXPECT_EQ(dec(u"-0,00005").units(), -1);
    EXPECT_EQ(dec(u"0,00004999").units(), 0);
    // A full stop groups thousands and is never a decimal point.
    EXPECT_EQ(dec(u"1.234").units(), 12340000);
    EXPECT_EQ(dec(u"-1.234.567,5").units(), -12345675000);
    for (const auto *bad : {u"1.23", u"1234.5", u"1.2345", u"1.234.56", u".234", u"1.", u"1..234", u"abc", u"", u",",
                            u"1,2,3", u"1e3", u"12 3", u"--1", u"١٢", u"99999999999999999999"})
        EXPECT_FALSE(Decimal::parse(QString::fromUtf16(bad))) << QString::fromUtf16(bad).toStdString();
    EXPECT_EQ(Decimal::parseC(u"1234.5"_s)->units(), 12345000);
    EXPECT_EQ(Decimal::parseC(u"1.234"_s)->units(), 12340);
    EXPECT_FALSE(Decimal::parseC(u"1234,5"_s));
}

TEST(Decimal, BinaryNumbersGiveAmountsBackWholeOrRefuseThem)
{
    for (const auto *amount : {u"0,1", u"1234567890123,45", u"-99999999999,9999", u"99999999999999"}) {
        const auto d = dec(amount).toDoubleExact();
        ASSERT_TRUE(d) << QString::fromUtf16(amount).toStdString();
        EXPECT_EQ(Decimal::fromDouble(*d), dec(amount));
    }
    // Up to fifteen digits every amount has its nearest double, the one its text reads as.
    std::mt19937_64 random(770);
    std::vector<std::int64_t> units{1, 999999999999999, 100000000000000, 123456789012345};
    for (int i = 0; i < 2000; ++i)
        units.push_back(static_cast<std::int64_t>(random() % 1000000000000000) * (i % 2 ? -1 : 1));
    for (const std::int64_t u : units) {
        const Decimal amount = Decimal::fromUnits(u);
        const auto d = amount.toDoubleExact();
        ASSERT_TRUE(d) << u;
        EXPECT_EQ(*d, std::stod(amount.toString().replace(u',', u'.').toStdString())) << u;
        EXPECT_EQ(Decimal::fromDouble(*d), amount) << u;
    }
    // Beyond fifteen significant digits two amounts may share a double: the one
    // that does not come back is refused.
    EXPECT_FALSE(dec(u"123456789012345,68").toDoubleExact());
    EXPECT_FALSE(dec(u"1234567890123,4567").toDoubleExact());
    EXPECT_EQ(Decimal::fromDouble(1234567890123.45), dec(u"1234567890123,45"));
    EXPECT_THROW(Decimal::fromDouble(1e15), EConvertError);
}

TEST(Decimal, WritesItalianTextRoundingHalfAwayFromZero)
{
    const struct
    {
        const char16_t *value;
        int decimals; // -1: as many as needed
        const char16_t *text;
    } cases[] = {
        {u"1234,5", -1, u"1234,5"}, {u"100", -1, u"100"},    {u"-0,25", -1, u"-0,25"}, {u"1234,5", 2, u"1234,50"},
        {u"2,5", 0, u"3"},          {u"-2,5", 0, u"-3"},     {u"2,345", 2, u"2,35"},   {u"-2,345", 2, u"-2,35"},
        {u"2,344", 2, u"2,34"},     {u"-0,001", 2, u"0,00"},
    };
    for (const auto &c : cases) {
        SCOPED_TRACE(QString::fromUtf16(c.value).toStdString());
        const Decimal d = dec(c.value);
        EXPECT_EQ(c.decimals < 0 ? d.toString() : d.toString(c.decimals), QString::fromUtf16(c.text));
        if (c.decimals >= 0) {
            EXPECT_EQ(d.rounded(c.decimals), dec(c.text));
        }
    }
    EXPECT_EQ(Decimal::fromUnits(std::numeric_limits<std::int64_t>::min()).toString(), u"-922337203685477,5808"_s);
}

TEST(Decimal, ArithmeticStaysExactRoundsAndRaisesOnOverflow)
{
    Decimal sum;
    for (int i = 0; i < 10; ++i)
        sum += dec(u"0,1");
    EXPECT_EQ(sum, dec(u"1"));
    EXPECT_EQ(Decimal::fromDouble(0.1 + 0.2), dec(u"0,3"));
    EXPECT_EQ(dec(u"100") - dec(u"0,01"), dec(u"99,99"));
    EXPECT_EQ(dec(u"1,0001") * dec(u"1,0001"), dec(u"1,0002"));
    EXPECT_EQ(dec(u"1") / dec(u"3"), dec(u"0,3333"));
    EXPECT_EQ(dec(u"2") / dec(u"3"), dec(u"0,6667"));
    EXPECT_EQ(dec(u"-2") / dec(u"3"), dec(u"-0,6667"));
    EXPECT_THROW(dec(u"1") / Decimal(), EConvertError);

    const Decimal big = Decimal::fromUnits(std::numeric_limits<std::int64_t>::max());
    EXPECT_THROW(big + dec(u"0,0001"), EConvertError);
    EXPECT_THROW(big * dec(u"2"), EConvertError);
    EXPECT_THROW(Decimal::fromInt(std::numeric_limits<std::int64_t>::max()), EConvertError);
}
