#include "TelematicFixture.h"

#include "ClientDataSet.h"

using namespace Qt::Literals::StringLiterals;

namespace {

// A return made of the demo school's agent and supplier and the tables of a
// case file of data/ (a table, a tab and {"records": [...]} a line, added in
// order), the answer on the page of the Prospetti DI, ST, SV, SX, the golden
// supply file it gives and the agent's box of the Prospetto SS saved with it.
struct Supply
{
    const char16_t *data;
    const char16_t *golden;
    bool prospettiSv;
    const char16_t *ssBox;
};

void PrintTo(const Supply &s, std::ostream *os)
{
    *os << QString::fromUtf16(s.data).toStdString();
}

class RecordBuilders
    : public TelematicTest
    , public ::testing::WithParamInterface<Supply>
{
};

TEST_P(RecordBuilders, TheSupplyIsItsGoldenFile)
{
    const Supply &s = GetParam();
    addDemoFrontispiece();
    for (const QStringList &row : caseRows(QString::fromUtf16(s.data) + u".txt"_s))
        add(row[0], row[1].toUtf8());
    expectGolden(generate({.prospettiSv = s.prospettiSv}), QString::fromUtf16(s.golden) + u".txt"_s);
    ClientDataSet saved;
    store.open(saved, u"TSOS_DATOSOSTITUTO"_s);
    EXPECT_EQ(saved.fieldByName(u"LSOSSS"_s).asString(), QString::fromUtf16(s.ssBox));
}

INSTANTIATE_TEST_SUITE_P(Returns, RecordBuilders,
                         ::testing::Values(Supply{u"senza-prospetti", u"senza-prospetti", true, u"0"},
                                           Supply{u"tre-sostituti", u"tre-sostituti", true, u"1"},
                                           Supply{u"estinto-senza-sezione-i", u"estinto-senza-sezione-i", true, u"1"},
                                           Supply{u"st-iii-iv-di", u"st-iii-iv-di", true, u"0"},
                                           Supply{u"senza-sv", u"senza-sv", false, u"1"},
                                           Supply{u"ss-moduli", u"ss-moduli", true, u"1"},
                                           Supply{u"ss-importi", u"ss-importi", true, u"1"},
                                           Supply{u"ss-azzerato", u"senza-prospetti", true, u"0"},
                                           Supply{u"ss-estinto", u"ss-estinto", true, u"1"}));

} // namespace
