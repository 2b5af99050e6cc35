// Timings of the print of Prospetto ST at scale: 12,000 rows of section I in
// 20 agents of 600 rows, 1,060 pages (1,000 pages 23 and, per agent, one
// page each of 24, 25 and 26), against qpdf copying the same template pages
// into a new file ("qpdf --empty --pages").
//
// Goals: at least 1,000 pages a second, and at most 1 KB of file per page
// beyond the template's own content.

#include "ClientDataSet.h"
#include "DataPaths.h"
#include "Decimal.h"
#include "print/ElhMProspSTPDF.h"
#include "store/ReturnCatalogue.h"
#include "store/ReturnTables.h"

#include <benchmark/benchmark.h>

#include <QDate>
#include <QFileInfo>
#include <QProcess>
#include <QTemporaryDir>

#include <map>

using namespace Qt::Literals::StringLiterals;

namespace {

constexpr int kAgents = 20;
constexpr int kRowsPerAgent = 600;
constexpr int kPagesPerAgent = kRowsPerAgent / 12 + 3;
constexpr int kPages = kAgents * kPagesPerAgent;

// The tables of the print, built once in memory with the catalogue's
// structures; the other tables of the return are empty.
class BenchTables : public ReturnTables
{
public:
    BenchTables()
        : m_catalogue(ReturnCatalogue::load(DataPaths::fromRoot(u"USR\\FL2023\\DbIniziale\\Catalogo.json"_s)))
    {
        ClientDataSet st;
        open(st, u"TPST_PROSPETTOST"_s);
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
        m_data[u"TPST_PROSPETTOST"_s] = st.saveToBytes();
        ClientDataSet sost;
        open(sost, u"TSOS_DATOSOSTITUTO"_s);
        sost.append();
        sost.fieldByName(u"SSOSCODFIS"_s).setAsString(u"80012345676"_s);
        sost.post();
        m_data[u"TSOS_DATOSOSTITUTO"_s] = sost.saveToBytes();
    }

    void open(ClientDataSet &dataSet, const QString &table) override
    {
        dataSet.close();
        const auto it = m_data.find(table);
        dataSet.loadFromBytes(it != m_data.end() ? it->second : m_catalogue.find(table)->structurePacket(), table);
        dataSet.first();
    }

private:
    ReturnCatalogue m_catalogue;
    std::map<QString, QByteArray> m_data;
};

QString templatePath()
{
    return DataPaths::fromRoot(u"USR\\FL2023\\Res\\CoordStp\\770_sempl_mod.pdf"_s);
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

void printST(benchmark::State &state)
{
    BenchTables tables;
    TdmElhProspSTPDF print(tables);
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

} // namespace

BENCHMARK(printST)->Unit(benchmark::kMillisecond)->UseRealTime();
BENCHMARK(qpdfPages)->Unit(benchmark::kMillisecond)->UseRealTime();

int main(int argc, char **argv)
{
    DataPaths::setDataRoot(QStringLiteral(ELH_DATA_ROOT) + u'/');
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}
