#include "THlmCds.h"
#include "ClientDataSet.h"
#include "Exceptions.h"
#include "NrFindings.h"
#include "TempDir.h"

#include <QDir>
#include <QFile>
#include <QRandomGenerator>

#include <gtest/gtest.h>

#include <csignal>
#include <sys/wait.h>
#include <unistd.h>

using namespace Qt::Literals::StringLiterals;

namespace {

void makeTable(ClientDataSet &ds, std::initializer_list<const char16_t *> codes)
{
    ds.fieldDefs().clear();
    ds.fieldDefs().add(u"SFILECODREC"_s, FieldType::String, 1);
    ds.fieldDefs().add(u"SFILERECORD"_s, FieldType::Memo);
    ds.createDataSet();
    for (const auto *c : codes) {
        ds.append();
        ds.field(0).setAsString(QString::fromUtf16(c));
        ds.post();
    }
}

QStringList codes(ClientDataSet &ds)
{
    QStringList out;
    for (ds.first(); !ds.eof(); ds.next())
        out.append(ds.field(0).asString());
    return out;
}

} // namespace

TEST(THlmCds, SavingReplacesTheFileMergesTheLogAndLeavesNoBackup)
{
    TempDir dir;
    // A backup left by an earlier save does not stop the save.
    dir.write(u"TFILE_FILETELEM.BAK"_s, "vecchio");
    const QString path = dir.file(u"TFILE_FILETELEM.CDS"_s);
    ClientDataSet ds;
    makeTable(ds, {u"A"});
    THlmCds::saveToFile(ds, path);
    makeTable(ds, {u"A", u"B", u"Z"});
    EXPECT_EQ(ds.changeCount(), 3);
    THlmCds::saveToFile(ds, path);
    EXPECT_EQ(ds.changeCount(), 0);
    EXPECT_EQ(QDir(dir.path()).entryList(QDir::Files), QStringList{u"TFILE_FILETELEM.CDS"_s});

    ClientDataSet back;
    THlmCds::loadFromFile(back, path, standardErrorFindings());
    EXPECT_EQ(codes(back), (QStringList{u"A"_s, u"B"_s, u"Z"_s}));

    const QString nowhere = dir.file(u"manca/TFILE_FILETELEM.CDS"_s);
    try {
        THlmCds::saveToFile(ds, nowhere);
        FAIL() << "saved into a missing folder";
    } catch (const EInOutError &e) {
        EXPECT_TRUE(e.message().contains(nowhere));
    }
}

TEST(THlmCds, ASaveKilledAtAnyMomentLeavesAWholeFile)
{
    TempDir dir;
    const QString path = dir.file(u"TFILE_FILETELEM.CDS"_s);
    ClientDataSet small;
    makeTable(small, {u"A"});
    THlmCds::saveToFile(small, path);
    ClientDataSet large;
    makeTable(large, {});
    for (int n = 0; n < 20000; ++n) {
        large.append();
        large.field(0).setAsString(u"D"_s);
        large.field(1).setAsString(QString(100, u'x'));
        large.post();
    }
    for (int kill = 0; kill < 40; ++kill) {
        const pid_t saver = ::fork();
        ASSERT_GE(saver, 0);
        if (saver == 0) {
            // Saves the two versions in turn until it is killed.
            for (bool big = true;; big = !big)
                THlmCds::saveToFile(big ? large : small, path);
        }
        ::usleep(QRandomGenerator::global()->bounded(2000u, 30000u));
        ::kill(saver, SIGKILL);
        ::waitpid(saver, nullptr, 0);
        ASSERT_TRUE(QFile::exists(path)) << "after kill " << kill;
        ClientDataSet back;
        THlmCds::loadFromFile(back, path, standardErrorFindings());
        EXPECT_TRUE(back.recordCount() == 1 || back.recordCount() == 20000) << back.recordCount();
    }
}

TEST(THlmCds, AFileLeftOnlyAsItsBackupIsPutBackAndTheUserIsTold)
{
    FindingList findings;
    TempDir dir;
    const QString path = dir.file(u"TFILE_FILETELEM.CDS"_s);
    ClientDataSet ds;
    makeTable(ds, {u"A", u"Z"});
    ds.saveToFile(THlmCds::backupPath(path));
    ClientDataSet back;
    THlmCds::loadFromFile(back, path, findings);
    EXPECT_EQ(codes(back), (QStringList{u"A"_s, u"Z"_s}));
    EXPECT_TRUE(QFile::exists(path));
    ASSERT_EQ(findings.entries().size(), 1);
    EXPECT_EQ(findings.entries().first().level, FindingLevel::Warning);
    EXPECT_EQ(findings.texts(),
              QStringList{u"Il file «%1» mancava: è stato ripristinato dalla copia «%2» lasciata da un "
                          "salvataggio interrotto."_s.arg(path, THlmCds::backupPath(path))});
}
