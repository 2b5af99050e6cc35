#include "ElhMImport.h"

#include "DataPaths.h"
#include "ElhUImportXML.h"
#include "Exceptions.h"
#include "ExportManifest.h"
#include "SchoolFiscalCode.h"
#include "THlmDBCds.h"

#include <QDir>
#include <QFileInfo>

#include <algorithm>
#include <map>

using namespace Qt::Literals::StringLiterals;

const QString TdmElhImport::kExtinctAgentCode =
    u"Codice fiscale del sostituto estinto non impostato o coincidente con l'attuale"_s;

namespace {

const QString kEmployees = u"TDIP7_ANAGRFISCALI"_s;
const QString kSelfEmployed = u"TDAU7_DATIAUTONOM"_s;
const QString kAgent = u"TSOS_DATOSOSTITUTO"_s;
const QString kAmounts = u"TDSE7_SOMMEEROGATE"_s;
const QString kExtinctCode = u"SSOE7CODICE"_s;
// The extinct agents whose data an employee has received, separated by blanks.
const QString kIntegratedFrom = u"SDIP7SOSESTINTEGRATI"_s;

} // namespace

// The extinct agent's return: the tables of the folder, their rows grouped
// by the fiscal code of their person.
struct TdmElhImport::Extinct
{
    struct Table
    {
        QString path;
        ClientDataSet ds;
        QHash<QString, QList<Bookmark>> rows;
    };

    Extinct(const QString &folder, const QStringList &tables)
    {
        if (folder.trimmed().isEmpty() || !QDir(folder).exists())
            throw Exception(
                u"La cartella «%1» dei dati del sostituto estinto non esiste."_s.arg(QDir::toNativeSeparators(folder)));
        this->folder = QDir(folder).absolutePath();
        const QString base = this->folder + u'/';
        for (const QString &name : tables) {
            // The export names its files after the tables; their case may differ.
            const QString path = DataPaths::resolve(base, name + u".cds"_s);
            if (!QFileInfo(path).isFile())
                throw Exception(
                    u"Nella cartella «%1» manca il file %2.cds: la cartella deve contenere i dati del "
                    u"sostituto estinto esportati con «Esporta dati»."_s.arg(QDir::toNativeSeparators(folder), name));
            Table &t = m_tables[name];
            t.path = path;
            t.ds.loadFromFile(path);
            const QString codeField = name == kSelfEmployed || name == kAmounts ? u"SDAU7CODFIS"_s : u"SDIP7CODFIS"_s;
            const Field *code = t.ds.findField(codeField);
            if (name != kAgent && !code)
                throw Exception(u"Il file «%1» non contiene i dati del sostituto estinto: manca il campo %2."_s.arg(
                    QDir::toNativeSeparators(path), codeField));
            for (t.ds.first(); code && !t.ds.eof(); t.ds.next())
                t.rows[code->asString().trimmed().toUpper()].append(t.ds.bookmark());
        }
    }

    ClientDataSet &ds(const QString &table) { return m_tables.at(table).ds; }
    const QString &path(const QString &table) const { return m_tables.at(table).path; }
    QList<Bookmark> rows(const QString &table, const QString &code) { return m_tables.at(table).rows.value(code); }

    // The registry's codes, in order.
    QStringList people(const QString &registry)
    {
        QStringList codes = m_tables.at(registry).rows.keys();
        codes.removeAll(QString());
        codes.sort();
        return codes;
    }

    QString folder;
    QString agentCode;

private:
    std::map<QString, Table> m_tables;
};

namespace {

// A table of the extinct agent's folder: the sections that read it and the
// columns the integration reads itself.
struct Read
{
    QString table;
    QStringList sections;
    QStringList columns;
    bool annotationSlots = false;
};

const QList<Read> &employeeReads()
{
    static const QList<Read> reads{
        {kAgent, {}, {u"SSOSCODFIS"_s, u"SSOSDENOM"_s}},
        {kEmployees,
         {u"CUD_Ana"_s, u"CUD_Fis"_s},
         {u"SDIP7COGNOME"_s, u"SDIP7NOME"_s, u"FFIS7ADDREGRPCESS"_s, u"FFIS7ADDCOMRPCESS"_s, u"SMESCODICEIRPEF"_s,
          u"SMESCODICESR"_s}},
        {u"TCON7_DATICONGUAG"_s, {u"CUD_Cong"_s}, {}},
        {u"TRAR7_REDASSTIRTIT"_s, {u"CUD_ReddImp"_s}, {}},
        {u"TSLS7_SOMEROLAVSTRA"_s, {u"CUD_SommEroLavStra"_s}, {}},
        {u"TTAS7_TASSAZIONESE"_s, {u"CUD_Tass"_s}, {u"STAS7PERIODOIMP"_s}},
        {u"TTFR7_TFR"_s, {u"CUD_Tfr"_s}, {}},
        {u"TINPS7_INPS"_s, {u"CUD_Inps"_s}, {u"SINPS7MATRAZIENDA"_s}},
        {u"TINP7_INPDAP"_s, {u"CUD_Inpdap"_s}, {u"IINPDAP7ANNORIF"_s, u"SINPDAP7CODFISAMMNE"_s}},
        {u"TCFC7_CONFAMCARICO"_s, {u"CUD_ConFamCar"_s}, {}},
        {u"TANN7_ANNOTAZIONI"_s, {}, {}, true}};
    return reads;
}

const QList<Read> &selfEmployedReads()
{
    static const QList<Read> reads{{kAgent, {}, {u"SSOSCODFIS"_s, u"SSOSDENOM"_s}},
                                   {kSelfEmployed, {u"CUD_AnagraficaAut"_s}, {u"SDAU7COGNOME"_s, u"SDAU7NOME"_s}},
                                   {kAmounts, {u"CUD_AutSommeEro"_s}, {u"SCAUCODICE"_s, kExtinctCode}}};
    return reads;
}

QStringList tablesOf(const QList<Read> &reads)
{
    QStringList tables;
    for (const Read &r : reads)
        tables.append(r.table);
    return tables;
}

} // namespace

void TdmElhImport::checkExtinctColumns(Extinct &extinct, bool employees)
{
    const int year = ExportManifest::year(extinct.folder);
    if (year != 0 && year != m_store.year())
        throw Exception(u"La cartella «%1» contiene la dichiarazione dell'anno %2 (%3): l'integrazione richiede i dati "
                        u"del sostituto estinto dell'anno %4."_s.arg(QDir::toNativeSeparators(extinct.folder))
                            .arg(year)
                            .arg(ExportManifest::kFileName)
                            .arg(m_store.year()));
    for (const Read &r : employees ? employeeReads() : selfEmployedReads()) {
        QStringList columns = r.columns;
        for (const QString &section : r.sections)
            columns.append(m_engine->SourceColumns(section));
        for (int slot = 1; r.annotationSlots && slot <= kAnnotationSlots; ++slot)
            columns.append(annotationSlot(slot));
        const ClientDataSet &ds = extinct.ds(r.table);
        for (const QString &column : std::as_const(columns)) {
            if (!ds.findField(column))
                throw Exception(u"Il file «%1» non ha il campo %2 della dichiarazione %3: la cartella deve contenere "
                                u"i dati del sostituto estinto dell'anno %3, esportati con «Esporta dati»."_s
                                    .arg(QDir::toNativeSeparators(extinct.path(r.table)), column)
                                    .arg(m_store.year()));
        }
    }
}

void TdmElhImport::extinctPeople(const QString &folder, Integration which, ClientDataSet &people)
{
    const bool employees = which == Integration::Employees;
    const QString registry = employees ? kEmployees : kSelfEmployed;
    Extinct extinct(folder, {registry});
    ClientDataSet &source = extinct.ds(registry);
    const QString prefix = employees ? u"SDIP7"_s : u"SDAU7"_s;
    people.close();
    people.fieldDefs().clear();
    people.fieldDefs().add(u"CODFIS"_s, FieldType::String, 16);
    people.fieldDefs().add(u"COGNOME"_s, FieldType::String, 60);
    people.fieldDefs().add(u"NOME"_s, FieldType::String, 60);
    people.createDataSet();
    for (const QString &code : extinct.people(registry)) {
        source.gotoBookmark(extinct.rows(registry, code).first());
        people.append();
        people.fieldByName(u"CODFIS"_s).setAsString(code);
        people.fieldByName(u"COGNOME"_s).setAsString(source.fieldByName(prefix + u"COGNOME"_s).asString().trimmed());
        people.fieldByName(u"NOME"_s).setAsString(source.fieldByName(prefix + u"NOME"_s).asString().trimmed());
        people.post();
    }
    people.mergeChangeLog();
    people.setIndexFieldNames(u"CODFIS"_s);
    people.first();
}

bool TdmElhImport::integra(const QString &folder, Integration which, const QStringList &codes, NrProgress *progress)
{
    const bool employees = which == Integration::Employees;
    Extinct extinct(folder, tablesOf(employees ? employeeReads() : selfEmployedReads()));
    const QString registry = employees ? kEmployees : kSelfEmployed;
    QStringList selection;
    for (const QString &code : codes) {
        const QString key = code.trimmed().toUpper();
        if (!selection.contains(key))
            selection.append(key);
    }
    if (selection.isEmpty())
        selection = extinct.people(registry);

    m_definitions = definitionsFile();
    m_engine = std::make_unique<TImportXML>(m_findings);
    m_engine->SetReverse(true);
    if (!m_engine->Load(m_definitions)) {
        m_engine.reset();
        return false;
    }
    // A folder of another year or version is refused before anything changes.
    try {
        checkExtinctColumns(extinct, employees);
    } catch (...) {
        m_engine.reset();
        throw;
    }
    m_log.clear();
    m_failed.clear();
    selection.removeIf([&](const QString &code) { return extinct.rows(registry, code).isEmpty(); });
    startProgress(progress, static_cast<int>(selection.size()));
    return runAndClose([&] {
        openReturnTables();
        extinct.agentCode = presentExtinctAgent(extinct);
        for (const QString &code : std::as_const(selection)) {
            if (stopRequested(u"Integrazione"_s))
                break;
            if (employees)
                integraDipendente(extinct, code);
            else
                integraAutonomo(extinct, code);
        }
        m_engine.reset();
    });
}

QString TdmElhImport::presentExtinctAgent(Extinct &extinct)
{
    ClientDataSet &agent = extinct.ds(kAgent);
    agent.first();
    const QString code = agent.eof() ? QString() : agent.fieldByName(u"SSOSCODFIS"_s).asString().trimmed().toUpper();
    cdsImpSost.first();
    QString current =
        cdsImpSost.eof() ? QString() : cdsImpSost.fieldByName(u"SSOSCODFIS"_s).asString().trimmed().toUpper();
    // A return whose agent is not filled in yet is the school's.
    if (current.isEmpty())
        current = schoolFiscalCode(m_store.connection(), m_params).toUpper();
    if (code.isEmpty() || code == current)
        throw Exception(kExtinctAgentCode);
    // Saved at once: the agent stays whatever becomes of his people.
    if (!m_otherAgents.contains(code)) {
        cdsSostEst.append();
        cdsSostEst.fieldByName(u"CODICE"_s).setAsString(code);
        cdsSostEst.fieldByName(u"DENOMINAZI0NE"_s).setAsString(agent.fieldByName(u"SSOSDENOM"_s).asString().trimmed());
        cdsSostEst.post();
        m_otherAgents.insert(code);
    }
    return code;
}

void TdmElhImport::mergeSection(const QString &section, ClientDataSet &source, ClientDataSet &target)
{
    QHash<int, QVariant> texts;
    for (int i = 0; i < target.fieldCount(); ++i) {
        const Field &f = target.field(i);
        if (!f.isNumeric() && !f.asString().trimmed().isEmpty())
            texts.insert(i, f.value());
    }
    runSection(section, source, target);
    for (auto it = texts.cbegin(); it != texts.cend(); ++it) {
        Field &f = target.field(it.key());
        if (f.asString().trimmed().isEmpty())
            f.setValue(it.value());
    }
}

QStringList TdmElhImport::integratedFrom() const
{
    return cdsAnagFis.fieldByName(kIntegratedFrom).asString().split(u' ', Qt::SkipEmptyParts);
}

void TdmElhImport::startExtinctPerson(ClientDataSet &registry, const QList<Bookmark> &rows, const QString &prefix)
{
    registry.gotoBookmark(rows.first());
    m_surname = registry.fieldByName(prefix + u"COGNOME"_s).asString().trimmed();
    m_name = registry.fieldByName(prefix + u"NOME"_s).asString().trimmed();
    nextPerson(m_surname + u' ' + m_name);
    m_log.openBlock();
}

void TdmElhImport::integraDipendente(Extinct &extinct, const QString &code)
{
    ClientDataSet &anag = extinct.ds(kEmployees);
    startExtinctPerson(anag, extinct.rows(kEmployees, code), u"SDIP7"_s);

    // Puts a row of the extinct agent into the employee's section: edited
    // when found by its keys, inserted otherwise; a failing section cancels
    // its own row only.
    const auto merge = [&](const QString &section, const QString &table, ClientDataSet &target,
                           std::initializer_list<const char16_t *> keys) {
        ClientDataSet &source = extinct.ds(table);
        for (const Bookmark &row : extinct.rows(table, code)) {
            source.gotoBookmark(row);
            QList<Key> values;
            for (const char16_t *key : keys)
                values.append({key, source.fieldByName(QString::fromUtf16(key)).asString()});
            editOrInsert(target, code, values);
            mergeSection(section, source, target);
            target.post();
        }
    };
    // Adjustment data and dependants are not merged when both agents have them.
    const auto copyUnlessBoth = [&](const QString &section, const QString &table, ClientDataSet &target,
                                    const QString &manual) {
        const QList<Bookmark> rows = extinct.rows(table, code);
        if (rows.isEmpty())
            return;
        if (!rowsOf(this->table(target), code).isEmpty()) {
            m_log.append(manual);
            return;
        }
        ClientDataSet &source = extinct.ds(table);
        for (const Bookmark &row : rows) {
            source.gotoBookmark(row);
            target.append();
            runSection(section, source, target);
            target.post();
        }
    };

    inPerson(
        [&] {
            if (locateEmployee(code)) {
                if (integratedFrom().contains(extinct.agentCode)) {
                    m_log.append(u"Dati del sostituto estinto già integrati"_s);
                    return;
                }
                m_log.append(u"Dati dipendenti integrati"_s);
            } else {
                cdsAnagFis.append();
                runSection(u"CUD_Ana"_s, anag, cdsAnagFis);
                cdsAnagFis.fieldByName(kExtinctCode).setAsString(extinct.agentCode);
                cdsAnagFis.post();
                m_log.append(u"Dipendente aggiunto"_s);
            }
            cdsAnagFis.edit();
            mergeSection(u"CUD_Fis"_s, anag, cdsAnagFis);
            // The additional taxes of the termination and the months of the
            // assistance are the extinct agent's.
            for (const QString &column : {u"FFIS7ADDREGRPCESS"_s, u"FFIS7ADDCOMRPCESS"_s})
                cdsAnagFis.fieldByName(column).setValue(anag.fieldByName(column).value());
            for (const QString &column : {u"SMESCODICEIRPEF"_s, u"SMESCODICESR"_s}) {
                if (!anag.fieldByName(column).asString().trimmed().isEmpty())
                    cdsAnagFis.fieldByName(column).setValue(anag.fieldByName(column).value());
            }
            Field &days = cdsAnagFis.fieldByName(u"IFIS7PERIODOLAV"_s);
            if (days.asInteger() > 365)
                days.setAsInteger(365);
            // Marked with his data, so that a rerun does not add them again.
            cdsAnagFis.fieldByName(kIntegratedFrom)
                .setAsCheckedString((integratedFrom() << extinct.agentCode).join(u' '));
            cdsAnagFis.post();
            copyUnlessBoth(u"CUD_Cong"_s, u"TCON7_DATICONGUAG"_s, cdsDtCong,
                           u"*** I dati del conguaglio devono essere integrati manualmente"_s);
            merge(u"CUD_ReddImp"_s, u"TRAR7_REDASSTIRTIT"_s, cdsReddAssRitImp, {});
            merge(u"CUD_SommEroLavStra"_s, u"TSLS7_SOMEROLAVSTRA"_s, cdsSommEroLavStra, {});
            merge(u"CUD_Tass"_s, u"TTAS7_TASSAZIONESE"_s, cdsTassSep, {u"STAS7PERIODOIMP"});
            merge(u"CUD_Tfr"_s, u"TTFR7_TFR"_s, cdsTfr, {});
            merge(u"CUD_Inps"_s, u"TINPS7_INPS"_s, cdsInps, {u"SINPS7MATRAZIENDA"});
            merge(u"CUD_Inpdap"_s, u"TINP7_INPDAP"_s, cdsInpdap, {u"IINPDAP7ANNORIF", u"SINPDAP7CODFISAMMNE"});
            copyUnlessBoth(u"CUD_ConFamCar"_s, u"TCFC7_CONFAMCARICO"_s, cdsConFamCar,
                           u"*** I dati dei familiari a carico devono essere integrati manualmente"_s);
            integraAnnotazioni(extinct, code);
            ricalcolaDetrazioniPersona(code);
        },
        [&](const QString &error) {
            m_failed.append(code);
            m_log.append(u"Integrazione non riuscita, i dati già presenti del dipendente non sono stati modificati: "_s
                         + error);
        });
    m_log.closeBlock(m_surname + u' ' + m_name);
}

void TdmElhImport::integraAnnotazioni(Extinct &extinct, const QString &code)
{
    const QList<Bookmark> rows = extinct.rows(u"TANN7_ANNOTAZIONI"_s, code);
    if (rows.isEmpty())
        return;
    ClientDataSet &source = extinct.ds(u"TANN7_ANNOTAZIONI"_s);
    source.gotoBookmark(rows.first());
    const QList<Bookmark> current = rowsOf(table(cdsAnn), code);
    if (current.isEmpty()) {
        cdsAnn.append();
        cdsAnn.fieldByName(u"SDIP7CODFIS"_s).setAsString(code);
    } else {
        cdsAnn.gotoBookmark(current.first());
        cdsAnn.edit();
    }
    QStringList held;
    for (int slot = 1; slot <= kAnnotationSlots; ++slot)
        held.append(cdsAnn.fieldByName(annotationSlot(slot)).asString().trimmed().toUpper());
    bool written = false;
    for (int from = 1; from <= kAnnotationSlots; ++from) {
        const QString annotation = source.fieldByName(annotationSlot(from)).asString().trimmed().toUpper();
        if (annotation.isEmpty() || held.contains(annotation))
            continue;
        // The codes go into the free slots, in order.
        const qsizetype free = held.indexOf(QString());
        if (free < 0) {
            m_log.append(
                u"Annotazioni oltre le %1 disponibili non integrate: %2"_s.arg(kAnnotationSlots).arg(annotation));
            break;
        }
        held[free] = annotation;
        cdsAnn.fieldByName(annotationSlot(static_cast<int>(free) + 1)).setAsString(annotation);
        written = true;
    }
    if (written)
        cdsAnn.post();
    else
        cdsAnn.cancel();
}

void TdmElhImport::integraAutonomo(Extinct &extinct, const QString &code)
{
    ClientDataSet &registry = extinct.ds(kSelfEmployed);
    startExtinctPerson(registry, extinct.rows(kSelfEmployed, code), u"SDAU7"_s);
    inPerson(
        [&] {
            const QList<Bookmark> workers = rowsOf(table(cdsAutonomo), code);
            if (workers.isEmpty()) {
                cdsAutonomo.append();
                runSection(u"CUD_AnagraficaAut"_s, registry, cdsAutonomo);
                cdsAutonomo.fieldByName(kExtinctCode).setAsString(extinct.agentCode);
                cdsAutonomo.post();
                m_log.append(u"Autonomo aggiunto"_s);
            } else {
                cdsAutonomo.gotoBookmark(workers.first());
            }
            ClientDataSet &amounts = extinct.ds(kAmounts);
            const QList<Bookmark> extinctRows = extinct.rows(kAmounts, code);
            // The amounts of this extinct agent already brought over for a
            // reason are not brought again.
            QStringList reasons;
            for (const Bookmark &row : extinctRows) {
                amounts.gotoBookmark(row);
                reasons.append(amounts.fieldByName(u"SCAUCODICE"_s).asString().trimmed());
            }
            for (const Bookmark &row : rowsOf(table(cdsAutSommeEro), code)) {
                cdsAutSommeEro.gotoBookmark(row);
                if (cdsAutSommeEro.fieldByName(kExtinctCode).asString().trimmed().toUpper() == extinct.agentCode
                    && reasons.contains(cdsAutSommeEro.fieldByName(u"SCAUCODICE"_s).asString().trimmed())) {
                    m_log.append(u"Dati autonomo già importato per sostituto estinto"_s);
                    return;
                }
            }
            for (const Bookmark &row : extinctRows) {
                amounts.gotoBookmark(row);
                cdsAutSommeEro.append();
                runSection(u"CUD_AutSommeEro"_s, amounts, cdsAutSommeEro);
                cdsAutSommeEro.fieldByName(kExtinctCode).setAsString(extinct.agentCode);
                cdsAutSommeEro.post();
            }
        },
        [&](const QString &error) {
            m_failed.append(code);
            m_log.append(u"Integrazione non riuscita, i dati già presenti dell'autonomo non sono stati modificati: "_s
                         + error);
        });
    m_log.closeBlock(m_surname + u' ' + m_name);
}
