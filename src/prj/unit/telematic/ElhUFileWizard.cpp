#include "ElhUFileWizard.h"

#include "ClientDataSet.h"
#include "Decimal.h"
#include "ElhMFile.h"
#include "ElhUFileChecks.h"
#include "ElhUFileWriter.h"
#include "ElhURecord.h"
#include "ElhUSupplyCheck.h"
#include "NrExceptions.h"
#include "NrFindings.h"
#include "NrTransaction.h"
#include "Quadratura.h"
#include "QuadraturaExport.h"
#include "SxData.h"
#include "TextLib.h"

#include <algorithm>
#include <iterator>

using namespace Qt::Literals::StringLiterals;

namespace {

// The record types that the packing step knows, with the number of
// positional fields that open each of their records.
constexpr struct
{
    char16_t type;
    int headerCount;
} kPackedRecords[] = {{u'D', 7}, {u'E', 8}, {u'F', 8}, {u'G', 9}, {u'H', 9}, {u'I', 7}, {u'J', 8}};

// The amounts of the Prospetto SS that the user enters ("Importi non
// prelevati a seguito di operazioni straordinarie"), in the order of the
// form's points; both SS tables name them alike.
constexpr const char16_t *kSsAmounts[] = {u"FIOSADDREGTRA_SS",    u"FIOSADDCOMSALTRA_SS", u"FIOSADDCOMACC_SS",
                                          u"FIOSSALIRPEF_SS",     u"FIOSPRACCIRPEF_SS",   u"FIOSADDREG_SS",
                                          u"FIOSSALADDREG_SS",    u"FIOSACCADDCOM_SS",    u"FIOSSECACCIRPEF_SS",
                                          u"FIOSACCTAXSEP_SS",    u"FIOSIMPSOSPREPRO_SS", u"FIOSCEDSECCLOC_SS",
                                          u"FIOS1RACCCEDSECC_SS", u"FIOS2RACCCEDSECC_SS", u"FIOSCONTSOL_SS"};

// Moves to the SS row of the agent; false when it has none. A missing code
// and an empty one are the same agent.
bool findAgent(ClientDataSet &ss, const QString &code)
{
    const Field &agent = ss.fieldByName(u"SSOE7CODICE"_s);
    for (ss.first(); !ss.eof(); ss.next()) {
        if (agent.asString() == code)
            return true;
    }
    return false;
}

} // namespace

FileWizard::FileWizard(TdmElhFile &dm, FindingSink &findings)
    : m_dm(dm)
    , m_findings(findings)
    , m_records(
          dm, [this](const QString &line) { addLine(line); }, findings)
{
}

void FileWizard::setProgress(ProgressSink sink)
{
    m_sink = std::move(sink);
}

void FileWizard::addLine(const QString &line)
{
    m_memo.append(line);
    if (m_sink)
        m_sink(line);
}

bool FileWizard::hasProspettiSv() const
{
    const TdmElhFile &dm = m_dm;
    for (const ClientDataSet *ds : {&dm.cdsPrSv, &dm.cdsPrSt, &dm.cdsPrSt2, &dm.cdsPrSt3, &dm.cdsPrSt4, &dm.cdsPrDi}) {
        if (!ds->isEmpty())
            return true;
    }
    // Every SX record is looked at, not only the current one: an extinct
    // agent's credits count as much as the agent's own.
    ClientDataSet &sx = m_dm.cdsPrSx;
    if (sx.isEmpty())
        return false;
    const Bookmark at = sx.bookmark();
    bool declared = false;
    for (sx.first(); !sx.eof() && !declared; sx.next())
        declared = SxData::present(sx);
    sx.gotoBookmark(at);
    return declared;
}

bool FileWizard::hasProspettoSy() const
{
    const TdmElhFile &dm = m_dm;
    return !(dm.cdsPrSy.isEmpty() && dm.cdsPrSy2.isEmpty() && dm.cdsPrSy3.isEmpty() && dm.cdsPrSy4.isEmpty());
}

FileWizard::Outcome FileWizard::createFile()
{
    if (!CheckCompleteness(*this))
        return Outcome::StoppedByUser;
    try {
        CheckExtinctAgents(m_dm);
        CheckProspettiValues(m_dm);
        m_dm.loadWorkingTables();
        m_dm.reopenFrontispiece();
        addLine(u"ATTENDERE... Pulitura del file in corso..."_s);
        m_dm.cdsFieldFile.emptyDataSet();
        m_dm.cdsFileTel.emptyDataSet();
        // The Prospetto SS and the agent's box change together: all of it
        // is saved, or nothing.
        TNrTransaction transaction(m_dm.connection());
        transaction.StartTransaction();
        rebuildProspettoSs();
        markProspettoSs();
        transaction.Commit();
        BuildRecordD(m_records, prospettiSv);
        BuildRecordI(m_records, prospettoSy);
        BuildRecordJ(m_records);
        m_dm.saveWorkingTables();
        m_dm.cdsFieldFile.close();
        addQuadraturaLine();
        addLine(u"Operazione terminata con successo."_s);
        return Outcome::Created;
    } catch (const Exception &e) {
        addLine(u"***** "_s + e.message());
        m_findings.error(u"Operazione terminata con errore"_s);
        return Outcome::Failed;
    }
}

// The Prospetto SS is made anew from what the user entered and from the
// withholdings of SY sections III and IV, one row per agent.
void FileWizard::rebuildProspettoSs()
{
    ClientDataSet &ss = m_dm.cdsPrSs;
    ss.first();
    while (!ss.isEmpty())
        ss.deleteRecord();
    ss.setIndexFieldNames(u"SSOE7CODICE"_s);
    if (!m_dm.cdsPrSs4.isEmpty()) {
        addLine(u"Prosp. SS : Importazione \"Importi non prelevati a seguito di operazioni straordinarie\""_s);
        copyEnteredAmounts();
    }
    if (!m_dm.cdsPrSy3.isEmpty()) {
        addLine(u"Prosp. SS : Importazione \"Sez. III - Ritenute da art. 25, del D.L. n. 78/2010\""_s);
        addToProspettoSs(m_dm.cdsPrSy3, u"FPSY3RITEFF"_s, u"FQUADROSYRIT1_SS"_s);
    }
    if (!m_dm.cdsPrSy4.isEmpty()) {
        addLine(u"Prosp. SS : Importazione \"Sez. IV - Riservata al percipiente estero privo di codice fiscale\""_s);
        addToProspettoSs(m_dm.cdsPrSy4, u"FSY4RITTITIMP"_s, u"FQUADROSYRIT2_SS"_s);
    }
}

// Each agent's rows are added up into its one row. A row of the agent
// itself with every amount zero declares nothing and is left out; a row of
// an extinct agent declares the succession even then.
void FileWizard::copyEnteredAmounts()
{
    ClientDataSet &entered = m_dm.cdsPrSs4;
    ClientDataSet &ss = m_dm.cdsPrSs;
    const Field &agent = entered.fieldByName(u"SSOE7CODICE"_s);
    for (entered.first(); !entered.eof(); entered.next()) {
        const QString code = agent.asString();
        const bool declaresNothing =
            std::all_of(std::begin(kSsAmounts), std::end(kSsAmounts), [&](const char16_t *name) {
                return entered.fieldByName(QString::fromUtf16(name)).asCurrency().isZero();
            });
        if (declaresNothing && TextLib::Trim(code).isEmpty())
            continue;
        if (findAgent(ss, code)) {
            ss.edit();
        } else {
            ss.append();
            ss.fieldByName(u"SSOE7CODICE"_s).setAsString(code);
        }
        // A point left empty stays empty, as on the form.
        for (const char16_t *name : kSsAmounts) {
            const QString field = QString::fromUtf16(name);
            const Decimal amount = entered.fieldByName(field).asCurrency();
            if (amount.isZero())
                continue;
            Field &total = ss.fieldByName(field);
            total.setAsCurrency(total.asCurrency() + amount);
        }
        ss.post();
    }
}

void FileWizard::addToProspettoSs(ClientDataSet &sy, const QString &amountField, const QString &ssField)
{
    ClientDataSet &ss = m_dm.cdsPrSs;
    const Field &agent = sy.fieldByName(u"SSOE7CODICE"_s);
    const Field &amount = sy.fieldByName(amountField);
    for (sy.first(); !sy.eof(); sy.next()) {
        if (amount.asCurrency() <= Decimal())
            continue;
        const QString code = agent.asString();
        if (findAgent(ss, code)) {
            ss.edit();
        } else {
            ss.append();
            ss.fieldByName(u"SSOE7CODICE"_s).setAsString(code);
        }
        Field &total = ss.fieldByName(ssField);
        total.setAsCurrency(total.asCurrency() + amount.asCurrency());
        ss.post();
    }
}

// The agent's box of the Prospetto SS follows what was made.
void FileWizard::markProspettoSs()
{
    ClientDataSet &sost = m_dm.cdsSost;
    if (sost.isEmpty())
        throw ENrError(u"Manca il record del sostituto d'imposta: compilare Frontespizio->Sostituto"_s);
    sost.edit();
    sost.fieldByName(u"LSOSSS"_s).setAsString(m_dm.cdsPrSs.isEmpty() ? u"0"_s : u"1"_s);
    sost.post();
}

// The reconciliation of the return in one line of the memo: what it finds
// is for the office to weigh, so neither its findings nor its failure stop
// the file.
void FileWizard::addQuadraturaLine()
{
    try {
        addLine(quadraturaMemoLine(reconcile(readQuadraturaInput(m_dm.store()))));
    } catch (const Exception &e) {
        addLine(quadraturaFailureLine(e.message()));
    }
}

// What the supply check finds in the files just written goes to the memo.
void FileWizard::checkSupply(const QStringList &files)
{
    const QList<SupplyCheck::Finding> findings = SupplyCheck::run(files);
    for (const SupplyCheck::Finding &f : findings)
        addLine(u"***** Controllo del file telematico: "_s + SupplyCheck::describe(f));
    if (findings.isEmpty())
        addLine(u"Controllo del file telematico: nessun problema."_s);
}

void FileWizard::save(const QString &fileName)
{
    m_dm.loadFieldFile();
    BuildRecordA(m_records);
    BuildRecordB(m_records);
    if (!m_dm.cdsFieldFile.isEmpty()) {
        for (const auto &r : kPackedRecords)
            m_records.assembly().AssembleFieldRecords(QChar(r.type), r.headerCount);
    }
    BuildRecordZ(m_records);
    m_dm.cdsFieldFile.close();
    const SupplyFiles files = WriteSupplyFiles(m_dm.cdsFileTel, m_records.contents, fileName, m_findings);
    checkSupply(files.written);
    m_dm.closeTables();
    m_findings.warning(SupplyFilesMessage(files));
}
