#include "ClientDataSet.h"
#include "EntryTestSupport.h"
#include "NrReturnLock.h"
#include "PayrollDatabaseTest.h"
#include "TNrDBGrid.h"
#include "TfmElhAggiungiAdd.h"
#include "TfmElhImpCUD.h"
#include "TfmElhImpMultiSelect.h"
#include "TfrElHMulti.h"

#include <QCheckBox>
#include <QComboBox>
#include <QGroupBox>
#include <QItemSelectionModel>
#include <QLabel>
#include <QPushButton>
#include <QRadioButton>

using namespace Qt::Literals::StringLiterals;
using namespace EntryTest;

namespace {

// Three payees: BIANCHI (category 1, professional, qualification 3, in
// service), ROSSI (category 2, occasional, qualification 4, contract ended),
// VERDI (category 1, extraneous, qualification 4, in service).
const char *const kPayees = R"({
  "TCAL_CATEGORIE": [{"ICALID": 1, "ICALNORMACODE": 1, "SCALDESC": "Docenti"}, {"ICALID": 2, "ICALNORMACODE": 2, "SCALDESC": "ATA"}],
  "TTNO_TIPINOMINA": [{"ITNOID": 10, "ITNONORMACODE": 10, "STNODESC": "Estranei"},
                      {"ITNOID": 14, "ITNONORMACODE": 14, "STNODESC": "Liberi professionisti"},
                      {"ITNOID": 15, "ITNONORMACODE": 15, "STNODESC": "Autonomi occasionali"}],
  "TQAR_QUALIFICHE": [{"IQARID": 3, "IQARNORMACODE": 3, "SQARDESC": "Esperto"}, {"IQARID": 4, "IQARNORMACODE": 4, "SQARDESC": "Formatore"}],
  "TANA_ANAGRAFE": [
    {"IANAID": 1, "IDWGID": 1, "SANAMATRICOLA": "30", "SANACODFISCALE": "BNCLRA90B41G478Z", "SANACOGNOME": "BIANCHI", "SANANOME": "LAURA"},
    {"IANAID": 2, "IDWGID": 1, "SANAMATRICOLA": "10", "SANACODFISCALE": "RSSMRA75D12D653T", "SANACOGNOME": "ROSSI", "SANANOME": "MARIO"},
    {"IANAID": 3, "IDWGID": 1, "SANAMATRICOLA": "20", "SANACODFISCALE": "VRDGPP58C10D653M", "SANACOGNOME": "VERDI", "SANANOME": "GIUSEPPE"}],
  "TACOM_ANACONTRATTI": [
    {"IACOMID": 1, "IANAID": 1, "IANFID": 2023, "IDWGID": 1, "ICALID": 1, "ITNOID": 14, "IQARID": 3, "DACOMINIZIO": "2023-01-01"},
    {"IACOMID": 2, "IANAID": 2, "IANFID": 2023, "IDWGID": 1, "ICALID": 2, "ITNOID": 15, "IQARID": 4, "DACOMINIZIO": "2023-01-01", "DACOMFINE": "2023-05-31"},
    {"IACOMID": 3, "IANAID": 3, "IANFID": 2023, "IDWGID": 1, "ICALID": 1, "ITNOID": 10, "IQARID": 4, "DACOMINIZIO": "2023-01-01"}],
  "TREGS_REGISTROCOMPENSI": [
    {"IREGSID": 1, "IDWGID": 1, "IANFID": 2023, "IANAID": 1, "SREGSCAUSALE": "A"},
    {"IREGSID": 2, "IDWGID": 1, "IANFID": 2023, "IANAID": 2, "SREGSCAUSALE": "A"},
    {"IREGSID": 3, "IDWGID": 1, "IANFID": 2023, "IANAID": 3, "SREGSCAUSALE": "M"}],
  "TVARR_VARRITENUTE": [
    {"IVARRID": 1, "IREGSID": 1, "IRICEID": 11, "FVARRIMPONIBILEDIP": 1000, "FVARRRITDIP": 200},
    {"IVARRID": 2, "IREGSID": 2, "IRICEID": 11, "FVARRIMPONIBILEDIP": 500, "FVARRRITDIP": 100}]
})";

class ImportDialogs : public PayrollDatabaseTest
{
protected:
    // A field of every record in the order shown.
    static QStringList column(const ClientDataSet &list, const QString &field = u"SANACOGNOMENOME"_s)
    {
        QStringList all;
        for (int r = 1; r <= list.viewCount(); ++r) {
            const RecordPeek peek(list, r);
            all.append(list.fieldByName(field).asString());
        }
        return all;
    }
    // Picks the rows of a grid whose record passes `pick`.
    void pickRows(TNrDBGrid *grid, ClientDataSet &ds, const std::function<bool()> &pick)
    {
        for (int r = 1; r <= ds.viewCount(); ++r) {
            const RecordPeek peek(ds, r);
            if (pick())
                grid->selectionModel()->select(grid->model()->index(r - 1, 0),
                                               QItemSelectionModel::Select | QItemSelectionModel::Rows);
        }
    }
};

ELH_INSTANTIATE_ON_BOTH_ENGINES(ImportDialogs);

} // namespace

TEST_P(ImportDialogs, TheSelfEmployedAreFilteredOrderedPickedAndImportedAsChosen)
{
    payroll(kPayees);
    write(u"TDAU7_DATIAUTONOM"_s,
          R"({"records": [{"SDAU7CODFIS": "RSSMRA75D12D653T", "SDAU7COGNOME": "ROSSI", "SDAU7GRUPPOANA": "A"}]})");
    TfmElhImpMultiSelect dialog(store(), params());
    dialog.load();
    EXPECT_TRUE(dialog.rgOrdine->isHidden());
    EXPECT_TRUE(dialog.rbChiedi->isChecked());
    ClientDataSet &list = dialog.xqcMultiSelect;
    EXPECT_EQ(column(list), (QStringList{u"BIANCHI LAURA"_s, u"ROSSI MARIO"_s, u"VERDI GIUSEPPE"_s}));
    EXPECT_EQ(dialog.cbICALNORMACODE->itemText(0), u"(Tutte)"_s);

    // Category 1, then in service, then qualification 4.
    dialog.cbICALNORMACODE->setCurrentIndex(1);
    EXPECT_EQ(column(list), (QStringList{u"BIANCHI LAURA"_s, u"VERDI GIUSEPPE"_s}));
    dialog.cbICALNORMACODE->setCurrentIndex(0);
    dialog.ckInServizio->setChecked(true);
    dialog.cbIQARNORMACODE->setCurrentIndex(2);
    EXPECT_EQ(column(list), QStringList{u"VERDI GIUSEPPE"_s}) << "in service, qualification 4";
    dialog.cbIQARNORMACODE->setCurrentIndex(0);
    dialog.ckInServizio->setChecked(false);
    // A click on a title orders by its column: the code alone, or the code
    // of position then the name.
    TNrDBGrid *grid = dialog.frNrMultiSel->grid();
    emit grid->titleClicked(u"CODICE"_s);
    EXPECT_EQ(column(list), (QStringList{u"ROSSI MARIO"_s, u"VERDI GIUSEPPE"_s, u"BIANCHI LAURA"_s}));
    emit grid->titleClicked(u"ITNONORMACODE"_s);
    EXPECT_EQ(list.indexFieldNames(), u"ITNONORMACODE;SANACOGNOMENOME"_s);
    EXPECT_EQ(column(list), (QStringList{u"VERDI GIUSEPPE"_s, u"BIANCHI LAURA"_s, u"ROSSI MARIO"_s}));

    // ROSSI and BIANCHI picked, ROSSI already there and not to be overwritten.
    pickRows(grid, list, [&list] { return list.fieldByName(u"SANACOGNOME"_s).asString() != u"VERDI"; });
    dialog.frNrMultiSel->refreshCount();
    EXPECT_EQ(dialog.frNrMultiSel->infoPanelCaption(), u"Prenotati: 2"_s);
    dialog.rbMai->setChecked(true);
    dialog.buOk()->click();
    EXPECT_EQ(messages().texts(), QStringList{u"Fine operazione"_s});
    EXPECT_EQ(dialog.result(), QDialog::Accepted);
    EXPECT_EQ(rows(u"TDAU7_DATIAUTONOM"_s, u"RSSMRA75D12D653T"_s),
              QStringList{u"SDAU7COGNOME=ROSSI SDAU7GRUPPOANA=A"_s});
    EXPECT_EQ(value(u"TDSE7_SOMMEEROGATE"_s, u"BNCLRA90B41G478Z"_s, u"FDSE7IMPONIBILE"_s), u"1000"_s);
    EXPECT_EQ(value(u"TDAU7_DATIAUTONOM"_s, u"VRDGPP58C10D653M"_s, u"SDAU7COGNOME"_s), u"(nessuna riga)"_s);

    // Stopped from its progress after the second person: the third stays
    // out, and the office learns after whom it stopped.
    messages().clear();
    TfmElhImpMultiSelect stopped(store(), params());
    stopped.load();
    stopped.rbSempre->setChecked(true);
    cancelProgressAt(&stopped, 2);
    stopped.buOk()->click();
    EXPECT_EQ(messages().texts(), (QStringList{u"Importazione terminata dall'utente: elaborati 2 di 3, l'ultimo è "
                                               u"ROSSI MARIO; gli altri sono rimasti come erano"_s,
                                               u"Fine operazione"_s}));
    EXPECT_EQ(value(u"TDSE7_SOMMEEROGATE"_s, u"RSSMRA75D12D653T"_s, u"FDSE7IMPONIBILE"_s), u"500"_s);
    EXPECT_EQ(value(u"TDAU7_DATIAUTONOM"_s, u"VRDGPP58C10D653M"_s, u"SDAU7COGNOME"_s), u"(nessuna riga)"_s);

    // Nothing picked, always overwrite: every listed person.
    TfmElhImpMultiSelect again(store(), params());
    again.load();
    again.rbSempre->setChecked(true);
    again.buOk()->click();
    EXPECT_EQ(value(u"TDAU7_DATIAUTONOM"_s, u"VRDGPP58C10D653M"_s, u"SDAU7COGNOME"_s), u"VERDI"_s);
}

TEST_P(ImportDialogs, TheCuDialogImportsThePickedPeopleAndTheToolReportsTheAdditionalTaxesOfEveryone)
{
    certify(u"TCUD_DATICUD"_s, R"(
        {"SCUDCODFIS": "VRDGPP58C10D653M", "SCUDMESE": "12", "SCUDCOGNOME": "Verdi", "SCUDNOME": "Giuseppe", "FCUDADDREGIRPEF": "30"},
        {"SCUDCODFIS": "BNCLRA90B41G478Z", "SCUDMESE": "12", "SCUDCOGNOME": "Bianchi", "SCUDNOME": "Laura", "FCUDADDREGIRPEF": "10"},
        {"SCUDCODFIS": "RSSMRA75D12D653T", "SCUDMESE": "06", "SCUDCOGNOME": "Rossi", "SCUDNOME": "Mario", "FCUDADDREGIRPEF": "20"},
        {"SCUDCODFIS": "RSSMRA75D12D653T", "SCUDMESE": "12", "SCUDCOGNOME": "Rossi", "SCUDNOME": "Mario", "FCUDADDREGIRPEF": "5"})");
    TfmElhImpCUD dialog(store(), params());
    ASSERT_TRUE(showActive(&dialog));
    ClientDataSet &people = dialog.frElhMulti1->cdsMain;
    EXPECT_EQ(column(people, u"CODFIS"_s),
              (QStringList{u"BNCLRA90B41G478Z"_s, u"RSSMRA75D12D653T"_s, u"VRDGPP58C10D653M"_s}));
    EXPECT_TRUE(dialog.ckSost->isChecked());
    EXPECT_TRUE(dialog.ckAdd->isChecked());
    dialog.ckSost->setChecked(false);
    dialog.ckAdd->setChecked(false);
    pickRows(dialog.frElhMulti1->grFrame, people,
             [&people] { return people.fieldByName(u"COGNOME"_s).asString() != u"Bianchi"; });
    EXPECT_EQ(dialog.selectedCodes(), (QStringList{u"RSSMRA75D12D653T"_s, u"VRDGPP58C10D653M"_s}));
    // While another run holds the return, "Importa" waits, says so and imports nobody.
    {
        NrConnectionSettings quick = connection().settings();
        quick.waitSeconds = 1;
        connection().setSettings(quick);
        TdmkbrConnessione other;
        ASSERT_TRUE(other.OpenConnection());
        const TNrReturnLock held(other, u"elh"_s, 2023, 0);
        dialog.buImporta->click();
        EXPECT_EQ(messages().texts(), QStringList{u"Un'altra importazione è in corso su questa dichiarazione"_s});
        EXPECT_TRUE(dialog.isVisible());
    }
    // The other client became the global connection and cleared it when it went.
    setNrGlobConn(&connection());
    messages().clear();
    EXPECT_EQ(value(u"TDIP7_ANAGRFISCALI"_s, u"RSSMRA75D12D653T"_s, u"SDIP7COGNOME"_s), u"(nessuna riga)"_s);
    dialog.buImporta->click();
    EXPECT_EQ(messages().texts(), QStringList{u"Fine operazione"_s});
    EXPECT_FALSE(dialog.isVisible());
    EXPECT_NE(value(u"TDIP7_ANAGRFISCALI"_s, u"RSSMRA75D12D653T"_s, u"SDIP7COGNOME"_s), u"(nessuna riga)"_s);
    EXPECT_EQ(value(u"TDIP7_ANAGRFISCALI"_s, u"RSSMRA75D12D653T"_s, u"FFIS7ADDREGRPCESS"_s), QString());
    EXPECT_EQ(value(u"TDIP7_ANAGRFISCALI"_s, u"BNCLRA90B41G478Z"_s, u"SDIP7COGNOME"_s), u"(nessuna riga)"_s);
    EXPECT_TRUE(rows(u"TSOS_DATOSOSTITUTO"_s, QString()).isEmpty());

    // "Esegui" with no employee picked reports everyone's.
    TfmElhAggiungiAdd tool(store(), params());
    ASSERT_TRUE(showActive(&tool));
    tool.buEsegui->click();
    EXPECT_EQ(value(u"TDIP7_ANAGRFISCALI"_s, u"RSSMRA75D12D653T"_s, u"FFIS7ADDREGRPCESS"_s), u"25"_s);
    EXPECT_EQ(value(u"TDIP7_ANAGRFISCALI"_s, u"VRDGPP58C10D653M"_s, u"FFIS7ADDREGRPCESS"_s), u"30"_s);
    EXPECT_FALSE(tool.isVisible());
}

TEST_P(ImportDialogs, ACuImportStoppedFromItsProgressKeepsWholePeopleAndSaysAfterWhomItStopped)
{
    constexpr int kPeople = 200;
    certifyPeople(kPeople);
    ScriptedInfoList infoList;
    {
        TfmElhImpCUD dialog(store(), params());
        ASSERT_TRUE(showActive(&dialog));
        dialog.ckSost->setChecked(false);
        cancelProgressAt(&dialog, 50);
        dialog.buImporta->click();
        EXPECT_EQ(messages().texts(), QStringList{u"Fine operazione"_s});
    }
    QMap<QString, QStringList> stopped;
    for (int n = 0; n < kPeople; ++n) {
        const QStringList employee = rows(u"TDIP7_ANAGRFISCALI"_s, personCode(n));
        if (!employee.isEmpty())
            stopped.insert(personCode(n), employee);
    }
    ASSERT_EQ(stopped.size(), 50);
    ASSERT_EQ(infoList.shown.size(), 1);
    const QString last = infoList.shown.first().constLast();
    const QString head = u"Importazione terminata dall'utente: elaborati 50 di 200, l'ultimo è "_s;
    ASSERT_TRUE(last.startsWith(head)) << last.toStdString();
    // The surname of the n-th person is "Cognome" followed by 20000 + n.
    const int named = last.mid(head.size() + 7).section(u' ', 0, 0).toInt() - 20000;
    EXPECT_TRUE(stopped.contains(personCode(named))) << last.toStdString();

    // Whoever is there is whole: as an uninterrupted import makes him.
    messages().clear();
    TfmElhImpCUD whole(store(), params());
    ASSERT_TRUE(showActive(&whole));
    whole.ckSost->setChecked(false);
    whole.buImporta->click();
    EXPECT_EQ(messages().texts(), QStringList{u"Fine operazione"_s});
    for (auto it = stopped.cbegin(); it != stopped.cend(); ++it)
        EXPECT_EQ(it.value(), rows(u"TDIP7_ANAGRFISCALI"_s, it.key())) << it.key().toStdString();
    EXPECT_FALSE(rows(u"TDIP7_ANAGRFISCALI"_s, personCode(kPeople - 1)).isEmpty());
}
