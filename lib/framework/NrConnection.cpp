#include "NrConnection.h"

#include "Exceptions.h"
#include "NrExceptions.h"

#include <QSqlQuery>

#include <atomic>

using namespace Qt::Literals::StringLiterals;

namespace {

// Worker threads open connections of their own, so the global pointer and
// the counter behind connection names are shared safely.
std::atomic<TdmNrConnection *> g_globConn{nullptr};
std::atomic<int> g_connectionSerial{0};

} // namespace

TdmNrConnection *NrGlobConn()
{
    return g_globConn.load();
}

void setNrGlobConn(TdmNrConnection *connection)
{
    g_globConn.store(connection);
}

QString NrSqlErrorText(const QSqlError &error)
{
    const QString text = error.databaseText().trimmed();
    return text.isEmpty() ? error.text().trimmed() : text;
}

TdmNrConnection::TdmNrConnection(const QString &name)
    // Qt keeps connections by name for the whole process: each module gets
    // a name of its own.
    : m_connectionName(name + u'#' + QString::number(++g_connectionSerial))
{
}

TdmNrConnection::~TdmNrConnection()
{
    CloseConnection();
    TdmNrConnection *self = this;
    g_globConn.compare_exchange_strong(self, nullptr);
}

void TdmNrConnection::DataModuleCreate()
{
    setNrGlobConn(this);
}

void TdmNrConnection::checkConnectionAllowed()
{
    if (!NrGlobConn())
        throw ENrError(u"Connessione al database non consentita"_s);
}

bool TdmNrConnection::OpenConnection()
{
    checkConnectionAllowed();
    if (connected())
        return true;
    if (m_settings.driver != u"QSQLITE" && m_settings.driver != u"QPSQL")
        throw EDatabaseError(u"Tipo di database «%1» non gestito: indicare QSQLITE o QPSQL"_s.arg(m_settings.driver));
    QSqlDatabase db = QSqlDatabase::addDatabase(m_settings.driver, m_connectionName);
    if (!db.isValid()) {
        db = QSqlDatabase();
        QSqlDatabase::removeDatabase(m_connectionName);
        throw EDatabaseError(u"Il driver del database %1 non è installato"_s.arg(m_settings.driver));
    }
    db.setDatabaseName(m_settings.database);
    if (!m_settings.host.isEmpty())
        db.setHostName(m_settings.host);
    if (m_settings.port > 0)
        db.setPort(m_settings.port);
    if (!m_settings.user.isEmpty())
        db.setUserName(m_settings.user);
    if (m_settings.driver == u"QSQLITE") {
        // A second client waits for the write lock instead of failing.
        db.setConnectOptions(u"QSQLITE_BUSY_TIMEOUT=60000"_s);
    }
    if (!db.open()) {
        const QString why = NrSqlErrorText(db.lastError());
        db = QSqlDatabase();
        QSqlDatabase::removeDatabase(m_connectionName);
        throw EDatabaseError(u"Impossibile aprire il database «%1»: %2"_s.arg(m_settings.database, why));
    }
    m_db = db;
    m_inTransaction = false;
    return true;
}

void TdmNrConnection::CloseConnection()
{
    if (!m_db.isValid())
        return;
    if (m_inTransaction)
        m_db.rollback();
    m_inTransaction = false;
    m_db.close();
    m_db = QSqlDatabase();
    QSqlDatabase::removeDatabase(m_connectionName);
}

bool TdmNrConnection::connected() const
{
    return m_db.isValid() && m_db.isOpen();
}

bool TdmNrConnection::isPostgreSQL() const
{
    return m_settings.driver == u"QPSQL";
}

void TdmNrConnection::startTransaction()
{
    if (!connected())
        throw EDatabaseError(u"Impossibile iniziare una transazione: il database non è connesso"_s);
    if (m_inTransaction)
        throw EDatabaseError(u"Una transazione è già in corso sulla connessione al database"_s);
    bool ok = false;
    QSqlError error;
    if (isPostgreSQL()) {
        ok = m_db.transaction();
        error = m_db.lastError();
    } else {
        QSqlQuery begin(m_db);
        ok = begin.exec(u"BEGIN IMMEDIATE"_s);
        error = begin.lastError();
    }
    if (!ok)
        throw EDatabaseError(u"Impossibile iniziare una transazione: %1"_s.arg(NrSqlErrorText(error)));
    m_inTransaction = true;
}

void TdmNrConnection::commitTransaction()
{
    if (!m_inTransaction)
        throw EDatabaseError(u"Nessuna transazione da confermare"_s);
    if (!m_db.commit()) {
        const QString why = NrSqlErrorText(m_db.lastError());
        // A commit refused by the server leaves nothing to keep.
        m_db.rollback();
        m_inTransaction = false;
        throw EDatabaseError(u"Impossibile confermare la transazione: %1"_s.arg(why));
    }
    m_inTransaction = false;
}

void TdmNrConnection::rollbackTransaction()
{
    if (!m_inTransaction)
        return;
    m_inTransaction = false;
    if (!m_db.rollback())
        throw EDatabaseError(u"Impossibile annullare la transazione: %1"_s.arg(NrSqlErrorText(m_db.lastError())));
}

namespace {

void savepointStatement(TdmNrConnection &connection, const QString &sql, const QString &what)
{
    if (!connection.inTransaction())
        throw EDatabaseError(u"%1: nessuna transazione in corso"_s.arg(what));
    QSqlQuery q(connection.database());
    if (!q.exec(sql))
        throw EDatabaseError(u"%1: %2"_s.arg(what, NrSqlErrorText(q.lastError())));
}

} // namespace

void TdmNrConnection::savepoint(const QString &name)
{
    savepointStatement(*this, u"SAVEPOINT "_s + name, u"Impossibile creare il punto di ripristino «%1»"_s.arg(name));
}

void TdmNrConnection::releaseSavepoint(const QString &name)
{
    savepointStatement(*this, u"RELEASE SAVEPOINT "_s + name,
                       u"Impossibile confermare il punto di ripristino «%1»"_s.arg(name));
}

void TdmNrConnection::rollbackToSavepoint(const QString &name)
{
    savepointStatement(*this, u"ROLLBACK TO SAVEPOINT "_s + name,
                       u"Impossibile tornare al punto di ripristino «%1»"_s.arg(name));
}

NrStatementSource &TdmNrConnection::statements() const
{
    if (!m_statements)
        throw EAssertionFailed(u"La connessione al database non ha un archivio di query"_s);
    return *m_statements;
}
