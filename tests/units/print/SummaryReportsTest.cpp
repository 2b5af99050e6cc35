#include "PrintTestSupport.h"
#include "RecordingShell.h"
#include "ElhMProspSTPDF.h"

#include <QFileInfo>

#include <gtest/gtest.h>

#include <map>

using namespace Qt::Literals::StringLiterals;

namespace {

QString code(int n)
{
    return u"CF%1"_s.arg(n, 2, 10, QChar(u'0'));
}

QJsonObject employee(int n, const QJsonObject &amounts = {})
{
    QJsonObject o = amounts;
    o.insert(u"SDIP7CODFIS"_s, code(n));
    o.insert(u"SDIP7COGNOME"_s, u"ROSSI"_s);
    o.insert(u"SDIP7NOME"_s, u"MARIO %1"_s.arg(n, 2, 10, QChar(u'0')));
    // Name and code live in the person registry: a record needs a field of its own.
    o.insert(u"SDIP7SEX"_s, u"M"_s);
    return o;
}

// The lines of a report page below its header, top to bottom, each the texts
// of the line left to right separated by " | ".
QStringList lines(const PdfReadBack::Page &page, double firstBaseline)
{
    std::map<double, std::map<double, QString>> byLine;
    for (const PdfReadBack::Text &t : page.texts) {
        if (!t.rotated && t.baseline >= firstBaseline)
            byLine[t.baseline][t.x] = t.text;
    }
    QStringList out;
    for (const auto &[baseline, texts] : byLine) {
        QStringList parts;
        for (const auto &[x, text] : texts)
            parts.append(text);
        out.append(parts.join(u" | "_s));
    }
    return out;
}

} // namespace

TEST(RiepilogoINPS, ThirtyFiveEmployeesAPageThenTheTotal)
{
    PrintFixture f;
    QList<QJsonObject> employees;
    QList<QJsonObject> inps;
    for (int n = 36; n >= 1; --n) {
        employees.append(employee(n));
        if (n != 10)
            inps.append({{u"SDIP7CODFIS"_s, code(n)},
                         {u"fINPS7Imponibile"_s, QString::number(n * 100)},
                         {u"fINPS7ContribTratt"_s, u"1.5"_s}});
    }
    inps.append({{u"SDIP7CODFIS"_s, code(36)}, {u"fINPS7Imponibile"_s, u"0.25"_s}, {u"FINPS7COMPTRATTEN"_s, u"7"_s}});
    f.append(u"TDIP7_ANAGRFISCALI"_s, employees);
    f.append(u"TINPS7_INPS"_s, inps);
    RecordingShell recorder;
    const QString out = f.saved(&TdmElhProspSTPDF::riepilogoINPS, u"Stp/RiepilogoINPS.pdf"_s);
    EXPECT_EQ(recorder.calls, (QStringList{u"cartella "_s + QFileInfo(out).absolutePath() + u'/', u"file "_s + out}));

    const QList<PdfReadBack::Page> pages = PdfReadBack::read(out, PrintFixture::templatePath(u"RiepilogoINPS.pdf"_s));
    ASSERT_EQ(pages.size(), 2);
    for (const PdfReadBack::Page &p : pages) {
        EXPECT_EQ(p.templatePage, 1);
        EXPECT_TRUE(p.has(u"ISTITUTO COMPRENSIVO DI PROVA"_s));
        EXPECT_TRUE(p.has(u"2023"_s));
    }
    const QStringList first = lines(pages[0], 185);
    ASSERT_EQ(first.size(), 35);
    EXPECT_EQ(first[0], u"CF01 | ROSSI MARIO 01 | 100,00 | 1,50 | 0,00 | 0,00 | 0,00"_s);
    EXPECT_EQ(first[9], u"CF10 | ROSSI MARIO 10 | 0,00 | 0,00 | 0,00 | 0,00 | 0,00"_s);
    EXPECT_EQ(first[34], u"CF35 | ROSSI MARIO 35 | 3500,00 | 1,50 | 0,00 | 0,00 | 0,00"_s);
    // The 36th on the first line of page 2, with the sum of its two rows, then the total.
    EXPECT_EQ(lines(pages[1], 185), (QStringList{u"CF36 | ROSSI MARIO 36 | 3600,25 | 1,50 | 0,00 | 0,00 | 7,00"_s,
                                                 u"Totale | 65600,25 | 52,50 | 0,00 | 0,00 | 7,00"_s}));
    ASSERT_EQ(pages[1].boxes.size(), 1);
    EXPECT_NEAR(pages[1].boxes[0].top, 17 * 1 + 178, 0.001);
    EXPECT_NEAR(pages[1].boxes[0].left, 59, 0.001);
    EXPECT_NEAR(pages[1].boxes[0].width, 478, 0.001);
    EXPECT_NEAR(pages[1].boxes[0].height, 0.05, 0.001);
}

TEST(RiepilogoTassazioneSeparata, RowsByYearDescendingThenTheYearLines)
{
    PrintFixture f;
    f.append(u"TDIP7_ANAGRFISCALI"_s, {employee(2), employee(1), employee(3)});
    f.append(u"TTAS7_TASSAZIONESE"_s,
             {{{u"SDIP7CODFIS"_s, code(1)},
               {u"STAS7PERIODOIMP"_s, u"2019"_s},
               {u"FTAS7COMPARRDETR"_s, u"100"_s},
               {u"FTAS7RITOPERATE"_s, u"23"_s}},
              {{u"SDIP7CODFIS"_s, code(1)},
               {u"STAS7PERIODOIMP"_s, u"2021"_s},
               {u"FTAS7COMPARRDETR"_s, u"200"_s},
               {u"FTAS7COMPARRNODETR"_s, u"5"_s}},
              {{u"SDIP7CODFIS"_s, code(2)}, {u"STAS7PERIODOIMP"_s, u"2021"_s}, {u"FTAS7COMPARRDETR"_s, u"50"_s}}});
    const QString out = f.saved(&TdmElhProspSTPDF::riepilogoTassazioneSeparata, u"ts.pdf"_s);
    const QList<PdfReadBack::Page> pages = PdfReadBack::read(out);
    ASSERT_EQ(pages.size(), 1);
    EXPECT_EQ(lines(pages[0], 185), (QStringList{
                                        u"CF01 | ROSSI MARIO 01 | 2021 | 200,00 | 5,00"_s,
                                        u"2019 | 100,00 | 23,00"_s,
                                        u"Totale dipendente | 300,00 | 5,00 | 23,00"_s,
                                        u"CF02 | ROSSI MARIO 02 | 2021 | 50,00"_s,
                                        u"Totale dipendente | 50,00 | 0,00 | 0,00"_s,
                                        u"Totale anno | 2019 | 100,00 | 0,00 | 23,00"_s,
                                        u"Totale anno | 2021 | 250,00 | 5,00 | 0,00"_s,
                                        u"Totale complessivo | 350,00 | 5,00 | 23,00"_s,
                                    }));
    // A rule under each employee's subtotal and under the year lines.
    QList<double> rules;
    for (const PdfReadBack::Box &b : pages[0].boxes)
        rules.append(b.top);
    EXPECT_EQ(rules, (QList<double>{178 + 17 * 3, 178 + 17 * 5, 178 + 17 * 7}));
}

TEST(RiepilogoINPDAP, OnlyEmployeesWithRowsAndYearsInOrder)
{
    PrintFixture f;
    f.append(u"TDIP7_ANAGRFISCALI"_s, {employee(1), employee(2)});
    f.append(u"TINP7_INPDAP"_s,
             {{{u"SDIP7CODFIS"_s, code(2)}, {u"IINPDAP7ANNORIF"_s, 2023}, {u"FINPDAP7_DMA_IMPPENS"_s, u"1000"_s}},
              {{u"SDIP7CODFIS"_s, code(2)}, {u"IINPDAP7ANNORIF"_s, 2022}, {u"FINPDAP7_DMA_CONCREDITO"_s, u"0.4"_s}}});
    const QString out = f.saved(&TdmElhProspSTPDF::riepilogoINPDAP, u"inpdap.pdf"_s);
    const QList<PdfReadBack::Page> pages = PdfReadBack::read(out);
    ASSERT_EQ(pages.size(), 1);
    EXPECT_DOUBLE_EQ(pages[0].width, 842);
    EXPECT_EQ(lines(pages[0], 155), (QStringList{
                                        u"CF02 | ROSSI MARIO 02 | 2023 | 1000,00"_s,
                                        u"2022 | 0,40"_s,
                                        u"Totale dipendente | 1000,00 | 0,00 | 0,00 | 0,00 | 0,00 | 0,40"_s,
                                        u"Totale anno | 2022 | 0,00 | 0,00 | 0,00 | 0,00 | 0,00 | 0,40"_s,
                                        u"Totale anno | 2023 | 1000,00 | 0,00 | 0,00 | 0,00 | 0,00 | 0,00"_s,
                                        u"Totale complessivo | 1000,00 | 0,00 | 0,00 | 0,00 | 0,00 | 0,40"_s,
                                    }));
}

TEST(RiepilogoIRPEF, EveryEmployeeALineAndTheTotalAfterAPageBreak)
{
    PrintFixture f;
    QList<QJsonObject> employees;
    for (int n = 1; n <= 23; ++n)
        employees.append(employee(n, {{u"FFIS7REDDDETR"_s, u"1000"_s}, {u"FFIS7ADDCOMIRPEFACC"_s, u"0.01"_s}}));
    f.append(u"TDIP7_ANAGRFISCALI"_s, employees);
    const QString out = f.saved(&TdmElhProspSTPDF::riepilogoIRPEF, u"irpef.pdf"_s);
    const QList<PdfReadBack::Page> pages = PdfReadBack::read(out);
    ASSERT_EQ(pages.size(), 2);
    EXPECT_EQ(lines(pages[0], 165).size(), 23);
    EXPECT_EQ(lines(pages[0], 165)[22], u"CF23 | ROSSI MARIO 23 | 1000,00 | 0,01"_s);
    EXPECT_EQ(lines(pages[1], 165),
              QStringList{u"Totale complessivo | 23000,00 | 0,00 | 0,00 | 0,00 | 0,00 | 0,00 | 0,23"_s});
    ASSERT_EQ(pages[1].boxes.size(), 1);
    EXPECT_NEAR(pages[1].boxes[0].top, 158, 0.001);
    EXPECT_NEAR(pages[1].boxes[0].width, 727, 0.001);
}

TEST(RiepilogoAutonomi, EachPaymentBesideItsPerson)
{
    PrintFixture f;
    f.append(u"TDAU7_DATIAUTONOM"_s, {{{u"SDAU7CODFIS"_s, u"VRDLGU70A01D653X"_s},
                                       {u"SDAU7COGNOME"_s, u"VERDI"_s},
                                       {u"SDAU7NOME"_s, u"LUIGI"_s},
                                       {u"SDAU7SEX"_s, u"M"_s}},
                                      {{u"SDAU7CODFIS"_s, u"BNCNNA80A41D653Y"_s},
                                       {u"SDAU7COGNOME"_s, u"BIANCHI"_s},
                                       {u"SDAU7NOME"_s, u"ANNA"_s},
                                       {u"SDAU7SEX"_s, u"F"_s}}});
    QList<QJsonObject> payments;
    for (int year = 2021; year <= 2023; ++year) {
        payments.append({{u"SDAU7CODFIS"_s, u"VRDLGU70A01D653X"_s},
                         {u"SDSE7ANNO"_s, QString::number(year)},
                         {u"SCAUCODICE"_s, u"A"_s},
                         {u"FDSE7AMMLORDO"_s, u"1000"_s},
                         {u"FDSE7RITTITACC"_s, u"200"_s}});
    }
    f.append(u"TDSE7_SOMMEEROGATE"_s, payments);
    const QString out = f.saved(&TdmElhProspSTPDF::riepilogoAutonomi, u"autonomi.pdf"_s);
    const QList<PdfReadBack::Page> pages = PdfReadBack::read(out);
    ASSERT_EQ(pages.size(), 1);
    EXPECT_EQ(lines(pages[0], 175), (QStringList{
                                        u"VRDLGU70A01D653X | VERDI LUIGI | 2023 | A | 1000,00 | 200,00"_s,
                                        u"VRDLGU70A01D653X | VERDI LUIGI | 2022 | A | 1000,00 | 200,00"_s,
                                        u"VRDLGU70A01D653X | VERDI LUIGI | 2021 | A | 1000,00 | 200,00"_s,
                                        u"Totale complessivo | 3000,00 | 0,00 | 0,00 | 600,00 | 0,00 | 0,00 | 0,00"_s,
                                    }));
}
