#include "AgentBootstrap.h"
#include "ClientDataSet.h"
#include "QtPrinters.h"
#include "ReturnDatabaseTest.h"
#include "SchoolFiscalCode.h"

using namespace Qt::Literals::StringLiterals;

namespace {

class AgentBootstrapTest : public ReturnDatabaseTest
{
protected:
    void bootstrap()
    {
        AgentBootstrap::run(
            store(), [this] { return schoolFiscalCode(&connection(), params()); }, findings());
    }

    // A school of the suite with its fiscal code, current for the user.
    void school(const QString &fiscalCode)
    {
        exec(u"INSERT INTO TSED_SEDI (ISEDID, IDWGID, SSEDNOMDENOMINAZIONE, SSEDNOMCODICEFISC) VALUES (?, ?, ?, ?)"_s,
             {7, 7, u"Scuola di prova"_s, fiscalCode});
        params().setValue(u"NRUP_DwgId"_s, 7);
    }

    // The payroll module's agent.
    void payrollAgent(const QString &fiscalCode)
    {
        write(u"TCUS_DATISOST"_s,
              uR"({"records": [{"SSOSCODFIS": "%1", "SSOSDENOM": "ISTITUTO DA CUD", "SSOSCOMUNE": "PERUGIA",
                  "SSOSPROV": "PG", "SSOSCAP": "06121", "SSOSINDIRIZZO": "VIA ROMA 1",
                  "SSOSEMAIL": "SCUOLA@PEC.IT", "SSOSCODATTIVITA": "85.20.00"}]})"_s.arg(fiscalCode)
                  .toUtf8(),
              2023, u"eli"_s);
    }
};

} // namespace

TEST_P(AgentBootstrapTest, TheFirstStartOfTheYearCopiesLastYearsAgentAndSupplierOnce)
{
    loadDemo();
    ASSERT_TRUE(read(u"TSOS_DATOSOSTITUTO"_s)->isEmpty());
    const auto lastYear = read(u"TSOS_DATOSOSTITUTO"_s, 2022);
    ASSERT_EQ(lastYear->fieldByName(u"SSOSMESESL"_s).asString(), u"09"_s);

    bootstrap();
    EXPECT_EQ(findings().texts(), QStringList{kCopiedFromLastYear});
    EXPECT_EQ(findings().entries().first().level, FindingLevel::Information);

    const auto agent = read(u"TSOS_DATOSOSTITUTO"_s);
    ASSERT_EQ(agent->recordCount(), 1);
    EXPECT_EQ(agent->fieldByName(u"SSOSCODFIS"_s).asString(), u"80012345676"_s);
    EXPECT_EQ(agent->fieldByName(u"SSOSCFRAPPR"_s).asString(), lastYear->fieldByName(u"SSOSCFRAPPR"_s).asString());
    EXPECT_EQ(agent->fieldByName(u"DSOSDTNASRAPPR"_s).asDate(), QDate(1968, 5, 14));
    for (const QString &period : {u"SSOSMESESL"_s, u"SSOSANNOSL"_s, u"SSOSMESEDF"_s, u"SSOSANNODF"_s})
        EXPECT_TRUE(agent->fieldByName(period).isNull()) << period.toStdString();
    EXPECT_EQ(agent->fieldByName(u"ISOSSEZ"_s).asInteger(), 1);
    for (const QString &flag : {u"LSOSST"_s, u"LSOSSV"_s, u"LGESCFSOS2"_s, u"LSOSCASIPART"_s})
        EXPECT_EQ(agent->fieldByName(flag).asString(), u"0"_s) << flag.toStdString();
    const auto supplier = read(u"TFOR_FORNITORE"_s);
    ASSERT_EQ(supplier->recordCount(), 1);
    EXPECT_EQ(supplier->fieldByName(u"SFORCODFIS"_s).asString(),
              read(u"TFOR_FORNITORE"_s, 2022)->fieldByName(u"SFORCODFIS"_s).asString());

    findings().clear();
    bootstrap();
    EXPECT_TRUE(findings().isEmpty());
    EXPECT_EQ(read(u"TSOS_DATOSOSTITUTO"_s)->recordCount(), 1);

    // The copy took a record number of its year: a new record gets another.
    write(u"TSOS_DATOSOSTITUTO"_s, R"({"records": [{"SSOSCODFIS": "80000000001"}]})");
    const auto agents = read(u"TSOS_DATOSOSTITUTO"_s);
    ASSERT_EQ(agents->recordCount(), 2);
    const qint64 first = agents->fieldByName(u"IFISRIGO"_s).asInteger();
    agents->next();
    EXPECT_NE(agents->fieldByName(u"IFISRIGO"_s).asInteger(), first);
}

TEST_P(AgentBootstrapTest, WithoutLastYearTheAgentComesFromThePayrollData)
{
    // With no school and no payroll an empty agent is made and nothing claimed.
    bootstrap();
    EXPECT_TRUE(findings().isEmpty());
    EXPECT_EQ(read(u"TSOS_DATOSOSTITUTO"_s)->recordCount(), 1);
    EXPECT_EQ(schoolFiscalCode(&connection(), params()), QString());

    school(u"80099990009"_s);
    payrollAgent(u"80099990009"_s);
    bootstrap();
    EXPECT_EQ(findings().texts(), QStringList{kFilledFromPayroll});
    const auto agent = read(u"TSOS_DATOSOSTITUTO"_s);
    ASSERT_EQ(agent->recordCount(), 1);
    const std::pair<const char16_t *, const char16_t *> copied[] = {
        {u"SSOSCODFIS", u"80099990009"},  {u"SSOSDENOM", u"ISTITUTO DA CUD"}, {u"SSOSCOMUNESL", u"PERUGIA"},
        {u"SSOSPROVSL", u"PG"},           {u"SSOSCAPSL", u"06121"},           {u"SSOSINDIRIZSL", u"VIA ROMA 1"},
        {u"SSOSEMAIL", u"SCUOLA@PEC.IT"}, {u"SCOACODICE", u"85.20.00"}};
    for (const auto &[field, value] : copied)
        EXPECT_EQ(agent->fieldByName(QString::fromUtf16(field)).asString(), QString::fromUtf16(value));
    EXPECT_TRUE(read(u"TFOR_FORNITORE"_s)->isEmpty());
}

TEST_P(AgentBootstrapTest, APayrollCodeThatDiffersFromTheSchoolsIsReportedAndTheSchoolsKept)
{
    school(u"80099990009"_s);
    payrollAgent(u"97000000001"_s);
    bootstrap();
    ASSERT_EQ(findings().entries().size(), 2);
    EXPECT_EQ(findings().texts().first(),
              u"Codice fiscale della scuola (80099990009) non congruente con quello presente nel "
              u"CUD (97000000001). Verrà importato 80099990009"_s);
    EXPECT_EQ(findings().entries().first().level, FindingLevel::Warning);
    EXPECT_EQ(read(u"TSOS_DATOSOSTITUTO"_s)->fieldByName(u"SSOSCODFIS"_s).asString(), u"80099990009"_s);
}

TEST_P(AgentBootstrapTest, AnAgentWithoutCodeIsCompletedWithoutLosingWhatItHolds)
{
    school(u"80099990009"_s);
    write(u"TSOS_DATOSOSTITUTO"_s, R"({"records": [{"SSOSDENOM": "GIA SCRITTO", "SSOSTEL": "075123"}]})");
    bootstrap();
    const auto agent = read(u"TSOS_DATOSOSTITUTO"_s);
    ASSERT_EQ(agent->recordCount(), 1);
    EXPECT_EQ(agent->fieldByName(u"SSOSCODFIS"_s).asString(), u"80099990009"_s);
    EXPECT_EQ(agent->fieldByName(u"SSOSDENOM"_s).asString(), u"GIA SCRITTO"_s);
    EXPECT_EQ(agent->fieldByName(u"SSOSTEL"_s).asString(), u"075123"_s);
    EXPECT_EQ(findings().texts(), QStringList{kFilledFromPayroll});
}

ELH_INSTANTIATE_ON_BOTH_ENGINES(AgentBootstrapTest);
