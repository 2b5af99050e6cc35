// The print windows of the frontispiece and of the Prospetti on a school
// database, over the program's one print module.

#include "ElhMStampe.h"
#include "EntryTestSupport.h"
#include "PdfReadBack.h"
#include "ReturnDatabaseTest.h"
#include "TfmElhPdfDip.h"
#include "TfmElhPdfFront.h"
#include "TfmElhPdfProspetto.h"
#include "TfrElhPdfOutput.h"

#include <QFile>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QPushButton>

using namespace Qt::Literals::StringLiterals;
using namespace EntryTest;

namespace {

class PrintWindows : public ReturnDatabaseTest
{
};

} // namespace

TEST_P(PrintWindows, TheFrontispieceWindowRefreshesTheAgentsSummaryAndPrintsTheFirstThreePages)
{
    write(u"TSOS_DATOSOSTITUTO"_s,
          R"({"records": [{"SSOSCODFIS": "80012345676", "SSOSDENOM": "ISTITUTO", "ISOSNDIP": "7", "LSOSST": "0"}]})");
    write(u"TDIP7_ANAGRFISCALI"_s,
          R"({"records": [{"SDIP7CODFIS": "VRDGPP58C10D653M", "SDIP7COGNOME": "VERDI", "SDIP7GRUPPOANA": "D"}]})");
    write(u"TPST_PROSPETTOST"_s, R"({"records": [{"SPSTMESE": "01", "SPSTANNO": "2023", "SPSTCODTRIBUTO": "100E"}]})");
    TdmElhStampe stampe(store());
    {
        TfmElhPdfFront window(stampe);
        ASSERT_TRUE(showActive(&window));
        EXPECT_EQ(window.frOutput->edPdfFileName->text(), u"Frontespizio"_s);
        EXPECT_TRUE(window.frOutput->edPdfFileName->hasFocus());
        ASSERT_TRUE(stampe.cdsSost.active());
        EXPECT_EQ(stampe.cdsSost.state(), DataSetState::Browse);
        EXPECT_EQ(stampe.cdsSost.fieldByName(u"ISOSNDIP"_s).asInteger(), 1);
        EXPECT_EQ(stampe.cdsSost.fieldByName(u"LSOSST"_s).asString(), u"1"_s);
        // Posted in the window's record, not saved.
        EXPECT_EQ(read(u"TSOS_DATOSOSTITUTO"_s)->fieldByName(u"ISOSNDIP"_s).asInteger(), 7);

        const QString file = window.frOutput->fullFileName();
        QFile::remove(file);
        window.frOutput->buCreatePdf->click();
        EXPECT_TRUE(file.endsWith(u"/USR/FL2023/Stp/Frontespizio.pdf"_s)) << file.toStdString();
        EXPECT_EQ(window.frOutput->meOut->toPlainText(), u"File generato: "_s + file);
        EXPECT_EQ(PdfReadBack::pageCount(file), 3);
        EXPECT_TRUE(messages().texts().isEmpty()) << messages().texts().join(u'\n').toStdString();
        EXPECT_TRUE(window.frOutput->buOpenPdf->hasFocus());

        window.frOutput->buExit->click();
        EXPECT_FALSE(window.isVisible());
    }
    EXPECT_FALSE(stampe.cdsSost.active());
    EXPECT_FALSE(stampe.xml770.has_value());
}

TEST_P(PrintWindows, EachProspettoWindowHasItsNameSaysWhenThereIsNothingToPrintAndClosesWhatItShould)
{
    write(u"TSOS_DATOSOSTITUTO"_s, R"({"records": [{"SSOSCODFIS": "80012345676"}]})");
    TdmElhStampe stampe(store());
    const QString names[] = {u"ST"_s, u"SV"_s, u"SX"_s, u"SY"_s, u"SS"_s, u"DI"_s};
    ASSERT_EQ(TfmElhPdfProspetto::all().size(), std::size(names));
    for (qsizetype i = 0; i < std::ssize(names); ++i) {
        const QString &name = names[i];
        const TfmElhPdfProspetto::Prospetto prospetto = TfmElhPdfProspetto::all().at(i);
        stampe.preparaFrontespizio();
        messages().clear();
        TfmElhPdfProspetto window(prospetto, store(), stampe);
        ASSERT_TRUE(showActive(&window));
        EXPECT_EQ(window.windowTitle(), u"Stampa Prospetto "_s + name);
        EXPECT_EQ(window.frOutput->edPdfFileName->text(), name);
        // Not one left by an earlier print of the build's data.
        QFile::remove(window.frOutput->fullFileName());
        window.frOutput->buCreatePdf->click();
        // SS first reminds where its data come from.
        EXPECT_EQ(messages().texts().value(name == u"SS"_s ? 1 : 0),
                  u"Nessun dato da stampare: il file non è stato creato."_s)
            << name.toStdString();
        EXPECT_FALSE(QFile::exists(window.frOutput->fullFileName()));
        EXPECT_TRUE(window.frOutput->meOut->toPlainText().isEmpty());
        EXPECT_FALSE(window.frOutput->buOpenPdf->isEnabled());
        window.close();
        // The windows of SX and SS leave the agent's record as they found it.
        EXPECT_EQ(stampe.cdsSost.active(), name == u"SX"_s || name == u"SS"_s) << name.toStdString();
        stampe.cdsSost.close();
    }
}

TEST_P(PrintWindows, AnEmployeesPrintStoppedFromItsProgressMakesNoFile)
{
    write(u"TSOS_DATOSOSTITUTO"_s, R"({"records": [{"SSOSCODFIS": "80012345676", "SSOSDENOM": "ISTITUTO"}]})");
    write(u"TDIP7_ANAGRFISCALI"_s,
          R"({"records": [{"SDIP7CODFIS": "VRDGPP58C10D653M", "SDIP7COGNOME": "VERDI", "SDIP7GRUPPOANA": "D"},
                          {"SDIP7CODFIS": "RSSMRA75D12D653T", "SDIP7COGNOME": "ROSSI", "SDIP7GRUPPOANA": "D"},
                          {"SDIP7CODFIS": "BNCLRA90B41G478Z", "SDIP7COGNOME": "BIANCHI", "SDIP7GRUPPOANA": "D"}]})");
    TdmElhStampe stampe(store());
    TfmElhPdfDip window(store(), stampe);
    ASSERT_TRUE(showActive(&window));
    const QString file = window.frOutput->fullFileName();
    QFile::remove(file);
    cancelProgressAt(&window, 2);
    window.frOutput->buCreatePdf->click();
    EXPECT_EQ(messages().texts(), QStringList{u"Stampa interrotta dall'utente: il file non è stato creato."_s});
    EXPECT_FALSE(QFile::exists(file));
    EXPECT_TRUE(window.frOutput->meOut->toPlainText().isEmpty());
    EXPECT_FALSE(window.frOutput->buOpenPdf->isEnabled());
}

ELH_INSTANTIATE_ON_BOTH_ENGINES(PrintWindows);
