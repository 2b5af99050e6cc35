#include "TelematicFixture.h"

#include "ClientDataSet.h"
#include "DataPaths.h"
#include "ElhUFileChecks.h"

#include <QFile>

using namespace Qt::Literals::StringLiterals;

namespace {

const QString kUnknownAgent =
    u"Prospetti ST Sez I: Codice fiscale sostituto estinto non presente in Tabelle->Sostituto estinto"_s;

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

    QString fieldFile() const { return DataPaths::fromRoot(u"USR\\FLDati\\FL2023\\TFIFI_FIELDSFILE.CDS"_s); }
};

TEST_F(Checks, AnUnknownExtinctAgentStopsStage1BeforeTheWorkingTablesAreTouched)
{
    add(u"TPST_PROSPETTOST"_s, R"({"records": [{"SPSTMESE": "01", "SPSTANNO": "2023", "FPSTRITOPEARTE": "10"}]})");
    generate();
    const QByteArray before = readFile(fieldFile());
    ASSERT_FALSE(before.isEmpty());
    messages.clear();

    add(u"TPST_PROSPETTOST"_s, R"({"records": [{"SPSTMESE": "02", "SSOE7CODICE": ""},
                                               {"SPSTMESE": "03", "SSOE7CODICE": "80000000000"}]})");
    FileWizard &w = openWizard();
    EXPECT_EQ(w.createFile(), FileWizard::Outcome::Failed);
    EXPECT_EQ(w.memo(), QStringList{u"***** "_s + kUnknownAgent});
    EXPECT_EQ(messages.texts(), QStringList{u"Operazione terminata con errore"_s});
    EXPECT_EQ(messages.messages().first().type, MsgDlgType::Error);
    EXPECT_EQ(readFile(fieldFile()), before);
    EXPECT_FALSE(dm().cdsSostEst.filtered());
    EXPECT_EQ(dm().cdsSostEst.recordCount(), 2);
}

struct Prospetto
{
    const char16_t *table;
    const char16_t *name;
};

void PrintTo(const Prospetto &p, std::ostream *os)
{
    *os << QString::fromUtf16(p.table).toStdString();
}

class UnknownAgent
    : public Checks
    , public ::testing::WithParamInterface<Prospetto>
{
};

TEST_P(UnknownAgent, TheProspettoNamesItself)
{
    add(QString::fromUtf16(GetParam().table), R"({"records": [{"SSOE7CODICE": "82009870542"}, {"SSOE7CODICE": "1"}]})");
    FileWizard &w = openWizard();
    EXPECT_EQ(w.createFile(), FileWizard::Outcome::Failed);
    EXPECT_EQ(w.memo(),
              QStringList{u"***** "_s + QString::fromUtf16(GetParam().name)
                          + u": Codice fiscale sostituto estinto non presente in Tabelle->Sostituto estinto"_s});
}

INSTANTIATE_TEST_SUITE_P(Prospetti, UnknownAgent,
                         ::testing::Values(Prospetto{u"TPST2_PROSPETTOSTS2", u"Prospetti ST Sez II"},
                                           Prospetto{u"TPST3_PROSPETTOSTS3", u"Prospetti ST Sez III"},
                                           Prospetto{u"TPST4_PROSPETTOSTS4", u"Prospetti ST Sez IV"},
                                           Prospetto{u"TPSV_PROSPETTOSV", u"Prospetti Sv"},
                                           Prospetto{u"TPSX_PROSPETTOSX", u"Prospetti Sx"},
                                           Prospetto{u"TPDI_PROSPETTODI", u"Prospetti Di"},
                                           Prospetto{u"TPSY2_PROSPETTOSY2", u"Prospetti Sy Sez I"},
                                           Prospetto{u"TPSY_PROSPETTOSY", u"Prospetti Sy Sez II"},
                                           Prospetto{u"TPSY3_PROSPETTOSY3", u"Prospetti Sy Sez III"},
                                           Prospetto{u"TPSY4_PROSPETTOSY4", u"Prospetti Sy Sez IV"}));

// A row that the supply cannot carry, however it was made, and the message
// that stops stage 1.
struct BadRow
{
    const char16_t *table;
    const char *records;
    const char16_t *message;
};

void PrintTo(const BadRow &r, std::ostream *os)
{
    *os << r.records;
}

class BadValue
    : public Checks
    , public ::testing::WithParamInterface<BadRow>
{
};

TEST_P(BadValue, StopsStage1NamingTheRowBeforeTheWorkingTablesAreTouched)
{
    add(QString::fromUtf16(GetParam().table), GetParam().records);
    FileWizard &w = openWizard();
    EXPECT_EQ(w.createFile(), FileWizard::Outcome::Failed);
    EXPECT_EQ(w.memo(), QStringList{u"***** "_s + QString::fromUtf16(GetParam().message)
                                    + u" Correggere il prospetto e generare di nuovo il file."_s});
    EXPECT_EQ(messages.texts(), QStringList{u"Operazione terminata con errore"_s});
}

INSTANTIATE_TEST_SUITE_P(
    Prospetti, BadValue,
    ::testing::Values(
        BadRow{
            u"TPST_PROSPETTOST",
            R"({"records": [{"SPSTMESE": "01", "SPSTANNO": "2023"}, {"SPSTMESE": "13", "SPSTANNO": "2023"}]})",
            u"Prospetti ST Sez I, riga 2: il periodo «13/2023» non è valido: il mese «13» non è di due cifre da 01 a "
            u"12."},
        BadRow{u"TPST2_PROSPETTOSTS2", R"({"records": [{"SPST2MESE": "1", "SPST2ANNO": "2023"}]})",
               u"Prospetti ST Sez II, riga 1: il periodo «1/2023» non è valido: il mese «1» non è di due cifre da 01 a "
               u"12."},
        BadRow{u"TPSV_PROSPETTOSV", R"({"records": [{"SPSVMESE": "AB", "SPSVANNO": "2023"}]})",
               u"Prospetti Sv, riga 1: il periodo «AB/2023» non è valido: il mese «AB» non è di due cifre da 01 a 12."},
        BadRow{
            u"TPST3_PROSPETTOSTS3", R"({"records": [{"SPST3MESE28": "05", "SPST3ANNO28": "23"}]})",
            u"Prospetti ST Sez III, riga 1, rigo ST28: il periodo «05/23» non è valido: l'anno «23» non è di quattro "
            u"cifre."},
        BadRow{
            u"TPST4_PROSPETTOSTS4", R"({"records": [{"SPST2ANNO49": "2023"}]})",
            u"Prospetti ST Sez IV, riga 1, rigo ST49: il periodo «/2023» non è valido: il mese «» non è di due cifre "
            u"da 01 a 12."},
        BadRow{u"TPST_PROSPETTOST",
               R"({"records": [{"SPSTMESE": "01", "SPSTANNO": "2023", "FPSTIMPOVERSATO": "-500"}]})",
               u"Prospetti ST Sez I, riga 1: l'importo -500,00 del campo FPSTIMPOVERSATO è negativo e il file non "
               u"ammette importi negativi."},
        BadRow{u"TPSY3_PROSPETTOSY3", R"({"records": [{"FPSY3RITEFF": "-0.01"}]})",
               u"Prospetti Sy Sez III, riga 1: l'importo -0,01 del campo FPSY3RITEFF è negativo e il file non ammette "
               u"importi negativi."}));

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
