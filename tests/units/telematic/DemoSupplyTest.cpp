#include "TelematicFixture.h"

using namespace Qt::Literals::StringLiterals;

namespace {

using DemoSupply = TelematicTest;

TEST_F(DemoSupply, TheDemoSchoolsSupplyIsTheGoldenFile)
{
    addDemoReturn();
    const QString file = generate();
    const QList<QByteArray> lines = supplyLines(file);
    expectGolden(file, u"demo-770-2024.txt"_s);
}

} // namespace
