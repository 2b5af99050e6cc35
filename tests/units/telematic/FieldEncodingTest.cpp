#include "ElhUFileUtil.h"
#include "TelematicFixture.h"

using namespace Qt::Literals::StringLiterals;

namespace {

TEST(FieldEncoding, EachFormatEncodesItsValue)
{
    for (const QStringList &c : caseRows(u"encodings.txt"_s)) {
        SCOPED_TRACE(c.join(u'|').toStdString());
        EXPECT_EQ(FormatFieldValue(c[2], c[3].toInt(), c[0], c[1]), c[4]);
    }
    // An amount is written from its Decimal, with two decimals.
    EXPECT_EQ(FormatFieldValue(Decimal::fromUnits(-25000), 8, u"VP"_s, u"@@"_s), u"   -2,50");
}

TEST(InfoCodes, ValuesAreTruncatedRoundedOrSlicedAsTheCodeSays)
{
    for (const QStringList &c : caseRows(u"info-codes.txt"_s)) {
        SCOPED_TRACE(c.join(u'|').toStdString());
        const std::optional<FieldValue> taken = applyInfo(c[0], c[1]);
        EXPECT_EQ(taken ? taken->text() : u"-"_s, c[2]);
    }
    EXPECT_EQ(applyInfo(u"A@"_s, Decimal::fromUnits(25000))->text(), u"3");
    EXPECT_EQ(applyInfo(u"A1"_s, Decimal::fromUnits(-4000))->text(), u"-1");
}

} // namespace
