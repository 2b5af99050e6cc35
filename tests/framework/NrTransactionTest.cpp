#include "DatabaseTest.h"
#include "Exceptions.h"
#include "NrGenerateID.h"
#include "NrQuery.h"
#include "NrTransaction.h"

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

TEST_P(Transactions, ATransactionLeftOpenIsRolledBackWhenItGoes)
{
    const qint64 before = reports();
    {
        TNrTransaction t(connection());
        t.StartTransaction();
        addFamily(1);
        EXPECT_EQ(reports(), before + 1);
        EXPECT_TRUE(connection().inTransaction());
    }
    EXPECT_FALSE(connection().inTransaction());
    EXPECT_EQ(reports(), before);

    TNrTransaction kept(connection());
    kept.StartTransaction();
    addFamily(2);
    kept.Commit();
    EXPECT_FALSE(kept.active());
    EXPECT_EQ(reports(), before + 1);
}

TEST_P(Transactions, OneTransactionAtATimePerConnection)
{
    TNrTransaction first(connection());
    first.StartTransaction();
    TNrTransaction second(connection());
    try {
        second.StartTransaction();
        FAIL() << "a second transaction started";
    } catch (const EDatabaseError &e) {
        EXPECT_EQ(e.message(), u"Una transazione è già in corso sulla connessione al database"_s);
    }
    first.Rollback();
    EXPECT_THROW(first.Commit(), EDatabaseError);
}

TEST_P(Transactions, AFailingStatementRaisesTheDatabaseText)
{
    TNrQuery q(connection());
    q.setSql(u"INSERT INTO TYRFO_FAMIGLIEREPORT (IYRFOID, SYRFODESC) VALUES (:IYRFOID, :SYRFODESC)"_s);
    q.setParam(u"IYRFOID"_s, 5);
    q.setParam(u"SYRFODESC"_s, u"prima"_s);
    q.execute();
    EXPECT_EQ(q.rowsAffected(), 1);
    try {
        q.execute();
        FAIL() << "a duplicate key was accepted";
    } catch (const EDatabaseError &e) {
        EXPECT_TRUE(e.message().contains(u"UNIQUE"_s, Qt::CaseInsensitive) || e.message().contains(u"duplicate"_s))
            << e.message().toStdString();
    }
    // A parameter used twice and one the statement does not name.
    q.setSql(u"SELECT COUNT(*) FROM TYRFO_FAMIGLIEREPORT WHERE IYRFOID = :ID OR IYRFOID = :ID + 1"_s);
    q.setParam(u"ID"_s, 4);
    EXPECT_EQ(q.scalar().toInt(), 1);
}

TEST_P(Transactions, IdentifiersFollowEachOtherPerTable)
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
}

TEST_P(Transactions, TwoClientsNeverReceiveTheSameIdentifier)
{
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
