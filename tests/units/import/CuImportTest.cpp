#include "ClientDataSet.h"
#include "PayrollDatabaseTest.h"
#include "THlmDBCds.h"
#include "ElhMImport.h"

#include <gtest/gtest.h>

#include <ranges>

using namespace Qt::Literals::StringLiterals;

namespace {

class CuImportTest : public PayrollDatabaseTest
{
protected:
    bool run(const QStringList &codes, TdmElhImport::Options options = {})
    {
        TdmElhImport import(store(), params());
        const bool ok = import.ImportCUD(codes, options);
        log = import.log();
        return ok;
    }

    QStringList log;
};

ELH_INSTANTIATE_ON_BOTH_ENGINES(CuImportTest);

// The demo school, whose payroll holds the certifications of its employees
// and the payments of its self-employed workers.
class DemoCuImportTest : public PayrollDatabaseTest
{
protected:
    void SetUpOpened() override
    {
        ReturnDatabaseTest::SetUpOpened();
        loadDemo();
    }

    // Every non-empty row of the people in the sections, one line a row.
    QStringList sectionsOf(const QStringList &codes, const QStringList &sections)
    {
        QStringList all;
        for (const QString &code : codes) {
            for (const QString &section : sections) {
                QStringList found = rows(section, code);
                found.sort();
                for (const QString &row : std::as_const(found))
                    all.append(section + u' ' + code + u": "_s + row);
            }
        }
        return all;
    }

    // Empties the sections through the store, the registry (first) last:
    // a detail record never outlives its person.
    void empty(const QStringList &sections)
    {
        for (const QString &section : std::views::reverse(sections)) {
            ClientDataSet ds;
            store().open(ds, section);
            for (ds.first(); !ds.isEmpty(); ds.first())
                ds.deleteRecord();
            store().save(ds, section);
        }
    }
};

ELH_INSTANTIATE_ON_BOTH_ENGINES(DemoCuImportTest);

} // namespace

TEST_P(DemoCuImportTest, ImportingTheDemoCertificationsGivesTheDemoEmployeeSectionsBack)
{
    // Two certifications that add up (BIANCHI), a comprehensive one and an
    // adjusting one that replace an earlier certification (ESPOSITO, RUSSO),
    // annotations and dependants (ROSSI), separate taxation split over two
    // years by the payroll's history (BIANCHI), severance pay (VERDI).
    const QStringList sections{u"TDIP7_ANAGRFISCALI"_s,  u"TCON7_DATICONGUAG"_s,  u"TRAR7_REDASSTIRTIT"_s,
                               u"TSLS7_SOMEROLAVSTRA"_s, u"TTAS7_TASSAZIONESE"_s, u"TTFR7_TFR"_s,
                               u"TINPS7_INPS"_s,         u"TINP7_INPDAP"_s,       u"TCFC7_CONFAMCARICO"_s,
                               u"TANN7_ANNOTAZIONI"_s,   u"TREE7_REDDITOESTER"_s, u"TCFF7_CFFAMILIARE"_s,
                               u"TINA7_INAIL"_s};
    TdmElhImport import(store(), params());
    ClientDataSet people;
    import.certifiedPeople(people);
    QStringList codes;
    for (people.first(); !people.eof(); people.next())
        codes.append(people.fieldByName(u"CODFIS"_s).asString());
    ASSERT_EQ(codes.size(), 5);
    const QStringList before = sectionsOf(codes, sections);
    empty(sections);

    ASSERT_TRUE(import.ImportCUD(codes, {})) << import.log().join(u'\n').toStdString();
    EXPECT_EQ(sectionsOf(codes, sections), before);
    EXPECT_TRUE(messages().texts().isEmpty()) << messages().texts().join(u'\n').toStdString();
}

TEST_P(DemoCuImportTest, ImportingTheDemoPayrollsSelfEmployedGivesTheDemoSectionsBack)
{
    // GALLI: a professional payment with his contributions, an occasional
    // one with expenses refunded; the firm: two payments of one reason that
    // add up, with sums not subject and the school's contribution.
    const QStringList sections{u"TDAU7_DATIAUTONOM"_s, u"TDSE7_SOMMEEROGATE"_s};
    TdmElhImport import(store(), params());
    TNrQueryCollection list;
    import.openPayees(list, TdmElhImport::PayeeList::SelfEmployed);
    QStringList codes;
    for (list.first(); !list.eof(); list.next())
        codes.append(list.fieldByName(u"SANACODFISCALE"_s).asString());
    ASSERT_EQ(codes, (QStringList{u"GLLRRT65L08G478C"_s, u"02487650323"_s}));
    const QStringList before = sectionsOf(codes, sections);
    empty(sections);

    // Into an empty section, then over itself.
    for (const auto overwrite : {TdmElhImport::Overwrite::Never, TdmElhImport::Overwrite::Always}) {
        import.beginAutonomi();
        for (list.first(); !list.eof(); list.next())
            EXPECT_EQ(import.importaAutonomo(list, overwrite), TdmElhImport::Outcome::Imported);
        import.endAutonomi();
        EXPECT_EQ(sectionsOf(codes, sections), before);
    }
    EXPECT_TRUE(messages().texts().isEmpty()) << messages().texts().join(u'\n').toStdString();
}

TEST_P(CuImportTest, CertificationsOfAPersonAddUpUnlessOneReplacesThemAndOtherPeopleStayAsTheyWere)
{
    // ROSSI: two certifications that add up, INPS of two companies, one of
    // them in both; BIANCHI: the second certification is comprehensive;
    // VERDI brings nothing for the return; NERI has an INPDAP row of zeros
    // and annotations; GALLI is only self-employed; the return already holds
    // ROSSI (replaced) and an employee not chosen (kept).
    certify(u"TCUD_DATICUD"_s, R"(
        {"SCUDCODFIS": "RSSMRA75D12D653T", "SCUDMESE": "06", "SCUDCOGNOME": "Rossi", "SCUDNOME": "Mario", "FCUDREDDDETR": "1000.50", "ICUDPERIODOLAV": 200, "SCUDALTROSOSCODFIS": "01234567897"},
        {"SCUDCODFIS": "RSSMRA75D12D653T", "SCUDMESE": "12", "SCUDCOGNOME": "Rossi", "SCUDNOME": "Mario", "FCUDREDDDETR": "500", "ICUDPERIODOLAV": 166},
        {"SCUDCODFIS": "BNCLRA90B41G478Z", "SCUDMESE": "03", "SCUDCOGNOME": "Bianchi", "SCUDNOME": "Laura", "FCUDREDDDETR": "700"},
        {"SCUDCODFIS": "BNCLRA90B41G478Z", "SCUDMESE": "09", "SCUDCOGNOME": "Bianchi", "SCUDNOME": "Laura", "FCUDREDDDETR": "900", "LCUDCOMPRENSIVO": "X"},
        {"SCUDCODFIS": "VRDGPP58C10D653M", "SCUDMESE": "12", "SCUDCOGNOME": "Verdi", "SCUDNOME": "Giuseppe", "SCUDALTROSOSCODFIS": "01234567897"},
        {"SCUDCODFIS": "NRENNA70E55F839P", "SCUDMESE": "12", "SCUDCOGNOME": "Neri", "SCUDNOME": "Anna", "FCUDRITIRPEF": "10",
         "SCUDANNOTAZIONI": "AC) detrazione calcolata sul periodo\r\nBO)\r\nZZ) codice che non esiste"},
        {"SCUDCODFIS": "GLLRRT65L08G478C", "SCUDMESE": "12", "SCUDCOGNOME": "Galli", "SCUDNOME": "Roberto"},
        {"SCUDCODFIS": "SPSNNA70E55F839X", "SCUDMESE": "12", "SCUDCOGNOME": "Esposito", "SCUDNOME": "Anna", "FCUDREDDDETR": "1", "SCUDALTROSOSCODFIS": "99999999999"})");
    certify(u"TCUDI_INPS"_s, R"(
        {"SCUDCODFIS": "RSSMRA75D12D653T", "SCUDMESE": "06", "SCUDMATRAZIENDA": "5401", "FCUDIMPONIBILE": "100"},
        {"SCUDCODFIS": "RSSMRA75D12D653T", "SCUDMESE": "12", "SCUDMATRAZIENDA": "5401", "FCUDIMPONIBILE": "50"},
        {"SCUDCODFIS": "RSSMRA75D12D653T", "SCUDMESE": "12", "SCUDMATRAZIENDA": "7777", "FCUDIMPONIBILE": "20"},
        {"SCUDCODFIS": "BNCLRA90B41G478Z", "SCUDMESE": "03", "SCUDMATRAZIENDA": "5401", "FCUDIMPONIBILE": "70"})");
    certify(u"TCUDN_INPDAP"_s, R"(
        {"SCUDCODFIS": "NRENNA70E55F839P", "SCUDMESE": "12", "SCUDCODFISAMMNE": "80012345676", "ICUDANNORIF": 2023, "SCUDGESASS2": "2"})");
    certify(u"TASE_AUTSOMMEEROGATE"_s, R"(
        {"SCUDCODFIS": "GLLRRT65L08G478C", "SCUDMESE": "12", "SCAUCODICE": "A", "SDSE7ANNO": "2023", "FCUDIMPONIBILE": "2400", "FCUDRITTITACC": "480"})");
    write(u"TDIP7_ANAGRFISCALI"_s, R"({"records": [
        {"SDIP7CODFIS": "RSSMRA75D12D653T", "SDIP7COGNOME": "ROSSI", "SDIP7GRUPPOANA": "D", "FFIS7RITIRPEF": "999"},
        {"SDIP7CODFIS": "SPSNNA70E55F839X", "SDIP7COGNOME": "ESPOSITO", "SDIP7GRUPPOANA": "D", "FFIS7RITIRPEF": "5"}]})");
    write(
        u"TINPS7_INPS"_s,
        R"({"records": [{"SDIP7CODFIS": "RSSMRA75D12D653T", "sInps7MatrAzienda": "0001", "fInps7Imponibile": "9"}]})");
    const QStringList untouched = rows(u"TDIP7_ANAGRFISCALI"_s, u"SPSNNA70E55F839X"_s);

    const QStringList chosen{u"rssmra75d12d653t "_s, u"BNCLRA90B41G478Z"_s, u"VRDGPP58C10D653M"_s,
                             u"NRENNA70E55F839P"_s, u"GLLRRT65L08G478C"_s};
    ASSERT_TRUE(run(chosen));
    const QStringList first = rows(u"TDIP7_ANAGRFISCALI"_s, u"RSSMRA75D12D653T"_s);
    ASSERT_EQ(first.size(), 1);
    EXPECT_TRUE(first[0].contains(u"FFIS7REDDDETR=1500,5 IFIS7PERIODOLAV=365"_s)) << first[0].toStdString();
    EXPECT_FALSE(first[0].contains(u"FFIS7RITIRPEF"_s));
    EXPECT_EQ(rows(u"TINPS7_INPS"_s, u"RSSMRA75D12D653T"_s).join(u'|').count(u"fInps7Imponibile="_s), 2);
    const auto inps = read(u"TINPS7_INPS"_s);
    ASSERT_TRUE(inps->locate(u"sInps7MatrAzienda"_s, u"5401"_s));
    EXPECT_EQ(inps->fieldByName(u"fInps7Imponibile"_s).asString(), u"150"_s);
    EXPECT_FALSE(inps->locate(u"sInps7MatrAzienda"_s, u"0001"_s));
    // The comprehensive certification replaced the first: its INPS row went too.
    EXPECT_EQ(value(u"TDIP7_ANAGRFISCALI"_s, u"BNCLRA90B41G478Z"_s, u"FFIS7REDDDETR"_s), u"900"_s);
    EXPECT_TRUE(rows(u"TINPS7_INPS"_s, u"BNCLRA90B41G478Z"_s).isEmpty());
    // Nothing for the return leaves no employee; nor does an INPDAP row of zeros.
    EXPECT_TRUE(rows(u"TDIP7_ANAGRFISCALI"_s, u"VRDGPP58C10D653M"_s).isEmpty());
    EXPECT_TRUE(rows(u"TINP7_INPDAP"_s, u"NRENNA70E55F839P"_s).isEmpty());
    EXPECT_EQ(rows(u"TANN7_ANNOTAZIONI"_s, u"NRENNA70E55F839P"_s), QStringList{u"SANN701=AC"_s});
    // A self-employed worker only: his amounts, and no employee.
    EXPECT_TRUE(rows(u"TDIP7_ANAGRFISCALI"_s, u"GLLRRT65L08G478C"_s).isEmpty());
    EXPECT_EQ(value(u"TDAU7_DATIAUTONOM"_s, u"GLLRRT65L08G478C"_s, u"SDAU7GRUPPOANA"_s), u"A"_s);
    EXPECT_EQ(rows(u"TDSE7_SOMMEEROGATE"_s, u"GLLRRT65L08G478C"_s),
              QStringList{u"FDSE7IMPONIBILE=2400 SDSE7ANNO=2023 SCAUCODICE=A FDSE7RITTITACC=480"_s});
    // The person not chosen stays; the other agents of every certification
    // are there once.
    EXPECT_EQ(rows(u"TDIP7_ANAGRFISCALI"_s, u"SPSNNA70E55F839X"_s), untouched);
    QStringList agents;
    for (const auto others = read(u"TSOE7_SOSESTINTO"_s); !others->eof(); others->next())
        agents.append(others->fieldByName(u"CODICE"_s).asString());
    EXPECT_EQ(agents, (QStringList{u"01234567897"_s, u"99999999999"_s}));

    // Importing again gives the same rows.
    const QStringList before =
        rows(u"TINPS7_INPS"_s, u"RSSMRA75D12D653T"_s) + rows(u"TDIP7_ANAGRFISCALI"_s, u"RSSMRA75D12D653T"_s);
    ASSERT_TRUE(run(chosen));
    EXPECT_EQ(rows(u"TINPS7_INPS"_s, u"RSSMRA75D12D653T"_s) + rows(u"TDIP7_ANAGRFISCALI"_s, u"RSSMRA75D12D653T"_s),
              before);
    EXPECT_EQ(read(u"TSOE7_SOSESTINTO"_s)->recordCount(), 2);
}

TEST_P(CuImportTest, APersonWhoseRowsTheDatabaseRefusesStaysAsHeWasAndTheOthersAreImported)
{
    write(u"TDIP7_ANAGRFISCALI"_s, R"({"records": [
        {"SDIP7CODFIS": "RSSMRA75D12D653T", "SDIP7COGNOME": "ROSSI", "SDIP7NOME": "MARIO", "SDIP7GRUPPOANA": "D", "FFIS7RITIRPEF": "999"}]})");
    write(
        u"TINPS7_INPS"_s,
        R"({"records": [{"SDIP7CODFIS": "RSSMRA75D12D653T", "sInps7MatrAzienda": "0001", "fInps7Imponibile": "9"}]})");
    certify(u"TCUD_DATICUD"_s, R"(
        {"SCUDCODFIS": "RSSMRA75D12D653T", "SCUDMESE": "12", "SCUDCOGNOME": "Rossi", "SCUDNOME": "Mario", "FCUDRITIRPEF": "100"},
        {"SCUDCODFIS": "BNCLRA90B41G478Z", "SCUDMESE": "12", "SCUDCOGNOME": "Bianchi", "SCUDNOME": "Laura", "FCUDRITIRPEF": "200"})");
    // His registry and fiscal data are written; his INPS row is refused.
    certify(
        u"TCUDI_INPS"_s,
        R"({"SCUDCODFIS": "RSSMRA75D12D653T", "SCUDMESE": "12", "SCUDMATRAZIENDA": "GUASTO", "FCUDIMPONIBILE": "1"})");
    const QStringList employee = rows(u"TDIP7_ANAGRFISCALI"_s, u"RSSMRA75D12D653T"_s);
    const QStringList inps = rows(u"TINPS7_INPS"_s, u"RSSMRA75D12D653T"_s);
    refuseStoredText(u"GUASTO"_s);

    EXPECT_FALSE(run({u"RSSMRA75D12D653T"_s, u"BNCLRA90B41G478Z"_s}));
    EXPECT_EQ(rows(u"TDIP7_ANAGRFISCALI"_s, u"RSSMRA75D12D653T"_s), employee);
    EXPECT_EQ(rows(u"TINPS7_INPS"_s, u"RSSMRA75D12D653T"_s), inps);
    EXPECT_EQ(value(u"TDIP7_ANAGRFISCALI"_s, u"BNCLRA90B41G478Z"_s, u"FFIS7RITIRPEF"_s), u"200"_s);
    ASSERT_GE(log.size(), 2) << log.join(u'\n').toStdString() << messages().texts().join(u'\n').toStdString();
    EXPECT_EQ(log[0], u"Dipendente Rossi Mario"_s);
    EXPECT_TRUE(log[1].startsWith(
        u"Importazione non riuscita, i dati già presenti del dipendente non sono stati modificati: "_s))
        << log[1].toStdString();
    EXPECT_TRUE(log[1].contains(u"guasto simulato"_s)) << log[1].toStdString();
}

TEST_P(CuImportTest, HostileCertificationsAreRefusedNamedAndCountedAndTheirPeopleKeepWhatTheyHad)
{
    write(u"TDIP7_ANAGRFISCALI"_s, R"({"records": [
        {"SDIP7CODFIS": "RSSMRA75D12D653T", "SDIP7COGNOME": "ROSSI", "SDIP7NOME": "MARIO", "SDIP7GRUPPOANA": "D", "FFIS7RITIRPEF": "999"}]})");
    write(u"TANN7_ANNOTAZIONI"_s, R"({"records": [{"SDIP7CODFIS": "RSSMRA75D12D653T", "SANN701": "AC"}]})");
    // ROSSI: the first of his two certifications is the bad one.
    certify(u"TCUD_DATICUD"_s, R"(
        {"SCUDCODFIS": "RSSMRA75D12D653T", "SCUDMESE": "06", "SCUDCOGNOME": "Rossi", "SCUDNOME": "Mario", "FCUDRITIRPEF": "100"},
        {"SCUDCODFIS": "RSSMRA75D12D653T", "SCUDMESE": "12", "SCUDCOGNOME": "Rossi", "SCUDNOME": "Mario", "FCUDRITIRPEF": "50"},
        {"SCUDCODFIS": "BNCLRA90B41G478Z", "SCUDMESE": "12", "SCUDCOGNOME": "Bianchi", "SCUDNOME": "Laura", "FCUDRITIRPEF": "1"},
        {"SCUDCODFIS": "NRENNA70E55F839P", "SCUDMESE": "12", "SCUDCOGNOME": "Neri", "SCUDNOME": "Anna", "FCUDRITIRPEF": "1"},
        {"SCUDCODFIS": "VRDGPP58C10D653M", "SCUDMESE": "12", "SCUDCOGNOME": "Verdi", "SCUDNOME": "Giuseppe", "FCUDRITIRPEF": "200"},
        {"SCUDCODFIS": "ABC123", "SCUDMESE": "12", "SCUDCOGNOME": "Corto", "SCUDNOME": "Codice"},
        {"SCUDCODFIS": "RSSMRA75D12D653X", "SCUDMESE": "12", "SCUDCOGNOME": "Errato", "SCUDNOME": "Controllo"},
        {"SCUDMESE": "12", "SCUDCOGNOME": "Senza", "SCUDNOME": "Codice", "FCUDRITIRPEF": "1"})");
    // Control characters as a payroll may hold them: written past the entry checks.
    const auto dirty = [this](const QString &code, const QString &month, const QString &field, const QString &text) {
        THlmDBCds eli(2023, u"eli"_s, 0);
        eli.setConnection(&connection());
        ClientDataSet ds;
        eli.open(ds, u"TCUD_DATICUD"_s);
        ASSERT_TRUE(ds.locate(u"SCUDCODFIS;SCUDMESE"_s, QVariantList{code, month}));
        ds.edit();
        ds.fieldByName(field).setAsString(text);
        ds.post();
        eli.save(ds, u"TCUD_DATICUD"_s);
    };
    dirty(u"RSSMRA75D12D653T"_s, u"06"_s, u"SCUDCOMNAS"_s, u"ROMA\tNORD"_s);
    dirty(u"BNCLRA90B41G478Z"_s, u"12"_s, u"SCUDCOGNOME"_s, u"Bian\r\nchi"_s);
    dirty(u"NRENNA70E55F839P"_s, u"12"_s, u"SCUDNOME"_s, u"An\u0001na"_s);
    const QStringList rossi = rows(u"TDIP7_ANAGRFISCALI"_s, u"RSSMRA75D12D653T"_s);
    const QStringList annotations = rows(u"TANN7_ANNOTAZIONI"_s, u"RSSMRA75D12D653T"_s);

    TdmElhImport import(store(), params());
    ClientDataSet people;
    import.certifiedPeople(people);
    QStringList codes;
    for (; !people.eof(); people.next())
        codes.append(people.fieldByName(u"CODFIS"_s).asString());
    EXPECT_FALSE(import.ImportCUD(codes, {}));
    const QString text = import.log().join(u'\n');
    QStringList failed = import.failed();
    failed.sort();
    EXPECT_EQ(failed, (QStringList{u"ABC123"_s, u"BNCLRA90B41G478Z"_s, u"NRENNA70E55F839P"_s, u"RSSMRA75D12D653T"_s,
                                   u"RSSMRA75D12D653X"_s, u"Senza Codice"_s}))
        << text.toStdString();
    EXPECT_EQ(rows(u"TDIP7_ANAGRFISCALI"_s, u"RSSMRA75D12D653T"_s), rossi);
    EXPECT_EQ(rows(u"TANN7_ANNOTAZIONI"_s, u"RSSMRA75D12D653T"_s), annotations);
    for (const QString &code : {u"BNCLRA90B41G478Z"_s, u"NRENNA70E55F839P"_s, u"ABC123"_s, u"RSSMRA75D12D653X"_s})
        EXPECT_TRUE(rows(u"TDIP7_ANAGRFISCALI"_s, code).isEmpty()) << code.toStdString();
    EXPECT_EQ(value(u"TDIP7_ANAGRFISCALI"_s, u"VRDGPP58C10D653M"_s, u"FFIS7RITIRPEF"_s), u"200"_s);
    // Each block names the person and what stopped him.
    for (const QString &block :
         {u"Dipendente Rossi Mario\nImportazione non riuscita, i dati già presenti del dipendente non sono stati "
          u"modificati: sezione CUD_Ana, Errore nel campo: SCUDCOMNAS"_s,
          u"il carattere di controllo TAB alla posizione 5"_s, u"SCUDCOGNOME"_s, u"controllo CR"_s,
          u"controllo U+0001"_s, u"Dipendente Corto Codice\nCodice fiscale «ABC123» non valido"_s,
          u"Dipendente Errato Controllo\nCodice fiscale «RSSMRA75D12D653X» non valido"_s,
          u"Dipendente Senza Codice\nCertificazione senza codice fiscale: non importata"_s})
        EXPECT_TRUE(text.contains(block)) << block.toStdString() << "\n" << text.toStdString();
    EXPECT_TRUE(messages().texts().isEmpty()) << messages().texts().join(u'\n').toStdString();
}

// The payroll of the computations: ROSSI's contract (qualification 7, the
// region 10) with its tax assistance items, BIANCHI's and VERDI's arrears,
// ROSSI's and ESPOSITO's detractions.
const char *const kPayroll = R"({
  "TREPA_REGIONI": [{"IREPAID": 1, "IREPACODICE": 10, "SREPADESC": "Umbria"}],
  "TANA_ANAGRAFE": [
    {"IANAID": 1, "IDWGID": 1, "SANACODFISCALE": "RSSMRA75D12D653T", "SANACOGNOME": "ROSSI", "SANANOME": "MARIO"},
    {"IANAID": 2, "IDWGID": 1, "SANACODFISCALE": "BNCLRA90B41G478Z", "SANACOGNOME": "BIANCHI", "SANANOME": "LAURA"},
    {"IANAID": 3, "IDWGID": 1, "SANACODFISCALE": "VRDGPP58C10D653M", "SANACOGNOME": "VERDI", "SANANOME": "GIUSEPPE"},
    {"IANAID": 4, "IDWGID": 1, "SANACODFISCALE": "SPSNNA70E55F839I", "SANACOGNOME": "ESPOSITO", "SANANOME": "ANNA"}],
  "TACOM_ANACONTRATTI": [
    {"IACOMID": 10, "IANAID": 1, "IANFID": 2023, "IDWGID": 1, "IQARID": 7, "ITNOID": 1, "IREPAID": 1, "DACOMINIZIO": "2023-01-01"},
    {"IACOMID": 20, "IANAID": 2, "IANFID": 2023, "IDWGID": 1, "IQARID": 5, "ITNOID": 1, "DACOMINIZIO": "2023-01-01"},
    {"IACOMID": 21, "IANAID": 2, "IANFID": 2023, "IDWGID": 1, "IQARID": 5, "ITNOID": 17, "DACOMINIZIO": "2023-09-01"},
    {"IACOMID": 30, "IANAID": 3, "IANFID": 2023, "IDWGID": 1, "IQARID": 99, "ITNOID": 1, "DACOMINIZIO": "2023-01-01"}],
  "TCOMR_VOCIRETRIBUTIVE": [
    {"ICOMRID": 10026, "ICOMRGRUPPO": 4}, {"ICOMRID": 10027, "ICOMRGRUPPO": 4}, {"ICOMRID": 10039, "ICOMRGRUPPO": 4},
    {"ICOMRID": 10029, "ICOMRGRUPPO": 4}, {"ICOMRID": 10031, "ICOMRGRUPPO": 4}, {"ICOMRID": 10033, "ICOMRGRUPPO": 4},
    {"ICOMRID": 10046, "ICOMRGRUPPO": 4}, {"ICOMRID": 500, "ICOMRGRUPPO": 1}],
  "TVACR_VOCICEDOLINO": [
    {"IVACRID": 1, "IACOMID": 10, "IMESID": 7, "ICOMRID": 10027, "FVACRLORDO": 100},
    {"IVACRID": 2, "IACOMID": 10, "IMESID": 8, "ICOMRID": 10027, "FVACRLORDO": -100},
    {"IVACRID": 3, "IACOMID": 10, "IMESID": 8, "ICOMRID": 10026, "FVACRLORDO": 150.25},
    {"IVACRID": 4, "IACOMID": 10, "IMESID": 9, "ICOMRID": 10026, "FVACRLORDO": 100},
    {"IVACRID": 5, "IACOMID": 10, "IMESID": 9, "ICOMRID": 10039, "FVACRLORDO": 49.75},
    {"IVACRID": 6, "IACOMID": 10, "IMESID": 9, "ICOMRID": 10029, "FVACRLORDO": 30},
    {"IVACRID": 7, "IACOMID": 10, "IMESID": 10, "ICOMRID": 10031, "FVACRLORDO": 20},
    {"IVACRID": 8, "IACOMID": 10, "IMESID": 11, "ICOMRID": 10033, "FVACRLORDO": 40},
    {"IVACRID": 9, "IACOMID": 10, "IMESID": 11, "ICOMRID": 10046, "FVACRLORDO": 10},
    {"IVACRID": 10, "IACOMID": 10, "IMESID": 1, "ICOMRID": 500, "FVACRLORDO": 2000}],
  "TVARR_VARRITENUTE": [
    {"IVARRID": 1, "IACOMID": 20, "IRICEID": 12, "IVARRANNO": 2019, "FVARRIMPONIBILEDIP": 1000, "FVARRRITDIP": 230},
    {"IVARRID": 2, "IACOMID": 21, "IRICEID": 12, "IVARRANNO": 2021, "FVARRIMPONIBILEDIP": 2000, "FVARRRITDIP": 460},
    {"IVARRID": 3, "IACOMID": 21, "IRICEID": 11, "IVARRANNO": 2018, "FVARRIMPONIBILEDIP": 5000, "FVARRRITDIP": 1},
    {"IVARRID": 4, "IACOMID": 30, "IRICEID": 12, "IVARRANNO": 2021, "IVARRANNOPREC": 2020, "FVARRIMPONIBILEAP": 300,
     "FVARRALIQUOTADIP": 23, "FVARRIMPONIBILEDIP": 1000, "FVARRRITDIP": 230}],
  "TADET_DETRAZIONI": [
    {"IADETID": 1, "IANAID": 1, "IANFID": 2023, "LADETCONCAR": 1, "SADETCFCONCAR": "BNCGLI78M52D653P", "IADETFIGLI": 3,
     "IADETALTRI": 2, "SADETCFALTRICAR1": "RSSPPP40A01D653X"},
    {"IADETID": 2, "IANAID": 4, "IANFID": 2023, "IADETFIGLI": 1},
    {"IADETID": 3, "IANAID": 4, "IANFID": 2022, "LADETCONCAR": 1, "SADETCFCONCAR": "XXXXXX00A00X000X"}],
  "TADEF_DETRFIGLI": [
    {"IADEFID": 1, "IADETID": 1, "IADEFORDINE": 1, "SADEFCODFISC": "RSSLNZ08A15D653S", "IMESDAL": 1, "IMESAL": 8, "FDEFPERC": 100},
    {"IADEFID": 2, "IADETID": 1, "IADEFORDINE": 1, "SADEFCODFISC": "RSSLNZ08A15D653S", "IMESDAL": 6, "IMESAL": 12, "FDEFPERC": 100},
    {"IADEFID": 3, "IADETID": 1, "IADEFORDINE": 2, "SADEFCODFISC": "RSSGLI12H44D653O", "IMESDAL": 5, "IMESAL": 4},
    {"IADEFID": 4, "IADETID": 1, "IADEFORDINE": 3, "SADEFCODFISC": "RSSTMS22S03D653S", "IMESDAL": 1, "IMESAL": 12,
     "IADEFMESIMIN3": 12, "FDEFPERC": 50, "LADEFHANDYCAP": 1, "LADEFAFFIDO100": 1},
    {"IADEFID": 5, "IADETID": 1, "IADEFORDINE": 4, "IMESDAL": 1, "IMESAL": 12}]
})";

TEST_P(CuImportTest, TheComputationsWorkOnThePayrollAsTheRulesSay)
{
    payroll(kPayroll);
    certify(u"TCUD_DATICUD"_s, R"(
        {"SCUDCODFIS": "RSSMRA75D12D653T", "SCUDMESE": "12", "SCUDCOGNOME": "Rossi", "SCUDNOME": "Mario", "SCUDDFCODCOMPRECC": "D653",
         "FCUDADDREGIRPEF": "541.92", "FCUDADDCOMSA": "196.87", "FCUDADDCOMACC": "84.37",
         "FCUDTOTDETR": "900", "FCUDIMPOLORDA": "1000", "FCUDDEDUZFAM": "600", "FCUDDETLAVDIPPEN": "200", "FCUDDETRONERI": "300", "FCUDDETCANLOC": "50"},
        {"SCUDCODFIS": "BNCLRA90B41G478Z", "SCUDMESE": "12", "SCUDCOGNOME": "Bianchi", "SCUDNOME": "Laura",
         "FCUDTCOMPARRDETR": "3500", "FCUDTOTRITOPER": "800", "FCUDTOTDETR": "100", "FCUDIMPOLORDA": "100", "FCUDDETLAVDIPPEN": "500"},
        {"SCUDCODFIS": "VRDGPP58C10D653M", "SCUDMESE": "12", "SCUDCOGNOME": "Verdi", "SCUDNOME": "Giuseppe",
         "FCUDTCOMPARRNODETR": "1000", "FCUDTOTRITOPER": "230"},
        {"SCUDCODFIS": "SPSNNA70E55F839I", "SCUDMESE": "12", "SCUDCOGNOME": "Esposito", "SCUDNOME": "Anna",
         "FCUDDEDUZFAM": "80", "FCUDTCOMPARRDETR": "10", "FCUDTOTRITOPER": "1"})");
    ASSERT_TRUE(run({u"RSSMRA75D12D653T"_s, u"BNCLRA90B41G478Z"_s, u"VRDGPP58C10D653M"_s, u"SPSNNA70E55F839I"_s}));

    // A. The items of the tax assistance: 100 - 100 of 10027 writes nothing,
    // the first month of the items is July, of the balance November; the
    // region of the contract and the municipality of the employee.
    const QString rossi = u' ' + rows(u"TDIP7_ANAGRFISCALI"_s, u"RSSMRA75D12D653T"_s).value(0) + u' ';
    for (const QString &expected :
         {u"SMESCODICEIRPEF=07"_s, u"FASS7IMPTRATTIRPEF=250,25"_s, u"FASS7IMPEFFTRATTIRPEF=300"_s,
          u"FASS7IMPTRATIRPEFCON=49,75"_s, u"FASS7IMPORIMBARD=30"_s, u"SREGCODICEARD=10"_s, u"FASS7IMPORIMBACD=20"_s,
          u"SCOMCODICEACD=D653"_s, u"SMESCODICESR=11"_s, u"FASS7IMPATRATTSR=40"_s, u"FASS7IMPTRATSRACDIC=10"_s,
          u"FASS7IMPEFTRATSRADIC=50"_s, u"SCAP7CODICE=D"_s})
        EXPECT_TRUE(rossi.contains(u' ' + expected + u' ')) << expected.toStdString();
    for (const QString &absent : {u"FASS7IMPORIMBIRPEF"_s, u"SREGCODICEARC"_s, u"SCOMCODICEACC"_s})
        EXPECT_FALSE(rossi.contains(absent)) << absent.toStdString();
    // The category from the contract started last: position 17 is "P".
    EXPECT_EQ(value(u"TDIP7_ANAGRFISCALI"_s, u"BNCLRA90B41G478Z"_s, u"SCAP7CODICE"_s), u"P"_s);
    // B. The additional taxes withheld.
    EXPECT_EQ(value(u"TDIP7_ANAGRFISCALI"_s, u"RSSMRA75D12D653T"_s, u"FFIS7ADDREGRPCESS"_s), u"541,92"_s);
    EXPECT_EQ(value(u"TDIP7_ANAGRFISCALI"_s, u"RSSMRA75D12D653T"_s, u"FFIS7ADDCOMRPCESS"_s), u"112,5"_s);
    // C. 900 granted of a gross 1,000: 600 and 200 stay, 300 becomes 100, 50 becomes 0.
    for (const auto &[column, expected] :
         {std::pair{u"FFIS7DEDUZFAM"_s, u"600"_s}, std::pair{u"FFIS7DETLAVDIPPEN"_s, u"200"_s},
          std::pair{u"FFIS7DETRONERI"_s, u"100"_s}, std::pair{u"FFIS7DETCANLOC"_s, QString()}})
        EXPECT_EQ(value(u"TDIP7_ANAGRFISCALI"_s, u"RSSMRA75D12D653T"_s, column), expected) << column.toStdString();
    EXPECT_EQ(value(u"TDIP7_ANAGRFISCALI"_s, u"BNCLRA90B41G478Z"_s, u"FFIS7DETLAVDIPPEN"_s), u"500"_s);
    // D. BIANCHI's 3,500 and 800: 2019 has its own row, 2021 keeps the rest;
    // VERDI's part of 2020 withholds 23 % of 300.
    EXPECT_EQ(
        rows(u"TTAS7_TASSAZIONESE"_s, u"BNCLRA90B41G478Z"_s),
        (QStringList{
            u"FTAS7COMPARRDETR=2500 FTAS7RITOPERATE=570 STAS7PERIODOIMP=2021 FTAS7TCOMPARRDETR=3500 FTAS7TOTRITOPER=800"_s,
            u"FTAS7COMPARRDETR=1000 FTAS7RITOPERATE=230 STAS7PERIODOIMP=2019 FTAS7TCOMPARRDETR=3500 FTAS7TOTRITOPER=800"_s}));
    EXPECT_EQ(
        rows(u"TTAS7_TASSAZIONESE"_s, u"VRDGPP58C10D653M"_s),
        (QStringList{
            u"FTAS7COMPARRNODETR=700 FTAS7RITOPERATE=161 STAS7PERIODOIMP=2021 FTAS7TCOMPARRNODET=1000 FTAS7TOTRITOPER=230"_s,
            u"FTAS7COMPARRNODETR=300 FTAS7RITOPERATE=69 STAS7PERIODOIMP=2020 FTAS7TCOMPARRNODET=1000 FTAS7TOTRITOPER=230"_s}));
    // E. The spouse and the first child (8 + 7 months: 12) in one row with the
    // other dependant, the third child in a row of its own.
    EXPECT_EQ(
        rows(u"TCFC7_CONFAMCARICO"_s, u"RSSMRA75D12D653T"_s),
        (QStringList{u"LCFC7RELPARCON=1 SCFC7CODFISCON=BNCGLI78M52D653P LCFC7RELPARPRIFIGL=1 SCFC7MESICARCON=12 "
                     "SCFC7CODFISPRIFIGL=RSSLNZ08A15D653S SCFC7MESICARPRIFIGL=12 SCFC7DETRSPETTPRIFIGL=100 "
                     "SCFC7CODFISFIGL=RSSPPP40A01D653X SCFC7MESICARFIGL=12 LCFC7RELPARFIGLALTRFAM=1 "
                     "SCFC7DTANNOCONIUGE=2023 SCFC7DTANNOPRIFIGL=2023 SCFC7DTANNOFIGL=2023"_s,
                     u"LCFC7RELPARFIGLDIS=1 SCFC7CODFISFIGL=RSSTMS22S03D653S SCFC7MESICARFIGL=12 SCFC7MINTREANNFIGL=12 "
                     "FCFC7DETRSPETTFIGL=50 LCFC7DET100AFFFIGL=1 SCFC7DTANNOFIGL=2023"_s}));
    EXPECT_TRUE(rows(u"TCFC7_CONFAMCARICO"_s, u"SPSNNA70E55F839I"_s).isEmpty());

    EXPECT_EQ(
        log,
        (QStringList{
            QString(),
            u"Dipendente ROSSI MARIO"_s,
            u"-  Detrazioni ricalcolate"_s,
            QString(),
            u"**** SCORPORO DATI TASSAZIONE SEPARATA ****"_s,
            QString(),
            u"Dipendente ESPOSITO ANNA"_s,
            u"-  Integrazione non effettuata. Nessun dato in storico."_s,
            QString(),
            u"**** IMPORTAZIONE DATI FAMILIARI A CARICO PER DETRAZIONI ****"_s,
            QString(),
            u"Dipendente ROSSI MARIO"_s,
            u"-  Figlio nr 4: codice fiscale non impostato."_s,
            u"-  Figlio (codice fiscale RSSGLI12H44D653O): nessun mese a carico."_s,
            u"-  Dati degli altri familiari a carico non importati correttamente"_s,
            u"-  Dati degli altri familiari a carico: manca la percentuale di detrazione"_s,
            QString(),
            u"Dipendente ESPOSITO ANNA"_s,
            u"-  Dati relativi ai figli a carico non importati. "_s,
            u"Non inseriti nel CUD o sezione casi particolari delle detrazioni non impostate nei dati retributivi."_s,
        }))
        << log.join(u'\n').toStdString();
}

// The payees of the school's compensation register: GALLI (occasional work,
// payments of reasons A and M), a firm with a numeric code (a professional),
// a resident abroad, a payee without fiscal code, a professional without
// payments, an employee paid once without withholdings.
const char *const kPayees = R"({
  "TSEX_SESSI": [{"ISEXID": 1, "SSEXSDESC": "M"}, {"ISEXID": 2, "SSEXSDESC": "F"}],
  "TSTA_STATI": [{"ISTAID": 1, "SSTADESC": "FRANCIA"}],
  "TPRO_PROVINCE": [{"IPROID": 1, "SPROSIGLA": "PG"}, {"IPROID": 2, "SPROSIGLA": "EE"}],
  "TCOM_COMUNI": [{"ICOMID": 1, "SCOMDESC": "PERUGIA", "IPROID": 1}, {"ICOMID": 2, "SCOMDESC": "SPOLETO", "IPROID": 1},
                  {"ICOMID": 3, "SCOMDESC": "PARIGI", "IPROID": 2}],
  "TTNO_TIPINOMINA": [{"ITNOID": 1, "ITNONORMACODE": 1, "STNODESC": "Tempo indeterminato"},
                      {"ITNOID": 10, "ITNONORMACODE": 10, "STNODESC": "Estranei"},
                      {"ITNOID": 14, "ITNONORMACODE": 14, "STNODESC": "Liberi professionisti"},
                      {"ITNOID": 15, "ITNONORMACODE": 15, "STNODESC": "Autonomi occasionali"}],
  "TANA_ANAGRAFE": [
    {"IANAID": 11, "IDWGID": 1, "SANAMATRICOLA": "A11", "SANACODFISCALE": "GLLRRT65L08G478C", "SANACOGNOME": "GALLI",
     "SANANOME": "ROBERTO", "ISEXID": 1, "DANANASCITA": "1965-07-08", "ICOMID_NAS": 1},
    {"IANAID": 12, "IDWGID": 1, "SANAMATRICOLA": "A12", "SANACODFISCALE": "02487650323", "SANACOGNOME": "STUDIO BIANCONI"},
    {"IANAID": 13, "IDWGID": 1, "SANAMATRICOLA": "A13", "SANACODFISCALE": "DPNJNP80A01Z110X", "SANACOGNOME": "DUPONT",
     "SANANOME": "JEAN", "ISEXID": 1, "ISTAID_NAS": 1, "SANACODFISESTERO": "FR123"},
    {"IANAID": 14, "IDWGID": 1, "SANAMATRICOLA": "A14", "SANACOGNOME": "SENZACODICE"},
    {"IANAID": 15, "IDWGID": 1, "SANAMATRICOLA": "A15", "SANACODFISCALE": "MRNLCA80A01H501X", "SANACOGNOME": "MARINI", "SANANOME": "LUCA"},
    {"IANAID": 16, "IDWGID": 1, "SANAMATRICOLA": "A16", "SANACODFISCALE": "FRRNNA75A41D653X", "SANACOGNOME": "FERRI", "SANANOME": "ANNA"}],
  "TABT_ABITAZIONI": [{"IABTID": 1, "IANAID": 11, "ICOMID": 1, "SABTINDIRIZZO": "VIA VECCHIA 1"},
                      {"IABTID": 2, "IANAID": 11, "ICOMID": 2, "SABTINDIRIZZO": "VIA ROMA 2"},
                      {"IABTID": 3, "IANAID": 13, "ICOMID": 3, "SABTINDIRIZZO": "RUE DE RIVOLI 5"}],
  "TACOM_ANACONTRATTI": [
    {"IACOMID": 111, "IANAID": 11, "IANFID": 2023, "IDWGID": 1, "ITNOID": 15, "DACOMINIZIO": "2023-02-01", "DACOMFINE": "2023-03-31"},
    {"IACOMID": 112, "IANAID": 12, "IANFID": 2023, "IDWGID": 1, "ITNOID": 14, "DACOMINIZIO": "2023-01-01"},
    {"IACOMID": 115, "IANAID": 15, "IANFID": 2023, "IDWGID": 1, "ITNOID": 10, "DACOMINIZIO": "2023-01-01"},
    {"IACOMID": 116, "IANAID": 16, "IANFID": 2023, "IDWGID": 1, "ITNOID": 1, "DACOMINIZIO": "2023-01-01"}],
  "TREGS_REGISTROCOMPENSI": [
    {"IREGSID": 1, "IDWGID": 1, "IANFID": 2023, "IANAID": 11, "SREGSCAUSALE": "A", "FREGSSPESERIMB": 85.4},
    {"IREGSID": 2, "IDWGID": 1, "IANFID": 2023, "IANAID": 11, "SREGSCAUSALE": "A", "FREGSNONSOGG": 100},
    {"IREGSID": 3, "IDWGID": 1, "IANFID": 2023, "IANAID": 11, "SREGSCAUSALE": "M"},
    {"IREGSID": 4, "IDWGID": 1, "IANFID": 2023, "IANAID": 12, "SREGSCAUSALE": "A", "FREGSNONSOGG": 660},
    {"IREGSID": 5, "IDWGID": 1, "IANFID": 2023, "IANAID": 13, "SREGSCAUSALE": "P"},
    {"IREGSID": 6, "IDWGID": 1, "IANFID": 2023, "IANAID": 14, "SREGSCAUSALE": "A"},
    {"IREGSID": 7, "IDWGID": 1, "IANFID": 2023, "IANAID": 16, "SREGSCAUSALE": "M"},
    {"IREGSID": 8, "IDWGID": 1, "IANFID": 2022, "IANAID": 11, "SREGSCAUSALE": "A"}],
  "TVARR_VARRITENUTE": [
    {"IVARRID": 1, "IREGSID": 1, "IRICEID": 11, "FVARRIMPONIBILEDIP": 1200, "FVARRRITDIP": 240},
    {"IVARRID": 2, "IREGSID": 2, "IRICEID": 11, "FVARRIMPONIBILEDIP": 1200, "FVARRRITDIP": 240},
    {"IVARRID": 3, "IREGSID": 2, "IRICEID": 3, "FVARRRITDIP": 96, "FVARRRITAMM": 192},
    {"IVARRID": 4, "IREGSID": 2, "IRICEID": 12, "FVARRIMPONIBILEDIP": 300, "FVARRRITDIP": 60},
    {"IVARRID": 5, "IREGSID": 4, "IRICEID": 11, "FVARRIMPONIBILEDIP": 3000, "FVARRRITDIP": 600},
    {"IVARRID": 6, "IREGSID": 5, "IRICEID": 11, "FVARRIMPONIBILEDIP": 500, "FVARRRITDIP": 150},
    {"IVARRID": 7, "IREGSID": 6, "IRICEID": 11, "FVARRIMPONIBILEDIP": 10, "FVARRRITDIP": 2},
    {"IVARRID": 8, "IREGSID": 8, "IRICEID": 11, "FVARRIMPONIBILEDIP": 9999, "FVARRRITDIP": 9999}]
})";

TEST_P(CuImportTest, ThePayeesOfTheRegisterBecomeSelfEmployedWorkersAsTheOverwriteChoiceSays)
{
    payroll(kPayees);
    TdmElhImport import(store(), params());
    TNrQueryCollection list;
    const auto names = [&list] {
        QStringList all;
        for (list.first(); !list.eof(); list.next())
            all.append(list.fieldByName(u"SANACOGNOMENOME"_s).asString() + u'/'
                       + list.fieldByName(u"LINSERVIZIO"_s).asString());
        all.sort();
        return all;
    };
    import.openPayees(list, TdmElhImport::PayeeList::RegistryOnly);
    EXPECT_EQ(names(), (QStringList{u"DUPONT JEAN/0"_s, u"FERRI ANNA/1"_s, u"GALLI ROBERTO/0"_s, u"SENZACODICE/0"_s,
                                    u"STUDIO BIANCONI/1"_s}));
    import.openPayees(list, TdmElhImport::PayeeList::SelfEmployed);
    EXPECT_EQ(names(), (QStringList{u"DUPONT JEAN/0"_s, u"GALLI ROBERTO/0"_s, u"MARINI LUCA/1"_s, u"SENZACODICE/0"_s,
                                    u"STUDIO BIANCONI/1"_s}));
    write(u"TDAU7_DATIAUTONOM"_s,
          R"({"records": [{"SDAU7CODFIS": "GLLRRT65L08G478C", "SDAU7COGNOME": "GALLI", "SDAU7GRUPPOANA": "A"}]})");
    write(u"TDSE7_SOMMEEROGATE"_s,
          R"({"records": [{"SDAU7CODFIS": "GLLRRT65L08G478C", "SCAUCODICE": "Z", "FDSE7IMPONIBILE": "1"}]})");
    const QStringList galli =
        rows(u"TDAU7_DATIAUTONOM"_s, u"GLLRRT65L08G478C"_s) + rows(u"TDSE7_SOMMEEROGATE"_s, u"GLLRRT65L08G478C"_s);

    const auto importEach = [&](TdmElhImport::Overwrite overwrite) {
        import.beginAutonomi();
        QStringList done;
        for (list.first(); !list.eof(); list.next()) {
            if (import.importaAutonomo(list, overwrite) == TdmElhImport::Outcome::Imported)
                done.append(list.fieldByName(u"SANACOGNOME"_s).asString());
        }
        import.endAutonomi();
        return done;
    };
    EXPECT_EQ(importEach(TdmElhImport::Overwrite::Never), (QStringList{u"DUPONT"_s, u"STUDIO BIANCONI"_s}));
    EXPECT_EQ(messages().texts(), (QStringList{u"Nessun dato da importare."_s,
                                               u"ATTENZIONE!!! Dipendente senza codice fiscale : SENZACODICE"_s}));
    EXPECT_EQ(rows(u"TDAU7_DATIAUTONOM"_s, u"GLLRRT65L08G478C"_s)
                  + rows(u"TDSE7_SOMMEEROGATE"_s, u"GLLRRT65L08G478C"_s),
              galli);
    messages().enqueue(ModalResult::No);
    import.openPayees(list, TdmElhImport::PayeeList::SelfEmployed);
    list.locate(u"IANAID"_s, 11);
    import.beginAutonomi();
    EXPECT_EQ(import.importaAutonomo(list, TdmElhImport::Overwrite::Ask), TdmElhImport::Outcome::Skipped);
    EXPECT_EQ(messages().texts().last(),
              u"Dipendente già presente in archivio, si vogliono sostituire i dati? :  GALLI ROBERTO"_s);
    messages().enqueue(ModalResult::Yes);
    EXPECT_EQ(import.importaAutonomo(list, TdmElhImport::Overwrite::Ask), TdmElhImport::Outcome::Imported);
    import.endAutonomi();

    // Reason A: 2 x 1,200 taxable with 480 withheld, 300 of earlier years,
    // contributions, sums not subject and expenses; reason M without
    // withholdings; the payments of 2022 stay out.
    EXPECT_EQ(
        rows(u"TDAU7_DATIAUTONOM"_s, u"GLLRRT65L08G478C"_s),
        QStringList{
            u"SDAU7COGNOME=GALLI SDAU7NOME=ROBERTO SDAU7SEX=M DDAU7DATANAS=08/07/1965 SDAU7COMNAS=PERUGIA "
            "SDAU7PROVNAS=PG SDAU7COMUNE=SPOLETO SDAU7PROVINCIA=PG SDAU7GRUPPOANA=A SDAU7INDIRIZZZO=VIA ROMA 2"_s});
    EXPECT_EQ(rows(u"TDSE7_SOMMEEROGATE"_s, u"GLLRRT65L08G478C"_s),
              (QStringList{u"FDSE7IMPONIBILE=2400 FDSE7AMMLORDO=2500 FDSE7IMPANNIPREC=300 FDSE7RITANNIPREC=60 "
                           "FDSE7ALTRESOMME=100 SCAUCODICE=A FDSE7RITTITACC=480 FDSE7CONTRAMM=192 FDSE7CONTRDIP=96 "
                           "FDSE7SPESERIMB=85,4"_s,
                           u"SCAUCODICE=M"_s}));
    EXPECT_EQ(value(u"TDSE7_SOMMEEROGATE"_s, u"GLLRRT65L08G478C"_s, u"LDSE7ANTICIPAZ"_s), u"0"_s);
    // A firm: no name, sex or birth; a resident abroad and a payment of reason P.
    EXPECT_EQ(rows(u"TDAU7_DATIAUTONOM"_s, u"02487650323"_s),
              QStringList{u"SDAU7COGNOME=STUDIO BIANCONI SDAU7GRUPPOANA=A"_s});
    EXPECT_EQ(rows(u"TDAU7_DATIAUTONOM"_s, u"DPNJNP80A01Z110X"_s),
              QStringList{u"SDAU7COGNOME=DUPONT SDAU7NOME=JEAN SDAU7SEX=M SDAU7COMNAS=FRANCIA SDAU7CODFISESTERO=FR123 "
                          "SDAU7RESESTERA=PARIGI SDAU7INDIRIESTERO=RUE DE RIVOLI 5 SDAU7GRUPPOANA=A"_s});
    EXPECT_EQ(value(u"TDSE7_SOMMEEROGATE"_s, u"DPNJNP80A01Z110X"_s, u"FDSE7RITTITIMP"_s), u"150"_s);

    // A text the registry cannot keep whole refuses the payee, naming him and
    // the field; what he had stays.
    const QStringList kept =
        rows(u"TDAU7_DATIAUTONOM"_s, u"02487650323"_s) + rows(u"TDAU7_DATIAUTONOM"_s, u"DPNJNP80A01Z110X"_s);
    exec(u"UPDATE TANA_ANAGRAFE SET SANACOGNOME = ? WHERE IANAID = 12"_s, {QString(73, u'B')});
    exec(u"UPDATE TABT_ABITAZIONI SET SABTINDIRIZZO = ? WHERE IABTID = 3"_s, {u"RUE\tDE RIVOLI"_s});
    import.openPayees(list, TdmElhImport::PayeeList::SelfEmployed);
    const qsizetype shown = messages().texts().size();
    import.beginAutonomi();
    for (const int payee : {12, 13}) {
        ASSERT_TRUE(list.locate(u"IANAID"_s, payee));
        EXPECT_EQ(import.importaAutonomo(list, TdmElhImport::Overwrite::Always), TdmElhImport::Outcome::Failed);
    }
    import.endAutonomi();
    EXPECT_EQ(rows(u"TDAU7_DATIAUTONOM"_s, u"02487650323"_s) + rows(u"TDAU7_DATIAUTONOM"_s, u"DPNJNP80A01Z110X"_s),
              kept);
    const QString refused = messages().texts().mid(shown).join(u'\n');
    for (const QString &part :
         {QString(u"campo SDAU7COGNOME: il valore «"_s + QString(73, u'B') + u"» è lungo 73 caratteri"_s),
          u"DUPONT JEAN"_s,
          u"campo SDAU7INDIRIESTERO: il valore «RUE<TAB>DE RIVOLI» contiene il carattere di controllo TAB"_s})
        EXPECT_TRUE(refused.contains(part)) << refused.toStdString();
}
