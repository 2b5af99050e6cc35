#include "PrintTestSupport.h"
#include "print/ElhMProspSTPDF.h"

#include <QDate>
#include <QFile>

#include <algorithm>

#include <gtest/gtest.h>

using namespace Qt::Literals::StringLiterals;
using Outcome = TdmElhProspSTPDF::Outcome;

namespace {

// Row n of a prospetto paid on the n-th day of 2023, the amount n in `field`.
QJsonObject row(int n, const QString &amountField, const QString &dateField, const QString &agent = QString())
{
    QJsonObject o{{amountField, QString::number(n)}};
    if (!dateField.isEmpty())
        o.insert(dateField, QDate(2023, 1, 1).addDays(n).toString(Qt::ISODate));
    if (!agent.isEmpty())
        o.insert(u"SSOE7CODICE"_s, agent);
    return o;
}

QList<QJsonObject> rows(int from, int to, const QString &amountField, const QString &dateField,
                        const QString &agent = QString())
{
    QList<QJsonObject> list;
    for (int n = from; n <= to; ++n)
        list.append(row(n, amountField, dateField, agent));
    return list;
}

QStringList amounts(int from, int to)
{
    QStringList list;
    for (int n = from; n <= to; ++n)
        list.append(amount(n));
    return list;
}

// Template page, module and the amounts of the page, one line per page.
QStringList plan(const QList<PageView> &pages)
{
    QStringList lines;
    for (const PageView &p : pages) {
        QStringList parts{QString::number(p.templatePage)};
        if (!p.module.isEmpty())
            parts.append(p.module);
        lines.append((parts + p.column).join(u' '));
    }
    return lines;
}

// The amount columns of the first lines of ST sections I to IV.
constexpr double kStAmountLeft = 100;
constexpr double kStAmountRight = 176;

} // namespace

TEST(ProspettoST, TwelveRowsFillAPageAndTheThirteenthOpensModuleTwo)
{
    PrintFixture f;
    // Entered last to first: printed by date of payment.
    QList<QJsonObject> twelve = rows(1, 12, u"FPSTRITOPEARTE"_s, u"DPSTDTVERS"_s);
    std::reverse(twelve.begin(), twelve.end());
    f.append(u"TPST_PROSPETTOST"_s, twelve);
    EXPECT_EQ(plan(viewPages(f.saved(&TdmElhProspSTPDF::stampaST, u"st12.pdf"_s), kStAmountLeft, kStAmountRight)),
              (QStringList{u"23 01 "_s + amounts(1, 12).join(u' '), u"24 01"_s, u"25 01"_s, u"26 01"_s}));

    f.append(u"TPST_PROSPETTOST"_s, {row(13, u"FPSTRITOPEARTE"_s, u"DPSTDTVERS"_s)});
    // Sections II to IV once, after the first page, when the 13th row arrives.
    EXPECT_EQ(
        plan(viewPages(f.saved(&TdmElhProspSTPDF::stampaST, u"st13.pdf"_s), kStAmountLeft, kStAmountRight)),
        (QStringList{u"23 01 "_s + amounts(1, 12).join(u' '), u"24 01"_s, u"25 01"_s, u"26 01"_s, u"23 02 13,00"_s}));
    EXPECT_TRUE(f.messages.messages().isEmpty());
}

TEST(ProspettoST, TwentyFiveRowsWithoutOtherSections)
{
    PrintFixture f;
    f.append(u"TPST_PROSPETTOST"_s, rows(1, 25, u"FPSTRITOPEARTE"_s, u"DPSTDTVERS"_s));
    const QString out = f.saved(&TdmElhProspSTPDF::stampaST, u"st.pdf"_s);
    EXPECT_EQ(plan(viewPages(out, kStAmountLeft, kStAmountRight)),
              (QStringList{u"23 01 "_s + amounts(1, 12).join(u' '), u"24 01"_s, u"25 01"_s, u"26 01"_s,
                           u"23 02 "_s + amounts(13, 24).join(u' '), u"23 03 25,00"_s}));
    // Pages 24 to 26 carry only their headers: the banner, the agent's code, the module.
    const QList<PdfReadBack::Page> pages = PdfReadBack::read(out);
    for (int p = 1; p <= 3; ++p) {
        EXPECT_EQ(pages[p].strings(), (QStringList{TdmElhPDF::kBanner, u"80012345676"_s, u"01"_s})) << p;
    }
    // Every page of ST I carries the agent's code.
    EXPECT_EQ(textIn(pages[4], 300, 524, 46), u"80012345676"_s);
}

TEST(ProspettoST, OtherSectionsFollowTheirAgentOnPagesOfTheirOwn)
{
    PrintFixture f;
    const QString extinct = u"82009870542"_s;
    f.append(u"TPST_PROSPETTOST"_s, rows(1, 2, u"FPSTRITOPEARTE"_s, u"DPSTDTVERS"_s));
    f.append(u"TPST_PROSPETTOST"_s, rows(3, 3, u"FPSTRITOPEARTE"_s, u"DPSTDTVERS"_s, extinct));
    f.append(u"TPST2_PROSPETTOSTS2"_s, rows(101, 114, u"FPST2RITEFFETTUATE"_s, u"DPST2DTVERS"_s));
    f.append(u"TPST2_PROSPETTOSTS2"_s, rows(201, 201, u"FPST2RITEFFETTUATE"_s, u"DPST2DTVERS"_s, extinct));
    f.append(u"TPST3_PROSPETTOSTS3"_s, rows(301, 301, u"FPST3RITEFFETTUATE27"_s, QString()));
    f.append(u"TPST4_PROSPETTOSTS4"_s, rows(401, 401, u"FIMPAPPL39"_s, QString(), extinct));
    const QString out = f.saved(&TdmElhProspSTPDF::stampaST, u"st.pdf"_s);
    EXPECT_EQ(plan(viewPages(out, kStAmountLeft, kStAmountRight)),
              (QStringList{u"23 01 1,00 2,00"_s, u"24 01 "_s + amounts(101, 112).join(u' '), u"24 01 113,00 114,00"_s,
                           u"25 01 301,00"_s, u"26 01"_s,
                           // The extinct agent's modules start again from 1.
                           u"23 01 3,00"_s, u"24 01 201,00"_s, u"25 01"_s, u"26 01 401,00"_s}));
    const QList<PdfReadBack::Page> pages = PdfReadBack::read(out);
    EXPECT_EQ(textIn(pages[5], 300, 524, 112), extinct);
    EXPECT_EQ(textIn(pages[6], 300, 524, 112), extinct);
    EXPECT_EQ(textIn(pages[0], 300, 524, 112), QString());
}

TEST(ProspettoST, WithoutSectionIAnEmptyFirstPageThenTheOtherSections)
{
    PrintFixture f;
    f.append(u"TPST2_PROSPETTOSTS2"_s, rows(1, 2, u"FPST2RITEFFETTUATE"_s, u"DPST2DTVERS"_s));
    const QString out = f.saved(&TdmElhProspSTPDF::stampaST, u"st.pdf"_s);
    EXPECT_EQ(plan(viewPages(out, kStAmountLeft, kStAmountRight)),
              (QStringList{u"23"_s, u"24 1,00 2,00"_s, u"25"_s, u"26"_s}));
    EXPECT_EQ(PdfReadBack::read(out).first().strings(), QStringList{TdmElhPDF::kBanner});
}

TEST(ProspettoST, MoreThanNinetyNineModulesStopThePrint)
{
    PrintFixture f;
    f.append(u"TPST_PROSPETTOST"_s, rows(1, 12 * 99 + 1, u"FPSTRITOPEARTE"_s, u"DPSTDTVERS"_s));
    TdmElhProspSTPDF print(f.store);
    try {
        print.stampaST(f.file(u"st.pdf"_s));
        FAIL();
    } catch (const Exception &e) {
        EXPECT_EQ(e.message(), u"Il prospetto ST richiede più di 99 moduli per lo stesso sostituto: "
                               u"il modello ne numera al massimo 99."_s);
    }
    EXPECT_FALSE(QFile::exists(f.file(u"st.pdf"_s)));
}

TEST(ProspettoSV, TheSecondAgentStartsANewPageFromModuleOne)
{
    PrintFixture f;
    f.append(u"TPSV_PROSPETTOSV"_s, rows(1, 3, u"FPSVTRATTEFF"_s, u"DPSVDTVERS"_s));
    f.append(u"TPSV_PROSPETTOSV"_s, rows(4, 5, u"FPSVTRATTEFF"_s, u"DPSVDTVERS"_s, u"82009870542"_s));
    const QString out = f.saved(&TdmElhProspSTPDF::stampaSV, u"sv.pdf"_s);
    EXPECT_EQ(plan(viewPages(out, kStAmountLeft, kStAmountRight)),
              (QStringList{u"27 01 1,00 2,00 3,00"_s, u"27 01 4,00 5,00"_s}));
    EXPECT_EQ(textIn(PdfReadBack::read(out)[1], 300, 524, 112), u"82009870542"_s);
}

TEST(ProspettoDI, TwentyOneRowsAPageWithTheDriftOfTheForm)
{
    PrintFixture f;
    f.append(u"TPDI_PROSPETTODI"_s, rows(1, 22, u"FPDIMAGCRED"_s, QString()));
    const QString out = f.saved(&TdmElhProspSTPDF::stampaDI, u"di.pdf"_s);
    const QList<PdfReadBack::Page> pages = PdfReadBack::read(out, PrintFixture::templatePath(u"770_sempl_mod.pdf"_s));
    ASSERT_EQ(pages.size(), 2);
    EXPECT_EQ(pages[0].templatePage, 22);
    EXPECT_EQ(pages[1].templatePage, 22);
    EXPECT_EQ(textIn(pages[0], 530, 558, 46), u"01"_s);
    EXPECT_EQ(textIn(pages[1], 530, 558, 46), u"02"_s);
    QList<double> baselines;
    for (const PdfReadBack::Text &t : pages[0].texts) {
        if (t.text.endsWith(u",00"_s))
            baselines.append(t.baseline);
    }
    ASSERT_EQ(baselines.size(), 21);
    std::sort(baselines.begin(), baselines.end());
    for (int i = 0; i < 21; ++i) {
        const int extra = i >= 18 ? 4 : i >= 14 ? 3 : i >= 9 ? 2 : i > 4 ? 1 : 0;
        EXPECT_DOUBLE_EQ(baselines[i], 173 + 20 * i + extra) << i;
    }
    EXPECT_EQ(pages[1].find(u"22,00"_s).size(), 1);
    EXPECT_DOUBLE_EQ(pages[1].find(u"22,00"_s).first().baseline, 173);
}

TEST(ProspettoSY, SectionIContinuesOnThePageOfSectionIIThenOnPagesOfItsOwn)
{
    PrintFixture f;
    f.append(u"TPSY2_PROSPETTOSY2"_s, rows(1, 6, u"FPSYSOMERO1"_s, QString()));
    f.append(u"TPSY_PROSPETTOSY"_s, rows(101, 107, u"FPSYSOMERO"_s, QString()));
    const QString out = f.saved(&TdmElhProspSTPDF::stampaSY, u"sy.pdf"_s);
    // Section II amounts, then section I amounts.
    EXPECT_EQ(plan(viewPages(out, 172, 234)),
              (QStringList{u"30 01 "_s + amounts(1, 5).join(u' '), u"30 02"_s, u"30 03 6,00"_s}));
    EXPECT_EQ(plan(viewPages(out, 336, 446)),
              (QStringList{u"30 01 "_s + amounts(101, 105).join(u' '), u"30 02 106,00 107,00"_s, u"30 03"_s}));
}

TEST(ProspettoSY, SectionIVHasPagesOfItsOwnAndLeavesTheModuleAlone)
{
    PrintFixture f;
    f.append(u"TPSY2_PROSPETTOSY2"_s, rows(1, 6, u"FPSYSOMERO1"_s, QString()));
    f.append(u"TPSY3_PROSPETTOSY3"_s, rows(201, 205, u"FPSY3RITEFF"_s, QString()));
    f.append(u"TPSY4_PROSPETTOSY4"_s, rows(301, 306, u"FSY4AMMLORDCORR"_s, QString()));
    const QString out = f.saved(&TdmElhProspSTPDF::stampaSY, u"sy.pdf"_s);
    EXPECT_EQ(plan(viewPages(out, 306, 416)), (QStringList{u"30 01 "_s + amounts(201, 204).join(u' '),
                                                           u"30 02 205,00"_s, u"31 02"_s, u"31 03"_s, u"30 03"_s}));
    EXPECT_EQ(plan(viewPages(out, 96, 174)),
              (QStringList{u"30 01"_s, u"30 02"_s, u"31 02 "_s + amounts(301, 305).join(u' '), u"31 03 306,00"_s,
                           u"30 03"_s}));
}

TEST(ProspettoSS, OnePagePerRecordAfterTheReminder)
{
    PrintFixture f;
    f.append(u"TPSS_PROSPETTOSS"_s, rows(1, 3, u"FQUADROSYRIT1_SS"_s, QString()));
    const QString out = f.saved(&TdmElhProspSTPDF::stampaSS, u"ss.pdf"_s);
    ASSERT_EQ(f.messages.messages().size(), 1);
    EXPECT_EQ(f.messages.messages()[0].type, MsgDlgType::Warning);
    EXPECT_EQ(f.messages.texts().first(),
              u"Si ricorda che la stampa dei prospetti SS è aggiornata con i dati calcolati "
              u"durante l'ultima creazione del file telematico."_s);
    EXPECT_EQ(plan(viewPages(out, 60, 320)), (QStringList{u"21 01 1,00"_s, u"21 02 2,00"_s, u"21 03 3,00"_s}));
}

TEST(ProspettoSX, TwoPagesPerRecordNumberedAcrossAgents)
{
    PrintFixture f;
    f.append(u"TPSX_PROSPETTOSX"_s,
             {row(1, u"FCRECONGASSFIS_SX"_s, QString()), row(2, u"FCRECONGASSFIS_SX"_s, QString(), u"82009870542"_s)});
    const QString out = f.saved(&TdmElhProspSTPDF::stampaSX, u"sx.pdf"_s);
    EXPECT_EQ(plan(viewPages(out, 60, 185)), (QStringList{u"28 01 1,00"_s, u"29 01"_s, u"28 02 2,00"_s, u"29 02"_s}));
}

TEST(Prospetti, NothingToPrintMakesNoFile)
{
    PrintFixture f;
    TdmElhProspSTPDF print(f.store);
    using Print = Outcome (TdmElhProspSTPDF::*)(const QString &);
    for (const Print p : {&TdmElhProspSTPDF::stampaST, &TdmElhProspSTPDF::stampaSV, &TdmElhProspSTPDF::stampaSX,
                          &TdmElhProspSTPDF::stampaSY, &TdmElhProspSTPDF::stampaDI}) {
        EXPECT_EQ((print.*p)(f.file(u"vuoto.pdf"_s)), Outcome::NothingToPrint);
    }
    EXPECT_TRUE(f.messages.messages().isEmpty());
    EXPECT_EQ(print.stampaSS(f.file(u"vuoto.pdf"_s)), Outcome::NothingToPrint);
    EXPECT_EQ(f.messages.messages().size(), 1); // only the reminder
    EXPECT_FALSE(QFile::exists(f.file(u"vuoto.pdf"_s)));
}

TEST(Prospetti, AMissingTemplateShowsTheErrorBoxAndMakesNoFile)
{
    PrintFixture f;
    QFile::rename(f.coordStp(u"770_sempl_mod.pdf"_s), f.coordStp(u"altro.pdf"_s));
    f.append(u"TPSV_PROSPETTOSV"_s, rows(1, 1, u"FPSVTRATTEFF"_s, u"DPSVDTVERS"_s));
    TdmElhProspSTPDF print(f.store);
    EXPECT_EQ(print.stampaSV(f.file(u"sv.pdf"_s)), Outcome::Failed);
    EXPECT_FALSE(QFile::exists(f.file(u"sv.pdf"_s)));
    ASSERT_EQ(f.messages.messages().size(), 1);
    EXPECT_EQ(f.messages.messages()[0].type, MsgDlgType::Error);
    EXPECT_TRUE(f.messages.texts()[0].startsWith(TdmElhPDF::kOpenErrorText));
    EXPECT_TRUE(f.messages.texts()[0].endsWith(u"770_sempl_mod.pdf» non esiste."_s));
    // The datasets are closed again: the next print starts afresh.
    QFile::rename(f.coordStp(u"altro.pdf"_s), f.coordStp(u"770_sempl_mod.pdf"_s));
    EXPECT_EQ(print.stampaSV(f.file(u"sv.pdf"_s)), Outcome::Saved);
}
