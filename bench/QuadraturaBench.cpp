// The reconciliation of a large school's return: 2,000 employees certified,
// 12 months of 6 tax codes in the Prospetti ST I, ST II and SV, and 10,000
// F24EP tax lines of the payroll that pay them, in a SQLite school database.
// Times the reading of the return (readQuadraturaInput) and the checks
// (reconcile) apart.
//   quadratura_bench [--benchmark_filter=...]
//
// Goal on the reference machine: reconcile() in at most 1 s.

#include "BenchEmployees.h"
#include "ClientDataSet.h"
#include "DataPaths.h"
#include "DatabaseSetup.h"
#include "NrTransaction.h"
#include "PayrollPayments.h"
#include "Quadratura.h"
#include "ReturnCatalogue.h"
#include "THlmDBCds.h"
#include "TdmkbrConnessione.h"
#include "TestInstallation.h"

#include <QCoreApplication>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>

#include <benchmark/benchmark.h>

#include <clocale>
#include <stdexcept>

using namespace Qt::Literals::StringLiterals;

namespace {

constexpr int kEmployees = 2000;
constexpr int kLines = 10000;
constexpr int kYear = 2023;

// The six codes, their Prospetto's table and F24EP section.
struct Code
{
    const char16_t *code;
    const char16_t *section;
};
constexpr Code kCodes[] = {{u"100E", u"E"}, {u"104E", u"E"},  {u"1001", u"E"},
                           {u"381E", u"R"}, {u"384E", u"EL"}, {u"385E", u"EL"}};
constexpr int kGroups = 12 * 6;
// Lines of one code and month, paid together on its due date.
constexpr int kLinesPerGroup = kLines / kGroups + 1;

// Each code and month paid by its lines, every line of a code of ST II or SV
// in a region or municipality of its own; the rows of the Prospetti are the
// lines summed as the import sums them.
struct Payroll
{
    QByteArray json;
    QList<QJsonObject> rows[3]; // ST I, ST II, SV
};

Payroll payroll()
{
    Payroll p;
    QJsonArray delegations;
    int written = 0;
    for (int month = 1; month <= 12; ++month) {
        const QString paidOn = quadraturaDueDate(kYear, month).toString(Qt::ISODate);
        const QString mm = QString::number(month).rightJustified(2, u'0');
        QJsonArray lines;
        for (const Code &c : kCodes) {
            const QString code = QString::fromUtf16(c.code);
            const QString section = QString::fromUtf16(c.section);
            const int count = std::min(kLinesPerGroup, kLines - written);
            QHash<QString, qint64> cents; // by region for ST II, in cents
            for (int l = 0; l < count; ++l, ++written) {
                const int amount = 1000 + l;
                QJsonObject line{{u"SRF24SEZIONE"_s, section},
                                 {u"SRF24CODTRIBUTO"_s, code},
                                 {u"SRF24MESE"_s, mm},
                                 {u"SRF24ANNO"_s, QString::number(kYear)},
                                 {u"FRF24RITENUTE"_s, amount / 100.0},
                                 {u"FRF24VERSATO"_s, amount / 100.0}};
                const QString region = QString::number(l % 20 + 1).rightJustified(2, u'0');
                if (section == u"R"_s)
                    line.insert(u"SRF24CODREG"_s, region);
                if (section == u"EL"_s)
                    line.insert(u"SRF24CODCOM"_s, u"C%1"_s.arg(l, 3, 10, QChar(u'0')));
                cents[section == u"R"_s ? region : QString()] += amount;
                lines.append(line);
            }
            const int table = section == u"E"_s ? 0 : section == u"R"_s ? 1 : 2;
            for (auto it = cents.cbegin(); it != cents.cend(); ++it) {
                QJsonObject row{{u"MESE"_s, mm},
                                {u"ANNO"_s, QString::number(kYear)},
                                {u"CODICE"_s, code},
                                {u"IMPORTO"_s, QString::number(it.value())},
                                {u"DATA"_s, paidOn}};
                if (!it.key().isEmpty())
                    row.insert(u"REGIONE"_s, it.key());
                p.rows[table].append(row);
            }
        }
        delegations.append(QJsonObject{{u"IANFID"_s, kYear}, {u"DDF24DTVERS"_s, paidOn}, {u"righe"_s, lines}});
    }
    p.json = QJsonDocument(QJsonObject{{u"deleghe"_s, delegations}}).toJson(QJsonDocument::Compact);
    return p;
}

// The fields of a Prospetto the rows fill: month, year, withheld, paid,
// code, date paid, region.
struct Table
{
    const char16_t *name;
    const char16_t *fields[7];
};
constexpr Table kTables[] = {
    {u"TPST_PROSPETTOST",
     {u"SPSTMESE", u"SPSTANNO", u"FPSTRITOPEARTE", u"FPSTIMPOVERSATO", u"SPSTCODTRIBUTO", u"DPSTDTVERS", nullptr}},
    {u"TPST2_PROSPETTOSTS2",
     {u"SPST2MESE", u"SPST2ANNO", u"FPST2RITEFFETTUATE", u"FPST2IMPOVERSATO", u"SPST2CODTRIBUTO", u"DPST2DTVERS",
      u"SPST2CODREG"}},
    {u"TPSV_PROSPETTOSV",
     {u"SPSVMESE", u"SPSVANNO", u"FPSVTRATTEFF", u"FPSVIMPVERS", u"SPSVCODTRIBCAP", u"DPSVDTVERS", nullptr}},
};

class BenchReturn
{
public:
    BenchReturn()
        : m_installation(Engine::SQLite)
    {
        if (!m_connection.createDatabase())
            throw std::runtime_error("database not opened");
        const Payroll p = payroll();
        {
            TNrTransaction transaction(m_connection);
            transaction.StartTransaction();
            DatabaseSetup(m_connection)
                .createStructures(ReturnCatalogue::load(DataPaths::resolve(
                                      QString::fromUtf8(ELH_DATA_ROOT), u"USR\\FL2023\\DbIniziale\\Catalogo.json"_s)),
                                  {kYear});
            if (PayrollPayments::load(m_connection, p.json, u"bench"_s) != kLines)
                throw std::runtime_error("payments not loaded");
            transaction.Commit();
        }
        m_store.setConnection(&m_connection);
        for (int t = 0; t < 3; ++t)
            writeRows(kTables[t], p.rows[t]);
        BenchEmployees::addRows(
            m_store, u"TDIP7_ANAGRFISCALI"_s, kEmployees, 1, 0, 1, [](ClientDataSet &ds, int n, int) {
                ds.fieldByName(u"SDIP7COGNOME"_s).setAsString(u"COGNOME%1"_s.arg(n));
                ds.fieldByName(u"SDIP7NOME"_s).setAsString(u"NOME%1"_s.arg(n));
                for (const auto *field : {u"FFIS7RITIRPEF", u"FFIS7ADDREGIRPEF", u"FFIS7ADDCOMACC", u"FFIS7ADDCOMSA"})
                    ds.fieldByName(QString::fromUtf16(field)).setAsCurrency(Decimal::fromUnits(1000000 + 100 * n));
            });
    }

    THlmDBCds &store() { return m_store; }

private:
    void writeRows(const Table &table, const QList<QJsonObject> &rows)
    {
        const QString name = QString::fromUtf16(table.name);
        ClientDataSet ds(name);
        m_store.open(ds, name);
        for (const QJsonObject &row : rows) {
            ds.append();
            const auto set = [&](int field, const QString &value) {
                ds.fieldByName(QString::fromUtf16(table.fields[field])).setAsString(value);
            };
            set(0, row.value(u"MESE"_s).toString());
            set(1, row.value(u"ANNO"_s).toString());
            const Decimal amount = Decimal::fromUnits(row.value(u"IMPORTO"_s).toString().toLongLong() * 100);
            ds.fieldByName(QString::fromUtf16(table.fields[2])).setAsCurrency(amount);
            ds.fieldByName(QString::fromUtf16(table.fields[3])).setAsCurrency(amount);
            set(4, row.value(u"CODICE"_s).toString());
            ds.fieldByName(QString::fromUtf16(table.fields[5]))
                .setAsDate(QDate::fromString(row.value(u"DATA"_s).toString(), Qt::ISODate));
            if (table.fields[6])
                set(6, row.value(u"REGIONE"_s).toString());
            ds.post();
        }
        m_store.save(ds, name);
    }

    TestInstallation m_installation;
    TdmkbrConnessione m_connection;
    THlmDBCds m_store{kYear, u"elh"_s, 0};
};

BenchReturn &benchReturn()
{
    static BenchReturn bench;
    return bench;
}

void readInput(benchmark::State &state)
{
    for (auto _ : state) {
        const QuadraturaInput input = readQuadraturaInput(benchReturn().store());
        if (!input.f24 || input.f24->size() != kLines || input.people.size() != kEmployees) {
            state.SkipWithError("the return was not read whole");
            break;
        }
        state.counters["rows"] = static_cast<double>(input.rows.size());
    }
}

void reconcileInput(benchmark::State &state)
{
    const QuadraturaInput input = readQuadraturaInput(benchReturn().store());
    for (auto _ : state) {
        const QuadraturaReport report = reconcile(input);
        // The payroll and the rows agree: no finding but the certified totals.
        state.counters["findings"] = static_cast<double>(report.findings.size());
        benchmark::DoNotOptimize(report);
    }
}

} // namespace

int main(int argc, char **argv)
{
    QCoreApplication app(argc, argv);
    std::setlocale(LC_NUMERIC, "C");
    benchmark::RegisterBenchmark("ReadQuadraturaInput/SQLite", readInput)
        ->Iterations(5)
        ->Unit(benchmark::kMillisecond)
        ->UseRealTime();
    benchmark::RegisterBenchmark("Reconcile", reconcileInput)
        ->Iterations(20)
        ->Unit(benchmark::kMillisecond)
        ->UseRealTime();
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}
