#pragma once

#include "NrPgStatement.h"
#include "NrRows.h"

#include <QSqlDatabase>
#include <QSqlError>
#include <QString>
#include <QVariant>

#include <functional>
#include <limits>
#include <map>
#include <memory>
#include <optional>
#include <span>
#include <utility>
#include <vector>

struct pg_conn;
struct sqlite3_stmt;
class NrServerWatch;
class NrSqliteStatement;
class NrStatementSource;
class TNrQuery;

// Where the school database is: the settings of the installation.
struct NrConnectionSettings
{
    QString driver;   // "QSQLITE" (the embedded default) or "QPSQL"
    QString database; // the file (SQLite) or the database name (PostgreSQL)
    QString host;
    int port = 0; // 0: the driver's default
    QString user; // PostgreSQL; the password comes from PGPASSWORD or .pgpass
    // Seconds to wait for a database that another program holds, and for a
    // PostgreSQL server to answer the connection, before giving up.
    int waitSeconds = 30;
    // Seconds after which a PostgreSQL server that has stopped answering in
    // the middle of a statement is given up.
    int silenceSeconds = 30;
};

// The framework's connection data module: one named Qt SQL connection to the
// school database, the transaction state of that connection and the source of
// its named statements. Like the SQL connection layer it stands for, it is
// used from the thread that opened it.
class TdmNrConnection
{
public:
    explicit TdmNrConnection(const QString &name = QStringLiteral("xqoMain"));
    virtual ~TdmNrConnection();
    TdmNrConnection(const TdmNrConnection &) = delete;
    TdmNrConnection &operator=(const TdmNrConnection &) = delete;

    // The framework's creation: this module becomes the global connection.
    void DataModuleCreate();

    const NrConnectionSettings &settings() const { return m_settings; }
    void setSettings(const NrConnectionSettings &settings) { m_settings = settings; }

    // Opens the SQL connection with the settings. Raises ENrError when the
    // global connection is not set, EDatabaseError when the database cannot
    // be opened. An open connection stays as it is.
    virtual bool OpenConnection();
    void CloseConnection();
    bool connected() const;
    QSqlDatabase database() const { return m_db; }
    bool isPostgreSQL() const;
    // The client library's connection under the driver of an open PostgreSQL
    // database, ready for a statement sent there: what the driver left unread
    // of its last statement is dropped, as the driver itself drops it before
    // its next one. EAssertionFailed on any other connection.
    pg_conn *postgreSQLConnection();

    // The connection's transaction, driven by TNrTransaction. On SQLite a
    // transaction takes the write lock at once (BEGIN IMMEDIATE), so that two
    // clients never both read a counter and then both write it.
    bool inTransaction() const { return m_inTransaction; }
    void startTransaction();
    void commitTransaction();
    void rollbackTransaction();
    // A named point inside the open transaction: rolling back to it undoes
    // what was written since and keeps the transaction (and, on PostgreSQL,
    // makes it usable again after an error); releasing it keeps the writes.
    // The server is told only when the next statement runs: a savepoint
    // with no statement inside costs no round trip, and a release goes
    // with the savepoint that follows it.
    void savepoint(const QString &name);
    void releaseSavepoint(const QString &name);
    void rollbackToSavepoint(const QString &name);

    // Sets the savepoints asked for and not yet set; every statement run on
    // the connection calls it first.
    void beforeStatement();

    // PostgreSQL: a statement whose answer nobody waits for (the writes of a
    // save), sent with whatever goes to the server next, in the same round
    // trip; the savepoints still to be set go before it. Its text, as for
    // the driver, comes from sql() the first time and is kept under key;
    // the values are taken now, an NrPgBinary one in binary. A failure is
    // reported by the statement that carries it to the server, or by
    // sendQueued().
    void queueStatement(const QString &key, const std::function<QString()> &sql,
                        std::span<const std::pair<QString, QVariant>> named, std::span<const QVariant> positional = {});
    // Sends the statements queued; EDatabaseError with the first that fails.
    void sendQueued();
    // The same at the end of a save. With confirmLater, its writes go
    // without waiting for their answers, which the next statement to the
    // server reads first: the server writes while the program works on. A
    // failure among them is then reported as EEarlierWriteFailed, by that
    // statement and by every one after it, a commit included, until the
    // transaction is rolled back.
    void sendQueuedLater();
    void setConfirmLater(bool later) { m_confirmLater = later; }
    // Reads the answers of writes sent without waiting; EEarlierWriteFailed
    // when one failed.
    void confirmSent();
    // Queues the statement and sends it with those before it: the first
    // column of its first row, none when it has no row or a null there.
    NrPgValue queuedScalar(const QString &key, const std::function<QString()> &sql,
                           std::span<const std::pair<QString, QVariant>> named);
    // The named statements; EAssertionFailed when the module has none.
    NrStatementSource &statements() const;
    // The text of a named statement of the module.
    QString statementText(const QString &name, const QString &kind = QStringLiteral("EXECUTE"));

    // A statement prepared once and kept until the connection closes, under
    // a key that names it and its variant; make() sets its text the first
    // time. The reference is good until the next call.
    TNrQuery &prepared(const QString &key, const std::function<void(TNrQuery &)> &make);
    // A named statement of the module, kept prepared under its name.
    TNrQuery &preparedStatement(const QString &name, const QString &kind = QStringLiteral("EXECUTE"));
    // A statement of a SQLite connection kept prepared on the engine itself
    // under a key, sql() giving its text the first time; good until the
    // connection closes.
    NrSqliteStatement &sqliteStatement(const QString &key, const std::function<QString()> &sql);
    // A named statement of the module kept prepared on the engine under its name.
    NrSqliteStatement &sqliteStatement(const QString &name, const QString &kind);
    // What a cache of the database's contents was read under: it changes at
    // every opening and closing, at the start and end of every transaction,
    // at a rollback to a savepoint and at invalidateCaches(), never coming
    // back to an earlier value.
    quint64 cacheEpoch() const { return m_cacheEpoch; }
    void invalidateCaches();
    // A value read inside the open transaction that stays true until it
    // ends (a counter under a row lock it holds, the id of a row it found),
    // kept under a key of the caller's so that later statements of the
    // transaction need not read it again; outside a transaction nothing is
    // kept. A value first held inside a savepoint is forgotten when the
    // transaction goes back to that savepoint, which undoes the rows and
    // gives back the locks taken since; the values held before it stay, as
    // they were when the savepoint was set.
    // With write, the last value held under the key is stored by write()
    // just before the transaction commits: a counter moved on by many saves
    // is written once. A write that fails makes the commit fail.
    std::optional<qint64> heldValue(const QString &key) const;
    void holdValue(const QString &key, qint64 value, std::function<void(qint64)> write = {});

    // The text of a database error of this connection: a database held by
    // another program, or a server that did not answer, is said in Italian
    // with the database named, the driver's own text after it.
    QString errorText(const QSqlError &error) const;
    // Where the database is, for messages: "«kbr.sqlite»" or
    // "«scuola» sul server PostgreSQL 10.0.0.5:5432".
    QString describe() const;

    // The watch over the server of an open PostgreSQL connection; null on SQLite.
    NrServerWatch *serverWatch() const { return m_watch.get(); }

protected:
    void setStatementSource(NrStatementSource *source) { m_statements = source; }
    // "Connessione al database non consentita" unless the global connection is set.
    static void checkConnectionAllowed();

private:
    // SQLite's busy handler: asked while another program holds the
    // database; non-zero to try again, zero to give up.
    static int sqliteBusy(void *connection, int attempt);
    void installBusyHandler();
    // Starts the watch over the server of the PostgreSQL connection just opened.
    void watchServer();
    // The PostgreSQL connection is lost: the server went silent or dropped it.
    bool serverLost() const;
    // "10.0.0.5:5432"
    QString serverAddress() const;

    QString m_connectionName;
    NrConnectionSettings m_settings;
    QSqlDatabase m_db;
    bool m_inTransaction = false;
    NrStatementSource *m_statements = nullptr;
    qint64 m_busySince = 0; // ms since the epoch of the steady clock
    bool m_busyCancelled = false;
    std::unique_ptr<NrServerWatch> m_watch;
    std::map<QString, std::unique_ptr<TNrQuery>> m_prepared;
    std::map<QString, std::unique_ptr<NrSqliteStatement>> m_sqliteStatements;
    // Statements sent through PostgreSQL's own client library, prepared on
    // the server under a name of ours the first time they go; past the
    // cache's limit a statement goes unnamed, parsed at every run.
    struct PgStatement
    {
        NrPgStatement text;
        QByteArray name;
        bool prepared = false;
    };
    std::map<QString, std::shared_ptr<PgStatement>> m_pgStatements;
    struct Queued
    {
        std::shared_ptr<PgStatement> statement;
        std::vector<NrPgValue> values;
        std::vector<int> formats; // by value: 1 in binary, 0 in text
    };
    std::vector<Queued> m_queued;
    int m_pgStatementSerial = 0;
    // The commands of one round trip, sent and waiting for their answers.
    struct Pipeline
    {
        struct Sent
        {
            QString what;                     // what its failure says
            PgStatement *preparing = nullptr; // for a preparation
        };
        std::vector<Sent> sent;
        std::size_t savepoints = 0; // set by the first commands, unless one fails
        bool allSent = true;
        // The first failure and the place of the command it stopped.
        QString failure;
        std::size_t failedAt = std::numeric_limits<std::size_t>::max();
        void fail(const QString &why, std::size_t at);
    };
    NrPgValue sendPipeline(bool wantRow, bool later);
    // The answers of the pipeline, the first row of its last command with wantRow.
    NrPgValue readAnswers(pg_conn *pg, Pipeline &pipeline, bool synced, bool wantRow);
    bool m_confirmLater = false;
    std::optional<Pipeline> m_unconfirmed;
    QString m_earlierFailure; // of writes not waited for, until the rollback
    // The statements that set the savepoints asked for and send the release
    // still due, each with what its failure says.
    std::vector<std::pair<QString, QString>> pendingSavepointStatements() const;
    void savepointsSent();
    quint64 m_cacheEpoch = 0;
    struct Held
    {
        qint64 value;
        std::size_t depth; // the savepoints open when it was first held
        std::function<void(qint64)> write;
    };
    std::map<QString, Held> m_held;
    struct Savepoint
    {
        QString name;
        bool set;                       // on the server
        std::map<QString, qint64> held; // the values held when it was asked for
    };
    std::vector<Savepoint> m_savepoints; // the open ones, the newest last
    QString m_releasing;                 // a savepoint released here and not yet on the server
    void forgetTransaction();
    // EDatabaseError "<what>: nessuna transazione in corso" outside one.
    void requireTransaction(const QString &what) const;
    // Where the newest savepoint of that name is among the open ones.
    std::size_t savepointIndex(const QString &name) const;
};

// A round trip to the server of a connection, from the statement sent to its
// answer: on PostgreSQL the server's watch looks at it while it lasts.
class NrServerRoundTrip
{
public:
    explicit NrServerRoundTrip(const TdmNrConnection &connection);
    ~NrServerRoundTrip();
    NrServerRoundTrip(const NrServerRoundTrip &) = delete;
    NrServerRoundTrip &operator=(const NrServerRoundTrip &) = delete;

private:
    NrServerWatch *m_watch;
};

// The global connection of the framework: set by the connection module's
// creation, cleared when the program goes on without a database.
TdmNrConnection *NrGlobConn();
void setNrGlobConn(TdmNrConnection *connection);

// The text of a database error as the server gives it, or the driver's when
// the server gave none.
QString NrSqlErrorText(const QSqlError &error);

// A statement run on SQLite's engine with its values bound there, as the
// driver binds them: for inserts of many rows one by one, where the driver's
// binding of each value costs more than the row itself, and for reads of
// many rows, where the driver turns every column of every row into a variant.
class NrSqliteStatement final : public NrRows
{
public:
    NrSqliteStatement(TdmNrConnection &connection, const QString &sql);
    ~NrSqliteStatement();
    NrSqliteStatement(const NrSqliteStatement &) = delete;
    NrSqliteStatement &operator=(const NrSqliteStatement &) = delete;

    // Runs the statement with these values for its placeholders, in order;
    // EDatabaseError when the engine refuses it.
    void execute(std::span<const QVariant> values);

    // Starts a SELECT with these values for its named placeholders (":NAME");
    // next() moves to each row in turn, until close() or the next start.
    void open(std::span<const std::pair<QString, QVariant>> named);
    bool next() override;
    // Ends reading, so that the connection's transaction can end.
    void close();
    int column(const QString &name) const override;
    bool isNull(int column) const override;
    qint64 integer(int column) const override;
    // The text as the engine holds it.
    QUtf8StringView text(int column) const override;
    // Integer, double, text or bytes; a null text for a null.
    QVariant value(int column) const override;

private:
    int bind(int at, const QVariant &value);
    [[noreturn]] void fail(int rc);

    TdmNrConnection &m_connection;
    sqlite3_stmt *m_statement = nullptr;
};
