#include "NrTransaction.h"
#include "DatabaseTest.h"
#include "Exceptions.h"
#include "NrExceptions.h"
#include "NrGenerateID.h"
#include "NrPgStatement.h"
#include "NrQuery.h"

#include <QSet>

#include <gtest/gtest.h>

#include <mutex>
#include <thread>

using namespace Qt::Literals::StringLiterals;

class Transactions : public DatabaseTest
{
protected:
    qint64 reports() { return scalar(u"SELECT COUNT(*) FROM TYRFO_FAMIGLIEREPORT"_s).toLongLong(); }

    void addFamily(int id)
    {
        TNrQuery q(connection());
        q.fetch(u"QRY_YRFO"_s);
        q.setParam(u"IYRFOID"_s, id);
        q.setParam(u"IYRFOID_P"_s, QVariant(QMetaType::fromType<int>()));
        q.setParam(u"SYRFODESC"_s, u"famiglia %1"_s.arg(id));
        q.execute();
    }
};

ELH_INSTANTIATE_ON_BOTH_ENGINES(Transactions);

TEST_P(Transactions, ATransactionLeftOpenIsRolledBackWhenItGoesAndOnlyOneRunsAtATime)
{
    const qint64 before = reports();
    {
        TNrTransaction t(connection());
        t.StartTransaction();
        addFamily(1);
        EXPECT_EQ(reports(), before + 1);
        TNrTransaction second(connection());
        try {
            second.StartTransaction();
            FAIL() << "a second transaction started";
        } catch (const EDatabaseError &e) {
            EXPECT_EQ(e.message(), u"Una transazione è già in corso sulla connessione al database"_s);
        }
    }
    EXPECT_FALSE(connection().inTransaction());
    EXPECT_EQ(reports(), before);

    TNrTransaction kept(connection());
    kept.StartTransaction();
    addFamily(2);
    kept.Commit();
    EXPECT_FALSE(kept.active());
    EXPECT_THROW(kept.Commit(), EDatabaseError);
    EXPECT_EQ(reports(), before + 1);

    // A parameter used twice in one statement.
    TNrQuery q(connection());
    q.setSql(u"SELECT COUNT(*) FROM TYRFO_FAMIGLIEREPORT WHERE IYRFOID = :ID OR IYRFOID = :ID + 1"_s);
    q.setParam(u"ID"_s, 1);
    EXPECT_EQ(q.scalar().toInt(), 1);
}

TEST_P(Transactions, IdentifiersFollowEachOtherPerTableAndTwoClientsNeverReceiveTheSameOne)
{
    EXPECT_EQ(GenerateID(connection(), u"TPROVA_UNO"_s), 1);
    EXPECT_EQ(GenerateID(connection(), u"tprova_uno"_s), 2);
    EXPECT_EQ(GenerateID(connection(), u"TPROVA_DUE"_s), 1);
    // Structures leave the payroll library's identifiers alone.
    EXPECT_EQ(GenerateID(connection(), u"TCDS_STRUTTURA"_s), 101);
    {
        TNrTransaction t(connection());
        t.StartTransaction();
        EXPECT_EQ(GenerateID(connection(), u"TPROVA_UNO"_s), 3);
        t.Rollback();
    }
    EXPECT_EQ(GenerateID(connection(), u"TPROVA_UNO"_s), 3);

    constexpr int kEach = 150;
    std::mutex lock;
    QList<qint64> ids;
    QStringList failures;
    auto client = [&] {
        try {
            TdmkbrConnessione own;
            if (!own.OpenConnection())
                throw EDatabaseError(u"connessione non aperta"_s);
            QList<qint64> mine;
            for (int i = 0; i < kEach; ++i)
                mine.append(GenerateID(own, u"TAFI_ANAFISCALE"_s));
            const std::lock_guard<std::mutex> guard(lock);
            ids.append(mine);
        } catch (const Exception &e) {
            const std::lock_guard<std::mutex> guard(lock);
            failures.append(e.message());
        }
    };
    std::thread a(client);
    std::thread b(client);
    a.join();
    b.join();
    EXPECT_TRUE(failures.isEmpty()) << failures.join(u'\n').toStdString();
    EXPECT_EQ(ids.size(), 2 * kEach);
    EXPECT_EQ(QSet<qint64>(ids.cbegin(), ids.cend()).size(), 2 * kEach);
    EXPECT_EQ(*std::max_element(ids.cbegin(), ids.cend()), 2 * kEach);
}

TEST_P(Transactions, HeldValuesFollowSavepointsAndAreWrittenJustBeforeTheCommit)
{
    TdmNrConnection &c = connection();
    QList<qint64> written;
    const auto write = [&written](qint64 value) { written.append(value); };
    {
        TNrTransaction t(c);
        t.StartTransaction();
        c.holdValue(u"contatore"_s, 1, write);
        c.savepoint(u"persona"_s);
        c.holdValue(u"contatore"_s, 5);
        c.holdValue(u"istanza"_s, 7);
        c.rollbackToSavepoint(u"persona"_s);
        // Back to what the savepoint found; what was first held inside it is gone.
        EXPECT_EQ(c.heldValue(u"contatore"_s), 1);
        EXPECT_FALSE(c.heldValue(u"istanza"_s));
        c.holdValue(u"istanza"_s, 8);
        c.holdValue(u"contatore"_s, 2);
        c.releaseSavepoint(u"persona"_s);
        c.savepoint(u"persona"_s);
        c.holdValue(u"contatore"_s, 3);
        c.rollbackToSavepoint(u"persona"_s);
        EXPECT_EQ(c.heldValue(u"istanza"_s), 8);
        EXPECT_EQ(c.heldValue(u"contatore"_s), 2);
        c.releaseSavepoint(u"persona"_s);
        EXPECT_TRUE(written.isEmpty());
        t.Commit();
    }
    EXPECT_EQ(written, QList<qint64>{2});
    EXPECT_FALSE(c.heldValue(u"contatore"_s));
    EXPECT_THROW(c.releaseSavepoint(u"persona"_s), EDatabaseError);

    // Savepoints and releases reach the server with the next statement: the
    // released savepoint is gone there, what it wrote stays when the next
    // one is undone, going back to a savepoint after its first statement
    // failed keeps the transaction usable, and a release still to be sent at
    // the commit keeps its rows.
    {
        TNrTransaction t(c);
        t.StartTransaction();
        c.savepoint(u"prima"_s);
        addFamily(6);
        c.releaseSavepoint(u"prima"_s);
        c.savepoint(u"seconda"_s);
        addFamily(7);
        c.rollbackToSavepoint(u"seconda"_s);
        c.releaseSavepoint(u"seconda"_s);
        c.savepoint(u"terza"_s);
        TNrQuery back(c);
        back.setSql(u"ROLLBACK TO SAVEPOINT prima"_s);
        EXPECT_THROW(back.execute(), EDatabaseError);
        c.rollbackToSavepoint(u"terza"_s);
        c.releaseSavepoint(u"terza"_s);
        c.savepoint(u"quarta"_s);
        addFamily(8);
        c.releaseSavepoint(u"quarta"_s);
        t.Commit();
    }
    EXPECT_EQ(scalar(u"SELECT COUNT(*) FROM TYRFO_FAMIGLIEREPORT WHERE IYRFOID IN (6, 8)"_s).toInt(), 2);
    EXPECT_EQ(scalar(u"SELECT COUNT(*) FROM TYRFO_FAMIGLIEREPORT WHERE IYRFOID = 7"_s).toInt(), 0);

    // A value that cannot be written makes the commit fail and keeps nothing.
    const qint64 before = reports();
    TNrTransaction t(c);
    t.StartTransaction();
    addFamily(3);
    c.holdValue(u"contatore"_s, 4, [](qint64) { throw EDatabaseError(u"contatore non scritto"_s); });
    try {
        t.Commit();
        FAIL() << "the commit went through";
    } catch (const EDatabaseError &e) {
        EXPECT_EQ(e.message(), u"Impossibile confermare la transazione: contatore non scritto"_s);
    }
    EXPECT_FALSE(c.inTransaction());
    EXPECT_EQ(reports(), before);
}

// Writes queued on PostgreSQL go with the savepoints in one round trip: a
// failure among them is reported, the savepoint set before it undoes it, and
// a statement whose preparation the failure skipped is prepared again.
TEST_P(Transactions, WritesQueuedOnPostgreSQLGoWithTheSavepointsAndAFailureIsUndoneByThem)
{
    TdmNrConnection &c = connection();
    if (!c.isPostgreSQL())
        GTEST_SKIP() << "queued writes are for PostgreSQL";
    const auto queue = [&c](const QString &key, const QString &sql, QVariant id, const QString &text) {
        const std::pair<QString, QVariant> values[] = {{u"id"_s, id}, {u"TESTO"_s, text}};
        c.queueStatement(
            key, [&sql] { return sql; }, values);
    };
    const QString insert = u"INSERT INTO TYRFO_FAMIGLIEREPORT (IYRFOID, SYRFODESC) VALUES (:ID, :testo)"_s;
    const QString rename =
        u"UPDATE TYRFO_FAMIGLIEREPORT SET SYRFODESC = :TESTO || '::' || :testo WHERE IYRFOID = :ID"_s;
    TNrTransaction t(c);
    t.StartTransaction();
    c.savepoint(u"persona"_s);
    queue(u"nuova"_s, insert, 20, u"l'anno"_s);
    queue(u"nuova"_s, insert, QVariant(QMetaType::fromType<int>()), u"senza codice"_s);
    queue(u"rinomina"_s, rename, 20, u"mai"_s);
    EXPECT_THROW(c.sendQueued(), EDatabaseError);
    c.rollbackToSavepoint(u"persona"_s);
    // A statement the client library refuses to send (more values than the
    // protocol carries) fails alone and leaves the connection usable.
    queue(u"nuova"_s, insert, 21, u"prima"_s);
    const QVariantList many(70000, 1);
    const QString tooMany = u"SELECT 1 WHERE 1 IN (%1)"_s.arg(QStringList(70000, u"?"_s).join(u','));
    c.queueStatement(
        u"troppi"_s, [&tooMany] { return tooMany; }, {}, many);
    EXPECT_THROW(c.sendQueued(), EDatabaseError);
    c.rollbackToSavepoint(u"persona"_s);
    queue(u"nuova"_s, insert, 22, u"è"_s);
    queue(u"rinomina"_s, rename, 22, u"«22»"_s);
    const std::pair<QString, QVariant> id{u"ID"_s, 22};
    EXPECT_EQ(c.queuedScalar(u"conta"_s,
                             [] { return u"SELECT SYRFODESC FROM TYRFO_FAMIGLIEREPORT WHERE IYRFOID = :ID"_s; },
                             {&id, 1}),
              u"«22»::«22»"_s.toUtf8());
    c.releaseSavepoint(u"persona"_s);
    t.Commit();
    EXPECT_EQ(scalar(u"SELECT COUNT(*) FROM TYRFO_FAMIGLIEREPORT WHERE IYRFOID IN (20, 21, 22)"_s).toInt(), 1);
}

TEST_P(Transactions, WritesConfirmedLaterReportTheirFailureAsEarlierUntilTheRollback)
{
    TdmNrConnection &c = connection();
    if (!c.isPostgreSQL())
        GTEST_SKIP() << "writes confirmed later are for PostgreSQL";
    const QString insert = u"INSERT INTO TYRFO_FAMIGLIEREPORT (IYRFOID, SYRFODESC) VALUES (:ID, 'x')"_s;
    const auto write = [&](QVariant id) {
        const std::pair<QString, QVariant> value{u"ID"_s, id};
        c.queueStatement(u"nuova"_s, [&insert] { return insert; }, {&value, 1});
        c.sendQueuedLater();
    };
    const auto count = [&c](int id) {
        TNrQuery q(c);
        q.setSql(u"SELECT COUNT(*) FROM TYRFO_FAMIGLIEREPORT WHERE IYRFOID = :ID"_s);
        q.setParam(u"ID"_s, id);
        return q.scalar().toInt();
    };
    TNrTransaction t(c);
    t.StartTransaction();
    c.setConfirmLater(true);
    write(30);
    // Refused by the server, which is learnt only by what goes next: that
    // statement, every one after it and the commit say so, as an earlier
    // write's failure; nothing of the transaction is kept.
    write(QVariant(QMetaType::fromType<int>()));
    EXPECT_THROW(count(30), EEarlierWriteFailed);
    EXPECT_THROW(c.confirmSent(), EEarlierWriteFailed);
    EXPECT_THROW(t.Commit(), EEarlierWriteFailed);
    c.setConfirmLater(false);
    EXPECT_EQ(count(30), 0);
    // The connection then works as before.
    t.StartTransaction();
    write(31);
    t.Commit();
    EXPECT_EQ(count(31), 1);
}

TEST(PgStatement, PlaceholdersAreNumberedOutsideQuotesAndCastsAndValuesGoAsText)
{
    const struct
    {
        QString driver;
        QByteArray numbered;
    } rows[] = {
        {u":A + :b + :a"_s, "$1 + $2 + $1"},
        {u"? = ?"_s, "$1 = $2"},
        {u"x::int = :X"_s, "x::int = $1"},
        {u"'it''s :x ?' || \"c:d?\" || :e"_s, "'it''s :x ?' || \"c:d?\" || $1"},
        {u"$f$ :x ? $f$ || $$?$$ || :y"_s, "$f$ :x ? $f$ || $$?$$ || $1"},
    };
    for (const auto &row : rows)
        EXPECT_EQ(NrPgStatement(row.driver).sql(), row.numbered) << row.driver.toStdString();

    const NrPgStatement s(u"SELECT :Uno, ?, :due, ?, :uno"_s);
    const std::pair<QString, QVariant> named[] = {{u"UNO"_s, true}, {u"Due"_s, QDate(2023, 12, 31)}};
    const QVariant positional[] = {0.1, QDateTime(QDate(1999, 1, 2), QTime(3, 4, 5, 6))};
    const std::vector<NrPgValue> expected{"true", "0.1", "2023-12-31", "1999-01-02 03:04:05.006"};
    EXPECT_EQ(s.values(named, positional), expected);
    EXPECT_EQ(s.values({}, {}), std::vector<NrPgValue>(4));
    EXPECT_EQ(NrPgStatement::text(QVariant(QMetaType::fromType<QString>())), std::nullopt);
}
