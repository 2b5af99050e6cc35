#include "DatabaseTest.h"
#include "Exceptions.h"
#include "KbrDaPagare66.h"
#include "NrExceptions.h"
#include "TdmKbrParams.h"
#include "ThlmAnnoFinanziario.h"
#include "ThlmAnnoScolastico.h"
#include "TempDir.h"

#include <QFile>

#include <gtest/gtest.h>

using namespace Qt::Literals::StringLiterals;

class Parameters : public DatabaseTest
{
protected:
    void SetUpOpened() override
    {
        params = std::make_unique<TdmKbrParams>(&connection(), settings.file(u"NruParams.ini"_s));
        for (const int year : {2018, 2022, 2023}) {
            exec(u"INSERT INTO TANF_ANNIFINANZ (IANFID, SANFDESCRIZIONE, DANFNORMAINIZIO, DANFNORMAFINE) VALUES (?, ?, ?, ?)"_s,
                 {year, QString::number(year), QDate(year, 1, 1), QDate(year, 12, 31)});
            exec(u"INSERT INTO TANS_ANNISCOLAST (IANSID, SANSDESCRIZIONE, DANSNORMAINIZIO, DANSNORMAFINE) VALUES (?, ?, ?, ?)"_s,
                 {year, u"%1/%2"_s.arg(year).arg(year + 1), QDate(year, 9, 1), QDate(year + 1, 8, 31)});
        }
        exec(u"INSERT INTO TPACO_PARCONTABILI (IPACOID, IANFID, IDWGANFID, IPACOF24EP) VALUES (?, ?, ?, ?)"_s, {1, 2023, 77, 0});
        exec(u"INSERT INTO TPACO_PARCONTABILI (IPACOID, IANFID, IDWGANFID, IPACOF24EP) VALUES (?, ?, ?, ?)"_s, {2, 2022, 66, 1});
    }

    void TearDown() override
    {
        params.reset();
        DatabaseTest::TearDown();
    }

    // The chart-of-accounts program: a script that records its argument and
    // creates the 2019 test account in the database it is given.
    void installChartProgram()
    {
        QString create;
        if (GetParam() == Engine::SQLite) {
            create = u"sqlite3 \"$1\" \"INSERT INTO TTIM_PIANOCONTI (ITIMID, STIMCODICE) VALUES (200001, 'PDC2019')\""_s;
        } else {
            const NrConnectionSettings s = installation().settings();
            create = u"psql -q -h %1 -p %2 -U %3 -d \"$1\" -c \"INSERT INTO TTIM_PIANOCONTI (ITIMID, STIMCODICE) VALUES (200001, 'PDC2019')\""_s
                         .arg(s.host)
                         .arg(s.port)
                         .arg(s.user);
        }
        const QString program = TdmKbrParams::chartOfAccountsProgram();
        QDir().mkpath(QFileInfo(program).path());
        QFile script(program);
        ASSERT_TRUE(script.open(QIODevice::WriteOnly));
        script.write((u"#!/bin/sh\nprintf '%s' \"$1\" > \"$(dirname \"$0\")/argomento.txt\"\n"_s + create + u"\n"_s).toUtf8());
        script.close();
        script.setPermissions(QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner);
    }

    TempDir settings;
    std::unique_ptr<TdmKbrParams> params;
};

ELH_INSTANTIATE_ON_BOTH_ENGINES(Parameters);

TEST_P(Parameters, TheAccountingParametersOfAFinancialYear)
{
    params->setValue(u"NRUP_AnfId"_s, 2022);
    EXPECT_EQ(params->parameterValue(u"IPACOF24EP"_s).toInt(), 1);
    EXPECT_EQ(params->accountingId(), 66);
    params->loadFinancialYear(2023);
    EXPECT_EQ(params->parameterValue(u"ipacof24ep"_s).toInt(), 0);
    EXPECT_EQ(params->accountingId(), 77);
    try {
        params->parameterValue(u"IPACONESSUNO"_s);
        FAIL() << "a missing parameter was given";
    } catch (const EDatabaseError &e) {
        EXPECT_EQ(e.message(), u"Il parametro contabile IPACONESSUNO non esiste"_s);
    }
    params->loadFinancialYear(1999);
    EXPECT_EQ(params->accountingId(), 0);
    EXPECT_THROW(params->parameterValue(u"IPACOF24EP"_s), EDatabaseError);
}

TEST_P(Parameters, SchoolAndFinancialYearsGiveTheirDaysAndCalendarYear)
{
    const ThlmAnnoScolastico school(2023, params.get());
    EXPECT_EQ(school.firstDay(), QDate(2023, 9, 1));
    EXPECT_EQ(school.lastDay(), QDate(2024, 8, 31));
    EXPECT_EQ(school.lastDayText(), u"08/31/2024"_s);
    // Without a parameters module, the one created at start.
    ASSERT_EQ(TdmNruParams::instance(), params.get());
    const ThlmAnnoFinanziario financial(2022);
    EXPECT_EQ(financial.firstDayText(), u"01/01/2022"_s);
    EXPECT_EQ(financial.lastDay(), QDate(2022, 12, 31));
    try {
        ThlmAnnoFinanziario missing(1990, params.get());
        FAIL() << "a missing year was read";
    } catch (const ENrError &e) {
        EXPECT_EQ(e.message(), u"L'anno finanziario con identificativo 1990 non esiste nel database"_s);
    }
}

TEST_P(Parameters, AFinancialYearMustBeChosenAndNotLaterThan2024)
{
    EXPECT_FALSE(params->checkValue(u"NRUP_AnfId"_s, {false, u"2023"_s, 2023}));
    EXPECT_TRUE(params->checkValue(u"NRUP_AnsId"_s, {true, u"2023/2024"_s, 2023}));
    EXPECT_FALSE(params->checkValue(u"NRUP_AnfId"_s, {true, u"2025"_s, 2025}));
    EXPECT_EQ(messages().texts(),
              QStringList{u"L'anno finanziario 2025 non è gestito da questa versione del programma: l'ultimo è il 2024."_s});
    // Before 2019 nothing else is asked.
    EXPECT_TRUE(params->checkValue(u"NRUP_AnfId"_s, {true, u"2018"_s, 2018}));
}

TEST_P(Parameters, WithoutEntriesOrTheChartOfAccountsItsProgramIsRunAndWaitedFor)
{
    // A year with entries needs nothing more.
    exec(u"INSERT INTO TNAF_MOVIMENTI (INAFID, IANFID, ITIMID) VALUES (?, ?, ?)"_s, {1, 2022, 10});
    EXPECT_TRUE(params->checkValue(u"NRUP_AnfId"_s, {true, u"2022"_s, 2022}));
    EXPECT_TRUE(messages().texts().isEmpty());

    EXPECT_FALSE(params->checkValue(u"NRUP_AnfId"_s, {true, u"2023"_s, 2023}));
    EXPECT_EQ(messages().texts(),
              QStringList{u"Il piano dei conti 2019 non è presente e il programma che lo crea non è stato trovato: «%1»."_s.arg(
                  TdmKbrParams::chartOfAccountsProgram())});
    EXPECT_TRUE(TdmKbrParams::chartOfAccountsProgram().endsWith(u"/bin/aggPdC2019.exe"_s));

    installChartProgram();
    messages().clear();
    EXPECT_TRUE(params->checkValue(u"NRUP_AnfId"_s, {true, u"2023"_s, 2023}));
    EXPECT_TRUE(messages().texts().isEmpty());
    QFile argument(QFileInfo(TdmKbrParams::chartOfAccountsProgram()).path() + u"/argomento.txt"_s);
    ASSERT_TRUE(argument.open(QIODevice::ReadOnly));
    EXPECT_EQ(QString::fromUtf8(argument.readAll()), connection().database().databaseName());
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
    EXPECT_TRUE(QFile::exists(settings.file(u"NruParams.ini"_s)));
}

TEST(KbrDaPagare66, OnlyAnIntegerOfAtLeastOneIsAccepted)
{
    EXPECT_EQ(KbrDaPagare66::settlements(u"1"_s), 1);
    EXPECT_EQ(KbrDaPagare66::settlements(u" 12 "_s), 12);
    for (const QString &bad : {u"0"_s, u"-3"_s, u""_s, u"due"_s, u"1,5"_s, u"1.5"_s, u"99999999999"_s})
        EXPECT_FALSE(KbrDaPagare66::settlements(bad).has_value()) << bad.toStdString();
}
