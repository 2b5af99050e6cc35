#include "NrPgRows.h"
#include "DatabaseTest.h"
#include "Exceptions.h"
#include "NrPgArray.h"
#include "NrQuery.h"
#include "NrTransaction.h"

#include <gtest/gtest.h>

#include <limits>

using namespace Qt::Literals::StringLiterals;

// PostgreSQL's rows read in binary on its client library, next to the driver.
class PgRows : public DatabaseTest
{
};

INSTANTIATE_TEST_SUITE_P(Engines, PgRows, testing::Values(Engine::PostgreSQL), engineName);

TEST_P(PgRows, EveryColumnReadsAsTheDriverReadsIt)
{
    exec(u"CREATE TABLE TPROVA_TIPI (N INTEGER, I2 SMALLINT, I4 INTEGER, I8 BIGINT, F DOUBLE PRECISION, T TEXT, "
         "V VARCHAR(40), C CHAR(5), B BOOLEAN, D DATE, TS TIMESTAMP, BY BYTEA)"_s);
    // Extremes, signs, fractions of a second that round up to the next day,
    // dates before 2000, infinities and texts with accents, quotes and
    // backslashes.
    exec(u"INSERT INTO TPROVA_TIPI VALUES "
         "(1, NULL, NULL, NULL, NULL, NULL, NULL, NULL, NULL, NULL, NULL, NULL), "
         "(2, -32768, -2147483648, -9223372036854775808, -0.1, 'àèìòù € «x»', 'l''apostrofo \"doppio\" \\', 'ab', "
         "false, '1970-01-01', '1999-12-31 23:59:59.999', '\\x00ff0a'), "
         "(3, 32767, 2147483647, 9223372036854775807, 0.1, '', 'x', 'abcde', true, '2000-01-01', "
         "'2000-01-01 00:00:00', ''), "
         "(4, 0, 0, 0, 1e300, 'a', 'b', 'c', true, '1899-12-30', '1899-12-30 12:00:00.123456', 'z'), "
         "(5, -1, -1, 4294967296, -1e-300, 'ü', 'ß', '€', false, '2024-02-29', '2023-06-15 10:20:30.9996', NULL), "
         "(6, 1, 1, -4294967297, 123456789.125, 'x', 'y', ' ', true, '0001-01-01', '2023-12-31 23:59:59.9995', NULL), "
         "(7, 2, 2, 2, 0, 'x', 'y', 'z', false, '1969-07-20', '1969-07-20 20:17:40.0005', NULL), "
         "(8, 3, 3, 3, 2.5, 'x', 'y', 'z', false, '2038-01-19', '1999-12-31 23:59:59.4994', NULL), "
         "(9, 4, 4, 4, 3.5, 'x', 'y', 'z', true, 'infinity', '-infinity', NULL)"_s);
    const QString select = u"SELECT * FROM TPROVA_TIPI WHERE N >= :N ORDER BY N"_s;
    const std::pair<QString, QVariant> from{u"N"_s, 1};

    TNrQuery driver(connection());
    driver.setSql(select);
    driver.setParam(from.first, from.second);
    driver.open();
    const QSqlRecord record = driver.record();
    QList<QVariantList> expectedRows;
    while (driver.next()) {
        QVariantList row;
        for (int c = 0; c < record.count(); ++c)
            row.append(driver.value(c));
        expectedRows.append(row);
    }
    NrPgRows rows(connection(), NrPgStatement(select), {&from, 1});
    int count = 0;
    for (const QVariantList &row : expectedRows) {
        ASSERT_TRUE(rows.next());
        ++count;
        for (int c = 0; c < record.count(); ++c) {
            SCOPED_TRACE(u"riga %1, colonna %2"_s.arg(count).arg(record.fieldName(c)).toStdString());
            const QVariant &expected = row.at(c);
            const QVariant read = rows.value(c);
            ASSERT_EQ(rows.isNull(c), expected.isNull());
            EXPECT_EQ(read.isNull(), expected.isNull());
            // A big integer comes from the driver unsigned when it is not negative.
            if (expected.metaType().id() == QMetaType::ULongLong)
                EXPECT_EQ(read.metaType().id(), QMetaType::LongLong);
            else
                EXPECT_EQ(read.metaType(), expected.metaType());
            if (expected.isNull())
                continue;
            switch (expected.metaType().id()) {
            case QMetaType::Int:
            case QMetaType::LongLong:
            case QMetaType::ULongLong:
                EXPECT_EQ(rows.integer(c), expected.toLongLong());
                EXPECT_EQ(read.toLongLong(), expected.toLongLong());
                break;
            case QMetaType::Double:
                EXPECT_EQ(read.toDouble(), expected.toDouble());
                break;
            case QMetaType::QString:
                EXPECT_EQ(rows.text(c), expected.toString().toUtf8());
                EXPECT_EQ(read, expected);
                break;
            case QMetaType::QDateTime:
                EXPECT_EQ(read.toDateTime(), expected.toDateTime());
                EXPECT_EQ(read.toDateTime().timeSpec(), expected.toDateTime().timeSpec());
                EXPECT_EQ(NrSqlValue::toDate(read), NrSqlValue::toDate(expected));
                break;
            default:
                EXPECT_EQ(read, expected);
            }
        }
    }
    EXPECT_EQ(count, 9);
    EXPECT_FALSE(rows.next());
}

TEST_P(PgRows, AStatementRefusedOrOfATypeNotReadIsAnErrorAndALoadSeesTheTransactionsWrites)
{
    for (const auto &[sql, said] : {std::pair{u"SELECT * FROM TNONESISTE"_s, u"\"tnonesiste\""_s},
                                    std::pair{u"SELECT 1.5::NUMERIC AS IMPORTO"_s, u"«importo»"_s},
                                    std::pair{u"SELECT 1.5::REAL AS PESO"_s, u"«peso»"_s}}) {
        try {
            NrPgRows rows(connection(), NrPgStatement(sql), std::span<const NrPgValue>());
            ADD_FAILURE() << sql.toStdString() << " was read";
        } catch (const EDatabaseError &e) {
            EXPECT_TRUE(e.message().contains(said)) << e.message().toStdString();
        }
    }

    // The savepoint asked for reaches the server before the rows are read:
    // going back to it after a refused read keeps the transaction usable,
    // and a read sees what the transaction wrote before it.
    exec(u"CREATE TABLE TPROVA_RIGHE (N INTEGER)"_s);
    const auto write = [&](int n) {
        TNrQuery q(connection());
        q.setSql(u"INSERT INTO TPROVA_RIGHE VALUES (:N)"_s);
        q.setParam(u"N"_s, n);
        q.execute();
    };
    const auto countUpTo = [&](int n) {
        const std::pair<QString, QVariant> upTo{u"N"_s, n};
        NrPgRows rows(connection(), NrPgStatement(u"SELECT COUNT(*) FROM TPROVA_RIGHE WHERE N <= :N"_s), {&upTo, 1});
        EXPECT_TRUE(rows.next());
        return rows.integer(0);
    };
    TNrTransaction t(connection());
    t.StartTransaction();
    write(1);
    connection().savepoint(u"lettura"_s);
    EXPECT_THROW(NrPgRows(connection(), NrPgStatement(u"SELECT * FROM TNONESISTE"_s), std::span<const NrPgValue>()),
                 EDatabaseError);
    connection().rollbackToSavepoint(u"lettura"_s);
    connection().releaseSavepoint(u"lettura"_s);
    EXPECT_EQ(countUpTo(1), 1);
    write(2);
    EXPECT_EQ(countUpTo(2), 2);
    t.Commit();
    EXPECT_EQ(scalar(u"SELECT COUNT(*) FROM TPROVA_RIGHE"_s).toInt(), 2);
}

TEST_P(PgRows, ArraysSentInBinaryArriveWholeAndWhatTheirFormRefusesIsLeftToText)
{
    using Element = NrPgArray::Element;
    constexpr qlonglong kInt4Max = std::numeric_limits<qint32>::max();
    const std::vector<std::pair<Element, QVariantList>> columns{
        {Element::Int4, {1, 2, 3, 4}},
        {Element::Int4, {QVariant(), qlonglong{std::numeric_limits<qint32>::min()}, kInt4Max, 0}},
        {Element::Int8, {std::numeric_limits<qlonglong>::min(), std::numeric_limits<qlonglong>::max(), QVariant(), -1}},
        {Element::Float8, {0.1, -1e300, 5e-324, 3}},
        {Element::Text, {u"àè € «x»"_s, u"l'apostrofo \"doppio\" \\ {a,b}"_s, u""_s, QVariant()}},
        {Element::VarChar, {u"NULL"_s, u" "_s, u"ü"_s, u"x"_s}}};
    exec(u"CREATE TABLE TPROVA_ELENCHI (N INTEGER, I4 INTEGER, I8 BIGINT, F DOUBLE PRECISION, T TEXT, V VARCHAR(8))"_s);
    std::vector<std::pair<QString, QVariant>> named;
    for (const auto &[element, values] : columns) {
        NrPgArray array(element);
        for (const QVariant &v : values)
            ASSERT_TRUE(array.add(v)) << v.toString().toStdString();
        named.emplace_back(u"A%1"_s.arg(named.size()), QVariant::fromValue(array.binary()));
    }
    const QString insert = u"INSERT INTO TPROVA_ELENCHI SELECT UNNEST(CAST(:A0 AS INTEGER[])), "
                           "UNNEST(CAST(:A1 AS INTEGER[])), UNNEST(CAST(:A2 AS BIGINT[])), "
                           "UNNEST(CAST(:A3 AS DOUBLE PRECISION[])), UNNEST(CAST(:A4 AS TEXT[])), "
                           "UNNEST(CAST(:A5 AS VARCHAR[]))"_s;
    TNrTransaction t(connection());
    t.StartTransaction();
    connection().queueStatement(
        u"prova"_s, [&] { return insert; }, named);
    // An empty array adds no row.
    std::vector<std::pair<QString, QVariant>> empty;
    for (std::size_t c = 0; c < columns.size(); ++c)
        empty.emplace_back(named[c].first, QVariant::fromValue(NrPgArray(columns[c].first).binary()));
    connection().queueStatement(
        u"prova"_s, [&] { return insert; }, empty);
    connection().sendQueued();
    t.Commit();

    TNrQuery read(connection());
    read.setSql(u"SELECT * FROM TPROVA_ELENCHI ORDER BY N"_s);
    read.open();
    for (int row = 0; row < 4; ++row) {
        ASSERT_TRUE(read.next());
        for (int c = 0; c < static_cast<int>(columns.size()); ++c) {
            const QVariant &given = columns[static_cast<std::size_t>(c)].second.at(row);
            const QVariant got = read.value(c);
            EXPECT_EQ(got.isNull(), given.isNull()) << row << "," << c;
            EXPECT_EQ(got.isNull() ? QString() : got.toString(), given.toString()) << row << "," << c;
        }
    }
    EXPECT_FALSE(read.next());

    // A number out of range, a fraction or a text for a number, a number
    // for a text: the array goes in text, where the server judges them.
    for (const auto &[element, value] :
         {std::pair{Element::Int4, QVariant(kInt4Max + 1)}, std::pair{Element::Int8, QVariant(1.5)},
          std::pair{Element::Int8, QVariant(u"12"_s)}, std::pair{Element::Float8, QVariant(u"0.1"_s)},
          std::pair{Element::Text, QVariant(7)}})
        EXPECT_FALSE(NrPgArray(element).add(value)) << value.toString().toStdString();
}
