#include "TextLib.h"

#include <gtest/gtest.h>

using namespace Qt::Literals::StringLiterals;
using namespace TextLib;

TEST(TextLib, PadsToExactlyTheWidthAndCutsLongerValues)
{
    EXPECT_EQ(PadL(u"12"_s, 5, u'0'), u"00012"_s);
    EXPECT_EQ(PadR(u"AB"_s, 4, u'`'), u"AB``"_s);
    EXPECT_EQ(PadL(u"123456"_s, 3), u"123"_s);
    EXPECT_EQ(PadR(u"123456"_s, 3), u"123"_s);
    EXPECT_EQ(PadL(u"x"_s, 0), QString());
    EXPECT_EQ(StrZero(u" 7 "_s, 2), u"07"_s);
    EXPECT_EQ(StrZero(u"-5"_s, 3), u"-005"_s);
    EXPECT_EQ(StrZero(u"12345"_s, 3), u"12345"_s);
    EXPECT_EQ(StrZero(u"AB"_s, 4), u"00AB"_s);
}

TEST(TextLib, TrimsCutsAndQuotes)
{
    EXPECT_EQ(Trim(u" \t ab c \r\n"_s), u"ab c"_s);
    EXPECT_EQ(TrimLeft(u"  x  "_s), u"x  "_s);
    EXPECT_EQ(TrimRight(u"  x  "_s), u"  x"_s);
    EXPECT_EQ(Right(u"abcdef"_s, 2), u"ef"_s);
    EXPECT_EQ(Right(u"ab"_s, 5), u"ab"_s);
    EXPECT_EQ(Left(u"ab"_s, -1), QString());
    EXPECT_EQ(QuotedStr(u"D'ANGELO"_s), u"'D''ANGELO'"_s);
    EXPECT_EQ(QuotedStr(u"''"_s), u"''''''"_s);
}

TEST(TextLib, NumericMeansDigitsOnly)
{
    EXPECT_TRUE(IsNumeric(u"80185250588"_s));
    EXPECT_TRUE(IsNumeric(u" 0123 "_s));
    for (const auto *text : {u"RSSMRA80A01H501U", u"-12", u"12,5", u"   ", u"١٢"})
        EXPECT_FALSE(IsNumeric(QString::fromUtf16(text))) << QString::fromUtf16(text).toStdString();
}
