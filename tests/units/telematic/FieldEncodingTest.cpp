#include "QtPrinters.h"
#include "ElhUFileUtil.h"

#include <gtest/gtest.h>

using namespace Qt::Literals::StringLiterals;

namespace {

QString encode(QString value, int width, const QString &format, const QString &info = u"O@"_s)
{
    return FormatFieldValue(value, width, format, info);
}

struct Encoding
{
    const char16_t *format;
    const char16_t *value;
    int width;
    const char16_t *encoded;
};

void PrintTo(const Encoding &e, std::ostream *os)
{
    *os << QString::fromUtf16(e.format).toStdString() << " \"" << QString::fromUtf16(e.value).toStdString() << "\" "
        << e.width;
}

class EachFormat : public ::testing::TestWithParam<Encoding>
{
};

TEST_P(EachFormat, EncodesItsValue)
{
    const Encoding &e = GetParam();
    EXPECT_EQ(encode(QString::fromUtf16(e.value), e.width, QString::fromUtf16(e.format)), QString::fromUtf16(e.encoded))
        << QString::fromUtf16(e.format).toStdString() << " «" << QString::fromUtf16(e.value).toStdString() << "»";
}

// The values of the delivered descriptors' usual cases are pinned by the golden
// files; these are the empty, zero and unusual ones.
INSTANTIATE_TEST_SUITE_P(
    Formats, EachFormat,
    ::testing::Values(
        // Alphanumeric values are trimmed and padded with the placeholder.
        Encoding{u"AN", u"", 25, u"`````````````````````````"}, Encoding{u"PR", u" PG", 4, u" PG`"},
        Encoding{u"CN", u"80185250588", 11, u"80185250588"}, Encoding{u"CN", u"", 11, u"00000000000"},
        // Boxes.
        Encoding{u"CB", u"0", 16, u""}, Encoding{u"CB", u"0", 1, u" "}, Encoding{u"CB", u"", 1, u"1"},
        Encoding{u"CP", u"", 3, u"000"}, Encoding{u"CP", u"X", 3, u"001"},
        Encoding{u"CB12", u"000000000000", 16, u"                "},
        Encoding{u"CB12", u"100000000001", 16, u"    100000000001"},
        // Dates arrive as dd/mm/yyyy and are cut by position.
        Encoding{u"DT", u"0.00.00", 16, u""}, Encoding{u"DT", u"30/12/1899", 8, u""},
        Encoding{u"DP", u"0.00.00", 8, u"00000000"}, Encoding{u"DP", u"", 8, u"00000000"},
        Encoding{u"D4", u"16/02/2023", 16, u"            1602"}, Encoding{u"D4", u"3112", 16, u"            3112"},
        Encoding{u"D4", u"0.00.00", 16, u""}, Encoding{u"D6", u"16/02/2023", 16, u"          022023"},
        Encoding{u"DA", u"2021", 16, u"            2021"},
        // Numbers.
        Encoding{u"NF", u"", 4, u"0000"}, Encoding{u"N1", u"7", 16, u"               7"},
        Encoding{u"N3", u"94", 16, u"             094"}, Encoding{u"N3", u"", 16, u""},
        Encoding{u"N5", u"123", 16, u"           00123"}, Encoding{u"N10", u"-5", 16, u"     -0000000005"},
        Encoding{u"ND", u" ", 4, u"   0"}, Encoding{u"ND", u"12", 4, u"  12"},
        Encoding{u"PC", u"33,333", 8, u"  33,333"}, Encoding{u"QU", u"1000,16234", 12, u"  1000,16234"},
        // Amounts: two decimals with a comma; zero is not written.
        Encoding{u"VP", u"0", 16, u""}, Encoding{u"VP", u"", 16, u""},
        // An unknown code is right-aligned in blanks.
        Encoding{u"ZZ", u"x", 3, u"  x"}));

TEST(FieldEncoding, CnIsAllZerosOnlyWhenAlwaysWritten)
{
    EXPECT_EQ(encode(QString(), 11, u"CN"_s, u"@@"_s), u"```````````");
}

TEST(InfoCodes, EachFamilyHonoursItsOwnCodes)
{
    EXPECT_EQ(infoPresence(LayoutFamily::Z, u"OF"_s), InfoPresence::Always);
    EXPECT_EQ(infoPresence(LayoutFamily::Z, u"O@"_s), InfoPresence::Always);
    EXPECT_EQ(infoPresence(LayoutFamily::Z, u"@@"_s), InfoPresence::Skipped);
    EXPECT_EQ(infoPresence(LayoutFamily::A, u"@X"_s), InfoPresence::WhenFilled);
    EXPECT_EQ(infoPresence(LayoutFamily::A, u"T@"_s), InfoPresence::Skipped);
    EXPECT_EQ(infoPresence(LayoutFamily::B, u"@1"_s), InfoPresence::Always);
    EXPECT_EQ(infoPresence(LayoutFamily::E, u"@1"_s), InfoPresence::Skipped);
    EXPECT_EQ(infoPresence(LayoutFamily::E, u"TX"_s), InfoPresence::WhenFilled);
    EXPECT_EQ(infoPresence(LayoutFamily::E, u"A@"_s), InfoPresence::Skipped);
    EXPECT_EQ(infoPresence(LayoutFamily::J, u"A1"_s), InfoPresence::WhenFilled);
    EXPECT_EQ(infoPresence(LayoutFamily::J, u"4/"_s), InfoPresence::Always);
    EXPECT_EQ(infoPresence(LayoutFamily::J, u"xx"_s), InfoPresence::Skipped);
}

TEST(InfoCodes, ValuesAreTruncatedRoundedOrSlicedAsTheCodeSays)
{
    EXPECT_EQ(applyInfo(u"T@"_s, u"2,7"_s), u"2");
    EXPECT_EQ(applyInfo(u"TX"_s, u"-2,7"_s), u"-2");
    EXPECT_EQ(applyInfo(u"A@"_s, u"2,5"_s), u"3");
    EXPECT_EQ(applyInfo(u"A@"_s, u"2,49"_s), u"2");
    EXPECT_EQ(applyInfo(u"AX"_s, u"-2,7"_s), u"-2");
    EXPECT_EQ(applyInfo(u"A1"_s, u"0,4"_s), u"1");
    EXPECT_EQ(applyInfo(u"A1"_s, u"-0,4"_s), u"-1");
    EXPECT_EQ(applyInfo(u"A1"_s, u"0"_s), u"0");
    EXPECT_EQ(applyInfo(u"A1"_s, u"959,5"_s), u"960");
    EXPECT_EQ(applyInfo(u"A@"_s, QString()), QString());
    EXPECT_EQ(applyInfo(u"T@"_s, u"ROSSI"_s), std::nullopt);
    // Slices and presence boxes.
    EXPECT_EQ(applyInfo(u"4/"_s, u"012023"_s), u"0120");
    EXPECT_EQ(applyInfo(u"/2"_s, u"012023"_s), u"23");
    EXPECT_EQ(applyInfo(u"@1"_s, u"X"_s), u"1");
    EXPECT_EQ(applyInfo(u"@1"_s, QString()), u"0");
    EXPECT_EQ(applyInfo(u"@@"_s, u" a "_s), u" a ");
}

} // namespace
