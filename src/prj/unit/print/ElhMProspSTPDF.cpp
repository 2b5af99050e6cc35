#include "ElhMProspSTPDF.h"

#include "NrMessages.h"
#include "PrintPaths.h"
#include "THlmDBCds.h"

#include <iterator>
#include <utility>

using namespace Qt::Literals::StringLiterals;

const QString TdmElhProspSTPDF::kReminderSS =
    u"Si ricorda che la stampa dei prospetti SS è aggiornata con i dati calcolati durante l'ultima creazione del file "
    u"telematico."_s;

namespace {

const QString kForm = u"770_sempl_mod.pdf"_s;
const QString kAgentCode = u"SSOE7CODICE"_s;
const QString kModuleField = u"SAVOMODN"_s;

QString agentOf(const ClientDataSet &ds)
{
    return ds.fieldByName(kAgentCode).asString();
}

} // namespace

TdmElhProspSTPDF::TdmElhProspSTPDF(THlmDBCds &store)
    : m_store(store)
{
}

TdmElhProspSTPDF::~TdmElhProspSTPDF() = default;

QList<ClientDataSet *> TdmElhProspSTPDF::components()
{
    return {&cdsST,          &cdsST2,          &cdsST3,      &cdsST4,          &cdsSV,      &cdsSX,
            &cdsSS,          &cdsSY,           &cdsSY2,      &cdsSY3,          &cdsSY4,     &cdsDI,
            &cdsSost,        &cdsAltreVoci,    &cdsDipendenti, &cdsAutonomi,   &cdsIntestazione, &cdsINPS,
            &cdsTassSeparata, &cdsINPDAP,      &cdsSommeErogate, &cdsRigoINPS, &cdsSubTotali, &cdsTotAnnuo,
            &cdsTotali};
}

ClientDataSet *TdmElhProspSTPDF::findDataSet(const QString &name)
{
    for (ClientDataSet *ds : components()) {
        if (ds->name().compare(name, Qt::CaseInsensitive) == 0)
            return ds;
    }
    return nullptr;
}

void TdmElhProspSTPDF::closeAll()
{
    for (ClientDataSet *ds : components()) {
        ds->close();
        ds->setFiltered(false);
        ds->setIndexFieldNames(QString());
    }
    cdsAltreVoci.fieldDefs().clear();
}

// --- Prospetti ---------------------------------------------------------------------

TdmElhProspSTPDF::Outcome TdmElhProspSTPDF::runProspetto(const QString &prospetto, const QList<Source> &sources,
                                                         const QString &descriptor, const QString &fileName,
                                                         const std::function<void()> &print)
{
    CloseAtEnd closeAtEnd{*this};

    bool empty = true;
    for (const Source &s : sources) {
        m_store.open(*s.dataSet, s.table);
        s.dataSet->last();
        empty = empty && s.dataSet->isEmpty();
    }
    if (empty)
        return Outcome::NothingToPrint;
    for (const Source &s : sources) {
        s.dataSet->setIndexFieldNames(s.order);
        s.dataSet->first();
    }
    m_store.open(cdsSost, u"TSOS_DATOSOSTITUTO"_s);
    cdsAltreVoci.close();
    cdsAltreVoci.fieldDefs().clear();
    cdsAltreVoci.fieldDefs().add(kModuleField, FieldType::String, 2);
    cdsAltreVoci.createDataSet();
    if (!ApriModello(PrintPaths::coordStp(kForm), PrintPaths::coordStp(descriptor))) {
        showOpenError();
        return Outcome::Failed;
    }
    m_prospetto = prospetto;
    print();
    EliminaPagine(1, 1);
    SalvaPdf(fileName, false, false);
    return Outcome::Saved;
}

QString TdmElhProspSTPDF::moduleNumber(int module) const
{
    // The form numbers its modules with two digits.
    if (module > 99) {
        throw Exception(u"Il prospetto %1 richiede più di 99 moduli per lo stesso sostituto: "
                        u"il modello ne numera al massimo 99."_s.arg(m_prospetto));
    }
    return QString::number(module / 10) + QString::number(module % 10);
}

void TdmElhProspSTPDF::appendModule(const QString &number)
{
    cdsAltreVoci.append();
    cdsAltreVoci.fieldByName(kModuleField).setAsString(number);
    cdsAltreVoci.post();
}

void TdmElhProspSTPDF::drawAll(const QList<Name> &names, int rowIndex)
{
    for (const Name &n : names)
        StampaSezione(n.page, n.section, rowIndex);
}

void TdmElhProspSTPDF::moduleHeader(const QList<Name> &names, int module)
{
    appendModule(moduleNumber(module));
    drawAll(names, 1);
}

bool TdmElhProspSTPDF::takePending(std::size_t section)
{
    return std::exchange(m_pending[section], false);
}

void TdmElhProspSTPDF::printRowPaged(const RowPaging &plan)
{
    ClientDataSet &ds = *plan.data;
    CreaPagina(plan.templatePage, false);
    ds.first();
    m_agent = agentOf(ds);
    m_module = 1;
    m_pending.fill(true);
    int row = 0;
    for (; !ds.eof(); ds.next()) {
        const QString agent = agentOf(ds);
        if (agent != m_agent) {
            if (plan.printPending)
                plan.printPending();
            CreaPagina(plan.templatePage, false);
            m_agent = agent;
            row = 0;
            m_module = 1;
            m_pending.fill(true);
        } else if (row >= plan.rowsPerPage) {
            if (plan.printPending)
                plan.printPending();
            CreaPagina(plan.templatePage, false);
            ++m_module;
            row = 0;
        }
        if (row == 0)
            moduleHeader(plan.header, m_module);
        if (plan.indexIsRow)
            StampaSezione(plan.nextRow.page, plan.nextRow.section, row);
        else if (row == 0)
            drawAll(plan.firstRow, 1);
        else
            StampaSezione(plan.nextRow.page, plan.nextRow.section, row - 1);
        ++row;
    }
    if (plan.printPending)
        plan.printPending();
}

TdmElhProspSTPDF::Outcome TdmElhProspSTPDF::stampaST(const QString &fileName)
{
    return runProspetto(u"ST"_s,
                        {{&cdsST, u"TPST_PROSPETTOST"_s, u"SSOE7CODICE;DPSTDTVERS;SPSTANNO;SPSTMESE"_s},
                         {&cdsST2, u"TPST2_PROSPETTOSTS2"_s, u"SSOE7CODICE;DPST2DTVERS;SPST2ANNO;SPST2MESE;SPST2CODREG"_s},
                         {&cdsST3, u"TPST3_PROSPETTOSTS3"_s, u"SSOE7CODICE;SPST3CFINTNRES"_s},
                         {&cdsST4, u"TPST4_PROSPETTOSTS4"_s, u"SSOE7CODICE;SCFINTNRES"_s}},
                        u"ProspST.xml"_s, fileName, [this] {
                            printRowPaged({&cdsST,
                                           23,
                                           12,
                                           {{u"ModN"_s, u"cdsAltreVoci"_s}, {u"CodFis"_s, u"cdsSost"_s}},
                                           {{u"ST1"_s, u"cdsST"_s},
                                            {u"ST2"_s, u"cdsST"_s},
                                            {u"ST3"_s, u"cdsST"_s},
                                            {u"ST4"_s, u"cdsST"_s}},
                                           {u"STN"_s, u"cdsST"_s},
                                           false,
                                           [this] { printPendingST(); }});
                        });
}

void TdmElhProspSTPDF::printPendingST()
{
    // Sections II, III and IV: their rows, template page and the numeral their names end with.
    const struct
    {
        ClientDataSet *data;
        int templatePage;
        QString numeral;
    } sections[] = {{&cdsST2, 24, u"II"_s}, {&cdsST3, 25, u"III"_s}, {&cdsST4, 26, u"IV"_s}};
    for (std::size_t i = 0; i < std::size(sections); ++i) {
        if (!takePending(i))
            continue;
        const auto &[data, templatePage, numeral] = sections[i];
        const QString rows = data->name();
        printDependentST(*data, templatePage,
                         {{u"CodFisST"_s + numeral, u"cdsSost"_s}, {u"ModNST"_s + numeral, u"cdsAltreVoci"_s}},
                         {u"ST"_s + numeral, rows}, {u"STN"_s + numeral, rows});
    }
}

// A section of ST starts on its own page, numbered with the module current
// when it is printed, and continues on further pages of its own.
void TdmElhProspSTPDF::printDependentST(ClientDataSet &data, int templatePage, const QList<Name> &header,
                                        const Name &first, const Name &next)
{
    CreaPagina(templatePage, false);
    drawAll(header, 1);
    int r = 0;
    for (data.first(); !data.eof(); data.next()) {
        if (agentOf(data) != m_agent)
            continue;
        if (r >= 12) {
            CreaPagina(templatePage, false);
            drawAll(header, 1);
            r = 0;
        }
        if (r == 0)
            StampaSezione(first.page, first.section, 1);
        else
            StampaSezione(next.page, next.section, r - 1);
        ++r;
    }
}

TdmElhProspSTPDF::Outcome TdmElhProspSTPDF::stampaSV(const QString &fileName)
{
    return runProspetto(u"SV"_s, {{&cdsSV, u"TPSV_PROSPETTOSV"_s, u"SSOE7CODICE;DPSVDTVERS;SPSVANNO;SPSVMESE"_s}},
                        u"ProspSV.xml"_s, fileName, [this] {
                            printRowPaged({&cdsSV,
                                           27,
                                           12,
                                           {{u"ModN"_s, u"cdsAltreVoci"_s}, {u"CodFis"_s, u"cdsSost"_s}},
                                           {{u"SV1"_s, u"cdsSV"_s}, {u"SV2"_s, u"cdsSV"_s}},
                                           {u"SVN"_s, u"cdsSV"_s},
                                           false,
                                           {}});
                        });
}

TdmElhProspSTPDF::Outcome TdmElhProspSTPDF::stampaDI(const QString &fileName)
{
    return runProspetto(u"DI"_s, {{&cdsDI, u"TPDI_PROSPETTODI"_s, u"SSOE7CODICE;SPDICODFIS;SPDIPERIMP"_s}},
                        u"ProspDI.xml"_s, fileName, [this] {
                            printRowPaged({&cdsDI,
                                           22,
                                           21,
                                           {{u"ModN"_s, u"cdsAltreVoci"_s}, {u"CodFis"_s, u"cdsSost"_s}},
                                           {},
                                           {u"DIN"_s, u"cdsDI"_s},
                                           true,
                                           {}});
                        });
}

TdmElhProspSTPDF::Outcome TdmElhProspSTPDF::stampaSY(const QString &fileName)
{
    return runProspetto(u"SY"_s,
                        {{&cdsSY, u"TPSY_PROSPETTOSY"_s, u"SSOE7CODICE;SPSYDEBPRICODF;SPSYCREPIGCODF"_s},
                         {&cdsSY2, u"TPSY2_PROSPETTOSY2"_s, u"SSOE7CODICE;SPSY2CREPIGCF"_s},
                         {&cdsSY3, u"TPSY3_PROSPETTOSY3"_s, u"SSOE7CODICE;SPSY3CFBEN"_s},
                         {&cdsSY4, u"TPSY4_PROSPETTOSY4"_s, u"SSOE7CODICE;SSY4DEN"_s}},
                        u"ProspSY.xml"_s, fileName, [this] {
                            printRowPaged({&cdsSY2,
                                           30,
                                           5,
                                           {{u"ModN"_s, u"cdsAltreVoci"_s},
                                            {u"CodFis"_s, u"cdsSost"_s},
                                            {u"SYC2"_s, u"cdsSY2"_s}},
                                           {{u"SYII"_s, u"cdsSY2"_s}},
                                           {u"SYNII"_s, u"cdsSY2"_s},
                                           false,
                                           [this] { printPendingSY(); }});
                        });
}

void TdmElhProspSTPDF::printPendingSY()
{
    if (takePending(0))
        printSYI();
    if (takePending(1))
        printSYIII();
    if (takePending(2))
        printSYIV();
}

// Sections I and III continue on the page of section II and open further
// pages 30, with modules of their own, when they overflow.
void TdmElhProspSTPDF::printSYContinued(ClientDataSet &data, int rowsPerPage, const Name &header, const Name &first,
                                        const Name &next, const std::function<void()> &beforeNewPage)
{
    int r = 0;
    for (data.first(); !data.eof(); data.next()) {
        if (agentOf(data) != m_agent)
            continue;
        if (r >= rowsPerPage) {
            if (beforeNewPage)
                beforeNewPage();
            CreaPagina(30, false);
            ++m_module;
            moduleHeader({{u"ModN"_s, u"cdsAltreVoci"_s}, {u"CodFis"_s, u"cdsSost"_s}, header}, m_module);
            r = 0;
        }
        if (r == 0)
            StampaSezione(first.page, first.section, 1);
        else
            StampaSezione(next.page, next.section, r - 1);
        ++r;
    }
}

// When section I overflows, section III still pending goes on its page first.
void TdmElhProspSTPDF::printSYI()
{
    printSYContinued(cdsSY, 5, {u"SYC"_s, u"cdsSY"_s}, {u"SYI"_s, u"cdsSY"_s}, {u"SYN"_s, u"cdsSY"_s}, [this] {
        if (takePending(1))
            printSYIII();
    });
}

void TdmElhProspSTPDF::printSYIII()
{
    printSYContinued(cdsSY3, 4, {u"SYC3"_s, u"cdsSY3"_s}, {u"SYIII"_s, u"cdsSY3"_s}, {u"SYNIII"_s, u"cdsSY3"_s}, {});
}

// Section IV has a page 31 of its own; its further pages take the next
// module numbers without changing the module of the rest of the print.
void TdmElhProspSTPDF::printSYIV()
{
    bool any = false;
    for (cdsSY4.first(); !cdsSY4.eof() && !any; cdsSY4.next())
        any = agentOf(cdsSY4) == m_agent;
    if (!any)
        return;
    m_store.open(cdsSost, u"TSOS_DATOSOSTITUTO"_s);
    CreaPagina(31, false);
    int module = m_module;
    int r = 0;
    for (cdsSY4.first(); !cdsSY4.eof(); cdsSY4.next()) {
        if (agentOf(cdsSY4) != m_agent)
            continue;
        if (r > 4) {
            CreaPagina(31, false);
            appendModule(moduleNumber(++module));
            r = 0;
        }
        if (r == 0)
            drawAll({{u"ModN2"_s, u"cdsAltreVoci"_s}, {u"CodFis2"_s, u"cdsSost"_s}, {u"SYIV"_s, u"cdsSY4"_s}}, 1);
        else
            StampaSezione(u"SYNIV"_s, u"cdsSY4"_s, r - 1);
        ++r;
    }
}

void TdmElhProspSTPDF::printOnePagePerRecord(ClientDataSet &data, const QStringList &pages)
{
    int count = 0;
    for (data.first(); !data.eof(); data.next()) {
        ++count;
        if (count > 99) {
            throw Exception(u"Il prospetto %1 richiede più di 99 moduli: il modello ne numera al massimo 99."_s.arg(
                m_prospetto));
        }
        appendModule(u"%1"_s.arg(count, 2, 10, QChar(u'0')));
        for (const QString &page : pages)
            StampaPagina(page);
    }
}

TdmElhProspSTPDF::Outcome TdmElhProspSTPDF::stampaSS(const QString &fileName)
{
    NrMessageDlg(kReminderSS, MsgDlgType::Warning, MsgDlgBtn::OK);
    return runProspetto(u"SS"_s, {{&cdsSS, u"TPSS_PROSPETTOSS"_s, kAgentCode}}, u"ProspSS.xml"_s, fileName,
                        [this] { printOnePagePerRecord(cdsSS, {u"SS"_s}); });
}

TdmElhProspSTPDF::Outcome TdmElhProspSTPDF::stampaSX(const QString &fileName)
{
    return runProspetto(u"SX"_s, {{&cdsSX, u"TPSX_PROSPETTOSX"_s, kAgentCode}}, u"ProspSX.xml"_s, fileName,
                        [this] { printOnePagePerRecord(cdsSX, {u"SX"_s, u"SX2"_s}); });
}
