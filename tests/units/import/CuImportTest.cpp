#include "ClientDataSet.h"
#include "ReturnDatabaseTest.h"
#include "import/ElhMImport.h"
#include "store/DatabaseSetup.h"
#include "store/PayrollTables.h"

#include <gtest/gtest.h>

using namespace Qt::Literals::StringLiterals;

namespace {

class CuImportTest : public ReturnDatabaseTest
{
protected:
    void SetUpOpened() override
    {
        ReturnDatabaseTest::SetUpOpened();
        for (const int year : {2022, 2023})
            exec(u"INSERT INTO TANF_ANNIFINANZ (IANFID, SANFDESCRIZIONE, DANFNORMAINIZIO, DANFNORMAFINE, IANFVALORE) "
                 "VALUES (?, ?, ?, ?, ?)"_s,
                 {year, QString::number(year), QDate(year, 1, 1), QDate(year, 12, 31), year});
        exec(u"INSERT INTO TSED_SEDI (ISEDID, IDWGID, SSEDNOMCODICEFISC) VALUES (1, 1, '80012345676')"_s);
        DatabaseSetup::pointToDemo(params());
    }

    void payroll(const QByteArray &json) { PayrollTables::load(connection(), json, u"test"_s); }
    void certify(const QString &table, const QByteArray &records) { write(table, R"({"records": [)" + records + "]}", 2023, u"eli"_s); }

    bool run(const QStringList &codes, TdmElhImport::Options options = {})
    {
        TdmElhImport import(store(), params());
        const bool ok = import.ImportCUD(codes, options);
        log = import.log();
        return ok;
    }

    // The rows of a person in a table of the return, one text of the
    // non-empty values of each ("FIELD=text ..."), in the table's order.
    QStringList rows(const QString &table, const QString &code)
    {
        const auto ds = read(table);
        const QString codeField = ds->findField(u"SDIP7CODFIS"_s) ? u"SDIP7CODFIS"_s : u"SDAU7CODFIS"_s;
        QStringList all;
        for (; !ds->eof(); ds->next()) {
            if (ds->fieldByName(codeField).asString() != code)
                continue;
            QStringList values;
            for (int i = 0; i < ds->fieldCount(); ++i) {
                const Field &f = ds->field(i);
                if (f.fieldName() == u"IFISRIGO" || f.fieldName() == u"IAFIID" || f.fieldName() == codeField
                    || f.asString().isEmpty() || f.asString() == u"0")
                    continue;
                values.append(f.fieldName() + u'=' + f.asString());
            }
            all.append(values.join(u' '));
        }
        return all;
    }
    // A value of the first row of a person in a table.
    QString value(const QString &table, const QString &code, const QString &field)
    {
        const auto ds = read(table);
        const QString codeField = ds->findField(u"SDIP7CODFIS"_s) ? u"SDIP7CODFIS"_s : u"SDAU7CODFIS"_s;
        return ds->locate(codeField, code) ? ds->fieldByName(field).asString() : u"(nessuna riga)"_s;
    }

    QStringList log;
};

ELH_INSTANTIATE_ON_BOTH_ENGINES(CuImportTest);

} // namespace

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
        {"SCUDCODFIS": "NRENNA70E55F839I", "SCUDMESE": "12", "SCUDCOGNOME": "Neri", "SCUDNOME": "Anna", "FCUDRITIRPEF": "10",
         "SCUDANNOTAZIONI": "AC) detrazione calcolata sul periodo\r\nBO)\r\nZZ) codice che non esiste"},
        {"SCUDCODFIS": "GLLRRT65L08G478C", "SCUDMESE": "12", "SCUDCOGNOME": "Galli", "SCUDNOME": "Roberto"},
        {"SCUDCODFIS": "SPSNNA70E55F839X", "SCUDMESE": "12", "SCUDCOGNOME": "Esposito", "SCUDNOME": "Anna", "FCUDREDDDETR": "1", "SCUDALTROSOSCODFIS": "99999999999"})");
    certify(u"TCUDI_INPS"_s, R"(
        {"SCUDCODFIS": "RSSMRA75D12D653T", "SCUDMESE": "06", "SCUDMATRAZIENDA": "5401", "FCUDIMPONIBILE": "100"},
        {"SCUDCODFIS": "RSSMRA75D12D653T", "SCUDMESE": "12", "SCUDMATRAZIENDA": "5401", "FCUDIMPONIBILE": "50"},
        {"SCUDCODFIS": "RSSMRA75D12D653T", "SCUDMESE": "12", "SCUDMATRAZIENDA": "7777", "FCUDIMPONIBILE": "20"},
        {"SCUDCODFIS": "BNCLRA90B41G478Z", "SCUDMESE": "03", "SCUDMATRAZIENDA": "5401", "FCUDIMPONIBILE": "70"})");
    certify(u"TCUDN_INPDAP"_s, R"(
        {"SCUDCODFIS": "NRENNA70E55F839I", "SCUDMESE": "12", "SCUDCODFISAMMNE": "80012345676", "ICUDANNORIF": 2023, "SCUDGESASS2": "2"})");
    certify(u"TASE_AUTSOMMEEROGATE"_s, R"(
        {"SCUDCODFIS": "GLLRRT65L08G478C", "SCUDMESE": "12", "SCAUCODICE": "A", "SDSE7ANNO": "2023", "FCUDIMPONIBILE": "2400", "FCUDRITTITACC": "480"})");
    write(u"TDIP7_ANAGRFISCALI"_s, R"({"records": [
        {"SDIP7CODFIS": "RSSMRA75D12D653T", "SDIP7COGNOME": "ROSSI", "SDIP7GRUPPOANA": "D", "FFIS7RITIRPEF": "999"},
        {"SDIP7CODFIS": "SPSNNA70E55F839X", "SDIP7COGNOME": "ESPOSITO", "SDIP7GRUPPOANA": "D", "FFIS7RITIRPEF": "5"}]})");
    write(u"TINPS7_INPS"_s, R"({"records": [{"SDIP7CODFIS": "RSSMRA75D12D653T", "sInps7MatrAzienda": "0001", "fInps7Imponibile": "9"}]})");
    const QStringList untouched = rows(u"TDIP7_ANAGRFISCALI"_s, u"SPSNNA70E55F839X"_s);

    const QStringList chosen{u"rssmra75d12d653t "_s, u"BNCLRA90B41G478Z"_s, u"VRDGPP58C10D653M"_s, u"NRENNA70E55F839I"_s,
                             u"GLLRRT65L08G478C"_s};
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
    EXPECT_TRUE(rows(u"TINP7_INPDAP"_s, u"NRENNA70E55F839I"_s).isEmpty());
    EXPECT_EQ(rows(u"TANN7_ANNOTAZIONI"_s, u"NRENNA70E55F839I"_s), QStringList{u"SANN701=AC"_s});
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
    const QStringList before = rows(u"TINPS7_INPS"_s, u"RSSMRA75D12D653T"_s) + rows(u"TDIP7_ANAGRFISCALI"_s, u"RSSMRA75D12D653T"_s);
    ASSERT_TRUE(run(chosen));
    EXPECT_EQ(rows(u"TINPS7_INPS"_s, u"RSSMRA75D12D653T"_s) + rows(u"TDIP7_ANAGRFISCALI"_s, u"RSSMRA75D12D653T"_s), before);
    EXPECT_EQ(read(u"TSOE7_SOSESTINTO"_s)->recordCount(), 2);
}
