#include "ClientDataSet.h"
#include "DataPaths.h"
#include "DesktopTest.h"
#include "QtPrinters.h"
#include "TNrDBEdit.h"
#include "TNrOutlookBar.h"
#include "checks/InfoList.h"
#include "entry/TfrElfBase.h"

#include <QAction>
#include <QApplication>
#include <QDir>
#include <QFile>
#include <QMdiArea>
#include <QMenu>
#include <QMenuBar>
#include <QTest>
#include <QToolButton>

using namespace Qt::Literals::StringLiterals;

namespace {

class MainWindow : public DesktopTest
{
};

QStringList menuTitles(const QMenuBar *bar)
{
    QStringList titles;
    for (const QAction *a : bar->actions())
        titles.append(a->text());
    return titles;
}

QStringList visibleItems(const QMenu *menu)
{
    QStringList items;
    for (const QAction *a : menu->actions()) {
        if (a->isVisible() && !a->isSeparator())
            items.append(a->text());
    }
    return items;
}

} // namespace

TEST_P(MainWindow, TheFirstStartOfTheYearPreparesTheDataAndTellsWhatItImportedOnce)
{
    loadDemo();
    start();
    EXPECT_EQ(main().windowTitle(), u"Modello 770/2024 Redditi 2023"_s);
    EXPECT_EQ(QApplication::applicationDisplayName(), u"Modello 770/2024 Redditi 2023"_s);
    EXPECT_EQ(main().statusText(), u"  Provvedimento dell'Agenzia delle Entrate del 26 febbraio 2024 (Pubblicato il "
                                   u"26/02/2024) e successive modifiche."_s);
    EXPECT_EQ(messages().texts(), QStringList{kCopiedFromLastYear});
    EXPECT_EQ(read(u"TSOS_DATOSOSTITUTO"_s)->fieldByName(u"SSOSCODFIS"_s).asString(), u"80012345676"_s);
    EXPECT_TRUE(QFile::exists(DataPaths::fromRoot(u"USR\\FLDati\\FL2023\\TFIFI_FIELDSFILE.CDS"_s)));
    EXPECT_TRUE(QFile::exists(DataPaths::fromRoot(u"USR\\FLDati\\FL2023\\TFILE_FILETELEM.CDS"_s)));
    EXPECT_EQ(QApplication::overrideCursor(), nullptr);

    messages().clear();
    start();
    EXPECT_TRUE(messages().messages().isEmpty());
}

TEST_P(MainWindow, TheBarAndTheMenusShowThePagesOfTheReturn)
{
    loadDemo();
    start();
    const TNrOutlookBar *bar = main().outlookBar();
    QStringList pages;
    for (int i = 0; i < bar->count(); ++i)
        pages.append(bar->itemText(i));
    EXPECT_EQ(pages, (QStringList{u"Frontespizio"_s, u"Import"_s, u"Prospetti"_s, u"File telematico"_s, u"Tabelle"_s,
                                  u"Stampe"_s}));
    EXPECT_EQ(bar->currentIndex(), 0);
    EXPECT_EQ(bar->entryCaptions(0), (QStringList{u"Sostituto"_s, u"Fornitore"_s}));
    EXPECT_EQ(bar->entryCaptions(1), QStringList{u"F24EP"_s});
    EXPECT_EQ(bar->entryCaptions(2), (QStringList{u"Prospetto DI"_s, u"Prospetto ST"_s, u"Prospetto SV"_s,
                                                  u"Prospetto SX"_s, u"Prospetto SY"_s}));
    EXPECT_EQ(bar->entryCaptions(3), QStringList{u"File Telematico"_s});
    EXPECT_EQ(bar->entryCaptions(4), QStringList{u"Sostituto Estinto"_s});
    EXPECT_EQ(bar->entryCaptions(5),
              (QStringList{u"Frontespizio"_s, u"Prospetto DI"_s, u"Prospetto SS"_s, u"Prospetto ST"_s,
                           u"Prospetto SV"_s, u"Prospetto SX"_s, u"Prospetto SY"_s}));
    EXPECT_EQ(menuTitles(main().menuBar()), (QStringList{u"&File"_s, u"Frontespizio"_s, u"Import"_s, u"Prospetti"_s,
                                                         u"File telematico"_s, u"Tabelle"_s, u"Stampe"_s, u"&?"_s}));
    EXPECT_EQ(visibleItems(main().miFile), (QStringList{u"Vedi Strumenti"_s, u"&Esci"_s}));
    EXPECT_EQ(visibleItems(main().miHelp), (QStringList{u"Note invio telematico"_s, u"Istruzioni"_s, u"&Guida"_s}));
    EXPECT_FALSE(main().acReportMan->isEnabled());

    // "Vedi Strumenti" shows the page of the tools, and hides it again.
    main().acVediStrumenti->trigger();
    ASSERT_EQ(bar->count(), 7);
    EXPECT_EQ(bar->itemText(6), u"Strumenti"_s);
    EXPECT_EQ(bar->entryCaptions(6), (QStringList{u"Esporta dati "_s, u"Integra Dip"_s, u"Integra Aut."_s,
                                                  u"Imp. Autonomi"_s, u"Imp. Anagrafe Autonomi"_s}));
    main().acVediStrumenti->trigger();
    EXPECT_EQ(bar->count(), 6);
}

TEST_P(MainWindow, TheNewsOpenAtTheFirstStartAfterAnUpdateAndTheirMarkerGoes)
{
    loadDemo();
    const QString folder = installation().root() + u"USR/FL2023/Res/NoteAgg/"_s;
    QDir().mkpath(folder);
    QFile(folder + u"News.pdf"_s).open(QIODevice::WriteOnly);
    QFile(folder + u"Check.txt"_s).open(QIODevice::WriteOnly);
    start();
    ASSERT_TRUE(QTest::qWaitFor([this] { return !shell.calls.isEmpty(); }));
    EXPECT_EQ(shell.calls, QStringList{u"file "_s + QDir::cleanPath(folder + u"News.pdf"_s)});
    EXPECT_FALSE(QFile::exists(folder + u"Check.txt"_s));

    shell.calls.clear();
    start();
    QTest::qWait(50);
    EXPECT_TRUE(shell.calls.isEmpty());
}

TEST_P(MainWindow, TheHelpMenuOpensTheInstructionsAndSaysWhenOneIsMissing)
{
    loadDemo();
    const QString notes = installation().root() + u"USR/FL2023/Res/NoteAgg/"_s;
    QDir().mkpath(notes);
    QFile(notes + u"Entratel.pdf"_s).open(QIODevice::WriteOnly);
    start();
    messages().clear();
    main().miInvioTele->trigger();
    ASSERT_EQ(shell.calls.size(), 1);
    EXPECT_TRUE(shell.calls.first().endsWith(u"Entratel.pdf"_s));
    main().acIstruzioni->trigger();
    EXPECT_EQ(shell.calls.size(), 1);
    ASSERT_EQ(messages().messages().size(), 1);
    EXPECT_TRUE(messages().texts().first().startsWith(u"Impossibile aprire «Istruzioni 770 semplificato»"_s));
}

TEST_P(MainWindow, AChildWindowBeingEditedKeepsTheProgramOpen)
{
    loadDemo();
    start();
    commands().command(u"xafSosEstinto"_s)->Execute();
    ASSERT_EQ(main().childForms().size(), 1);
    auto *frame = main().childForms().first()->findChild<TfrElfBase *>();
    ASSERT_NE(frame, nullptr);
    frame->acInsert->trigger();
    messages().clear();
    EXPECT_FALSE(main().close());
    EXPECT_EQ(messages().texts(),
              QStringList{u"Non è possibile chiudere la finestra prima di aver salvato le modifiche"_s});
    frame->acCancel->trigger();
    EXPECT_TRUE(main().close());
    EXPECT_EQ(main().store(), nullptr);
}

ELH_INSTANTIATE_ON_BOTH_ENGINES(MainWindow);

TEST_P(MainWindow, AnAgentConfirmedInItsWindowIsThereAgainAfterARestart)
{
    // The user answers "Si" to the check of the data.
    struct GoOn : InfoList::Service
    {
        GoOn() { InfoList::setService(this); }
        ~GoOn() override { InfoList::setService(nullptr); }
        bool ask(const QStringList &) override { return true; }
        void show(const QStringList &) override {}
    } goOn;
    loadDemo();
    start();
    QTest::mouseClick(main().outlookBar()->entry(u"Frontespizio"_s, u"Sostituto"_s), Qt::LeftButton);
    ASSERT_EQ(main().childForms().size(), 1);
    auto *frame = main().childForms().first()->findChild<TfrElfBase *>();
    frame->acEdit->trigger();
    TNrDBEdit *phone = nullptr;
    for (TNrDBEdit *e : frame->findChildren<TNrDBEdit *>()) {
        if (e->dataField() == u"SSOSTEL")
            phone = e;
    }
    ASSERT_NE(phone, nullptr);
    main().activateWindow();
    ASSERT_TRUE(QTest::qWaitForWindowActive(&main()));
    phone->setFocus();
    phone->selectAll();
    QTest::keyClicks(phone, u"0742999888"_s);
    QTest::keyClick(phone, Qt::Key_Return, Qt::ControlModifier);
    EXPECT_EQ(frame->cdsMain.state(), DataSetState::Browse);

    start();
    commands().command(u"xafSostituto"_s)->Execute();
    ASSERT_EQ(main().childForms().size(), 1);
    frame = main().childForms().first()->findChild<TfrElfBase *>();
    EXPECT_EQ(frame->cdsMain.fieldByName(u"SSOSTEL"_s).asString(), u"0742999888"_s);
}
