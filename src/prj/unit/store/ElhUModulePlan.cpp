#include "ElhUModulePlan.h"

#include "ClientDataSet.h"
#include "TextLib.h"

#include <QSet>

#include <algorithm>

using namespace Qt::Literals::StringLiterals;

namespace {

const QString kAgentField = u"SSOE7CODICE"_s;

// The agent itself, the extinct agents as listed, then the codes that rows
// name without being listed.
QStringList agentsInOrder(const QList<ModulePlan::Table> &tables, const ClientDataSet &extinctAgents)
{
    QStringList agents{QString()};
    QSet<QString> known{QString()};
    for (int n = 1; n <= extinctAgents.recordCount(); ++n) {
        const RecordPeek peek(extinctAgents, n);
        const QString code = extinctAgents.fieldByName(u"CODICE"_s).asString();
        if (!known.contains(code)) {
            known.insert(code);
            agents.append(code);
        }
    }
    QStringList unlisted;
    for (const ModulePlan::Table &t : tables) {
        const Field &agent = t.rows->fieldByName(kAgentField);
        for (t.rows->first(); !t.rows->eof(); t.rows->next()) {
            if (!known.contains(agent.asString())) {
                known.insert(agent.asString());
                unlisted.append(agent.asString());
            }
        }
    }
    std::sort(unlisted.begin(), unlisted.end());
    return agents + unlisted;
}

} // namespace

ModulePlan::ModulePlan(QList<Table> tables, const ClientDataSet &extinctAgents)
    : m_tables(std::move(tables))
    , m_selectedRows(m_tables.size(), 0)
{
    int progressive = 1;
    for (const QString &agent : agentsInOrder(m_tables, extinctAgents)) {
        filterAgent(agent);
        int modules = 0;
        for (const Table &t : m_tables) {
            const int perModule = t.layout->rowsPerModule;
            modules = std::max(modules, (t.rows->recordCount() + perModule - 1) / perModule);
        }
        for (int index = 0; index < modules; ++index)
            m_modules.append({agent, index, progressive++});
    }
}

void ModulePlan::filterAgent(const QString &agent)
{
    const QString filter =
        agent.isEmpty() ? u"SSOE7CODICE='' or (SSOE7CODICE is null)"_s : u"SSOE7CODICE="_s + TextLib::QuotedStr(agent);
    for (const Table &t : m_tables) {
        t.rows->setFilter(filter);
        t.rows->setFiltered(true);
    }
    m_filteredAgent = agent;
    m_filtered = true;
}

void ModulePlan::select(const Module &module)
{
    if (!m_filtered || module.agent != m_filteredAgent)
        filterAgent(module.agent);
    for (qsizetype i = 0; i < m_tables.size(); ++i) {
        ClientDataSet &rows = *m_tables[i].rows;
        const int perModule = m_tables[i].layout->rowsPerModule;
        const int first = module.index * perModule;
        m_selectedRows[i] = std::clamp(rows.recordCount() - first, 0, perModule);
        if (m_selectedRows[i] > 0) {
            rows.setRecNo(first + 1);
        } else {
            rows.last();
            rows.next();
        }
    }
}

int ModulePlan::rows(const ClientDataSet &table) const
{
    for (qsizetype i = 0; i < m_tables.size(); ++i) {
        if (m_tables[i].rows == &table)
            return m_selectedRows[i];
    }
    return 0;
}

bool ModulePlan::holds(QStringView prospetto) const
{
    for (qsizetype i = 0; i < m_tables.size(); ++i) {
        if (m_tables[i].layout->prospetto == prospetto && m_selectedRows[i] > 0)
            return true;
    }
    return false;
}

void ModulePlan::release()
{
    for (const Table &t : m_tables) {
        t.rows->setFiltered(false);
        t.rows->setFilter(QString());
    }
    m_filtered = false;
}
