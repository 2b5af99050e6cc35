#include "TextLib.h"

#include <gtest/gtest.h>

using namespace Qt::Literals::StringLiterals;
using namespace TextLib;

// Padding and zero-filling are pinned down by the field encodings of the supply file.
TEST(TextLib, TrimsControlCharactersQuotesAndTellsDigits)
{
    EXPECT_EQ(Trim(u" \t ab c \r\n"_s), u"ab c"_s);
    EXPECT_EQ(TrimRight(u"  x \r"_s), u"  x"_s);
    EXPECT_EQ(Right(u"ab"_s, 5), u"ab"_s);
    EXPECT_EQ(Left(u"ab"_s, -1), QString());
    EXPECT_EQ(QuotedStr(u"''"_s), u"''''''"_s);
    EXPECT_TRUE(IsNumeric(u" 0123 "_s));
    for (const auto *text : {u"RSSMRA80A01H501U", u"-12", u"12,5", u"   ", u"١٢"})
        EXPECT_FALSE(IsNumeric(QString::fromUtf16(text))) << QString::fromUtf16(text).toStdString();
}
