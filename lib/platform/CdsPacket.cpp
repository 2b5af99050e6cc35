#include "CdsPacket.h"

#include "ClientDataSet.h"
#include "Exceptions.h"

#include <QStringDecoder>

#include <array>
#include <cstring>

using namespace Qt::Literals::StringLiterals;

namespace {

constexpr char kMagic[6] = {'E', 'L', 'H', 'C', 'D', 'S'};
// Limits far above the program's tables (342 fields, names of 24
// characters; the store keeps names of at most 64), so that a damaged or
// crafted file is refused before it costs minutes and gigabytes.
constexpr int kMaxFields = 1024;
constexpr qsizetype kMaxNameLength = 64;
constexpr quint64 kMaxCells = 20000000;

const std::array<quint32, 256> &crcTable()
{
    static const std::array<quint32, 256> table = [] {
        std::array<quint32, 256> t{};
        for (quint32 i = 0; i < 256; ++i) {
            quint32 c = i;
            for (int k = 0; k < 8; ++k)
                c = (c & 1) ? 0xEDB88320u ^ (c >> 1) : c >> 1;
            t[i] = c;
        }
        return t;
    }();
    return table;
}

} // namespace

quint32 CdsPacket::checksum(QByteArrayView bytes)
{
    const char *data = bytes.data();
    const qsizetype size = bytes.size();
    const auto &t = crcTable();
    quint32 c = 0xFFFFFFFFu;
    for (qsizetype i = 0; i < size; ++i)
        c = t[(c ^ static_cast<unsigned char>(data[i])) & 0xFFu] ^ (c >> 8);
    return c ^ 0xFFFFFFFFu;
}

namespace {

class Writer
{
public:
    void raw(const char *p, qsizetype n) { m_out.append(p, n); }
    void u8(quint8 v) { m_out.append(static_cast<char>(v)); }
    void u16(quint16 v)
    {
        u8(static_cast<quint8>(v & 0xFF));
        u8(static_cast<quint8>(v >> 8));
    }
    void u32(quint32 v)
    {
        for (int i = 0; i < 4; ++i)
            u8(static_cast<quint8>((v >> (8 * i)) & 0xFF));
    }
    void varint(quint64 v)
    {
        while (v >= 0x80) {
            u8(static_cast<quint8>(v | 0x80));
            v >>= 7;
        }
        u8(static_cast<quint8>(v));
    }
    void zigzag(std::int64_t v) { varint((static_cast<quint64>(v) << 1) ^ static_cast<quint64>(v >> 63)); }
    void f64(double v)
    {
        quint64 bits = 0;
        std::memcpy(&bits, &v, sizeof bits);
        for (int i = 0; i < 8; ++i)
            u8(static_cast<quint8>((bits >> (8 * i)) & 0xFF));
    }
    void bytes(const QByteArray &b)
    {
        varint(static_cast<quint64>(b.size()));
        m_out.append(b);
    }
    QByteArray &out() { return m_out; }

private:
    QByteArray m_out;
};

class Reader
{
public:
    Reader(QByteArrayView data, const QString &source)
        : m_p(data.constData())
        , m_end(data.constData() + data.size())
        , m_source(source)
    {
    }

    [[noreturn]] void fail(const QString &why) const
    {
        throw EDatabaseError(u"Dati non validi o danneggiati in «%1»: %2"_s.arg(m_source, why));
    }

    qsizetype left() const { return m_end - m_p; }
    void need(qsizetype n) const
    {
        if (n < 0 || left() < n)
            fail(u"dati troncati"_s);
    }
    const char *take(qsizetype n)
    {
        need(n);
        const char *p = m_p;
        m_p += n;
        return p;
    }
    quint8 u8() { return static_cast<quint8>(*take(1)); }
    quint16 u16()
    {
        const auto *p = reinterpret_cast<const unsigned char *>(take(2));
        return static_cast<quint16>(p[0] | (p[1] << 8));
    }
    quint32 u32()
    {
        const auto *p = reinterpret_cast<const unsigned char *>(take(4));
        return static_cast<quint32>(p[0]) | (static_cast<quint32>(p[1]) << 8) | (static_cast<quint32>(p[2]) << 16)
               | (static_cast<quint32>(p[3]) << 24);
    }
    quint64 varint()
    {
        quint64 v = 0;
        for (int shift = 0; shift < 64; shift += 7) {
            const quint8 b = u8();
            v |= static_cast<quint64>(b & 0x7F) << shift;
            if (!(b & 0x80))
                return v;
        }
        fail(u"numero codificato male"_s);
    }
    std::int64_t zigzag()
    {
        const quint64 v = varint();
        return static_cast<std::int64_t>((v >> 1) ^ (~(v & 1) + 1));
    }
    double f64()
    {
        const auto *p = reinterpret_cast<const unsigned char *>(take(8));
        quint64 bits = 0;
        for (int i = 0; i < 8; ++i)
            bits |= static_cast<quint64>(p[i]) << (8 * i);
        double v = 0;
        std::memcpy(&v, &bits, sizeof v);
        return v;
    }
    QByteArrayView lengthPrefixed()
    {
        const quint64 n = varint();
        if (n > static_cast<quint64>(left()))
            fail(u"dati troncati"_s);
        const auto size = static_cast<qsizetype>(n);
        return QByteArrayView(take(size), size);
    }

private:
    const char *m_p;
    const char *m_end;
    QString m_source;
};

} // namespace

QByteArray CdsPacket::write(const ClientDataSet &ds)
{
    Writer w;
    w.raw(kMagic, sizeof kMagic);
    w.u16(kVersion);

    // An open dataset writes the fields it was opened with; a closed one its definitions.
    FieldDefs defs;
    if (ds.active()) {
        for (int i = 0; i < ds.fieldCount(); ++i) {
            const Field &f = ds.field(i);
            defs.add(FieldDef{f.fieldName(), f.dataType(), f.size(), f.required()});
        }
    } else {
        defs = ds.fieldDefs();
    }
    w.u16(static_cast<quint16>(defs.count()));
    for (const FieldDef &d : defs) {
        const QByteArray name = d.name.toUtf8().left(255);
        w.u8(static_cast<quint8>(name.size()));
        w.raw(name.constData(), name.size());
        w.u8(static_cast<quint8>(d.type));
        w.u32(static_cast<quint32>(d.size));
        w.u8(d.required ? 1 : 0);
    }

    const std::vector<int> rows = ds.active() ? ds.naturalRows() : std::vector<int>();
    const RecordStore &st = ds.m_store;
    const int fields = static_cast<int>(defs.count());
    const auto bitmapBytes = static_cast<qsizetype>((fields + 7) / 8);
    w.u32(static_cast<quint32>(rows.size()));
    w.out().reserve(w.out().size() + static_cast<qsizetype>(rows.size()) * (bitmapBytes + fields * 6) + 4);
    QByteArray bitmap(bitmapBytes, '\0');
    for (int row : rows) {
        bitmap.fill('\0');
        for (int f = 0; f < fields; ++f) {
            if (st.isNull(f, row))
                bitmap[f / 8] = static_cast<char>(bitmap[f / 8] | (1 << (f % 8)));
        }
        w.raw(bitmap.constData(), bitmapBytes);
        for (int f = 0; f < fields; ++f) {
            if (st.isNull(f, row))
                continue;
            switch (st.storage(f)) {
            case Storage::Int:
                w.zigzag(st.intAt(f, row));
                break;
            case Storage::Float:
                w.f64(st.floatAt(f, row));
                break;
            case Storage::Text:
                w.bytes(st.textAt(f, row).toUtf8());
                break;
            case Storage::Bytes:
                w.bytes(st.bytesAt(f, row));
                break;
            }
        }
    }
    w.u32(checksum(w.out()));
    return std::move(w.out());
}

CdsPacket::Contents CdsPacket::read(const QByteArray &data, const QString &source)
{
    Reader r(data, source);
    if (data.size() < static_cast<qsizetype>(sizeof kMagic) + 2 + 4
        || std::memcmp(data.constData(), kMagic, sizeof kMagic) != 0)
        r.fail(u"non è un archivio dati del programma"_s);
    const qsizetype bodySize = data.size() - 4;
    {
        Reader tail(QByteArrayView(data).sliced(bodySize), source);
        if (tail.u32() != checksum(QByteArrayView(data).first(bodySize))) {
            // A newer format may check itself otherwise: say so before blaming the data.
            r.take(sizeof kMagic);
            const quint16 version = r.u16();
            if (version > kVersion)
                r.fail(u"formato %1, più recente di questo programma"_s.arg(version));
            r.fail(u"somma di controllo errata"_s);
        }
    }
    Reader body(QByteArrayView(data).first(bodySize), source);
    body.take(sizeof kMagic);
    const quint16 version = body.u16();
    if (version != kVersion)
        body.fail(u"formato %1 non supportato"_s.arg(version));

    Contents c;
    const int fields = body.u16();
    if (fields > kMaxFields)
        body.fail(u"troppi campi (%1)"_s.arg(fields));
    QStringDecoder utf8(QStringDecoder::Utf8, QStringDecoder::Flag::Stateless);
    for (int i = 0; i < fields; ++i) {
        const quint8 len = body.u8();
        const QByteArrayView nameBytes(body.take(len), len);
        const QString name = utf8.decode(nameBytes);
        if (utf8.hasError() || name.trimmed().isEmpty())
            body.fail(u"nome di campo non valido"_s);
        if (name.size() > kMaxNameLength)
            body.fail(u"nome di campo di %1 caratteri (al massimo %2)"_s.arg(name.size()).arg(kMaxNameLength));
        const quint8 type = body.u8();
        if (type < static_cast<quint8>(FieldType::String) || type > static_cast<quint8>(FieldType::Blob))
            body.fail(u"tipo %1 sconosciuto per il campo %2"_s.arg(type).arg(name));
        const quint32 size = body.u32();
        if (size > 1000000)
            body.fail(u"dimensione %1 non valida per il campo %2"_s.arg(size).arg(name));
        const quint8 flags = body.u8();
        try {
            c.defs.add(FieldDef{name, static_cast<FieldType>(type), static_cast<int>(size), (flags & 1) != 0});
        } catch (const EDatabaseError &e) {
            body.fail(e.message());
        }
    }
    c.store.reset(c.defs);

    const quint32 records = body.u32();
    const auto bitmapBytes = static_cast<qsizetype>((fields + 7) / 8);
    // Every record takes at least its null bitmap: a count the data cannot hold is corrupt.
    if ((bitmapBytes == 0 && records > 0) || (bitmapBytes > 0 && records > static_cast<quint64>(body.left()) / static_cast<quint64>(bitmapBytes)))
        body.fail(u"numero di record non valido (%1)"_s.arg(records));
    if (static_cast<quint64>(records) * static_cast<quint64>(fields) > kMaxCells)
        body.fail(u"%1 record di %2 campi, più di quanti il programma ne gestisca"_s.arg(records).arg(fields));
    for (quint32 n = 0; n < records; ++n) {
        const int row = c.store.appendRow(0);
        const char *bitmap = body.take(bitmapBytes);
        for (int f = 0; f < fields; ++f) {
            if (bitmap[f / 8] & (1 << (f % 8)))
                continue;
            switch (c.store.storage(f)) {
            case Storage::Int: {
                const std::int64_t v = body.zigzag();
                const FieldType t = c.store.type(f);
                if ((t == FieldType::Boolean && v != 0 && v != 1)
                    || (t == FieldType::Integer && (v < INT32_MIN || v > INT32_MAX))
                    || ((t == FieldType::Date) && (v < 0 || v > 100000000)))
                    body.fail(u"valore fuori intervallo nel campo %1"_s.arg(c.defs.at(f).name));
                c.store.setInt(f, row, v);
                break;
            }
            case Storage::Float:
                c.store.setFloat(f, row, body.f64());
                break;
            case Storage::Text: {
                const QByteArrayView bytes = body.lengthPrefixed();
                const QString text = utf8.decode(bytes);
                if (utf8.hasError())
                    body.fail(u"testo non valido nel campo %1"_s.arg(c.defs.at(f).name));
                c.store.setText(f, row, text);
                break;
            }
            case Storage::Bytes:
                c.store.setBytes(f, row, body.lengthPrefixed().toByteArray());
                break;
            }
        }
    }
    if (body.left() != 0)
        body.fail(u"dati in eccesso dopo l'ultimo record"_s);
    return c;
}
