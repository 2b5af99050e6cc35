// Timings of ClientDataSet on 100,000 records of 20 fields, about the size of
// the largest tables a school handles (payments of a year, one line per
// payee and month). The values are built from a fixed seed, so every run
// works on the same data.
//
// Goals on the reference machine: append 300 ms, order on three fields
// 150 ms, filter 50 ms, locate 20 ms, packed file write and read 300 ms each,
// peak memory with the table built 150 MB.

#include "ClientDataSet.h"
#include "Decimal.h"
#include "Exceptions.h"
#include "ProcStatus.h"

#include <benchmark/benchmark.h>

#include <QDate>
#include <QFile>
#include <QString>
#include <QTemporaryDir>

#include <array>
#include <memory>
#include <random>
#include <vector>

using namespace Qt::Literals::StringLiterals;

namespace {

constexpr int kRecords = 100000;
constexpr int kAmounts = 6;

// The record searched by locate: near the end of the natural order.
constexpr int kLocateRow = kRecords - 10;

const std::array<const char16_t *, 24> kSurnames = {
    u"ROSSI",    u"RUSSO", u"FERRARI",  u"ESPOSITO", u"BIANCHI",  u"ROMANO",   u"COLOMBO", u"RICCI",
    u"MARINO",   u"GRECO", u"BRUNO",    u"GALLO",    u"CONTI",    u"DE LUCA",  u"MANCINI", u"COSTA",
    u"GIORDANO", u"RIZZO", u"LOMBARDI", u"MORETTI",  u"D'ANGELO", u"BARBIERI", u"FONTANA", u"SANTORO"};
const std::array<const char16_t *, 20> kNames = {
    u"MARIO", u"GIUSEPPE", u"ANNA",   u"MARIA", u"LUCA",    u"FRANCESCA", u"GIOVANNI", u"PAOLA",  u"ANTONIO", u"LAURA",
    u"MARCO", u"CHIARA",   u"ANDREA", u"ELENA", u"STEFANO", u"SILVIA",    u"ROBERTO",  u"GIULIA", u"NICOLA",  u"ROSA"};
const std::array<const char16_t *, 12> kTowns = {u"ROMA",    u"MILANO",  u"NAPOLI",  u"TORINO",
                                                 u"PALERMO", u"GENOVA",  u"BOLOGNA", u"FIRENZE",
                                                 u"BARI",    u"CATANIA", u"VERONA",  u"REGGIO NELL'EMILIA"};
const std::array<const char16_t *, 8> kTaxCodes = {u"1001", u"1004", u"1040", u"1712",
                                                   u"1713", u"3802", u"3848", u"100E"};
const std::array<const char16_t *, 6> kCausali = {u"A", u"B", u"M", u"N", u"O", u"ZO"};

struct SourceRecord
{
    QString codFis, cognome, nome, comune, codice, causale;
    int anno = 0, comRid = 0, mese = 0, prog = 0;
    std::array<std::int64_t, kAmounts> amounts{}; // ten-thousandths; 0 stands for null
    QDate nascita, versamento;
    bool estero = false, ravveduto = false;
};

// Sixteen characters shaped like an Italian fiscal code (RSSMRA80A01H501U).
QString fiscalCode(std::mt19937 &rng)
{
    static const char months[] = "ABCDEHLMPRST";
    std::uniform_int_distribution<int> letter(0, 25), digit(0, 9), month(0, 11);
    QString s;
    s.reserve(16);
    auto L = [&] { s += QChar(u'A' + letter(rng)); };
    auto D = [&] { s += QChar(u'0' + digit(rng)); };
    for (int i = 0; i < 6; ++i)
        L();
    D();
    D();
    s += QChar::fromLatin1(months[month(rng)]);
    D();
    D();
    L();
    D();
    D();
    D();
    L();
    return s;
}

SourceRecord makeRecord(std::mt19937 &rng, int index)
{
    auto pick = [&rng](const auto &list) {
        std::uniform_int_distribution<std::size_t> d(0, list.size() - 1);
        return QString::fromUtf16(list[d(rng)]);
    };
    std::uniform_int_distribution<int> percent(0, 99);
    std::uniform_int_distribution<std::int64_t> cents(0, 10000000);
    std::uniform_int_distribution<int> day(0, 364);
    std::uniform_int_distribution<int> birthDay(0, 18000);

    SourceRecord r;
    r.codFis = fiscalCode(rng);
    r.cognome = pick(kSurnames);
    if (percent(rng) < 30)
        r.cognome += u' ' + pick(kSurnames);
    r.nome = pick(kNames);
    if (percent(rng) < 20)
        r.nome += u' ' + pick(kNames);
    r.comune = pick(kTowns);
    r.codice = percent(rng) == 0 ? u"X"_s : pick(kTaxCodes);
    r.causale = pick(kCausali);
    r.anno = percent(rng) < 50 ? 2023 : 2022;
    r.comRid = 10000 + percent(rng);
    r.mese = 1 + percent(rng) % 12;
    r.prog = index + 1;
    for (auto &a : r.amounts)
        a = percent(rng) < 15 ? 0 : cents(rng) * 100;
    r.nascita = QDate(1950, 1, 1).addDays(birthDay(rng));
    r.versamento = QDate(2023, 1, 1).addDays(day(rng));
    r.estero = percent(rng) < 3;
    r.ravveduto = percent(rng) < 10;
    return r;
}

const std::vector<SourceRecord> &sourceRecords()
{
    static const std::vector<SourceRecord> records = [] {
        std::mt19937 rng(770);
        std::vector<SourceRecord> v;
        v.reserve(kRecords);
        for (int i = 0; i < kRecords; ++i)
            v.push_back(makeRecord(rng, i));
        return v;
    }();
    return records;
}

void defineFields(ClientDataSet &ds)
{
    FieldDefs &d = ds.fieldDefs();
    d.add(u"SCODFIS"_s, FieldType::String, 16);
    d.add(u"SCOGNOME"_s, FieldType::String, 40);
    d.add(u"SNOME"_s, FieldType::String, 30);
    d.add(u"SCOMUNE"_s, FieldType::String, 40);
    d.add(u"SCODICE"_s, FieldType::String, 20);
    d.add(u"SCAUSALE"_s, FieldType::String, 16);
    d.add(u"IANNO"_s, FieldType::Integer);
    d.add(u"ICOMRID"_s, FieldType::Integer);
    d.add(u"IMESE"_s, FieldType::Integer);
    d.add(u"IPROG"_s, FieldType::Integer);
    d.add(u"NIMPONIBILE"_s, FieldType::Decimal);
    d.add(u"NRITENUTE"_s, FieldType::Decimal);
    d.add(u"NADDREG"_s, FieldType::Decimal);
    d.add(u"NADDCOM"_s, FieldType::Decimal);
    d.add(u"NCOMPENSO"_s, FieldType::Decimal);
    d.add(u"NVERSATO"_s, FieldType::Decimal);
    d.add(u"DNASCITA"_s, FieldType::Date);
    d.add(u"DVERSAMENTO"_s, FieldType::Date);
    d.add(u"BESTERO"_s, FieldType::Boolean);
    d.add(u"BRAVVEDUTO"_s, FieldType::Boolean);
}

// Appends one record through the field setters, as the program's own code does.
void appendRecord(ClientDataSet &ds, const SourceRecord &r)
{
    ds.append();
    ds.field(0).setAsString(r.codFis);
    ds.field(1).setAsString(r.cognome);
    ds.field(2).setAsString(r.nome);
    ds.field(3).setAsString(r.comune);
    ds.field(4).setAsString(r.codice);
    ds.field(5).setAsString(r.causale);
    ds.field(6).setAsInteger(r.anno);
    ds.field(7).setAsInteger(r.comRid);
    ds.field(8).setAsInteger(r.mese);
    ds.field(9).setAsInteger(r.prog);
    for (int a = 0; a < kAmounts; ++a) {
        const std::int64_t units = r.amounts[static_cast<std::size_t>(a)];
        if (units != 0)
            ds.field(10 + a).setAsCurrency(Decimal::fromUnits(units));
    }
    ds.field(16).setAsDate(r.nascita);
    ds.field(17).setAsDate(r.versamento);
    ds.field(18).setAsBoolean(r.estero);
    ds.field(19).setAsBoolean(r.ravveduto);
    ds.post();
}

std::unique_ptr<ClientDataSet> buildDataSet(const std::vector<SourceRecord> &records)
{
    auto ds = std::make_unique<ClientDataSet>(u"cdsBench"_s);
    defineFields(*ds);
    ds->createDataSet();
    for (const SourceRecord &r : records)
        appendRecord(*ds, r);
    return ds;
}

// The table the order, filter, locate and file benchmarks share: built once,
// its change log merged as after loading a file.
ClientDataSet &sharedDataSet()
{
    static const std::unique_ptr<ClientDataSet> ds = [] {
        auto d = buildDataSet(sourceRecords());
        d->mergeChangeLog();
        return d;
    }();
    return *ds;
}

// --- Benchmarks ----------------------------------------------------------------
// Registered first so that the peak is the one of building the table, before
// the other benchmarks keep their source data and copies in memory. The
// records are made one by one, so that only the table stays resident.
void BM_MemoryPeak(benchmark::State &state)
{
    for (auto _ : state) {
        const double rssBefore = procStatusMegabytes("VmRSS");
        ClientDataSet ds(u"cdsMemoria"_s);
        defineFields(ds);
        ds.createDataSet();
        std::mt19937 rng(770);
        for (int i = 0; i < kRecords; ++i)
            appendRecord(ds, makeRecord(rng, i));
        ds.mergeChangeLog();
        state.counters["peak_rss_MB"] = procStatusMegabytes("VmHWM");
        state.counters["table_MB"] = procStatusMegabytes("VmRSS") - rssBefore;
        state.counters["records"] = ds.recordCount();
    }
}
BENCHMARK(BM_MemoryPeak)->Unit(benchmark::kMillisecond)->Iterations(1);

void BM_Append(benchmark::State &state)
{
    const std::vector<SourceRecord> &records = sourceRecords();
    for (auto _ : state) {
        state.PauseTiming();
        auto ds = std::make_unique<ClientDataSet>(u"cdsBench"_s);
        defineFields(*ds);
        ds->createDataSet();
        state.ResumeTiming();

        for (const SourceRecord &r : records)
            appendRecord(*ds, r);

        state.PauseTiming();
        if (ds->recordCount() != kRecords)
            state.SkipWithError("record mancanti dopo l'inserimento");
        ds.reset();
        state.ResumeTiming();
    }
    state.SetItemsProcessed(state.iterations() * kRecords);
}
BENCHMARK(BM_Append)->Unit(benchmark::kMillisecond)->Iterations(3);

void BM_SortThreeFields(benchmark::State &state)
{
    ClientDataSet &ds = sharedDataSet();
    for (auto _ : state) {
        state.PauseTiming();
        ds.setIndexFieldNames(QString());
        ds.first();
        state.ResumeTiming();

        ds.setIndexFieldNames(u"SCOGNOME;SNOME;DNASCITA"_s);
    }
    ds.first();
    const QString firstSurname = ds.fieldByName(u"SCOGNOME"_s).asString();
    ds.last();
    if (!(firstSurname <= ds.fieldByName(u"SCOGNOME"_s).asString()))
        state.SkipWithError("ordinamento errato");
    ds.setIndexFieldNames(QString());
}
BENCHMARK(BM_SortThreeFields)->Unit(benchmark::kMillisecond)->Iterations(10);

void BM_Filter(benchmark::State &state)
{
    ClientDataSet &ds = sharedDataSet();
    int passing = 0;
    for (auto _ : state) {
        state.PauseTiming();
        ds.setFiltered(false);
        ds.first();
        state.ResumeTiming();

        ds.setFilter(u"SCODICE='X' or (IANNO = 2023)"_s);
        ds.setFiltered(true);
        passing = ds.recordCount();
    }
    ds.setFiltered(false);
    ds.setFilter(QString());
    state.counters["records"] = passing;
    if (passing <= 0 || passing >= kRecords)
        state.SkipWithError("il filtro non ha selezionato una parte dei record");
}
BENCHMARK(BM_Filter)->Unit(benchmark::kMillisecond)->Iterations(20);

void BM_LocateUnindexed(benchmark::State &state)
{
    ClientDataSet &ds = sharedDataSet();
    const QString wanted = sourceRecords()[kLocateRow].codFis;
    bool found = false;
    for (auto _ : state) {
        state.PauseTiming();
        ds.first();
        state.ResumeTiming();

        found = ds.locate(u"SCODFIS"_s, wanted);
    }
    if (!found || ds.fieldByName(u"IPROG"_s).asInteger() != kLocateRow + 1)
        state.SkipWithError("record non trovato");
}
BENCHMARK(BM_LocateUnindexed)->Unit(benchmark::kMillisecond)->Iterations(50);

void BM_SaveToFile(benchmark::State &state)
{
    ClientDataSet &ds = sharedDataSet();
    QTemporaryDir dir;
    const QString path = dir.filePath(u"bench.cds"_s);
    for (auto _ : state)
        ds.saveToFile(path);
    state.counters["file_MB"] = static_cast<double>(QFile(path).size()) / (1024.0 * 1024.0);
}
BENCHMARK(BM_SaveToFile)->Unit(benchmark::kMillisecond)->Iterations(10);

void BM_LoadFromFile(benchmark::State &state)
{
    QTemporaryDir dir;
    const QString path = dir.filePath(u"bench.cds"_s);
    sharedDataSet().saveToFile(path);
    for (auto _ : state) {
        state.PauseTiming();
        auto ds = std::make_unique<ClientDataSet>(u"cdsLetto"_s);
        state.ResumeTiming();

        try {
            ds->loadFromFile(path);
        } catch (const Exception &e) {
            state.SkipWithError(e.what());
            break;
        }

        state.PauseTiming();
        if (ds->recordCount() != kRecords)
            state.SkipWithError("record mancanti dopo la lettura");
        ds.reset();
        state.ResumeTiming();
    }
}
BENCHMARK(BM_LoadFromFile)->Unit(benchmark::kMillisecond)->Iterations(10);

} // namespace

BENCHMARK_MAIN();
