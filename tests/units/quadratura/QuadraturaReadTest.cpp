#include "Quadratura.h"

#include "ClientDataSet.h"
#include "ReturnDatabaseTest.h"

#include <gtest/gtest.h>

#include <algorithm>

using namespace Qt::Literals::StringLiterals;

namespace {

class QuadraturaReadTest : public ReturnDatabaseTest
{
protected:
    void SetUpOpened() override
    {
        ReturnDatabaseTest::SetUpOpened();
        loadDemo();
    }
};

ELH_INSTANTIATE_ON_BOTH_ENGINES(QuadraturaReadTest);

const QuadraturaPerson *person(const QuadraturaInput &input, const QString &code)
{
    const auto found = std::find_if(input.people.begin(), input.people.end(),
                                    [&](const QuadraturaPerson &p) { return p.fiscalCode == code; });
    return found == input.people.end() ? nullptr : &*found;
}

} // namespace

TEST_P(QuadraturaReadTest, TheDemoSchoolsRowsPeopleAndPayrollLinesAreRead)
{
    const QuadraturaInput input = readQuadraturaInput(store());
    EXPECT_EQ(input.year, 2023);

    const std::pair<QuadraturaArea, QString> tables[] = {{QuadraturaArea::StI, u"TPST_PROSPETTOST"_s},
                                                         {QuadraturaArea::StII, u"TPST2_PROSPETTOSTS2"_s},
                                                         {QuadraturaArea::Sv, u"TPSV_PROSPETTOSV"_s}};
    for (const auto &[area, table] : tables) {
        QList<int> records;
        for (const QuadraturaRow &row : input.rows) {
            if (row.area == area)
                records.append(row.record);
        }
        ASSERT_EQ(records.size(), read(table)->recordCount()) << table.toStdString();
        for (qsizetype r = 0; r < records.size(); ++r)
            EXPECT_EQ(records[r], r);
    }
    // The self-employed withholdings of May, paid in June; December's with a
    // credit; an extinct agent's row; a region of ST II.
    const auto row = [&](QuadraturaArea area, const QString &code, const QString &month, const QString &agent = {}) {
        const auto found = std::find_if(input.rows.begin(), input.rows.end(), [&](const QuadraturaRow &r) {
            return r.area == area && r.taxCode == code && r.month == month && r.agent == agent;
        });
        return found == input.rows.end() ? QuadraturaRow{} : *found;
    };
    const QuadraturaRow may = row(QuadraturaArea::StI, u"104E"_s, u"05"_s);
    EXPECT_EQ(may.year, u"2023"_s);
    EXPECT_EQ(may.withheld, Decimal::fromInt(240));
    EXPECT_EQ(may.paid, Decimal::fromInt(240));
    EXPECT_EQ(may.paidOn, QDate(2023, 6, 16));
    EXPECT_FALSE(may.ravvedimento);
    const QuadraturaRow december = row(QuadraturaArea::StI, u"100E"_s, u"12"_s);
    EXPECT_EQ(december.credits, Decimal::fromInt(310));
    EXPECT_EQ(december.paidOn, QDate(2024, 1, 16));
    EXPECT_EQ(row(QuadraturaArea::StI, u"100E"_s, u"08"_s, u"82009870542"_s).paid, *Decimal::parseC(u"640.25"_s));
    EXPECT_EQ(row(QuadraturaArea::StII, u"381E"_s, u"12"_s).region, u"19"_s);

    const QuadraturaPerson *rossi = person(input, u"RSSMRA75D12D653T"_s);
    ASSERT_TRUE(rossi);
    EXPECT_EQ(rossi->table, u"TDIP7_ANAGRFISCALI"_s);
    EXPECT_EQ(rossi->name, u"ROSSI MARIO"_s);
    EXPECT_EQ(rossi->irpef, *Decimal::parseC(u"6262.85"_s));
    EXPECT_EQ(rossi->regional, *Decimal::parseC(u"541.92"_s));
    EXPECT_EQ(rossi->municipalAdvance, *Decimal::parseC(u"84.37"_s));
    EXPECT_EQ(rossi->municipalBalance, *Decimal::parseC(u"196.87"_s));
    const QuadraturaPerson *galli = person(input, u"GLLRRT65L08G478C"_s);
    ASSERT_TRUE(galli);
    EXPECT_EQ(galli->table, u"TDAU7_DATIAUTONOM"_s);
    EXPECT_EQ(galli->selfEmployed, Decimal::fromInt(720));

    // The withholdings of the year in the payroll: not VAT, not IRAP, not
    // December of the year before.
    ASSERT_TRUE(input.f24.has_value());
    for (const QuadraturaF24Line &line : *input.f24) {
        EXPECT_EQ(line.year, u"2023"_s);
        EXPECT_NE(line.taxCode, u"620E"_s);
        EXPECT_NE(line.taxCode, u"380E"_s);
        EXPECT_TRUE(line.problem.isEmpty()) << line.problem.toStdString();
    }
    const auto late = std::find_if(input.f24->begin(), input.f24->end(), [](const QuadraturaF24Line &l) {
        return l.taxCode == u"104E"_s && l.month == u"05"_s;
    });
    ASSERT_NE(late, input.f24->end());
    EXPECT_EQ(late->section, u"E"_s);
    EXPECT_EQ(late->paidOn, QDate(2023, 7, 20));
    EXPECT_TRUE(late->ravvedimento);
    EXPECT_EQ(late->interest, *Decimal::parseC(u"1.85"_s));
    const auto municipal = std::count_if(input.f24->begin(), input.f24->end(), [](const QuadraturaF24Line &l) {
        return l.taxCode == u"385E"_s && l.month == u"01"_s;
    });
    EXPECT_EQ(municipal, 2);

    // The demo pays every month on time: no errors, and the payroll's late
    // payment of May with its ravvedimento is only a row the return lacks.
    const QuadraturaReport report = reconcile(input);
    EXPECT_EQ(report.count(FindingLevel::Error), 0);
    EXPECT_EQ(report.count(QuadraturaArea::F24ep, FindingLevel::Warning), 2);
}

// A month that is none is a finding; a payroll line whose amount is a text
// (SQLite keeps it) is read with its problem; without lines of the year
// there is no payroll to compare.
TEST_P(QuadraturaReadTest, BadDataIsReadAsFoundAndAYearWithoutPayrollLinesHasNone)
{
    write(u"TPST_PROSPETTOST"_s, R"({"records": [{"SPSTMESE": "13", "SPSTANNO": "2023", "FPSTRITOPEARTE": "10.00",
        "FPSTIMPOVERSATO": "10.00", "SPSTCODTRIBUTO": "100E", "DPSTDTVERS": "2023-12-18"}]})");
    if (GetParam() == Engine::SQLite) {
        exec(
            u"UPDATE TRF24_RIGHEF24EP SET FRF24VERSATO = 'mille' WHERE SRF24CODTRIBUTO = '104E' AND SRF24MESE = '05'"_s);
        const QuadraturaInput input = readQuadraturaInput(store());
        const auto bad = std::find_if(input.f24->begin(), input.f24->end(),
                                      [](const QuadraturaF24Line &l) { return !l.problem.isEmpty(); });
        ASSERT_NE(bad, input.f24->end());
        EXPECT_EQ(bad->problem, u"l'importo versato «mille» non è un numero"_s);
    }
    exec(u"DELETE FROM TRF24_RIGHEF24EP WHERE SRF24ANNO = '2023'"_s);
    const QuadraturaInput input = readQuadraturaInput(store());
    EXPECT_FALSE(input.f24.has_value());
    const QuadraturaReport report = reconcile(input);
    EXPECT_TRUE(std::any_of(report.findings.begin(), report.findings.end(), [](const QuadraturaFinding &f) {
        return f.level == FindingLevel::Error && f.period == u"13/2023"_s && f.text.contains(u"«13»"_s);
    }));
    EXPECT_EQ(report.count(QuadraturaArea::F24ep, FindingLevel::Warning), 0);
}
