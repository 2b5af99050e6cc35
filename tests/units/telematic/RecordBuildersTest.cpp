#include "TelematicFixture.h"

#include "ClientDataSet.h"

#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>

using namespace Qt::Literals::StringLiterals;

namespace {

QByteArray rows(const QList<QJsonObject> &records)
{
    QJsonArray array;
    for (const QJsonObject &r : records)
        array.append(r);
    return QJsonDocument(QJsonObject{{u"records"_s, array}}).toJson(QJsonDocument::Compact);
}

QString twoDigits(int n)
{
    return QString::number(n).rightJustified(2, u'0');
}

// A payment of ST section I for a month of 2023.
QJsonObject stRow(int month, const QString &agent = QString())
{
    return {{u"SPSTMESE"_s, twoDigits(month)},
            {u"SPSTANNO"_s, u"2023"_s},
            {u"FPSTRITOPEARTE"_s, u"%1.50"_s.arg(1000 + month)},
            {u"FPSTIMPOVERSATO"_s, u"%1.50"_s.arg(1000 + month)},
            {u"SPSTCODTRIBUTO"_s, u"100E"_s},
            {u"DPSTDTVERS"_s, u"2023-%1-16"_s.arg(twoDigits(month))},
            {u"LPSTRAVVEDIMENTO"_s, u"0"_s},
            {u"SSOE7CODICE"_s, agent}};
}

QJsonObject svRow(int month, const QString &agent = QString())
{
    return {{u"SPSVMESE"_s, twoDigits(month)}, {u"SPSVANNO"_s, u"2023"_s},
            {u"FPSVTRATTEFF"_s, u"98.30"_s},   {u"FPSVIMPVERS"_s, u"98.30"_s},
            {u"SPSVCODTRIBCAP"_s, u"385E"_s},  {u"DPSVDTVERS"_s, u"2023-%1-16"_s.arg(twoDigits(month))},
            {u"LPSVRAVVED"_s, u"1"_s},         {u"SSOE7CODICE"_s, agent}};
}

QList<QByteArray> ofType(const QList<QByteArray> &lines, char type)
{
    QList<QByteArray> found;
    for (const QByteArray &l : lines) {
        if (l.startsWith(type))
            found.append(l);
    }
    return found;
}

QList<QByteArray> codes(const QByteArray &record)
{
    QList<QByteArray> list;
    for (const QByteArray &e : elements(record))
        list.append(e.left(8));
    return list;
}

const QString kExtinct = u"82009870542"_s;

class RecordBuilders : public TelematicTest
{
protected:
    RecordBuilders()
    {
        addDemoFrontispiece();
        add(u"TSOE7_SOSESTINTO"_s, rows({{{u"CODICE"_s, kExtinct}, {u"DENOMINAZI0NE"_s, u"DIREZIONE DIDATTICA"_s}}}));
    }

    QString agentsSsBox()
    {
        ClientDataSet saved;
        store.open(saved, u"TSOS_DATOSOSTITUTO"_s);
        return saved.fieldByName(u"LSOSSS"_s).asString();
    }
};

using DemoSupply = TelematicTest;

TEST_F(DemoSupply, TheDemoSchoolsSupplyIsTheGoldenFile)
{
    addDemoReturn();
    expectGolden(generate(), u"demo-770-2024.txt"_s);
}

TEST_F(RecordBuilders, ASupplyWithoutProspettiHasRecordsABAndZOnly)
{
    expectGolden(generate(), u"senza-prospetti.txt"_s);
}

TEST_F(RecordBuilders, ThirteenRowsOfStSectionIMakeTwoModules)
{
    QList<QJsonObject> st;
    for (int month = 1; month <= 12; ++month)
        st.append(stRow(month));
    st.append(stRow(12));
    st.last()[u"SPSTCODTRIBUTO"_s] = u"104E"_s;
    add(u"TPST_PROSPETTOST"_s, rows(st));
    expectGolden(generate(), u"st-13-righe.txt"_s);
}

TEST_F(RecordBuilders, AnExtinctAgentGetsModulesOfItsOwnAfterTheAgents)
{
    add(u"TPST_PROSPETTOST"_s, rows({stRow(1), stRow(2)}));
    add(u"TPSV_PROSPETTOSV"_s, rows({svRow(1, kExtinct), svRow(2, kExtinct), svRow(1)}));
    expectGolden(generate(), u"sostituto-estinto.txt"_s);
}

TEST_F(RecordBuilders, NoOnTheSvPageLeavesRecordDOutAndItsBoxesUnticked)
{
    add(u"TPST_PROSPETTOST"_s, rows({stRow(1)}));
    add(u"TPSV_PROSPETTOSV"_s, rows({svRow(1)}));
    add(u"TPSX_PROSPETTOSX"_s, R"({"records": [{"FCRECONGCESSRAPP_SX": "310.00"}]})");
    add(u"TPDI_PROSPETTODI"_s, R"({"records": [{"SPDICODFIS": "VRDGLI82S62G478H", "FPDIMAGCRED": "1"}]})");
    add(u"TPSY3_PROSPETTOSY3"_s, R"({"records": [{"SPSY3CFBEN": "03129870543", "FPSY3RITEFF": "960.00"}]})");
    const QString file = generate({.prospettiSv = false, .prospettoSy = true});
    const QList<QByteArray> lines = supplyLines(file);
    EXPECT_TRUE(ofType(lines, 'D').isEmpty());
    ASSERT_EQ(ofType(lines, 'I').size(), 1);
    // ST, SV, SX not ticked; SY and SS ticked; DI not ticked.
    EXPECT_EQ(lines[1].mid(1140, 6), "000110");
    EXPECT_TRUE(wizard().memo().contains(u"Generazione del Record D..."_s));
}

TEST_F(RecordBuilders, TwentyOneDiRowsMakeASecondModule)
{
    QList<QJsonObject> di;
    for (int i = 0; i < 21; ++i)
        di.append({{u"SPDICODFIS"_s, validFiscalCode(u"RSSMRA80A01H5%1"_s.arg(twoDigits(i)))},
                   {u"SPDIPERIMP"_s, u"2021"_s},
                   {u"FPDIMAGCRED"_s, u"10.00"_s}});
    add(u"TPDI_PROSPETTODI"_s, rows(di));
    const QList<QByteArray> d = ofType(supplyLines(generate()), 'D');
    ASSERT_EQ(d.size(), 2);
    EXPECT_EQ(codes(d[0]).last(), "DI020005");
    EXPECT_EQ(codes(d[1]), (QList<QByteArray>{"DI001001", "DI001003", "DI001005"}));
    EXPECT_EQ(elements(d[1])[0], "DI001001RSSMRA80A01H520X");
}

TEST_F(RecordBuilders, SectionIIRowsAreWrittenEvenWithoutSectionIRows)
{
    QList<QJsonObject> st2;
    for (int month = 1; month <= 13; ++month)
        st2.append({{u"SPST2MESE"_s, twoDigits(month % 12 + 1)},
                    {u"SPST2ANNO"_s, u"2023"_s},
                    {u"FPST2RITEFFETTUATE"_s, u"412.60"_s},
                    {u"SPST2CODREG"_s, u"9"_s},
                    {u"DPST2DTVERS"_s, u"2023-06-%1"_s.arg(twoDigits(month))}});
    add(u"TPST2_PROSPETTOSTS2"_s, rows(st2));
    const QList<QByteArray> d = ofType(supplyLines(generate()), 'D');
    ASSERT_EQ(d.size(), 2);
    EXPECT_EQ(codes(d[0]).first(), "ST014001");
    EXPECT_EQ(elements(d[0])[2], "ST014013              09");
    EXPECT_EQ(codes(d[1]), (QList<QByteArray>{"ST014001", "ST014002", "ST014013", "ST014014"}));
}

TEST_F(RecordBuilders, EachIntermediaryOfStSectionIIIFillsAModuleOfItsOwn)
{
    add(u"TPST3_PROSPETTOSTS3"_s, R"({"records": [
        {"SPST3CFINTNRES": "07123450123", "SPST3MESE27": "03", "SPST3ANNO27": "2023", "FPST3RITEFFETTUATE27": "50"},
        {"SPST3CFINTNRES": "07999990999", "SPST3MESE30": "04", "SPST3ANNO30": "2023", "LPST3RAVVEDIMENTO30": "1"}]})");
    add(u"TPST_PROSPETTOST"_s, rows({stRow(1)}));
    const QList<QByteArray> d = ofType(supplyLines(generate()), 'D');
    ASSERT_EQ(d.size(), 2);
    EXPECT_EQ(codes(d[0]).mid(5), (QList<QByteArray>{"ST026003", "ST027001", "ST027002"}));
    EXPECT_EQ(elements(d[0])[6], "ST027001          032023");
    EXPECT_EQ(codes(d[1]), (QList<QByteArray>{"ST026003", "ST030001", "ST030009"}));
}

TEST_F(RecordBuilders, SyModulesTakeFiveFiveFourAndFiveRows)
{
    QList<QJsonObject> sy, sy2, sy3, sy4;
    for (int i = 0; i < 6; ++i) {
        sy.append({{u"SPSYDEBPRICODF"_s, validFiscalCode(u"RSSMRC75B03D6%1"_s.arg(twoDigits(i)))}, {u"FPSYSOMERO"_s, u"100"_s}});
        sy2.append({{u"SPSY2CREPIGCF"_s, validFiscalCode(u"051743209%1"_s.arg(i))}, {u"FPSYSOMERO1"_s, u"1800"_s}});
        sy3.append({{u"SPSY3CFBEN"_s, validFiscalCode(u"031298705%1"_s.arg(i))}, {u"FPSY3RITEFF"_s, u"0.40"_s}});
        sy4.append({{u"SSY4DEN"_s, u"SCHMIDT %1"_s.arg(i)}, {u"FSY4RITTITIMP"_s, u"10"_s}});
    }
    add(u"TPSY_PROSPETTOSY"_s, rows(sy));
    add(u"TPSY2_PROSPETTOSY2"_s, rows(sy2));
    add(u"TPSY3_PROSPETTOSY3"_s, rows(sy3));
    add(u"TPSY4_PROSPETTOSY4"_s, rows(sy4));
    // The SY withholdings also make one SS row.
    expectGolden(generate(), u"sy-moduli.txt"_s);
}

TEST_F(RecordBuilders, EachRowOfTheProspettoSsIsAModule)
{
    add(u"TSOE7_SOSESTINTO"_s, rows({{{u"CODICE"_s, u"97000110581"_s}}, {{u"CODICE"_s, u"92001230231"_s}}}));
    add(u"TPSY3_PROSPETTOSY3"_s, rows({{{u"FPSY3RITEFF"_s, u"120.50"_s}},
                                       {{u"FPSY3RITEFF"_s, u"0.30"_s}, {u"SSOE7CODICE"_s, kExtinct}},
                                       {{u"FPSY3RITEFF"_s, u"-5"_s}, {u"SSOE7CODICE"_s, u"92001230231"_s}},
                                       {{u"FPSY3RITEFF"_s, u"7"_s}, {u"SSOE7CODICE"_s, u"97000110581"_s}}}));
    add(u"TPSY4_PROSPETTOSY4"_s, rows({{{u"FSY4RITTITIMP"_s, u"9.49"_s}, {u"SSOE7CODICE"_s, kExtinct}}}));
    expectGolden(generate(), u"ss-moduli.txt"_s);
    // The agent's box of the Prospetto SS is saved with the agent.
    EXPECT_EQ(agentsSsBox(), u"1");
}

// The amounts of the SS editor, in the order of the form's points 1 to 15.
const QStringList kSsAmounts = {u"FIOSADDREGTRA_SS"_s,    u"FIOSADDCOMSALTRA_SS"_s, u"FIOSADDCOMACC_SS"_s,
                                u"FIOSSALIRPEF_SS"_s,     u"FIOSPRACCIRPEF_SS"_s,   u"FIOSADDREG_SS"_s,
                                u"FIOSSALADDREG_SS"_s,    u"FIOSACCADDCOM_SS"_s,    u"FIOSSECACCIRPEF_SS"_s,
                                u"FIOSACCTAXSEP_SS"_s,    u"FIOSIMPSOSPREPRO_SS"_s, u"FIOSCEDSECCLOC_SS"_s,
                                u"FIOS1RACCCEDSECC_SS"_s, u"FIOS2RACCCEDSECC_SS"_s, u"FIOSCONTSOL_SS"_s};

TEST_F(RecordBuilders, TheAmountsEnteredInTheProspettoSsMakeOneModulePerAgent)
{
    const QString otherExtinct = u"97000110581"_s;
    add(u"TSOE7_SOSESTINTO"_s, rows({{{u"CODICE"_s, otherExtinct}}}));
    // The agent's first row fills every point n with 10 n euros and 40 cents.
    QJsonObject everyPoint;
    for (qsizetype n = 1; n <= kSsAmounts.size(); ++n)
        everyPoint.insert(kSsAmounts[n - 1], u"%1.40"_s.arg(10 * n));
    add(u"TSS4_PROSPETTOSS4"_s, rows({everyPoint,
                                      {{u"FIOSADDREGTRA_SS"_s, u"5.30"_s}},
                                      {{u"FIOSCONTSOL_SS"_s, u"0.40"_s}, {u"SSOE7CODICE"_s, kExtinct}},
                                      {{u"FIOSADDREGTRA_SS"_s, u"0"_s}, {u"SSOE7CODICE"_s, otherExtinct}}}));
    add(u"TPSY3_PROSPETTOSY3"_s, rows({{{u"FPSY3RITEFF"_s, u"120.50"_s}}}));
    add(u"TPSY4_PROSPETTOSY4"_s, rows({{{u"FSY4RITTITIMP"_s, u"9.49"_s}, {u"SSOE7CODICE"_s, kExtinct}}}));
    // The agent's rows are added up (10.40 + 5.30 is 15.70) and the SY
    // withholdings join them; an extinct agent's row declares the succession
    // even without amounts.
    expectGolden(generate(), u"ss-importi.txt"_s);
    // What the SS print reads: the agent's row with its exact amounts.
    ClientDataSet saved;
    store.open(saved, u"TPSS_PROSPETTOSS"_s);
    ASSERT_EQ(saved.recordCount(), 3);
    while (!saved.eof() && !saved.fieldByName(u"SSOE7CODICE"_s).asString().isEmpty())
        saved.next();
    ASSERT_FALSE(saved.eof());
    const auto amount = [&](const QString &field) { return saved.fieldByName(field).asCurrency().toString(2); };
    EXPECT_EQ(amount(u"FIOSADDREGTRA_SS"_s), u"15,70");
    EXPECT_EQ(amount(u"FIOSCONTSOL_SS"_s), u"150,40");
    EXPECT_EQ(amount(u"FQUADROSYRIT1_SS"_s), u"120,50");
}

TEST_F(RecordBuilders, AnAgentsRowWithoutAmountsMakesNoModule)
{
    add(u"TSS4_PROSPETTOSS4"_s, rows({{{u"FIOSADDREGTRA_SS"_s, u"0"_s}, {u"FIOSCONTSOL_SS"_s, u"0.00"_s}}}));
    const QString file = generate();
    EXPECT_TRUE(ofType(supplyLines(file), 'J').isEmpty());
    EXPECT_EQ(agentsSsBox(), u"0");

    // Beside an extinct agent's amounts it still adds nothing: one module.
    add(u"TSS4_PROSPETTOSS4"_s, rows({{{u"FIOSSALIRPEF_SS"_s, u"310.00"_s}, {u"SSOE7CODICE"_s, kExtinct}}}));
    const QList<QByteArray> j = ofType(supplyLines(generate()), 'J');
    ASSERT_EQ(j.size(), 1);
    EXPECT_EQ(j[0].mid(17, 8), "00000001");
    EXPECT_EQ(elements(j[0]), (QList<QByteArray>{"SS00100182009870542     ", "SS003004          310,00"}));
}

} // namespace
