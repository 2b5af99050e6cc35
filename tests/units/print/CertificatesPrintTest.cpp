// The employee and self-employed certificates read back from the PDF: the
// pages of each person in their order, every row of a section on its page,
// the dependants under the first one, and the selection of persons.

#include "ClientDataSet.h"
#include "NrExceptions.h"
#include "PrintTestSupport.h"
#include "ElhMPdfAut.h"
#include "ElhMPdfDip.h"
#include "ElhMStampe.h"

#include <QFile>

#include <gtest/gtest.h>

using namespace Qt::Literals::StringLiterals;

namespace {

const QString kRossi = u"RSSMRA75D12D653T"_s;
const QString kBianchi = u"BNCLRA90B41G478Z"_s;

QJsonObject employee(const QString &code, const QString &surname)
{
    return {{u"SDIP7CODFIS"_s, code},
            {u"SDIP7COGNOME"_s, surname},
            {u"SDIP7GRUPPOANA"_s, u"D"_s},
            {u"FFIS7REDDDETR"_s, u"32450.00"_s}};
}

QList<QJsonObject> rowsOf(const QString &code, const QString &field, const QStringList &values)
{
    QList<QJsonObject> rows;
    for (const QString &value : values)
        rows.append({{u"SDIP7CODFIS"_s, code}, {field, value}});
    return rows;
}

QList<int> templatePages(const QList<PdfReadBack::Page> &pages)
{
    QList<int> numbers;
    for (const PdfReadBack::Page &p : pages)
        numbers.append(p.templatePage);
    return numbers;
}

// The baseline of a text on a page, -1 when it is not there.
double baselineOf(const PdfReadBack::Page &page, const QString &text)
{
    const QList<PdfReadBack::Text> found = page.find(text);
    return found.isEmpty() ? -1 : found.first().baseline;
}

template<class Print>
QList<PdfReadBack::Page> printed(PrintFixture &f, const std::optional<QStringList> &codes = std::nullopt)
{
    TdmElhStampe stampe(f.store);
    Print print(f.store, stampe);
    std::optional<QList<Bookmark>> chosen;
    if (codes) {
        chosen.emplace();
        const QString field = std::is_same_v<Print, TdmElhPdfDip> ? u"SDIP7CODFIS"_s : u"SDAU7CODFIS"_s;
        for (const QString &code : *codes) {
            EXPECT_TRUE(print.cdsMultiSelect.locate(field, code));
            chosen->append(print.cdsMultiSelect.bookmark());
        }
    }
    const QString out = f.file(u"certificati.pdf"_s);
    EXPECT_EQ(print.Crea(out, chosen), TdmElhPdfCertificato::Outcome::Saved);
    return PdfReadBack::read(out, PrintFixture::templatePath(u"770_sempl_mod.pdf"_s));
}

} // namespace

TEST(CertificatesPrint, AnEmployeeWithEverySectionGetsEachRowOnAPageOfItsGroup)
{
    PrintFixture f;
    f.append(u"TDIP7_ANAGRFISCALI"_s, {employee(kRossi, u"ROSSI"_s)});
    f.append(u"TREE7_REDDITOESTER"_s, rowsOf(kRossi, u"FFIS7REDDESTERO"_s, {u"4201"_s, u"4202"_s, u"4203"_s}));
    f.append(u"TCFF7_CFFAMILIARE"_s, rowsOf(kRossi, u"FFIS7PREVFAMCARICO"_s, {u"301"_s}));
    f.append(u"TTAS7_TASSAZIONESE"_s, rowsOf(kRossi, u"FTAS7RITOPERATE"_s, {u"601"_s, u"602"_s}));
    f.append(u"TTFR7_TFR"_s, rowsOf(kRossi, u"FRL7INDENANNO"_s, {u"45230"_s}));
    f.append(u"TANN7_ANNOTAZIONI"_s, rowsOf(kRossi, u"SANN701"_s, {u"AA"_s}));
    // The first row and eight more: seven fit page 7, the last goes on a second one.
    QStringList months{u"01"_s};
    for (int k = 1; k <= 8; ++k)
        months.append(u"%1"_s.arg(k + 1, 2, 10, QChar(u'0')));
    QList<QJsonObject> dependants = rowsOf(kRossi, u"SCFC7MESICARFIGL"_s, months);
    dependants[0].insert(u"SCFC7MESICARCON"_s, u"12"_s);
    f.append(u"TCFC7_CONFAMCARICO"_s, dependants);
    f.append(u"TINP7_INPDAP"_s, {{{u"SDIP7CODFIS"_s, kRossi},
                                  {u"FINPDAP7_DMA_CONTFR"_s, u"0.40"_s},
                                  {u"FINPDAP7_DMA_IMPPENS"_s, u"32450.49"_s}}});

    const QList<PdfReadBack::Page> pages = printed<TdmElhPdfDip>(f);
    ASSERT_EQ(templatePages(pages), (QList<int>{4, 5, 5, 5, 6, 6, 7, 7, 8, 9, 10}));
    // Each page of the person carries his code; a row of a section per page.
    for (const PdfReadBack::Page &p : pages)
        EXPECT_TRUE(p.has(kRossi)) << p.templatePage;
    EXPECT_TRUE(pages[0].has(u"80012345676"_s));
    EXPECT_TRUE(pages[1].has(u"32450,00"_s));
    EXPECT_TRUE(pages[1].has(u"301,00"_s));
    for (int row = 0; row < 3; ++row) {
        EXPECT_TRUE(pages[1 + row].has(u"420%1,00"_s.arg(row + 1))) << row;
        EXPECT_EQ(pages[1 + row].has(u"32450,00"_s), row == 0) << row;
    }
    EXPECT_FALSE(pages[2].has(u"301,00"_s));
    EXPECT_TRUE(pages[2].has(u"80012345676"_s));
    EXPECT_TRUE(pages[4].has(u"601,00"_s) && pages[4].has(u"45230,00"_s));
    EXPECT_TRUE(pages[5].has(u"602,00"_s) && !pages[5].has(u"45230,00"_s));

    // Page 7: the first row at its places, the next seven 12 points apart
    // from 731, the eighth at 731 on a page of its own.
    EXPECT_EQ(baselineOf(pages[6], u"12"_s), 695);
    EXPECT_EQ(baselineOf(pages[6], u"01"_s), 719);
    for (int k = 0; k < 7; ++k)
        EXPECT_EQ(baselineOf(pages[6], u"%1"_s.arg(k + 2, 2, 10, QChar(u'0'))), 731 + 12 * k) << k;
    EXPECT_EQ(baselineOf(pages[7], u"09"_s), 731);
    EXPECT_FALSE(pages[7].has(u"AA"_s));
    EXPECT_TRUE(pages[6].has(u"AA"_s));
    // INPDAP: a contribution of cents is printed as 1, whole euros elsewhere.
    EXPECT_TRUE(pages[8].has(u"1"_s));
    EXPECT_TRUE(pages[8].has(u"32.450"_s));
}

TEST(CertificatesPrint, WithoutTheAgentsFiscalCodeNoFileIsMade)
{
    PrintFixture f(false);
    f.append(u"TDIP7_ANAGRFISCALI"_s, {employee(kRossi, u"ROSSI"_s)});
    TdmElhStampe stampe(f.store);
    TdmElhPdfDip print(f.store, stampe);
    const QString out = f.file(u"dipendenti.pdf"_s);
    try {
        print.Crea(out);
        ADD_FAILURE() << "printed without an agent";
    } catch (const ENrError &e) {
        EXPECT_EQ(e.message(),
                  u"IMPOSSIBILE CREARE LA STAMPA.\r\nVerificare che i dati del sostituto siano compilati"_s);
    }
    EXPECT_FALSE(QFile::exists(out));
}

TEST(CertificatesPrint, EveryPaymentOfAWorkerHasAPageOnlyTheFirstWithHisData)
{
    PrintFixture f;
    f.append(
        u"TDAU7_DATIAUTONOM"_s,
        {{{u"SDAU7CODFIS"_s, u"GLLRRT65L08G478C"_s}, {u"SDAU7COGNOME"_s, u"GALLI"_s}, {u"SDAU7GRUPPOANA"_s, u"A"_s}}});
    f.append(u"TDSE7_SOMMEEROGATE"_s,
             {{{u"SDAU7CODFIS"_s, u"GLLRRT65L08G478C"_s}, {u"FDSE7AMMLORDO"_s, u"2400"_s}, {u"SCAUCODICE"_s, u"A"_s}},
              {{u"SDAU7CODFIS"_s, u"GLLRRT65L08G478C"_s}, {u"FDSE7AMMLORDO"_s, u"1200"_s}, {u"SCAUCODICE"_s, u"M"_s}}});
    const QList<PdfReadBack::Page> pages = printed<TdmElhPdfAut>(f);
    ASSERT_EQ(templatePages(pages), (QList<int>{11, 11}));
    EXPECT_TRUE(pages[0].has(u"2400,00"_s) && pages[0].has(u"GALLI"_s)
                && pages[0].has(u"ISTITUTO COMPRENSIVO DI PROVA"_s));
    EXPECT_TRUE(pages[1].has(u"1200,00"_s) && pages[1].has(u"M"_s) && pages[1].has(u"GLLRRT65L08G478C"_s));
    EXPECT_FALSE(pages[1].has(u"GALLI"_s) || pages[1].has(u"ISTITUTO COMPRENSIVO DI PROVA"_s));
    EXPECT_TRUE(pages[1].has(u"        1"_s));
}

TEST(CertificatesPrint, ASelectionOfTwoPeoplePrintsBothInTheOrderChosen)
{
    PrintFixture f;
    f.append(u"TDIP7_ANAGRFISCALI"_s, {employee(kRossi, u"ROSSI"_s), employee(kBianchi, u"BIANCHI"_s),
                                       employee(u"VRDGPP58C10D653M"_s, u"VERDI"_s)});
    f.append(
        u"TDAU7_DATIAUTONOM"_s,
        {{{u"SDAU7CODFIS"_s, u"GLLRRT65L08G478C"_s}, {u"SDAU7COGNOME"_s, u"GALLI"_s}, {u"SDAU7GRUPPOANA"_s, u"A"_s}},
         {{u"SDAU7CODFIS"_s, u"02487650323"_s}, {u"SDAU7COGNOME"_s, u"STUDIO"_s}, {u"SDAU7GRUPPOANA"_s, u"A"_s}},
         {{u"SDAU7CODFIS"_s, u"80001230123"_s}, {u"SDAU7COGNOME"_s, u"ENTE"_s}, {u"SDAU7GRUPPOANA"_s, u"A"_s}}});

    const QList<PdfReadBack::Page> employees = printed<TdmElhPdfDip>(f, QStringList{kRossi, kBianchi});
    ASSERT_EQ(employees.size(), 14);
    EXPECT_TRUE(employees[0].has(u"ROSSI"_s));
    EXPECT_TRUE(employees[7].has(u"BIANCHI"_s));
    // The position in the list ordered by fiscal code, whoever is chosen.
    EXPECT_TRUE(employees[0].has(u"       2"_s));
    EXPECT_TRUE(employees[7].has(u"       1"_s));
    EXPECT_FALSE(employees[0].has(u"VERDI"_s) || employees[7].has(u"VERDI"_s));

    const QList<PdfReadBack::Page> workers =
        printed<TdmElhPdfAut>(f, QStringList{u"GLLRRT65L08G478C"_s, u"02487650323"_s});
    ASSERT_EQ(templatePages(workers), (QList<int>{11, 11}));
    EXPECT_TRUE(workers[0].has(u"GALLI"_s) && workers[1].has(u"STUDIO"_s));
}
