// The CU import of 2,000 certifications, each with its INPS, INPDAP,
// dependants and INAIL rows and one in ten with the amounts of a
// self-employed worker, into the demo school: into a return without these
// people, and again over the people of the previous import.
//   cu_import_bench [--benchmark_filter=...]
// PostgreSQL runs when ELH_TEST_PG_PORT names a server.
//
// Goal on the reference machine: at most 10 s, on SQLite and on PostgreSQL.
// The counters say where the time goes: reading the certifications and the
// return (read_ms), the people one by one, each with his computations and
// his save (people_ms); the processor time of the program (CPU) and of the
// PostgreSQL server (cpu_server_ms) tell what the work itself costs on a
// busy machine.

#include "BenchEmployees.h"
#include "CdsExchange.h"
#include "ClientDataSet.h"
#include "DataPaths.h"
#include "DatabaseSetup.h"
#include "ElhMImport.h"
#include "NrFindings.h"
#include "NrQuery.h"
#include "ProcStatus.h"
#include "ReturnCatalogue.h"
#include "THlmDBCds.h"
#include "TdmKbrParams.h"
#include "TdmkbrConnessione.h"
#include "TestInstallation.h"

#include <QCoreApplication>
#include <QElapsedTimer>
#include <QFile>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>

#include <benchmark/benchmark.h>

#include <clocale>
#include <memory>
#include <stdexcept>

using namespace Qt::Literals::StringLiterals;

namespace {

constexpr int kCertifications = 2000;

QString buildPath(const QString &relative)
{
    return DataPaths::resolve(QStringLiteral(ELH_DATA_ROOT), relative);
}

QJsonArray demoRecords(const QString &table)
{
    QFile file(buildPath(u"USR\\FL2023\\DbIniziale\\Demo\\"_s + table + u".json"_s));
    if (!file.open(QIODevice::ReadOnly))
        throw std::runtime_error("demo certifications not found");
    return QJsonDocument::fromJson(file.readAll()).object().value(u"records"_s).toArray();
}

// The records of a certification table: for every person the demo's record
// of the template given, under his code.
QByteArray certifications(const QJsonArray &templates, int every = 1)
{
    QJsonArray records;
    for (int n = 0; n < kCertifications; n += every) {
        QJsonObject record = templates.at(n % templates.size()).toObject();
        record.insert(u"SCUDCODFIS"_s, BenchEmployees::code(n));
        record.insert(u"SCUDMESE"_s, u"12"_s);
        record.remove(u"LCUDCOMPRENSIVO"_s);
        record.remove(u"LCUDCONGUAGLIO"_s);
        records.append(record);
    }
    return QJsonDocument(QJsonObject{{u"records"_s, records}}).toJson(QJsonDocument::Compact);
}

// The demo school's database with the certifications of 2,000 people: the
// demo's five employees in turn, every one with the demo's first row of each
// sub-table.
class BenchDatabase
{
public:
    explicit BenchDatabase(Engine engine)
        : m_installation(engine)
    {
        // The import's definitions and tables under the data root.
        QFile::link(buildPath(u"USR"_s), m_installation.root() + u"USR"_s);
        if (!m_connection.createDatabase())
            throw std::runtime_error("database not opened");
        const ReturnCatalogue catalogue = ReturnCatalogue::load(buildPath(u"USR\\FL2023\\DbIniziale\\Catalogo.json"_s));
        DatabaseSetup setup(m_connection);
        setup.createStructures(catalogue, {2022, 2023});
        setup.createDemo(catalogue, buildPath(u"USR\\FL2023\\DbIniziale\\Demo\\"_s));
        m_params = std::make_unique<TdmKbrParams>(&m_connection, m_installation.root() + u"NruParams.ini"_s);
        DatabaseSetup::pointToDemo(*m_params);

        QJsonArray yearly;
        for (const QJsonValue &c : demoRecords(u"TCUD_DATICUD"_s)) {
            if (c.toObject().value(u"SCUDMESE"_s).toString() == u"12")
                yearly.append(c);
        }
        QJsonObject selfEmployed{{u"SCAUCODICE"_s, u"A"_s},
                                 {u"SDSE7ANNO"_s, u"2023"_s},
                                 {u"FCUDIMPONIBILE"_s, u"2400.00"_s},
                                 {u"FCUDRITTITACC"_s, u"480.00"_s}};
        THlmDBCds eli(2023, u"eli"_s, 0);
        eli.setConnection(&m_connection);
        for (const auto &[table, records] :
             {std::pair{u"TCUD_DATICUD"_s, certifications(yearly)},
              std::pair{u"TCUDI_INPS"_s, certifications({demoRecords(u"TCUDI_INPS"_s).at(0)})},
              std::pair{u"TCUDN_INPDAP"_s, certifications({demoRecords(u"TCUDN_INPDAP"_s).at(0)})},
              std::pair{u"TCUDC_CONFAMCARICO"_s, certifications({demoRecords(u"TCUDC_CONFAMCARICO"_s).at(0)})},
              std::pair{u"TCUIN_INAIL"_s, certifications({demoRecords(u"TCUIN_INAIL"_s).at(0)})},
              std::pair{u"TASE_AUTSOMMEEROGATE"_s, certifications({selfEmployed}, 10)}}) {
            ClientDataSet ds;
            eli.open(ds, table);
            CdsExchange::appendJsonRecords(ds, records, table);
            eli.save(ds, table);
        }
        m_store.setConnection(&m_connection);
    }

    THlmDBCds &store() { return m_store; }
    TdmKbrParams &params() { return *m_params; }

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
    std::unique_ptr<TdmKbrParams> m_params;
    THlmDBCds m_store{2023, u"elh"_s, 0};
};

// The moments of the run: its start, the first person, its end (taken when
// the import returns).
class Phases : public NrProgress
{
public:
    Phases() { m_clock.start(); }
    void step(int, int, const QString &) override
    {
        if (m_firstPerson < 0)
            m_firstPerson = m_clock.nsecsElapsed();
    }
    void status(const QString &) override {}
    bool cancelled() override { return false; }
    void end() { m_end = m_clock.nsecsElapsed(); }

    double readMs() const { return static_cast<double>(m_firstPerson) / 1e6; }
    double peopleMs() const { return static_cast<double>(m_end - m_firstPerson) / 1e6; }

private:
    QElapsedTimer m_clock;
    qint64 m_firstPerson = -1;
    qint64 m_end = -1;
};

void importCertifications(benchmark::State &state, Engine engine, bool replacing)
{
    FindingList findings;
    QStringList codes;
    for (int n = 0; n < kCertifications; ++n)
        codes.append(BenchEmployees::code(n));
    auto db = std::make_unique<BenchDatabase>(engine);
    if (replacing)
        TdmElhImport(db->store(), db->params(), findings).ImportCUD(codes, {});
    double read = 0;
    double people = 0;
    double server = 0;
    for (auto _ : state) {
        if (!replacing) {
            state.PauseTiming();
            db.reset();
            db = std::make_unique<BenchDatabase>(engine);
            state.ResumeTiming();
        }
        const qint64 pid = db->serverProcess();
        const double serverBefore = pid ? procCpuMilliseconds(pid) : 0;
        Phases phases;
        TdmElhImport import(db->store(), db->params(), findings);
        const bool imported = import.ImportCUD(codes, {}, &phases);
        phases.end();
        if (!imported) {
            state.SkipWithError(import.log().join(u'\n').toUtf8().constData());
            break;
        }
        read += phases.readMs();
        people += phases.peopleMs();
        if (pid)
            server += procCpuMilliseconds(pid) - serverBefore;
    }
    const auto perRun = [&state](double total) { return total / static_cast<double>(state.iterations()); };
    state.counters["read_ms"] = perRun(read);
    state.counters["people_ms"] = perRun(people);
    if (engine == Engine::PostgreSQL)
        state.counters["cpu_server_ms"] = perRun(server);
    state.counters["certificazioni/s"] = benchmark::Counter(
        static_cast<double>(kCertifications) * static_cast<double>(state.iterations()), benchmark::Counter::kIsRate);
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
                ("ImportCU_2000" + std::string(replacing ? "_Replace/" : "_Empty/") + name).c_str(),
                importCertifications, engine, replacing)
                ->Iterations(2)
                ->Unit(benchmark::kMillisecond)
                ->UseRealTime()
                ->MeasureProcessCPUTime();
        }
    }
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}
