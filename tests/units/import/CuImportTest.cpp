#include "CaseFile.h"
#include "ClientDataSet.h"
#include "ElhMImport.h"
#include "PayrollDatabaseTest.h"
#include "THlmDBCds.h"

#include <gtest/gtest.h>

#include <ranges>
#include <tuple>

using namespace Qt::Literals::StringLiterals;

namespace {

QStringList texts(const QJsonValue &array)
{
    QStringList all;
    for (const QJsonValue &text : array.toArray())
        all.append(text.toString());
    return all;
}

// The cases of cu-import.json: the payroll's tables, the return's rows and
// the certifications given, the people chosen, and what the run must leave.
class CuImportTest : public PayrollDatabaseTest
{
protected:
    QJsonObject given(const QString &name)
    {
        const QJsonObject c = caseDocument(QStringLiteral(ELH_CASES_DIR "/cu-import.json"))[name].toObject();
        if (c.contains(u"payroll"_s))
            payroll(QJsonDocument(c[u"payroll"_s].toObject()).toJson());
        for (const QString &part : {u"return"_s, u"certifications"_s}) {
            for (const QJsonValue &table : c[part].toArray()) {
                const QJsonObject records{{u"records"_s, table[1]}};
                write(table[0].toString(), QJsonDocument(records).toJson(), 2023,
                      part == u"return" ? u"elh"_s : u"eli"_s);
            }
        }
        return c;
    }

    bool run(const QStringList &codes, TdmElhImport::Options options = {})
    {
        TdmElhImport import(store(), params(), findings);
        const bool ok = import.ImportCUD(codes, options);
        log = import.log();
        failed = import.failed();
        failed.sort();
        return ok;
    }

    // The rows the case expects: [table, code, [row, ...]]; the values of a
    // person's first row: [table, code, field, value], "" for none; its log.
    void expect(const QJsonObject &c)
    {
        for (const QJsonValue &e : c[u"rows"_s].toArray())
            EXPECT_EQ(rows(e[0].toString(), e[1].toString()), texts(e[2])) << e[1].toString().toStdString();
        for (const QJsonValue &e : c[u"values"_s].toArray()) {
            const QString row = u' ' + rows(e[0].toString(), e[1].toString()).value(0) + u' ';
            const QString field = u' ' + e[2].toString() + u'=';
            const QString expected = e[3].toString();
            EXPECT_EQ(row.contains(expected.isEmpty() ? field : field + expected + u' '), !expected.isEmpty())
                << field.toStdString() << row.toStdString();
        }
        if (c.contains(u"log"_s)) {
            EXPECT_EQ(log, texts(c[u"log"_s])) << log.join(u'\n').toStdString();
        }
    }

    FindingList findings;
    QStringList log;
    QStringList failed;
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

TEST_P(DemoCuImportTest, ImportingTheDemoPayrollGivesTheDemoEmployeeAndSelfEmployedSectionsBack)
{
    // Two certifications that add up (BIANCHI), a comprehensive one and an
    // adjusting one that replace an earlier certification (ESPOSITO, RUSSO),
    // annotations and dependants (ROSSI), separate taxation split over two
    // years by the payroll's history (BIANCHI), severance pay (VERDI).
    const QStringList employee{u"TDIP7_ANAGRFISCALI"_s,  u"TCON7_DATICONGUAG"_s,  u"TRAR7_REDASSTIRTIT"_s,
                               u"TSLS7_SOMEROLAVSTRA"_s, u"TTAS7_TASSAZIONESE"_s, u"TTFR7_TFR"_s,
                               u"TINPS7_INPS"_s,         u"TINP7_INPDAP"_s,       u"TCFC7_CONFAMCARICO"_s,
                               u"TANN7_ANNOTAZIONI"_s,   u"TREE7_REDDITOESTER"_s, u"TCFF7_CFFAMILIARE"_s,
                               u"TINA7_INAIL"_s};
    FindingList findings;
    TdmElhImport import(store(), params(), findings);
    ClientDataSet people;
    import.certifiedPeople(people);
    QStringList codes;
    for (people.first(); !people.eof(); people.next())
        codes.append(people.fieldByName(u"CODFIS"_s).asString());
    ASSERT_EQ(codes.size(), 5);
    const QStringList before = sectionsOf(codes, employee);
    empty(employee);
    ASSERT_TRUE(import.ImportCUD(codes, {})) << import.log().join(u'\n').toStdString();
    EXPECT_EQ(import.failed(), QStringList());
    EXPECT_EQ(sectionsOf(codes, employee), before);

    // GALLI: a professional payment with his contributions, an occasional
    // one with expenses refunded; the firm: two payments of one reason that
    // add up, with sums not subject and the school's contribution.
    const QStringList selfEmployed{u"TDAU7_DATIAUTONOM"_s, u"TDSE7_SOMMEEROGATE"_s};
    TNrQueryCollection list;
    import.openPayees(list, TdmElhImport::PayeeList::SelfEmployed);
    codes.clear();
    for (list.first(); !list.eof(); list.next())
        codes.append(list.fieldByName(u"SANACODFISCALE"_s).asString());
    ASSERT_EQ(codes, (QStringList{u"GLLRRT65L08G478C"_s, u"02487650323"_s}));
    const QStringList payments = sectionsOf(codes, selfEmployed);
    empty(selfEmployed);
    // Into an empty section, then over itself.
    for (const bool replace : {false, true}) {
        import.beginAutonomi();
        for (list.first(); !list.eof(); list.next())
            EXPECT_EQ(import.importaAutonomo(list, [replace](const QString &) { return replace; }),
                      TdmElhImport::Outcome::Imported);
        import.endAutonomi();
        EXPECT_EQ(sectionsOf(codes, selfEmployed), payments);
    }
    EXPECT_TRUE(findings.isEmpty()) << findings.texts().join(u'\n').toStdString();
}

TEST_P(CuImportTest, CertificationsOfAPersonAddUpUnlessOneReplacesThemAndOtherPeopleStayAsTheyWere)
{
    // ROSSI: two certifications that add up, INPS of two companies, one of
    // them in both; BIANCHI: the second certification is comprehensive;
    // VERDI brings nothing for the return; NERI has an INPDAP row of zeros
    // and annotations; GALLI is only self-employed; the return already holds
    // ROSSI (replaced) and an employee not chosen (kept). The certifications'
    // agent, imported too, has a code that is not the school's.
    const QJsonObject c = given(u"people"_s);
    const QStringList untouched = rows(u"TDIP7_ANAGRFISCALI"_s, u"SPSNNA70E55F839X"_s);
    const QStringList chosen{u"rssmra75d12d653t "_s, u"BNCLRA90B41G478Z"_s, u"VRDGPP58C10D653M"_s,
                             u"NRENNA70E55F839P"_s, u"GLLRRT65L08G478C"_s};
    ASSERT_TRUE(run(chosen, {true, true}));
    expect(c);
    EXPECT_EQ(rows(u"TDIP7_ANAGRFISCALI"_s, u"SPSNNA70E55F839X"_s), untouched);
    QStringList agents;
    for (const auto others = read(u"TSOE7_SOSESTINTO"_s); !others->eof(); others->next())
        agents.append(others->fieldByName(u"CODICE"_s).asString());
    EXPECT_EQ(agents, (QStringList{u"01234567897"_s, u"99999999999"_s}));
    const auto agent = read(u"TSOS_DATOSOSTITUTO"_s);
    EXPECT_EQ(agent->fieldByName(u"SSOSCODFIS"_s).asString(), u"80012345676"_s);
    EXPECT_EQ(agent->fieldByName(u"SSOSDENOM"_s).asString(), u"ISTITUTO DA CUD"_s);
    ASSERT_EQ(findings.entries().size(), 1);
    EXPECT_EQ(findings.entries()[0].level, FindingLevel::Warning);
    EXPECT_EQ(findings.texts()[0], u"Codice fiscale della scuola (80012345676) non congruente con quello presente nel "
                                   u"CUD (97000000001). Verrà importato 80012345676"_s);

    // Importing again gives the same rows.
    ASSERT_TRUE(run(chosen));
    expect(c);
    EXPECT_EQ(read(u"TSOE7_SOSESTINTO"_s)->recordCount(), 2);
}

TEST_P(CuImportTest, APersonWhoCannotBeImportedKeepsWhatHeHadIsNamedAndCountedAndTheOthersGoOn)
{
    const QJsonObject c = given(u"hostile"_s);
    // Control characters as a payroll may hold them: written past the entry checks.
    THlmDBCds eli(2023, u"eli"_s, 0);
    eli.setConnection(&connection());
    ClientDataSet ds;
    eli.open(ds, u"TCUD_DATICUD"_s);
    for (const auto &[code, month, field, text] :
         {std::tuple{u"RSSMRA75D12D653T"_s, u"06"_s, u"SCUDCOMNAS"_s, u"ROMA\tNORD"_s},
          std::tuple{u"BNCLRA90B41G478Z"_s, u"12"_s, u"SCUDCOGNOME"_s, u"Bian\r\nchi"_s},
          std::tuple{u"NRENNA70E55F839P"_s, u"12"_s, u"SCUDNOME"_s, u"An\u0001na"_s}}) {
        ASSERT_TRUE(ds.locate(u"SCUDCODFIS;SCUDMESE"_s, QVariantList{code, month}));
        ds.edit();
        ds.fieldByName(field).setAsString(text);
        ds.post();
    }
    eli.save(ds, u"TCUD_DATICUD"_s);
    // ESPOSITO's registry and fiscal data are written; his INPS row is refused.
    refuseStoredText(u"GUASTO"_s);
    // Every person of the certifications, so that the one without a code is refused too.
    EXPECT_FALSE(run({u"RSSMRA75D12D653T"_s, u"BNCLRA90B41G478Z"_s, u"NRENNA70E55F839P"_s, u"VRDGPP58C10D653M"_s,
                      u"ABC123"_s, u"RSSMRA75D12D653X"_s, u"SPSNNA70E55F839I"_s}));
    const QString text = log.join(u'\n');
    EXPECT_EQ(failed, (QStringList{u"ABC123"_s, u"BNCLRA90B41G478Z"_s, u"NRENNA70E55F839P"_s, u"RSSMRA75D12D653T"_s,
                                   u"RSSMRA75D12D653X"_s, u"SPSNNA70E55F839I"_s, u"Senza Codice"_s}))
        << text.toStdString();
    expect(c);
    EXPECT_EQ(value(u"TDIP7_ANAGRFISCALI"_s, u"VRDGPP58C10D653M"_s, u"FFIS7RITIRPEF"_s), u"200"_s);
    // Each block names the person and what stopped him.
    const QString refused =
        u"Importazione non riuscita, i dati già presenti del dipendente non sono stati modificati: "_s;
    for (const QString &block :
         QStringList{u"Dipendente Rossi Mario\n"_s + refused + u"sezione CUD_Ana, Errore nel campo: SCUDCOMNAS"_s,
                     u"il carattere di controllo TAB alla posizione 5"_s, u"SCUDCOGNOME"_s, u"controllo CR"_s,
                     u"controllo U+0001"_s, u"Dipendente Esposito Anna\n"_s + refused, u"guasto simulato"_s,
                     u"Dipendente Corto Codice\nCodice fiscale «ABC123» non valido"_s,
                     u"Dipendente Errato Controllo\nCodice fiscale «RSSMRA75D12D653X» non valido"_s,
                     u"Dipendente Senza Codice\nCertificazione senza codice fiscale: non importata"_s})
        EXPECT_TRUE(text.contains(block)) << block.toStdString() << "\n" << text.toStdString();
    EXPECT_TRUE(findings.isEmpty()) << findings.texts().join(u'\n').toStdString();
}

// The payroll of the computations: ROSSI's contract (qualification 7, the
// region 10) with its tax assistance items, BIANCHI's and VERDI's arrears,
// ROSSI's and ESPOSITO's detractions. A: the items of the tax assistance
// (100 - 100 of 10027 writes nothing, the first month of the items is July,
// of the balance November; the region of the contract and the municipality
// of the employee); BIANCHI's category from the contract started last. B:
// the additional taxes withheld. C: 900 granted of a gross 1,000: 600 and
// 200 stay, 300 becomes 100, 50 becomes 0. D: BIANCHI's 3,500 and 800, 2019
// in its own row and 2021 keeping the rest; VERDI's part of 2020 withholds
// 23 % of 300. E: the spouse and the first child (8 + 7 months: 12) in one
// row with the other dependant, the third child in a row of its own.
TEST_P(CuImportTest, TheComputationsWorkOnThePayrollAsTheRulesSay)
{
    const QJsonObject c = given(u"computations"_s);
    ASSERT_TRUE(run(texts(c[u"codes"_s])));
    expect(c);
}

// The payees of the school's compensation register: GALLI (occasional work,
// payments of reasons A and M), a firm with a numeric code (a professional),
// a resident abroad, a payee without fiscal code, a professional without
// payments, an employee paid once without withholdings.
TEST_P(CuImportTest, ThePayeesOfTheRegisterBecomeSelfEmployedWorkersAsTheOverwriteChoiceSays)
{
    const QJsonObject c = given(u"payees"_s);
    TdmElhImport import(store(), params(), findings);
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
    EXPECT_EQ(names(), texts(c[u"registryOnly"_s]));
    import.openPayees(list, TdmElhImport::PayeeList::SelfEmployed);
    EXPECT_EQ(names(), texts(c[u"selfEmployed"_s]));
    const QStringList galli =
        rows(u"TDAU7_DATIAUTONOM"_s, u"GLLRRT65L08G478C"_s) + rows(u"TDSE7_SOMMEEROGATE"_s, u"GLLRRT65L08G478C"_s);

    // The question is put only for a worker already there: GALLI.
    QStringList questions;
    bool answer = false;
    const Confirmation ask = [&](const QString &question) {
        questions.append(question);
        return answer;
    };
    import.beginAutonomi();
    QStringList done;
    for (list.first(); !list.eof(); list.next()) {
        if (import.importaAutonomo(list, ask) == TdmElhImport::Outcome::Imported)
            done.append(list.fieldByName(u"SANACOGNOME"_s).asString());
    }
    EXPECT_EQ(done, (QStringList{u"DUPONT"_s, u"STUDIO BIANCONI"_s}));
    EXPECT_EQ(questions,
              QStringList{u"Dipendente già presente in archivio, si vogliono sostituire i dati? :  GALLI ROBERTO"_s});
    ASSERT_EQ(findings.entries().size(), 2);
    EXPECT_EQ(findings.texts(), (QStringList{u"Nessun dato da importare."_s,
                                             u"ATTENZIONE!!! Dipendente senza codice fiscale : SENZACODICE"_s}));
    EXPECT_EQ(findings.entries()[0].level, FindingLevel::Information);
    EXPECT_EQ(findings.entries()[1].level, FindingLevel::Error);
    EXPECT_EQ(rows(u"TDAU7_DATIAUTONOM"_s, u"GLLRRT65L08G478C"_s)
                  + rows(u"TDSE7_SOMMEEROGATE"_s, u"GLLRRT65L08G478C"_s),
              galli);
    answer = true;
    ASSERT_TRUE(list.locate(u"IANAID"_s, 11));
    EXPECT_EQ(import.importaAutonomo(list, ask), TdmElhImport::Outcome::Imported);
    import.endAutonomi();

    // GALLI's reason A: 2 x 1,200 taxable with 480 withheld, 300 of earlier
    // years, contributions, sums not subject and expenses; reason M without
    // withholdings; the payments of 2022 stay out. A firm: no name, sex or
    // birth; a resident abroad and a payment of reason P.
    expect(c);
    EXPECT_EQ(value(u"TDSE7_SOMMEEROGATE"_s, u"GLLRRT65L08G478C"_s, u"LDSE7ANTICIPAZ"_s), u"0"_s);

    // A text the registry cannot keep whole refuses the payee, naming him and
    // the field; what he had stays.
    const QStringList kept =
        rows(u"TDAU7_DATIAUTONOM"_s, u"02487650323"_s) + rows(u"TDAU7_DATIAUTONOM"_s, u"DPNJNP80A01Z110X"_s);
    exec(u"UPDATE TANA_ANAGRAFE SET SANACOGNOME = ? WHERE IANAID = 12"_s, {QString(73, u'B')});
    exec(u"UPDATE TABT_ABITAZIONI SET SABTINDIRIZZO = ? WHERE IABTID = 3"_s, {u"RUE\tDE RIVOLI"_s});
    import.openPayees(list, TdmElhImport::PayeeList::SelfEmployed);
    findings.clear();
    import.beginAutonomi();
    for (const int payee : {12, 13}) {
        ASSERT_TRUE(list.locate(u"IANAID"_s, payee));
        EXPECT_EQ(import.importaAutonomo(list, ask), TdmElhImport::Outcome::Failed);
    }
    import.endAutonomi();
    EXPECT_EQ(rows(u"TDAU7_DATIAUTONOM"_s, u"02487650323"_s) + rows(u"TDAU7_DATIAUTONOM"_s, u"DPNJNP80A01Z110X"_s),
              kept);
    EXPECT_TRUE(findings.hasErrors());
    const QString refused = findings.texts().join(u'\n');
    for (const QString &part :
         {QString(u"campo SDAU7COGNOME: il valore «"_s + QString(73, u'B') + u"» è lungo 73 caratteri"_s),
          u"DUPONT JEAN"_s,
          u"campo SDAU7INDIRIESTERO: il valore «RUE<TAB>DE RIVOLI» contiene il carattere di controllo TAB"_s})
        EXPECT_TRUE(refused.contains(part)) << refused.toStdString();
}
