// The employee and self-employed windows on a school database: a section row
// belongs to the person current when it was entered and is never shown under
// another, the rules of the rows before they are confirmed, deleting a person
// with his sections, and what the pages and grids show.

#include "DataSetTableModel.h"
#include "ElhMStampe.h"
#include "EntryTestSupport.h"
#include "PageList.h"
#include "PdfReadBack.h"
#include "QtPrinters.h"
#include "RecordingShell.h"
#include "ReturnDatabaseTest.h"
#include "TNrDBEdit.h"
#include "TNrDBGrid.h"
#include "TfmElhAutonomo.h"
#include "TfmElhDipendente.h"
#include "TfmElhPdfDip.h"
#include "TfmElhProspDI.h"
#include "TfmElhProspSV.h"
#include "TfmElhProspSX.h"
#include "TfmElhprospSY.h"
#include "TfrElhAutSomme.h"
#include "TfrElhAutonomo.h"
#include "TfrElhConFamCar.h"
#include "TfrElhDipAnagr.h"
#include "TfrElhDipSezioni.h"
#include "TfrElhPdfOutput.h"

#include <QAction>
#include <QButtonGroup>
#include <QFile>
#include <QLabel>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QSet>
#include <QTabWidget>
#include <QTest>
#include <QToolBar>

using namespace Qt::Literals::StringLiterals;
using namespace EntryTest;

namespace {

const QString kRossi = u"RSSMRA75D12D653T"_s;
const QString kBianchi = u"BNCLRA90B41G478Z"_s;

const QByteArray kEmployees = R"({"records": [
    {"SDIP7CODFIS": "RSSMRA75D12D653T", "SDIP7COGNOME": "ROSSI", "SDIP7NOME": "MARIO", "SDIP7GRUPPOANA": "D",
     "FFIS7REDDDETR": "32450.00"},
    {"SDIP7CODFIS": "BNCLRA90B41G478Z", "SDIP7COGNOME": "BIANCHI", "SDIP7NOME": "LAURA", "SDIP7GRUPPOANA": "D"}]})";

class PersonWindows : public ReturnDatabaseTest
{
protected:
    void SetUpOpened() override
    {
        ReturnDatabaseTest::SetUpOpened();
        write(u"TDIP7_ANAGRFISCALI"_s, kEmployees);
    }

    // The person of the store with that code in a registry.
    qint64 personOf(const QString &registry, const QString &codeField, const QString &code)
    {
        const auto people = read(registry);
        EXPECT_TRUE(people->locate(codeField, code));
        return people->fieldByName(u"IAFIID"_s).asLargeInt();
    }

    ScriptedInfoList infoList;
};

} // namespace

TEST_P(PersonWindows, APaymentBelongsToTheWorkerCurrentWhenItWasEnteredAndAWorkerIsNoEmployee)
{
    write(u"TDAU7_DATIAUTONOM"_s, R"({"records": [
        {"SDAU7CODFIS": "GLLRRT65L08G478C", "SDAU7COGNOME": "GALLI", "SDAU7NOME": "ROBERTO", "SDAU7GRUPPOANA": "A"},
        {"SDAU7CODFIS": "02487650323", "SDAU7COGNOME": "STUDIO ASSOCIATO", "SDAU7GRUPPOANA": "A"}]})");
    TfmElhAutonomo window(store());
    ASSERT_TRUE(showActive(&window));
    TfrElhAutonomo *workers = window.frAutonomo;
    TfrElhAutSomme *payments = workers->frAutSomme;
    ASSERT_TRUE(workers->cdsMain.locate(u"SDAU7CODFIS"_s, u"GLLRRT65L08G478C"_s));
    EXPECT_EQ(workers->infoPanelCaption(), u"GALLI ROBERTO"_s);

    workers->pcMain->setCurrentWidget(workers->tsDetail);
    workers->pcAutonomo->setCurrentWidget(payments);
    payments->acInsert->trigger();
    EXPECT_EQ(payments->laRigo->text(), u"Ins."_s);
    typeInto(editOf(*payments, u"FDSE7AMMLORDO"_s), u"2400"_s);
    payments->acPost->trigger();
    EXPECT_EQ(payments->laRigo->text(), u"1 di 1"_s);

    const auto paid = read(u"TDSE7_SOMMEEROGATE"_s);
    ASSERT_EQ(paid->recordCount(), 1);
    EXPECT_EQ(paid->fieldByName(u"SDAU7CODFIS"_s).asString(), u"GLLRRT65L08G478C"_s);
    EXPECT_EQ(paid->fieldByName(u"IAFIID"_s).asLargeInt(),
              personOf(u"TDAU7_DATIAUTONOM"_s, u"SDAU7CODFIS"_s, u"GLLRRT65L08G478C"_s));

    ASSERT_TRUE(workers->cdsMain.locate(u"SDAU7CODFIS"_s, u"02487650323"_s));
    EXPECT_TRUE(payments->cdsMain.isEmpty());
    EXPECT_EQ(payments->laRigo->text(), u"0 di 0"_s);
    EXPECT_TRUE(workers->cdsMain.locate(u"SDAU7CODFIS"_s, u"GLLRRT65L08G478C"_s));
    EXPECT_EQ(payments->cdsMain.recordCount(), 1);
    EXPECT_TRUE(messages().messages().isEmpty()) << messages().texts().join(u'\n').toStdString();

    // A new worker with an employee's code is another person of group A,
    // whose payments are his own, not the employee's rows.
    write(u"TREE7_REDDITOESTER"_s,
          R"({"records": [{"SDIP7CODFIS": "RSSMRA75D12D653T", "FFIS7REDDESTERO": "4200.00"}]})");
    infoList.answer = true;
    workers->acInsert->trigger();
    TNrDBEdit *code = editOf(*workers, u"SDAU7CODFIS"_s);
    EXPECT_TRUE(code->editEnabled());
    typeInto(code, kRossi);
    typeInto(editOf(*workers, u"SDAU7COGNOME"_s), u"ROSSI"_s);
    workers->acPost->trigger();
    EXPECT_FALSE(code->editEnabled());
    const auto stored = read(u"TDAU7_DATIAUTONOM"_s);
    ASSERT_TRUE(stored->locate(u"SDAU7CODFIS"_s, kRossi));
    EXPECT_EQ(stored->fieldByName(u"SDAU7GRUPPOANA"_s).asString(), u"A"_s);
    EXPECT_NE(personOf(u"TDAU7_DATIAUTONOM"_s, u"SDAU7CODFIS"_s, kRossi),
              personOf(u"TDIP7_ANAGRFISCALI"_s, u"SDIP7CODFIS"_s, kRossi));
    EXPECT_NE(workers->person().id, 0);
    EXPECT_TRUE(payments->cdsMain.isEmpty());
    // The check found the birth data missing and the user went on.
    ASSERT_EQ(infoList.asked.size(), 1);
    EXPECT_EQ(infoList.asked[0], QStringList{u" - Dato obbligatorio mancante: Nome dell'autonomo"_s});
}

TEST_P(PersonWindows, ANewEmployeeNeedsHisCodeTakesTheEmployeeGroupAndIsRemindedOfForeignIncome)
{
    infoList.answer = true;
    TfmElhDipendente window(store());
    ASSERT_TRUE(showActive(&window));
    TfrElhDipAnagr *employees = window.frDipAnagr;
    // Ordered by fiscal code, with the position of each row.
    EXPECT_EQ(employees->cdsMain.fieldByName(u"SDIP7CODFIS"_s).asString(), kBianchi);
    EXPECT_EQ(employees->grFrame->model()->index(1, 0).data().toInt(), 2);

    employees->pcMain->setCurrentWidget(employees->tsDetail);
    employees->pcDip->setCurrentIndex(1);
    employees->acInsert->trigger();
    EXPECT_EQ(employees->pcDip->currentIndex(), 0);
    EXPECT_TRUE(employees->infoPanelCaption().isEmpty());
    employees->acPost->trigger();
    EXPECT_EQ(messages().texts(), QStringList{u"Codice fiscale obbligatorio"_s});
    EXPECT_EQ(employees->cdsMain.state(), DataSetState::Insert);

    typeInto(editOf(*employees, u"SDIP7CODFIS"_s), u"VRDGPP58C10D653M"_s);
    typeInto(editOf(*employees, u"SDIP7COGNOME"_s), u"VERDI"_s);
    // The pages are listed beside them; the row stays on the page kept.
    employees->lbPagine->setCurrentRow(1);
    EXPECT_EQ(employees->pcDip->currentIndex(), 0) << "the page may not change while the employee is new";
    EXPECT_EQ(employees->lbPagine->currentRow(), 0);
    employees->acPost->trigger();
    EXPECT_EQ(employees->cdsMain.state(), DataSetState::Browse);
    EXPECT_EQ(employees->cdsMain.fieldByName(u"SDIP7GRUPPOANA"_s).asString(), u"D"_s);
    EXPECT_EQ(employees->infoPanelCaption(), u"VERDI "_s);
    EXPECT_EQ(employees->person().id, personOf(u"TDIP7_ANAGRFISCALI"_s, u"SDIP7CODFIS"_s, u"VRDGPP58C10D653M"_s));

    messages().clear();
    employees->lbPagine->setCurrentRow(1);
    TNrDBEdit *foreignTaxes = editOf(*employees, u"FFIS7IMPOSTEESTERO"_s);
    typeInto(foreignTaxes, u"1830"_s);
    editOf(*employees, u"FFIS7RITIRPEF"_s)->setFocus();
    EXPECT_EQ(messages().texts(),
              QStringList{u"ATTENZIONE!!!\n\rDevono essere compilati anche i campi 115-116-117 della pagina "
                          u"\"Redd. esteri\""_s});
}

TEST_P(PersonWindows, DependantsFlagsAreSetRightBeforeTheRowIsConfirmedAndMonthsHaveTwoDigits)
{
    infoList.answer = true;
    TfmElhDipendente window(store());
    ASSERT_TRUE(showActive(&window));
    TfrElhDipAnagr *employees = window.frDipAnagr;
    ASSERT_TRUE(employees->cdsMain.locate(u"SDIP7CODFIS"_s, kRossi));
    employees->pcMain->setCurrentWidget(employees->tsDetail);
    TfrElhConFamCar *dependants = employees->frConFamCar;
    employees->pcDip->setCurrentWidget(dependants);
    dependants->acInsert->trigger();
    for (const char16_t *flag : {u"LCFC7RELPARFIGL", u"LCFC7RELPARFIGLALTRFAM"})
        dependants->cdsMain.fieldByName(QString::fromUtf16(flag)).setAsString(u"1"_s);

    TNrDBEdit *months = editOf(*dependants, u"SCFC7MESICARFIGL"_s);
    const std::pair<QString, QString> typed[] = {{u"7"_s, u"Il mese deve essere di 2 cifre"_s},
                                                 {u"13"_s, u"Mese non valido, deve essere compreso tra 01 e 12"_s},
                                                 {u"0A"_s, u"Mese non valido, deve essere compreso tra 01 e 12"_s},
                                                 {u"07"_s, QString()}};
    for (const auto &[text, message] : typed) {
        messages().clear();
        typeInto(months, text);
        editOf(*dependants, u"SCFC7CODFISFIGL"_s)->setFocus();
        EXPECT_EQ(messages().texts(), message.isEmpty() ? QStringList() : QStringList{message}) << text.toStdString();
    }

    messages().clear();
    dependants->acPost->trigger();
    EXPECT_EQ(messages().texts(),
              QStringList{u"- Dati incongruenti altri familiari: Verrà abilitato campo A e non F"_s});
    const auto stored = read(u"TCFC7_CONFAMCARICO"_s);
    ASSERT_EQ(stored->recordCount(), 1);
    EXPECT_EQ(stored->fieldByName(u"LCFC7RELPARFIGLALTRFAM"_s).asString(), u"1"_s);
    EXPECT_EQ(stored->fieldByName(u"LCFC7RELPARFIGL"_s).asString(), u"0"_s);
    EXPECT_EQ(stored->fieldByName(u"SCFC7MESICARFIGL"_s).asString(), u"07"_s);
    EXPECT_EQ(stored->fieldByName(u"SDIP7CODFIS"_s).asString(), kRossi);

    // A disabled child is neither a plain child nor another family member.
    dependants->acEdit->trigger();
    for (const char16_t *flag :
         {u"LCFC7RELPARFIGLDIS", u"LCFC7RELPARFIGL", u"LCFC7RELPARPRIFIGL", u"LCFC7RELPARPRIFIGLDIS"})
        dependants->cdsMain.fieldByName(QString::fromUtf16(flag)).setAsString(u"1"_s);
    messages().clear();
    dependants->acPost->trigger();
    EXPECT_EQ(messages().texts(),
              QStringList{u"- Dati incongruenti primo figlio: Verrà abilitato campo D e non F1\r\n"
                          u"- Dati incongruenti altri familiari: Verrà abilitato campo D e non F e A\r\n"_s});
    for (const char16_t *flag : {u"LCFC7RELPARFIGL", u"LCFC7RELPARFIGLALTRFAM", u"LCFC7RELPARPRIFIGL"})
        EXPECT_EQ(dependants->cdsMain.fieldByName(QString::fromUtf16(flag)).asString(), u"0"_s);
}

TEST_P(PersonWindows, EachSectionAsksByNameAndDeletingAnEmployeeTakesHisSectionsWithHim)
{
    // One row of Rossi's and one of Bianchi's in every section.
    const QString sections[] = {u"TREE7_REDDITOESTER"_s, u"TCFF7_CFFAMILIARE"_s,  u"TCON7_DATICONGUAG"_s,
                                u"TTAS7_TASSAZIONESE"_s, u"TTFR7_TFR"_s,          u"TANN7_ANNOTAZIONI"_s,
                                u"TINPS7_INPS"_s,        u"TINP7_INPDAP"_s,       u"TINA7_INAIL"_s,
                                u"TRAR7_REDASSTIRTIT"_s, u"TCFC7_CONFAMCARICO"_s, u"TSLS7_SOMEROLAVSTRA"_s};
    for (const QString &table : sections) {
        write(table, QStringLiteral(R"({"records": [{"SDIP7CODFIS": "%1"}, {"SDIP7CODFIS": "%2"}]})")
                         .arg(kRossi, kBianchi)
                         .toUtf8());
    }
    write(u"TTFR7_TFR"_s, R"({"records": [{"SDIP7CODFIS": "RSSMRA75D12D653T", "FTFR007PERCPARZ": "83.3333",
                                           "FRL7INDENANNO": "45230"}]})");
    TfmElhDipendente window(store());
    ASSERT_TRUE(showActive(&window));
    TfrElhDipAnagr *employees = window.frDipAnagr;
    ASSERT_TRUE(employees->cdsMain.locate(u"SDIP7CODFIS"_s, kRossi));

    // Percentages and rates of the TFR show three decimals, amounts two.
    employees->frTFR->cdsMain.last();
    EXPECT_EQ(employees->frTFR->cdsMain.fieldByName(u"FTFR007PERCPARZ"_s).displayText(), u"83,333"_s);
    EXPECT_EQ(employees->frTFR->cdsMain.fieldByName(u"FTFR007PERCPARZ"_s).editText(), u"83,333"_s);
    EXPECT_EQ(employees->frTFR->cdsMain.fieldByName(u"FRL7INDENANNO"_s).displayText(), u"45.230,00"_s);

    // The employee stays current while one of his sections is edited.
    employees->frINPS->acEdit->trigger();
    employees->acFirst->trigger();
    EXPECT_EQ(employees->cdsMain.fieldByName(u"SDIP7CODFIS"_s).asString(), kRossi);
    EXPECT_EQ(messages().texts(),
              QStringList{u"Non è possibile cambiare schermata mentre si inseriscono o modificano i dati"_s});
    employees->frINPS->acCancel->trigger();

    const QList<TfrElhSezione *> frames = employees->sections();
    ASSERT_EQ(frames.size(), 12);
    messages().clear();
    messages().setDefaultAnswer(ModalResult::No);
    for (TfrElhSezione *frame : frames)
        frame->acDelete->trigger();
    // Each asks by its own name.
    const QStringList asked = messages().texts();
    ASSERT_EQ(asked.size(), 12);
    EXPECT_EQ(asked.first(), u"Confermi la cancellazione della sezione \"Redd.Esteri\"?"_s);
    EXPECT_EQ(QSet<QString>(asked.cbegin(), asked.cend()).size(), 12);

    messages().clear();
    messages().enqueue(ModalResult::Yes);
    employees->acDelete->trigger();
    EXPECT_EQ(messages().texts(), QStringList{u"Confermi la cancellazione del modello corrente?"_s});
    EXPECT_EQ(employees->cdsMain.recordCount(), 1);
    EXPECT_EQ(employees->cdsMain.fieldByName(u"SDIP7CODFIS"_s).asString(), kBianchi);
    // In the store at once, without waiting for the window to close: only
    // Bianchi and his rows are left.
    EXPECT_EQ(read(u"TDIP7_ANAGRFISCALI"_s)->recordCount(), 1);
    for (const QString &table : sections) {
        const auto rows = read(table);
        EXPECT_EQ(rows->recordCount(), 1) << table.toStdString();
        EXPECT_EQ(rows->fieldByName(u"SDIP7CODFIS"_s).asString(), kBianchi) << table.toStdString();
    }
    for (TfrElhSezione *frame : frames)
        EXPECT_EQ(frame->cdsMain.recordCount(), 1) << frame->tableName().toStdString();
    EXPECT_TRUE(window.close());
}

TEST_P(PersonWindows, ThePrintWindowFollowsTheChoiceOfRowsAndListsTheFileItMade)
{
    write(u"TSOS_DATOSOSTITUTO"_s, R"({"records": [{"SSOSCODFIS": "80012345676", "SSOSDENOM": "ISTITUTO"}]})");
    write(u"TDIP7_ANAGRFISCALI"_s,
          R"({"records": [{"SDIP7CODFIS": "VRDGPP58C10D653M", "SDIP7COGNOME": "VERDI", "SDIP7GRUPPOANA": "D"}]})");
    RecordingShell shell;
    TdmElhStampe stampe(store());
    TfmElhPdfDip window(store(), stampe);
    ASSERT_TRUE(showActive(&window));
    EXPECT_EQ(window.frOutput->edPdfFileName->text(), u"Dipendenti"_s);
    EXPECT_FALSE(window.frOutput->buOpenPdf->isEnabled());
    QItemSelectionModel *rows = window.frElfMultiSelect->selectionModel();
    EXPECT_EQ(window.rgSelezione->checkedId(), 0);
    // Rossi and Verdi, in the order of the list (Bianchi stands first).
    for (int row : {1, 2})
        rows->select(window.frElfMultiSelect->model()->index(row, 0),
                     QItemSelectionModel::Select | QItemSelectionModel::Rows);
    EXPECT_EQ(window.rgSelezione->checkedId(), 1);

    window.frOutput->edPdfFileName->setText(u"prove/due"_s);
    window.frOutput->buCreatePdf->click();
    EXPECT_EQ(messages().texts().size(), 1);
    EXPECT_TRUE(window.frOutput->meOut->toPlainText().isEmpty());

    window.frOutput->edPdfFileName->setText(u"due"_s);
    window.frOutput->buCreatePdf->click();
    const QString file = window.frOutput->fullFileName();
    EXPECT_TRUE(file.endsWith(u"/Stp/due.pdf"_s)) << file.toStdString();
    EXPECT_EQ(window.frOutput->meOut->toPlainText(), u"File generato: "_s + file);
    EXPECT_EQ(PdfReadBack::pageCount(file), 14);
    ASSERT_TRUE(window.frOutput->buOpenPdf->isEnabled());
    window.frOutput->buOpenPdf->click();
    EXPECT_EQ(shell.calls, QStringList{u"file "_s + file});

    rows->clearSelection();
    EXPECT_EQ(window.rgSelezione->checkedId(), 0);
}

TEST_P(PersonWindows, GridsAreTitledByTheCaptionsOfTheirFieldsHeadingsFilledAndBarsNamed)
{
    write(u"TPDI_PROSPETTODI"_s, R"({"records": [{"SPDICODFIS": "RSSMRA75D12D653T", "SPDIPERIMP": "2023"}]})");
    const QString domicile = u"DOMICILIO FISCALE ALL' 1/1/"_s;
    // The years of the domicile headings; the Prospetti of payments show amounts.
    const std::tuple<std::function<QWidget *()>, QStringList, bool> windows[] = {
        {[this] { return new TfmElhDipendente(store()); }, {domicile + u"2023"_s, domicile + u"2024"_s}, false},
        {[this] { return new TfmElhAutonomo(store()); }, {domicile + u"2023"_s}, false},
        {[this] { return new TfmElhProspSV(store()); }, {}, true},
        {[this] { return new TfmElhProspSX(store()); }, {}, true},
        {[this] { return new TfmElhprospSY(store()); }, {}, true},
        {[this] { return new TfmElhProspDI(store()); }, {}, false}};
    for (const auto &[make, headings, amounts] : windows) {
        const std::unique_ptr<QWidget> window(make());
        ASSERT_TRUE(showActive(window.get()));
        // Every page shown once, so that the pages made when first shown are made.
        for (QTabWidget *pages : window->findChildren<QTabWidget *>()) {
            for (int page = 0; page < pages->count(); ++page)
                pages->setCurrentIndex(page);
        }
        QStringList domiciles;
        for (const QLabel *label : window->findChildren<QLabel *>()) {
            EXPECT_FALSE(label->text().contains(u'%')) << label->text().toStdString();
            if (label->text().startsWith(domicile))
                domiciles.append(label->text());
        }
        EXPECT_EQ(domiciles, headings);
        for (TfrElfBase *frame : window->findChildren<TfrElfBase *>()) {
            const std::string name = frame->objectName().toStdString();
            const TNrDBGrid *grid = frame->grFrame;
            const DataSetTableModel *model = grid->dataModel();
            bool amountShown = false;
            for (int column = 0; column < model->columnCount(); ++column) {
                const QString title = model->headerData(column, Qt::Horizontal).toString();
                const Field *field = model->columnField(column);
                EXPECT_FALSE(title.isEmpty() || (field && title.contains(field->fieldName()))) << name;
                amountShown = amountShown || (field && field->dataType() == FieldType::Decimal);
                // The last column takes the room left: the others fit what they show.
                QStringList shown = title.split(u'\n');
                for (int row = 0; row < model->rowCount(); ++row)
                    shown.append(model->index(row, column).data().toString());
                for (const QString &text : std::as_const(shown))
                    EXPECT_TRUE(column + 1 == model->columnCount()
                                || grid->fontMetrics().horizontalAdvance(text) <= grid->columnWidth(column))
                        << name << " " << text.toStdString();
            }
            EXPECT_TRUE(amountShown || !amounts) << name;
            // The person's bar above the pages, each section's own inside its page.
            const auto *caption = frame->toolBar()->findChild<QLabel *>(u"laBarCaption"_s);
            const auto *tabs = qobject_cast<QTabWidget *>(frame->parentWidget()->parentWidget());
            const QString page = tabs ? u'"' + tabs->tabText(tabs->indexOf(frame)) + u'"' : QString();
            if (!headings.isEmpty()) {
                EXPECT_TRUE(caption && caption->text().contains(page.isEmpty() ? u"\""_s : page) != page.isEmpty())
                    << name;
            }
        }
    }
}

ELH_INSTANTIATE_ON_BOTH_ENGINES(PersonWindows);
