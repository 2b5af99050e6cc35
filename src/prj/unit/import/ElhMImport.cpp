#include "ElhMImport.h"

#include "DataPaths.h"
#include "ElhUImportXML.h"
#include "Exceptions.h"
#include "FiscalCode.h"
#include "NrConnection.h"
#include "NrExceptions.h"
#include "NrTransaction.h"
#include "NruParams.h"
#include "SchoolFiscalCode.h"
#include "THlmCds.h"
#include "THlmDBCds.h"

#include <QDir>
#include <QScopeGuard>

#include <algorithm>

using namespace Qt::Literals::StringLiterals;

namespace {

const QString kPerson = u"IAFIID"_s;
const QString kEmployeeCode = u"SDIP7CODFIS"_s;
const QString kSelfEmployedCode = u"SDAU7CODFIS"_s;
const QString kCertificationCode = u"SCUDCODFIS"_s;
const QString kMonth = u"SCUDMESE"_s;
const QString kZeroDate = u"30/12/1899"_s;
// Within a run the people are confirmed together, a hundred at a time: each
// has a savepoint of his own, so that a failure still undoes him alone, and
// the disk is not flushed after every person.
constexpr int kPeoplePerCommit = 100;
const QString kPersonSavepoint = u"elh_persona"_s;

// A fiscal code as the run compares them.
QString codeKey(const QString &code)
{
    return code.trimmed().toUpper();
}

QString subKey(const QString &code, const QString &month)
{
    return codeKey(code) + u'|' + month.trimmed();
}

// Whether a column of a certification counts for a step: neither null nor
// zero; a text neither empty nor "0".
bool holdsValue(const Field &field)
{
    if (field.isNull())
        return false;
    if (field.isNumeric())
        return !field.asCurrency().isZero();
    const QString text = field.asString().trimmed();
    return !text.isEmpty() && text != u"0";
}

bool isX(const Field &field)
{
    return field.asString().trimmed().compare(u"X"_s, Qt::CaseInsensitive) == 0;
}

// Switches the store to the certification module's program for a load.
class CertificationProgram
{
public:
    explicit CertificationProgram(THlmDBCds &store)
        : m_store(store)
        , m_saved(store.programCode())
    {
        m_store.setProgramCode(u"eli"_s);
    }
    ~CertificationProgram() { m_store.setProgramCode(m_saved); }
    CertificationProgram(const CertificationProgram &) = delete;
    CertificationProgram &operator=(const CertificationProgram &) = delete;

private:
    THlmDBCds &m_store;
    QString m_saved;
};

// The employee columns that do not make an employee: registry, grouping,
// and what every certification writes (with the other agent the registry
// names, SSOE7CODICE).
const QSet<QString> &registryColumns()
{
    static const QSet<QString> columns = [] {
        QSet<QString> upper;
        for (const QString &c : {u"IAFIID"_s,
                                 u"IFISRIGO"_s,
                                 u"SDIP7GRUPPOANA"_s,
                                 u"SDIP7CODFIS"_s,
                                 u"SDIP7COGNOME"_s,
                                 u"SDIP7NOME"_s,
                                 u"SDIP7SEX"_s,
                                 u"DDIP7DATANAS"_s,
                                 u"SDIP7COMNAS"_s,
                                 u"SDIP7PROVNAS"_s,
                                 u"SCAP7CODICE"_s,
                                 u"SDIP7EVENTIECC"_s,
                                 u"SFIS7CASIESCPREC"_s,
                                 u"SDIP7DFCOMUNEPRECC"_s,
                                 u"SDIP7DFPROVPRECC"_s,
                                 u"SDIP7DFCODCOMPRECC"_s,
                                 u"SDIP7DFCOMUNE"_s,
                                 u"SDIP7DFPROV"_s,
                                 u"SDIP7DFCODCOM"_s,
                                 u"SDIP7DFCODSED"_s,
                                 u"SDIP7CODFISRAPPR"_s,
                                 u"SDIP7CODSTAEST"_s,
                                 u"LFIS7ASSSANITARIE"_s,
                                 u"LFIS7APPLMAGGRIT"_s,
                                 u"SCUD"_s,
                                 u"DDIP7DATAPRIOCC"_s,
                                 u"SCONGUAGLIO"_s,
                                 u"SSOE7CODICE"_s})
            upper.insert(c);
        return upper;
    }();
    return columns;
}

} // namespace

TdmElhImport::TdmElhImport(THlmDBCds &store, TdmNruParams &params, FindingSink &findings)
    : cdsSostCUD(u"cdsSostCUD"_s)
    , cdsCUD(u"cdsCUD"_s)
    , cdsCUDInps(u"cdsCUDInps"_s)
    , cdsCUDInpdap(u"cdsCUDInpdap"_s)
    , cdsCUDConFamCar(u"cdsCUDConFamCar"_s)
    , cdsCudAutSommeEro(u"cdsCudAutSommeEro"_s)
    , cdsCudInail(u"cdsCudInail"_s)
    , cdsImpSost(u"cdsImpSost"_s)
    , cdsAnagFis(u"cdsAnagFis"_s)
    , cdsDtCong(u"cdsDtCong"_s)
    , cdsTassSep(u"cdsTassSep"_s)
    , cdsReddAssRitImp(u"cdsReddAssRitImp"_s)
    , cdsTfr(u"cdsTfr"_s)
    , cdsInps(u"cdsInps"_s)
    , cdsInpdap(u"cdsInpdap"_s)
    , cdsAnn(u"cdsAnn"_s)
    , cdsSommEroLavStra(u"cdsSommEroLavStra"_s)
    , cdsConFamCar(u"cdsConFamCar"_s)
    , cdsSostEst(u"cdsSostEst"_s)
    , cdsReddEst(u"cdsReddEst"_s)
    , cdsPreCompFamCar(u"cdsPreCompFamCar"_s)
    , cdsInail(u"cdsInail"_s)
    , cdsAutonomo(u"cdsAutonomo"_s)
    , cdsAutSommeEro(u"cdsAutSommeEro"_s)
    , xqcAss(u"xqcAss"_s)
    , xqcTassSep(u"xqcTassSep"_s)
    , xqcAdet(u"xqcAdet"_s)
    , cdsAppoTS(u"cdsAppoTS"_s)
    , cdsAppoAdet(u"cdsAppoAdet"_s)
    , m_store(store)
    , m_params(params)
    , m_findings(findings)
    , m_calcola(*store.connection())
{
    // In the order a person's rows are saved: the registries first, so that
    // the rows of his sections find him.
    m_tables = {
        {u"TDIP7_ANAGRFISCALI"_s, &cdsAnagFis, kEmployeeCode},
        {u"TDAU7_DATIAUTONOM"_s, &cdsAutonomo, kSelfEmployedCode},
        {u"TSOS_DATOSOSTITUTO"_s, &cdsImpSost, QString()},
        {u"TCON7_DATICONGUAG"_s, &cdsDtCong, kEmployeeCode},
        {u"TTAS7_TASSAZIONESE"_s, &cdsTassSep, kEmployeeCode},
        {u"TRAR7_REDASSTIRTIT"_s, &cdsReddAssRitImp, kEmployeeCode},
        {u"TTFR7_TFR"_s, &cdsTfr, kEmployeeCode},
        {u"TINPS7_INPS"_s, &cdsInps, kEmployeeCode},
        {u"TINP7_INPDAP"_s, &cdsInpdap, kEmployeeCode},
        {u"TANN7_ANNOTAZIONI"_s, &cdsAnn, kEmployeeCode},
        {u"TSLS7_SOMEROLAVSTRA"_s, &cdsSommEroLavStra, kEmployeeCode},
        {u"TCFC7_CONFAMCARICO"_s, &cdsConFamCar, kEmployeeCode},
        {u"TSOE7_SOSESTINTO"_s, &cdsSostEst, QString()},
        {u"TREE7_REDDITOESTER"_s, &cdsReddEst, kEmployeeCode},
        {u"TCFF7_CFFAMILIARE"_s, &cdsPreCompFamCar, kEmployeeCode},
        {u"TINA7_INAIL"_s, &cdsInail, kEmployeeCode},
        {u"TDSE7_SOMMEEROGATE"_s, &cdsAutSommeEro, kSelfEmployedCode},
    };
    for (ClientDataSet *sub : {&cdsCUDInps, &cdsCUDInpdap, &cdsCUDConFamCar, &cdsCudAutSommeEro, &cdsCudInail})
        m_subTables.emplace_back(sub);
    for (TNrQueryCollection *q : {&xqcAss, &xqcTassSep, &xqcAdet})
        q->setConnection(store.connection());
    wireHooks();
}

TdmElhImport::~TdmElhImport() = default;

QString TdmElhImport::definitionsFile()
{
    return DataPaths::fromRoot(u"USR\\FL2023\\Res\\import\\Import.xml"_s);
}

// --- Tables and their hooks ------------------------------------------------------------

void TdmElhImport::wireHooks()
{
    for (Table &t : m_tables) {
        DataSetEvents &e = t.ds->events();
        e.beforePost = [this, &t](ClientDataSet &ds) {
            if (&ds == &cdsConFamCar) {
                ds.fieldByName(kEmployeeCode).setAsString(cdsAnagFis.fieldByName(kEmployeeCode).asString());
                ds.fieldByName(kPerson).setAsInteger(personOf(cdsAnagFis));
            } else if (&ds == &cdsAutSommeEro) {
                // The amounts belong to the self-employed worker.
                ds.fieldByName(kPerson).setAsInteger(personOf(cdsAutonomo));
            } else if (&ds == &cdsAutonomo) {
                ds.fieldByName(u"SDAU7GRUPPOANA"_s).setAsString(u"A"_s);
            } else if (t.codeField == kEmployeeCode && &ds != &cdsAnagFis) {
                ds.fieldByName(kPerson).setAsInteger(personOf(cdsAnagFis));
            }
            t.inserting = ds.state() == DataSetState::Insert;
        };
        e.afterPost = [this, &t](ClientDataSet &ds) {
            if (t.inserting && !t.codeField.isEmpty())
                t.rows[codeKey(ds.fieldByName(t.codeField).asString())].append(ds.bookmark());
            t.inserting = false;
            changed(t);
        };
        e.afterDelete = [this, &t](ClientDataSet &) { changed(t); };
    }
    cdsInps.events().onNewRecord = [](ClientDataSet &ds) {
        for (const QString &month :
             {u"GENNAIO"_s, u"FEBBRAIO"_s, u"MARZO"_s, u"APRILE"_s, u"MAGGIO"_s, u"GIUGNO"_s, u"LUGLIO"_s, u"AGOSTO"_s,
              u"SETTEMBRE"_s, u"OTTOBRE"_s, u"NOVEMBRE"_s, u"DICEMBRE"_s}) {
            ds.fieldByName(u"LINPS7"_s + month).setAsString(u"1"_s);
            ds.fieldByName(u"LINPS7"_s + month + u"_C"_s).setAsString(u"1"_s);
        }
    };
    cdsInpdap.events().onNewRecord = [](ClientDataSet &ds) {
        for (const QString &month :
             {u"GENNAIO"_s, u"FEBBRAIO"_s, u"MARZO"_s, u"APRILE"_s, u"MAGGIO"_s, u"GIUGNO"_s, u"LUGLIO"_s, u"AGOSTO"_s,
              u"SETTEMBRE"_s, u"OTTOBRE"_s, u"NOVEMBRE"_s, u"DICEMBRE"_s})
            ds.fieldByName(u"LINPDAP7"_s + month).setAsString(u"1"_s);
    };
    cdsConFamCar.events().onNewRecord = [](ClientDataSet &ds) {
        for (const QString &flag :
             {u"LCFC7RELPARCON"_s, u"LCFC7RELPARPRIFIGL"_s, u"LCFC7RELPARFIGL"_s, u"LCFC7RELPARFIGLALTRFAM"_s,
              u"LCFC7RELPARPRIFIGLDIS"_s, u"LCFC7RELPARFIGLDIS"_s, u"LCFC7DET100AFFPRIFIGL"_s, u"LCFC7DET100AFFFIGL"_s})
            ds.fieldByName(flag).setAsString(u"0"_s);
    };
}

TdmElhImport::Table &TdmElhImport::table(ClientDataSet &ds)
{
    for (Table &t : m_tables) {
        if (t.ds == &ds)
            return t;
    }
    throw EAssertionFailed(u"%1 non è una tabella dell'importazione"_s.arg(ds.name()));
}

void TdmElhImport::openTable(Table &t)
{
    m_store.open(*t.ds, t.name);
    t.loaded = true;
    indexRows(t);
}

void TdmElhImport::indexRows(Table &t)
{
    t.rows.clear();
    if (t.codeField.isEmpty())
        return;
    const Field &code = t.ds->fieldByName(t.codeField);
    for (int r = 1; r <= t.ds->viewCount(); ++r) {
        const RecordPeek peek(*t.ds, r);
        t.rows[codeKey(code.asString())].append(t.ds->bookmarkAt(r));
    }
}

void TdmElhImport::loadCertifications()
{
    {
        const CertificationProgram eli(m_store);
        m_store.open(cdsSostCUD, u"TCUS_DATISOST"_s);
        m_store.open(cdsCUD, u"TCUD_DATICUD"_s);
        m_store.open(cdsCUDInps, u"TCUDI_INPS"_s);
        m_store.open(cdsCUDInpdap, u"TCUDN_INPDAP"_s);
        m_store.open(cdsCUDConFamCar, u"TCUDC_CONFAMCARICO"_s);
        m_store.open(cdsCudAutSommeEro, u"TASE_AUTSOMMEEROGATE"_s);
        m_store.open(cdsCudInail, u"TCUIN_INAIL"_s);
    }
    cdsCUD.setIndexFieldNames(u"SCUDCODFIS;SCUDMESE"_s);
    cdsCudAutSommeEro.setIndexFieldNames(u"SCUDCODFIS;SCUDMESE"_s);
    for (SubTable &sub : m_subTables) {
        sub.rows.clear();
        const Field &code = sub.ds->fieldByName(kCertificationCode);
        const Field &month = sub.ds->fieldByName(kMonth);
        for (int r = 1; r <= sub.ds->viewCount(); ++r) {
            const RecordPeek peek(*sub.ds, r);
            sub.rows[subKey(code.asString(), month.asString())].append(sub.ds->bookmarkAt(r));
        }
    }
}

void TdmElhImport::openReturnTables()
{
    for (Table &t : m_tables) {
        if (!t.loaded)
            openTable(t);
    }
    m_otherAgents.clear();
    const Field &code = cdsSostEst.fieldByName(u"CODICE"_s);
    for (int r = 1; r <= cdsSostEst.viewCount(); ++r) {
        const RecordPeek peek(cdsSostEst, r);
        m_otherAgents.insert(code.asString().trimmed());
    }
}

void TdmElhImport::closeTables()
{
    for (ClientDataSet *ds :
         {&cdsSostCUD, &cdsCUD, &cdsCUDInps, &cdsCUDInpdap, &cdsCUDConFamCar, &cdsCudAutSommeEro, &cdsCudInail})
        ds->close();
    for (Table &t : m_tables) {
        t.ds->close();
        t.loaded = false;
        t.rows.clear();
    }
}

QList<Bookmark> TdmElhImport::rowsOf(Table &t, const QString &code)
{
    QList<Bookmark> rows;
    const auto it = t.rows.constFind(codeKey(code));
    if (it == t.rows.constEnd())
        return rows;
    for (const Bookmark &b : *it) {
        if (t.ds->bookmarkValid(b))
            rows.append(b);
    }
    return rows;
}

QList<Bookmark> TdmElhImport::subRows(SubTable &sub, const QString &code, const QString &month)
{
    return sub.rows.value(subKey(code, month));
}

// --- Saving: at once, or with the person's transaction ------------------------------------

void TdmElhImport::changed(Table &t)
{
    if (!m_inPerson) {
        save(t);
        return;
    }
    if (std::find(m_touched.begin(), m_touched.end(), &t) == m_touched.end())
        m_touched.push_back(&t);
}

void TdmElhImport::save(Table &t)
{
    if (t.ds->changeCount() > 0)
        m_store.save(*t.ds, t.name);
}

void TdmElhImport::beginRun()
{
    TdmNrConnection &connection = *m_store.connection();
    m_runTransaction = !connection.inTransaction();
    if (m_runTransaction)
        connection.startTransaction();
    m_sinceCommit = 0;
}

void TdmElhImport::endRun(bool confirm)
{
    if (!m_runTransaction)
        return;
    m_runTransaction = false;
    TdmNrConnection &connection = *m_store.connection();
    if (confirm) {
        connection.commitTransaction();
        return;
    }
    try {
        connection.rollbackTransaction();
    } catch (const Exception &) {
        // The failure that stopped the run is the one to report.
    }
}

QString TdmElhImport::annotationSlot(int slot)
{
    return u"SANN7%1"_s.arg(slot, 2, 10, QChar(u'0'));
}

void TdmElhImport::checkpoint()
{
    if (!m_runTransaction || ++m_sinceCommit < kPeoplePerCommit)
        return;
    commitBatch();
}

void TdmElhImport::commitBatch()
{
    TdmNrConnection &connection = *m_store.connection();
    connection.commitTransaction();
    connection.startTransaction();
    m_sinceCommit = 0;
    ++m_commits;
}

void TdmElhImport::beginPerson()
{
    TdmNrConnection &connection = *m_store.connection();
    m_ownTransaction = !connection.inTransaction();
    if (m_ownTransaction)
        connection.startTransaction();
    else
        connection.savepoint(kPersonSavepoint);
    m_inPerson = true;
    m_touched.clear();
    m_logMark = m_log.mark();
}

void TdmElhImport::commitPerson()
{
    // The person's tables are saved as one: their value rows go out together.
    QList<std::pair<ClientDataSet *, QString>> changes;
    for (Table &t : m_tables) {
        if (std::find(m_touched.begin(), m_touched.end(), &t) != m_touched.end() && t.ds->changeCount() > 0)
            changes.append({t.ds, t.name});
    }
    if (!changes.isEmpty())
        m_store.save(changes);
    m_inPerson = false;
    m_touched.clear();
    if (m_ownTransaction)
        m_store.connection()->commitTransaction();
    else
        m_store.connection()->releaseSavepoint(kPersonSavepoint);
}

void TdmElhImport::abandonPerson()
{
    m_inPerson = false;
    // What the person's steps logged is undone with them.
    m_log.rollback(m_logMark);
    TdmNrConnection &connection = *m_store.connection();
    try {
        if (m_ownTransaction) {
            connection.rollbackTransaction();
        } else if (connection.inTransaction()) {
            connection.rollbackToSavepoint(kPersonSavepoint);
            connection.releaseSavepoint(kPersonSavepoint);
        }
    } catch (const Exception &) {
        // The failure that brought us here is the one to report.
    }
    // The tables hold what the person's steps did, saved or not: they are
    // read again as the database has them after the rollback.
    for (Table &t : m_tables) {
        if (t.ds->state() == DataSetState::Edit || t.ds->state() == DataSetState::Insert)
            t.ds->cancel();
    }
    const std::vector<Table *> touched = std::exchange(m_touched, {});
    for (Table *t : touched)
        openTable(*t);
}

void TdmElhImport::inPerson(const std::function<void()> &work, const std::function<void(const QString &)> &failed)
{
    beginPerson();
    try {
        work();
        commitPerson();
    } catch (const EEarlierWriteFailed &) {
        // Another person's writes, refused late: his batch runs again.
        m_inPerson = false;
        throw;
    } catch (const Exception &e) {
        abandonPerson();
        failed(e.message());
    }
    // Outside the person's guard: a batch the database does not confirm
    // stops the run rather than be logged as imported.
    checkpoint();
}

qint64 TdmElhImport::personOf(ClientDataSet &registry)
{
    Field &person = registry.fieldByName(kPerson);
    if (person.asLargeInt() == 0) {
        // The person's registry row is saved with the rest of the person.
        const bool editing = registry.state() != DataSetState::Browse;
        if (!editing)
            registry.edit();
        person.setAsInteger(m_store.newPerson());
        if (!editing)
            registry.post();
    }
    return person.asLargeInt();
}

// --- The run --------------------------------------------------------------------------------

bool TdmElhImport::ImportCUD(const QStringList &codes, const Options &options, NrProgress *progress)
{
    m_log.clear();
    m_failed.clear();
    m_contracts.reset();
    QStringList selection;
    for (const QString &code : codes) {
        if (!selection.contains(codeKey(code)))
            selection.append(codeKey(code));
    }
    const QSet<QString> selected(selection.cbegin(), selection.cend());
    startProgress(progress, static_cast<int>(selection.size()));

    m_definitions = definitionsFile();
    m_engine = std::make_unique<TImportXML>(m_findings);
    m_engine->SetReverse(false);
    // Definitions that cannot be used stop the run before anything changes.
    if (!m_engine->Load(m_definitions)) {
        m_engine.reset();
        return false;
    }
    m_annotationCodes.clear();
    ClientDataSet annotations;
    THlmCds::loadFromFile(annotations,
                          DataPaths::fromRoot(u"USR\\FL2023\\Res\\Tabelle\\"_s + u"TANN_ANNOTAZIONI.cds"_s),
                          m_store.findings());
    for (annotations.first(); !annotations.eof(); annotations.next())
        m_annotationCodes.insert(annotations.fieldByName(u"CODICE"_s).asString().trimmed().toUpper());

    return runAndClose([&] {
        loadCertifications();
        openReturnTables();
        if (options.importAgent)
            importAgent();
        startComputationParts();
        openStoricoTassazioneSeparata();
        openDetrazioniFamiliari();

        // The certifications of a person follow one another in the order of
        // code and month; each person is imported with all of them and the
        // computations on him, in one transaction.
        // Certifications without a code are reported when everyone is imported.
        bool everyone = true;
        for (cdsCUD.first(); !cdsCUD.eof() && everyone; cdsCUD.next()) {
            const QString code = codeKey(cdsCUD.fieldByName(kCertificationCode).asString());
            everyone = code.isEmpty() || selected.contains(code);
        }
        QSet<QString> seen;
        bool stopped = false;
        // People go in batches, a transaction each. A batch whose writes the
        // server refused after their person was counted is rolled back and
        // run again, each person confirmed at once, which refuses that one as
        // usual. What came before the people is confirmed first.
        const bool confirmLater = m_runTransaction && m_store.connection()->isPostgreSQL();
        if (m_runTransaction)
            commitBatch();
        cdsCUD.first();
        while (!cdsCUD.eof() && !stopped) {
            const BatchStart start{cdsCUD.bookmark(), m_log.mark(), m_failed, m_done, m_lastPerson, seen};
            try {
                stopped = importBatch(selected, everyone, seen, options, confirmLater);
            } catch (const EEarlierWriteFailed &) {
                restartBatch(start, seen);
                stopped = importBatch(selected, everyone, seen, options, false);
            }
        }
        // A person chosen without certifications only loses his rows.
        for (const QString &code : std::as_const(selection)) {
            if (seen.contains(code))
                continue;
            if (stopped || stopRequested(u"Importazione"_s))
                break;
            nextPerson(code);
            inPerson([&] { deletePerson(code); },
                     [&](const QString &error) {
                         m_failed.append(code);
                         m_log.openBlock();
                         m_log.append(error);
                         m_log.closeBlock(code);
                     });
        }
        m_engine.reset();
        xqcTassSep.close();
        cdsAppoTS.close();
        xqcAdet.close();
        cdsAppoAdet.close();
    });
}

void TdmElhImport::startProgress(NrProgress *progress, int total)
{
    m_progress = progress;
    m_done = 0;
    m_total = total;
    m_lastPerson.clear();
}

void TdmElhImport::nextPerson(const QString &who)
{
    m_lastPerson = who;
    if (m_progress)
        m_progress->step(++m_done, m_total, who);
}

bool TdmElhImport::stopRequested(const QString &run)
{
    if (!m_progress || !m_progress->cancelled())
        return false;
    m_log.conclude(stoppedLine(run, m_done, m_total, m_lastPerson));
    return true;
}

QString TdmElhImport::stoppedLine(const QString &run, int done, int total, const QString &last)
{
    QString text =
        u"%1 terminata dall'utente: elaborati %2 di %3"_s.arg(run, progressCount(done), progressCount(total));
    if (done > 0)
        text += u", l'ultimo è "_s + last;
    return text + u"; gli altri sono rimasti come erano"_s;
}

bool TdmElhImport::runAndClose(const std::function<void()> &work)
{
    try {
        beginRun();
        work();
        endRun(true);
    } catch (...) {
        endRun(false);
        m_engine.reset();
        m_progress = nullptr;
        closeTables();
        throw;
    }
    m_engine.reset();
    m_progress = nullptr;
    closeTables();
    return m_failed.isEmpty();
}

bool TdmElhImport::importBatch(const QSet<QString> &selected, bool everyone, QSet<QString> &seen,
                               const Options &options, bool confirmLater)
{
    TdmNrConnection &connection = *m_store.connection();
    connection.setConfirmLater(confirmLater);
    const auto onTime = qScopeGuard([&connection] { connection.setConfirmLater(false); });
    const int commits = m_commits;
    bool stopped = false;
    while (!cdsCUD.eof() && m_commits == commits) {
        const QString code = codeKey(cdsCUD.fieldByName(kCertificationCode).asString());
        QList<Bookmark> certifications;
        for (; !cdsCUD.eof() && codeKey(cdsCUD.fieldByName(kCertificationCode).asString()) == code; cdsCUD.next()) {
            certifications.append(cdsCUD.bookmark());
            addOtherAgent();
        }
        if (code.isEmpty() && everyone) {
            refuseWithoutCode(certifications);
        } else if (!code.isEmpty() && selected.contains(code)) {
            stopped = stopRequested(u"Importazione"_s);
            if (stopped)
                break;
            seen.insert(code);
            importPerson(code, certifications, options);
        } else {
            continue;
        }
        cdsCUD.gotoBookmark(certifications.constLast());
        cdsCUD.next();
    }
    if (confirmLater)
        connection.confirmSent();
    return stopped;
}

void TdmElhImport::restartBatch(const BatchStart &start, QSet<QString> &seen)
{
    TdmNrConnection &connection = *m_store.connection();
    connection.rollbackTransaction();
    connection.startTransaction();
    m_sinceCommit = 0;
    m_inPerson = false;
    m_touched.clear();
    m_log.rollback(start.log);
    m_failed = start.failed;
    m_done = start.done;
    m_lastPerson = start.lastPerson;
    seen = start.seen;
    // The tables are read again as the database has them.
    for (Table &t : m_tables) {
        if (t.ds->state() == DataSetState::Edit || t.ds->state() == DataSetState::Insert)
            t.ds->cancel();
        t.ds->close();
        t.loaded = false;
        t.rows.clear();
    }
    openReturnTables();
    cdsCUD.gotoBookmark(start.position);
}

void TdmElhImport::importPerson(const QString &code, const QList<Bookmark> &certifications, const Options &options)
{
    cdsCUD.gotoBookmark(certifications.first());
    rememberName();
    nextPerson(m_surname + u' ' + m_name);
    m_log.openBlock();
    const QString problem = FiscalCode::problem(code);
    if (!problem.isEmpty()) {
        m_failed.append(code);
        m_log.append(problem + u": certificazione non importata"_s);
        m_log.closeBlock(m_surname + u' ' + m_name);
        return;
    }
    inPerson(
        [&] {
            deletePerson(code);
            for (const Bookmark &certification : certifications) {
                cdsCUD.gotoBookmark(certification);
                importCertification(code);
            }
            if (options.additionalTaxes)
                riportaAddizionaliPersona(code);
            ricalcolaDetrazioniPersona(code);
            scorporaTassazioneSeparataPersona(code);
            importaFamiliariDipendente(code);
        },
        [&](const QString &error) {
            m_failed.append(code);
            if (!m_log.blockOpen())
                m_log.openBlock();
            m_log.append(u"Importazione non riuscita, i dati già presenti del dipendente non sono stati modificati: "_s
                         + error);
            m_log.closeBlock(m_surname + u' ' + m_name);
        });
}

void TdmElhImport::refuseWithoutCode(const QList<Bookmark> &certifications)
{
    for (const Bookmark &certification : certifications) {
        cdsCUD.gotoBookmark(certification);
        rememberName();
        const QString who = QString(m_surname + u' ' + m_name).trimmed();
        m_failed.append(who);
        m_log.openBlock();
        m_log.append(u"Certificazione senza codice fiscale: non importata"_s);
        m_log.closeBlock(who);
    }
}

void TdmElhImport::rememberName()
{
    // As the log can show it: a control character by its name.
    m_surname = Field::visibleText(cdsCUD.fieldByName(u"SCUDCOGNOME"_s).asString().trimmed());
    m_name = Field::visibleText(cdsCUD.fieldByName(u"SCUDNOME"_s).asString().trimmed());
}

void TdmElhImport::importCertification(const QString &code)
{
    rememberName();
    m_log.openBlock();
    const QString month = cdsCUD.fieldByName(kMonth).asString().trimmed();
    const bool adjusting = isX(cdsCUD.fieldByName(u"LCUDCONGUAGLIO"_s));
    // A comprehensive or adjusting certification replaces what the earlier
    // certifications of the person brought; any other adds to it.
    if ((adjusting || isX(cdsCUD.fieldByName(u"LCUDCOMPRENSIVO"_s)))
        && (!rowsOf(table(cdsAnagFis), code).isEmpty() || !rowsOf(table(cdsAutonomo), code).isEmpty()))
        deletePerson(code);

    // Without his registry row nothing of the employee can be written.
    if (importRegistry(code, adjusting)) {
        importFiscalData();
        assistenza730(code);
        importSingle(u"CUD_Cong"_s, cdsDtCong, code,
                     {u"FCUDIRPEFTRATT28F", u"FCUDIRPEFVERSERAR", u"FCUDIMPONPTO1", u"FCUDIMPONPTO2"}, [this] {
                         const Decimal point1 = cdsDtCong.fieldByName(u"FCON7IMPONPTO1"_s).asCurrency();
                         if (point1 > Decimal())
                             cdsDtCong.fieldByName(u"FCON7IMPCONGUAGL"_s).setAsCurrency(point1);
                     });
        importSingle(u"CUD_ReddImp"_s, cdsReddAssRitImp, code,
                     {u"FCUDTOTREDDITI", u"FCUDTOTRITIRPEF", u"FCUDTOTADDREGIRPEF", u"FCUDTOTRITIRPEFSOSP",
                      u"FCUDTOTADDREGIRPEFSOSP"});
        importSingle(u"CUD_SommEroLavStra"_s, cdsSommEroLavStra, code,
                     {u"FCUDTOTREDDSTRA", u"FCUDTOTRITOPE", u"FCUDTOTRITSOSSTR", u"FCUDREDDNIMPART51", u"LCUDVEDISTR"});
        importSingle(u"CUD_Tass"_s, cdsTassSep, code,
                     {u"FCUDTCOMPARRDETR", u"FCUDTCOMPARRNODETR", u"FCUDTOTRITOPER", u"FCUDTOTRITSOS"});
        importSingle(u"CUD_Tfr"_s, cdsTfr, code,
                     {u"FCUDINDENANNO", u"FCUDACCANNIPREC", u"FCUDDETRTAXSEP", u"FCUDRITOPERATEANNO",
                      u"FCUDRITENUTESOSP", u"FCUDRITOPERANNIPRE", u"FCUDRITENUTESOSPAP", u"FCUDTFRAZIENDAAP",
                      u"FCUDTFRFONDOAP", u"FCUDTFRAZIENDAAC", u"FCUDTFRFONDOAC", u"FCUDTFRFONDO07", u"FCUDQUOTA2122"});
        importInps(code, month);
        importInpdap(code, month);
        importDependants(code, month);
        importAnnotations(code);
        importSingle(u"CUD_ReddEst"_s, cdsReddEst, code,
                     {u"ICUDDETCRECODEST", u"ICUDDETANNPERCREDD", u"FCUDDETANNREDDEST", u"FCUDDETANNIMPDEF"});
        importSingle(u"CUD_ContrPrevFamCarico"_s, cdsPreCompFamCar, code,
                     {u"FCUDPREVFAMCARICO", u"FCUDPREVFAMCARDED", u"FCUDPREVFAMCARNDED"});
        importInail(code, month);
    }
    importSelfEmployed(code, month);
    if (locateEmployee(code))
        removeEmptyEmployee(code);
    m_log.closeBlock(m_surname + u' ' + m_name);
}

void TdmElhImport::addOtherAgent()
{
    const QString other = cdsCUD.fieldByName(u"SCUDALTROSOSCODFIS"_s).asString().trimmed();
    if (other.isEmpty() || m_otherAgents.contains(other))
        return;
    cdsSostEst.append();
    cdsSostEst.fieldByName(u"CODICE"_s).setAsString(other);
    cdsSostEst.fieldByName(u"DENOMINAZI0NE"_s).setAsString(QString());
    cdsSostEst.post();
    m_otherAgents.insert(other);
}

void TdmElhImport::importAgent()
{
    if (cdsImpSost.isEmpty()) {
        cdsImpSost.append();
        cdsImpSost.fieldByName(u"ISOSSEZ"_s).setAsInteger(1);
        for (const QString &flag : {u"LSOSCORRETTIVA"_s,
                                    u"LSOSINTEGRATIVA"_s,
                                    u"LSOSEVECCEZ"_s,
                                    u"LSOSAVVISO"_s,
                                    u"LSOSAVVISORIC"_s,
                                    u"LSOSSS"_s,
                                    u"LSOSST"_s,
                                    u"LSOSSX"_s,
                                    u"LSOSSY"_s,
                                    u"LSOSDICHCONTRIB"_s,
                                    u"LSOSDICHNOCONTRIB"_s,
                                    u"LSOSVISTO"_s,
                                    u"LSOSCONFERMADICH"_s,
                                    u"LSOSSSPARZ"_s,
                                    u"LSOSSTPARZ"_s,
                                    u"LSOSSVPARZ"_s,
                                    u"LSOSSXPARZ"_s,
                                    u"LSOSSYPARZ"_s,
                                    u"LSOSORD"_s,
                                    u"LSOSPREAVTELE"_s,
                                    u"LSOSSV"_s,
                                    u"LSOSDI"_s,
                                    u"LSOSCASIPART"_s,
                                    u"LSOSINCGESSEP"_s,
                                    u"LGESCFSOS1"_s,
                                    u"LGESCFSOS2"_s})
            cdsImpSost.fieldByName(flag).setAsString(u"0"_s);
    } else {
        cdsImpSost.first();
        cdsImpSost.edit();
    }
    const QString certified = cdsSostCUD.fieldByName(u"SSOSCODFIS"_s).asString().trimmed();
    const QString school = schoolFiscalCode(m_store.connection(), m_params);
    QString code = certified;
    // The school's own code wins; a school the database does not know keeps
    // the certification's.
    if (!school.isEmpty() && school != certified) {
        m_findings.warning(
            u"Codice fiscale della scuola (%1) non congruente con quello presente nel CUD (%2). Verrà importato %1"_s
                .arg(school, certified));
        code = school;
    }
    cdsImpSost.fieldByName(u"SSOSCODFIS"_s).setAsString(code);
    for (const auto &[to, from] :
         {std::pair{u"SSOSDENOM"_s, u"SSOSDENOM"_s}, std::pair{u"SSOSCOMUNESL"_s, u"SSOSCOMUNE"_s},
          std::pair{u"SSOSPROVSL"_s, u"SSOSPROV"_s}, std::pair{u"SSOSCAPSL"_s, u"SSOSCAP"_s},
          std::pair{u"SSOSINDIRIZSL"_s, u"SSOSINDIRIZZO"_s}, std::pair{u"SSOSEMAIL"_s, u"SSOSEMAIL"_s},
          std::pair{u"SCOACODICE"_s, u"SSOSCODATTIVITA"_s}})
        cdsImpSost.fieldByName(to).setValue(cdsSostCUD.fieldByName(from).value());
    cdsImpSost.post();
}

bool TdmElhImport::locateEmployee(const QString &code)
{
    const QList<Bookmark> rows = rowsOf(table(cdsAnagFis), code);
    if (rows.isEmpty())
        return false;
    cdsAnagFis.gotoBookmark(rows.first());
    return true;
}

void TdmElhImport::runSection(const QString &section, ClientDataSet &source, ClientDataSet &target)
{
    // A section that cannot be copied whole fails the person: what he had
    // stays, and his block of the log says which field stopped it.
    FindingList problems;
    bool done = false;
    m_engine->SetFindings(problems);
    try {
        done = m_engine->ExecuteLoaded(section, source, target);
    } catch (...) {
        m_engine->SetFindings(m_findings);
        throw;
    }
    m_engine->SetFindings(m_findings);
    if (done)
        return;
    const QString problem = problems.isEmpty() ? QString() : problems.entries().constLast().text;
    if (target.state() != DataSetState::Browse)
        target.cancel();
    throw ENrError(problem.isEmpty()
                       ? u"la sezione %1 manca nel file «%2»"_s.arg(section, QDir::toNativeSeparators(m_definitions))
                       : u"sezione %1, %2"_s.arg(section, problem));
}

bool TdmElhImport::importRegistry(const QString &code, bool adjusting)
{
    if (locateEmployee(code))
        return true;
    cdsAnagFis.append();
    m_engine->Vars(1) = adjusting ? u"S"_s : u"N"_s;
    runSection(u"CUD_Ana"_s, cdsCUD, cdsAnagFis);
    Field &categoryField = cdsAnagFis.fieldByName(u"SCAP7CODICE"_s);
    if (categoryField.asString().trimmed().isEmpty())
        categoryField.setAsString(category(code));
    cdsAnagFis.post();
    return true;
}

TdmKbrCalcola::Contratto TdmElhImport::contract(const QString &code)
{
    if (!m_contracts)
        m_contracts = m_calcola.contratti(m_params.anfId());
    return m_contracts->value(code);
}

QString TdmElhImport::category(const QString &code)
{
    const TdmKbrCalcola::Contratto c = contract(code);
    if (c.itnoId == 17)
        return u"P"_s;
    switch (c.iqarId) {
    case 5:
    case 14:
    case 29:
        return u"E"_s;
    case 7:
    case 8:
    case 9:
    case 12:
        return u"D"_s;
    default:
        return QString();
    }
}

void TdmElhImport::importFiscalData()
{
    cdsAnagFis.edit();
    runSection(u"CUD_Fis"_s, cdsCUD, cdsAnagFis);
    Field &days = cdsAnagFis.fieldByName(u"IFIS7PERIODOLAV"_s);
    if (days.asInteger() > 365)
        days.setAsInteger(365);
    cdsAnagFis.post();
}

void TdmElhImport::editOrInsert(ClientDataSet &target, const QString &code, const QList<Key> &keys)
{
    for (const Bookmark &row : rowsOf(table(target), code)) {
        target.gotoBookmark(row);
        const bool same = std::all_of(keys.cbegin(), keys.cend(), [&target](const Key &key) {
            return target.fieldByName(QString::fromUtf16(key.first))
                       .asString()
                       .trimmed()
                       .compare(key.second.trimmed(), Qt::CaseInsensitive)
                   == 0;
        });
        if (same) {
            target.edit();
            return;
        }
    }
    target.append();
}

void TdmElhImport::importSingle(const QString &section, ClientDataSet &target, const QString &code,
                                std::initializer_list<const char16_t *> triggers, const std::function<void()> &after)
{
    if (std::none_of(triggers.begin(), triggers.end(), [this](const char16_t *column) {
            return holdsValue(cdsCUD.fieldByName(QString::fromUtf16(column)));
        }))
        return;
    editOrInsert(target, code, {});
    runSection(section, cdsCUD, target);
    if (after)
        after();
    target.post();
}

void TdmElhImport::importInps(const QString &code, const QString &month)
{
    for (const Bookmark &row : subRows(m_subTables[0], code, month)) {
        cdsCUDInps.gotoBookmark(row);
        editOrInsert(cdsInps, code, {{u"SINPS7MATRAZIENDA", cdsCUDInps.fieldByName(u"SCUDMATRAZIENDA"_s).asString()}});
        runSection(u"CUD_Inps"_s, cdsCUDInps, cdsInps);
        cdsInps.post();
    }
}

void TdmElhImport::importInpdap(const QString &code, const QString &month)
{
    static const char16_t *const amounts[] = {
        u"FINPDAP7_DMA_IMPPENS",   u"FINPDAP7_DMA_CONPENS",   u"FINPDAP7_DMA_IMPTFS",     u"FINPDAP7_DMA_CONTFS",
        u"FINPDAP7_DMA_IMPTFR",    u"FINPDAP7_DMA_CONTFR",    u"FINPDAP7_DMA_IMPCREDITO", u"FINPDAP7_DMA_CONCREDITO",
        u"FINPDAP7_DMA_IMPENPDEP", u"FINPDAP7_DMA_CONENPDEDP"};
    const auto zero = [this](const char16_t *column) {
        return cdsInpdap.fieldByName(QString::fromUtf16(column)).asCurrency().isZero();
    };
    for (const Bookmark &row : subRows(m_subTables[1], code, month)) {
        cdsCUDInpdap.gotoBookmark(row);
        const QString administration = cdsCUDInpdap.fieldByName(u"SCUDCODFISAMMNE"_s).asString();
        if (administration.trimmed().isEmpty())
            continue;
        editOrInsert(cdsInpdap, code,
                     {{u"IINPDAP7ANNORIF", cdsCUDInpdap.fieldByName(u"ICUDANNORIF"_s).asString()},
                      {u"SINPDAP7CODFISAMMNE", administration}});
        runSection(u"CUD_Inpdap"_s, cdsCUDInpdap, cdsInpdap);
        if (zero(u"FINPDAP7_DMA_IMPTFR") && zero(u"FINPDAP7_DMA_CONTFR"))
            cdsInpdap.fieldByName(u"SINPDAP7GESASS_2"_s).setAsString(QString());
        cdsInpdap.post();
        if (std::all_of(std::begin(amounts), std::end(amounts), zero))
            cdsInpdap.deleteRecord();
    }
}

void TdmElhImport::importDependants(const QString &code, const QString &month)
{
    const auto on = [this](const char16_t *flag) {
        return cdsConFamCar.fieldByName(QString::fromUtf16(flag)).asString().trimmed() == u"1";
    };
    const auto clear = [this](const char16_t *flag) {
        cdsConFamCar.fieldByName(QString::fromUtf16(flag)).setAsString(u"0"_s);
    };
    for (const Bookmark &row : subRows(m_subTables[2], code, month)) {
        cdsCUDConFamCar.gotoBookmark(row);
        cdsConFamCar.append();
        runSection(u"CUD_ConFamCar"_s, cdsCUDConFamCar, cdsConFamCar);
        if (on(u"LCFC7RELPARPRIFIGLDIS"))
            clear(u"LCFC7RELPARPRIFIGL");
        if (on(u"LCFC7RELPARFIGLDIS")) {
            clear(u"LCFC7RELPARFIGLALTRFAM");
            clear(u"LCFC7RELPARFIGL");
        } else if (on(u"LCFC7RELPARFIGLALTRFAM")) {
            clear(u"LCFC7RELPARFIGL");
        }
        cdsConFamCar.post();
    }
}

void TdmElhImport::importInail(const QString &code, const QString &month)
{
    for (const Bookmark &row : subRows(m_subTables[4], code, month)) {
        cdsCudInail.gotoBookmark(row);
        editOrInsert(cdsInail, code,
                     {{u"SQUACODICE", cdsCudInail.fieldByName(u"SQUACODICE"_s).asString()},
                      {u"SINA7POSASSTERR", cdsCudInail.fieldByName(u"SINA7POSASSTERR"_s).asString()}});
        runSection(u"CUD_Inail"_s, cdsCudInail, cdsInail);
        cdsInail.post();
    }
}

void TdmElhImport::importAnnotations(const QString &code)
{
    const QString text = cdsCUD.fieldByName(u"SCUDANNOTAZIONI"_s).asString();
    if (text.trimmed().isEmpty())
        return;
    try {
        const QList<Bookmark> rows = rowsOf(table(cdsAnn), code);
        if (rows.isEmpty()) {
            cdsAnn.append();
            cdsAnn.fieldByName(kEmployeeCode).setAsString(code);
        } else {
            cdsAnn.gotoBookmark(rows.first());
            cdsAnn.edit();
        }
        const QString normal = QString(text).replace(u"\r\n"_s, u"\n"_s).replace(u'\r', u'\n');
        int slot = 1;
        bool written = false;
        for (const QString &line : normal.split(u'\n')) {
            const QString trimmed = line.trimmed();
            const qsizetype close = trimmed.indexOf(u')');
            if (close < 1 || trimmed == u"BO)")
                continue;
            const QString annotation = trimmed.left(close).trimmed().toUpper();
            if (!m_annotationCodes.contains(annotation))
                continue;
            // The codes go into the free slots, in order.
            while (slot <= kAnnotationSlots && !cdsAnn.fieldByName(annotationSlot(slot)).asString().trimmed().isEmpty())
                ++slot;
            if (slot > kAnnotationSlots)
                break;
            cdsAnn.fieldByName(annotationSlot(slot)).setAsString(annotation);
            written = true;
        }
        if (written)
            cdsAnn.post();
        else
            cdsAnn.cancel();
    } catch (const Exception &) {
        if (cdsAnn.state() != DataSetState::Browse)
            cdsAnn.cancel();
        m_log.append(u"Controllare le annotazioni nel Modello CUD: "_s + m_surname + u' ' + m_name);
    }
}

void TdmElhImport::importSelfEmployed(const QString &code, const QString &month)
{
    const QList<Bookmark> amounts = subRows(m_subTables[3], code, month);
    if (amounts.isEmpty())
        return;
    // A self-employed worker is created only from a certification with amounts.
    const QList<Bookmark> workers = rowsOf(table(cdsAutonomo), code);
    if (workers.isEmpty()) {
        cdsAutonomo.append();
        runSection(u"CUD_AnagraficaAut"_s, cdsCUD, cdsAutonomo);
        cdsAutonomo.post();
    } else {
        cdsAutonomo.gotoBookmark(workers.first());
    }
    for (const Bookmark &row : amounts) {
        cdsCudAutSommeEro.gotoBookmark(row);
        editOrInsert(cdsAutSommeEro, code,
                     {{u"SCAUCODICE", cdsCudAutSommeEro.fieldByName(u"SCAUCODICE"_s).asString()},
                      {u"SDSE7ANNO", cdsCudAutSommeEro.fieldByName(u"SDSE7ANNO"_s).asString()}});
        runSection(u"CUD_AutSommeEro"_s, cdsCudAutSommeEro, cdsAutSommeEro);
        cdsAutSommeEro.post();
    }
}

bool TdmElhImport::employeeHoldsData() const
{
    for (int i = 0; i < cdsAnagFis.fieldCount(); ++i) {
        const Field &f = cdsAnagFis.field(i);
        if (f.isNull() || registryColumns().contains(f.fieldName().toUpper()))
            continue;
        const QString text = f.asString().trimmed();
        if (!text.isEmpty() && text != u"0" && text != kZeroDate)
            return true;
    }
    return false;
}

void TdmElhImport::removeEmptyEmployee(const QString &code)
{
    if (employeeHoldsData())
        return;
    for (ClientDataSet *section :
         {&cdsDtCong, &cdsReddAssRitImp, &cdsSommEroLavStra, &cdsTassSep, &cdsTfr, &cdsInps, &cdsInpdap, &cdsInail}) {
        if (!rowsOf(table(*section), code).isEmpty())
            return;
    }
    // Only the employee goes: a self-employed worker of the same
    // certification stays.
    deletePerson(code, false);
}

void TdmElhImport::deletePerson(const QString &code, bool selfEmployedToo)
{
    std::vector<ClientDataSet *> tables{
        &cdsAnagFis, &cdsDtCong, &cdsReddAssRitImp,  &cdsTassSep, &cdsTfr,           &cdsConFamCar, &cdsInps,
        &cdsInpdap,  &cdsAnn,    &cdsSommEroLavStra, &cdsReddEst, &cdsPreCompFamCar, &cdsInail};
    if (selfEmployedToo) {
        tables.push_back(&cdsAutonomo);
        tables.push_back(&cdsAutSommeEro);
    }
    for (ClientDataSet *ds : tables) {
        for (const Bookmark &row : rowsOf(table(*ds), code)) {
            ds->gotoBookmark(row);
            ds->deleteRecord();
        }
    }
}

// --- For the dialog ---------------------------------------------------------------------------

void TdmElhImport::certifiedPeople(ClientDataSet &people)
{
    {
        const CertificationProgram eli(m_store);
        m_store.open(cdsCUD, u"TCUD_DATICUD"_s);
    }
    people.close();
    people.fieldDefs().clear();
    people.fieldDefs().add(u"CODFIS"_s, FieldType::String, 16);
    people.fieldDefs().add(u"COGNOME"_s, FieldType::String, 60);
    people.fieldDefs().add(u"NOME"_s, FieldType::String, 60);
    people.createDataSet();
    cdsCUD.setIndexFieldNames(u"SCUDCODFIS;SCUDMESE"_s);
    QString last;
    for (cdsCUD.first(); !cdsCUD.eof(); cdsCUD.next()) {
        const QString code = cdsCUD.fieldByName(kCertificationCode).asString().trimmed();
        if (code.isEmpty() || codeKey(code) == last)
            continue;
        last = codeKey(code);
        people.append();
        people.fieldByName(u"CODFIS"_s).setAsString(code);
        people.fieldByName(u"COGNOME"_s).setAsString(cdsCUD.fieldByName(u"SCUDCOGNOME"_s).asString());
        people.fieldByName(u"NOME"_s).setAsString(cdsCUD.fieldByName(u"SCUDNOME"_s).asString());
        people.post();
    }
    people.mergeChangeLog();
    people.first();
    cdsCUD.close();
}

bool TdmElhImport::agentIncomplete()
{
    m_store.open(cdsImpSost, u"TSOS_DATOSOSTITUTO"_s);
    const bool incomplete =
        cdsImpSost.isEmpty() || cdsImpSost.fieldByName(u"SSOSDENOM"_s).asString().trimmed().isEmpty();
    cdsImpSost.close();
    return incomplete;
}
