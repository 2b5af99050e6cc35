// Arbitrary text (taken as UTF-8) used as the filter of a small dataset with
// a field of every type and nulls in every column. A malformed filter must
// end in EDatabaseError, leaving the dataset usable; a filter that compiles
// must walk the records without a finding.

#include "SeedData.h"

#include "ClientDataSet.h"
#include "Exceptions.h"

#include <QString>

#include <cstdint>
#include <cstdio>
#include <cstdlib>

using namespace Qt::Literals::StringLiterals;

namespace {

[[noreturn]] void failure(const char *what)
{
    std::fprintf(stderr, "fuzz_filter: %s\n", what);
    std::abort();
}

ClientDataSet &dataSet()
{
    static ClientDataSet *ds = [] {
        auto *d = new ClientDataSet(u"cdsFuzz"_s);
        fillSeedDataSet(*d);
        return d;
    }();
    return *ds;
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t *data, std::size_t size)
{
    ClientDataSet &ds = dataSet();
    const int all = ds.recordCount();
    const QString text = QString::fromUtf8(reinterpret_cast<const char *>(data), static_cast<qsizetype>(size));

    try {
        ds.setFilter(text);
        ds.setFiltered(true);
        int walked = 0;
        for (ds.first(); !ds.eof(); ds.next()) {
            (void)ds.field(0).asString();
            ++walked;
        }
        if (walked != ds.recordCount() || walked > all)
            failure("i record percorsi non corrispondono al conteggio del filtro");
        // The same filter under an order on several fields.
        ds.setIndexFieldNames(u"NIMPORTO;CODICE"_s);
        if (ds.recordCount() != walked)
            failure("l'ordinamento ha cambiato i record filtrati");
    } catch (const Exception &) {
        // A filter refused: the dataset stays as it was.
    }

    // Back to every record in natural order for the next input.
    try {
        ds.setFiltered(false);
        ds.setFilter(QString());
        ds.setIndexFieldNames(QString());
    } catch (const Exception &e) {
        std::fprintf(stderr, "%s\n", e.what());
        failure("il dataset non torna al suo stato iniziale");
    }
    if (ds.recordCount() != all)
        failure("record persi dopo il filtro");
    return 0;
}
