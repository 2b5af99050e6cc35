#include "ReturnSession.h"

#include "AgentBootstrap.h"
#include "SchoolFiscalCode.h"
#include "LocalDataFolder.h"

using namespace Qt::Literals::StringLiterals;

ReturnSession::ReturnSession()
    : m_params(&m_connection)
    , m_store(2023, u"elh"_s, 0)
{
    m_store.setConnection(&m_connection);
}

bool ReturnSession::open()
{
    if (!m_connection.openOrGoOn())
        return false;
    LocalDataFolder::prepare();
    AgentBootstrap::run(m_store, [this] { return schoolFiscalCode(&m_connection, m_params); });
    return true;
}
