#include "NrTransaction.h"

#include "NrConnection.h"

TNrTransaction::TNrTransaction(TdmNrConnection &connection)
    : m_connection(connection)
{
}

TNrTransaction::~TNrTransaction()
{
    if (!m_active)
        return;
    try {
        m_connection.rollbackTransaction();
    } catch (...) {
        // The connection is being abandoned; nothing was committed.
    }
}

void TNrTransaction::StartTransaction()
{
    m_connection.startTransaction();
    m_active = true;
}

void TNrTransaction::Commit()
{
    m_active = false;
    m_connection.commitTransaction();
}

void TNrTransaction::Rollback()
{
    m_active = false;
    m_connection.rollbackTransaction();
}
