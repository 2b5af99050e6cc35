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

// An amount that tells its row and agent apart.
QString amountOf(int row, int agent, int cents = 0)
{
    return u"%1.%2"_s.arg(1000 * (agent + 1) + row).arg(twoDigits(cents));
}

QString personCode(int n)
{
    return validFiscalCode(u"RSSMRC75B03D6%1"_s.arg(twoDigits(n)));
}

QString numericCode(int n)
{
    return validFiscalCode(u"0517432%1"_s.arg(n, 3, 10, QChar(u'0')));
}

QJsonObject st2Row(int i, int agent, const QString &code)
{
    return {{u"SPST2MESE"_s, twoDigits(i % 12 + 1)},
            {u"SPST2ANNO"_s, u"2023"_s},
            {u"FPST2RITEFFETTUATE"_s, amountOf(i, agent)},
            {u"FPST2IMPOVERSATO"_s, amountOf(i, agent)},
            {u"SPST2CODTRIBUTO"_s, u"381E"_s},
            {u"SPST2CODREG"_s, u"9"_s},
            {u"DPST2DTVERS"_s, u"2023-%1-16"_s.arg(twoDigits(i % 12 + 1))},
            {u"SSOE7CODICE"_s, code}};
}

// The rows of the four SY sections, the row number in every value.
QJsonObject sy2Row(int i, int agent, const QString &code)
{
    return {{u"SPSY2CREPIGCF"_s, numericCode(10 * agent + i)},
            {u"FPSYSOMERO1"_s, amountOf(i, agent)},
            {u"SPSYTIPO1"_s, u"1"_s},
            {u"FPSYSOMERO3"_s, amountOf(i, agent, 30)},
            {u"SPSYTIPO3"_s, u"2"_s},
            {u"SSOE7CODICE"_s, code}};
}

QJsonObject syRow(int i, int agent, const QString &code)
{
    return {{u"SPSYDEBPRICODF"_s, personCode(10 * agent + i)},
            {u"SPSYCREPIGCODF"_s, numericCode(50 + i)},
            {u"FPSYSOMERO"_s, amountOf(i, agent)},
            {u"SSOE7CODICE"_s, code}};
}

QJsonObject sy3Row(int i, int agent, const QString &code)
{
    return {{u"SPSY3CFBEN"_s, numericCode(70 + 10 * agent + i)},
            {u"FPSY3AMMBON"_s, amountOf(i, agent)},
            {u"FPSY3RITEFF"_s, amountOf(i, agent, 40)},
            {u"SSOE7CODICE"_s, code}};
}

QJsonObject sy4Row(int i, int agent, const QString &code)
{
    return {{u"SSY4DEN"_s, u"MÜLLER %1"_s.arg(i)},
            {u"SSY4NOME"_s, u"KARL"_s},
            {u"LSY4SEX"_s, u"M"_s},
            {u"DSY4DNASC"_s, u"1970-05-%1"_s.arg(twoDigits(i + 1))},
            {u"SSY4CODSTEST"_s, u"094"_s},
            {u"FSY4AMMLORDCORR"_s, amountOf(i, agent)},
            {u"FSY4RITTITIMP"_s, amountOf(i, agent, 25)},
            {u"SSOE7CODICE"_s, code}};
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

const QString kExtinct = u"82009870542"_s;
const QString kSecond = u"97000110581"_s;

class RecordBuilders : public TelematicTest
{
protected:
    RecordBuilders()
    {
        addDemoFrontispiece();
        add(u"TSOE7_SOSESTINTO"_s, rows({{{u"CODICE"_s, kExtinct}, {u"DENOMINAZI0NE"_s, u"DIREZIONE DIDATTICA"_s}}}));
    }

    // Adds `counts[a]` rows of agent a (the agent itself, kExtinct, kSecond)
    // made by `make`.
    template<class Make>
    void addRows(const QString &table, const QList<int> &counts, Make make)
    {
        const QString agents[] = {QString(), kExtinct, kSecond};
        QList<QJsonObject> list;
        for (int a = 0; a < counts.size(); ++a) {
            for (int i = 0; i < counts[a]; ++i)
                list.append(make(i, a, agents[a]));
        }
        add(table, rows(list));
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

// An istituto comprensivo that absorbed two extinct schools: rows of all
// three agents in every Prospetto, counts that are not multiples of a module.
TEST_F(RecordBuilders, ThreeAgentsWithRowsInEveryProspettoKeepTheirModulesApart)
{
    add(u"TSOE7_SOSESTINTO"_s, rows({{{u"CODICE"_s, kSecond}}}));
    addRows(u"TPST_PROSPETTOST"_s, {14, 3, 1}, [](int i, int a, const QString &code) {
        QJsonObject r = stRow(i % 12 + 1, code);
        r[u"FPSTRITOPEARTE"_s] = amountOf(i, a);
        return r;
    });
    addRows(u"TPST2_PROSPETTOSTS2"_s, {2, 13}, st2Row);
    addRows(u"TPSV_PROSPETTOSV"_s, {1, 0, 13}, [](int i, int, const QString &code) { return svRow(i % 12 + 1, code); });
    addRows(u"TPSX_PROSPETTOSX"_s, {1, 0, 1}, [](int, int a, const QString &code) {
        return QJsonObject{{u"FCRECONGCESSRAPP_SX"_s, amountOf(0, a)}, {u"SSOE7CODICE"_s, code}};
    });
    addRows(u"TPDI_PROSPETTODI"_s, {0, 2}, [](int i, int, const QString &code) {
        return QJsonObject{{u"SPDICODFIS"_s, personCode(80 + i)},
                           {u"SPDIPERIMP"_s, u"2021"_s},
                           {u"FPDIMAGCRED"_s, amountOf(i, 1)},
                           {u"SSOE7CODICE"_s, code}};
    });
    addRows(u"TPSY2_PROSPETTOSY2"_s, {7, 3, 1}, sy2Row);
    addRows(u"TPSY_PROSPETTOSY"_s, {6, 2}, syRow);
    addRows(u"TPSY3_PROSPETTOSY3"_s, {5, 1, 9}, sy3Row);
    addRows(u"TPSY4_PROSPETTOSY4"_s, {6, 7, 2}, sy4Row);
    expectGolden(generate(), u"tre-sostituti.txt"_s);
}

// An extinct agent with rows in ST and SY sections II to IV only: every
// module of it names it.
TEST_F(RecordBuilders, AnExtinctAgentWithoutSectionIRowsIsNamedInEveryModule)
{
    addRows(u"TPST_PROSPETTOST"_s, {2}, [](int i, int, const QString &code) { return stRow(i + 1, code); });
    addRows(u"TPST2_PROSPETTOSTS2"_s, {0, 3}, st2Row);
    add(u"TPST3_PROSPETTOSTS3"_s, rows({{{u"SPST3CFINTNRES"_s, numericCode(90)},
                                         {u"SPST3MESE27"_s, u"03"_s},
                                         {u"SPST3ANNO27"_s, u"2023"_s},
                                         {u"FPST3RITEFFETTUATE27"_s, u"50"_s},
                                         {u"SSOE7CODICE"_s, kExtinct}}}));
    add(u"TPST4_PROSPETTOSTS4"_s,
        rows({{{u"SCFINTNRES"_s, numericCode(91)}, {u"FIMPAPPL39"_s, u"12.50"_s}, {u"SSOE7CODICE"_s, kExtinct}}}));
    addRows(u"TPSY2_PROSPETTOSY2"_s, {2}, sy2Row);
    addRows(u"TPSY_PROSPETTOSY"_s, {0, 2}, syRow);
    addRows(u"TPSY3_PROSPETTOSY3"_s, {0, 2}, sy3Row);
    addRows(u"TPSY4_PROSPETTOSY4"_s, {0, 1}, sy4Row);
    const QString file = generate();
    expectGolden(file, u"estinto-senza-sezione-i.txt"_s);
    // Its D module holds ST sections II-IV, its I module SY sections II-IV.
    for (const QByteArray &record : supplyLines(file)) {
        if (record.mid(17, 8) == "00000002") {
            EXPECT_EQ(elements(record).first().mid(2, 17), "00100182009870542") << record.left(1).toStdString();
        }
    }
}

// Intermediaries with all their lines, 21 DI rows, an amount of 13 integer
// digits, and a 60-character denomination whose continuation pieces would
// cross the end of a record.
TEST_F(RecordBuilders, IntermediariesWithAllTheirLinesAndTwentyOneDiRows)
{
    QList<QJsonObject> di;
    for (int i = 0; i < 21; ++i) {
        di.append({{u"SPDICODFIS"_s, personCode(i)}, {u"SPDIPERIMP"_s, u"2021"_s}, {u"FPDIMAGCRED"_s, amountOf(i, 0)}});
        // With the note on ten rows the denomination would begin at the 73rd element of the first record.
        if (i < 10)
            di.last()[u"SPDINOTA"_s] = u"Q"_s;
    }
    add(u"TPDI_PROSPETTODI"_s, rows(di));
    QJsonObject st3{{u"SPST3CFINTNRES"_s, numericCode(92)},
                    {u"SPST3DENINTNRES"_s, u"BANCA DEI TERRITORI DEL NORD EST SOCIETA COOPERATIVA PER AZI"_s},
                    {u"SPST3BICSWIFTCODICE"_s, u"BTNEIT2TXXX"_s},
                    {u"IPST3CSEINTNRES"_s, 94}};
    QJsonObject st4{
        {u"SCFINTNRES"_s, numericCode(93)}, {u"SDENINTNRES"_s, u"KREDITBANK LUXEMBOURG"_s}, {u"ICSEINTNRES"_s, 92}};
    for (int line = 27; line <= 37; ++line) {
        const int n = line - 26;
        st3.insert(u"SPST3MESE%1"_s.arg(line), twoDigits(n));
        st3.insert(u"SPST3ANNO%1"_s.arg(line), u"2023"_s);
        st3.insert(u"FPST3RITEFFETTUATE%1"_s.arg(line), amountOf(n, 1));
        st3.insert(u"FPST3IMPOVERSATO%1"_s.arg(line), amountOf(n, 1));
        st3.insert(u"SPST3CODTRIBUTO%1"_s.arg(line), u"1030"_s);
        st3.insert(u"DPST3DTVERS%1"_s.arg(line), u"2023-%1-16"_s.arg(twoDigits(n)));
        st4.insert(u"SPST2MESE%1"_s.arg(line + 12), twoDigits(n));
        st4.insert(u"SPST2ANNO%1"_s.arg(line + 12), u"2023"_s);
        st4.insert(u"FAMMPLSVALEPROV%1"_s.arg(line + 12), amountOf(n, 2));
        st4.insert(u"FIMPAPPL%1"_s.arg(line + 12), amountOf(n, 2, 26));
        st4.insert(u"FIMPVERS%1"_s.arg(line + 12), amountOf(n, 2, 26));
        st4.insert(u"SCTRIB%1"_s.arg(line + 12), u"1100"_s);
        st4.insert(u"LRAVVED%1"_s.arg(line + 12), n % 2 == 0 ? u"1"_s : u"0"_s);
    }
    // The largest amount an element holds whole: 13 integer digits.
    st3[u"FPST3IMPOVERSATO27"_s] = u"1000000000000.50"_s;
    add(u"TPST3_PROSPETTOSTS3"_s, rows({st3,
                                        {{u"SPST3CFINTNRES"_s, numericCode(94)},
                                         {u"SPST3MESE30"_s, u"04"_s},
                                         {u"SPST3ANNO30"_s, u"2023"_s},
                                         {u"LPST3RAVVEDIMENTO30"_s, u"1"_s}}}));
    add(u"TPST4_PROSPETTOSTS4"_s, rows({st4}));
    const QString file = generate();
    expectGolden(file, u"st-iii-iv-di.txt"_s);
    const QList<QByteArray> d = ofType(supplyLines(file), 'D');
    ASSERT_GE(d.size(), 2);
    // The denomination starts the second record rather than end the first.
    EXPECT_EQ(elements(d[0]).size(), 72);
    EXPECT_EQ(elements(d[1]).first(), "ST026004BANCA DEI TERRIT");
    EXPECT_TRUE(d[1].contains("ST0270071000000000000,50"));
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

TEST_F(RecordBuilders, EachRowOfTheProspettoSsIsAModule)
{
    add(u"TSOE7_SOSESTINTO"_s, rows({{{u"CODICE"_s, u"97000110581"_s}}, {{u"CODICE"_s, u"92001230231"_s}}}));
    add(u"TPSY3_PROSPETTOSY3"_s, rows({{{u"FPSY3RITEFF"_s, u"120.50"_s}},
                                       {{u"FPSY3RITEFF"_s, u"0.30"_s}, {u"SSOE7CODICE"_s, kExtinct}},
                                       {{u"FPSY3RITEFF"_s, u"0"_s}, {u"SSOE7CODICE"_s, u"92001230231"_s}},
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
