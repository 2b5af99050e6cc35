// The F24EP payments import on a payroll of 10,000 tax lines in 500
// delegations (6,000 rows of ST section I, 2,000 of section II, 2,000 of SV):
// into empty Prospetti, and again over the rows of the previous import.
//   import_bench [--benchmark_filter=...]
// PostgreSQL runs when ELH_TEST_PG_PORT names a server.
//
// Goal on the reference machine: the three Prospetti in at most 1 s, on
// SQLite and on PostgreSQL. On a busy machine the processor time of the
// program (CPU) and of the PostgreSQL server (cpu_server_ms) tell what the
// work itself costs.

#include "CdsExchange.h"
#include "ClientDataSet.h"
#include "DataPaths.h"
#include "NrQuery.h"
#include "NrTransaction.h"
#include "ProcStatus.h"
#include "THlmDBCds.h"
#include "TdmkbrConnessione.h"
#include "TestInstallation.h"
#include "ImportF24.h"
#include "DatabaseSetup.h"
#include "PayrollPayments.h"
#include "ReturnCatalogue.h"

#include <QCoreApplication>
#include <QDate>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>

#include <benchmark/benchmark.h>

#include <clocale>
#include <stdexcept>

using namespace Qt::Literals::StringLiterals;

namespace {

constexpr int kDelegations = 500;
constexpr int kLinesPerDelegation = 20;
constexpr int kFinancialYear = 2023;

QJsonObject line(const QString &section, const QString &code, int month, double amount)
{
    return {{u"SRF24SEZIONE"_s, section},
            {u"SRF24CODTRIBUTO"_s, code},
            {u"SRF24MESE"_s, QString::number(month).rightJustified(2, u'0')},
            {u"SRF24ANNO"_s, u"2023"_s},
            {u"FRF24RITENUTE"_s, amount},
            {u"FRF24VERSATO"_s, amount}};
}

// Delegations on 500 days from 2 January 2023, each with 12 lines of the
// section Erario (12 codes), 4 regional surcharges (4 regions) and 4
// municipal ones (4 codes) of the month paid, December's for the days of
// 2024: every line a row of its Prospetto.
QByteArray payments()
{
    QJsonArray delegations;
    for (int d = 0; d < kDelegations; ++d) {
        const QDate paid = QDate(2023, 1, 2).addDays(d);
        const int month = paid.year() == 2023 ? paid.month() : 12;
        QJsonArray lines;
        for (int c = 0; c < 12; ++c)
            lines.append(line(u"E"_s, c == 0 ? u"104E"_s : u"1%1E"_s.arg(c + 10), month, 100 + d + c * 0.01));
        for (int r = 1; r <= 4; ++r) {
            QJsonObject regional = line(u"R"_s, u"381E"_s, month, 40 + r * 0.25);
            regional.insert(u"SRF24CODREG"_s, QString::number(r).rightJustified(2, u'0'));
            lines.append(regional);
        }
        for (const QString &code : {u"384E"_s, u"385E"_s, u"3847"_s, u"3848"_s}) {
            QJsonObject municipal = line(u"EL"_s, code, month, 18.5);
            municipal.insert(u"SRF24CODCOM"_s, u"D653"_s);
            lines.append(municipal);
        }
        delegations.append(QJsonObject{
            {u"IANFID"_s, kFinancialYear}, {u"DDF24DTVERS"_s, paid.toString(Qt::ISODate)}, {u"righe"_s, lines}});
    }
    return QJsonDocument(QJsonObject{{u"deleghe"_s, delegations}}).toJson(QJsonDocument::Compact);
}

// A school database of the engine with the return's structures, the
// withholding agent and the payroll's payments.
class BenchDatabase
{
public:
    explicit BenchDatabase(Engine engine)
        : m_installation(engine)
    {
        if (!m_connection.createDatabase())
            throw std::runtime_error("database not opened");
        TNrTransaction transaction(m_connection);
        transaction.StartTransaction();
        DatabaseSetup(m_connection)
            .createStructures(ReturnCatalogue::load(DataPaths::resolve(QString::fromUtf8(ELH_DATA_ROOT),
                                                                       u"USR\\FL2023\\DbIniziale\\Catalogo.json"_s)),
                              {kFinancialYear});
        TNrQuery year(m_connection);
        year.fetch(u"QRY_ANF_INSERISCI"_s);
        year.setParam(u"IANFID"_s, kFinancialYear);
        year.setParam(u"SANFDESCRIZIONE"_s, QString::number(kFinancialYear));
        year.setParam(u"DANFNORMAINIZIO"_s, QDate(kFinancialYear, 1, 1));
        year.setParam(u"DANFNORMAFINE"_s, QDate(kFinancialYear, 12, 31));
        year.setParam(u"IANFVALORE"_s, kFinancialYear);
        year.execute();
        if (PayrollPayments::load(m_connection, payments(), u"bench"_s) != kDelegations * kLinesPerDelegation)
            throw std::runtime_error("payments not loaded");
        transaction.Commit();
        m_store.setConnection(&m_connection);
        ClientDataSet agent;
        m_store.open(agent, u"TSOS_DATOSOSTITUTO"_s);
        CdsExchange::appendJsonRecords(agent, R"({"records": [{"SSOSCODFIS": "80012345676"}]})", u"bench"_s);
        m_store.save(agent, u"TSOS_DATOSOSTITUTO"_s);
    }

    // Empties the three Prospetti behind the store's back.
    void emptyProspetti()
    {
        TNrQuery q(m_connection);
        q.setSql(u"DELETE FROM TFIS_DATIFISCALI WHERE ICDSID IN (SELECT ICDSID FROM TCDS_STRUTTURA WHERE SCDSNOME IN "
                 "('TPST_PROSPETTOST', 'TPST2_PROSPETTOSTS2', 'TPSV_PROSPETTOSV'))"_s);
        q.execute();
    }

    THlmDBCds &store() { return m_store; }

    // The server process of the connection on PostgreSQL, 0 on SQLite.
    qint64 serverProcess()
    {
        if (!m_connection.isPostgreSQL())
            return 0;
        TNrQuery q(m_connection);
        q.setSql(u"SELECT pg_backend_pid()"_s);
        return q.scalar().toLongLong();
    }

private:
    TestInstallation m_installation;
    TdmkbrConnessione m_connection;
    THlmDBCds m_store{2023, u"elh"_s, 0};
};

void importPayments(benchmark::State &state, Engine engine, bool replacing)
{
    BenchDatabase db(engine);
    ImportF24 import(db.store(), kFinancialYear);
    if (replacing)
        import.run({});
    const qint64 server = db.serverProcess();
    const double serverBefore = server ? procCpuMilliseconds(server) : 0;
    for (auto _ : state) {
        if (!replacing) {
            state.PauseTiming();
            db.emptyProspetti();
            state.ResumeTiming();
        }
        const QString result = import.run({});
        if (import.failed() || !result.contains(u"Importati 6000 righi"_s)) {
            state.SkipWithError(result.toUtf8().constData());
            break;
        }
    }
    if (server)
        state.counters["cpu_server_ms"] =
            (procCpuMilliseconds(server) - serverBefore) / static_cast<double>(state.iterations());
    state.counters["righe/s"] = benchmark::Counter(static_cast<double>(kDelegations * kLinesPerDelegation)
                                                       * static_cast<double>(state.iterations()),
                                                   benchmark::Counter::kIsRate);
}

} // namespace

int main(int argc, char **argv)
{
    QCoreApplication app(argc, argv);
    std::setlocale(LC_NUMERIC, "C");
    QList<Engine> engines{Engine::SQLite};
    if (PgTestServer::configured())
        engines.append(Engine::PostgreSQL);
    for (const Engine engine : engines) {
        const std::string name = engine == Engine::SQLite ? "SQLite" : "PostgreSQL";
        for (const bool replacing : {false, true}) {
            benchmark::RegisterBenchmark(
                ("ImportF24_10000" + std::string(replacing ? "_Replace/" : "_Empty/") + name).c_str(), importPayments,
                engine, replacing)
                ->Iterations(5)
                ->Unit(benchmark::kMillisecond)
                ->UseRealTime();
        }
    }
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}
