// The table store with a table of 20,000 records of 20 filled fields
// (400,000 value rows): saving them as new records, and loading them into a
// dataset compared with the engine's own command-line client running the
// same SELECT.
//   store_bench [--benchmark_filter=...]
// PostgreSQL runs when ELH_TEST_PG_PORT names a server.

#include "ClientDataSet.h"
#include "Exceptions.h"
#include "NrQuery.h"
#include "THlmDBCds.h"
#include "TdmkbrConnessione.h"
#include "TestInstallation.h"

#include <QCoreApplication>
#include <QElapsedTimer>
#include <QProcess>

#include <benchmark/benchmark.h>

#include <clocale>
#include <memory>

using namespace Qt::Literals::StringLiterals;

namespace {

constexpr int kRecords = 20000;
constexpr int kFieldsPerType = 5;
constexpr int kValueRows = kRecords * 4 * kFieldsPerType;

QList<FieldDef> benchFields()
{
    QList<FieldDef> fields{{u"IFISRIGO"_s, FieldType::Integer, 0, false}};
    for (int i = 0; i < kFieldsPerType; ++i) {
        fields.append({u"SBENCHTESTO%1"_s.arg(i), FieldType::String, 20, false});
        fields.append({u"IBENCHNUMERO%1"_s.arg(i), FieldType::Integer, 0, false});
        fields.append({u"FBENCHIMPORTO%1"_s.arg(i), FieldType::Decimal, 0, false});
        fields.append({u"DBENCHDATA%1"_s.arg(i), FieldType::Date, 0, false});
    }
    return fields;
}

// An open database of the engine with one more table structure per call.
class BenchDatabase
{
public:
    explicit BenchDatabase(Engine engine)
        : m_installation(engine)
    {
        if (!m_connection.createDatabase())
            throw EDatabaseError(u"connessione non aperta"_s);
        m_store.setConnection(&m_connection);
    }

    QString newTable()
    {
        const QString name = u"TBENCH%1_PROVA"_s.arg(++m_tables);
        ClientDataSet structure;
        for (const FieldDef &f : benchFields())
            structure.fieldDefs().add(f);
        THlmDBCds::StructureDef def;
        def.program = u"elh"_s;
        def.table = name;
        def.year = 2023;
        def.schema = structure.saveToBytes();
        m_structure = m_store.createStructure(def);
        return name;
    }

    void fill(ClientDataSet &ds, const QString &table)
    {
        m_store.open(ds, table);
        for (int r = 0; r < kRecords; ++r) {
            ds.append();
            for (int i = 0; i < kFieldsPerType; ++i) {
                ds.fieldByName(u"SBENCHTESTO%1"_s.arg(i)).setAsString(u"testo %1 %2"_s.arg(r).arg(i));
                ds.fieldByName(u"IBENCHNUMERO%1"_s.arg(i)).setAsInteger(r * 10 + i + 1);
                ds.fieldByName(u"FBENCHIMPORTO%1"_s.arg(i)).setAsCurrency(Decimal::fromUnits(r * 10000 + i * 25 + 1));
                ds.fieldByName(u"DBENCHDATA%1"_s.arg(i)).setAsDate(QDate(2023, 1, 1).addDays((r + i) % 365));
            }
            ds.post();
        }
    }

    // The load statement with this table's values in place of the
    // parameters, for the command-line client.
    QString loadSelect()
    {
        TNrQuery q(m_connection);
        q.fetch(u"QRY_FIS_CARICA"_s, 0, u"SELECT"_s);
        QString sql = q.sql();
        sql.replace(u":ICDSID"_s, QString::number(m_structure));
        sql.replace(u":SCRFPROGRAMMA"_s, u"'elh'"_s);
        sql.replace(u":ICRFANNO"_s, u"2023"_s);
        sql.replace(u":ICRFMESE"_s, u"0"_s);
        sql.replace(u":IAFIID"_s, u"-1"_s);
        return sql.simplified();
    }

    // Seconds the engine's client takes to run the statement, its output
    // thrown away.
    double clientSeconds(const QString &sql)
    {
        const NrConnectionSettings s = m_installation.settings();
        QProcess p;
        p.setStandardOutputFile(QProcess::nullDevice());
        QElapsedTimer timer;
        timer.start();
        if (m_installation.engine() == Engine::SQLite)
            p.start(u"sqlite3"_s, {s.database, sql});
        else
            p.start(u"psql"_s, {u"-At"_s, u"-h"_s, s.host, u"-p"_s, QString::number(s.port), u"-U"_s, s.user, u"-d"_s,
                                 s.database, u"-c"_s, sql});
        if (!p.waitForFinished(-1) || p.exitCode() != 0)
            throw EDatabaseError(u"client a riga di comando: "_s + QString::fromUtf8(p.readAllStandardError()));
        return static_cast<double>(timer.nsecsElapsed()) / 1e9;
    }

    THlmDBCds &store() { return m_store; }

private:
    TestInstallation m_installation;
    TdmkbrConnessione m_connection;
    THlmDBCds m_store{2023, u"elh"_s, 0};
    qint64 m_structure = 0;
    int m_tables = 0;
};

void saveNewRecords(benchmark::State &state, Engine engine)
{
    BenchDatabase db(engine);
    for (auto _ : state) {
        state.PauseTiming();
        const QString table = db.newTable();
        ClientDataSet ds;
        db.fill(ds, table);
        state.ResumeTiming();
        db.store().save(ds, table);
    }
    state.counters["righe_valore/s"] = benchmark::Counter(static_cast<double>(kValueRows) * static_cast<double>(state.iterations()),
                                                          benchmark::Counter::kIsRate);
}

void loadTable(benchmark::State &state, Engine engine)
{
    BenchDatabase db(engine);
    const QString table = db.newTable();
    {
        ClientDataSet ds;
        db.fill(ds, table);
        db.store().save(ds, table);
    }
    const QString select = db.loadSelect();
    db.clientSeconds(select); // warms the engine's cache as the loads below do
    double loadSeconds = 0;
    double clientSeconds = 0;
    for (auto _ : state) {
        ClientDataSet ds;
        QElapsedTimer timer;
        timer.start();
        db.store().open(ds, table);
        loadSeconds += static_cast<double>(timer.nsecsElapsed()) / 1e9;
        if (ds.recordCount() != kRecords)
            state.SkipWithError("the table did not load whole");
        state.PauseTiming();
        clientSeconds += db.clientSeconds(select);
        state.ResumeTiming();
    }
    const auto n = static_cast<double>(state.iterations());
    state.counters["client_s"] = clientSeconds / n;
    state.counters["rapporto_client"] = loadSeconds / clientSeconds;
    state.counters["righe_valore/s"] = benchmark::Counter(static_cast<double>(kValueRows) * n, benchmark::Counter::kIsRate);
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
        benchmark::RegisterBenchmark(("Save20000x20/" + name).c_str(), saveNewRecords, engine)
            ->Iterations(3)
            ->Unit(benchmark::kMillisecond)
            ->UseRealTime();
        benchmark::RegisterBenchmark(("Load20000x20/" + name).c_str(), loadTable, engine)
            ->Iterations(5)
            ->Unit(benchmark::kMillisecond)
            ->UseRealTime();
    }
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}
