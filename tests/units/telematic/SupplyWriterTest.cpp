#include "TelematicFixture.h"

#include "ClientDataSet.h"
#include "ElhUFileWriter.h"
#include "ElhURecord.h"
#include "TextLib.h"

#include <QDir>
#include <QFile>

using namespace Qt::Literals::StringLiterals;

namespace {

class SupplyWriter : public TelematicTest
{
protected:
    SupplyWriter()
    {
        addDemoFrontispiece();
        openWizard();
        context = std::make_unique<RecordContext>(
            dm(), [](const QString &) {}, findings);
    }

    // Records A and B, `count` data records of the types in turn, record Z.
    void fill(int count, const QString &types = u"DIJ"_s)
    {
        BuildRecordA(*context);
        BuildRecordB(*context);
        for (int n = 0; n < count; ++n) {
            const QChar type = types[n % types.size()];
            const QString progressive = TextLib::StrZero(n + 1, 18);
            context->assembly().FlushAssembledRecord(type, progressive,
                                                     type + u"80012345676     "_s + progressive.right(8));
        }
        BuildRecordZ(*context);
    }

    QString writeFiles(const QString &name = u"77024"_s)
    {
        written = WriteSupplyFiles(dm().cdsFileTel, context->contents, file(name), findings);
        return file(name);
    }

    std::unique_ptr<RecordContext> context;
    SupplyFiles written;
};

TEST_F(SupplyWriter, UpTo8275DataRecordsMakeOneFileAndTheStalePartsOfALargerSupplyGo)
{
    fill(kDataRecordsPerFile);
    write(u"77024_2"_s, "vecchio");
    write(u"77024_3"_s, "vecchio");
    write(u"77024_copia"_s, "altro");
    const QString file = writeFiles();
    const QList<QByteArray> lines = supplyLines(file);
    ASSERT_EQ(lines.size(), kDataRecordsPerFile + 3);
    EXPECT_EQ(lines.first().mid(521, 8), "00000000");
    // Z counts the records B, D, E, I and J in nine digits each.
    EXPECT_EQ(lines.last().mid(15, 45), "000000001000002759000000000000002758000002758");
    EXPECT_FALSE(QFile::exists(file + u"_2"_s));
    EXPECT_FALSE(QFile::exists(file + u"_3"_s));
    EXPECT_TRUE(QFile::exists(file + u"_copia"_s));
    EXPECT_TRUE(told().isEmpty());
    EXPECT_EQ(SupplyFilesMessage(written),
              u"Generazione file completata con successo. Il file è presente in:\n%1\n\n"
              "Eliminati i file di una fornitura precedente con lo stesso nome:\n%1_2\n%1_3"_s.arg(file));
}

TEST_F(SupplyWriter, The8276thDataRecordGoesToASecondFileWithItsOwnHeadAndTail)
{
    context->contents.stPresent = true;
    context->contents.diPresent = true;
    fill(kDataRecordsPerFile + 1, u"D"_s);
    const QString file = writeFiles(u"fornitura.txt"_s);
    EXPECT_EQ(told(), QStringList{u"Attenzione: ATTENZIONE. La fornitura supera il limite previsto,\nverranno "
                                  u"generati più file telematici."_s});
    EXPECT_EQ(written.written, (QStringList{file, file + u"_2"_s}));
    const QList<QByteArray> first = supplyLines(file);
    const QList<QByteArray> second = supplyLines(file + u"_2"_s);
    ASSERT_EQ(first.size(), kDataRecordsPerFile + 3);
    ASSERT_EQ(second.size(), 4);
    EXPECT_EQ(first.first().mid(521, 8), "00010002");
    EXPECT_EQ(second.first().mid(521, 8), "00020002");
    EXPECT_EQ(first.first().left(521), second.first().left(521));
    // The same B in every file, though the second holds no record of DI.
    EXPECT_EQ(first[1], second[1]);
    EXPECT_EQ(first[1].mid(1140, 6), "100001");
    EXPECT_EQ(second[2].left(25), "D80012345676     00008276");
    EXPECT_EQ(first.last().mid(24, 9), "000008275");
    EXPECT_EQ(second.last().mid(15, 45), "000000001000000001000000000000000000000000000");
    EXPECT_FALSE(QFile::exists(file + u"_3"_s));
}

TEST_F(SupplyWriter, ASplitSupplyReplacesItsFilesOnlyWhenAllWereWritten)
{
    fill(kDataRecordsPerFile + 1, u"I"_s);
    // The second file cannot be made: a folder has its name.
    QDir().mkpath(file(u"77024_2"_s));
    write(u"77024"_s, "vecchio");
    EXPECT_TRUE(
        errorOf([&] { writeFiles(); }).startsWith(u"Impossibile scrivere il file «%1_2»"_s.arg(file(u"77024"_s))));
    EXPECT_EQ(readFile(file(u"77024"_s)), "vecchio");

    // A record of the wrong length stops the writing: the old file stays.
    ClientDataSet &records = dm().cdsFileTel;
    records.last();
    records.edit();
    records.fieldByName(u"SFILERECORD"_s).setAsString(u"Z corto"_s);
    records.post();
    write(u"altro"_s, "vecchio");
    EXPECT_THROW(writeFiles(u"altro"_s), EInOutError);
    EXPECT_EQ(readFile(file(u"altro"_s)), "vecchio");
    EXPECT_EQ(QDir(installation.root()).entryList({u"*altro*"_s}, QDir::Files | QDir::Hidden), QStringList{u"altro"_s});
}

} // namespace
