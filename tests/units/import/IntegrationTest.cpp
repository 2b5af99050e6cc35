#include "CaseFile.h"
#include "ClientDataSet.h"
#include "ElhMImport.h"
#include "Exceptions.h"
#include "ExportManifest.h"
#include "ReturnDatabaseTest.h"
#include "TempDir.h"

#include <gtest/gtest.h>

using namespace Qt::Literals::StringLiterals;

namespace {

using Integration = TdmElhImport::Integration;

const QString kRusso = u"RSSLCU82T20H501C"_s; // here with adjustment data
const QString kRossi = u"RSSMRA75D12D653T"_s; // here with dependants
const QString kNew = u"MRNLGU80A01D653X"_s;   // only the extinct school's
const QString kGalli = u"GLLRRT65L08G478C"_s;
const QString kExtinct = u"80009870546"_s;

// The demo school, and the exported return of a second school that closed.
class IntegrationTest : public ReturnDatabaseTest
{
protected:
    void SetUpOpened() override
    {
        ReturnDatabaseTest::SetUpOpened();
        loadDemo();
        exportExtinctSchool(m_folder.path(), kExtinct);
    }

    // A column of a person's rows of a table of this return, one value a row.
    QStringList column(const QString &table, const QString &code, const QString &field)
    {
        const auto ds = read(table);
        const QString codeField =
            table.startsWith(u"TD"_s) && table != u"TDIP7_ANAGRFISCALI"_s ? u"SDAU7CODFIS"_s : u"SDIP7CODFIS"_s;
        QStringList values;
        for (; !ds->eof(); ds->next()) {
            if (ds->fieldByName(codeField).asString() == code)
                values.append(ds->fieldByName(field).asString());
        }
        return values;
    }

    TempDir m_folder;
    FindingList findings;
};

ELH_INSTANTIATE_ON_BOTH_ENGINES(IntegrationTest);

} // namespace

TEST_P(IntegrationTest, EmployeesOfTheExtinctSchoolJoinOrMergeAndBothAgentsDataIsLeftForTheOffice)
{
    TdmElhImport integration(store(), params(), findings);
    ClientDataSet people;
    integration.extinctPeople(m_folder.path(), Integration::Employees, people);
    QStringList listed;
    for (; !people.eof(); people.next())
        listed.append(people.fieldByName(u"CODFIS"_s).asString() + u' ' + people.fieldByName(u"COGNOME"_s).asString());
    EXPECT_EQ(listed,
              (QStringList{u"MRNLGU80A01D653X MARINI"_s, u"RSSLCU82T20H501C RUSSO"_s, u"RSSMRA75D12D653T ROSSI"_s}));

    ASSERT_TRUE(integration.integra(m_folder.path(), Integration::Employees, {}));
    const QString log = integration.log().join(u'\n');
    for (const QString &line :
         {u"Dipendente MARINI LUIGI\nDipendente aggiunto"_s,
          u"Dipendente RUSSO LUCA\nDati dipendenti integrati\n*** I dati del conguaglio devono essere integrati "
          u"manualmente"_s,
          u"Dipendente ROSSI MARIO\nDati dipendenti integrati\n*** I dati dei familiari a carico devono essere "
          u"integrati manualmente"_s,
          QString(96, u'-')})
        EXPECT_TRUE(log.contains(line)) << log.toStdString();

    // Russo: amounts and days added, the termination's additional tax taken
    // over, his own adjustment row untouched, the extinct school's INPS row
    // added; Marini, a new person of the store with all his rows and the
    // extinct agent: the columns of integration.json, [table, code, field,
    // [value of each row]].
    for (const QJsonValue &e : caseDocument(QStringLiteral(ELH_CASES_DIR "/integration.json")).array())
        EXPECT_EQ(column(e[0].toString(), e[1].toString(), e[2].toString()),
                  QVariant(e[3].toArray().toVariantList()).toStringList())
            << e[2].toString().toStdString();
    EXPECT_EQ(column(u"TDIP7_ANAGRFISCALI"_s, kRusso, u"SDIP7DFCOMUNE"_s).value(0).isEmpty(), false);
    EXPECT_EQ(column(u"TCFC7_CONFAMCARICO"_s, kRossi, u"SDIP7CODFIS"_s).size(), 2);
    EXPECT_EQ(column(u"TDIP7_ANAGRFISCALI"_s, kNew, u"IAFIID"_s).value(0).toLongLong() > 0, true);
    EXPECT_EQ(column(u"TCFC7_CONFAMCARICO"_s, kNew, u"IAFIID"_s), column(u"TDIP7_ANAGRFISCALI"_s, kNew, u"IAFIID"_s));

    const auto agents = read(u"TSOE7_SOSESTINTO"_s);
    ASSERT_TRUE(agents->locate(u"CODICE"_s, kExtinct));
    EXPECT_EQ(agents->fieldByName(u"DENOMINAZI0NE"_s).asString(), u"SCUOLA MEDIA CHIUSA"_s);

    // Run again on the same folder: nothing is added twice.
    ASSERT_TRUE(integration.integra(m_folder.path(), Integration::Employees, {kRusso}));
    EXPECT_EQ(integration.log(), (QStringList{u"Dipendente RUSSO LUCA"_s, u"Dati del sostituto estinto già integrati"_s,
                                              QString(), QString(96, u'-'), QString()}));
    EXPECT_EQ(column(u"TDIP7_ANAGRFISCALI"_s, kRusso, u"FFIS7RITIRPEF"_s), QStringList{u"6317,7"_s});
    EXPECT_EQ(column(u"TINPS7_INPS"_s, kRusso, u"SINPS7MATRAZIENDA"_s), QStringList{u"9988776655"_s});
}

TEST_P(IntegrationTest, SelfEmployedAmountsOfTheExtinctAgentAreBroughtOnce)
{
    TdmElhImport integration(store(), params(), findings);
    const qsizetype before = column(u"TDSE7_SOMMEEROGATE"_s, kGalli, u"SCAUCODICE"_s).size();
    ASSERT_TRUE(integration.integra(m_folder.path(), Integration::SelfEmployed, {}));
    EXPECT_TRUE(integration.log().contains(u"Autonomo aggiunto"_s));
    EXPECT_EQ(column(u"TDAU7_DATIAUTONOM"_s, u"BRNNNA70A41D653Y"_s, u"SSOE7CODICE"_s), QStringList{kExtinct});
    EXPECT_EQ(column(u"TDSE7_SOMMEEROGATE"_s, u"BRNNNA70A41D653Y"_s, u"FDSE7AMMLORDO"_s), QStringList{u"400"_s});
    QStringList galli = column(u"TDSE7_SOMMEEROGATE"_s, kGalli, u"SSOE7CODICE"_s);
    EXPECT_EQ(galli.size(), before + 1);
    EXPECT_EQ(galli.count(kExtinct), 1);

    ASSERT_TRUE(integration.integra(m_folder.path(), Integration::SelfEmployed, {kGalli}));
    EXPECT_EQ(integration.log(),
              (QStringList{u"Dipendente GALLI ROBERTO"_s, u"Dati autonomo già importato per sostituto estinto"_s,
                           QString(), QString(96, u'-'), QString()}));
    EXPECT_EQ(column(u"TDSE7_SOMMEEROGATE"_s, kGalli, u"SSOE7CODICE"_s), galli);
}

TEST_P(IntegrationTest, AFailureInsideAPersonLeavesHimAsHeWasAndTheAgentsMustDiffer)
{
    const QStringList russo = column(u"TDIP7_ANAGRFISCALI"_s, kRusso, u"FFIS7RITIRPEF"_s);
    // The INPS row comes after Russo's fiscal data within his transaction.
    refuseStoredText(u"9988776655"_s);
    TdmElhImport integration(store(), params(), findings);
    EXPECT_FALSE(integration.integra(m_folder.path(), Integration::Employees, {}));
    EXPECT_EQ(integration.failed(), QStringList{kRusso});
    EXPECT_TRUE(integration.log().join(u'\n').contains(u"guasto simulato"_s));
    EXPECT_EQ(column(u"TDIP7_ANAGRFISCALI"_s, kRusso, u"FFIS7RITIRPEF"_s), russo);
    EXPECT_TRUE(column(u"TINPS7_INPS"_s, kRusso, u"SINPS7MATRAZIENDA"_s).isEmpty());
    // The others went on.
    EXPECT_EQ(column(u"TDIP7_ANAGRFISCALI"_s, kNew, u"FFIS7RITIRPEF"_s), QStringList{u"300"_s});

    // An extinct agent without a code, or with the school's own, stops
    // everything before a change; so does a folder without his files, one
    // whose employees lack a column the integration reads, and one whose
    // export says it holds another year.
    const auto rossi = column(u"TDIP7_ANAGRFISCALI"_s, kRossi, u"FFIS7RITIRPEF"_s);
    const qsizetype agents = read(u"TSOE7_SOSESTINTO"_s)->recordCount();
    exec(GetParam() == Engine::SQLite ? u"DROP TRIGGER TR_GUASTO"_s : u"DROP TRIGGER TR_GUASTO ON TFIS_DATIFISCALI"_s);
    const TempDir noCode, ownCode, empty, lacking, lastYear;
    exportExtinctSchool(noCode.path(), QString());
    exportExtinctSchool(ownCode.path(), u"80012345676"_s);
    exportExtinctSchool(lacking.path(), kExtinct);
    ClientDataSet codeOnly;
    codeOnly.fieldDefs().add(u"SDIP7CODFIS"_s, FieldType::String, 16);
    codeOnly.createDataSet();
    codeOnly.saveToFile(lacking.file(u"TDIP7_ANAGRFISCALI.cds"_s));
    exportExtinctSchool(lastYear.path(), kExtinct);
    QFile manifest(lastYear.file(ExportManifest::kFileName));
    ASSERT_TRUE(manifest.open(QIODevice::WriteOnly));
    manifest.write(ExportManifest::bytes(u"elh"_s, 2022, 0));
    manifest.close();
    for (const auto &[folder, message] :
         {std::pair{noCode.path(), TdmElhImport::kExtinctAgentCode},
          std::pair{ownCode.path(), TdmElhImport::kExtinctAgentCode},
          std::pair{empty.path(), u"TSOS_DATOSOSTITUTO.cds"_s},
          std::pair{lacking.path(), u"TDIP7_ANAGRFISCALI.cds» non ha il campo "_s},
          std::pair{lastYear.path(), u"contiene la dichiarazione dell'anno 2022 (ESPORTAZIONE.cds)"_s}}) {
        try {
            integration.integra(folder, Integration::Employees, {kRossi});
            ADD_FAILURE() << "the integration went on with " << folder.toStdString();
        } catch (const Exception &e) {
            EXPECT_TRUE(e.message().contains(message)) << e.message().toStdString();
        }
    }
    EXPECT_EQ(column(u"TDIP7_ANAGRFISCALI"_s, kRossi, u"FFIS7RITIRPEF"_s), rossi);
    EXPECT_EQ(read(u"TSOE7_SOSESTINTO"_s)->recordCount(), agents);
}
