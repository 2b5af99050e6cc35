#pragma once

#include "FindingEcho.h"
#include "HlmReturnLock.h"
#include "THlmDBCds.h"
#include "TdmKbrParams.h"
#include "TdmkbrConnessione.h"

// The school database and the store of the return (2023, month 0), opened
// for a command as the desktop's first start opens them: the local data
// folder of the year is prepared and the withholding agent's record of the
// year is made when it is missing, so that a command on a new database sees
// what the desktop would. What the core reports goes to the error output.
class ReturnSession
{
public:
    explicit ReturnSession(QTextStream &err);
    ReturnSession(const ReturnSession &) = delete;
    ReturnSession &operator=(const ReturnSession &) = delete;

    // False when the database does not open; the reason was shown.
    bool open();
    // Holds the lock of the return until the session ends, for a command
    // that writes it whole; ENrError when another run keeps it.
    void lockReturn() { m_lock = HlmLockReturn(m_store); }
    THlmDBCds &store() { return m_store; }
    TdmKbrParams &params() { return m_params; }
    FindingSink &findings() { return m_findings; }

private:
    FindingEcho m_findings;
    TdmkbrConnessione m_connection;
    TdmKbrParams m_params;
    THlmDBCds m_store;
    std::unique_ptr<TNrReturnLock> m_lock;
};
