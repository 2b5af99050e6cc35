#include "ElhMProspSTPDF.h"
#include "PrintTestSupport.h"

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

// Amount fields carry the row number, so that a row can be recognised.
QStringList amounts(int from, int to)
{
    QStringList list;
    for (int n = from; n <= to; ++n)
        list.append(QString::number(n) + u",00"_s);
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

// Where each row goes is the supply file's: the telematic tests compare
// every golden return's file with its prints. These are what only the
// prints do.

TEST(ProspettoST, TheFirstModuleOfAnAgentShowsEverySectionLaterModulesOnlyTheirOwn)
{
    PrintFixture f;
    f.append(u"TPST_PROSPETTOST"_s, rows(1, 13, u"FPSTRITOPEARTE"_s, u"DPSTDTVERS"_s));
    f.append(u"TPST2_PROSPETTOSTS2"_s, rows(101, 113, u"FPST2RITEFFETTUATE"_s, u"DPST2DTVERS"_s));
    const QString out = f.saved(&TdmElhProspSTPDF::stampaST, u"st.pdf"_s);
    EXPECT_EQ(plan(viewPages(out, kStAmountLeft, kStAmountRight)),
              (QStringList{u"23 01 "_s + amounts(1, 12).join(u' '), u"24 01 "_s + amounts(101, 112).join(u' '),
                           u"25 01"_s, u"26 01"_s, u"23 02 13,00"_s, u"24 02 113,00"_s}));
    // Pages without rows carry only their headers: the banner, the agent's code, the module.
    const QList<PdfReadBack::Page> pages = PdfReadBack::read(out);
    EXPECT_EQ(pages[2].strings(), (QStringList{TdmElhPDF::kBanner, u"01"_s, u"80012345676"_s}));
}

TEST(ProspettoSS, OnePagePerRecordAfterTheReminder)
{
    PrintFixture f;
    f.append(u"TPSS_PROSPETTOSS"_s, rows(1, 3, u"FQUADROSYRIT1_SS"_s, QString()));
    const QString out = f.saved(&TdmElhProspSTPDF::stampaSS, u"ss.pdf"_s);
    ASSERT_EQ(f.findings.entries().size(), 1);
    EXPECT_EQ(f.findings.entries()[0].level, FindingLevel::Warning);
    EXPECT_EQ(f.findings.texts().first(),
              u"Si ricorda che la stampa dei prospetti SS è aggiornata con i dati calcolati "
              u"durante l'ultima creazione del file telematico."_s);
    EXPECT_EQ(plan(viewPages(out, 60, 320)), (QStringList{u"21 01 1,00"_s, u"21 02 2,00"_s, u"21 03 3,00"_s}));
}

TEST(Prospetti, NothingToPrintOrAMissingTemplateMakesNoFile)
{
    PrintFixture f;
    TdmElhProspSTPDF print(f.store, f.findings);
    using Print = Outcome (TdmElhProspSTPDF::*)(const QString &);
    for (const Print p : {&TdmElhProspSTPDF::stampaST, &TdmElhProspSTPDF::stampaSV, &TdmElhProspSTPDF::stampaSX,
                          &TdmElhProspSTPDF::stampaSY, &TdmElhProspSTPDF::stampaDI, &TdmElhProspSTPDF::stampaSS})
        EXPECT_EQ((print.*p)(f.file(u"vuoto.pdf"_s)), Outcome::NothingToPrint);
    EXPECT_EQ(f.findings.texts(), QStringList{TdmElhProspSTPDF::kReminderSS}); // only the reminder
    EXPECT_FALSE(QFile::exists(f.file(u"vuoto.pdf"_s)));

    f.findings.clear();
    QFile::rename(f.coordStp(u"770_sempl_mod.pdf"_s), f.coordStp(u"altro.pdf"_s));
    f.append(u"TPSV_PROSPETTOSV"_s, rows(1, 1, u"FPSVTRATTEFF"_s, u"DPSVDTVERS"_s));
    EXPECT_EQ(print.stampaSV(f.file(u"sv.pdf"_s)), Outcome::Failed);
    EXPECT_FALSE(QFile::exists(f.file(u"sv.pdf"_s)));
    ASSERT_EQ(f.findings.entries().size(), 1);
    EXPECT_EQ(f.findings.entries()[0].level, FindingLevel::Error);
    EXPECT_TRUE(f.findings.texts()[0].startsWith(TdmElhPDF::kOpenErrorText));
    EXPECT_TRUE(f.findings.texts()[0].endsWith(u"770_sempl_mod.pdf» non esiste."_s));
    // The datasets are closed again: the next print starts afresh.
    QFile::rename(f.coordStp(u"altro.pdf"_s), f.coordStp(u"770_sempl_mod.pdf"_s));
    EXPECT_EQ(print.stampaSV(f.file(u"sv.pdf"_s)), Outcome::Saved);
}
