#include "ClientDataSet.h"
#include "ElhMPDF.h"
#include "NrFindings.h"
#include "PdfReadBack.h"
#include "QtPrinters.h"
#include "THlkPdf.h"
#include "TempDir.h"

#include <gtest/gtest.h>

using namespace Qt::Literals::StringLiterals;

namespace {

// A print module with two datasets: one open with one record, one closed.
class TestPrint : public TdmElhPDF
{
public:
    ClientDataSet cdsRighe{u"cdsRighe"_s};
    ClientDataSet cdsChiuso{u"cdsChiuso"_s};

    explicit TestPrint(FindingSink &findings)
        : TdmElhPDF(findings)
    {
        for (ClientDataSet *ds : {&cdsRighe, &cdsChiuso}) {
            ds->fieldDefs().add(u"TESTO"_s, FieldType::String, 20);
            ds->fieldDefs().add(u"IMPORTO"_s, FieldType::Decimal);
        }
        cdsRighe.createDataSet();
        cdsRighe.append();
        cdsRighe.fieldByName(u"TESTO"_s).setAsString(u"riga"_s);
        cdsRighe.fieldByName(u"IMPORTO"_s).setAsString(u"1234,99"_s);
        cdsRighe.post();
    }

protected:
    ClientDataSet *findDataSet(const QString &name) override
    {
        for (ClientDataSet *ds : {&cdsRighe, &cdsChiuso}) {
            if (ds->name().compare(name, Qt::CaseInsensitive) == 0)
                return ds;
        }
        return nullptr;
    }
};

// A two-page template of its own, the descriptor of data/OverlayEngine.xml and the print opened on them.
class OverlayEngine : public ::testing::Test
{
protected:
    TempDir dir;
    QString templatePath;
    QString descriptorPath;
    FindingList findings;
    TestPrint print{findings};

    void SetUp() override
    {
        THlkPdf pdf;
        const int doc = pdf.NewDocument();
        pdf.Check(pdf.CopyPageRanges(doc, u"1"_s));
        for (int p = 1; p <= 2; ++p) {
            pdf.Check(pdf.SelectPage(p));
            pdf.NrDrawText(200, 800, u"Modello pagina %1"_s.arg(p), 0, THlkPdf::Alignment::Left);
        }
        templatePath = dir.file(u"modello.pdf"_s);
        pdf.Check(pdf.SaveToFile(templatePath));
        descriptorPath = QStringLiteral(ELH_SOURCE_DIR "/tests/units/print/data/OverlayEngine.xml");
        ASSERT_TRUE(print.ApriModello(templatePath, descriptorPath));
    }

    QList<PdfReadBack::Page> save()
    {
        const QString out = dir.file(u"uscita.pdf"_s);
        print.EliminaPagine(1, 1);
        print.SalvaPdf(out, false, false);
        return PdfReadBack::read(out, templatePath);
    }
};

} // namespace

TEST_F(OverlayEngine, RowIndexesMoveTheRectanglesTheyServe)
{
    print.CreaPagina(1, false);
    for (const int index : {0, 3, 6})
        EXPECT_TRUE(print.StampaSezione(u"righe"_s, u"CDSRIGHE"_s, index));
    const QList<PdfReadBack::Page> pages = save();
    ASSERT_EQ(pages.size(), 1);
    const QList<PdfReadBack::Text> rows = pages[0].find(u"riga"_s);
    ASSERT_EQ(rows.size(), 3);
    // MinIndex 0, MaxIndex 0: every index, index × vOffset down, index × oOffset right.
    EXPECT_DOUBLE_EQ(rows[0].baseline, 100);
    EXPECT_DOUBLE_EQ(rows[0].x, 50);
    EXPECT_DOUBLE_EQ(rows[1].baseline, 160);
    EXPECT_DOUBLE_EQ(rows[1].x, 65);
    EXPECT_DOUBLE_EQ(rows[2].baseline, 220);
    // MinIndex 1, MaxIndex 5: only index 3 of 0, 3, 6, two steps below its Top;
    // TR truncates, right alignment ends the text at Left.
    const QList<PdfReadBack::Text> amounts = pages[0].find(u"1.234"_s);
    ASSERT_EQ(amounts.size(), 1);
    EXPECT_DOUBLE_EQ(amounts[0].baseline, 320);
    EXPECT_NEAR(amounts[0].x + amounts[0].width, 400, 0.01);
    // A rectangle without MaxIndex serves every index; FL and centred.
    const QList<PdfReadBack::Text> centred = pages[0].find(u"1234,99"_s);
    ASSERT_EQ(centred.size(), 3);
    EXPECT_NEAR(centred[0].x + centred[0].width / 2, 300, 0.01);
}

TEST_F(OverlayEngine, PagesByExactNameSectionsIgnoringCase)
{
    EXPECT_FALSE(print.StampaPagina(u"righe"_s));
    EXPECT_TRUE(print.StampaPagina(u"Righe"_s));
    EXPECT_TRUE(print.StampaPagina(u"Testata"_s));
    EXPECT_FALSE(print.StampaSezione(u"Manca"_s, u"cdsRighe"_s, 1));
    EXPECT_FALSE(print.StampaSezione(u"Righe"_s, u"cdsManca"_s, 1));
    // A closed dataset draws nothing and stops the page.
    EXPECT_FALSE(print.StampaPagina(u"Chiusa"_s));
    const QList<PdfReadBack::Page> pages = save();
    ASSERT_EQ(pages.size(), 3);
    EXPECT_EQ(pages[0].templatePage, 1);
    EXPECT_EQ(pages[1].templatePage, 2);
    EXPECT_EQ(pages[2].templatePage, 1);
    EXPECT_EQ(pages[0].find(u"riga"_s).size(), 1);
    EXPECT_TRUE(pages[1].has(u"riga"_s));
    EXPECT_FALSE(pages[2].has(u"riga"_s));
    for (const PdfReadBack::Page &p : pages) {
        const QList<PdfReadBack::Text> banner = p.find(TdmElhPDF::kBanner);
        ASSERT_EQ(banner.size(), 1);
        EXPECT_TRUE(banner[0].rotated);
        EXPECT_DOUBLE_EQ(banner[0].x, 10);
        EXPECT_DOUBLE_EQ(banner[0].baseline, 747);
        EXPECT_DOUBLE_EQ(banner[0].size, 7);
    }
}

TEST_F(OverlayEngine, DescriptorFaultsEndThePrint)
{
    print.CreaPagina(1, false);
    EXPECT_THROW(print.StampaSezione(u"Ignota"_s, u"cdsNessuno"_s, 1), Exception);
    EXPECT_THROW(print.StampaSezione(u"CampoIgnoto"_s, u"cdsRighe"_s, 1), EDatabaseError);
    try {
        print.CreaPagina(23, false);
        FAIL();
    } catch (const EPdfError &e) {
        EXPECT_TRUE(e.message().startsWith(u"Errore nel documento PDF (Copia pagina23): "_s));
    }
}

TEST_F(OverlayEngine, MissingFilesLeaveThePrintAsItWas)
{
    print.CreaPagina(2, false);
    EXPECT_FALSE(print.ApriModello(templatePath, dir.file(u"manca.xml"_s)));
    EXPECT_FALSE(print.ApriModello(dir.file(u"manca.pdf"_s), descriptorPath));
    // The component of the print under way is untouched.
    print.CreaPagina(1, false);
    const QList<PdfReadBack::Page> pages = save();
    ASSERT_EQ(pages.size(), 2);
    EXPECT_EQ(pages[0].templatePage, 2);

    const QString broken = dir.write(u"rotto.xml"_s, "<PdfConf><Page>");
    EXPECT_FALSE(print.ApriModello(templatePath, broken));
    print.reportOpenError();
    ASSERT_EQ(findings.entries().size(), 1);
    const Finding error = findings.entries().first();
    EXPECT_EQ(error.level, FindingLevel::Error);
    EXPECT_TRUE(error.text.startsWith(
        u"Impossibile creare il file PDF:\n\r1) Controllare che il file di template e il file XML di configurazione "
        u"esistano\n\r   e siano contenuti nella giusta cartella\n\r2) Che l'XML abbia una sintassi corretta\n\r3) I "
        u"file "
        u"potrebbero essere danneggiati\n\r\n\rDescrittore «"_s));
    EXPECT_TRUE(error.text.contains(u"XML non valido"_s));
}
