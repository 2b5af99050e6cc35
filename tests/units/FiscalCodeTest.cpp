#include "FiscalCode.h"

#include <gtest/gtest.h>

using namespace Qt::Literals::StringLiterals;
using FiscalCode::Verdict;

TEST(FiscalCode, ShapeAndCheckCharacter)
{
    const struct
    {
        QString code;
        Verdict verdict;
    } cases[] = {
        {u"RSSMRA85T10A562S"_s, Verdict::Valid},
        {u"RSSMRA85T10A562T"_s, Verdict::WrongCheckChar},
        // Digits replaced by letters for a shared code keep their check.
        {u"RSSMRA85T10A56NS"_s, Verdict::WrongCheckChar},
        {u"RSSMRA85T10A56NH"_s, Verdict::Valid},
        {u"80012345676"_s, Verdict::Valid},
        {u"00743110157"_s, Verdict::Valid},
        {u"80012345670"_s, Verdict::WrongCheckChar},
        {u"rssmra85t10a562s"_s, Verdict::WrongShape},
        {u"RSSMRA85Z10A562S"_s, Verdict::WrongShape}, // Z is no month
        {u"8001234567"_s, Verdict::WrongShape},
        {u" 80012345676"_s, Verdict::WrongShape},
        {QString(), Verdict::WrongShape},
    };
    for (const auto &c : cases)
        EXPECT_EQ(FiscalCode::check(c.code), c.verdict) << c.code.toStdString();
}
