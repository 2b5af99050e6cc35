// Timings of the generation of the supply file (stage 1 and stage 2
// together) on a large return: 10,000 rows of ST section I, 1,000 of SV,
// 500 of DI, 200 of SY (50 per section) and 50 of SS (the SY withholdings of
// 50 extinct agents), then the same with every count doubled. The values are
// built from a fixed seed.
//
// Goals on the reference machine: 3 s for the return, at most 2.2 times as
// much for the doubled one, 300 MB of peak memory.

#include "CdsExchange.h"
#include "ClientDataSet.h"
#include "DataPaths.h"
#include "DatabaseSetup.h"
#include "ElhMFile.h"
#include "ElhUFileWizard.h"
#include "LocalDataFolder.h"
#include "NrFindings.h"
#include "NrTransaction.h"
#include "ProcStatus.h"
#include "ReturnCatalogue.h"
#include "THlmDBCds.h"
#include "TdmkbrConnessione.h"
#include "TestInstallation.h"

#include <benchmark/benchmark.h>

#include <QDir>
#include <QFile>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QMap>

#include <random>

using namespace Qt::Literals::StringLiterals;

namespace {

QString built(const QString &relative)
{
    return DataPaths::resolve(QString::fromUtf8(ELH_DATA_ROOT), relative);
}

QString two(int n)
{
    return QString::number(n).rightJustified(2, QChar(u'0'));
}

QString agentCode(int n)
{
    return u"9%1"_s.arg(n, 10, 10, QChar(u'0'));
}

void append(THlmDBCds &store, const QString &table, const QJsonArray &records)
{
    ClientDataSet ds(table);
    store.open(ds, table);
    CdsExchange::appendJsonRecords(ds, QJsonDocument(QJsonObject{{u"records"_s, records}}).toJson(), table);
    store.save(ds, table);
}

QByteArray readAll(const QString &path)
{
    QFile f(path);
    return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray();
}

// The return of a large school, `scale` times over.
void fillReturn(THlmDBCds &store, int scale)
{
    const QString demo = u"USR\\FL2023\\DbIniziale\\Demo\\"_s;
    for (const QString &table : {u"TSOS_DATOSOSTITUTO"_s, u"TFOR_FORNITORE"_s}) {
        ClientDataSet ds(table);
        store.open(ds, table);
        CdsExchange::appendJsonRecords(ds, readAll(built(demo + table + u".2022.json"_s)), table);
        store.save(ds, table);
    }
    std::mt19937 rng(770);
    auto cents = [&](int low, int high) {
        return QString::number(std::uniform_int_distribution<int>(low * 100, high * 100)(rng) / 100.0, 'f', 2);
    };
    const int agents = 50 * scale;
    QJsonArray extinct;
    for (int a = 0; a < agents; ++a)
        extinct.append(QJsonObject{{u"CODICE"_s, agentCode(a)}, {u"DENOMINAZI0NE"_s, u"ISTITUTO ESTINTO %1"_s.arg(a)}});
    append(store, u"TSOE7_SOSESTINTO"_s, extinct);

    QJsonArray st, sv, di, sy, sy2, sy3, sy4;
    for (int i = 0; i < 10000 * scale; ++i) {
        const int month = i % 12 + 1;
        const QString amount = cents(10, 5000);
        st.append(QJsonObject{{u"SPSTMESE"_s, two(month)},
                              {u"SPSTANNO"_s, u"2023"_s},
                              {u"FPSTRITOPEARTE"_s, amount},
                              {u"FPSTIMPOVERSATO"_s, amount},
                              {u"SPSTCODTRIBUTO"_s, i % 3 == 0 ? u"104E"_s : u"100E"_s},
                              {u"DPSTDTVERS"_s, u"2023-%1-16"_s.arg(two(month))},
                              {u"LPSTRAVVEDIMENTO"_s, u"0"_s}});
    }
    for (int i = 0; i < 1000 * scale; ++i) {
        const QString amount = cents(10, 500);
        sv.append(QJsonObject{{u"SPSVMESE"_s, two(i % 12 + 1)},
                              {u"SPSVANNO"_s, u"2023"_s},
                              {u"FPSVTRATTEFF"_s, amount},
                              {u"FPSVIMPVERS"_s, amount},
                              {u"SPSVCODTRIBCAP"_s, u"385E"_s},
                              {u"DPSVDTVERS"_s, u"2023-%1-16"_s.arg(two(i % 12 + 1))}});
    }
    for (int i = 0; i < 500 * scale; ++i)
        di.append(QJsonObject{{u"SPDICODFIS"_s, u"RSSMRA80A01H%1U"_s.arg(i, 3, 10, QChar(u'0'))},
                              {u"SPDIPERIMP"_s, u"2021"_s},
                              {u"FPDIMAGCRED"_s, cents(1, 300)}});
    for (int i = 0; i < 50 * scale; ++i) {
        sy.append(QJsonObject{{u"SPSYDEBPRICODF"_s, u"RSSMRC75B03D%1P"_s.arg(i, 3, 10, QChar(u'0'))},
                              {u"SPSYCREPIGCODF"_s, u"02487650323"_s},
                              {u"FPSYSOMERO"_s, cents(100, 2000)}});
        sy2.append(QJsonObject{{u"SPSY2CREPIGCF"_s, u"05174320985"_s}, {u"FPSYSOMERO1"_s, cents(100, 2000)}});
        sy3.append(QJsonObject{{u"SPSY3CFBEN"_s, u"03129870543"_s},
                               {u"FPSY3AMMBON"_s, cents(1000, 20000)},
                               {u"FPSY3RITEFF"_s, cents(80, 1600)},
                               {u"SSOE7CODICE"_s, agentCode(i)}});
        sy4.append(QJsonObject{{u"SSY4DEN"_s, u"SCHMIDT"_s},
                               {u"SSY4NOME"_s, u"ANNA"_s},
                               {u"FSY4AMMLORDCORR"_s, cents(1000, 3000)},
                               {u"FSY4RITTITIMP"_s, cents(300, 900)},
                               {u"SSOE7CODICE"_s, agentCode(i)}});
    }
    append(store, u"TPST_PROSPETTOST"_s, st);
    append(store, u"TPSV_PROSPETTOSV"_s, sv);
    append(store, u"TPDI_PROSPETTODI"_s, di);
    append(store, u"TPSY_PROSPETTOSY"_s, sy);
    append(store, u"TPSY2_PROSPETTOSY2"_s, sy2);
    append(store, u"TPSY3_PROSPETTOSY3"_s, sy3);
    append(store, u"TPSY4_PROSPETTOSY4"_s, sy4);
}

// A temporary installation with a new SQLite school database, as the
// tests make it, holding the return of `scale` large schools.
class BenchInstallation
{
public:
    explicit BenchInstallation(int scale)
        : m_installation(Engine::SQLite)
    {
        for (const QString &kind : {u"A"_s, u"B"_s, u"D"_s, u"I"_s, u"J"_s, u"Z"_s})
            copy(u"USR\\FL2023\\Res\\FileTel\\Record_"_s + kind + u".xml"_s,
                 u"USR/FL2023/Res/FileTel/Record_"_s + kind + u".xml"_s);
        for (const QString &name : {u"TFIFI_FIELDSFILE.CDS"_s, u"TFILE_FILETELEM.CDS"_s})
            copy(u"USR\\FL2023\\DbIniziale\\"_s + name, u"USR/FL2023/DbIniziale/"_s + name);
        LocalDataFolder::prepare(standardErrorFindings());
        if (!m_connection.createDatabase())
            throw std::runtime_error("database not opened");
        TNrTransaction transaction(m_connection);
        transaction.StartTransaction();
        DatabaseSetup(m_connection)
            .createStructures(ReturnCatalogue::load(built(u"USR\\FL2023\\DbIniziale\\Catalogo.json"_s)), {2022, 2023});
        transaction.Commit();
        m_store.setConnection(&m_connection);
        fillReturn(m_store, scale);
    }

    THlmDBCds &store() { return m_store; }
    QString file(const QString &name) const { return m_installation.root() + name; }

private:
    void copy(const QString &from, const QString &to)
    {
        QDir().mkpath(QFileInfo(file(to)).path());
        QFile::copy(built(from), file(to));
    }

    TestInstallation m_installation;
    TdmkbrConnessione m_connection;
    THlmDBCds m_store{2023, u"elh"_s, 0};
};

void BM_GenerateSupply(benchmark::State &state)
{
    BenchInstallation installation(static_cast<int>(state.range(0)));
    const QString out = installation.file(u"77024"_s);

    int lines = 0;
    for (auto _ : state) {
        state.PauseTiming();
        TdmElhFile dm(installation.store());
        dm.openTables();
        FindingList findings;
        FileWizard wizard(dm, findings);
        state.ResumeTiming();
        if (wizard.createFile() != FileWizard::Outcome::Created) {
            state.SkipWithError(wizard.memo().join(u'\n').toUtf8().constData());
            break;
        }
        wizard.save(out);
        lines = static_cast<int>(readAll(out).count('\n'));
    }
    state.counters["lines"] = lines;
    state.counters["peak_rss_MB"] = procStatusMegabytes("VmHWM");
}
BENCHMARK(BM_GenerateSupply)->Arg(1)->Arg(2)->Unit(benchmark::kMillisecond)->Iterations(3);

} // namespace

BENCHMARK_MAIN();
