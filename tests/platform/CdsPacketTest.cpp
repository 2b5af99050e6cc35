#include "CdsPacket.h"
#include "ClientDataSet.h"
#include "DataSetFixtures.h"

#include <gtest/gtest.h>

using namespace Qt::Literals::StringLiterals;
using fixtures::addRow;
using fixtures::column;

namespace {

// Every type, with extreme values, an empty text beside nulls, and zeros.
void sample(ClientDataSet &ds)
{
    ds.fieldDefs().add(u"S"_s, FieldType::String, 30, true);
    ds.fieldDefs().add(u"I"_s, FieldType::Integer);
    ds.fieldDefs().add(u"L"_s, FieldType::LargeInt);
    ds.fieldDefs().add(u"F"_s, FieldType::Float);
    ds.fieldDefs().add(u"D"_s, FieldType::Decimal);
    ds.fieldDefs().add(u"DT"_s, FieldType::Date);
    ds.fieldDefs().add(u"TS"_s, FieldType::DateTime);
    ds.fieldDefs().add(u"B"_s, FieldType::Boolean);
    ds.fieldDefs().add(u"M"_s, FieldType::Memo);
    ds.fieldDefs().add(u"BL"_s, FieldType::Blob);
    ds.createDataSet();
    addRow(ds, {u"Città di Forlì €"_s, -2147483647, qlonglong(-9000000000000000000LL), -1.5e-300,
                QVariant::fromValue(*Decimal::parse(u"-123456789,1234"_s)), QDate(1899, 12, 30),
                QDateTime(QDate(2024, 2, 29), QTime(23, 59, 59, 999)), true, u"riga 1\nriga 2"_s,
                QByteArray("\0\1\2\xff", 4)});
    addRow(ds, {u""_s});
    addRow(ds, {u"\U0001F600"_s, 0, qlonglong(0), 0.0, QVariant::fromValue(Decimal()), QVariant(), QVariant(), false});
}

QByteArray samplePacket()
{
    ClientDataSet ds;
    sample(ds);
    return ds.saveToBytes();
}

} // namespace

TEST(CdsPacket, EveryTypeAndEveryNullRoundTrips)
{
    ClientDataSet original;
    sample(original);
    ClientDataSet ds;
    ds.loadFromBytes(original.saveToBytes(), u"prova"_s);
    ASSERT_EQ(ds.fieldCount(), original.fieldCount());
    ASSERT_EQ(ds.recordCount(), 3);
    EXPECT_EQ(ds.changeCount(), 0);
    for (int f = 0; f < ds.fieldCount(); ++f) {
        const Field &a = original.field(f);
        const Field &b = ds.field(f);
        SCOPED_TRACE(a.fieldName().toStdString());
        EXPECT_EQ(std::tuple(b.fieldName(), b.dataType(), b.size(), b.required()),
                  std::tuple(a.fieldName(), a.dataType(), a.size(), a.required()));
        for (original.first(), ds.first(); !ds.eof(); original.next(), ds.next())
            EXPECT_EQ(std::pair(b.isNull(), b.value()), std::pair(a.isNull(), a.value())) << "record " << ds.recNo();
    }
    // Written again, the packet is the same bytes.
    EXPECT_EQ(ds.saveToBytes(), original.saveToBytes());

    // A closed dataset gives a structure packet that loads empty.
    ClientDataSet structure;
    structure.fieldDefs().add(u"SSOSCODFIS"_s, FieldType::String, 16);
    ds.loadFromBytes(structure.saveToBytes(), u"struttura"_s);
    EXPECT_TRUE(ds.active() && ds.isEmpty());
    EXPECT_EQ(ds.fieldByName(u"ssoscodfis"_s).size(), 16);
}

TEST(CdsPacket, SavesTheCurrentDataOfEveryRecordInNaturalOrder)
{
    ClientDataSet ds;
    fixtures::defineSample(ds);
    for (const auto *c : {u"C", u"A", u"B", u"D"})
        addRow(ds, {QString::fromUtf16(c), u"x"_s});
    ds.mergeChangeLog();
    ASSERT_TRUE(ds.locate(u"CODICE"_s, u"D"_s));
    ds.deleteRecord();
    ASSERT_TRUE(ds.locate(u"CODICE"_s, u"A"_s));
    ds.edit();
    ds.fieldByName(u"NOME"_s).setAsString(u"cambiato"_s);
    ds.post();
    ds.setIndexFieldNames(u"CODICE"_s);
    ds.setFilter(u"CODICE = 'B'"_s);
    ds.setFiltered(true);
    // A pending edit is posted before saving.
    ds.edit();
    ds.fieldByName(u"NOME"_s).setAsString(u"in corso"_s);

    ClientDataSet copy;
    copy.loadFromBytes(ds.saveToBytes(), u"copia"_s);
    EXPECT_EQ(ds.state(), DataSetState::Browse);
    EXPECT_EQ(ds.changeCount(), 3); // saving does not merge the log
    EXPECT_EQ(column(copy, u"CODICE"_s), (QStringList{u"C"_s, u"A"_s, u"B"_s}));
    EXPECT_EQ(column(copy, u"NOME"_s), (QStringList{u"x"_s, u"cambiato"_s, u"in corso"_s}));
}

TEST(CdsPacket, DamagedDataIsRefusedAndTheDatasetKeepsWhatItHeld)
{
    const QByteArray packet = samplePacket();
    ClientDataSet ds;
    fixtures::defineSample(ds);
    addRow(ds, {u"A"_s});
    const QByteArray held = ds.saveToBytes();
    auto refused = [&ds](const QByteArray &bytes) {
        try {
            ds.loadFromBytes(bytes, u"TFILE_FILETELEM.CDS"_s);
        } catch (const EDatabaseError &e) {
            return e.message();
        }
        return QString();
    };
    const QString prefix = u"Dati non validi o danneggiati in «TFILE_FILETELEM.CDS»: "_s;
    for (qsizetype n = 0; n < packet.size(); ++n)
        EXPECT_TRUE(refused(packet.first(n)).startsWith(prefix)) << "truncated to " << n;
    for (qsizetype i = 0; i < packet.size(); ++i) {
        QByteArray bad = packet;
        bad[i] = static_cast<char>(bad[i] ^ 0x20);
        EXPECT_TRUE(refused(bad).startsWith(prefix)) << "byte " << i;
    }
    QByteArray newer = packet;
    newer[6] = 9;
    EXPECT_EQ(refused(newer), prefix + u"formato 9, più recente di questo programma"_s);
    // Sound checksums over sizes no table of the program has: refused before any record is read.
    auto crafted = [](int fields, quint32 records, int nameLength) {
        QByteArray b("ELHCDS\x01\x00", 8);
        b.append(static_cast<char>(fields & 0xFF)).append(static_cast<char>(fields >> 8));
        for (int f = 0; f < fields; ++f) {
            const QByteArray name = QByteArray::number(f).leftJustified(nameLength, 'X');
            b.append(static_cast<char>(name.size())).append(name).append('\x01').append("\x10\x00\x00\x00\x00", 5);
        }
        for (int i = 0; i < 4; ++i)
            b.append(static_cast<char>((records >> (8 * i)) & 0xFF));
        b.append(QByteArray(static_cast<qsizetype>((fields + 7) / 8) * records, '\xFF'));
        const quint32 crc = CdsPacket::checksum(b);
        for (int i = 0; i < 4; ++i)
            b.append(static_cast<char>((crc >> (8 * i)) & 0xFF));
        return b;
    };
    EXPECT_EQ(refused(crafted(4096, 0, 8)), prefix + u"troppi campi (4096)"_s);
    EXPECT_EQ(refused(crafted(2, 0, 255)), prefix + u"nome di campo di 255 caratteri (al massimo 64)"_s);
    EXPECT_EQ(refused(crafted(1024, 20000, 8)),
              prefix + u"20000 record di 1024 campi, più di quanti il programma ne gestisca"_s);
    EXPECT_TRUE(ds.active());
    EXPECT_EQ(ds.saveToBytes(), held);
}
