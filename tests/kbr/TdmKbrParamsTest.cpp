#include "TdmKbrParams.h"
#include "DatabaseTest.h"
#include "Exceptions.h"
#include "TempDir.h"

#include <gtest/gtest.h>

using namespace Qt::Literals::StringLiterals;

class Parameters : public DatabaseTest
{
protected:
    void SetUpOpened() override
    {
        params = std::make_unique<TdmKbrParams>(&connection(), settings.file(u"NruParams.ini"_s));
        exec(u"INSERT INTO TPACO_PARCONTABILI (IPACOID, IANFID, IDWGANFID, IPACOF24EP) VALUES (?, ?, ?, ?)"_s,
             {1, 2023, 77, 0});
        exec(u"INSERT INTO TPACO_PARCONTABILI (IPACOID, IANFID, IDWGANFID, IPACOF24EP) VALUES (?, ?, ?, ?)"_s,
             {2, 2022, 66, 1});
    }

    void TearDown() override
    {
        params.reset();
        DatabaseTest::TearDown();
    }

    TempDir settings;
    std::unique_ptr<TdmKbrParams> params;
};

ELH_INSTANTIATE_ON_BOTH_ENGINES(Parameters);

TEST_P(Parameters, TheAccountingParametersOfAFinancialYear)
{
    params->setValue(u"NRUP_AnfId"_s, 2022);
    EXPECT_EQ(params->parameterValue(u"IPACOF24EP"_s).toInt(), 1);
    params->loadFinancialYear(2023);
    EXPECT_EQ(params->parameterValue(u"ipacof24ep"_s).toInt(), 0);
    try {
        params->parameterValue(u"IPACONESSUNO"_s);
        FAIL() << "a missing parameter was given";
    } catch (const EDatabaseError &e) {
        EXPECT_EQ(e.message(), u"Il parametro contabile IPACONESSUNO non esiste"_s);
    }
    params->loadFinancialYear(1999);
    EXPECT_THROW(params->parameterValue(u"IPACOF24EP"_s), EDatabaseError);
}

TEST_P(Parameters, PerUserParametersLiveInTheUsersFile)
{
    EXPECT_EQ(params->ansId(), 0);
    params->setValue(u"NRUP_AnsId"_s, 2023);
    params->setValue(u"NRUP_DwgId"_s, u"12"_s);
    const TdmNruParams again(&connection(), settings.file(u"NruParams.ini"_s));
    EXPECT_EQ(again.ansId(), 2023);
    EXPECT_EQ(again.dwgId(), 12);
    EXPECT_EQ(again.anfId(), 0);
}
