#include "AgentSummary.h"
#include "ClientDataSet.h"
#include "ElhMStampe.h"
#include "Exceptions.h"
#include "PrintTestSupport.h"

#include <QFile>

#include <gtest/gtest.h>

using namespace Qt::Literals::StringLiterals;

namespace {

QJsonObject agent(int section)
{
    return {{u"SSOSCODFIS"_s, u"80012345676"_s},
            {u"SSOSDENOM"_s, u"ISTITUTO COMPRENSIVO"_s},
            {u"ISOSSEZ"_s, section},
            {u"LSOSCORRETTIVA"_s, u"0"_s},
            {u"LSOSINTEGRATIVA"_s, u"1"_s},
            {u"DSOSDTCARICA"_s, u"2024-03-05"_s},
            {u"LSOSST"_s, u"0"_s},
            {u"ISOSNDIP"_s, 7}};
}

} // namespace

TEST(AgentSummary, CountsPersonsAndMarksTheProspettiWithRows)
{
    PrintFixture f;
    f.append(u"TDIP7_ANAGRFISCALI"_s, {{{u"SDIP7CODFIS"_s, u"A"_s}, {u"SDIP7SEX"_s, u"M"_s}},
                                       {{u"SDIP7CODFIS"_s, u"B"_s}, {u"SDIP7SEX"_s, u"F"_s}}});
    f.append(u"TPST_PROSPETTOST"_s, {{{u"SPSTMESE"_s, u"01"_s}}});
    f.append(u"TPSY4_PROSPETTOSY4"_s, {{{u"SSY4DEN"_s, u"SCHMIDT"_s}}});
    ClientDataSet sost(u"cdsSost"_s);
    f.store.open(sost, u"TSOS_DATOSOSTITUTO"_s);
    sost.edit();
    sost.fieldByName(u"LSOSSV"_s).setAsString(u"1"_s);
    sost.fieldByName(u"ISOSNAUTON"_s).setAsInteger(4);
    AgentSummary::refresh(sost, f.store);
    EXPECT_EQ(sost.state(), DataSetState::Browse);
    EXPECT_EQ(sost.fieldByName(u"ISOSNDIP"_s).asInteger(), 2);
    EXPECT_EQ(sost.fieldByName(u"ISOSNAUTON"_s).asInteger(), 0);
    EXPECT_EQ(sost.fieldByName(u"LSOSST"_s).asString(), u"1"_s);
    EXPECT_EQ(sost.fieldByName(u"LSOSSY"_s).asString(), u"1"_s);
    for (const QString &flag : {u"LSOSSV"_s, u"LSOSSS"_s, u"LSOSSX"_s, u"LSOSDI"_s})
        EXPECT_TRUE(sost.fieldByName(flag).isNull()) << flag.toStdString();
    // Posted in the dataset, not saved: the change waits in the change log.
    EXPECT_EQ(sost.changeCount(), 1);

    PrintFixture noAgent(false);
    ClientDataSet empty(u"cdsSost"_s);
    noAgent.store.open(empty, u"TSOS_DATOSOSTITUTO"_s);
    AgentSummary::refresh(empty, noAgent.store);
    EXPECT_TRUE(empty.isEmpty());
    EXPECT_EQ(empty.state(), DataSetState::Browse);
}

// The installation's frontispiece descriptor is data/FrontS.xml; the agent's
// section chooses the edits drawn.
TEST(Frontispiece, DrawsTheAgentOnPagesTwoAndThreeAsTheDescriptorSays)
{
    for (const int section : {1, 2}) {
        SCOPED_TRACE(section);
        PrintFixture f(false);
        QFile::remove(f.coordStp(u"FrontS.xml"_s));
        ASSERT_TRUE(QFile::copy(QStringLiteral(ELH_SOURCE_DIR "/tests/units/print/data/FrontS.xml"),
                                f.coordStp(u"FrontS.xml"_s)));
        f.append(u"TSOS_DATOSOSTITUTO"_s, {agent(section)});
        if (section == 1)
            f.append(u"TDIP7_ANAGRFISCALI"_s, {{{u"SDIP7CODFIS"_s, u"A"_s}, {u"SDIP7SEX"_s, u"M"_s}}});
        TdmElhStampe stampe(f.store);
        stampe.preparaFrontespizio();
        const QString out = f.file(u"Stp/Frontespizio.pdf"_s);
        stampe.stampaFrontespizio(out);

        const QList<PdfReadBack::Page> pages =
            PdfReadBack::read(out, PrintFixture::templatePath(u"770_sempl_mod.pdf"_s));
        ASSERT_EQ(pages.size(), 3);
        if (section == 2) {
            EXPECT_FALSE(pages[1].has(u"80012345676"_s));
            EXPECT_TRUE(pages[1].has(u"I S T I T U T O   C O M P R E N S I V O "_s));
            continue;
        }
        EXPECT_EQ(pages[0].templatePage, 1);
        EXPECT_EQ(pages[1].templatePage, 2);
        EXPECT_EQ(pages[2].templatePage, 3);
        EXPECT_TRUE(pages[0].texts.isEmpty());
        // Page 1 of the agent's section: drawn; page 2: not; "0" never.
        EXPECT_EQ(pages[1].strings(),
                  (QStringList{u"ISTITUTO COMPRENSIVO"_s, u"80012345676"_s, u"X"_s, u"05     03      2024"_s}));
        EXPECT_DOUBLE_EQ(pages[1].find(u"80012345676"_s).first().width, 11 * 14 - (14 - 5.56) / 2 - (14 - 5.56) / 2);
        EXPECT_DOUBLE_EQ(pages[1].find(u"X"_s).first().baseline, 180);
        // The refreshed count (7 before), then a later section of page 1 that stays on page 3.
        EXPECT_EQ(pages[2].strings(), (QStringList{u"1"_s, u"80012345676"_s}));
    }
}

TEST(Frontispiece, AMissingDescriptorEndsThePrint)
{
    PrintFixture f;
    QFile::remove(f.coordStp(u"FrontS.xml"_s));
    TdmElhStampe stampe(f.store);
    stampe.preparaFrontespizio();
    try {
        stampe.stampaFrontespizio(f.file(u"f.pdf"_s));
        FAIL();
    } catch (const EInOutError &e) {
        EXPECT_TRUE(e.message().startsWith(u"Il descrittore «"_s));
        EXPECT_TRUE(e.message().contains(u"FrontS.xml» non si può leggere"_s));
    }
    EXPECT_FALSE(QFile::exists(f.file(u"f.pdf"_s)));
}
