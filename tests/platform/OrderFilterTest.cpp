#include "ClientDataSet.h"
#include "DataSetFixtures.h"
#include "TextLib.h"

#include <gtest/gtest.h>

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

TEST_F(People, OrdersByTypedValuesWithNullsFirstAndStableTies)
{
    ds.setIndexFieldNames(u"ANNO"_s);
    // 2 < 10 as numbers, not as text; ties keep their natural order.
    EXPECT_EQ(codes(), (QStringList{u"P5"_s, u"P2"_s, u"P3"_s, u"P6"_s, u"P1"_s, u"P4"_s}));
    ds.setIndexFieldNames(u"IMPORTO;CODICE"_s);
    EXPECT_EQ(codes(), (QStringList{u"P3"_s, u"P2"_s, u"P4"_s, u"P1"_s, u"P6"_s, u"P5"_s}));
    ds.setIndexFieldNames(u"DATA;"_s);
    EXPECT_EQ(codes(), (QStringList{u"P4"_s, u"P2"_s, u"P3"_s, u"P1"_s, u"P6"_s, u"P5"_s}));
    ds.setIndexFieldNames(u"NOME;ANNO;CODICE"_s);
    EXPECT_EQ(codes(), (QStringList{u"P4"_s, u"P6"_s, u"P2"_s, u"P5"_s, u"P3"_s, u"P1"_s}));
    ds.setIndexFieldNames(QString());
    EXPECT_EQ(codes(), (QStringList{u"P1"_s, u"P2"_s, u"P3"_s, u"P4"_s, u"P5"_s, u"P6"_s}));
}

TEST_F(People, TheCurrentRecordKeepsItsPlaceWhenTheOrderChangesOrItIsPosted)
{
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
}

TEST_F(People, FiltersOfTheProgramSelectTheRightRecords)
{
    const struct
    {
        QString filter;
        QStringList codes;
    } cases[] = {
        {u"NOME='' or (NOME is null)"_s, {u"P4"_s, u"P6"_s}},
        {u"NOME='ROSSI'"_s, {u"P1"_s, u"P3"_s}},
        {u"ANNO = 2"_s, {u"P2"_s, u"P3"_s, u"P6"_s}},
        {u"CODICE+NOME = 'P1ROSSI'"_s, {u"P1"_s}},
        {u"(ANNO <> 10) AND (ANNO <> 2)"_s, {}},
        {u"(ANNO = 10) OR (ANNO = 2)"_s, {u"P1"_s, u"P2"_s, u"P3"_s, u"P4"_s, u"P6"_s}},
        {u"NOME='ROSSI' AND ANNO=2"_s, {u"P3"_s}},
        {u"NOME=" + TextLib::QuotedStr(u"D'ANGELO"_s), {u"P5"_s}},
        {u"nome IS NULL Or Anno = 10"_s, {u"P1"_s, u"P4"_s}},
        {u"importo >= 5 and importo < 100"_s, {u"P1"_s, u"P6"_s}},
        {u"IMPORTO < 0"_s, {u"P2"_s}},
        {u"IMPORTO = 0.01"_s, {u"P4"_s}},
        {u"IMPORTO + 1 = 6"_s, {u"P1"_s, u"P6"_s}},
        {u"DATA > '31/12/2022' and DATA <= '2023-05-01'"_s, {u"P1"_s, u"P3"_s, u"P6"_s}},
        {u"DATA is not null and not (NOME is null)"_s, {u"P1"_s, u"P2"_s, u"P3"_s, u"P5"_s, u"P6"_s}},
        {u"ANNO = '10'"_s, {u"P1"_s, u"P4"_s}},
        // A comparison with null is false.
        {u"ANNO <> 2"_s, {u"P1"_s, u"P4"_s}},
        {u"not (ANNO = 2)"_s, {u"P1"_s, u"P4"_s, u"P5"_s}},
        {u"NOME = null"_s, {}},
        {u"CODICE+NOME = 'P4'"_s, {}},
    };
    for (const auto &c : cases) {
        SCOPED_TRACE(c.filter.toStdString());
        EXPECT_EQ(filtered(c.filter), c.codes);
    }
    // A text field compared with a number is read as a number.
    addRow(ds, {u"05"_s});
    EXPECT_EQ(filtered(u"CODICE = 5"_s), QStringList{u"05"_s});
}

TEST_F(People, MalformedFiltersAreRefusedWithTextAndPosition)
{
    ds.setFilter(u"NOME='ROSSI'"_s);
    ds.setFiltered(true);
    const struct
    {
        const char16_t *text;
        const char16_t *fault;
    } cases[] = {
        {u"NOME='ROSSI", u"testo tra apici non chiuso (posizione 6)"},
        {u"COGNOME='ROSSI'", u"campo «COGNOME» inesistente nel dataset cdsPersone (posizione 1)"},
        {u"NOME='A' ANNO=2", u"testo inatteso «ANNO» (posizione 10)"},
        {u"NOME = 2023 or", u"il filtro finisce prima del previsto (posizione 15)"},
        {u"(ANNO = 2", u"manca la parentesi di chiusura (posizione 10)"},
        {u"DATA = 'ieri'", u"«ieri» non è una data valida (posizione 6)"},
        {u"DATA = 2023", u"valori di tipo diverso non confrontabili (posizione 6)"},
        {u"NOME", u"il filtro deve essere una condizione (posizione 1)"},
        {u"ANNO = 2 and NOME", u"è attesa una condizione (posizione 14)"},
        {u"NOME ; 'X'", u"carattere non ammesso «;» (posizione 6)"},
    };
    for (const auto &c : cases) {
        const QString text = QString::fromUtf16(c.text);
        try {
            ds.setFilter(text);
            ADD_FAILURE() << "accepted: " << text.toStdString();
        } catch (const EDatabaseError &e) {
            EXPECT_EQ(e.message(), u"Filtro non valido «%1»: %2"_s.arg(text, QString::fromUtf16(c.fault)));
        }
    }
    // The filter in force before stays in force.
    EXPECT_EQ(ds.filter(), u"NOME='ROSSI'"_s);
    EXPECT_EQ(codes(), (QStringList{u"P1"_s, u"P3"_s}));
}

TEST_F(People, FilterAndOrderWorkTogetherAndAPostedRecordThatNoLongerMatchesLeavesTheView)
{
    ds.setIndexFieldNames(u"IMPORTO"_s);
    ds.setFilter(u"NOME = 'ROSSI'"_s);
    ds.setFiltered(true);
    EXPECT_EQ(codes(), (QStringList{u"P3"_s, u"P1"_s}));
    ds.first();
    ds.edit();
    ds.fieldByName(u"NOME"_s).setAsString(u"NERI"_s);
    ds.post();
    EXPECT_EQ(codes(), QStringList{u"P1"_s});
    EXPECT_EQ(current(), u"P1"_s);
    ds.setFiltered(false);
    EXPECT_EQ(ds.recordCount(), 6);
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

TEST_F(People, BookmarksHoldThroughOrderAndFilterButNotOutsideTheView)
{
    ASSERT_TRUE(ds.locate(u"CODICE"_s, u"P4"_s));
    const Bookmark p4 = ds.bookmark();
    ds.setIndexFieldNames(u"NOME"_s);
    ds.last();
    ds.gotoBookmark(p4);
    EXPECT_EQ(current(), u"P4"_s);
    ds.setFilter(u"ANNO = 2"_s);
    ds.setFiltered(true);
    EXPECT_FALSE(ds.bookmarkValid(p4));
    EXPECT_THROW(ds.gotoBookmark(p4), EDatabaseError);
    ds.setFiltered(false);
    EXPECT_TRUE(ds.bookmarkValid(p4));
    ds.gotoBookmark(p4);
    ds.deleteRecord();
    EXPECT_FALSE(ds.bookmarkValid(p4));
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
