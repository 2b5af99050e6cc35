#include "Exceptions.h"
#include "QtPrinters.h"
#include "ElhMStampe.h"
#include "PrintFormats.h"

#include <gtest/gtest.h>

using namespace Qt::Literals::StringLiterals;
using PrintFormats::engineValue;

namespace {

std::string s(const QString &text)
{
    return text.toStdString();
}

} // namespace

TEST(EngineFormats, NumbersFollowTheTypeCode)
{
    EXPECT_EQ(s(engineValue(u"TR"_s, u"1234,99"_s)), "1.234");
    EXPECT_EQ(s(engineValue(u"TR"_s, u"-1234,99"_s)), "-1.234");
    EXPECT_EQ(s(engineValue(u"TA"_s, u"1234,5"_s)), "1.235");
    EXPECT_EQ(s(engineValue(u"TA"_s, u"-2,5"_s)), "-3");
    EXPECT_EQ(s(engineValue(u"TA"_s, u"1234567,49"_s)), "1.234.567");
    EXPECT_EQ(s(engineValue(u"TA"_s, QString())), "");
    EXPECT_EQ(s(engineValue(u"TR"_s, QString())), "");
    // TR and TA count a text that is not a number as 0.
    EXPECT_EQ(s(engineValue(u"TR"_s, u"abc"_s)), "0");
    EXPECT_EQ(s(engineValue(u"TA"_s, u"abc"_s)), "0");
    EXPECT_EQ(s(engineValue(u"FL"_s, QString())), "0,00");
    EXPECT_EQ(s(engineValue(u"FL"_s, u"abc"_s)), "0,00");
    EXPECT_EQ(s(engineValue(u"FL"_s, u"1234,5"_s)), "1234,50");
    EXPECT_EQ(s(engineValue(u"FF"_s, u"1234,5"_s)), "1234,50");
    EXPECT_EQ(s(engineValue(u"FF"_s, u"0,005"_s)), "0,01");
    EXPECT_EQ(s(engineValue(u"FF"_s, u"  "_s)), "  ");
    EXPECT_THROW(engineValue(u"FF"_s, u"12a"_s), EConvertError);
}

TEST(EngineFormats, DatesCodesAndMarks)
{
    EXPECT_EQ(s(engineValue(u"DT"_s, u"05/03/2024"_s)), "05  03  2024");
    EXPECT_EQ(s(engineValue(u"DT2"_s, u"05/03/2024"_s)), "05   03  2024");
    EXPECT_EQ(s(engineValue(u"DA"_s, u"05/03/2024"_s)), "05 03");
    EXPECT_EQ(s(engineValue(u"DT"_s, QString())), "");
    EXPECT_THROW(engineValue(u"DT"_s, u"31/02/2024"_s), EConvertError);
    EXPECT_EQ(s(engineValue(u"CD"_s, u"80012345676"_s)), "80012345676");
    EXPECT_EQ(s(engineValue(u"CD"_s, u"123"_s)), "        123");
    EXPECT_EQ(s(engineValue(u"CD"_s, u"RSSMRA80A01H501U"_s)), "RSSMRA80A01H501U");
    EXPECT_EQ(s(engineValue(u"M"_s, u"F"_s)), " ");
    EXPECT_EQ(s(engineValue(u"M"_s, u"M"_s)), "X");
    EXPECT_EQ(s(engineValue(u"F"_s, u"F"_s)), "X");
    EXPECT_EQ(s(engineValue(u"CB"_s, u"0"_s)), "");
    EXPECT_EQ(s(engineValue(u"CB"_s, u"1"_s)), "X");
    EXPECT_EQ(s(engineValue(u"SP"_s, u"AB"_s)), "AB");
    // Codes are compared exactly; unknown ones leave the value alone.
    EXPECT_EQ(s(engineValue(u"tr"_s, u"1234,99"_s)), "1234,99");
    EXPECT_EQ(s(engineValue(QString(), u"1234,99"_s)), "1234,99");
}

TEST(FrontispieceFormats, FormattaValore)
{
    auto f = [](const char16_t *type, const QString &value) {
        return s(TdmElhStampe::FormattaValore(QString::fromUtf16(type), value));
    };
    EXPECT_EQ(f(u"TR", u"1234,99"_s), "1234");
    EXPECT_EQ(f(u"TR", QString()), "0");
    EXPECT_EQ(f(u"AR", u"2,5"_s), "3");
    EXPECT_EQ(f(u"AR", u"2,49"_s), "2");
    EXPECT_EQ(f(u"AR", u"-2,7"_s), "-2");
    EXPECT_EQ(f(u"AR", QString()), "0");
    EXPECT_THROW(f(u"AR", u"due"_s), EConvertError);
    EXPECT_EQ(f(u"PC", QString()), "0");
    EXPECT_EQ(f(u"PC", u"12,5"_s), "12,5");
    EXPECT_EQ(f(u"DT", u"05/03/2024"_s), "05  03  2024");
    EXPECT_EQ(f(u"DTd", u"05/03/2024"_s), "05 03 2024");
    EXPECT_EQ(f(u"DA", u"05/03/2024"_s), "05 03");
    EXPECT_EQ(f(u"DT", QString()), "");
    EXPECT_EQ(f(u"SP", u"ABC"_s), "A B C ");
    EXPECT_EQ(f(u"SP2", u"AB"_s), "A   B   ");
    EXPECT_EQ(f(u"M", u"M"_s), "X");
    EXPECT_EQ(f(u"F", u"M"_s), " ");
    EXPECT_EQ(f(u"CB", u"1"_s), "X");
    EXPECT_EQ(f(u"CB", u"0"_s), "");
    EXPECT_EQ(f(u"XX", u"valore"_s), "valore");
}

TEST(CertificateFormats, EachCertificateHasItsCodesAndSpacing)
{
    using PrintFormats::employeeValue;
    using PrintFormats::selfEmployedValue;
    auto dip = [](const char16_t *type, const QString &value) {
        const PrintFormats::CertificateValue v = employeeValue(QString::fromUtf16(type), value);
        return std::pair{s(v.text), v.spacing};
    };
    auto aut = [](const char16_t *type, const QString &value) {
        const PrintFormats::CertificateValue v = selfEmployedValue(QString::fromUtf16(type), value);
        return std::pair{s(v.text), v.spacing};
    };
    using R = std::pair<std::string, double>;
    EXPECT_EQ(dip(u"TR", u"1234,99"_s), R("1.234", 0));
    EXPECT_EQ(dip(u"TA", u"-2,5"_s), R("-3", 0));
    EXPECT_EQ(dip(u"A1", u"0,40"_s), R("1", 0));
    EXPECT_EQ(dip(u"A1", u"-0,40"_s), R("-1", 0));
    EXPECT_EQ(dip(u"A1", u"1234,5"_s), R("1.235", 0));
    EXPECT_EQ(dip(u"A1", u"0"_s), R("0", 0));
    EXPECT_EQ(dip(u"FF", u"1234,5"_s), R("1234,50", 0));
    EXPECT_EQ(dip(u"DT", u"05/03/2024"_s), R("05 03 2024", 7));
    EXPECT_EQ(dip(u"DA", u"05/03/2024"_s), R("05 03", 7));
    EXPECT_EQ(dip(u"SP", u"RSSMRA75D12D653T"_s), R("RSSMRA75D12D653T", 14));
    EXPECT_EQ(dip(u"CD", u"123"_s), R("        123", 14.5));
    EXPECT_EQ(dip(u"CB", u"1"_s), R("X", 0));
    EXPECT_EQ(dip(u"CB", u"0"_s), R("", 0));
    EXPECT_EQ(dip(u"AR", u"2,5"_s), R("2,5", 0));
    // Unlike the engine, a certificate never counts a wrong number as 0.
    EXPECT_THROW(dip(u"TR", u"abc"_s), EConvertError);
    EXPECT_THROW(dip(u"DT", u"31/02/2024"_s), EConvertError);

    EXPECT_EQ(aut(u"AR", u"1234,5"_s), R("1.235", 0));
    EXPECT_EQ(aut(u"TR", u"1234,99"_s), R("1.234", 0));
    EXPECT_EQ(aut(u"DT", u"05/03/2024"_s), R("05 03 2024", 2));
    EXPECT_EQ(aut(u"SP", u"AB"_s), R("AB", 5));
    EXPECT_EQ(aut(u"TOT", u"12"_s), R("       12", 0));
    EXPECT_EQ(aut(u"TOT", u"1234567890"_s), R("1234567890", 0));
    EXPECT_EQ(aut(u"A1", u"0,40"_s), R("0,40", 0));
}
