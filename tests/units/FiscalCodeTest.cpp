#include "FiscalCode.h"

#include "CaseFile.h"

#include <gtest/gtest.h>

#include <map>

using namespace Qt::Literals::StringLiterals;
using FiscalCode::Verdict;

// Each case of the file: a code, its verdict and, maybe, why.
TEST(FiscalCode, ShapeAndCheckCharacter)
{
    const std::map<QString, Verdict> verdicts{{u"Valid"_s, Verdict::Valid},
                                              {u"WrongShape"_s, Verdict::WrongShape},
                                              {u"WrongCheckChar"_s, Verdict::WrongCheckChar}};
    for (const QJsonValue &value : caseFile(QStringLiteral(ELH_CASES_DIR "/FiscalCodes.json"))) {
        const QJsonArray c = value.toArray();
        EXPECT_EQ(FiscalCode::check(c[0].toString()), verdicts.at(c[1].toString())) << c[0].toString().toStdString();
    }
    // The message names a control character instead of printing it.
    EXPECT_EQ(FiscalCode::problem(u"RSSMRA\u0007"_s),
              u"Codice fiscale «RSSMRA<BEL>» non valido: deve avere 16 caratteri (persona) o 11 cifre"_s);
}
