// Arbitrary bytes read as a packed dataset file. A damaged file must end in
// EDatabaseError (or another Exception of the program) and nothing else; a
// file that loads must read back whole and write out again to a file that
// loads to the same bytes.
//
// Almost every mutation breaks the CRC-32 at the end of the file, and the
// reader stops there. An input the reader refuses is therefore tried a
// second time with its last four bytes replaced by the right CRC, so that
// the fuzzer reaches the field definitions and the records behind it.

#include "CdsPacket.h"
#include "ClientDataSet.h"
#include "Exceptions.h"

#include <QByteArray>
#include <QString>

#include <cstdint>
#include <cstdio>
#include <cstdlib>

using namespace Qt::Literals::StringLiterals;

namespace {

[[noreturn]] void failure(const char *what, const char *detail = "")
{
    std::fprintf(stderr, "fuzz_cds_packet: %s %s\n", what, detail);
    std::abort();
}

// The input with its last four bytes holding the CRC of the bytes before them.
QByteArray withRightCrc(const QByteArray &input)
{
    QByteArray fixed = input;
    if (fixed.size() < 4)
        return fixed;
    const qsizetype body = fixed.size() - 4;
    const quint32 crc = CdsPacket::checksum(QByteArrayView(fixed).first(body));
    for (int i = 0; i < 4; ++i)
        fixed[body + i] = static_cast<char>((crc >> (8 * i)) & 0xFFu);
    return fixed;
}

// Reads every value of every record in the forms grids and exports use.
void readAll(ClientDataSet &ds)
{
    for (ds.first(); !ds.eof(); ds.next()) {
        for (int f = 0; f < ds.fieldCount(); ++f) {
            const Field &field = ds.field(f);
            (void)field.asString();
            (void)field.displayText();
            (void)field.value();
        }
    }
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t *data, std::size_t size)
{
    // A raw view of the fuzzer's buffer, so that a read past its end is
    // caught by the address sanitizer.
    const QByteArray bytes =
        QByteArray::fromRawData(reinterpret_cast<const char *>(data), static_cast<qsizetype>(size));
    ClientDataSet ds(u"cdsFuzz"_s);
    try {
        ds.loadFromBytes(bytes, u"fuzz"_s);
    } catch (const Exception &) {
        const QByteArray fixed = withRightCrc(bytes);
        if (fixed == bytes)
            return 0;
        // The repaired copy is exactly as long as the input: reads past
        // its end are still caught.
        try {
            ds.loadFromBytes(fixed, u"fuzz"_s);
        } catch (const Exception &) {
            return 0;
        }
    }

    QByteArray written;
    try {
        readAll(ds);
        written = ds.saveToBytes();
    } catch (const Exception &e) {
        failure("un archivio letto non si rilegge o non si riscrive:", e.what());
    }

    ClientDataSet again(u"cdsFuzz2"_s);
    try {
        again.loadFromBytes(written, u"fuzz (riscritto)"_s);
    } catch (const Exception &e) {
        failure("un archivio scritto dal programma non si rilegge:", e.what());
    }
    if (again.recordCount() != ds.recordCount() || again.fieldCount() != ds.fieldCount())
        failure("la rilettura ha cambiato record o campi");
    if (again.saveToBytes() != written)
        failure("la riscrittura non è stabile");
    return 0;
}
