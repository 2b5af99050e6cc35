#include "TelematicFixture.h"

#include "ClientDataSet.h"

using namespace Qt::Literals::StringLiterals;

namespace {

// A row of data/supplies.txt: a return, its golden supply file, the answer on
// the page of the Prospetti DI, ST, SV, SX and the agent's box of the Prospetto SS.
class RecordBuilders
    : public TelematicTest
    , public ::testing::WithParamInterface<QStringList>
{
};

TEST_P(RecordBuilders, TheSupplyIsItsGoldenFile)
{
    const QStringList &s = GetParam();
    addDemoFrontispiece();
    for (const QStringList &row : caseRows(u"supplies/"_s + s[0] + u".txt"_s))
        add(row[0], row[1].toUtf8());
    expectGolden(generate(s[2] == u"si"), s[1] + u".txt"_s);
    ClientDataSet saved;
    store.open(saved, u"TSOS_DATOSOSTITUTO"_s);
    EXPECT_EQ(saved.fieldByName(u"LSOSSS"_s).asString(), s[3]);
}

INSTANTIATE_TEST_SUITE_P(Returns, RecordBuilders, ::testing::ValuesIn(caseRows(u"supplies.txt"_s)), caseName);

} // namespace
