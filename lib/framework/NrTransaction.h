#pragma once

class TdmNrConnection;

// A transaction on a given connection. A transaction started here and still
// open when the object goes away is rolled back, so that an exception never
// leaves one behind.
class TNrTransaction
{
public:
    explicit TNrTransaction(TdmNrConnection &connection);
    ~TNrTransaction();
    TNrTransaction(const TNrTransaction &) = delete;
    TNrTransaction &operator=(const TNrTransaction &) = delete;

    void StartTransaction();
    void Commit();
    void Rollback();
    bool active() const { return m_active; }

private:
    TdmNrConnection &m_connection;
    bool m_active = false;
};
