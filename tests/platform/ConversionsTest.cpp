#include "Conversions.h"

#include <gtest/gtest.h>

using namespace Qt::Literals::StringLiterals;

TEST(Conversions, DatesAreDayMonthYear)
{
    EXPECT_EQ(Conv::dateToText(QDate()), QString());
    EXPECT_EQ(Conv::dateTimeToText(QDateTime(QDate(2024, 3, 5), QTime(0, 0))), u"05/03/2024"_s);
    EXPECT_EQ(Conv::dateTimeToText(QDateTime(QDate(2024, 3, 5), QTime(9, 7, 1))), u"05/03/2024 09:07:01"_s);
    for (const auto *good : {u"05/03/2024", u"5/3/2024", u"5/3/24", u"2024-03-05"})
        EXPECT_EQ(Conv::parseDate(QString::fromUtf16(good)), QDate(2024, 3, 5))
            << QString::fromUtf16(good).toStdString();
    EXPECT_EQ(Conv::parseDate(u"5/3/80"_s), QDate(1980, 3, 5));
    for (const auto *bad : {u"31/04/2024", u"29/02/2023", u"2024-02-30", u"05-03-2024", u"03/2024", u"", u"oggi"})
        EXPECT_FALSE(Conv::parseDate(QString::fromUtf16(bad))) << QString::fromUtf16(bad).toStdString();
    EXPECT_EQ(Conv::parseDateTime(u"05/03/2024 10:30"_s), QDateTime(QDate(2024, 3, 5), QTime(10, 30)));
    EXPECT_FALSE(Conv::parseDateTime(u"05/03/2024 25:00"_s));
}

TEST(Conversions, NumbersUseTheDecimalCommaAndReadFullStopsAsThousands)
{
    EXPECT_EQ(Conv::floatToText(1234.5), u"1234,5"_s);
    EXPECT_EQ(Conv::floatToText(0.1), u"0,1"_s);
    EXPECT_EQ(Conv::floatToText(-2), u"-2"_s);
    EXPECT_EQ(Conv::parseFloat(u"-,5"_s), -0.5);
    EXPECT_EQ(Conv::parseFloat(u"1,5E3"_s), 1500.0);
    EXPECT_FALSE(Conv::parseFloat(u"1.5"_s));
    EXPECT_EQ(Conv::parseFloat(u"1.234,5"_s), 1234.5);
    EXPECT_EQ(Conv::parseFloat(u"1.000"_s), 1000.0);
    EXPECT_EQ(Conv::parseInteger(u" 42 "_s), 42);
    EXPECT_FALSE(Conv::parseInteger(u"4,2"_s));
    EXPECT_EQ(Conv::toText(QVariant()), QString());
    EXPECT_EQ(Conv::toText(QVariant::fromValue(*Decimal::parse(u"1234,50"_s))), u"1234,5"_s);
    EXPECT_EQ(Conv::toText(QVariant(QDate(2023, 12, 31))), u"31/12/2023"_s);
}

TEST(Conversions, AmountMasksWriteItalianSeparators)
{
    auto format = [](const QString &mask, const char16_t *amount) {
        return Conv::formatFloat(mask, *Decimal::parse(QString::fromUtf16(amount)));
    };
    EXPECT_EQ(format(u"#,##0.00"_s, u"1234567,891"), u"1.234.567,89"_s);
    EXPECT_EQ(format(u"#,##0.00"_s, u"-1234,5"), u"-1.234,50"_s);
    EXPECT_EQ(format(u"#.00"_s, u"0,5"), u",50"_s);
    EXPECT_EQ(format(u"0.###"_s, u"2,5"), u"2,5"_s);
    EXPECT_EQ(format(u"€ #,##0"_s, u"1999,5"), u"€ 2.000"_s);
    // The exact amount rounds half away where the binary 2.345 would not.
    EXPECT_EQ(format(u"0.00"_s, u"-2,345"), u"-2,35"_s);
    EXPECT_EQ(Conv::formatFloat(u"#,##0.00"_s, -0.001), u"0,00"_s);
}
