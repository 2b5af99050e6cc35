#include "LocalDataFolder.h"
#include "DataPaths.h"
#include "NrFindings.h"
#include "TempDir.h"

#include <QDir>
#include <QFile>

#include <gtest/gtest.h>

using namespace Qt::Literals::StringLiterals;

namespace {

struct Root : ::testing::Test
{
    void SetUp() override { DataPaths::setDataRoot(root.path()); }
    void TearDown() override { DataPaths::setDataRoot(QString()); }
    TempDir root;
    FindingList findings;
};

} // namespace

TEST_F(Root, AMissingInitialFileIsReportedAndTheOtherStillCopied)
{
    root.write(u"USR/FL2023/DbIniziale/TFILE_FILETELEM.CDS"_s, "record");
    LocalDataFolder::prepare(findings);
    ASSERT_EQ(findings.entries().size(), 1);
    EXPECT_EQ(findings.entries().first().level, FindingLevel::Error);
    EXPECT_TRUE(
        findings.texts().first().startsWith(u"Errore nella creazione dei dati di partenza: TFIFI_FIELDSFILE.CDS\n\n"
                                            "Impossibile aprire il file «%1"_s.arg(root.path())))
        << findings.texts().first().toStdString();
    EXPECT_TRUE(QFile::exists(root.file(u"USR/FLDati/FL2023/TFILE_FILETELEM.CDS"_s)));
}

// Of an existing folder (found without regard to case) only the writer's
// leftovers go: its missing files are not copied, files of similar names stay.
TEST_F(Root, AnExistingFolderLosesOnlyTheWritersLeftovers)
{
    root.write(u"USR/FL2023/DbIniziale/TFIFI_FIELDSFILE.CDS"_s, "campi");
    const QStringList kept = {u".TFIFI_FIELDSFILE.CDS.tmp"_s,           u".TFIFI_FIELDSFILE.CDS.tmp-K3X9Z"_s,
                              u".TFIFI_FIELDSFILE.CDS.tmp-12345678"_s,  u"TFIFI_FIELDSFILE.CDS.tmp-k3x9z"_s,
                              u".TFIFI_FIELDSFILE.CDS.tmp-k3x9z.bak"_s, u"nota.txt"_s};
    for (const QString &name : kept)
        root.write(u"USR/fldati/fl2023/"_s + name, "mio");
    root.write(u"USR/fldati/fl2023/.TFIFI_FIELDSFILE.CDS.tmp-k3x9z"_s, "mezzo");
    root.write(u"USR/fldati/fl2023/.TFILE_FILETELEM.CDS.tmp-1z141z3"_s, "mezzo");
    LocalDataFolder::prepare(findings);
    QStringList left = QDir(root.file(u"USR/fldati/fl2023"_s)).entryList(QDir::Files | QDir::Hidden);
    left.sort();
    QStringList expected = kept;
    expected.sort();
    EXPECT_EQ(left, expected);
    EXPECT_TRUE(findings.isEmpty());
}
