#include "ReturnSession.h"

#include "AgentBootstrap.h"
#include "LocalDataFolder.h"
#include "SchoolFiscalCode.h"

using namespace Qt::Literals::StringLiterals;

ReturnSession::ReturnSession(QTextStream &err)
    : m_findings(err)
    , m_params(&m_connection)
    , m_store(2023, u"elh"_s, 0)
{
    m_connection.setFindings(m_findings);
    m_store.setConnection(&m_connection);
    m_store.setFindings(m_findings);
}

bool ReturnSession::open()
{
    if (!m_connection.openOrGoOn())
        return false;
    LocalDataFolder::prepare(m_findings);
    AgentBootstrap::run(
        m_store, [this] { return schoolFiscalCode(&m_connection, m_params); }, m_findings);
    return true;
}
