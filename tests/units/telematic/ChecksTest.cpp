#include "TelematicFixture.h"

#include "ClientDataSet.h"
#include "DataPaths.h"
#include "ElhUFileChecks.h"

#include <QFile>

using namespace Qt::Literals::StringLiterals;

namespace {

class Checks : public TelematicTest
{
protected:
    Checks()
    {
        addDemoFrontispiece();
        add(u"TSOE7_SOSESTINTO"_s, R"({"records": [{"CODICE": "82009870542"}, {"CODICE": "97000110581"}]})");
    }

    void editAgent(const QString &field, const QString &value)
    {
        ClientDataSet sost;
        store.open(sost, u"TSOS_DATOSOSTITUTO"_s);
        sost.edit();
        sost.fieldByName(field).setAsString(value);
        sost.post();
        store.save(sost, u"TSOS_DATOSOSTITUTO"_s);
    }
};

class Refusal
    : public Checks
    , public ::testing::WithParamInterface<QStringList>
{
};

TEST_P(Refusal, StopsStage1WithItsMessageBeforeTheWorkingTablesAreTouched)
{
    add(u"TSS4_PROSPETTOSS4"_s, R"({"records": [{"FIOSSALIRPEF_SS": "310.00"}]})");
    generate();
    const QString fieldFile = DataPaths::fromRoot(u"USR\\FLDati\\FL2023\\TFIFI_FIELDSFILE.CDS"_s);
    const QByteArray before = readFile(fieldFile);
    ASSERT_FALSE(before.isEmpty());
    findings.clear();

    add(GetParam()[0], GetParam()[1].toUtf8());
    FileWizard &w = openWizard();
    EXPECT_EQ(w.createFile(), FileWizard::Outcome::Failed);
    EXPECT_EQ(w.memo(), QStringList{u"***** "_s + GetParam()[2]});
    EXPECT_EQ(told(), QStringList{u"Errore: Operazione terminata con errore"_s});
    EXPECT_EQ(readFile(fieldFile), before);
    EXPECT_FALSE(dm().cdsSostEst.filtered());
    EXPECT_EQ(dm().cdsSostEst.recordCount(), 2);
}

INSTANTIATE_TEST_SUITE_P(Prospetti, Refusal, ::testing::ValuesIn(caseRows(u"stage1-refusals.txt"_s)), caseName);

TEST_F(Checks, TheProtocolOfSeparateManagementNeedsBothParts)
{
    editAgent(u"SPROTINVGESTSEPID"_s, u"   "_s);
    EXPECT_TRUE(QFile::exists(generate()));

    editAgent(u"SPROTINVGESTSEPID"_s, u"23010112345678901"_s);
    FileWizard &w = openWizard();
    ASSERT_EQ(w.createFile(), FileWizard::Outcome::Created);
    const QString out = file(u"protocollo.txt"_s);
    EXPECT_EQ(errorOf([&] { w.save(out); }),
              u"Incongruenza dati frontespizio:\r\n  Protocollo dichiarazione inviata in gestione "
              u"separata: \r\nIdentificativo dell invio e Progressivo Attribuito dal Servizio "
              u"telematico alla singola dichiarazioneambedue assenti o presenti"_s);
    EXPECT_FALSE(QFile::exists(out));

    editAgent(u"SPROTINVGESTSEPAS"_s, u"000001"_s);
    const QList<QByteArray> lines = supplyLines(generate());
    ASSERT_EQ(lines.size(), 3);
    EXPECT_EQ(lines[1].mid(90, 23), "23010112345678901000001");
}

TEST_F(Checks, ASectionIIRowOfAnotherAgentInAModuleNamesBothAgentsAndTheRow)
{
    add(u"TPSY_PROSPETTOSY"_s,
        R"({"records": [{"SSOE7CODICE": "97000110581", "SPSYDEBPRICODF": "RSSMRC75B03D653P"}]})");
    openWizard();
    ClientDataSet &sy = dm().cdsPrSy;
    sy.first();
    EXPECT_EQ(errorOf([&] { CheckSyCongruence(u"97000110581"_s, sy, 7, 2); }), QString());
    EXPECT_EQ(errorOf([&] { CheckSyCongruence(QString(), sy, 8, 3); }),
              u"Prospetti SY: \"Operazioni straordinarie e successioni\" non congruenti: la riga della sezione II del "
              u"debitore principale RSSMRC75B03D653P è del sostituto estinto 97000110581, ma il rigo SY8 del modulo 3 "
              u"è del sostituto dichiarante"_s);
}

} // namespace
