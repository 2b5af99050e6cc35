// Arbitrary import definitions run by the import engine on a pair of small
// datasets with a field of every type. The first byte chooses reverse mode
// and the row of the source; the rest is the definitions file. Whatever the
// file, Execute ends with a result (after its messages); it never throws,
// never moves the datasets and leaves the target in the state it was given.

#include "SeedData.h"

#include "ElhUImportXML.h"

#include "ClientDataSet.h"
#include "Decimal.h"
#include "NrFindings.h"

#include <QDate>
#include <QFile>
#include <QTemporaryDir>

#include <cstdint>
#include <cstdio>
#include <cstdlib>

using namespace Qt::Literals::StringLiterals;

namespace {

[[noreturn]] void failure(const char *what)
{
    std::fprintf(stderr, "fuzz_import_xml: %s\n", what);
    std::abort();
}

struct Fixture
{
    QTemporaryDir dir;
    QString file = dir.filePath(u"Import.xml"_s);
    ClientDataSet source{u"cdsOrigine"_s};
    ClientDataSet target{u"cdsDestinazione"_s};
    FindingList findings;

    Fixture()
    {
        if (!dir.isValid())
            failure("cartella temporanea non disponibile");
        fillSeedDataSet(source);
        fillSeedDataSet(target);
    }
};

Fixture &fixture()
{
    static Fixture *f = new Fixture;
    return *f;
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t *data, std::size_t size)
{
    if (size == 0)
        return 0;
    Fixture &f = fixture();
    {
        QFile out(f.file);
        if (!out.open(QIODevice::WriteOnly | QIODevice::Truncate))
            failure("file delle definizioni non scrivibile");
        out.write(reinterpret_cast<const char *>(data + 1), static_cast<qint64>(size - 1));
    }

    const int rows = f.source.recordCount();
    f.source.setRecNo(1 + data[0] / 2 % rows);
    f.target.setRecNo(1 + data[0] / 2 / rows % rows);
    const int sourceRow = f.source.recNo();
    const int targetRow = f.target.recNo();
    f.target.edit();

    // A new engine per input, as per run: it reads the file afresh.
    TImportXML engine(f.findings);
    engine.SetReverse((data[0] & 1) != 0);
    engine.Vars(1) = u"S"_s;
    engine.Vars(2) = QVariant::fromValue(Decimal::fromUnits(125000));
    engine.Vars(3) = QDate(2023, 12, 31);
    engine.Vars(4) = 1;
    for (const QString &section : {u"S"_s, u"CUD_Fis"_s})
        engine.Execute(section, f.file, f.source, f.target);

    if (f.target.state() != DataSetState::Edit || f.source.state() != DataSetState::Browse)
        failure("lo stato dei dataset è cambiato");
    if (f.source.recNo() != sourceRow || f.target.recNo() != targetRow)
        failure("il record corrente è cambiato");
    f.target.cancel();
    f.findings.clear();
    return 0;
}
