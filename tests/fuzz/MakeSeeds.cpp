// Writes the packed-file seeds of fuzz_cds_packet into the folder given:
// the dataset fuzz_filter works on, the same without records, a closed
// structure, and one field of each storage.
//
//   fuzz_make_seeds tests/fuzz/corpus/fuzz_cds_packet

#include "SeedData.h"

#include "ClientDataSet.h"
#include "Exceptions.h"

#include <QDir>
#include <QFile>
#include <QString>

#include <cstdio>

using namespace Qt::Literals::StringLiterals;

namespace {

void write(const QString &dir, const QString &name, const QByteArray &bytes)
{
    QFile f(QDir(dir).filePath(name));
    if (!f.open(QIODevice::WriteOnly) || f.write(bytes) != bytes.size())
        throw EInOutError(u"Impossibile scrivere il file «%1»"_s.arg(f.fileName()));
}

} // namespace

int main(int argc, char **argv)
{
    if (argc != 2) {
        std::fprintf(stderr, "Uso: fuzz_make_seeds CARTELLA\n");
        return 2;
    }
    const QString dir = QString::fromLocal8Bit(argv[1]);
    try {
        QDir().mkpath(dir);

        ClientDataSet full(u"cdsSeme"_s);
        fillSeedDataSet(full);
        write(dir, u"tutti-i-tipi.cds"_s, full.saveToBytes());
        full.emptyDataSet();
        write(dir, u"vuoto.cds"_s, full.saveToBytes());

        ClientDataSet closed(u"cdsStruttura"_s);
        closed.fieldDefs().add(u"CODICE"_s, FieldType::String, 10, true);
        closed.fieldDefs().add(u"IMPORTO"_s, FieldType::Decimal);
        write(dir, u"solo-struttura.cds"_s, closed.saveToBytes());

        ClientDataSet small(u"cdsPiccolo"_s);
        small.fieldDefs().add(u"S"_s, FieldType::String, 4);
        small.fieldDefs().add(u"F"_s, FieldType::Float);
        small.fieldDefs().add(u"B"_s, FieldType::Blob);
        small.createDataSet();
        small.append();
        small.field(0).setAsString(u"ab"_s);
        small.field(1).setAsFloat(-0.25);
        small.field(2).setAsBytes(QByteArray("xyz"));
        small.post();
        write(dir, u"piccolo.cds"_s, small.saveToBytes());
    } catch (const Exception &e) {
        std::fprintf(stderr, "%s\n", e.what());
        return 1;
    }
    return 0;
}
