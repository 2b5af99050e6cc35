#include "TdmElhAttivazioni.h"

#include "DataPaths.h"
#include "ElhMProspSTPDF.h"
#include "Exceptions.h"
#include "LongDir.h"
#include "NrCursors.h"
#include "NrFolderChooser.h"
#include "NrMessages.h"
#include "PersonTables.h"
#include "SectionTabs.h"
#include "Quadratura.h"
#include "THlmDBCds.h"
#include "TdmKbrParams.h"
#include "TfmElhProspST2009.h"
#include "TfmElhProspSV.h"
#include "TfmNrMDIMain.h"
#include "TfrElhAnagrafe.h"
#include "TfrElhProspST.h"
#include "TfrElhProspST_sez_due.h"
#include "TfrElhProspSV.h"

#include <QDir>
#include <QFile>
#include <QWidget>

using namespace Qt::Literals::StringLiterals;

namespace {

const QString kCloseWindows = u"Chiudere tutte le finestre prima di eseguire l'operazione."_s;
// The properties through which the integration windows and the import
// dialogs receive their folder.
const char *const kIntegrationFolder = "cartellaIntegrazione";
const char *const kImportFolder = "cartella";
const QString kStaleFinding = u"%1 non è più nell'archivio: aggiornare la quadratura."_s;

// The window of a command, opened or brought to the front.
QWidget *openWindow(TdmNrAttivazioni &commands, const QString &command, const QString &className)
{
    commands.command(command)->Execute();
    return commands.mainWindow() ? commands.mainWindow()->findChildForm(className) : nullptr;
}

} // namespace

TdmElhAttivazioni::TdmElhAttivazioni()
{
    declarePages();
    declareCommands();
}

void TdmElhAttivazioni::declarePages()
{
    xpgFrontespizio = addPage(u"xpgFrontespizio"_s, u"Frontespizio"_s, 0, false, true);
    xpgImport = addPage(u"xpgImport"_s, u"Import"_s, 10, true, true);
    xpgProspet = addPage(u"xpgProspet"_s, u"Prospetti"_s, 20, true, true);
    xpgFile = addPage(u"xpgFile"_s, u"File telematico"_s, 30, false, true);
    xpgTabelle = addPage(u"xpgTabelle"_s, u"Tabelle"_s, 40, false, true);
    xpgStampe = addPage(u"xpgStampe"_s, u"Stampe"_s, 100, true, true);
    xpgRiepiloghi = addPage(u"xpgRiepiloghi"_s, u"Riepiloghi"_s, 110, false, false);
    xpgStrumenti = addPage(u"xpgStrumenti"_s, u"Strumenti"_s, 200, false, false);
}

void TdmElhAttivazioni::declareCommands()
{
    declareEditing();
    declareImports();
    declarePrints();
    declareTools();
    declareDocuments();
}

void TdmElhAttivazioni::declareEditing()
{
    addForm(u"xafSostituto"_s, xpgFrontespizio, 0, u"Sostituto"_s, u"TfmElhSostituto"_s);
    addForm(u"xafFornitore"_s, xpgFrontespizio, 1, u"Fornitore"_s, u"TfmElhFornitore"_s);

    addForm(u"xafDipParteA"_s, xpgProspet, 0, u"Dipendente"_s, u"TfmElhDipendente"_s)->Visible = false;
    addForm(u"xafAutonomo"_s, xpgProspet, 1, u"Autonomo"_s, u"TfmElhAutonomo"_s)->Visible = false;
    addForm(u"xafDI"_s, xpgProspet, 2, u"Prospetto DI"_s, u"TfmElhProspDI"_s);
    addForm(u"xafSt"_s, xpgProspet, 3, u"Prospetto ST"_s, u"TfmElhProspST2009"_s);
    addForm(u"xafSv"_s, xpgProspet, 4, u"Prospetto SV"_s, u"TfmElhProspSV"_s);
    addForm(u"xafSX"_s, xpgProspet, 5, u"Prospetto SX"_s, u"TfmElhProspSX"_s);
    addForm(u"xafSY"_s, xpgProspet, 6, u"Prospetto SY"_s, u"TfmElhProspSY"_s);
    addForm(u"xafSs"_s, xpgProspet, 100, u"Prospetto SS"_s, u"TfmElhProspSS"_s)->Visible = false;

    // The return checked against itself comes before the file is made.
    addForm(u"xafQuadratura"_s, xpgFile, 0, u"Quadratura"_s, u"TfmElhQuadratura"_s);
    addForm(u"xafFile"_s, xpgFile, 10, u"File Telematico"_s, u"TfmElhFile"_s)->ModalForm = true;

    addForm(u"xafSosEstinto"_s, xpgTabelle, 10, u"Sostituto Estinto"_s, u"TfmElhSosEst"_s);
}

void TdmElhAttivazioni::declareImports()
{
    TNrAttForm *cud = addForm(u"xafImpCUD"_s, xpgImport, 10, u"CU"_s, u"TfmElhImpCUD"_s);
    cud->ModalForm = true;
    cud->Visible = false;
    cud->BeforeExecute = [this](TNrAttCommand &, bool &allow) { refuseWithChildWindows(allow); };

    // Hidden and disabled on the bar in this edition, reached from Strumenti;
    // modal and guarded as the other imports, since it writes the registry
    // that the employee and self-employed windows hold.
    TNrAttForm *previous = addForm(u"axfImp770ap"_s, xpgImport, 30, u"770 anno prec."_s, u"TfmElhImp770ap"_s);
    previous->Visible = false;
    previous->Enabled = false;
    previous->ModalForm = true;
    previous->BeforeExecute = [this](TNrAttCommand &, bool &allow) { refuseWithChildWindows(allow); };

    xafImpF24 = addForm(u"xafImpF24"_s, xpgImport, 30, u"F24EP"_s, u"TfmElhImportF24"_s);
    xafImpF24->ModalForm = true;
    xafImpF24->BeforeExecute = [this](TNrAttCommand &, bool &) {
        if (childWindowsOpen()) {
            NrMessageDlg(kCloseWindows, MsgDlgType::Warning);
            Abort();
        }
    };
    xafImpF24->OnInizializedForm = [this](TNrAttForm &, QWidget *form) {
        if (paymentsParameter() == 0)
            form->setWindowTitle(u"Importa da F24"_s);
    };
}

void TdmElhAttivazioni::declarePrints()
{
    const std::tuple<const char16_t *, int, const char16_t *, const char16_t *, bool> prints[] = {
        {u"xafStpFront", 1, u"Frontespizio", u"TfmElhPdfFront", true},
        {u"axfDI", 4, u"Prospetto DI", u"TfmElhPdfDI", true},
        {u"axfST", 5, u"Prospetto ST", u"TfmElhPdfST", true},
        {u"axfSV", 6, u"Prospetto SV", u"TfmElhPdfSV", true},
        {u"axfSX", 7, u"Prospetto SX", u"TfmElhPdfSX", true},
        {u"axfSY", 8, u"Prospetto SY", u"TfmElhPdfSY", true},
        {u"axfSS", 100, u"Prospetto SS", u"TfmElhPdfSS", true},
        {u"xafStpDip", 200, u"Dipendenti", u"TfmElhPdfDip", false},
        {u"axfStpAut", 300, u"Autonomi", u"TfmElhPdfAut", false},
    };
    for (const auto &[name, order, caption, classeForm, visible] : prints) {
        TNrAttForm *print = addForm(QString::fromUtf16(name), xpgStampe, order, QString::fromUtf16(caption),
                                    QString::fromUtf16(classeForm));
        print->ModalForm = true;
        print->Visible = visible;
        print->BeforeExecute = [this](TNrAttCommand &, bool &allow) { refuseWithChildWindows(allow); };
    }

    // The summary reports are made by their handlers; the commands never run.
    using Report = TdmElhProspSTPDF::Outcome (TdmElhProspSTPDF::*)(const QString &);
    const std::tuple<const char16_t *, int, const char16_t *, Report, const char16_t *> reports[] = {
        {u"xafRiepilogoINPS", 1, u"Riepilogo INPS", &TdmElhProspSTPDF::riepilogoINPS, u"RiepilogoINPS.pdf"},
        {u"xafRiepilogoTassSep", 10, u"Riep. tass. sep.", &TdmElhProspSTPDF::riepilogoTassazioneSeparata,
         u"RiepilogoTassazioneSeparata.pdf"},
        {u"xafRiepilogoIRPEF", 20, u"Riep. IRPEF", &TdmElhProspSTPDF::riepilogoIRPEF, u"RiepilogoIRPEF.pdf"},
        {u"xafRiepilogoINPDAP", 30, u"Riep. INPDAP", &TdmElhProspSTPDF::riepilogoINPDAP, u"RiepilogoINPDAP.pdf"},
        {u"xafRiepilogoAutonomi", 30, u"Riep. Autonomi", &TdmElhProspSTPDF::riepilogoAutonomi,
         u"RiepilogoAutonomi.pdf"},
    };
    for (const auto &[name, order, caption, print, fileName] : reports) {
        TNrAttForm *report =
            addForm(QString::fromUtf16(name), xpgRiepiloghi, order, QString::fromUtf16(caption), QString());
        report->ModalForm = true;
        report->BeforeExecute = [this, print = print, fileName = QString::fromUtf16(fileName)](TNrAttCommand &,
                                                                                               bool &allow) {
            allow = false;
            summaryReport(print, fileName);
        };
    }
}

void TdmElhAttivazioni::declareTools()
{
    addComponent(u"xacExportCDS"_s, xpgStrumenti, 0, u"Esporta dati "_s)->OnExecute = [this](TNrAttCommand &) {
        exportTables();
    };

    for (const auto &[name, caption, classeForm] :
         {std::tuple{u"xafIntSosDip"_s, u"Integra Dip"_s, u"TfmElhIntSosDip"_s},
          std::tuple{u"xafIntSosAut"_s, u"Integra Aut."_s, u"TfmElhIntSosAut"_s}}) {
        TNrAttForm *integration = addForm(name, xpgStrumenti, 10, caption, classeForm);
        integration->ModalForm = true;
        integration->BeforeExecute = [this](TNrAttCommand &, bool &allow) {
            refuseWithChildWindows(allow);
            if (!allow)
                return;
            m_integrationFolder = NrChooseFolder(u"Cartella dei dati del sostituto estinto"_s);
            allow = !m_integrationFolder.isEmpty();
        };
        integration->OnInizializedForm = [this](TNrAttForm &, QWidget *form) {
            form->setProperty(kIntegrationFolder, LongDir(m_integrationFolder));
        };
    }

    // The employee and self-employed sections and the import of last year's
    // registry, whose commands are not shown on the bar in this edition, are
    // reached from this page.
    for (const auto &[name, order, caption, target] :
         {std::tuple{u"xacStrDipendente"_s, 20, u"Dipendente"_s, u"xafDipParteA"_s},
          std::tuple{u"xacStrAutonomo"_s, 21, u"Autonomo"_s, u"xafAutonomo"_s},
          std::tuple{u"xacStrStpDip"_s, 22, u"Stampa Dipendenti"_s, u"xafStpDip"_s},
          std::tuple{u"xacStrStpAut"_s, 23, u"Stampa Autonomi"_s, u"axfStpAut"_s},
          std::tuple{u"xacStrImp770ap"_s, 24, u"770 anno prec."_s, u"axfImp770ap"_s}}) {
        addComponent(name, xpgStrumenti, order, caption)->OnExecute = [this, target = target](TNrAttCommand &) {
            command(target)->Execute();
        };
    }

    TNrAttForm *additional = addForm(u"xafAddizionali"_s, xpgStrumenti, 40, u"Addizionali"_s, u"TfmElhAggiungiAdd"_s);
    additional->ModalForm = true;
    additional->Visible = false;
    additional->BeforeExecute = [this](TNrAttCommand &, bool &allow) { refuseWithChildWindows(allow); };

    // The imports of the self-employed never run themselves: they run their
    // selection dialog, reached through commands of no page.
    m_impMultiSelect = addForm(u"dlgImpMultiSelect"_s, nullptr, 0, u"Imp. Autonomi"_s, u"TfmElhImpMultiSelect"_s);
    m_impMultiSelectOnlyAna = addForm(u"dlgImpMultiSelectOnlyAna"_s, nullptr, 0, u"Imp. Anagrafe Autonomi"_s,
                                      u"TfmElhImpMultiSelectOnlyAna"_s);
    for (TNrAttForm *dialog : {m_impMultiSelect, m_impMultiSelectOnlyAna}) {
        dialog->ModalForm = true;
        dialog->Visible = false;
        dialog->OnInizializedForm = [](TNrAttForm &, QWidget *form) {
            form->setProperty(kImportFolder, DataPaths::fromRoot(u"USR\\FLDati\\FL2023\\"_s));
        };
    }
    TNrAttForm *autonomi = addForm(u"xafImpAuton"_s, xpgStrumenti, 100, u"Imp. Autonomi"_s, QString());
    autonomi->BeforeExecute = [this](TNrAttCommand &, bool &allow) {
        allow = false;
        runImportDialog(m_impMultiSelect);
    };
    TNrAttForm *anagrafe = addForm(u"xafImpAutOnlyAna"_s, xpgStrumenti, 200, u"Imp. Anagrafe Autonomi"_s, QString());
    anagrafe->BeforeExecute = [this](TNrAttCommand &, bool &allow) {
        allow = false;
        runImportDialog(m_impMultiSelectOnlyAna);
    };
}

void TdmElhAttivazioni::declareDocuments()
{
    xasNotizie = addShell(u"xasNotizie"_s, 50, u"Notizie"_s, u"News.pdf"_s);
    xasNotizie->AfterExecute = [](TNrAttCommand &) {
        QFile::remove(DataPaths::fromRoot(u"USR\\FL2023\\Res\\NoteAgg\\Check.txt"_s));
    };
    xasIstruzioni = addShell(u"xasIstruzioni"_s, 50, u"Istruzioni 770 semplificato"_s, u"770_semplificato_istr.pdf"_s);
    xasEntratel = addShell(u"xasEntratel"_s, 50, u"Istruzioni Entratel"_s, u"Entratel.pdf"_s);
    // Reached from the help menu, not from the bar.
    for (TNrAttShell *document : {xasNotizie, xasIstruzioni, xasEntratel})
        document->Enabled = false;
}

bool TdmElhAttivazioni::childWindowsOpen() const
{
    return mainWindow() && !mainWindow()->childForms().isEmpty();
}

void TdmElhAttivazioni::refuseWithChildWindows(bool &allow) const
{
    if (!childWindowsOpen())
        return;
    NrMessageDlg(kCloseWindows, MsgDlgType::Warning);
    allow = false;
}

// The return's income year decides the accounting parameters, whatever
// financial year the office works in.
void TdmElhAttivazioni::loadParameters()
{
    constexpr int kReturnFinancialYear = 2023;
    if (!m_params)
        return;
    try {
        m_params->loadFinancialYear(kReturnFinancialYear);
    } catch (const Exception &) {
        // Without the school database the accounting parameters stay unknown.
    }
}

std::optional<int> TdmElhAttivazioni::paymentsParameter() const
{
    if (!m_params)
        return std::nullopt;
    try {
        return m_params->parameterValue(u"IPACOF24EP"_s).toInt();
    } catch (const Exception &) {
        return std::nullopt;
    }
}

void TdmElhAttivazioni::runImportDialog(TNrAttForm *dialog)
{
    if (childWindowsOpen()) {
        NrMessageDlg(kCloseWindows, MsgDlgType::Information);
        return;
    }
    dialog->Execute();
}

void TdmElhAttivazioni::summaryReport(TdmElhProspSTPDF::Outcome (TdmElhProspSTPDF::*print)(const QString &),
                                      const QString &fileName)
{
    const TNrCursorScope hourglass;
    FindingBoxes boxes;
    TdmElhProspSTPDF reports(store(), boxes);
    (reports.*print)(DataPaths::fromRoot(u"USR\\FL2023\\Stp\\"_s + fileName));
}

THlmDBCds &TdmElhAttivazioni::store() const
{
    if (!m_store)
        throw Exception(u"Operazione impossibile: l'archivio della dichiarazione non è aperto."_s);
    return *m_store;
}

void TdmElhAttivazioni::exportTables()
{
    const QString folder = NrChooseFolder(u"Cartella in cui esportare i dati"_s);
    if (folder.isEmpty())
        return;
    THlmDBCds &tables = store();
    {
        const TNrCursorScope hourglass;
        tables.exportAll(u"elh"_s, tables.year(), folder, tables.month());
    }
    if (QDir(folder).exists())
        NrMessageDlg(u"Fine operazione"_s, MsgDlgType::Information);
}

void TdmElhAttivazioni::showRow(const QuadraturaRowRef &row)
{
    TfrElfBase *frame = nullptr;
    if (row.area == QuadraturaArea::Sv) {
        if (auto *editor =
                qobject_cast<TfmElhProspSV *>(openWindow(*this, u"xafSv"_s, u"TfmElhProspSV"_s)))
            frame = editor->frProspSV;
    } else if (auto *editor = qobject_cast<TfmElhProspST2009 *>(
                   openWindow(*this, u"xafSt"_s, u"TfmElhProspST2009"_s))) {
        frame = row.area == QuadraturaArea::StI ? static_cast<TfrElfBase *>(editor->frErario) : editor->frAddReg;
        editor->pcST->setCurrentWidget(frame);
    }
    if (!frame)
        return;
    ClientDataSet &rows = frame->cdsMain;
    if (row.record < 0 || row.record >= rows.recordCount()) {
        NrMessageDlg(kStaleFinding.arg(u"Il rigo"_s), MsgDlgType::Information);
        return;
    }
    // The record's place is the one it was loaded at, whatever order the
    // grid shows.
    const QString order = rows.indexFieldNames();
    rows.setIndexFieldNames(QString());
    rows.setRecNo(row.record + 1);
    rows.setIndexFieldNames(order);
    frame->pcMain->setCurrentWidget(frame->tsDetail);
}

void TdmElhAttivazioni::showPerson(const QuadraturaPersonRef &person)
{
    const bool employee = person.table == PersonTables::registry(PersonTables::Kind::Employee).table;
    QWidget *window = employee ? openWindow(*this, u"xafDipParteA"_s, u"TfmElhDipendente"_s)
                               : openWindow(*this, u"xafAutonomo"_s, u"TfmElhAutonomo"_s);
    auto *registry = window ? window->findChild<TfrElhAnagrafe *>() : nullptr;
    if (!registry)
        return;
    if (!registry->cdsMain.locate(registry->registry().codeField, person.fiscalCode)) {
        NrMessageDlg(kStaleFinding.arg(person.name), MsgDlgType::Information);
        return;
    }
    registry->pcMain->setCurrentWidget(registry->tsDetail);
}

void TdmElhAttivazioni::Execute()
{
    for (TNrAttShell *news : {xasNotizie, xasEntratel}) {
        if (news->Directory.isEmpty())
            news->SetDirectory(DataPaths::fromRoot(u"USR\\FL2023\\Res\\NoteAgg\\"_s));
    }
    if (xasIstruzioni->Directory.isEmpty())
        xasIstruzioni->SetDirectory(DataPaths::fromRoot(u"USR\\FL2023\\Res\\"_s));
    loadParameters();
    if (paymentsParameter() == 0)
        xafImpF24->Caption = u"F24"_s;
    TdmNrAttivazioni::Execute();
}
