#include "TfmElhMain.h"

#include "AgentBootstrap.h"
#include "DataPaths.h"
#include "ElhMStampe.h"
#include "LocalDataFolder.h"
#include "LongDir.h"
#include "NrCursors.h"
#include "NrFormRegistry.h"
#include "SchoolFiscalCode.h"
#include "THlmDBCds.h"
#include "TNrOutlookBar.h"
#include "TdmElhAttivazioni.h"
#include "TdmKbrParams.h"
#include "TdmkbrConnessione.h"
#include "TfmElhAggiungiAdd.h"
#include "TfmElhAutonomo.h"
#include "TfmElhDipendente.h"
#include "TfmElhFile.h"
#include "TfmElhFornitore.h"
#include "TfmElhImp770ap.h"
#include "TfmElhImpCUD.h"
#include "TfmElhImpMultiSelectOnlyAna.h"
#include "TfmElhImportF24.h"
#include "TfmElhIntSos.h"
#include "TfmElhPdfAut.h"
#include "TfmElhPdfDip.h"
#include "TfmElhPdfFront.h"
#include "TfmElhPdfProspetto.h"
#include "TfmElhProspDI.h"
#include "TfmElhProspSS.h"
#include "TfmElhProspST2009.h"
#include "TfmElhProspSV.h"
#include "TfmElhProspSX.h"
#include "TfmElhQuadratura.h"
#include "TfmElhSosEst.h"
#include "TfmElhSostituto.h"
#include "TfmElhprospSY.h"
#include "TfmHlmWait.h"

#include <QAction>
#include <QApplication>
#include <QEventLoop>
#include <QFileInfo>
#include <QMenu>
#include <QStyle>
#include <QTimer>

using namespace Qt::Literals::StringLiterals;

namespace {

constexpr int kReturnYear = 2023;
const QString kTitle = u"Modello 770/2024 Redditi 2023"_s;
const QString kStatus = u"  Provvedimento dell'Agenzia delle Entrate del 26 febbraio 2024 (Pubblicato il 26/02/2024) e "
                        u"successive modifiche."_s;
// The development copy of the statements: while it exists, the window can
// be brought to the size of the screens the program is designed on.
const QString kDevelopmentStatements = u"C:\\Sviluppo\\etc\\kbr\\kbr_QueryText.xml"_s;

} // namespace

TfmElhMain::TfmElhMain(TdmkbrConnessione &connection, TdmKbrParams &params, TdmElhAttivazioni &commands,
                       QWidget *parent)
    : TfmNrMDIMain(parent)
    , m_connection(connection)
    , m_params(params)
    , m_commands(commands)
{
    // The title bar shows the program's name from the application, once,
    // after the caption of a maximised child window.
    QApplication::setApplicationDisplayName(kTitle);
    setWindowIcon(style()->standardIcon(QStyle::SP_FileDialogContentsView));
    m_rootFolder = LongDir(DataPaths::dataRoot());
    createMenus();
    resize(1100, 760);
    setSettingsFile(m_params.settingsFile());

    m_connection.setFindings(m_boxes);
    m_store = std::make_unique<THlmDBCds>(kReturnYear, u"elh"_s, 0);
    m_store->setConnection(&m_connection);
    m_store->setFindings(m_boxes);
    m_store->setShowWait(false);
    m_stampe = std::make_unique<TdmElhStampe>(*m_store);
    m_commands.setStore(m_store.get());
    m_commands.setParams(&m_params);
    m_commands.setMainWindow(this);
    registerWindows();
}

TfmElhMain::~TfmElhMain()
{
    m_commands.setStore(nullptr);
    m_commands.setMainWindow(nullptr);
}

void TfmElhMain::createMenus()
{
    QAction *esci = miFile->actions().constLast();
    miFile->insertSeparator(esci);
    ac1024 = new QAction(u"ac1024"_s, this);
    ac1024->setVisible(QFileInfo::exists(kDevelopmentStatements));
    connect(ac1024, &QAction::triggered, this, [this] {
        setWindowState(Qt::WindowNoState);
        setGeometry(0, 0, 1024, 750);
    });
    miFile->insertAction(esci, ac1024);
    miFile->insertSeparator(esci);
    acVediStrumenti = new QAction(u"Vedi Strumenti"_s, this);
    acVediStrumenti->setCheckable(true);
    connect(acVediStrumenti, &QAction::toggled, this, [this](bool shown) {
        m_commands.xpgStrumenti->Visible = shown;
        m_commands.Execute();
    });
    miFile->insertAction(esci, acVediStrumenti);
    miFile->insertSeparator(esci);

    miInvioTele = new QAction(u"Note invio telematico"_s, this);
    miInvioTele->setObjectName(u"miInvioTele"_s);
    connect(miInvioTele, &QAction::triggered, this, [this] { m_commands.xasEntratel->Execute(); });
    acIstruzioni = new QAction(u"Istruzioni"_s, this);
    acIstruzioni->setObjectName(u"acIstruzioni"_s);
    acIstruzioni->setProperty("category", u"Help"_s);
    connect(acIstruzioni, &QAction::triggered, this, [this] { m_commands.xasIstruzioni->Execute(); });
    miHelp->insertAction(acAid, miInvioTele);
    miHelp->insertAction(acAid, acIstruzioni);

    acReportMan->setEnabled(false);
    acReportMan->setVisible(false);
}

void TfmElhMain::registerWindows()
{
    THlmDBCds *store = m_store.get();
    NrFormRegistry::registerClass(u"TfmElhSostituto"_s, [this, store](QWidget *parent) {
        return new TfmElhSostituto(
            *store, [this] { return schoolFiscalCode(); }, parent);
    });
    NrFormRegistry::registerClass(u"TfmElhFornitore"_s,
                                  [store](QWidget *parent) { return new TfmElhFornitore(*store, parent); });
    NrFormRegistry::registerClass(u"TfmElhSosEst"_s,
                                  [store](QWidget *parent) { return new TfmElhSosEst(*store, parent); });
    NrFormRegistry::registerClass(u"TfmElhProspST2009"_s,
                                  [store](QWidget *parent) { return new TfmElhProspST2009(*store, parent); });
    NrFormRegistry::registerClass(u"TfmElhProspSV"_s,
                                  [store](QWidget *parent) { return new TfmElhProspSV(*store, parent); });
    NrFormRegistry::registerClass(u"TfmElhProspSX"_s,
                                  [store](QWidget *parent) { return new TfmElhProspSX(*store, parent); });
    NrFormRegistry::registerClass(u"TfmElhprospSY"_s,
                                  [store](QWidget *parent) { return new TfmElhprospSY(*store, parent); });
    NrFormRegistry::registerClass(u"TfmElhProspSS"_s,
                                  [store](QWidget *parent) { return new TfmElhProspSS(*store, parent); });
    NrFormRegistry::registerClass(u"TfmElhProspDI"_s,
                                  [store](QWidget *parent) { return new TfmElhProspDI(*store, parent); });
    NrFormRegistry::registerClass(
        u"TfmElhIntSosDip"_s, [this, store](QWidget *parent) { return new TfmElhIntSosDip(*store, m_params, parent); });
    NrFormRegistry::registerClass(
        u"TfmElhIntSosAut"_s, [this, store](QWidget *parent) { return new TfmElhIntSosAut(*store, m_params, parent); });
    NrFormRegistry::registerClass(u"TfmElhImp770ap"_s,
                                  [store](QWidget *parent) { return new TfmElhImp770ap(*store, parent); });
    NrFormRegistry::registerClass(
        u"TfmElhImportF24"_s, [this, store](QWidget *parent) { return new TfmElhImportF24(*store, m_params, parent); });
    NrFormRegistry::registerClass(
        u"TfmElhImpCUD"_s, [this, store](QWidget *parent) { return new TfmElhImpCUD(*store, m_params, parent); });
    NrFormRegistry::registerClass(u"TfmElhAggiungiAdd"_s, [this, store](QWidget *parent) {
        return new TfmElhAggiungiAdd(*store, m_params, parent);
    });
    NrFormRegistry::registerClass(u"TfmElhImpMultiSelect"_s, [this, store](QWidget *parent) {
        return new TfmElhImpMultiSelect(*store, m_params, parent);
    });
    NrFormRegistry::registerClass(u"TfmElhImpMultiSelectOnlyAna"_s, [this, store](QWidget *parent) {
        return new TfmElhImpMultiSelectOnlyAna(*store, m_params, parent);
    });
    NrFormRegistry::registerClass(u"TfmElhDipendente"_s,
                                  [store](QWidget *parent) { return new TfmElhDipendente(*store, parent); });
    NrFormRegistry::registerClass(u"TfmElhAutonomo"_s,
                                  [store](QWidget *parent) { return new TfmElhAutonomo(*store, parent); });
    NrFormRegistry::registerClass(u"TfmElhFile"_s, [store](QWidget *parent) { return new TfmElhFile(*store, parent); });
    NrFormRegistry::registerClass(u"TfmElhQuadratura"_s, [this, store](QWidget *parent) {
        auto *window = new TfmElhQuadratura(*store, parent);
        connect(window, &TfmElhQuadratura::rowRequested, this,
                [this](const QuadraturaRowRef &row) { m_commands.showRow(row); });
        connect(window, &TfmElhQuadratura::personRequested, this,
                [this](const QuadraturaPersonRef &person) { m_commands.showPerson(person); });
        return window;
    });
    TdmElhStampe *stampe = m_stampe.get();
    NrFormRegistry::registerClass(u"TfmElhPdfFront"_s,
                                  [stampe](QWidget *parent) { return new TfmElhPdfFront(*stampe, parent); });
    for (const TfmElhPdfProspetto::Prospetto prospetto : TfmElhPdfProspetto::all()) {
        NrFormRegistry::registerClass(TfmElhPdfProspetto::className(prospetto),
                                      [prospetto, store, stampe](QWidget *parent) {
                                          return new TfmElhPdfProspetto(prospetto, *store, *stampe, parent);
                                      });
    }
    NrFormRegistry::registerClass(
        u"TfmElhPdfDip"_s, [store, stampe](QWidget *parent) { return new TfmElhPdfDip(*store, *stampe, parent); });
    NrFormRegistry::registerClass(
        u"TfmElhPdfAut"_s, [store, stampe](QWidget *parent) { return new TfmElhPdfAut(*store, *stampe, parent); });
}

QString TfmElhMain::schoolFiscalCode() const
{
    return ::schoolFiscalCode(NrGlobConn(), m_params);
}

void TfmElhMain::setWaitWindow(TfmHlmWait *wait)
{
    m_store->setWaitWindow(wait);
}

void TfmElhMain::FormShow()
{
    TfmNrMDIMain::FormShow();
    const bool connected = m_connection.openOrGoOn();
    const TNrCursorScope hourglass;
    LocalDataFolder::prepare(m_boxes);
    // Without the school database the reason was already shown.
    if (connected)
        AgentBootstrap::run(
            *m_store, [this] { return schoolFiscalCode(); }, m_boxes);
    setStatusText(kStatus);
}

void TfmElhMain::FormActivate()
{
    TfmNrMDIMain::FormActivate();
    if (m_activated)
        return;
    m_activated = true;
    m_commands.SetContainer(outlookBar());
    m_commands.Execute();
    if (outlookBar()->count() > 0)
        outlookBar()->setCurrentIndex(0);
    if (QFileInfo::exists(DataPaths::fromRoot(u"USR\\FL2023\\Res\\NoteAgg\\Check.txt"_s))) {
        acAid->trigger();
        // A moment for the viewer to come up before the office starts working.
        QEventLoop pause;
        QTimer::singleShot(1000, &pause, &QEventLoop::quit);
        pause.exec(QEventLoop::ExcludeUserInputEvents);
    }
}

void TfmElhMain::FormClose()
{
    TfmNrMDIMain::FormClose();
    m_commands.setStore(nullptr);
    m_stampe.reset();
    m_store.reset();
}

void TfmElhMain::acAidExecute()
{
    TfmNrMDIMain::acAidExecute();
    m_commands.xasNotizie->Execute();
}
