#include "DataPaths.h"
#include "DesktopTest.h"
#include "NrApplication.h"
#include "QtPrinters.h"

#include <QDir>
#include <QFileInfo>
#include <QMdiArea>

using namespace Qt::Literals::StringLiterals;

namespace {

const QString kCloseWindows = u"Chiudere tutte le finestre prima di eseguire l'operazione."_s;

QString notAvailable(const QString &caption)
{
    return u"La finestra «%1» non è ancora disponibile in questa versione del programma."_s.arg(caption);
}

class Commands : public DesktopTest
{
protected:
    void SetUpOpened() override
    {
        DesktopTest::SetUpOpened();
        loadDemo();
        start();
        messages().clear();
    }

    // Runs a command as the bar does.
    void run(const QString &command)
    {
        TNrAttCommand *c = commands().command(command);
        ASSERT_NE(c, nullptr);
        NrRunGuarded([c] { c->Execute(); });
    }
};

} // namespace

TEST_P(Commands, PrintsAndImportsRefuseWhileAChildWindowIsOpen)
{
    run(u"xafSostituto"_s);
    ASSERT_EQ(main().childForms().size(), 1);
    for (const QString &command : {u"xafStpFront"_s, u"axfST"_s, u"axfSS"_s, u"xafImpF24"_s}) {
        messages().clear();
        run(command);
        EXPECT_EQ(messages().texts(), QStringList{kCloseWindows}) << command.toStdString();
        EXPECT_EQ(messages().messages().first().type, MsgDlgType::Warning);
        EXPECT_EQ(main().childForms().size(), 1);
    }
    messages().clear();
    run(u"xafImpAuton"_s);
    EXPECT_EQ(messages().texts(), QStringList{kCloseWindows});
    EXPECT_EQ(messages().messages().first().type, MsgDlgType::Information);

    main().mdiArea()->closeAllSubWindows();
    ASSERT_TRUE(main().childForms().isEmpty());
    messages().clear();
    // With no window open they run; their windows come with the prints and imports.
    run(u"xafStpFront"_s);
    run(u"xafImpF24"_s);
    run(u"xafImpAuton"_s);
    EXPECT_EQ(messages().texts(), (QStringList{notAvailable(u"Frontespizio"_s), notAvailable(u"F24EP"_s),
                                               notAvailable(u"Imp. Autonomi"_s)}));
}

TEST_P(Commands, AFrontispieceWindowOpensOnceAndTheOthersBesideIt)
{
    run(u"xafSostituto"_s);
    run(u"xafSostituto"_s);
    run(u"xafFornitore"_s);
    run(u"xafSosEstinto"_s);
    ASSERT_EQ(main().childForms().size(), 3);
    EXPECT_EQ(main().childForms()[0]->windowTitle(), u"Dati Sostituto"_s);
    EXPECT_EQ(main().childForms()[1]->windowTitle(), u"Dati Fornitore"_s);
    EXPECT_EQ(main().childForms()[2]->windowTitle(), u"Sostituto estinto"_s);
    EXPECT_TRUE(messages().messages().isEmpty());
}

TEST_P(Commands, TheF24ImportIsCalledF24WhenTheAccountingDoesNotUseF24EP)
{
    EXPECT_EQ(commands().xafImpF24->Caption, u"F24EP"_s);
    exec(u"UPDATE TPACO_PARCONTABILI SET IPACOF24EP = 0"_s);
    start();
    EXPECT_EQ(commands().xafImpF24->Caption, u"F24"_s);
}

TEST_P(Commands, CancellingTheFolderOfAnIntegrationOpensNothing)
{
    run(u"xafIntSosDip"_s);
    EXPECT_EQ(folders.captions.size(), 1);
    EXPECT_TRUE(messages().messages().isEmpty());
    EXPECT_TRUE(main().childForms().isEmpty());
    folders.folders = {installation().root()};
    run(u"xafIntSosAut"_s);
    EXPECT_EQ(messages().texts(), QStringList{notAvailable(u"Integra Aut."_s)});
}

TEST_P(Commands, TheExportWritesEveryTableIntoTheChosenFolder)
{
    run(u"xacExportCDS"_s);
    EXPECT_TRUE(messages().messages().isEmpty());

    const QString folder = installation().root() + u"esportazione"_s;
    folders.folders = {folder};
    run(u"xacExportCDS"_s);
    EXPECT_EQ(messages().texts(), QStringList{u"Fine operazione"_s});
    EXPECT_TRUE(QFileInfo::exists(folder + u"/TSOS_DATOSOSTITUTO.cds"_s));
    EXPECT_TRUE(QFileInfo::exists(folder + u"/TPST_PROSPETTOST.cds"_s));
    EXPECT_FALSE(QFileInfo::exists(folder + u"/TCUS_DATISOST.cds"_s)) << "a table of the payroll module was exported";
}

TEST_P(Commands, ASummaryReportIsWrittenIntoThePrintsFolderAndOpened)
{
    run(u"xafRiepilogoINPS"_s);
    EXPECT_EQ(messages().texts(), QStringList{u"Non ci sono dipendenti disponibili per il riepilogo."_s});
    EXPECT_TRUE(shell.calls.isEmpty());

    write(u"TDIP7_ANAGRFISCALI"_s,
          R"({"records": [{"SDIP7CODFIS": "RSSMRA80A01G478X", "SDIP7COGNOME": "ROSSI", "SDIP7NOME": "MARIA"}]})");
    write(u"TINPS7_INPS"_s, R"({"records": [{"SDIP7CODFIS": "RSSMRA80A01G478X", "fINPS7Imponibile": "25000"}]})");
    messages().clear();
    run(u"xafRiepilogoINPS"_s);
    const QString report = DataPaths::fromRoot(u"USR\\FL2023\\Stp\\RiepilogoINPS.pdf"_s);
    EXPECT_TRUE(QFileInfo::exists(report)) << report.toStdString();
    EXPECT_TRUE(messages().messages().isEmpty()) << messages().texts().join(u'\n').toStdString();
    EXPECT_EQ(shell.calls.value(1), u"file "_s + report);
}

ELH_INSTANTIATE_ON_BOTH_ENGINES(Commands);
