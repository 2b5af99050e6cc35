#include "Decimal.h"
#include "Exceptions.h"

#include <gtest/gtest.h>

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
    for (const auto *bad : {u"1.234", u"abc", u"", u",", u"1,2,3", u"1e3", u"12 3", u"--1", u"١٢"})
        EXPECT_FALSE(Decimal::parse(QString::fromUtf16(bad))) << QString::fromUtf16(bad).toStdString();
    EXPECT_EQ(Decimal::parseC(u"1234.5"_s)->units(), 12345000);
    EXPECT_FALSE(Decimal::parseC(u"1234,5"_s));
}

TEST(Decimal, RoundsExtraDecimalsHalfAwayFromZero)
{
    EXPECT_EQ(dec(u"0,00005").units(), 1);
    EXPECT_EQ(dec(u"-0,00005").units(), -1);
    EXPECT_EQ(dec(u"0,00004999").units(), 0);
    EXPECT_EQ(dec(u"2,5").rounded(0), dec(u"3"));
    EXPECT_EQ(dec(u"-2,5").rounded(0), dec(u"-3"));
    EXPECT_EQ(dec(u"2,345").rounded(2), dec(u"2,35"));
    EXPECT_EQ(dec(u"-2,345").rounded(2), dec(u"-2,35"));
    EXPECT_EQ(dec(u"2,344").rounded(2), dec(u"2,34"));
}

TEST(Decimal, WritesItalianTextWithTheDecimalsItNeeds)
{
    EXPECT_EQ(dec(u"1234,5").toString(), u"1234,5"_s);
    EXPECT_EQ(dec(u"100").toString(), u"100"_s);
    EXPECT_EQ(dec(u"-0,25").toString(), u"-0,25"_s);
    EXPECT_EQ(dec(u"1234,5").toString(2), u"1234,50"_s);
    EXPECT_EQ(dec(u"2,5").toString(0), u"3"_s);
    EXPECT_EQ(dec(u"-0,001").toString(2), u"0,00"_s);
    EXPECT_EQ(Decimal::fromUnits(std::numeric_limits<std::int64_t>::min()).toString(), u"-922337203685477,5808"_s);
}

TEST(Decimal, SumsStayExactWhereBinaryFloatingPointDrifts)
{
    Decimal sum;
    double binary = 0;
    for (int i = 0; i < 10; ++i) {
        sum += dec(u"0,1");
        binary += 0.1;
    }
    EXPECT_EQ(sum, dec(u"1"));
    EXPECT_NE(binary, 1.0);
    EXPECT_EQ(Decimal::fromDouble(0.1 + 0.2), dec(u"0,3"));
    EXPECT_EQ(dec(u"100") - dec(u"0,01"), dec(u"99,99"));
}

TEST(Decimal, MultipliesAndDividesWithRounding)
{
    EXPECT_EQ(dec(u"1,0001") * dec(u"1,0001"), dec(u"1,0002"));
    EXPECT_EQ(dec(u"1") / dec(u"3"), dec(u"0,3333"));
    EXPECT_EQ(dec(u"2") / dec(u"3"), dec(u"0,6667"));
    EXPECT_EQ(dec(u"-2") / dec(u"3"), dec(u"-0,6667"));
    EXPECT_THROW(dec(u"1") / Decimal(), EConvertError);
}

TEST(Decimal, OverflowRaisesInsteadOfWrapping)
{
    const Decimal big = Decimal::fromUnits(std::numeric_limits<std::int64_t>::max());
    EXPECT_THROW(big + dec(u"0,0001"), EConvertError);
    EXPECT_THROW(Decimal::fromInt(std::numeric_limits<std::int64_t>::max()), EConvertError);
    EXPECT_THROW(big * dec(u"2"), EConvertError);
    EXPECT_FALSE(Decimal::parse(u"99999999999999999999"_s));
}
