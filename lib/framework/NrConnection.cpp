#include "NrConnection.h"

#include "Exceptions.h"
#include "NrBusyWait.h"
#include "NrExceptions.h"
#include "NrQuery.h"
#include "NrServerWatch.h"

#include <QAnyStringView>
#include <QCoreApplication>
#include <QDir>
#include <QSqlDriver>
#include <QSqlQuery>
#include <QThread>

#include <libpq-fe.h>
#include <sqlite3.h>

#include <atomic>
#include <chrono>
#include <limits>

using namespace Qt::Literals::StringLiterals;

namespace {

// How long a statement may run on PostgreSQL, and how often SQLite looks
// again at a database that another program holds.
constexpr int kStatementTimeoutMs = 300000;
constexpr unsigned long kBusyPollMs = 50;
// Statements kept prepared on a connection: past this many the cache starts
// again, so that statements made for one-off row counts do not pile up.
constexpr std::size_t kMaxPrepared = 200;

// Worker threads open connections of their own, so the global pointer and
// the counter behind connection names are shared safely.
std::atomic<TdmNrConnection *> g_globConn{nullptr};
std::atomic<int> g_connectionSerial{0};
std::atomic<quint64> g_cacheEpoch{0};

// The driver's connection of an open PostgreSQL database; null otherwise.
// Qt names its type after the structure that PGconn stands for.
PGconn *postgreSQLHandle(const QSqlDatabase &db)
{
    const QVariant handle = db.driver()->handle();
    if (!handle.isValid()
        || (qstrcmp(handle.typeName(), "pg_conn*") != 0 && qstrcmp(handle.typeName(), "PGconn*") != 0))
        return nullptr;
    return *static_cast<PGconn *const *>(handle.constData());
}

// The engine's connection of an open SQLite database; null otherwise.
sqlite3 *sqliteHandle(const QSqlDatabase &db)
{
    const QVariant handle = db.driver()->handle();
    if (!handle.isValid() || qstrcmp(handle.typeName(), "sqlite3*") != 0)
        return nullptr;
    return *static_cast<sqlite3 *const *>(handle.constData());
}

// An error of the engine as the driver reports it.
QSqlError sqliteError(sqlite3 *sqlite, const QString &what, int code)
{
    return QSqlError(what, QString::fromUtf16(static_cast<const char16_t *>(sqlite3_errmsg16(sqlite))),
                     QSqlError::ConnectionError, QString::number(code));
}

} // namespace

pg_conn *TdmNrConnection::postgreSQLConnection()
{
    PGconn *pg = m_db.isValid() ? postgreSQLHandle(m_db) : nullptr;
    if (!pg)
        throw EAssertionFailed(u"Istruzioni per PostgreSQL su una connessione che non è PostgreSQL"_s);
    // Our own answers still owed are read, not dropped.
    confirmSent();
    while (PGresult *left = PQgetResult(pg))
        PQclear(left);
    return pg;
}

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
    if (isPostgreSQL()) {
        // A server that accepts the connection and never answers must not
        // hang the program; a statement that waits for another client's
        // locks gives up like SQLite does. A server that the network no
        // longer reaches is found by the system's keepalive probes (half the
        // silence idle, then three probes in the other half) and by the
        // time allowed to the data sent; one behind a machine that still
        // answers them, by the server's watch.
        const int silence = m_settings.silenceSeconds;
        db.setConnectOptions(u"connect_timeout=%1;options='-c statement_timeout=%2 -c lock_timeout=%3';"
                             "keepalives=1;keepalives_idle=%4;keepalives_interval=%5;keepalives_count=3;"
                             "tcp_user_timeout=%6"_s.arg(std::max(2, m_settings.waitSeconds))
                                 .arg(kStatementTimeoutMs)
                                 .arg(m_settings.waitSeconds * 1000)
                                 .arg(std::max(1, silence / 2))
                                 .arg(std::max(1, silence / 6))
                                 .arg(silence * 1000));
    }
    if (!db.open()) {
        const QSqlError error = db.lastError();
        db = QSqlDatabase();
        QSqlDatabase::removeDatabase(m_connectionName);
        const QString why = NrSqlErrorText(error);
        if (isPostgreSQL() && why.contains(u"timeout expired"_s)) {
            throw EDatabaseError(
                u"Impossibile aprire il database %1: il server non ha risposto entro %2 secondi. (%3)"_s.arg(describe())
                    .arg(std::max(2, m_settings.waitSeconds))
                    .arg(why));
        }
        throw EDatabaseError(u"Impossibile aprire il database %1: %2"_s.arg(describe(), why));
    }
    m_db = db;
    m_inTransaction = false;
    invalidateCaches();
    if (isPostgreSQL())
        watchServer();
    else
        installBusyHandler();
    return true;
}

void TdmNrConnection::watchServer()
{
    PGconn *pg = postgreSQLHandle(m_db);
    if (!pg)
        return;
    // The address the driver reached, or the folder of its Unix-domain socket.
    const char *address = PQhostaddr(pg);
    const char *host = PQhost(pg);
    const std::string where = address && *address ? address : (host ? host : "");
    m_watch =
        std::make_unique<NrServerWatch>(PQsocket(pg), where, QByteArray(PQport(pg)).toInt(), m_settings.silenceSeconds);
}

bool TdmNrConnection::serverLost() const
{
    if (m_watch && m_watch->silent())
        return true;
    if (!isPostgreSQL() || !m_db.isValid())
        return false;
    PGconn *pg = postgreSQLHandle(m_db);
    return pg && PQstatus(pg) == CONNECTION_BAD;
}

void TdmNrConnection::installBusyHandler()
{
    if (sqlite3 *sqlite = sqliteHandle(m_db)) {
        sqlite3_busy_handler(sqlite, &TdmNrConnection::sqliteBusy, this);
        // A savepoint's copies of the pages it changes stay in memory: kept
        // in a temporary file, each person of an import wrote them there.
        sqlite3_exec(sqlite, "PRAGMA temp_store = MEMORY", nullptr, nullptr, nullptr);
    }
}

int TdmNrConnection::sqliteBusy(void *connection, int attempt)
{
    auto *self = static_cast<TdmNrConnection *>(connection);
    const qint64 now =
        std::chrono::duration_cast<std::chrono::milliseconds>(std::chrono::steady_clock::now().time_since_epoch())
            .count();
    // Only the program's own thread may show the wait and let the user stop it.
    NrBusyWaitService *service =
        QThread::currentThread() == QCoreApplication::instance()->thread() ? busyWaitService() : nullptr;
    if (attempt == 0) {
        self->m_busySince = now;
        self->m_busyCancelled = false;
        if (service) {
            service->begin(
                u"Il database %1 è in uso da un altro programma: attendo al massimo %2 secondi…"_s.arg(self->describe())
                    .arg(self->m_settings.waitSeconds));
        }
    }
    if (service && service->cancelled())
        self->m_busyCancelled = true;
    if (self->m_busyCancelled || now - self->m_busySince >= self->m_settings.waitSeconds * qint64(1000))
        return 0;
    QThread::msleep(kBusyPollMs);
    return 1;
}

QString TdmNrConnection::serverAddress() const
{
    return u"%1:%2"_s.arg(m_settings.host.isEmpty() ? u"localhost"_s : m_settings.host,
                          m_settings.port > 0 ? QString::number(m_settings.port) : u"5432"_s);
}

QString TdmNrConnection::describe() const
{
    if (isPostgreSQL())
        return u"«%1» sul server PostgreSQL %2"_s.arg(m_settings.database, serverAddress());
    return u"«%1»"_s.arg(QDir::toNativeSeparators(m_settings.database));
}

QString TdmNrConnection::errorText(const QSqlError &error) const
{
    const QString why = NrSqlErrorText(error);
    if (serverLost()) {
        // The transaction in progress went with the connection. The driver's
        // text says nothing when the watch shut it, and names the system's
        // timeout when the keepalive probes or the data sent went unanswered.
        const QString lost = u"l'operazione è stata interrotta e quanto non era ancora confermato non è stato salvato. "
                             "Controllare la rete e il server, poi riprovare."_s;
        const bool shut = m_watch && m_watch->silent();
        if (shut || why.contains(u"timed out"_s, Qt::CaseInsensitive)) {
            return u"Il server PostgreSQL %1 ha smesso di rispondere (database «%2», nessuna risposta entro %3 "
                   "secondi): %4"_s.arg(serverAddress(), m_settings.database)
                       .arg(m_settings.silenceSeconds)
                       .arg(shut ? lost : u"%1 (%2)"_s.arg(lost, why));
        }
        return u"La connessione al server PostgreSQL %1 si è interrotta (database «%2»): %3 (%4)"_s.arg(
            serverAddress(), m_settings.database, lost, why);
    }
    const QString code = error.nativeErrorCode();
    // SQLITE_BUSY and SQLITE_LOCKED; PostgreSQL's lock_not_available.
    const bool busy = isPostgreSQL() ? code == u"55P03" : (code == u"5" || code == u"6");
    if (!busy)
        return why;
    const QString what = m_busyCancelled ? u"l'attesa è stata annullata"_s
                                         : u"non si è liberato entro %1 secondi"_s.arg(m_settings.waitSeconds);
    return u"Il database %1 è in uso da un altro programma e %2: riprovare quando l'altro programma lo ha lasciato. (%3)"_s
        .arg(describe(), what, why);
}

void TdmNrConnection::CloseConnection()
{
    if (!m_db.isValid())
        return;
    if (m_unconfirmed) {
        try {
            confirmSent();
        } catch (const EDatabaseError &) {
            // The transaction goes back below.
        }
    }
    m_earlierFailure.clear();
    m_watch.reset();
    m_prepared.clear();
    m_sqliteStatements.clear();
    m_pgStatements.clear();
    forgetTransaction();
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
        NrServerRoundTrip roundTrip(*this);
        m_earlierFailure.clear();
        ok = m_db.transaction();
        error = m_db.lastError();
    } else {
        QSqlQuery begin(m_db);
        ok = begin.exec(u"BEGIN IMMEDIATE"_s);
        error = begin.lastError();
    }
    if (!ok)
        throw EDatabaseError(u"Impossibile iniziare una transazione: %1"_s.arg(errorText(error)));
    m_inTransaction = true;
    forgetTransaction();
}

void TdmNrConnection::commitTransaction()
{
    if (!m_inTransaction)
        throw EDatabaseError(u"Nessuna transazione da confermare"_s);
    // Savepoints with no statement inside need not be set, nor those set
    // released, to end with the transaction.
    std::erase_if(m_savepoints, [](const Savepoint &asked) { return !asked.set; });
    m_releasing.clear();
    QString why;
    try {
        if (isPostgreSQL())
            confirmSent();
        sendQueued();
        for (const auto &[key, held] : m_held) {
            if (held.write)
                held.write(held.value);
        }
    } catch (const EEarlierWriteFailed &) {
        // Said as it is: the caller may run the steps again.
        forgetTransaction();
        m_db.rollback();
        m_inTransaction = false;
        m_earlierFailure.clear();
        throw;
    } catch (const Exception &e) {
        why = e.message();
    }
    forgetTransaction();
    if (why.isEmpty()) {
        NrServerRoundTrip roundTrip(*this);
        if (!m_db.commit())
            why = errorText(m_db.lastError());
    }
    if (!why.isEmpty()) {
        // A commit refused, or a held value that could not be written,
        // leaves nothing to keep.
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
    forgetTransaction();
    NrServerRoundTrip roundTrip(*this);
    if (isPostgreSQL()) {
        // The answers still owed go with the transaction, whatever they say.
        try {
            confirmSent();
        } catch (const EDatabaseError &) {
        }
        m_earlierFailure.clear();
    }
    // A lost connection took its transaction with it.
    if (!m_db.rollback() && !serverLost())
        throw EDatabaseError(u"Impossibile annullare la transazione: %1"_s.arg(NrSqlErrorText(m_db.lastError())));
}

namespace {

void savepointStatement(TdmNrConnection &connection, const QString &sql, const QString &what)
{
    QSqlQuery q(connection.database());
    NrServerRoundTrip roundTrip(connection);
    if (!q.exec(sql))
        throw EDatabaseError(u"%1: %2"_s.arg(what, connection.errorText(q.lastError())));
}

QString createFailed(const QString &name)
{
    return u"Impossibile creare il punto di ripristino «%1»"_s.arg(name);
}

QString releaseFailed(const QString &name)
{
    return u"Impossibile confermare il punto di ripristino «%1»"_s.arg(name);
}

} // namespace

void TdmNrConnection::requireTransaction(const QString &what) const
{
    if (!m_inTransaction)
        throw EDatabaseError(u"%1: nessuna transazione in corso"_s.arg(what));
}

void TdmNrConnection::savepoint(const QString &name)
{
    requireTransaction(createFailed(name));
    // Writes queued belong before the savepoint.
    sendQueued();
    Savepoint asked{name, false, {}};
    for (const auto &[key, held] : m_held)
        asked.held.emplace(key, held.value);
    m_savepoints.push_back(std::move(asked));
}

std::vector<std::pair<QString, QString>> TdmNrConnection::pendingSavepointStatements() const
{
    std::vector<std::pair<QString, QString>> statements;
    if (!m_releasing.isEmpty())
        statements.emplace_back(u"RELEASE SAVEPOINT "_s + m_releasing, releaseFailed(m_releasing));
    for (const Savepoint &asked : m_savepoints) {
        if (!asked.set)
            statements.emplace_back(u"SAVEPOINT "_s + asked.name, createFailed(asked.name));
    }
    return statements;
}

void TdmNrConnection::savepointsSent()
{
    m_releasing.clear();
    for (Savepoint &asked : m_savepoints)
        asked.set = true;
}

void TdmNrConnection::beforeStatement()
{
    if (!isPostgreSQL()) {
        // SQLite runs only the first statement of a text, and costs no round trip.
        if (!m_releasing.isEmpty()) {
            savepointStatement(*this, u"RELEASE SAVEPOINT "_s + m_releasing, releaseFailed(m_releasing));
            m_releasing.clear();
        }
        for (Savepoint &asked : m_savepoints) {
            if (!asked.set) {
                savepointStatement(*this, u"SAVEPOINT "_s + asked.name, createFailed(asked.name));
                asked.set = true;
            }
        }
        return;
    }
    // The answers still owed, then the writes queued, with the savepoints.
    confirmSent();
    sendQueued();
    // One round trip for the release still to be sent and the savepoints
    // asked for. The driver reports the failure of the first statement only;
    // a savepoint after it fails only when the server does, and then the
    // statement about to run reports it.
    const std::vector<std::pair<QString, QString>> pending = pendingSavepointStatements();
    if (pending.empty())
        return;
    QStringList statements;
    for (const auto &[sql, what] : pending)
        statements.append(sql);
    savepointStatement(*this, statements.join(u"; "_s), pending.front().second);
    savepointsSent();
}

void TdmNrConnection::queueStatement(const QString &key, const std::function<QString()> &sql,
                                     std::span<const std::pair<QString, QVariant>> named,
                                     std::span<const QVariant> positional)
{
    std::shared_ptr<PgStatement> statement;
    if (auto it = m_pgStatements.find(key); it != m_pgStatements.end()) {
        statement = it->second;
    } else {
        statement = std::make_shared<PgStatement>(PgStatement{NrPgStatement(sql()), {}, false});
        if (m_pgStatements.size() < kMaxPrepared) {
            statement->name = "elh_" + QByteArray::number(++m_pgStatementSerial);
            m_pgStatements.emplace(key, statement);
        }
    }
    std::vector<int> formats;
    std::vector<NrPgValue> values = statement->text.values(named, positional, &formats);
    m_queued.push_back({std::move(statement), std::move(values), std::move(formats)});
}

void TdmNrConnection::sendQueued()
{
    if (!m_queued.empty())
        sendPipeline(false, false);
}

void TdmNrConnection::sendQueuedLater()
{
    if (!m_queued.empty())
        sendPipeline(false, m_confirmLater);
}

NrPgValue TdmNrConnection::queuedScalar(const QString &key, const std::function<QString()> &sql,
                                        std::span<const std::pair<QString, QVariant>> named)
{
    queueStatement(key, sql, named);
    return sendPipeline(true, false);
}

void TdmNrConnection::Pipeline::fail(const QString &why, std::size_t at)
{
    if (failure.isEmpty()) {
        failure = why;
        failedAt = at;
    }
}

NrPgValue TdmNrConnection::sendPipeline(bool wantRow, bool later)
{
    // The answers still owed by the server come before anything else.
    confirmSent();
    const std::vector<Queued> queued = std::exchange(m_queued, {});
    const std::vector<std::pair<QString, QString>> savepoints = pendingSavepointStatements();

    NrServerRoundTrip roundTrip(*this);
    PGconn *pg = postgreSQLConnection();
    if (PQenterPipelineMode(pg) != 1)
        throw EDatabaseError(errorText(NrPgServerError(pg, nullptr)));
    Pipeline pipeline;
    pipeline.savepoints = savepoints.size();
    // A command the library does not take stops the sending; those taken
    // still get their answers.
    const auto send = [&](int taken, Pipeline::Sent command) {
        if (taken != 1) {
            pipeline.fail(errorText(NrPgServerError(pg, nullptr)), pipeline.sent.size());
            pipeline.allSent = false;
            return false;
        }
        pipeline.sent.push_back(std::move(command));
        return true;
    };
    for (const auto &[sql, what] : savepoints) {
        const QByteArray text = sql.toUtf8();
        if (pipeline.allSent)
            send(PQsendQueryParams(pg, text.constData(), 0, nullptr, nullptr, nullptr, nullptr, 0), {what});
    }
    for (const Queued &q : queued) {
        PgStatement &st = *q.statement;
        if (pipeline.allSent && !st.name.isEmpty() && !st.prepared)
            st.prepared =
                send(PQsendPrepare(pg, st.name.constData(), st.text.sql().constData(), 0, nullptr), {{}, &st});
        std::vector<const char *> values;
        std::vector<int> lengths;
        for (const NrPgValue &v : q.values) {
            values.push_back(v ? v->constData() : nullptr);
            lengths.push_back(v ? static_cast<int>(v->size()) : 0);
        }
        const int count = static_cast<int>(values.size());
        if (pipeline.allSent)
            send(st.name.isEmpty() ? PQsendQueryParams(pg, st.text.sql().constData(), count, nullptr, values.data(),
                                                       lengths.data(), q.formats.data(), 0)
                                   : PQsendQueryPrepared(pg, st.name.constData(), count, values.data(), lengths.data(),
                                                         q.formats.data(), 0),
                 {});
    }
    const bool synced = PQpipelineSync(pg) == 1;
    if (later && synced && pipeline.allSent) {
        // The savepoints count as set: a failure among the writes can only
        // be undone with the whole transaction.
        if (!savepoints.empty())
            savepointsSent();
        pipeline.savepoints = 0;
        m_unconfirmed = std::move(pipeline);
        return {};
    }
    return readAnswers(pg, pipeline, synced, wantRow);
}

NrPgValue TdmNrConnection::readAnswers(pg_conn *pg, Pipeline &pipeline, bool synced, bool wantRow)
{
    // Every command gives one result and then a null; the sync ends them.
    std::vector<Pipeline::Sent> &sent = pipeline.sent;
    bool answered = synced;
    NrPgValue row;
    for (std::size_t i = 0; i < sent.size() && answered; ++i) {
        PGresult *result = PQgetResult(pg);
        if (!result) {
            answered = false;
            break;
        }
        const ExecStatusType status = PQresultStatus(result);
        if (status == PGRES_FATAL_ERROR) {
            const QString why = errorText(NrPgServerError(pg, result));
            pipeline.fail(sent[i].what.isEmpty() ? why : u"%1: %2"_s.arg(sent[i].what, why), i);
        }
        if (sent[i].preparing && status != PGRES_COMMAND_OK)
            sent[i].preparing->prepared = false;
        // The first row comes alone when the driver left its single-row mode on.
        if (wantRow && pipeline.allSent && i + 1 == sent.size()
            && (status == PGRES_TUPLES_OK || status == PGRES_SINGLE_TUPLE) && PQntuples(result) > 0
            && PQnfields(result) > 0 && !PQgetisnull(result, 0, 0))
            row = QByteArray(PQgetvalue(result, 0, 0), PQgetlength(result, 0, 0));
        PQclear(result);
        while (PGresult *rest = PQgetResult(pg))
            PQclear(rest);
    }
    if (answered) {
        PGresult *sync = PQgetResult(pg);
        answered = sync && PQresultStatus(sync) == PGRES_PIPELINE_SYNC;
        PQclear(sync);
    }
    if (!answered) {
        // The connection broke on the way: nothing sent counts as prepared.
        for (const Pipeline::Sent &command : sent) {
            if (command.preparing)
                command.preparing->prepared = false;
        }
        pipeline.fail(errorText(NrPgServerError(pg, nullptr)), 0);
    }
    PQexitPipelineMode(pg);
    // The savepoints went before the rest: they are set unless one failed.
    if (pipeline.savepoints > 0 && pipeline.failedAt >= pipeline.savepoints)
        savepointsSent();
    if (!pipeline.failure.isEmpty())
        throw EDatabaseError(pipeline.failure);
    return row;
}

void TdmNrConnection::confirmSent()
{
    if (m_unconfirmed) {
        Pipeline pipeline = std::move(*m_unconfirmed);
        m_unconfirmed.reset();
        NrServerRoundTrip roundTrip(*this);
        try {
            readAnswers(postgreSQLHandle(m_db), pipeline, true, false);
        } catch (const EDatabaseError &e) {
            m_earlierFailure = e.message();
        }
    }
    if (!m_earlierFailure.isEmpty())
        throw EEarlierWriteFailed(m_earlierFailure);
}

void TdmNrConnection::releaseSavepoint(const QString &name)
{
    requireTransaction(releaseFailed(name));
    sendQueued();
    const std::size_t depth = savepointIndex(name);
    // The server is told with the next statement: a release is mostly
    // followed by the next savepoint, and both go in one round trip. A
    // release still to be sent is of a savepoint inside this one.
    if (m_savepoints[depth].set)
        m_releasing = m_savepoints[depth].name;
    // Releasing ends the savepoint and those set after it; what they held
    // now belongs to the one around them.
    m_savepoints.resize(depth);
    for (auto &[key, held] : m_held)
        held.depth = std::min(held.depth, depth);
}

void TdmNrConnection::rollbackToSavepoint(const QString &name)
{
    const QString what = u"Impossibile tornare al punto di ripristino «%1»"_s.arg(name);
    requireTransaction(what);
    const std::size_t depth = savepointIndex(name) + 1;
    m_cacheEpoch = ++g_cacheEpoch;
    // Writes not sent were queued inside the savepoint: they go with it.
    m_queued.clear();
    if (isPostgreSQL())
        confirmSent();
    if (m_savepoints[depth - 1].set) {
        savepointStatement(*this, u"ROLLBACK TO SAVEPOINT "_s + name, what);
        // A release still to be sent was of a savepoint inside this one,
        // which the rollback has ended.
        m_releasing.clear();
    }
    // The savepoint stays; those set after it end.
    m_savepoints.resize(depth);
    std::erase_if(m_held, [depth](const auto &entry) { return entry.second.depth >= depth; });
    for (auto &[key, held] : m_held)
        held.value = m_savepoints.back().held.at(key);
}

std::size_t TdmNrConnection::savepointIndex(const QString &name) const
{
    for (std::size_t i = m_savepoints.size(); i > 0; --i) {
        if (m_savepoints[i - 1].name.compare(name, Qt::CaseInsensitive) == 0)
            return i - 1;
    }
    throw EDatabaseError(u"Punto di ripristino «%1» non trovato nella transazione in corso"_s.arg(name));
}

NrStatementSource &TdmNrConnection::statements() const
{
    if (!m_statements)
        throw EAssertionFailed(u"La connessione al database non ha un archivio di query"_s);
    return *m_statements;
}

TNrQuery &TdmNrConnection::prepared(const QString &key, const std::function<void(TNrQuery &)> &make)
{
    auto it = m_prepared.find(key);
    if (it == m_prepared.end()) {
        if (m_prepared.size() >= kMaxPrepared)
            m_prepared.clear();
        auto query = std::make_unique<TNrQuery>(*this);
        make(*query);
        it = m_prepared.emplace(key, std::move(query)).first;
    }
    return *it->second;
}

TNrQuery &TdmNrConnection::preparedStatement(const QString &name, const QString &kind)
{
    return prepared(name, [&](TNrQuery &made) { made.fetch(name, 0, kind); });
}

NrSqliteStatement &TdmNrConnection::sqliteStatement(const QString &key, const std::function<QString()> &sql)
{
    auto it = m_sqliteStatements.find(key);
    if (it == m_sqliteStatements.end())
        it = m_sqliteStatements.emplace(key, std::make_unique<NrSqliteStatement>(*this, sql())).first;
    return *it->second;
}

QString TdmNrConnection::statementText(const QString &name, const QString &kind)
{
    TNrQuery made(*this);
    made.fetch(name, 0, kind);
    return made.sql();
}

NrSqliteStatement &TdmNrConnection::sqliteStatement(const QString &name, const QString &kind)
{
    return sqliteStatement(name, [&] { return statementText(name, kind); });
}

NrSqliteStatement::NrSqliteStatement(TdmNrConnection &connection, const QString &sql)
    : m_connection(connection)
{
    sqlite3 *sqlite = sqliteHandle(connection.database());
    if (!sqlite)
        throw EAssertionFailed(u"Istruzione per SQLite su una connessione che non è SQLite"_s);
    const int rc = sqlite3_prepare16_v2(sqlite, sql.utf16(), static_cast<int>(sql.size() * 2), &m_statement, nullptr);
    if (rc != SQLITE_OK) {
        sqlite3_finalize(m_statement);
        m_statement = nullptr;
        throw EDatabaseError(connection.errorText(sqliteError(sqlite, u"Unable to execute statement"_s, rc)));
    }
}

NrSqliteStatement::~NrSqliteStatement()
{
    sqlite3_finalize(m_statement);
}

int NrSqliteStatement::bind(int at, const QVariant &value)
{
    if (value.isNull())
        return sqlite3_bind_null(m_statement, at);
    switch (value.metaType().id()) {
    case QMetaType::Int:
    case QMetaType::Bool:
        return sqlite3_bind_int(m_statement, at, value.toInt());
    case QMetaType::UInt:
    case QMetaType::LongLong:
        return sqlite3_bind_int64(m_statement, at, value.toLongLong());
    case QMetaType::Double:
        return sqlite3_bind_double(m_statement, at, value.toDouble());
    default: {
        const QString text = value.toString();
        return sqlite3_bind_text16(m_statement, at, text.utf16(), static_cast<int>(text.size() * 2), SQLITE_TRANSIENT);
    }
    }
}

void NrSqliteStatement::fail(int rc)
{
    const int reset = sqlite3_reset(m_statement);
    sqlite3_clear_bindings(m_statement);
    throw EDatabaseError(m_connection.errorText(
        sqliteError(sqlite3_db_handle(m_statement), u"Unable to fetch row"_s, reset != SQLITE_OK ? reset : rc)));
}

void NrSqliteStatement::execute(std::span<const QVariant> values)
{
    m_connection.beforeStatement();
    int rc = SQLITE_OK;
    for (std::size_t i = 0; i < values.size() && rc == SQLITE_OK; ++i)
        rc = bind(static_cast<int>(i) + 1, values[i]);
    if (rc == SQLITE_OK) {
        rc = sqlite3_step(m_statement);
        if (rc == SQLITE_DONE)
            rc = SQLITE_OK;
    }
    if (rc != SQLITE_OK)
        fail(rc);
    sqlite3_reset(m_statement);
    sqlite3_clear_bindings(m_statement);
}

void NrSqliteStatement::open(std::span<const std::pair<QString, QVariant>> named)
{
    close();
    m_connection.beforeStatement();
    // Placeholders named as the text spells them, ":NAME" once however often
    // it is used; a name the text does not use is left, as the driver leaves it.
    const int count = sqlite3_bind_parameter_count(m_statement);
    for (int at = 1; at <= count; ++at) {
        const char *placeholder = sqlite3_bind_parameter_name(m_statement, at);
        if (!placeholder || *placeholder != ':')
            continue;
        const QUtf8StringView name(placeholder + 1);
        for (const auto &[given, value] : named) {
            if (QAnyStringView::equal(name, given)) {
                if (const int rc = bind(at, value); rc != SQLITE_OK)
                    fail(rc);
                break;
            }
        }
    }
}

bool NrSqliteStatement::next()
{
    const int rc = sqlite3_step(m_statement);
    if (rc == SQLITE_ROW)
        return true;
    if (rc != SQLITE_DONE)
        fail(rc);
    return false;
}

void NrSqliteStatement::close()
{
    sqlite3_reset(m_statement);
    sqlite3_clear_bindings(m_statement);
}

int NrSqliteStatement::column(const QString &name) const
{
    const int count = sqlite3_column_count(m_statement);
    for (int i = 0; i < count; ++i) {
        if (QString::fromUtf8(sqlite3_column_name(m_statement, i)).compare(name, Qt::CaseInsensitive) == 0)
            return i;
    }
    return -1;
}

bool NrSqliteStatement::isNull(int column) const
{
    return sqlite3_column_type(m_statement, column) == SQLITE_NULL;
}

qint64 NrSqliteStatement::integer(int column) const
{
    return sqlite3_column_int64(m_statement, column);
}

QUtf8StringView NrSqliteStatement::text(int column) const
{
    const auto *text = reinterpret_cast<const char8_t *>(sqlite3_column_text(m_statement, column));
    return {text, sqlite3_column_bytes(m_statement, column)};
}

QVariant NrSqliteStatement::value(int column) const
{
    switch (sqlite3_column_type(m_statement, column)) {
    case SQLITE_INTEGER:
        return qint64(sqlite3_column_int64(m_statement, column));
    case SQLITE_FLOAT:
        return sqlite3_column_double(m_statement, column);
    case SQLITE_BLOB:
        return QByteArray(static_cast<const char *>(sqlite3_column_blob(m_statement, column)),
                          sqlite3_column_bytes(m_statement, column));
    case SQLITE_NULL:
        return QVariant(QMetaType::fromType<QString>());
    default: {
        const QUtf8StringView utf8 = text(column);
        return QString::fromUtf8(utf8.data(), utf8.size());
    }
    }
}

void TdmNrConnection::invalidateCaches()
{
    m_cacheEpoch = ++g_cacheEpoch;
}

void TdmNrConnection::forgetTransaction()
{
    // Writes not sent go with the transaction.
    m_queued.clear();
    invalidateCaches();
    m_held.clear();
    m_savepoints.clear();
    m_releasing.clear();
}

std::optional<qint64> TdmNrConnection::heldValue(const QString &key) const
{
    const auto it = m_held.find(key);
    return it == m_held.end() ? std::nullopt : std::optional<qint64>(it->second.value);
}

void TdmNrConnection::holdValue(const QString &key, qint64 value, std::function<void(qint64)> write)
{
    if (!m_inTransaction)
        return;
    auto it = m_held.find(key);
    if (it == m_held.end()) {
        m_held.emplace(key, Held{value, m_savepoints.size(), std::move(write)});
        return;
    }
    it->second.value = value;
    if (write)
        it->second.write = std::move(write);
}

NrServerRoundTrip::NrServerRoundTrip(const TdmNrConnection &connection)
    : m_watch(connection.serverWatch())
{
    if (m_watch)
        m_watch->begin();
}

NrServerRoundTrip::~NrServerRoundTrip()
{
    if (m_watch)
        m_watch->end();
}
