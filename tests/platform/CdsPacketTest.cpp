#include "ClientDataSet.h"
#include "DataSetFixtures.h"
#include "TempDir.h"

#include <QDir>

#include <gtest/gtest.h>

using namespace Qt::Literals::StringLiterals;
using fixtures::addRow;
using fixtures::column;

namespace {

void defineAllTypes(ClientDataSet &ds)
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
}

QByteArray samplePacket()
{
    ClientDataSet ds(u"cdsTipi"_s);
    defineAllTypes(ds);
    addRow(ds, {u"Città di Forlì €"_s, -2147483647, qlonglong(-9000000000000000000LL), -1.5e-300,
                QVariant::fromValue(*Decimal::parse(u"-123456789,1234"_s)), QDate(1899, 12, 30),
                QDateTime(QDate(2024, 2, 29), QTime(23, 59, 59, 999)), true, u"riga 1\nriga 2"_s,
                QByteArray("\0\1\2\xff", 4)});
    addRow(ds, {u""_s});
    addRow(ds, {u"\U0001F600"_s, 0, qlonglong(0), 0.0, QVariant::fromValue(Decimal()), QVariant(), QVariant(), false});
    return ds.saveToBytes();
}

} // namespace

TEST(CdsPacket, EveryTypeAndEveryNullRoundTrips)
{
    ClientDataSet ds;
    ds.loadFromBytes(samplePacket(), u"prova"_s);
    ASSERT_EQ(ds.fieldCount(), 10);
    EXPECT_EQ(ds.fieldByName(u"S"_s).size(), 30);
    EXPECT_TRUE(ds.fieldByName(u"S"_s).required());
    EXPECT_EQ(ds.fieldByName(u"BL"_s).dataType(), FieldType::Blob);
    ASSERT_EQ(ds.recordCount(), 3);
    EXPECT_EQ(ds.changeCount(), 0);

    ds.first();
    EXPECT_EQ(ds.fieldByName(u"S"_s).asString(), u"Città di Forlì €"_s);
    EXPECT_EQ(ds.fieldByName(u"I"_s).asInteger(), -2147483647);
    EXPECT_EQ(ds.fieldByName(u"L"_s).asLargeInt(), -9000000000000000000LL);
    EXPECT_EQ(ds.fieldByName(u"F"_s).asFloat(), -1.5e-300);
    EXPECT_EQ(ds.fieldByName(u"D"_s).asString(), u"-123456789,1234"_s);
    EXPECT_EQ(ds.fieldByName(u"DT"_s).asDate(), QDate(1899, 12, 30));
    EXPECT_EQ(ds.fieldByName(u"TS"_s).asDateTime(), QDateTime(QDate(2024, 2, 29), QTime(23, 59, 59, 999)));
    EXPECT_TRUE(ds.fieldByName(u"B"_s).asBoolean());
    EXPECT_EQ(ds.fieldByName(u"M"_s).asString(), u"riga 1\nriga 2"_s);
    EXPECT_EQ(ds.fieldByName(u"BL"_s).asBytes(), QByteArray("\0\1\2\xff", 4));

    ds.next();
    // An empty text is not a null one.
    EXPECT_FALSE(ds.fieldByName(u"S"_s).isNull());
    for (const auto *f : {u"I", u"L", u"F", u"D", u"DT", u"TS", u"B", u"M", u"BL"})
        EXPECT_TRUE(ds.fieldByName(QString::fromUtf16(f)).isNull()) << QString::fromUtf16(f).toStdString();

    ds.next();
    EXPECT_EQ(ds.fieldByName(u"S"_s).asString(), u"\U0001F600"_s);
    EXPECT_FALSE(ds.fieldByName(u"I"_s).isNull());
    EXPECT_FALSE(ds.fieldByName(u"D"_s).isNull());
    EXPECT_FALSE(ds.fieldByName(u"B"_s).asBoolean());
    EXPECT_FALSE(ds.fieldByName(u"B"_s).isNull());

    // Written again, the packet is the same bytes.
    EXPECT_EQ(ds.saveToBytes(), samplePacket());
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

TEST(CdsPacket, AClosedDatasetGivesAnEmptyStructurePacket)
{
    ClientDataSet structure;
    structure.fieldDefs().add(u"SSOSCODFIS"_s, FieldType::String, 16);
    structure.fieldDefs().add(u"FPSTIMPOVERSATO"_s, FieldType::Decimal);
    ClientDataSet ds;
    ds.loadFromBytes(structure.saveToBytes(), u"struttura"_s);
    EXPECT_TRUE(ds.active());
    EXPECT_TRUE(ds.isEmpty());
    EXPECT_EQ(ds.fieldByName(u"ssoscodfis"_s).size(), 16);
    EXPECT_EQ(ds.fieldByName(u"FPSTIMPOVERSATO"_s).dataType(), FieldType::Decimal);
}

TEST(CdsPacket, TruncatedDataIsRefusedAtEveryLength)
{
    const QByteArray packet = samplePacket();
    for (qsizetype n = 0; n < packet.size(); ++n) {
        ClientDataSet ds;
        try {
            ds.loadFromBytes(packet.first(n), u"TFILE_FILETELEM.CDS"_s);
            ADD_FAILURE() << "accepted " << n << " bytes";
        } catch (const EDatabaseError &e) {
            EXPECT_TRUE(e.message().startsWith(u"Dati non validi o danneggiati in «TFILE_FILETELEM.CDS»: "_s))
                << e.message().toStdString();
        }
        EXPECT_FALSE(ds.active());
    }
}

TEST(CdsPacket, AnyChangedByteIsRefused)
{
    const QByteArray packet = samplePacket();
    for (qsizetype i = 0; i < packet.size(); ++i) {
        QByteArray bad = packet;
        bad[i] = static_cast<char>(bad[i] ^ 0x20);
        ClientDataSet ds;
        EXPECT_THROW(ds.loadFromBytes(bad, u"x"_s), EDatabaseError) << "byte " << i;
    }
}

TEST(CdsPacket, ANewerFormatIsNamedAsSuch)
{
    QByteArray packet = samplePacket();
    packet[6] = 9;
    ClientDataSet ds;
    try {
        ds.loadFromBytes(packet, u"nuovo.cds"_s);
        FAIL();
    } catch (const EDatabaseError &e) {
        EXPECT_EQ(e.message(), u"Dati non validi o danneggiati in «nuovo.cds»: formato 9, più recente di questo programma"_s);
    }
}

TEST(CdsPacket, AFailedLoadKeepsWhatTheDatasetHeld)
{
    ClientDataSet ds;
    fixtures::defineSample(ds);
    addRow(ds, {u"A"_s});
    EXPECT_THROW(ds.loadFromBytes("ELHCDS garbage", u"x"_s), EDatabaseError);
    EXPECT_TRUE(ds.active());
    EXPECT_EQ(column(ds, u"CODICE"_s), QStringList{u"A"_s});
}

TEST(CdsPacket, FilesAreWrittenWholeAndNamedInErrors)
{
    TempDir dir;
    ClientDataSet ds;
    fixtures::defineSample(ds);
    addRow(ds, {u"A"_s});
    const QString path = dir.file(u"TFIFI_FIELDSFILE.CDS"_s);
    ds.saveToFile(path);
    EXPECT_EQ(QDir(dir.path()).entryList(QDir::Files), QStringList{u"TFIFI_FIELDSFILE.CDS"_s});
    ClientDataSet back;
    back.loadFromFile(path);
    EXPECT_EQ(column(back, u"CODICE"_s), QStringList{u"A"_s});

    try {
        back.loadFromFile(dir.file(u"MANCANTE.CDS"_s));
        FAIL();
    } catch (const EInOutError &e) {
        EXPECT_TRUE(e.message().contains(u"MANCANTE.CDS"_s));
    }
    EXPECT_THROW(ds.saveToFile(dir.file(u"non/esiste/X.CDS"_s)), EInOutError);
}
