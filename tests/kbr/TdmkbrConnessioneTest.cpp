#include "DataPaths.h"
#include "DatabaseTest.h"
#include "Exceptions.h"
#include "KbrSchema.h"
#include "NrBusyWait.h"
#include "NrExceptions.h"
#include "NrQuery.h"
#include "QtPrinters.h"
#include "THlmReport.h"
#include "TempDir.h"

#include <QDir>
#include <QFile>
#include <QSettings>
#include <QSqlQuery>

#include <gtest/gtest.h>

#include <arpa/inet.h>
#include <netinet/in.h>
#include <sys/socket.h>
#include <unistd.h>

#include <atomic>
#include <condition_variable>
#include <functional>
#include <mutex>
#include <stdexcept>
#include <thread>
#include <tuple>
#include <vector>

using namespace Qt::Literals::StringLiterals;

namespace {

constexpr int kLatestSchema = 6;

// The file name of a script of the version after the latest, as a later
// program would bring.
QString nextScript(const QString &engine, const QString &description)
{
    return engine + u"/%1_"_s.arg(kLatestSchema + 1, 3, 10, QChar(u'0')) + description + u".sql"_s;
}

} // namespace

// The opening sequence on an opened connection.
class ConnectionOpened : public DatabaseTest
{
};

ELH_INSTANTIATE_ON_BOTH_ENGINES(ConnectionOpened);

TEST_P(ConnectionOpened, CreatingMakesTheSchemaAndRegistersTheReports)
{
    EXPECT_EQ(KbrSchema::currentVersion(connection()), kLatestSchema);
    EXPECT_EQ(scalar(u"SELECT IYRPTVERSION FROM TYRPT_REPORT WHERE IYRPTID = 1100601"_s).toInt(), 1);
    EXPECT_EQ(scalar(u"SELECT IYRFOID_P FROM TYRFO_FAMIGLIEREPORT WHERE IYRFOID = 11006"_s).toInt(), 11001);
    EXPECT_EQ(scalar(u"SELECT COUNT(*) FROM TYAPVRFO_APPREPORT WHERE IYAPVRFOID = 11006 AND IYAPPID = 11"_s).toInt(),
              1);
    EXPECT_FALSE(connection().inTransaction());
    EXPECT_EQ(NrGlobConn(), &connection());
    if (GetParam() == Engine::PostgreSQL) {
        // No statement of the program waits for ever on the server.
        EXPECT_EQ(scalar(u"SHOW lock_timeout"_s).toString(), u"30s"_s);
        EXPECT_EQ(scalar(u"SHOW statement_timeout"_s).toString(), u"5min"_s);
    }
    // Opening again changes nothing.
    connection().CloseConnection();
    ASSERT_TRUE(connection().OpenConnection());
    EXPECT_TRUE(findings().isEmpty());
}

TEST_P(ConnectionOpened, TheStartupStatementsCorrectThePayrollDataAtEveryOpening)
{
    for (const QVariantList &row : {QVariantList{1, 14, 100.0, 10.0, 0.0, 200.0, 20.0, 0.0},
                                    QVariantList{2, 15, 100.0, 10.0, 5.0, 200.0, 20.0, 3.0},
                                    QVariantList{3, 16, 100.0, 10.0, 0.0, 200.0, 20.0, 0.0}})
        exec(u"INSERT INTO TVARR_VARRITENUTE (IVARRID, IRICEID, FVARRIMPONIBILEDIP, FVARRPERCIMPDIP, FVARRRITDIP, "
             "FVARRIMPONIBILEAMM, FVARRPERCIMPAMM, FVARRRITAMM) VALUES (?, ?, ?, ?, ?, ?, ?, ?)"_s,
             row);
    for (const QVariantList &row : {QVariantList{13, u"eli"_s, u"TREGISTRO"_s, u"vecchia"_s, 0},
                                    QVariantList{14, u"eli"_s, u"TALTRO"_s, u"intatta"_s, 0}})
        exec(
            u"INSERT INTO TCDS_STRUTTURA (ICDSID, SCDSPROGRAMMA, SCDSNOME, SCDSFIELDMAP, ICDSRIGO) VALUES (?, ?, ?, ?, ?)"_s,
            row);
    for (const int record : {7, 9})
        exec(
            u"INSERT INTO TFIS_DATIFISCALI (ICDSID, ICRFID, IFISRIGO, SFISFIELDNAME, SFISVALUE) VALUES (?, ?, ?, ?, ?)"_s,
            {13, 1, record, u"Cognome"_s, u"X"_s});
    exec(u"INSERT INTO TAFI_ANAFISCALE (IAFIID, ICRFID) VALUES (?, ?)"_s, {1, 1});
    exec(u"INSERT INTO TAFI_ANAFISCALE (IAFIID, ICRFID, SAFINOME) VALUES (?, ?, ?)"_s, {2, 1, u"ANNA"_s});
    for (const QVariantList &row :
         {QVariantList{1, QVariant(QMetaType::fromType<int>())}, QVariantList{2, 0}, QVariantList{3, 2}})
        exec(u"INSERT INTO TCUFO_FONDICU (ICUFOID, ICUFOTIPOSCUOLA) VALUES (?, ?)"_s, row);

    connection().CloseConnection();
    ASSERT_TRUE(connection().OpenConnection());

    const std::pair<QString, QString> expected[] = {
        {u"SELECT FVARRIMPONIBILEDIP + FVARRPERCIMPDIP FROM TVARR_VARRITENUTE WHERE IVARRID = 1"_s, u"0"_s},
        {u"SELECT FVARRIMPONIBILEAMM + FVARRPERCIMPAMM FROM TVARR_VARRITENUTE WHERE IVARRID = 1"_s, u"0"_s},
        {u"SELECT FVARRIMPONIBILEDIP FROM TVARR_VARRITENUTE WHERE IVARRID = 2"_s, u"100"_s},
        {u"SELECT FVARRIMPONIBILEAMM FROM TVARR_VARRITENUTE WHERE IVARRID = 2"_s, u"200"_s},
        {u"SELECT FVARRIMPONIBILEDIP FROM TVARR_VARRITENUTE WHERE IVARRID = 3"_s, u"100"_s},
        {u"SELECT SCDSFIELDMAP FROM TCDS_STRUTTURA WHERE ICDSID = 13"_s,
         u"saficognome=Cognome;safinome=Nome;saficodfiscale=CFLavoratore;safigruppoana=Matricola+Qualifica2"_s},
        {u"SELECT ICDSRIGO FROM TCDS_STRUTTURA WHERE ICDSID = 13"_s, u"9"_s},
        {u"SELECT SCDSFIELDMAP FROM TCDS_STRUTTURA WHERE ICDSID = 14"_s, u"intatta"_s},
        {u"SELECT COUNT(*) FROM TAFI_ANAFISCALE"_s, u"1"_s},
        {u"SELECT COUNT(*) FROM TCUFO_FONDICU WHERE ICUFOTIPOSCUOLA = 1"_s, u"2"_s},
        {u"SELECT ICUFOTIPOSCUOLA FROM TCUFO_FONDICU WHERE ICUFOID = 3"_s, u"2"_s},
    };
    for (const auto &[sql, value] : expected) {
        const QString got = scalar(sql).toString();
        bool number = false;
        const double amount = got.toDouble(&number);
        EXPECT_EQ(number ? QString::number(amount) : got, value) << sql.toStdString();
    }
}

TEST_P(ConnectionOpened, EveryStatementOfTheStoreCompilesOnTheEngine)
{
    ClientDataSet &store = connection().queryText().dataSet();
    // The texts the program puts in place of "%s".
    const QHash<QString, QStringList> fills{
        {u"QRY_FIS_INSERISCI"_s, {u"(?, ?, ?, ?, ?, ?, ?, ?, ?), (?, ?, ?, ?, ?, ?, ?, ?, ?)"_s}},
        {u"QRY_FIS_CANCELLA"_s, {u"(ICDSID = ? AND IFISRIGO IN (?, ?)) OR (ICDSID = ? AND IFISRIGO IN (?))"_s}},
        {u"QRY_AFI_AGGIORNA"_s, {u"SAFICOGNOME = :P0, SAFIGRUPPOANA = :P1"_s}},
        {u"QRY_AFI_INSERISCI"_s, {u", SAFICOGNOME"_s, u", :P0"_s}},
        {u"QRY_AFI_NUOVA"_s, {u", SAFICOGNOME"_s, u", :P0"_s}},
        {u"QRY_YRPT"_s, {u"="_s}},
        {u"QRY_PAGHE_INSERISCI"_s, {u"TSEX_SESSI"_s, u"ISEXID, SSEXSDESC"_s, u"?, ?"_s}},
    };
    int compiled = 0;
    for (store.first(); !store.eof(); store.next()) {
        const QString name = store.fieldByName(u"Query"_s).asString();
        if (name.startsWith(u"VER_"))
            continue;
        QString sql = store.fieldByName(u"SQL"_s).asString();
        if (fills.contains(name))
            sql = THlmQueryText::format(sql, fills.value(name));
        QSqlQuery q(connection().database());
        const bool ok = q.prepare(sql);
        const QStringList postgreSqlOnly{
            u"QRY_CRF_PROCEDURA"_s, u"QRY_FIS_INSERISCI_ELENCHI"_s, u"QRY_AFI_NUOVA"_s,   u"QRY_AFI_FIS_CANCELLA"_s,
            u"QRY_AFI_CARICA"_s,    u"QRY_DICH_BLOCCA"_s,           u"QRY_DICH_SBLOCCA"_s};
        if (postgreSqlOnly.contains(name) && GetParam() == Engine::SQLite) {
            // The procedure, arrays, inserts within a query and advisory locks exist on PostgreSQL only;
            // SQLite runs their contract otherwise.
            EXPECT_FALSE(ok);
            continue;
        }
        EXPECT_TRUE(ok) << name.toStdString() << ": " << q.lastError().text().toStdString();
        ++compiled;
    }
    EXPECT_GT(compiled, 40);
}

TEST_P(ConnectionOpened, ReportsAreWrittenAgainOnlyWhenNewerOrWhenAskedTo)
{
    TempDir dir;
    auto file = [&](int version, const char *description) {
        return dir.write(u"r%1.xml"_s.arg(version) + QString::fromLatin1(description).left(1),
                         QByteArray("<Reports><Report IYRPTID=\"1100601\" IYRFOID=\"11006\" IYRPTVERSION=\"")
                             + QByteArray::number(version) + "\" SYRPTDESC=\"" + description + "\"/></Reports>");
    };
    auto description = [&] {
        return scalar(u"SELECT SYRPTDESC FROM TYRPT_REPORT WHERE IYRPTID = 1100601"_s).toString();
    };
    THlmReport reports;
    TNrQuery q(connection());
    reports.registerReports(q, file(2, "Nuova"), false);
    EXPECT_EQ(description(), u"Nuova"_s);
    reports.registerReports(q, file(1, "Vecchia"), false);
    EXPECT_EQ(description(), u"Nuova"_s);
    reports.registerReports(q, file(2, "Stessa"), false);
    EXPECT_EQ(description(), u"Nuova"_s);
    reports.registerReports(q, file(2, "Stessa"), true);
    EXPECT_EQ(description(), u"Stessa"_s);
    EXPECT_EQ(scalar(u"SELECT COUNT(*) FROM TYRPT_REPORT"_s).toInt(), 1);
}

// A version that is newer, or that cannot be read, refuses the database:
// never read as an empty one.
TEST_P(ConnectionOpened, ADatabaseOfANewerOrUnreadableVersionIsRefused)
{
    const QString unreadable = u"Impossibile leggere la versione dello schema del database %1: la tabella "
                               "TNRV_VERSIONESCHEMA non contiene un numero di versione valido («%2»)"_s;
    for (const auto &[damage, message] :
         {std::pair{u"UPDATE TNRV_VERSIONESCHEMA SET INRVVERSIONE = 99"_s,
                    u"Il database è stato creato da una versione più recente del programma (schema versione 99, "
                    "questo programma arriva alla versione %1): aggiornare il programma prima di usare questo "
                    "database."_s.arg(kLatestSchema)},
          std::pair{u"UPDATE TNRV_VERSIONESCHEMA SET INRVVERSIONE = 0"_s,
                    unreadable.arg(connection().describe(), u"0"_s)},
          std::pair{u"DELETE FROM TNRV_VERSIONESCHEMA"_s, unreadable.arg(connection().describe(), QString())}}) {
        exec(damage);
        connection().CloseConnection();
        try {
            connection().OpenConnection();
            ADD_FAILURE() << "opened after: " << damage.toStdString();
        } catch (const Exception &e) {
            EXPECT_EQ(e.message(), message);
        }
        EXPECT_FALSE(connection().connected());
        ASSERT_TRUE(connection().TdmNrConnection::OpenConnection());
    }
    // No second schema was attempted: the store's tables are still the only ones.
    EXPECT_EQ(scalar(u"SELECT COUNT(*) FROM TCDS_STRUTTURA"_s).toInt(), 0);
}

namespace {

// What the user is shown while the program waits for a busy database.
struct RecordingBusyWait : NrBusyWaitService
{
    void begin(const QString &text) override { shown.append(text); }
    bool cancelled() override { return cancelAfter >= 0 && ++polls > cancelAfter; }
    QStringList shown;
    int polls = 0;
    int cancelAfter = -1;
};

// Another program's connection holding the SQLite database for itself.
struct ExclusiveLock
{
    explicit ExclusiveLock(const QString &file)
    {
        QSqlDatabase db = QSqlDatabase::addDatabase(u"QSQLITE"_s, u"altro-programma"_s);
        db.setDatabaseName(file);
        if (!db.open() || !QSqlQuery(db).exec(u"BEGIN EXCLUSIVE"_s))
            throw std::runtime_error("cannot lock the database");
    }
    ~ExclusiveLock() { QSqlDatabase::removeDatabase(u"altro-programma"_s); }
    void release()
    {
        QSqlDatabase db = QSqlDatabase::database(u"altro-programma"_s, false);
        QSqlQuery(db).exec(u"COMMIT"_s);
        db.close();
    }
};

} // namespace

TEST_P(ConnectionOpened, ADatabaseHeldByAnotherProgramIsAwaitedWithAMessageAndThenGivenUp)
{
    if (GetParam() != Engine::SQLite)
        GTEST_SKIP() << "PostgreSQL waits for rows, not for the file: its lock_timeout is set on the connection";
    NrConnectionSettings s = installation().settings();
    s.waitSeconds = 1;
    installation().writeSettings(s);
    connection().CloseConnection();
    RecordingBusyWait wait;
    BusyWaitScope scope(&wait);
    {
        ExclusiveLock other(s.database);
        TdmkbrConnessione opening;
        try {
            opening.OpenConnection();
            FAIL() << "opened a database held by another program";
        } catch (const EDatabaseError &e) {
            EXPECT_EQ(e.message(),
                      u"Impossibile leggere la versione dello schema del database «%1»: Il database «%1» è in "
                      "uso da un altro programma e non si è liberato entro 1 secondi: riprovare quando "
                      "l'altro programma lo ha lasciato. (database is locked)"_s.arg(s.database));
        }
        EXPECT_EQ(wait.shown, QStringList{u"Il database «%1» è in uso da un altro programma: attendo al massimo 1 "
                                          "secondi…"_s.arg(s.database)});
        // The user may stop waiting before the time is up.
        wait.cancelAfter = 3;
        EXPECT_THROW(opening.OpenConnection(), EDatabaseError);
        EXPECT_EQ(wait.polls, 4);
    }
    setNrGlobConn(&connection());
    ASSERT_TRUE(connection().OpenConnection());
    EXPECT_EQ(KbrSchema::currentVersion(connection()), kLatestSchema);
}

// Connections that are refused or go no further than the framework's opening.
class ConnectionRefused : public InstallationTest
{
};

ELH_INSTANTIATE_ON_BOTH_ENGINES(ConnectionRefused);

// Refused by openOrGoOn: the reason reported, no connection, no global one.
TEST_P(ConnectionRefused, WithoutTheGlobalConnectionOrWithAQueryStoreChangedByOneByte)
{
    {
        TdmkbrConnessione connection;
        connection.setFindings(findings());
        setNrGlobConn(nullptr);
        EXPECT_FALSE(connection.openOrGoOn());
        EXPECT_EQ(findings().texts(), QStringList{u"Connessione al database non consentita"_s});
    }
    findings().clear();
    const QString path = installation().definitionsFolder() + u"kbr_QueryText.cds"_s;
    QByteArray bytes = readFile(path);
    const qsizetype at = bytes.indexOf("TSED_SEDI");
    ASSERT_GT(at, 0);
    bytes[at + 1] = 'X';
    QFile out(path);
    ASSERT_TRUE(out.open(QIODevice::WriteOnly | QIODevice::Truncate));
    out.write(bytes);
    out.close();

    TdmkbrConnessione connection;
    connection.setFindings(findings());
    EXPECT_FALSE(connection.openOrGoOn());
    EXPECT_FALSE(connection.connected());
    EXPECT_EQ(NrGlobConn(), nullptr);
    ASSERT_EQ(findings().entries().size(), 1);
    EXPECT_EQ(findings().entries().first().level, FindingLevel::Error);
    EXPECT_EQ(findings().texts().first(),
              u"Certificato query non trovato od errato. Aggiornare il programma \"Gestione emolumenti\""_s);
    if (GetParam() == Engine::SQLite) {
        EXPECT_FALSE(QFile::exists(installation().settings().database));
    }
}

TEST_P(ConnectionRefused, OnlyCreatingMakesADatabaseOpeningNamesTheOneThatIsNotThere)
{
    const NrConnectionSettings original = installation().settings();
    NrConnectionSettings s = original;
    const QString file = installation().root() + u"manca/kbr.sqlite"_s;
    auto refusal = [&] {
        TdmkbrConnessione connection;
        connection.setFindings(findings());
        EXPECT_FALSE(connection.openOrGoOn());
        EXPECT_EQ(NrGlobConn(), nullptr);
        const QString text = findings().texts().value(0);
        findings().clear();
        return text;
    };
    if (GetParam() == Engine::SQLite) {
        s.database = file;
        installation().writeSettings(s);
        EXPECT_TRUE(
            refusal().startsWith(u"Il database «%1» non esiste. Per crearlo usare «elh770 crea-database»"_s.arg(file)));
        EXPECT_FALSE(QFile::exists(file));
        QDir().mkpath(installation().root() + u"manca"_s);
        QFile(file).open(QIODevice::WriteOnly);
        EXPECT_TRUE(refusal().startsWith(u"Il database «%1» è un file vuoto (0 byte)"_s.arg(file)));
        EXPECT_EQ(QFileInfo(file).size(), 0);
    } else {
        s.database = u"elh_non_esiste"_s;
        installation().writeSettings(s);
        EXPECT_TRUE(refusal().startsWith(u"Impossibile aprire il database «elh_non_esiste» sul server PostgreSQL "_s));
        installation().writeSettings(original);
        EXPECT_EQ(refusal(), u"Il database «%1» sul server PostgreSQL %2:%3 non contiene le tabelle del programma: per "
                             "crearle usare «elh770 crea-database», oppure indicare in «KbrPar.ini» il database della "
                             "scuola."_s.arg(original.database, original.host)
                                 .arg(original.port));
    }
}

namespace {

// A proxy on the loopback in front of the test server that forwards both
// ways until it is told to stall: from then on it forwards nothing, closes
// nothing and leaves the connections it takes unanswered, as a proxy that
// hangs does.
class StallingProxy
{
public:
    explicit StallingProxy(int serverPort)
    {
        sockaddr_in address = loopback(0);
        socklen_t length = sizeof address;
        m_listener = ::socket(AF_INET, SOCK_STREAM | SOCK_CLOEXEC, 0);
        if (::bind(m_listener, reinterpret_cast<sockaddr *>(&address), length) != 0 || ::listen(m_listener, 8) != 0
            || ::getsockname(m_listener, reinterpret_cast<sockaddr *>(&address), &length) != 0)
            throw std::runtime_error("cannot listen on the loopback");
        m_port = ntohs(address.sin_port);
        m_acceptor = std::thread([this, serverPort] {
            for (int client; (client = ::accept(m_listener, nullptr, nullptr)) >= 0;) {
                std::lock_guard lock(m_mutex);
                m_sockets.push_back(client);
                if (m_stalled)
                    continue;
                const int server = ::socket(AF_INET, SOCK_STREAM | SOCK_CLOEXEC, 0);
                const sockaddr_in to = loopback(serverPort);
                ::connect(server, reinterpret_cast<const sockaddr *>(&to), sizeof to);
                m_sockets.push_back(server);
                m_pumps.emplace_back([this, client, server] { forward(client, server); });
                m_pumps.emplace_back([this, client, server] { forward(server, client); });
            }
        });
    }
    ~StallingProxy()
    {
        ::shutdown(m_listener, SHUT_RDWR);
        m_acceptor.join();
        drop();
        for (std::thread &pump : m_pumps)
            pump.join();
        for (const int socket : m_sockets)
            ::close(socket);
        ::close(m_listener);
    }
    int port() const { return m_port; }
    void stall() { m_stalled = true; }
    // Drops every connection, which ends any wait on the proxy at once.
    void drop()
    {
        std::lock_guard lock(m_mutex);
        for (const int socket : m_sockets)
            ::shutdown(socket, SHUT_RDWR);
    }

private:
    static sockaddr_in loopback(int port)
    {
        sockaddr_in address{};
        address.sin_family = AF_INET;
        address.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
        address.sin_port = htons(static_cast<uint16_t>(port));
        return address;
    }
    void forward(int from, int to)
    {
        char buffer[65536];
        for (ssize_t read; (read = ::recv(from, buffer, sizeof buffer, 0)) > 0;)
            if (!m_stalled)
                ::send(to, buffer, static_cast<size_t>(read), MSG_NOSIGNAL);
    }

    int m_listener = -1;
    int m_port = 0;
    std::atomic<bool> m_stalled{false};
    std::mutex m_mutex;
    std::vector<int> m_sockets;
    std::vector<std::thread> m_pumps;
    std::thread m_acceptor;
};

} // namespace

TEST_P(ConnectionRefused, AServerThatNeverAnswersIsGivenUpNamingIt)
{
    if (GetParam() != Engine::PostgreSQL)
        GTEST_SKIP() << "a server that does not answer is PostgreSQL's case";
    StallingProxy silent(0);
    silent.stall();
    NrConnectionSettings s = PgTestServer::settings(u"scuola"_s);
    s.host = u"127.0.0.1"_s;
    s.port = silent.port();
    s.waitSeconds = 2;
    installation().writeSettings(s);
    TdmkbrConnessione connection;
    connection.setFindings(findings());
    EXPECT_FALSE(connection.openOrGoOn());
    ASSERT_EQ(findings().texts().size(), 1);
    EXPECT_TRUE(findings().texts().first().startsWith(u"Impossibile aprire il database «scuola» sul server PostgreSQL "
                                                      u"127.0.0.1:%1: il server non ha risposto entro 2 "
                                                      "secondi. ("_s.arg(s.port)))
        << findings().texts().first().toStdString();
}

TEST_P(ConnectionRefused, AServerThatFallsSilentDuringAStatementIsGivenUpNamingIt)
{
    if (GetParam() != Engine::PostgreSQL)
        GTEST_SKIP() << "a server that falls silent is PostgreSQL's case";
    using Step = std::function<void(TdmkbrConnessione &)>;
    auto statement = [](const QString &sql) {
        return [sql](TdmkbrConnessione &connection) {
            TNrQuery q(connection);
            q.setSql(sql);
            q.execute();
        };
    };
    // What runs while the proxy forwards, then what runs once it stalls: a
    // statement, and the commit of a transaction that wrote a row, which is
    // not there afterwards.
    const std::vector<std::tuple<const char *, Step, Step>> cases{
        {"statement", [](TdmkbrConnessione &) {}, statement(u"SELECT COUNT(*) FROM TCDS_STRUTTURA"_s)},
        {"commit",
         [&](TdmkbrConnessione &connection) {
             connection.startTransaction();
             statement(u"INSERT INTO TANF_ANNIFINANZ (IANFID, SANFDESCRIZIONE, DANFNORMAINIZIO, DANFNORMAFINE) "
                       "VALUES (1999, '1999', '1999-01-01', '1999-12-31')"_s)(connection);
         },
         [](TdmkbrConnessione &connection) { connection.commitTransaction(); }},
    };
    const NrConnectionSettings direct = installation().settings();
    for (const auto &[name, before, stalled] : cases) {
        SCOPED_TRACE(name);
        StallingProxy proxy(direct.port);
        NrConnectionSettings s = direct;
        s.host = u"127.0.0.1"_s;
        s.port = proxy.port();
        s.silenceSeconds = 2;
        installation().writeSettings(s);
        TdmkbrConnessione connection;
        ASSERT_TRUE(connection.createDatabase());
        before(connection);
        proxy.stall();
        // Whatever the code under test does, the test ends: past a minute the
        // proxy drops its connections.
        std::mutex mutex;
        std::condition_variable done;
        bool finished = false;
        std::thread limit([&] {
            std::unique_lock lock(mutex);
            if (!done.wait_for(lock, std::chrono::seconds(60), [&] { return finished; })) {
                ADD_FAILURE() << "still waiting after a minute";
                proxy.drop();
            }
        });
        QString failure;
        try {
            stalled(connection);
        } catch (const EDatabaseError &e) {
            failure = e.message();
        }
        {
            std::lock_guard lock(mutex);
            finished = true;
        }
        done.notify_all();
        limit.join();
        EXPECT_TRUE(failure.contains(u"Il server PostgreSQL 127.0.0.1:%1 ha smesso di rispondere (database «%2», "
                                     "nessuna risposta entro 2 secondi)"_s.arg(proxy.port())
                                         .arg(s.database)))
            << failure.toStdString();
        connection.CloseConnection();
    }
    installation().writeSettings(direct);
    TdmkbrConnessione connection;
    ASSERT_TRUE(connection.OpenConnection());
    TNrQuery q(connection);
    q.setSql(u"SELECT COUNT(*) FROM TANF_ANNIFINANZ WHERE IANFID = 1999"_s);
    EXPECT_EQ(q.scalar().toInt(), 0);
}

// An older database is upgraded in one transaction after a copy of its file:
// a failing script leaves it as it was, one that works brings every version.
TEST_P(ConnectionRefused, AnOlderDatabaseIsUpgradedAfterACopyOfItsFileOrLeftAsItWas)
{
    auto writeNext = [&](const QByteArray &sql) {
        for (const QString &engine : {u"sqlite"_s, u"postgresql"_s}) {
            QFile script(installation().definitionsFolder() + u"schema/"_s + nextScript(engine, u"prova"_s));
            ASSERT_TRUE(script.open(QIODevice::WriteOnly));
            script.write(sql);
        }
    };
    TdmkbrConnessione connection;
    connection.setFindings(findings());
    ASSERT_TRUE(connection.TdmNrConnection::OpenConnection());
    // A database of version 2 with its data.
    KbrSchema::ensure(connection, installation().definitionsFolder() + u"schema/"_s, 2, KbrSchema::Creation::Create);
    QSqlQuery q(connection.database());
    ASSERT_TRUE(q.exec(u"INSERT INTO TANF_ANNIFINANZ (IANFID, SANFDESCRIZIONE, DANFNORMAINIZIO, DANFNORMAFINE) "
                       "VALUES (2023, '2023', '2023-01-01', '2023-12-31')"_s));
    connection.CloseConnection();
    auto tables = [&] { return connection.database().tables().join(u',').toUpper(); };

    writeNext("CREATE TABLE TBUONA (I INTEGER);\nCREATE TABLE TVARR_VARRITENUTE (I INTEGER);\n");
    try {
        connection.OpenConnection();
        FAIL() << "a failing script was applied";
    } catch (const EDatabaseError &e) {
        EXPECT_TRUE(e.message().startsWith(
            u"Aggiornamento del database alla versione %1 (%2) non riuscito: "_s.arg(kLatestSchema + 1)
                .arg(nextScript(QString(), u"prova"_s).mid(1))))
            << e.message().toStdString();
        EXPECT_TRUE(e.message().endsWith(u" Il database è rimasto alla versione 2, com'era."_s))
            << e.message().toStdString();
    }
    EXPECT_FALSE(connection.connected());
    ASSERT_TRUE(connection.TdmNrConnection::OpenConnection());
    EXPECT_EQ(KbrSchema::currentVersion(connection), 2);
    EXPECT_FALSE(tables().contains(u"TBUONA"_s));
    EXPECT_FALSE(tables().contains(u"TDF24_DELEGHEF24EP"_s));
    connection.CloseConnection();

    // Semicolons inside quotes and comments do not split a statement.
    writeNext("-- a table; a comment with 'quotes';\nCREATE TABLE TPROVA (IPROVAID INTEGER, SPROVA "
              "VARCHAR(10) DEFAULT 'a;b');\nINSERT INTO TPROVA (IPROVAID) VALUES (1);\n"
              "INSERT INTO TPROVA (IPROVAID, SPROVA) VALUES (2, 'it''s;');\n");
    findings().clear();
    ASSERT_TRUE(connection.OpenConnection());
    EXPECT_EQ(KbrSchema::currentVersion(connection), kLatestSchema + 1);
    // The copy of the file as it was, beside it, and the user told where.
    const QString copy = installation().settings().database + u".bak-v2"_s;
    if (GetParam() == Engine::SQLite) {
        EXPECT_EQ(findings().texts(),
                  QStringList{u"Il database %1 è stato aggiornato dalla versione 2 alla %2; la copia "
                              "della versione 2 è in «%3»."_s.arg(connection.describe())
                                  .arg(kLatestSchema + 1)
                                  .arg(copy)});
        QSqlDatabase old = QSqlDatabase::addDatabase(u"QSQLITE"_s, u"copia"_s);
        old.setDatabaseName(copy);
        ASSERT_TRUE(old.open());
        QSqlQuery version(old);
        ASSERT_TRUE(version.exec(u"SELECT INRVVERSIONE FROM TNRV_VERSIONESCHEMA"_s) && version.next());
        EXPECT_EQ(version.value(0).toInt(), 2);
        old.close();
        old = QSqlDatabase();
        QSqlDatabase::removeDatabase(u"copia"_s);
    } else {
        EXPECT_EQ(findings().texts(), QStringList{u"Il database %1 è stato aggiornato dalla versione 2 alla %2."_s
                                                      .arg(connection.describe())
                                                      .arg(kLatestSchema + 1)});
    }
    q = QSqlQuery(connection.database());
    ASSERT_TRUE(q.exec(u"SELECT SPROVA FROM TPROVA ORDER BY IPROVAID"_s));
    for (const QString &text : {u"a;b"_s, u"it's;"_s}) {
        ASSERT_TRUE(q.next());
        EXPECT_EQ(q.value(0).toString(), text);
    }
    // Version 3 added the F24EP delegations beside the data already there,
    // version 4 the year of each financial year.
    ASSERT_TRUE(q.exec(u"SELECT F.IANFVALORE, COUNT(D.IDF24ID) FROM TANF_ANNIFINANZ F "
                       "LEFT JOIN TDF24_DELEGHEF24EP D ON D.IANFID = F.IANFID GROUP BY F.IANFVALORE"_s));
    ASSERT_TRUE(q.next());
    EXPECT_EQ(q.value(0).toInt(), 2023);
    EXPECT_EQ(q.value(1).toInt(), 0);
    EXPECT_FALSE(q.next());
}

TEST(KbrSchema, BothEnginesHaveTheSameVersionsAndAGapIsRefused)
{
    const QString folder = TestInstallation::buildDefinitionsFolder() + u"schema/"_s;
    const auto sqlite = KbrSchema::scripts(folder, false);
    const auto postgres = KbrSchema::scripts(folder, true);
    EXPECT_EQ(sqlite.keys(), postgres.keys());
    EXPECT_EQ(sqlite.lastKey(), kLatestSchema);
    for (int v : sqlite.keys())
        EXPECT_EQ(QFileInfo(sqlite.value(v)).fileName(), QFileInfo(postgres.value(v)).fileName());

    TempDir dir;
    dir.write(u"sqlite/001_a.sql"_s, "CREATE TABLE A (I INTEGER);");
    dir.write(u"sqlite/003_c.sql"_s, "CREATE TABLE C (I INTEGER);");
    try {
        KbrSchema::scripts(dir.path(), false);
        FAIL() << "a gap was accepted";
    } catch (const EInOutError &e) {
        EXPECT_EQ(e.message(), u"Script dello schema in «%1/sqlite»: manca la versione 2"_s.arg(dir.path()));
    }
    EXPECT_THROW(KbrSchema::scripts(dir.path(), true), EInOutError);
}

TEST(KbrSettings, AMissingFileIsWrittenWithTheEmbeddedDefaultABadOneIsNamed)
{
    TempDir root;
    DataPaths::setDataRoot(root.path());
    const NrConnectionSettings embedded = TdmkbrConnessione::loadSettings();
    EXPECT_EQ(embedded.driver, u"QSQLITE"_s);
    EXPECT_EQ(embedded.database, root.path() + u"/usr/kbr/kbr.sqlite"_s);
    QSettings written(root.file(u"usr/kbr/KbrPar.ini"_s), QSettings::IniFormat);
    EXPECT_EQ(written.value(u"Database/Driver"_s).toString(), u"QSQLITE"_s);
    EXPECT_FALSE(written.contains(u"Database/Password"_s));

    // The folder is found without regard to case.
    TempDir school;
    DataPaths::setDataRoot(school.path());
    const QString ini =
        school.write(u"USR/KBR/KbrPar.ini"_s,
                     "[Database]\nDriver=qpsql\nDatabase=scuola\nHost=db.scuola.lan\nPort=5433\nUser=segreteria\n");
    const NrConnectionSettings s = TdmkbrConnessione::loadSettings();
    EXPECT_EQ(s.driver, u"QPSQL"_s);
    EXPECT_EQ(s.database, u"scuola"_s);
    EXPECT_EQ(s.host, u"db.scuola.lan"_s);
    EXPECT_EQ(s.port, 5433);
    EXPECT_EQ(s.user, u"segreteria"_s);

    auto refusal = [&](const QByteArray &settings) {
        school.write(u"USR/KBR/KbrPar.ini"_s, settings);
        try {
            TdmkbrConnessione::loadSettings();
        } catch (const EInOutError &e) {
            return e.message();
        }
        return QString();
    };
    EXPECT_EQ(refusal("[Database]\nDriver=QPSQL\nDatabase=scuola\nPort=cinque\n"),
              u"Impostazioni «%1»: porta «cinque» non valida nella sezione [Database]"_s.arg(ini));
    EXPECT_EQ(refusal("[Database]\nDriver=QPSQL\n"),
              u"Impostazioni «%1»: manca il nome del database (Database=) nella sezione [Database]"_s.arg(ini));
    // A misspelled section is not read as the default database.
    EXPECT_EQ(refusal("[Databse]\nDriver=QPSQL\n"), u"Impostazioni «%1»: manca la sezione [Database] con Driver= e "
                                                    "Database= (sezioni trovate: Databse)"_s.arg(ini));
    DataPaths::setDataRoot(QString());
}
