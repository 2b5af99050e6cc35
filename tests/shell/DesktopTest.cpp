#include "ClientDataSet.h"
#include "DataPaths.h"
#include "Decimal.h"
#include "EntryTestSupport.h"
#include "GuiMessages.h"
#include "NrApplication.h"
#include "PageList.h"
#include "PdfReadBack.h"
#include "QtPrinters.h"
#include "QuadraturaExport.h"
#include "QuadraturaFindings.h"
#include "RecordingShell.h"
#include "ReturnDatabaseTest.h"
#include "ScriptedFolders.h"
#include "ScriptedInfoList.h"
#include "SectionTabs.h"
#include "TNrDBEdit.h"
#include "TNrDBGrid.h"
#include "TNrOutlookBar.h"
#include "TdmElhAttivazioni.h"
#include "TfmElhDipendente.h"
#include "TfmElhFile.h"
#include "TfmElhImp770ap.h"
#include "TfmElhImpMultiSelect.h"
#include "TfmElhImportF24.h"
#include "TfmElhIntSos.h"
#include "TfmElhMain.h"
#include "TfmElhProspST2009.h"
#include "TfmElhQuadratura.h"
#include "TfmElhprospSY.h"
#include "TfrElHMulti.h"
#include "TfrElfBase.h"
#include "TfrElhAnagrafe.h"
#include "TfrElhDipAnagr.h"
#include "TfrElhProspST.h"
#include "TfrElhProspSY_sez_due.h"

#include <QAction>
#include <QApplication>
#include <QCheckBox>
#include <QComboBox>
#include <QDialog>
#include <QDir>
#include <QFile>
#include <QFileDialog>
#include <QFileInfo>
#include <QItemSelectionModel>
#include <QLabel>
#include <QLineEdit>
#include <QMdiArea>
#include <QMdiSubWindow>
#include <QMenu>
#include <QMenuBar>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QScreen>
#include <QScrollArea>
#include <QScrollBar>
#include <QStatusBar>
#include <QTabBar>
#include <QTabWidget>
#include <QTableView>
#include <QTest>
#include <QTimer>
#include <QToolButton>

#include <algorithm>
#include <functional>
#include <memory>
#include <type_traits>

using namespace Qt::Literals::StringLiterals;
using namespace EntryTest;

namespace {

// The desktop program started on a school database of the return: its
// command table and main window, shown until the bar is filled, with the
// documents it opens recorded and the folders it asks for scripted.
class MainWindow : public ReturnDatabaseTest
{
protected:
    void TearDown() override
    {
        stop();
        ReturnDatabaseTest::TearDown();
    }

    // Starts (or starts again) the main window.
    void start()
    {
        stop();
        m_commands = std::make_unique<TdmElhAttivazioni>();
        m_main = std::make_unique<TfmElhMain>(connection(), params(), *m_commands);
        m_main->show();
        ASSERT_TRUE(QTest::qWaitFor([this] { return m_main->outlookBar()->count() > 0; }));
    }

    void stop()
    {
        if (m_main)
            m_main->close();
        m_main.reset();
        m_commands.reset();
    }

    TfmElhMain &main() { return *m_main; }
    TdmElhAttivazioni &commands() { return *m_commands; }
    // Handles the dialog a command opens (the F24EP import unless told).
    template<class Dialog = TfmElhImportF24>
    static void onNextDialog(std::type_identity_t<std::function<void(Dialog *)>> handle)
    {
        QTimer::singleShot(0, [handle = std::move(handle)] {
            auto *dialog = qobject_cast<Dialog *>(QApplication::activeModalWidget());
            ASSERT_NE(dialog, nullptr);
            handle(dialog);
        });
    }
    RecordingShell shell;
    ScriptedFolders folders;

private:
    std::unique_ptr<TdmElhAttivazioni> m_commands;
    std::unique_ptr<TfmElhMain> m_main;
};

// Shows every page of the page controls within `widget`, those within a
// page once it is shown, and runs `check` on each with its caption.
void showEveryPage(QWidget *widget, const std::function<void(const QString &page)> &check)
{
    for (QTabWidget *pages : widget->findChildren<QTabWidget *>()) {
        QWidget *above = pages->parentWidget();
        while (above != widget && !qobject_cast<QTabWidget *>(above))
            above = above->parentWidget();
        if (above != widget)
            continue;
        for (int page = 0; page < pages->count(); ++page) {
            pages->setCurrentIndex(page);
            QApplication::processEvents();
            check(pages->tabText(page));
            showEveryPage(pages->widget(page), check);
        }
    }
}

const QString kCloseWindows = u"Chiudere tutte le finestre prima di eseguire l'operazione."_s;

class Commands : public MainWindow
{
protected:
    void SetUpOpened() override
    {
        MainWindow::SetUpOpened();
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

TEST_P(Commands, TheF24DialogImportsTheProspettiCheckedAndIsCalledF24WhenTheReturnsYearDoesNotUseF24EP)
{
    EXPECT_EQ(commands().xafImpF24->Caption, u"F24EP"_s);
    const int regional = read(u"TPST2_PROSPETTOSTS2"_s)->recordCount();
    bool noneEnabled = true;
    onNextDialog([&noneEnabled](TfmElhImportF24 *dialog) {
        EXPECT_EQ(dialog->windowTitle(), u"Importa da F24EP"_s);
        for (QCheckBox *box : {dialog->ckSTI, dialog->ckSTII, dialog->ckSV}) {
            EXPECT_TRUE(box->isChecked());
            box->setChecked(false);
        }
        noneEnabled = dialog->acImport->isEnabled() || dialog->buImport->isEnabled();
        dialog->ckSV->setChecked(true);
        dialog->buImport->click();
    });
    run(u"xafImpF24"_s);
    EXPECT_FALSE(noneEnabled) << "Importa was enabled with no box checked";
    ASSERT_EQ(messages().texts(), QStringList{u"\nPROSPETTO SV Addizionali comunali\n - Importati 20 righi\n"_s});
    EXPECT_EQ(messages().messages().first().type, MsgDlgType::Warning);
    EXPECT_EQ(read(u"TPST2_PROSPETTOSTS2"_s)->recordCount(), regional);
    EXPECT_EQ(QApplication::overrideCursor(), nullptr);

    // An office working in another financial year: the return's year decides.
    params().setValue(QString::fromUtf16(TdmNruParams::kAnfId), 2022);
    exec(u"UPDATE TPACO_PARCONTABILI SET IPACOF24EP = 0 WHERE IANFID = 2022"_s);
    start();
    EXPECT_EQ(commands().xafImpF24->Caption, u"F24EP"_s);
    exec(u"UPDATE TPACO_PARCONTABILI SET IPACOF24EP = 0 WHERE IANFID = 2023"_s);
    start();
    EXPECT_EQ(commands().xafImpF24->Caption, u"F24"_s);
    QString title;
    onNextDialog([&title](TfmElhImportF24 *dialog) {
        title = dialog->windowTitle();
        dialog->reject();
    });
    run(u"xafImpF24"_s);
    EXPECT_EQ(title, u"Importa da F24"_s);
}

TEST_P(Commands, LastYearsRegistryIsImportedFromItsDialog)
{
    // The two boxes exclude each other and none checked means the
    // self-employed; a folder that is not there is told and the dialog stays
    // for another choice.
    bool stayed = false;
    folders.folders = {installation().root() + u"altrove"_s};
    onNextDialog<TfmElhImp770ap>([&stayed](TfmElhImp770ap *dialog) {
        dialog->ckAuton->setChecked(true);
        dialog->ckDipend->setChecked(true);
        EXPECT_FALSE(dialog->ckAuton->isChecked());
        dialog->ckDipend->setChecked(false);
        dialog->buCartella->click();
        EXPECT_TRUE(dialog->rbCartella->isChecked());
        dialog->buImporta->click();
        stayed = dialog->isVisible();
        dialog->rbArchivio->setChecked(true);
        dialog->buImporta->click();
    });
    run(u"xacStrImp770ap"_s);
    EXPECT_TRUE(stayed);
    ASSERT_EQ(messages().texts().size(), 2);
    EXPECT_EQ(messages().texts().first(), u"Il percorso selezionato non esiste\n\rScegliere un percorso valido"_s);
    EXPECT_EQ(QApplication::overrideCursor(), nullptr);
}

TEST_P(Commands, TheIntegrationDialogsBringThePickedPeopleOfAnExtinctSchool)
{
    // Cancelling the folder opens nothing; a folder without the files is told.
    run(u"xafIntSosDip"_s);
    EXPECT_EQ(folders.captions, QStringList{u"Cartella dei dati del sostituto estinto"_s});
    EXPECT_TRUE(messages().messages().isEmpty());
    folders.folders = {installation().root()};
    run(u"xafIntSosAut"_s);
    ASSERT_EQ(messages().texts().size(), 1);
    EXPECT_TRUE(messages().texts().first().contains(u"manca il file TDAU7_DATIAUTONOM.cds"_s))
        << messages().texts().first().toStdString();
    EXPECT_EQ(QApplication::activeModalWidget(), nullptr);

    // An extinct agent without his fiscal code: told on "Importa", the dialog stays.
    const QString folder = installation().root() + u"estinto"_s;
    exportExtinctSchool(folder, QString());
    folders.folders = {folder};
    messages().clear();
    const qsizetype agents = read(u"TSOE7_SOSESTINTO"_s)->recordCount();
    bool stayed = false;
    onNextDialog<TfmElhIntSosDip>([&stayed, &folder](TfmElhIntSosDip *dialog) {
        dialog->buImporta->click();
        stayed = dialog->isVisible() && dialog->buImporta->isEnabled()
                 && dialog->laStato->text().contains(QDir::toNativeSeparators(folder));
        dialog->reject();
    });
    run(u"xafIntSosDip"_s);
    EXPECT_TRUE(stayed);
    EXPECT_EQ(messages().texts(), QStringList{TdmElhImport::kExtinctAgentCode});
    EXPECT_EQ(read(u"TSOE7_SOSESTINTO"_s)->recordCount(), agents);

    // One person picked in each dialog joins the return.
    exportExtinctSchool(folder, u"80009870546"_s);
    QStringList listed;
    const auto integrate = [&](TfmElhIntSos *dialog, const QString &code) {
        ClientDataSet &people = dialog->frElhMulti1->cdsMain;
        for (people.first(); !people.eof(); people.next())
            listed.append(people.fieldByName(u"COGNOME"_s).asString());
        ASSERT_TRUE(people.locate(u"CODFIS"_s, code));
        TNrDBGrid *grid = dialog->frElhMulti1->grFrame;
        grid->selectionModel()->select(grid->model()->index(people.recNo() - 1, 0),
                                       QItemSelectionModel::Select | QItemSelectionModel::Rows);
        dialog->buImporta->click();
    };
    folders.folders = {folder, folder};
    messages().clear();
    ScriptedInfoList lists;
    lists.answer = true;
    onNextDialog<TfmElhIntSosDip>([&](TfmElhIntSosDip *dialog) { integrate(dialog, u"MRNLGU80A01D653X"_s); });
    run(u"xafIntSosDip"_s);
    onNextDialog<TfmElhIntSosAut>([&](TfmElhIntSosAut *dialog) { integrate(dialog, u"BRNNNA70A41D653Y"_s); });
    run(u"xafIntSosAut"_s);
    EXPECT_EQ(listed, (QStringList{u"MARINI"_s, u"RUSSO"_s, u"ROSSI"_s, u"BRUNI"_s, u"GALLI"_s}));
    // The log, one line a row of the list.
    ASSERT_EQ(lists.shown.size(), 2);
    EXPECT_EQ(lists.shown.at(0).mid(0, 2), (QStringList{u"Dipendente MARINI LUIGI"_s, u"Dipendente aggiunto"_s}));
    EXPECT_EQ(lists.shown.at(1).mid(0, 2), (QStringList{u"Dipendente BRUNI ANNA"_s, u"Autonomo aggiunto"_s}));
    EXPECT_EQ(messages().texts().value(1), u"Fine operazione"_s);
    EXPECT_EQ(QApplication::overrideCursor(), nullptr);
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
}

TEST_P(Commands, ASummaryReportIsWrittenIntoThePrintsFolderAndOpened)
{
    write(u"TDIP7_ANAGRFISCALI"_s,
          R"({"records": [{"SDIP7CODFIS": "RSSMRA80A01G478X", "SDIP7COGNOME": "ROSSI", "SDIP7NOME": "MARIA"}]})");
    write(u"TINPS7_INPS"_s, R"({"records": [{"SDIP7CODFIS": "RSSMRA80A01G478X", "fINPS7Imponibile": "25000"}]})");
    run(u"xafRiepilogoINPS"_s);
    const QString report = DataPaths::fromRoot(u"USR\\FL2023\\Stp\\RiepilogoINPS.pdf"_s);
    EXPECT_TRUE(QFileInfo::exists(report)) << report.toStdString();
    EXPECT_TRUE(messages().messages().isEmpty()) << messages().texts().join(u'\n').toStdString();
    EXPECT_EQ(shell.calls.value(1), u"file "_s + report);
}

TEST_P(Commands, EveryCommandOpensItsWindowAndPrintsAndImportsRefuseWhileAChildWindowIsOpen)
{
    // With no window open the imports open their dialogs.
    const std::pair<const char16_t *, const char *> dialogs[] = {{u"xafImpF24", "TfmElhImportF24"},
                                                                 {u"xacStrImp770ap", "TfmElhImp770ap"},
                                                                 {u"xafImpAuton", "TfmElhImpMultiSelect"}};
    for (const auto &[command, dialog] : dialogs) {
        QString opened;
        onNextDialog<QDialog>([&opened](QDialog *modal) {
            opened = QString::fromLatin1(modal->metaObject()->className());
            modal->reject();
        });
        run(QString::fromUtf16(command));
        EXPECT_EQ(opened, QString::fromLatin1(dialog));
    }
    // The command of SY names its window with another case than the window's own name;
    // the employees and the self-employed are reached from the page Strumenti.
    const std::pair<const char16_t *, const char16_t *> windows[] = {{u"xafDI", u"Prospetto DI"},
                                                                     {u"xafSt", u"Prospetto ST"},
                                                                     {u"xafSv", u"Prospetto SV"},
                                                                     {u"xafSX", u"Prospetto SX"},
                                                                     {u"xafSY", u"Prospetto SY"},
                                                                     {u"xafSs", u"Prospetto SS"},
                                                                     {u"xacStrDipendente", u"Lavoro Dipendente"},
                                                                     {u"xacStrAutonomo", u"Lavoro Autonomo"}};
    for (const auto &[command, title] : windows) {
        run(QString::fromUtf16(command));
        ASSERT_FALSE(main().childForms().isEmpty()) << messages().texts().join(u'\n').toStdString();
        EXPECT_EQ(main().childForms().constLast()->windowTitle(), QString::fromUtf16(title));
    }
    EXPECT_TRUE(messages().messages().isEmpty()) << messages().texts().join(u'\n').toStdString();
    // A second run brings the open window to the front.
    run(u"xafSY"_s);
    ASSERT_EQ(main().childForms().size(), 8);

    for (const QString &command : {u"xafStpFront"_s, u"axfST"_s, u"axfSS"_s, u"xafImpF24"_s, u"xacStrStpDip"_s,
                                   u"xacStrImp770ap"_s, u"xafIntSosDip"_s, u"xafIntSosAut"_s, u"xafImpAuton"_s}) {
        messages().clear();
        run(command);
        EXPECT_EQ(messages().texts(), QStringList{kCloseWindows}) << command.toStdString();
        EXPECT_EQ(messages().messages().first().type,
                  command == u"xafImpAuton" ? MsgDlgType::Information : MsgDlgType::Warning);
        EXPECT_EQ(main().childForms().size(), 8);
    }
    EXPECT_TRUE(folders.captions.isEmpty()) << "an integration asked for its folder";
}

TEST_P(Commands, QuadraturaShowsALateSTPaymentNarrowsByLevelOpensTheRowInTheSTEditorPrintsAndExports)
{
    // The school's September IRPEF paid on 20/11/2023, 35 days after the
    // 16/10/2023 it was due, with no ravvedimento.
    const QString table = u"TPST_PROSPETTOST"_s;
    const QDate paidOn(2023, 11, 20);
    ClientDataSet rows;
    store().open(rows, table);
    ASSERT_TRUE(rows.locate(u"SPSTMESE;SPSTCODTRIBUTO"_s, {u"09"_s, u"100E"_s}));
    const QString id = rows.fieldByName(u"IFISRIGO"_s).asString();
    rows.edit();
    rows.fieldByName(u"DPSTDTVERS"_s).setAsDate(paidOn);
    rows.fieldByName(u"LPSTRAVVEDIMENTO"_s).setAsString(u"0"_s);
    rows.post();
    store().save(rows, table);

    run(u"xafQuadratura"_s);
    auto *window = qobject_cast<TfmElhQuadratura *>(main().findChildForm(u"TfmElhQuadratura"_s));
    ASSERT_NE(window, nullptr) << messages().texts().join(u'\n').toStdString();
    EXPECT_TRUE(messages().messages().isEmpty()) << messages().texts().join(u'\n').toStdString();
    QAbstractItemModel &grid = *window->grRilievi->model();
    const auto text = [&grid](int row, int column) { return grid.index(row, column).data().toString(); };
    const auto lateRow = [&] {
        for (int row = 0; row < grid.rowCount(); ++row) {
            if (text(row, QuadraturaFindingsModel::kPeriod) == u"09/2023"
                && text(row, QuadraturaFindingsModel::kTaxCode) == u"100E"
                && text(row, QuadraturaFindingsModel::kDaysLate) == u"35")
                return row;
        }
        return -1;
    };
    const int late = lateRow();
    ASSERT_GE(late, 0);
    EXPECT_EQ(text(late, QuadraturaFindingsModel::kLevel), u"Errore"_s);
    EXPECT_EQ(text(late, QuadraturaFindingsModel::kArea), u"ST I"_s);

    // Each level shows its findings only, the late payment among the errors.
    const int all = grid.rowCount();
    int filtered = 0;
    for (int level = 1; level < window->cbLivello->count(); ++level) {
        window->cbLivello->setCurrentIndex(level);
        for (int row = 0; row < grid.rowCount(); ++row)
            EXPECT_EQ(text(row, QuadraturaFindingsModel::kLevel), window->cbLivello->currentText());
        filtered += grid.rowCount();
        EXPECT_EQ(lateRow() >= 0, window->cbLivello->currentText() == u"Errore") << level;
    }
    EXPECT_EQ(filtered, all);

    // The differences sort as amounts, not as text ("240,00" before "1.620,45").
    window->cbLivello->setCurrentIndex(0);
    window->grRilievi->sortByColumn(QuadraturaFindingsModel::kDifference, Qt::AscendingOrder);
    QList<Decimal> differences;
    for (int row = 0; row < grid.rowCount(); ++row) {
        if (const auto amount = Decimal::parse(text(row, QuadraturaFindingsModel::kDifference)))
            differences.append(*amount);
    }
    EXPECT_GT(differences.size(), 2);
    EXPECT_TRUE(std::is_sorted(differences.cbegin(), differences.cend()));

    window->cbLivello->setCurrentIndex(1);
    ASSERT_LT(grid.rowCount(), all);

    // A double-click on it opens the ST editor, section I, on that row.
    const QModelIndex finding = grid.index(lateRow(), QuadraturaFindingsModel::kText);
    window->grRilievi->scrollTo(finding);
    ASSERT_TRUE(QTest::qWaitFor([&] {
        return window->grRilievi->viewport()->rect().contains(window->grRilievi->visualRect(finding).center());
    }));
    // The click and then the second press that makes it a double-click.
    const QPoint at = window->grRilievi->visualRect(finding).center();
    QTest::mouseClick(window->grRilievi->viewport(), Qt::LeftButton, {}, at);
    QTest::mouseDClick(window->grRilievi->viewport(), Qt::LeftButton, {}, at);
    auto *st = qobject_cast<TfmElhProspST2009 *>(main().findChildForm(u"TfmElhProspST2009"_s));
    ASSERT_NE(st, nullptr) << messages().texts().join(u'\n').toStdString();
    EXPECT_EQ(st->pcST->currentWidget(), st->frErario);
    const ClientDataSet &shown = st->frErario->cdsMain;
    EXPECT_EQ(shown.fieldByName(u"IFISRIGO"_s).asString(), id);
    EXPECT_EQ(shown.fieldByName(u"DPSTDTVERS"_s).asDate(), paidOn);

    // "Stampa" writes the report into its file and opens it; "Esporta CSV"
    // writes the findings into the file chosen.
    const QString print = quadraturaPrintFile();
    QFile::remove(print);
    window->buStampa->click();
    EXPECT_EQ(shell.calls, QStringList{u"file "_s + print});
    EXPECT_FALSE(PdfReadBack::read(print).isEmpty());
    const QString csv = installation().root() + u"quadratura.csv"_s;
    onNextDialog<QFileDialog>([&csv](QFileDialog *dialog) {
        dialog->selectFile(csv);
        static_cast<QDialog *>(dialog)->accept();
    });
    window->buEsportaCsv->click();
    QFile exported(csv);
    ASSERT_TRUE(exported.open(QIODevice::ReadOnly));
    EXPECT_TRUE(QString::fromUtf8(exported.readAll()).contains(u"35 giorni dopo la scadenza del 16/10/2023"_s));
    EXPECT_TRUE(messages().messages().isEmpty()) << messages().texts().join(u'\n').toStdString();
}

TEST_P(Commands, TheRowOrThePersonOfAFindingOpensInItsWindow)
{
    // The last row each Prospetto loads, on the page of its section.
    const std::pair<QuadraturaArea, const char16_t *> prospetti[] = {{QuadraturaArea::StI, u"TPST_PROSPETTOST"},
                                                                     {QuadraturaArea::StII, u"TPST2_PROSPETTOSTS2"},
                                                                     {QuadraturaArea::Sv, u"TPSV_PROSPETTOSV"}};
    for (const auto &[area, name] : prospetti) {
        const QString table = QString::fromUtf16(name);
        ClientDataSet rows;
        store().open(rows, table);
        rows.last();
        commands().showRow({area, rows.recNo() - 1});
        const QList<TfrElfBase *> frames = main().mdiArea()->activeSubWindow()->widget()->findChildren<TfrElfBase *>();
        const auto frame = std::find_if(frames.cbegin(), frames.cend(),
                                        [&table](const TfrElfBase *f) { return f->tableName() == table; });
        ASSERT_NE(frame, frames.cend()) << table.toStdString();
        EXPECT_TRUE((*frame)->isVisible()) << table.toStdString();
        EXPECT_EQ((*frame)->cdsMain.fieldByName(u"IFISRIGO"_s).asString(), rows.fieldByName(u"IFISRIGO"_s).asString())
            << table.toStdString();
    }
    // The last person each registry loads, in the window of his kind.
    for (const PersonTables::Kind kind : {PersonTables::Kind::Employee, PersonTables::Kind::SelfEmployed}) {
        const PersonTables::Registry &registry = PersonTables::registry(kind);
        ClientDataSet people;
        store().open(people, registry.table);
        people.last();
        const QString code = people.fieldByName(registry.codeField).asString();
        commands().showPerson({registry.table, code, {}});
        auto *frame = main().mdiArea()->activeSubWindow()->widget()->findChild<TfrElhAnagrafe *>();
        ASSERT_NE(frame, nullptr) << registry.table.toStdString();
        EXPECT_EQ(frame->tableName(), registry.table);
        EXPECT_EQ(frame->cdsMain.fieldByName(registry.codeField).asString(), code);
    }
    EXPECT_TRUE(messages().messages().isEmpty()) << messages().texts().join(u'\n').toStdString();
}

ELH_INSTANTIATE_ON_BOTH_ENGINES(Commands);

TEST_P(MainWindow, VediStrumentiShowsAndHidesThePageOfTheTools)
{
    loadDemo();
    start();
    const TNrOutlookBar *bar = main().outlookBar();
    EXPECT_EQ(bar->count(), 6);
    main().acVediStrumenti->trigger();
    ASSERT_EQ(bar->count(), 7);
    EXPECT_EQ(bar->itemText(6), u"Strumenti"_s);
    main().acVediStrumenti->trigger();
    EXPECT_EQ(bar->count(), 6);
}

// The help documents, installed as the build wrote them from their texts:
// the news open at the first start after an update, each item of the help
// menu hands its document to the desktop, and without a viewer or without
// the document the message says where it is.
TEST_P(MainWindow, TheHelpMenuOpensTheDocumentsTheBuildWroteAndSaysWhereTheyAre)
{
    const struct
    {
        QString text;
        QString document;
        QAction *TfmElhMain::*item;
    } help[] = {
        {u"novita.md"_s, u"USR/FL2023/Res/NoteAgg/News.pdf"_s, &TfmElhMain::acAid},
        {u"istruzioni.md"_s, u"USR/FL2023/Res/770_semplificato_istr.pdf"_s, &TfmElhMain::acIstruzioni},
        {u"entratel.md"_s, u"USR/FL2023/Res/NoteAgg/Entratel.pdf"_s, &TfmElhMain::miInvioTele},
    };
    loadDemo();
    for (const auto &row : help) {
        const QString title = QString::fromUtf8(readFile(QStringLiteral(ELH_SOURCE_DIR "/docs/aiuto/") + row.text))
                                  .section(u'\n', 0, 0)
                                  .mid(2);
        // Ligatures of the layout read back as their letters.
        const QString firstPage = PdfReadBack::text(installation().root() + row.document, 1);
        EXPECT_TRUE(firstPage.normalized(QString::NormalizationForm_KC).simplified().startsWith(title))
            << row.text.toStdString();
    }
    const QString marker = installation().root() + u"USR/FL2023/Res/NoteAgg/Check.txt"_s;
    QFile(marker).open(QIODevice::WriteOnly);
    start();
    ASSERT_TRUE(QTest::qWaitFor([this] { return !shell.calls.isEmpty(); }));
    EXPECT_EQ(shell.calls, QStringList{u"file "_s + QDir::cleanPath(installation().root() + help[0].document)});
    EXPECT_FALSE(QFile::exists(marker));
    shell.calls.clear();
    start();
    QTest::qWait(50);
    EXPECT_TRUE(shell.calls.isEmpty());

    for (const auto &row : help) {
        const QString path = QDir::cleanPath(installation().root() + row.document);
        for (const bool viewer : {true, false}) {
            shell.calls.clear();
            shell.answer = viewer;
            messages().clear();
            (main().*row.item)->trigger();
            EXPECT_EQ(shell.calls, QStringList{u"file "_s + path}) << row.text.toStdString();
            EXPECT_EQ(messages().texts().join(u' ').contains(QDir::toNativeSeparators(path)), !viewer)
                << row.text.toStdString();
        }
    }
    shell.calls.clear();
    messages().clear();
    QFile::remove(installation().root() + help[1].document);
    main().acIstruzioni->trigger();
    EXPECT_TRUE(shell.calls.isEmpty());
    EXPECT_EQ(messages().texts(), QStringList{u"Impossibile aprire «Istruzioni 770 semplificato»: il documento %1 non "
                                              u"esiste."_s.arg(QDir::toNativeSeparators(
                                                  QDir::cleanPath(installation().root() + help[1].document)))});
}

TEST_P(MainWindow, ChildWindowsCloseByCtrlF4CtrlWAndChiudiTutteButOneBeingEditedStaysAndKeepsTheProgramOpen)
{
    loadDemo();
    start();
    ASSERT_TRUE(QTest::qWaitForWindowActive(&main()));
    for (const QString &command : {u"xafSosEstinto"_s, u"xafSv"_s, u"xafSX"_s, u"xafDI"_s})
        commands().command(command)->Execute();
    for (const Qt::Key key : {Qt::Key_F4, Qt::Key_W}) {
        QWidget *active = main().mdiArea()->activeSubWindow()->widget();
        QTest::keyClick(active, key, Qt::ControlModifier);
        EXPECT_FALSE(main().childForms().contains(active)) << key;
    }
    EXPECT_EQ(main().childForms().size(), 2);

    auto *frame = main().childForms().first()->findChild<TfrElfBase *>();
    ASSERT_NE(frame, nullptr);
    frame->acInsert->trigger();
    messages().clear();
    main().acChiudiTutte->trigger();
    ASSERT_EQ(main().childForms().size(), 1);
    EXPECT_TRUE(main().childForms().first()->isAncestorOf(frame));
    EXPECT_FALSE(main().close());
    EXPECT_EQ(messages().texts(),
              QStringList(2, u"Non è possibile chiudere la finestra prima di aver salvato le modifiche"_s));
    EXPECT_EQ(messages().messages().first().type, MsgDlgType::Information);
    frame->acCancel->trigger();
    EXPECT_TRUE(main().close());
    EXPECT_EQ(main().store(), nullptr);
}

TEST_P(MainWindow, EveryMenuHasItsOwnAltLetterAndFinestraListsTheOpenWindowsAndBringsOneToTheFront)
{
    loadDemo();
    start();
    main().acVediStrumenti->trigger();
    QStringList letters;
    for (const QAction *menu : main().menuBar()->actions()) {
        const QKeySequence letter = QKeySequence::mnemonic(menu->text());
        EXPECT_FALSE(letter.isEmpty()) << menu->text().toStdString();
        EXPECT_FALSE(letters.contains(letter.toString())) << menu->text().toStdString();
        letters.append(letter.toString());
    }

    for (const QString &command : {u"xafSv"_s, u"xafSX"_s, u"xafDI"_s})
        commands().command(command)->Execute();
    const auto listed = [this] {
        emit main().miFinestra->aboutToShow();
        QStringList windows;
        for (const QAction *item : main().miFinestra->actions()) {
            if (item->isCheckable())
                windows.append(item->text() + (item->isChecked() ? u" *"_s : QString()));
        }
        return windows;
    };
    EXPECT_EQ(listed(), (QStringList{u"&1 Prospetto SV"_s, u"&2 Prospetto SX"_s, u"&3 Prospetto DI *"_s}));
    main().miFinestra->actions().at(main().miFinestra->actions().size() - 3)->trigger();
    EXPECT_EQ(listed(), (QStringList{u"&1 Prospetto SV *"_s, u"&2 Prospetto SX"_s, u"&3 Prospetto DI"_s}));

    // Maximised, the child's caption comes before the program's name, which
    // the title bar adds once.
    main().mdiArea()->activeSubWindow()->showMaximized();
    EXPECT_EQ(main().windowTitle(), u"Prospetto SV"_s);
    EXPECT_EQ(QApplication::applicationDisplayName(), u"Modello 770/2024 Redditi 2023"_s);
    main().mdiArea()->activeSubWindow()->showNormal();
    EXPECT_EQ(main().windowTitle(), QString());
}

TEST_P(MainWindow, TheMainWindowFitsItsScreenAndKeepsItsPlaceAndTheChildWindowsTheirSizesAcrossARestart)
{
    loadDemo();
    start();
    const QRect screen = main().screen()->availableGeometry();
    EXPECT_TRUE(screen.contains(main().frameGeometry())) << screen.width() << 'x' << screen.height();
    // A window opens whole where the area has room for it.
    const QSize area = main().mdiArea()->viewport()->size();
    for (const QString &command : {u"xafSv"_s, u"xafSt"_s, u"xacStrDipendente"_s}) {
        commands().command(command)->Execute();
        const QMdiSubWindow *sub = main().mdiArea()->activeSubWindow();
        const QSize frame = sub->size() - sub->widget()->size();
        const QSize whole = sub->widget()->sizeHint().boundedTo(area - frame);
        EXPECT_GE(sub->widget()->width(), whole.width()) << command.toStdString();
        EXPECT_GE(sub->widget()->height(), whole.height()) << command.toStdString();
        EXPECT_TRUE(QRect(QPoint(), area).contains(sub->geometry())) << command.toStdString();
    }
    main().mdiArea()->activeSubWindow()->resize(area / 2);
    const QRect placed(screen.topLeft() + QPoint(10, 20), main().size() - QSize(30, 20));
    main().setGeometry(placed);
    start();
    EXPECT_EQ(main().geometry(), placed);
    commands().command(u"xacStrDipendente"_s)->Execute();
    EXPECT_EQ(main().mdiArea()->activeSubWindow()->size(), area / 2);

    main().showMaximized();
    start();
    EXPECT_TRUE(main().isMaximized());
}

TEST_P(MainWindow, OnTheScreensOf1366And1920NoPageOfThePeopleWindowsScrollsSidewaysAndEverySectionThereAndInTheProspettiIsInSight)
{
    loadDemo();
    start();
    for (const QSize screen : {QSize(1366, 768), QSize(1920, 1080)}) {
        // The main window fills the screen but a title bar, its windows maximised.
        main().setGeometry(QRect(QPoint(0, 30), screen - QSize(0, 30)));
        for (const QString &command : {u"xafDipParteA"_s, u"xafAutonomo"_s}) {
            commands().command(command)->Execute();
            QMdiSubWindow *sub = main().mdiArea()->activeSubWindow();
            ASSERT_NE(sub, nullptr);
            sub->showMaximized();
            const std::string where = command.toStdString() + ' ' + std::to_string(screen.width());
            showEveryPage(sub->widget(), [&](const QString &page) {
                for (const QScrollArea *area : sub->widget()->findChildren<QScrollArea *>()) {
                    EXPECT_TRUE(!area->isVisible() || area->horizontalScrollBar()->maximum() == 0)
                        << where << ' ' << page.toStdString();
                }
            });
            if (const auto *employees = qobject_cast<TfmElhDipendente *>(sub->widget())) {
                const TfrElhDipAnagr *registry = employees->frDipAnagr;
                EXPECT_TRUE(registry->pcDip->tabBar()->isHidden());
                EXPECT_EQ(registry->lbPagine->count(), registry->pcDip->count());
                EXPECT_EQ(registry->lbPagine->verticalScrollBar()->maximum(), 0) << where;
            }
            main().mdiArea()->closeAllSubWindows();
        }
        // The Prospetti's sections are all in sight without scroll arrows.
        for (const QString &command : {u"xafSt"_s, u"xafSY"_s}) {
            commands().command(command)->Execute();
            QMdiSubWindow *sub = main().mdiArea()->activeSubWindow();
            ASSERT_NE(sub, nullptr);
            sub->showMaximized();
            const QTabBar *sections = sub->widget()->findChild<SectionTabs *>()->tabBar();
            EXPECT_LE(sections->sizeHint().width(), sections->width())
                << command.toStdString() << ' ' << screen.width();
            main().mdiArea()->closeAllSubWindows();
        }
    }
}

TEST_P(MainWindow, AtTheFirstStartAnSTPaymentAndAnSYRowTypedInTheirWindowsGoIntoTheFileAndTheSTPrint)
{
    ScriptedInfoList goOn;
    goOn.answer = true;
    // The first start of the year prepares the data and tells what it imported.
    loadDemo();
    start();
    EXPECT_EQ(messages().texts(), QStringList{kCopiedFromLastYear});
    EXPECT_EQ(QApplication::overrideCursor(), nullptr);
    messages().clear();
    const auto type = [](TfrElfBase &frame, const QString &field, const QString &text) {
        TNrDBEdit *edit = editOf(frame, field);
        typeInto(edit, text);
        return edit;
    };
    const auto confirm = [](TNrDBEdit *edit) { QTest::keyClick(edit, Qt::Key_Return, Qt::ControlModifier); };

    commands().command(u"xafSt"_s)->Execute();
    auto *st = qobject_cast<TfmElhProspST2009 *>(main().childForms().value(0));
    ASSERT_NE(st, nullptr);
    ASSERT_TRUE(QTest::qWaitForWindowActive(&main()));
    TfrElfBase &erario = *st->frErario;
    erario.acInsert->trigger();
    type(erario, u"SPSTMESE"_s, u"05"_s);
    type(erario, u"SPSTANNO"_s, u"2023"_s);
    type(erario, u"FPSTRITOPEARTE"_s, u"1234,56"_s);
    type(erario, u"FPSTIMPOVERSATO"_s, u"1234,56"_s);
    type(erario, u"SPSTCODTRIBUTO"_s, u"100e"_s);
    confirm(type(erario, u"DPSTDTVERS"_s, u"16062023"_s));
    EXPECT_EQ(erario.cdsMain.state(), DataSetState::Browse);
    EXPECT_EQ(main().statusBar()->currentMessage(), u"Dati salvati"_s);

    commands().command(u"xafSY"_s)->Execute();
    auto *sy = qobject_cast<TfmElhprospSY *>(main().childForms().value(1));
    ASSERT_NE(sy, nullptr);
    TfrElfBase &debtor = *sy->frSezioneI;
    debtor.acInsert->trigger();
    type(debtor, u"SPSY2CREPIGCF"_s, u"rssmra80a01h501u"_s);
    confirm(type(debtor, u"FPSYSOMERO1"_s, u"500"_s));
    EXPECT_EQ(debtor.cdsMain.state(), DataSetState::Browse);
    main().mdiArea()->closeAllSubWindows();
    EXPECT_TRUE(main().childForms().isEmpty());
    EXPECT_TRUE(messages().messages().isEmpty()) << messages().texts().join(u'\n').toStdString();

    // The wizard, its pages as they come, to "Salva" and the name proposed.
    QString memo;
    onNextDialog<TfmElhFile>([&memo, this](TfmElhFile *wizard) {
        while (wizard->currentId() != TfmElhFile::kPageCreaFile)
            wizard->next();
        wizard->buInizio->click();
        onNextDialog<QFileDialog>([](QFileDialog *dialog) { static_cast<QDialog *>(dialog)->accept(); });
        wizard->button(QWizard::FinishButton)->click();
        memo = wizard->meInfo->toPlainText();
        wizard->reject();
    });
    const QString supply = DataPaths::fromRoot(u"USR\\FL2023\\Dich770\\77024"_s);
    QFile::remove(supply);
    messages().clear();
    commands().command(u"xafFile"_s)->Execute();
    QFile file(supply);
    ASSERT_TRUE(file.open(QIODevice::ReadOnly)) << memo.toStdString() << messages().texts().join(u'\n').toStdString();
    const QByteArray bytes = file.readAll();
    EXPECT_TRUE(bytes.contains("1234,56")) << memo.toStdString();
    EXPECT_TRUE(bytes.contains("RSSMRA80A01H501U"));
    EXPECT_TRUE(bytes.contains("100E"));

    // The ST print as "prova", the payment on its page.
    QString print;
    onNextDialog<QDialog>([&print](QDialog *dialog) {
        EXPECT_EQ(dialog->objectName(), u"TfmElhPdfST"_s);
        auto *name = dialog->findChild<QLineEdit *>(u"edPdfFileName"_s);
        name->setText(u"prova"_s);
        dialog->findChild<QPushButton *>(u"buCreatePdf"_s)->click();
        print = dialog->findChild<QPlainTextEdit *>(u"meOut"_s)->toPlainText();
        dialog->reject();
    });
    const QString printed = DataPaths::fromRoot(u"USR\\FL2023\\Stp\\prova.pdf"_s);
    QFile::remove(printed);
    commands().command(u"axfST"_s)->Execute();
    EXPECT_EQ(print, u"File generato: "_s + printed);
    QStringList drawn;
    for (const PdfReadBack::Page &page : PdfReadBack::read(printed))
        drawn += page.strings();
    EXPECT_TRUE(drawn.contains(u"1234,56"_s)) << drawn.join(u'|').toStdString();
}

ELH_INSTANTIATE_ON_BOTH_ENGINES(MainWindow);
