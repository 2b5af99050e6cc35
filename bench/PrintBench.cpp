// Timings of the print of Prospetto ST at scale: 12,000 rows of section I in
// 20 agents of 600 rows, 1,060 pages (1,000 pages 23 and, per agent, one
// page each of 24, 25 and 26), read from a school database on SQLite,
// against qpdf copying the same template pages into a new file
// ("qpdf --empty --pages"). loadST times the reading of the rows alone.
//
// Goals: at least 1,000 pages a second, and at most 1 KB of file per page
// beyond the template's own content.
//
// The employees' certificates of 2,000 employees of the same database
// (seven pages each, and continuation pages for the rows beyond the first):
// loadEmployees times the reading of their thirteen tables, as the print
// window does when it opens, printEmployees the print itself.

#include "BenchEmployees.h"
#include "ClientDataSet.h"
#include "DatabaseSetup.h"
#include "Decimal.h"
#include "ElhMPdfDip.h"
#include "ElhMProspSTPDF.h"
#include "ElhMStampe.h"
#include "Exceptions.h"
#include "NrTransaction.h"
#include "ReturnCatalogue.h"
#include "THlmDBCds.h"
#include "TdmkbrConnessione.h"
#include "TestInstallation.h"

#include <benchmark/benchmark.h>

#include <QCoreApplication>
#include <QDate>
#include <QDir>
#include <QDirIterator>
#include <QFile>
#include <QFileInfo>
#include <QProcess>
#include <QTemporaryDir>

#include <clocale>
#include <memory>

using namespace Qt::Literals::StringLiterals;

namespace {

constexpr int kAgents = 20;
constexpr int kRowsPerAgent = 600;
constexpr int kPagesPerAgent = kRowsPerAgent / 12 + 3;
constexpr int kPages = kAgents * kPagesPerAgent;

// A school database on SQLite with every table's structure, the agent and
// the rows of Prospetto ST, in an installation with the delivered
// templates and descriptors.
class BenchReturn
{
public:
    BenchReturn()
        : m_installation(Engine::SQLite)
    {
        const QString from = QStringLiteral(ELH_DATA_ROOT "/USR/FL2023/Res/CoordStp/");
        QDir().mkpath(coordStp(QString()));
        QDirIterator files(from, QDir::Files);
        while (files.hasNext()) {
            const QString f = files.next();
            QFile::copy(f, coordStp(QFileInfo(f).fileName()));
        }
        if (!m_connection.createDatabase())
            throw EDatabaseError(u"connessione non aperta"_s);
        TNrTransaction transaction(m_connection);
        transaction.StartTransaction();
        DatabaseSetup(m_connection)
            .createStructures(
                ReturnCatalogue::load(QStringLiteral(ELH_DATA_ROOT "/USR/FL2023/DbIniziale/Catalogo.json")),
                {DatabaseSetup::kDemoYear});
        transaction.Commit();
        store.setConnection(&m_connection);

        ClientDataSet sost;
        store.open(sost, u"TSOS_DATOSOSTITUTO"_s);
        sost.append();
        sost.fieldByName(u"SSOSCODFIS"_s).setAsString(u"80012345676"_s);
        sost.post();
        store.save(sost, u"TSOS_DATOSOSTITUTO"_s);

        ClientDataSet st;
        store.open(st, u"TPST_PROSPETTOST"_s);
        for (int a = 0; a < kAgents; ++a) {
            // The declaring agent, then extinct agents.
            const QString agent = a == 0 ? QString() : u"820098705%1"_s.arg(a, 2, 10, QChar(u'0'));
            for (int n = 0; n < kRowsPerAgent; ++n) {
                st.append();
                st.fieldByName(u"SSOE7CODICE"_s).setAsString(agent);
                st.fieldByName(u"SPSTMESE"_s).setAsString(u"%1"_s.arg(n % 12 + 1, 2, 10, QChar(u'0')));
                st.fieldByName(u"SPSTANNO"_s).setAsString(u"2023"_s);
                st.fieldByName(u"FPSTRITOPEARTE"_s).setAsCurrency(Decimal::fromUnits(1234567 + n));
                st.fieldByName(u"FPSTIMPOVERSATO"_s).setAsCurrency(Decimal::fromUnits(1234567 + n));
                st.fieldByName(u"SPSTCODTRIBUTO"_s).setAsString(u"100E"_s);
                st.fieldByName(u"DPSTDTVERS"_s).setAsDate(QDate(2023, 1, 16).addDays(n / 2));
                st.post();
            }
        }
        store.save(st, u"TPST_PROSPETTOST"_s);
        BenchEmployees::addEmployees(store, kEmployees);
    }

    static constexpr int kEmployees = 2000;

    QString coordStp(const QString &file) const { return m_installation.root() + u"USR/FL2023/Res/CoordStp/"_s + file; }

    THlmDBCds store{2023, u"elh"_s, 0};

private:
    TestInstallation m_installation;
    TdmkbrConnessione m_connection;
};

std::unique_ptr<BenchReturn> g_return;

QString templatePath()
{
    return g_return->coordStp(u"770_sempl_mod.pdf"_s);
}

// The template pages of the print, in order.
QString pageList()
{
    QStringList pages;
    for (int a = 0; a < kAgents; ++a) {
        pages << u"23"_s << u"24"_s << u"25"_s << u"26"_s;
        for (int p = 1; p < kRowsPerAgent / 12; ++p)
            pages << u"23"_s;
    }
    return pages.join(u',');
}

// Reading the rows from the database, a part of every print.
void loadST(benchmark::State &state)
{
    ClientDataSet st;
    for (auto _ : state)
        g_return->store.open(st, u"TPST_PROSPETTOST"_s);
    state.counters["rows"] = st.recordCount();
}

void printST(benchmark::State &state)
{
    TdmElhProspSTPDF print(g_return->store, standardErrorFindings());
    QTemporaryDir dir;
    const QString out = dir.filePath(u"ST.pdf"_s);
    for (auto _ : state) {
        if (print.stampaST(out) != TdmElhProspSTPDF::Outcome::Saved)
            state.SkipWithError("print failed");
    }
    const double size = static_cast<double>(QFileInfo(out).size());
    state.counters["pages"] = kPages;
    state.counters["pages/s"] = benchmark::Counter(kPages, benchmark::Counter::kIsIterationInvariantRate);
    state.counters["file_KB"] = size / 1024.0;
    state.counters["B/page_beyond_template"] = (size - static_cast<double>(QFileInfo(templatePath()).size())) / kPages;
}

void qpdfPages(benchmark::State &state)
{
    QTemporaryDir dir;
    const QString out = dir.filePath(u"qpdf.pdf"_s);
    const QStringList args = {u"--empty"_s, u"--pages"_s, templatePath(), pageList(), u"--"_s, out};
    for (auto _ : state) {
        QProcess qpdf;
        qpdf.start(u"qpdf"_s, args);
        if (!qpdf.waitForFinished(120000) || qpdf.exitCode() != 0)
            state.SkipWithError("qpdf failed");
    }
    const double size = static_cast<double>(QFileInfo(out).size());
    state.counters["pages"] = kPages;
    state.counters["pages/s"] = benchmark::Counter(kPages, benchmark::Counter::kIsIterationInvariantRate);
    state.counters["file_KB"] = size / 1024.0;
    state.counters["B/page_beyond_template"] = (size - static_cast<double>(QFileInfo(templatePath()).size())) / kPages;
}

void loadEmployees(benchmark::State &state)
{
    TdmElhStampe stampe(g_return->store);
    for (auto _ : state) {
        const TdmElhPdfDip print(g_return->store, stampe);
        benchmark::DoNotOptimize(print.cdsMultiSelect.recordCount());
    }
    state.counters["dipendenti"] = BenchReturn::kEmployees;
}

void printEmployees(benchmark::State &state)
{
    TdmElhStampe stampe(g_return->store);
    TdmElhPdfDip print(g_return->store, stampe);
    QTemporaryDir dir;
    const QString out = dir.filePath(u"Dipendenti.pdf"_s);
    for (auto _ : state) {
        if (print.Crea(out) != TdmElhPdfCertificato::Outcome::Saved)
            state.SkipWithError("print failed");
    }
    QProcess qpdf;
    qpdf.start(u"qpdf"_s, {u"--show-npages"_s, out});
    qpdf.waitForFinished(60000);
    const double pages = qpdf.readAllStandardOutput().trimmed().toDouble();
    const double size = static_cast<double>(QFileInfo(out).size());
    state.counters["pages"] = pages;
    state.counters["pages/s"] = benchmark::Counter(pages, benchmark::Counter::kIsIterationInvariantRate);
    state.counters["file_KB"] = size / 1024.0;
    state.counters["B/page_beyond_template"] = (size - static_cast<double>(QFileInfo(templatePath()).size())) / pages;
}

} // namespace

BENCHMARK(loadST)->Unit(benchmark::kMillisecond)->UseRealTime();
BENCHMARK(printST)->Unit(benchmark::kMillisecond)->UseRealTime();
BENCHMARK(qpdfPages)->Unit(benchmark::kMillisecond)->UseRealTime();
BENCHMARK(loadEmployees)->Unit(benchmark::kMillisecond)->UseRealTime();
BENCHMARK(printEmployees)->Unit(benchmark::kMillisecond)->UseRealTime();

int main(int argc, char **argv)
{
    QCoreApplication app(argc, argv);
    std::setlocale(LC_NUMERIC, "C");
    benchmark::Initialize(&argc, argv);
    g_return = std::make_unique<BenchReturn>();
    benchmark::RunSpecifiedBenchmarks();
    g_return.reset();
    benchmark::Shutdown();
    return 0;
}
