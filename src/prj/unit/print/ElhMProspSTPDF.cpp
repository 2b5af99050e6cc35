#include "ElhMProspSTPDF.h"

#include "PrintPaths.h"
#include "THlmDBCds.h"

#include <optional>

using namespace Qt::Literals::StringLiterals;

const QString TdmElhProspSTPDF::kReminderSS =
    u"Si ricorda che la stampa dei prospetti SS è aggiornata con i dati calcolati durante l'ultima creazione del file "
    u"telematico."_s;

namespace {

const QString kForm = u"770_sempl_mod.pdf"_s;
const QString kAgentCode = u"SSOE7CODICE"_s;
const QString kModuleField = u"SAVOMODN"_s;
constexpr int kMaxModule = 9999;

} // namespace

TdmElhProspSTPDF::TdmElhProspSTPDF(THlmDBCds &store, FindingSink &findings)
    : TdmElhPDF(findings)
    , m_store(store)
{
}

TdmElhProspSTPDF::~TdmElhProspSTPDF() = default;

QList<ClientDataSet *> TdmElhProspSTPDF::components()
{
    return {&cdsST,           &cdsST2,        &cdsST3,       &cdsST4,          &cdsSV,    &cdsSX,           &cdsSS,
            &cdsSY,           &cdsSY2,        &cdsSY3,       &cdsSY4,          &cdsDI,    &cdsSost,         &cdsSostEst,
            &cdsAltreVoci,    &cdsDipendenti, &cdsAutonomi,  &cdsIntestazione, &cdsINPS,  &cdsTassSeparata, &cdsINPDAP,
            &cdsSommeErogate, &cdsRigoINPS,   &cdsSubTotali, &cdsTotAnnuo,     &cdsTotali};
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
        m_store.open(*s.dataSet, s.table.toString());
        s.dataSet->last();
        empty = empty && (!s.printed || s.dataSet->isEmpty());
    }
    if (empty)
        return Outcome::NothingToPrint;
    for (const Source &s : sources) {
        s.dataSet->setIndexFieldNames(s.order.toString());
        s.dataSet->first();
    }
    m_store.open(cdsSost, u"TSOS_DATOSOSTITUTO"_s);
    cdsAltreVoci.close();
    cdsAltreVoci.fieldDefs().clear();
    cdsAltreVoci.fieldDefs().add(kModuleField, FieldType::String, 4);
    cdsAltreVoci.fieldDefs().add(kAgentCode, FieldType::String, 16);
    cdsAltreVoci.createDataSet();
    if (!ApriModello(PrintPaths::coordStp(kForm), PrintPaths::coordStp(descriptor))) {
        reportOpenError();
        return Outcome::Failed;
    }
    m_prospetto = prospetto;
    print();
    EliminaPagine(1, 1);
    SalvaPdf(fileName, false, false);
    return Outcome::Saved;
}

void TdmElhProspSTPDF::appendModule(int module, const QString &agent)
{
    // The form's box holds the file's module numbers up to four digits,
    // written with two at least.
    if (module > kMaxModule) {
        throw Exception(u"Il prospetto %1 richiede più di %2 moduli: il modello ne numera al massimo %2."_s.arg(
            m_prospetto, QString::number(kMaxModule)));
    }
    cdsAltreVoci.append();
    cdsAltreVoci.fieldByName(kModuleField).setAsString(QString::number(module).rightJustified(2, u'0'));
    cdsAltreVoci.fieldByName(kAgentCode).setAsString(agent);
    cdsAltreVoci.post();
}

void TdmElhProspSTPDF::newPage(int templatePage)
{
    CreaPagina(templatePage, false);
    for (const QString &page : {u"ModN"_s, u"CodFis"_s, u"CodEst"_s})
        StampaSezione(page, page == u"CodFis" ? cdsSost.name() : cdsAltreVoci.name(), 0);
}

void TdmElhProspSTPDF::drawRows(const QString &page, ClientDataSet &rows, int count)
{
    for (int r = 0; r < count; ++r, rows.next())
        StampaSezione(page, rows.name(), r);
}

TdmElhProspSTPDF::Outcome TdmElhProspSTPDF::printModules(const QString &prospetto, RecordKind record,
                                                         const QString &descriptor, const QString &fileName,
                                                         const PrintModule &printModule)
{
    const QList<ModulePlan::Table> tables = planTables(record);
    QList<Source> sources{{&cdsSostEst, u"TSOE7_SOSESTINTO", u"", false}};
    for (const ModulePlan::Table &t : tables)
        sources.append({t.rows, t.layout->table, t.layout->order, t.layout->prospetto == prospetto});
    return runProspetto(prospetto, sources, descriptor, fileName, [&] {
        ModulePlan plan(tables, cdsSostEst);
        std::optional<QString> agent;
        for (const ModulePlan::Module &m : plan.modules()) {
            plan.select(m);
            if (!plan.holds(prospetto))
                continue;
            const bool firstOfAgent = agent != m.agent;
            agent = m.agent;
            appendModule(m.progressive, m.agent);
            printModule(plan, firstOfAgent);
        }
        plan.release();
    });
}

QList<ModulePlan::Table> TdmElhProspSTPDF::planTables(RecordKind record)
{
    if (record == RecordKind::D)
        return {{&cdsST, &ModuleLayout::kSt},   {&cdsST2, &ModuleLayout::kSt2}, {&cdsST3, &ModuleLayout::kSt3},
                {&cdsST4, &ModuleLayout::kSt4}, {&cdsSV, &ModuleLayout::kSv},   {&cdsSX, &ModuleLayout::kSx},
                {&cdsDI, &ModuleLayout::kDi}};
    return {{&cdsSY2, &ModuleLayout::kSy2},
            {&cdsSY, &ModuleLayout::kSy},
            {&cdsSY3, &ModuleLayout::kSy3},
            {&cdsSY4, &ModuleLayout::kSy4}};
}

// Each module of record D with ST rows: page 23 with its header, line ST1
// and the rows of section I; pages 24 to 26 with the rows of sections II,
// III and IV, printed also without rows in the first module of an agent.
TdmElhProspSTPDF::Outcome TdmElhProspSTPDF::stampaST(const QString &fileName)
{
    return printModules(u"ST"_s, RecordKind::D, u"ProspST.xml"_s, fileName,
                        [this](const ModulePlan &plan, bool firstOfAgent) {
                            newPage(23);
                            if (plan.rows(cdsST) > 0)
                                StampaSezione(u"ST1"_s, cdsST.name(), 0);
                            drawRows(u"STN"_s, cdsST, plan.rows(cdsST));
                            const struct
                            {
                                ClientDataSet *rows;
                                int templatePage;
                                const char16_t *page;
                            } sections[] = {{&cdsST2, 24, u"STNII"}, {&cdsST3, 25, u"STIII"}, {&cdsST4, 26, u"STIV"}};
                            for (const auto &s : sections) {
                                if (plan.rows(*s.rows) == 0 && !firstOfAgent)
                                    continue;
                                newPage(s.templatePage);
                                drawRows(QString::fromUtf16(s.page), *s.rows, plan.rows(*s.rows));
                            }
                        });
}

TdmElhProspSTPDF::Outcome TdmElhProspSTPDF::stampaSV(const QString &fileName)
{
    return printModules(u"SV"_s, RecordKind::D, u"ProspSV.xml"_s, fileName, [this](const ModulePlan &plan, bool) {
        newPage(27);
        StampaSezione(u"SV1"_s, cdsSV.name(), 0);
        drawRows(u"SVN"_s, cdsSV, plan.rows(cdsSV));
    });
}

TdmElhProspSTPDF::Outcome TdmElhProspSTPDF::stampaDI(const QString &fileName)
{
    return printModules(u"DI"_s, RecordKind::D, u"ProspDI.xml"_s, fileName, [this](const ModulePlan &plan, bool) {
        newPage(22);
        drawRows(u"DIN"_s, cdsDI, plan.rows(cdsDI));
    });
}

// Each module of record I: page 30 with line SY1 and the rows of sections I,
// II and III; page 31 when it holds rows of section IV.
TdmElhProspSTPDF::Outcome TdmElhProspSTPDF::stampaSY(const QString &fileName)
{
    return printModules(u"SY"_s, RecordKind::I, u"ProspSY.xml"_s, fileName, [this](const ModulePlan &plan, bool) {
        newPage(30);
        if (plan.rows(cdsSY) > 0)
            StampaSezione(u"SY1"_s, cdsSY.name(), 0);
        drawRows(u"SYNI"_s, cdsSY2, plan.rows(cdsSY2));
        drawRows(u"SYNII"_s, cdsSY, plan.rows(cdsSY));
        drawRows(u"SYNIII"_s, cdsSY3, plan.rows(cdsSY3));
        if (plan.rows(cdsSY4) > 0) {
            newPage(31);
            drawRows(u"SYNIV"_s, cdsSY4, plan.rows(cdsSY4));
        }
    });
}

// One module of record D per SX row: pages 28 and 29.
TdmElhProspSTPDF::Outcome TdmElhProspSTPDF::stampaSX(const QString &fileName)
{
    return printModules(u"SX"_s, RecordKind::D, u"ProspSX.xml"_s, fileName, [this](const ModulePlan &, bool) {
        StampaPagina(u"SX"_s);
        StampaPagina(u"SX2"_s);
    });
}

// One module of record J per row, in the order the supply writes them.
TdmElhProspSTPDF::Outcome TdmElhProspSTPDF::stampaSS(const QString &fileName)
{
    findings().warning(kReminderSS);
    return runProspetto(u"SS"_s, {{&cdsSS, u"TPSS_PROSPETTOSS", kAgentCode, true}}, u"ProspSS.xml"_s, fileName, [this] {
        int module = 0;
        for (cdsSS.first(); !cdsSS.eof(); cdsSS.next()) {
            appendModule(++module, QString());
            StampaPagina(u"SS"_s);
        }
    });
}
