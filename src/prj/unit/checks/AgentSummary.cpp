#include "AgentSummary.h"

#include "ClientDataSet.h"
#include "THlmDBCds.h"

using namespace Qt::Literals::StringLiterals;

namespace AgentSummary {

namespace {

struct Flag
{
    const char16_t *field;
    QList<const char16_t *> tables;
};

const Flag kFlags[] = {
    {u"LSOSST", {u"TPST_PROSPETTOST"}},
    {u"LSOSSS", {u"TPSS_PROSPETTOSS"}},
    {u"LSOSSV", {u"TPSV_PROSPETTOSV"}},
    {u"LSOSSX", {u"TPSX_PROSPETTOSX"}},
    {u"LSOSSY", {u"TPSY_PROSPETTOSY", u"TPSY2_PROSPETTOSY2", u"TPSY3_PROSPETTOSY3", u"TPSY4_PROSPETTOSY4"}},
    {u"LSOSDI", {u"TPDI_PROSPETTODI"}},
};

int recordsOf(THlmDBCds &store, const QString &table)
{
    ClientDataSet work(u"cdsAppo"_s);
    store.open(work, table);
    return work.recordCount();
}

} // namespace

void refresh(ClientDataSet &agent, THlmDBCds &store)
{
    if (!agent.active() || agent.isEmpty())
        return;
    if (agent.state() != DataSetState::Edit && agent.state() != DataSetState::Insert)
        agent.edit();
    agent.fieldByName(u"ISOSNDIP"_s).setAsInteger(recordsOf(store, u"TDIP7_ANAGRFISCALI"_s));
    agent.fieldByName(u"ISOSNAUTON"_s).setAsInteger(recordsOf(store, u"TDAU7_DATIAUTONOM"_s));
    for (const Flag &flag : kFlags) {
        bool any = false;
        for (const char16_t *table : flag.tables)
            any = any || recordsOf(store, QString::fromUtf16(table)) > 0;
        Field &f = agent.fieldByName(QString::fromUtf16(flag.field));
        if (any)
            f.setAsString(u"1"_s);
        else
            f.clear();
    }
    agent.post();
}

} // namespace AgentSummary
