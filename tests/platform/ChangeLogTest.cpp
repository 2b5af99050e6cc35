#include "ClientDataSet.h"
#include "DataSetFixtures.h"

#include <gtest/gtest.h>

using namespace Qt::Literals::StringLiterals;
using fixtures::addRow;
using fixtures::column;

namespace {

// A dataset loaded as from the database: three unchanged records.
struct Loaded : ::testing::Test
{
    void SetUp() override
    {
        fixtures::defineSample(ds);
        addRow(ds, {u"A"_s, u"ROSSI"_s, 2021});
        addRow(ds, {u"B"_s, u"BIANCHI"_s, 2022});
        addRow(ds, {u"C"_s, u"VERDI"_s, 2023});
        ds.mergeChangeLog();
    }

    void editNome(const QString &codice, const QString &nome)
    {
        ASSERT_TRUE(ds.locate(u"CODICE"_s, codice));
        ds.edit();
        ds.fieldByName(u"NOME"_s).setAsString(nome);
        ds.post();
    }

    ClientDataSet ds{u"cdsLog"_s};
};

} // namespace

TEST_F(Loaded, TheDeltaWalkGivesEachChangeWithItsOldAndNewValues)
{
    editNome(u"C"_s, u"GRIGI"_s);
    ds.deleteRecord();
    editNome(u"A"_s, u"NERI"_s);
    EXPECT_EQ(ds.updateStatus(), UpdateStatus::Modified);
    addRow(ds, {u"D"_s, u"GIALLI"_s});
    EXPECT_EQ(ds.updateStatus(), UpdateStatus::Inserted);
    addRow(ds, {u"E"_s});
    ds.deleteRecord(); // inserted and deleted: no trace
    ASSERT_TRUE(ds.locate(u"CODICE"_s, u"B"_s));
    EXPECT_EQ(ds.updateStatus(), UpdateStatus::Unmodified);
    editNome(u"B"_s, u"BLU"_s);
    editNome(u"B"_s, u"AZZURRI"_s);
    EXPECT_EQ(ds.changeCount(), 4);

    // Each change as "kind code old>new", "-" for a name given no new value,
    // "+anno" when ANNO is given one; in the order of the first change of each record.
    QStringList seen;
    ds.applyUpdates([&seen](DeltaRecord &d) {
        const int codice = d.indexOf(u"CODICE"_s);
        const int nome = d.indexOf(u"nome"_s);
        const QString kind = d.kind() == UpdateKind::Delete ? u"D"_s : d.kind() == UpdateKind::Insert ? u"I"_s : u"M"_s;
        const QVariant code = d.isAssigned(codice) ? d.newValue(codice) : d.oldValue(codice);
        seen.append(kind + u' ' + code.toString() + u' ' + d.oldValue(nome).toString() + u'>'
                    + (d.isAssigned(nome) ? d.newValue(nome).toString() : u"-"_s)
                    + (d.isAssigned(d.indexOf(u"ANNO"_s)) ? u" +anno"_s : QString()));
    });
    // A deleted record shows its original values, not the edited ones; a
    // modified one the values before its first change and only the changed fields.
    EXPECT_EQ(seen,
              (QStringList{u"D C VERDI>-"_s, u"M A ROSSI>NERI"_s, u"I D >GIALLI +anno"_s, u"M B BIANCHI>AZZURRI"_s}));

    // A successful walk merges the log.
    EXPECT_EQ(ds.changeCount(), 0);
    EXPECT_EQ(column(ds, u"CODICE"_s), (QStringList{u"A"_s, u"B"_s, u"D"_s}));
}

TEST_F(Loaded, ValuesWrittenBackByTheProviderStay)
{
    addRow(ds, {u"D"_s});
    editNome(u"A"_s, u"NERI"_s);
    int next = 100;
    ds.applyUpdates([&next](DeltaRecord &d) { d.setValue(d.indexOf(u"ANNO"_s), ++next); });
    EXPECT_EQ(ds.changeCount(), 0);
    // D was changed first.
    EXPECT_EQ(column(ds, u"ANNO"_s), (QStringList{u"102"_s, u"2022"_s, u"2023"_s, u"101"_s}));
}

TEST_F(Loaded, AFailedApplyKeepsTheLogAndCancelRestoresTheStateBeforeTheEdits)
{
    const QByteArray before = ds.saveToBytes();
    editNome(u"A"_s, u"NERI"_s);
    addRow(ds, {u"D"_s, u"GIALLI"_s});
    ASSERT_TRUE(ds.locate(u"CODICE"_s, u"C"_s));
    ds.deleteRecord();
    ASSERT_TRUE(ds.locate(u"CODICE"_s, u"B"_s));

    int applied = 0;
    EXPECT_THROW(ds.applyUpdates([&applied](DeltaRecord &d) {
        d.setValue(d.indexOf(u"ANNO"_s), 1999);
        if (++applied == 2)
            throw EDatabaseError(u"errore del database"_s);
    }),
                 EDatabaseError);
    EXPECT_EQ(ds.changeCount(), 3);

    // A pending edit goes too.
    ds.edit();
    ds.fieldByName(u"NOME"_s).setAsString(u"BLU"_s);
    ds.cancelUpdates();
    EXPECT_EQ(ds.state(), DataSetState::Browse);
    EXPECT_EQ(ds.changeCount(), 0);
    EXPECT_EQ(ds.saveToBytes(), before);
    // The record that was current before stays current.
    EXPECT_EQ(ds.fieldByName(u"CODICE"_s).asString(), u"B"_s);
}

TEST_F(Loaded, BookmarksSurviveMergingTheLogAndEmptyingDropsIt)
{
    ASSERT_TRUE(ds.locate(u"CODICE"_s, u"C"_s));
    const Bookmark c = ds.bookmark();
    ASSERT_TRUE(ds.locate(u"CODICE"_s, u"A"_s));
    ds.deleteRecord();
    ds.mergeChangeLog();
    ASSERT_TRUE(ds.bookmarkValid(c));
    ds.gotoBookmark(c);
    EXPECT_EQ(ds.fieldByName(u"CODICE"_s).asString(), u"C"_s);

    editNome(u"B"_s, u"NERI"_s);
    ds.emptyDataSet();
    EXPECT_TRUE(ds.isEmpty());
    EXPECT_EQ(ds.changeCount(), 0);
}

TEST_F(Loaded, AFewRecordsMergedAwayStayOutOfWalksPacketsAndLaterChanges)
{
    // One record dropped among ten: the store may keep it until more go.
    for (int i = 0; i < 7; ++i)
        addRow(ds, {u"X%1"_s.arg(i), u"ALTRI"_s, 2000 + i});
    ds.mergeChangeLog();
    ASSERT_TRUE(ds.locate(u"CODICE"_s, u"B"_s));
    ds.deleteRecord();
    ds.applyUpdates([](DeltaRecord &) {});

    EXPECT_EQ(ds.recordCount(), 9);
    EXPECT_FALSE(ds.locate(u"CODICE"_s, u"B"_s));
    ClientDataSet copy;
    copy.loadFromBytes(ds.saveToBytes(), u"cdsCopia"_s);
    EXPECT_EQ(column(copy, u"CODICE"_s), column(ds, u"CODICE"_s));
    ds.setIndexFieldNames(u"NOME"_s);
    EXPECT_EQ(column(ds, u"NOME"_s).count(u"BIANCHI"_s), 0);
    ds.setIndexFieldNames(QString());

    editNome(u"C"_s, u"GRIGI"_s);
    addRow(ds, {u"D"_s});
    ASSERT_TRUE(ds.locate(u"CODICE"_s, u"X0"_s));
    ds.deleteRecord();
    ds.cancelUpdates();
    EXPECT_EQ(ds.recordCount(), 9);
    editNome(u"A"_s, u"NERI"_s);
    QStringList seen;
    ds.applyUpdates([&seen](DeltaRecord &d) { seen.append(d.oldValue(d.indexOf(u"CODICE"_s)).toString()); });
    EXPECT_EQ(seen, QStringList{u"A"_s});

    // Once enough are dropped the store is compacted, and what is left stays.
    for (const QString &code : {u"X0"_s, u"X1"_s, u"X2"_s}) {
        ASSERT_TRUE(ds.locate(u"CODICE"_s, code));
        ds.deleteRecord();
    }
    ds.mergeChangeLog();
    EXPECT_EQ(column(ds, u"CODICE"_s), (QStringList{u"A"_s, u"C"_s, u"X3"_s, u"X4"_s, u"X5"_s, u"X6"_s}));
    EXPECT_EQ(column(ds, u"NOME"_s).first(), u"NERI"_s);
}
