#include "CaseFile.h"
#include "ClientDataSet.h"
#include "DataSetFixtures.h"

#include <gtest/gtest.h>

#include <optional>
#include <random>
#include <tuple>
#include <vector>

using namespace Qt::Literals::StringLiterals;
using fixtures::addRow;
using fixtures::column;

namespace {

QVariant dec(const char16_t *text)
{
    return QVariant::fromValue(*Decimal::parse(QString::fromUtf16(text)));
}

struct People : ::testing::Test
{
    void SetUp() override
    {
        fixtures::defineSample(ds);
        // CODICE, NOME, ANNO, IMPORTO, DATA
        addRow(ds, {u"P1"_s, u"ROSSI"_s, 10, dec(u"5"), QDate(2023, 5, 1)});
        addRow(ds, {u"P2"_s, u"BIANCHI"_s, 2, dec(u"-1,5"), QDate(2022, 1, 31)});
        addRow(ds, {u"P3"_s, u"ROSSI"_s, 2, QVariant(), QDate(2023, 1, 15)});
        addRow(ds, {u"P4"_s, QVariant(), 10, dec(u"0,01"), QVariant()});
        addRow(ds, {u"P5"_s, u"D'ANGELO"_s, QVariant(), dec(u"100"), QDate(2024, 2, 29)});
        addRow(ds, {u"P6"_s, u""_s, 2, dec(u"5"), QDate(2023, 5, 1)});
        ds.mergeChangeLog();
    }

    QStringList codes() { return column(ds, u"CODICE"_s); }
    QString current() { return ds.fieldByName(u"CODICE"_s).asString(); }

    QStringList filtered(const QString &filter)
    {
        ds.setFilter(filter);
        ds.setFiltered(true);
        const QStringList out = codes();
        ds.setFiltered(false);
        return out;
    }

    ClientDataSet ds{u"cdsPersone"_s};
};

} // namespace

TEST_F(People, TheCurrentRecordAndBookmarksKeepTheirPlaceThroughOrdersFiltersAndPosts)
{
    ASSERT_TRUE(ds.locate(u"CODICE"_s, u"P4"_s));
    const Bookmark p4 = ds.bookmark();
    ASSERT_TRUE(ds.locate(u"CODICE"_s, u"P3"_s));
    ds.setIndexFieldNames(u";NOME;;ANNO"_s);
    EXPECT_EQ(current(), u"P3"_s);
    EXPECT_EQ(ds.recNo(), 5);
    EXPECT_THROW(ds.setIndexFieldNames(u"NOME;NONESISTE"_s), EDatabaseError);
    EXPECT_EQ(ds.indexFieldNames(), u";NOME;;ANNO"_s);

    addRow(ds, {u"P7"_s, u"CONTI"_s});
    EXPECT_EQ(current(), u"P7"_s);
    EXPECT_EQ(codes(), (QStringList{u"P4"_s, u"P6"_s, u"P2"_s, u"P7"_s, u"P5"_s, u"P3"_s, u"P1"_s}));
    ASSERT_TRUE(ds.locate(u"CODICE"_s, u"P2"_s));
    ds.edit();
    ds.fieldByName(u"NOME"_s).setAsString(u"ZANI"_s);
    ds.post();
    EXPECT_EQ(current(), u"P2"_s);
    EXPECT_EQ(ds.recNo(), 7);
    ds.gotoBookmark(p4);
    EXPECT_EQ(current(), u"P4"_s);

    // A posted record that no longer matches the filter leaves the view; a
    // bookmark outside the view cannot be reached.
    ds.setIndexFieldNames(u"IMPORTO"_s);
    ds.setFilter(u"NOME = 'ROSSI'"_s);
    ds.setFiltered(true);
    EXPECT_FALSE(ds.bookmarkValid(p4));
    EXPECT_THROW(ds.gotoBookmark(p4), EDatabaseError);
    EXPECT_EQ(codes(), (QStringList{u"P3"_s, u"P1"_s}));
    ds.first();
    ds.edit();
    ds.fieldByName(u"NOME"_s).setAsString(u"NERI"_s);
    ds.post();
    EXPECT_EQ(codes(), QStringList{u"P1"_s});
    EXPECT_EQ(current(), u"P1"_s);
    ds.setFiltered(false);
    EXPECT_EQ(ds.recordCount(), 7);
    ASSERT_TRUE(ds.bookmarkValid(p4));
    ds.gotoBookmark(p4);
    ds.deleteRecord();
    EXPECT_FALSE(ds.bookmarkValid(p4));
}

// Orders, filters and refused filters of the case file.
TEST_F(People, OrdersAndFiltersSelectTheRightRecordsAndMalformedFiltersAreRefused)
{
    ds.setFilter(u"NOME='ROSSI'"_s);
    for (const QStringList &row : caseTextRows(QStringLiteral(ELH_CASES_DIR "/filters.json"))) {
        SCOPED_TRACE(row.join(u" | "_s).toStdString());
        const QString &kind = row[0];
        if (kind == u"order") {
            ds.setIndexFieldNames(row[1]);
            EXPECT_EQ(codes().join(u' '), row[2]);
        } else if (kind == u"filter") {
            EXPECT_EQ(filtered(row[1]).join(u' '), row[2]);
            ds.setFilter(u"NOME='ROSSI'"_s);
        } else {
            ASSERT_EQ(kind, u"refused");
            try {
                ds.setFilter(row[1]);
                ADD_FAILURE() << "accepted";
            } catch (const EDatabaseError &e) {
                EXPECT_EQ(e.message(), u"Filtro non valido «%1»: %2"_s.arg(row[1], row[2]));
            }
        }
    }
    // A refused filter leaves the one in force before.
    ds.setFiltered(true);
    EXPECT_EQ(ds.filter(), u"NOME='ROSSI'"_s);
    EXPECT_EQ(codes(), (QStringList{u"P1"_s, u"P3"_s}));
    // A text field compared with a number is read as a number.
    ds.setFiltered(false);
    addRow(ds, {u"05"_s});
    EXPECT_EQ(filtered(u"CODICE = 5"_s), QStringList{u"05"_s});
}

// An order on every field of records of many distinct values, repeated at
// random places: each record follows the one before in its values, nulls
// first, and records of equal values keep their natural order.
TEST(Orders, RecordsOfManyValuesFollowTheirValuesAndTiesTheirNaturalOrder)
{
    ClientDataSet ds;
    fixtures::defineSample(ds);
    std::mt19937 rng(26);
    auto pick = [&rng](int n) { return std::uniform_int_distribution<int>(0, n - 1)(rng); };
    auto maybe = [&pick](const QVariant &v) { return pick(10) == 0 ? QVariant() : v; };
    std::vector<std::vector<QVariant>> distinct(2000);
    for (auto &values : distinct) {
        values = {maybe(u"C%1"_s.arg(pick(1000000))),
                  maybe(u"N%1"_s.arg(pick(5))),
                  maybe(pick(1000000)),
                  maybe(QVariant::fromValue(Decimal::fromUnits(pick(1000000)))),
                  maybe(QDate(2000, 1, 1).addDays(pick(20000))),
                  maybe(pick(2) == 0),
                  maybe(u"nota %1"_s.arg(pick(1000000))),
                  maybe((pick(1000) - 500) / 8.0)};
    }
    constexpr int kRecords = 5000;
    for (int i = 0; i < kRecords; ++i) {
        ds.append();
        const auto &values = distinct[static_cast<std::size_t>(pick(static_cast<int>(distinct.size())))];
        for (int f = 0; f < ds.fieldCount(); ++f) {
            if (values[static_cast<std::size_t>(f)].isValid())
                ds.field(f).setValue(values[static_cast<std::size_t>(f)]);
        }
        ds.post();
    }

    ds.setIndexFieldNames(u"VALORE;NOME;ANNO;IMPORTO;DATA;FLAG;NOTE;CODICE"_s);
    auto get = [&ds](const char16_t *name, auto read) {
        const Field &f = ds.fieldByName(QString::fromUtf16(name));
        return f.isNull() ? std::nullopt : std::optional(read(f));
    };
    using Key = std::tuple<std::optional<double>, std::optional<QString>, std::optional<qint64>, std::optional<Decimal>,
                           std::optional<QDate>, std::optional<bool>, std::optional<QString>, std::optional<QString>,
                           std::int64_t>;
    std::vector<Key> keys;
    for (ds.first(); !ds.eof(); ds.next()) {
        keys.emplace_back(get(u"VALORE", [](const Field &f) { return f.asFloat(); }),
                          get(u"NOME", [](const Field &f) { return f.asString(); }),
                          get(u"ANNO", [](const Field &f) { return f.asLargeInt(); }),
                          get(u"IMPORTO", [](const Field &f) { return f.asCurrency(); }),
                          get(u"DATA", [](const Field &f) { return f.asDate(); }),
                          get(u"FLAG", [](const Field &f) { return f.asBoolean(); }),
                          get(u"NOTE", [](const Field &f) { return f.asString(); }),
                          get(u"CODICE", [](const Field &f) { return f.asString(); }), ds.bookmark().uid);
    }
    ASSERT_EQ(keys.size(), std::size_t{kRecords});
    const auto outOfOrder =
        std::adjacent_find(keys.begin(), keys.end(), [](const Key &a, const Key &b) { return !(a < b); });
    EXPECT_EQ(outOfOrder - keys.begin(), keys.end() - keys.begin());
}

TEST_F(People, LocateFindsByOneOrSeveralFieldsInTheView)
{
    ASSERT_TRUE(ds.locate(u"NOME;ANNO"_s, {u"ROSSI"_s, 2}));
    EXPECT_EQ(current(), u"P3"_s);
    ASSERT_TRUE(ds.locate(u"nome"_s, u"ros"_s, {true, true}));
    EXPECT_EQ(current(), u"P1"_s);
    EXPECT_FALSE(ds.locate(u"NOME"_s, u"ros"_s, {false, true}));
    EXPECT_FALSE(ds.locate(u"NOME"_s, u"ROSS"_s));
    EXPECT_EQ(current(), u"P1"_s); // not moved
    ASSERT_TRUE(ds.locate(u"IMPORTO"_s, u"-1,5"_s));
    EXPECT_EQ(current(), u"P2"_s);
    ASSERT_TRUE(ds.locate(u"DATA"_s, QDate(2024, 2, 29)));
    EXPECT_EQ(current(), u"P5"_s);
    ASSERT_TRUE(ds.locate(u"ANNO"_s, QVariant()));
    EXPECT_EQ(current(), u"P5"_s);
    EXPECT_FALSE(ds.locate(u"ANNO"_s, u"dieci"_s));

    ds.setFilter(u"ANNO = 10"_s);
    ds.setFiltered(true);
    EXPECT_FALSE(ds.locate(u"CODICE"_s, u"P2"_s));
    EXPECT_TRUE(ds.locate(u"CODICE"_s, u"P4"_s));
}

TEST_F(People, TextsTooDeepForTheStackAreRefused)
{
    const QString deep = QString(5000, u'(') + u"ANNO = 2"_s + QString(5000, u')');
    EXPECT_THROW(ds.setFilter(deep), EDatabaseError);
    EXPECT_THROW(ds.setFilter(u"not "_s.repeated(5000) + u"ANNO = 2"_s), EDatabaseError);
    try {
        ds.setFilter(u"ANNO"_s + u"+ANNO"_s.repeated(100000) + u" = 0"_s);
        FAIL();
    } catch (const EDatabaseError &e) {
        EXPECT_TRUE(e.message().endsWith(u"espressione troppo lunga (posizione 5000)"_s))
            << e.message().right(60).toStdString();
    }
    // What real filters need still passes: a few levels of parentheses, a long list of alternatives.
    QString codes = u"CODICE = 'X'"_s;
    for (int i = 0; i < 300; ++i)
        codes += u" or CODICE = 'P%1'"_s.arg(i);
    EXPECT_EQ(filtered(u"((((" + codes + u"))))"), (QStringList{u"P1"_s, u"P2"_s, u"P3"_s, u"P4"_s, u"P5"_s, u"P6"_s}));
}
