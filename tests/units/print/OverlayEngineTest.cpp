#include "ClientDataSet.h"
#include "NrMessages.h"
#include "PdfReadBack.h"
#include "QtPrinters.h"
#include "RecordingShell.h"
#include "TempDir.h"
#include "THlkPdf.h"
#include "print/ElhMPDF.h"

#include <QDir>
#include <QFileInfo>

#include <gtest/gtest.h>

using namespace Qt::Literals::StringLiterals;

namespace {

const char *kDescriptor = R"(<?xml version="1.0" encoding="UTF-8"?>
<PdfConf>
  <Page Name="Testata" Template="2">
    <Section Name="cdsRighe">
      <Edit Name="TESTO"><PrintRect Top="50" Left="100" Height="10"/></Edit>
    </Section>
  </Page>
  <Page Name="Righe" Template="1">
    <Section Name="cdsRighe">
      <Edit Name="TESTO" Alignment="taLeftJustify"><PrintRect Top="100" Left="50" Height="9" vOffset="20" oOffset="5"/></Edit>
      <Edit Name="IMPORTO" Alignment="TARIGHTJUSTIFY" Type="TR">
        <PrintRect Top="300" Left="400" Height="9" vOffset="10" MinIndex="1" MaxIndex="5"/>
      </Edit>
      <Edit Name="IMPORTO" Alignment="tacenter" Type="FL"><PrintRect Top="600" Left="300" Height="9"/></Edit>
    </Section>
  </Page>
  <Page Name="DI" Template="1">
    <Section Name="cdsDI">
      <Edit Name="TESTO"><PrintRect Top="100" Left="50" Height="9" vOffset="20"/></Edit>
    </Section>
  </Page>
  <Page Name="Chiusa" Template="1">
    <Section Name="cdsChiuso">
      <Edit Name="TESTO"><PrintRect Top="100" Left="50" Height="9"/></Edit>
    </Section>
  </Page>
  <Page Name="Ignota" Template="1">
    <Section Name="cdsNessuno">
      <Edit Name="TESTO"><PrintRect Top="100" Left="50" Height="9"/></Edit>
    </Section>
  </Page>
  <Page Name="CampoIgnoto" Template="1">
    <Section Name="cdsRighe">
      <Edit Name="NON_ESISTE"><PrintRect Top="100" Left="50" Height="9"/></Edit>
    </Section>
  </Page>
</PdfConf>
)";

// A print module with three datasets: two open with one record, one closed.
class TestPrint : public TdmElhPDF
{
public:
    ClientDataSet cdsRighe{u"cdsRighe"_s};
    ClientDataSet cdsDI{u"cdsDI"_s};
    ClientDataSet cdsChiuso{u"cdsChiuso"_s};

    TestPrint()
    {
        for (ClientDataSet *ds : {&cdsRighe, &cdsDI, &cdsChiuso}) {
            ds->fieldDefs().add(u"TESTO"_s, FieldType::String, 20);
            ds->fieldDefs().add(u"IMPORTO"_s, FieldType::Decimal);
        }
        for (ClientDataSet *ds : {&cdsRighe, &cdsDI}) {
            ds->createDataSet();
            ds->append();
            ds->fieldByName(u"TESTO"_s).setAsString(u"riga"_s);
            ds->fieldByName(u"IMPORTO"_s).setAsString(u"1234,99"_s);
            ds->post();
        }
    }

protected:
    ClientDataSet *findDataSet(const QString &name) override
    {
        for (ClientDataSet *ds : {&cdsRighe, &cdsDI, &cdsChiuso}) {
            if (ds->name().compare(name, Qt::CaseInsensitive) == 0)
                return ds;
        }
        return nullptr;
    }
};

struct Fixture
{
    TempDir dir;
    QString templatePath;
    QString descriptorPath;
    ScriptedMessageService messages;
    MessageServiceScope scope{&messages};

    Fixture()
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
        descriptorPath = dir.write(u"Prova.xml"_s, kDescriptor);
    }

    QList<PdfReadBack::Page> save(TestPrint &print)
    {
        const QString out = dir.file(u"uscita.pdf"_s);
        print.EliminaPagine(1, 1);
        print.SalvaPdf(out, false, false);
        return PdfReadBack::read(out, templatePath);
    }
};

} // namespace

TEST(OverlayEngine, RowIndexesMoveTheRectanglesTheyServe)
{
    Fixture f;
    TestPrint print;
    ASSERT_TRUE(print.ApriModello(f.templatePath, f.descriptorPath));
    print.CreaPagina(1, false);
    for (const int index : {0, 3, 6})
        EXPECT_TRUE(print.StampaSezione(u"righe"_s, u"CDSRIGHE"_s, index));
    const QList<PdfReadBack::Page> pages = f.save(print);
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

TEST(OverlayEngine, RowsOfProspettoDIDriftDownAPointEveryFewRows)
{
    Fixture f;
    TestPrint print;
    ASSERT_TRUE(print.ApriModello(f.templatePath, f.descriptorPath));
    print.CreaPagina(1, false);
    const QList<int> indexes = {4, 5, 8, 9, 13, 14, 17, 18, 20};
    for (const int i : indexes)
        print.StampaSezione(u"DI"_s, u"cdsDI"_s, i);
    const QList<PdfReadBack::Text> rows = f.save(print)[0].find(u"riga"_s);
    ASSERT_EQ(rows.size(), indexes.size());
    const QList<int> extra = {0, 1, 1, 2, 2, 3, 3, 4, 4};
    for (qsizetype k = 0; k < rows.size(); ++k)
        EXPECT_DOUBLE_EQ(rows[k].baseline, 100 + 20 * indexes[k] + extra[k]) << indexes[k];
}

TEST(OverlayEngine, PagesByExactNameSectionsIgnoringCase)
{
    Fixture f;
    TestPrint print;
    ASSERT_TRUE(print.ApriModello(f.templatePath, f.descriptorPath));
    EXPECT_FALSE(print.StampaPagina(u"righe"_s));
    EXPECT_TRUE(print.StampaPagina(u"Righe"_s));
    EXPECT_TRUE(print.StampaPagina(u"Testata"_s));
    EXPECT_FALSE(print.StampaSezione(u"Manca"_s, u"cdsRighe"_s, 1));
    EXPECT_FALSE(print.StampaSezione(u"Righe"_s, u"cdsManca"_s, 1));
    // A closed dataset draws nothing and stops the page.
    EXPECT_FALSE(print.StampaPagina(u"Chiusa"_s));
    const QList<PdfReadBack::Page> pages = f.save(print);
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

TEST(OverlayEngine, DescriptorFaultsEndThePrint)
{
    Fixture f;
    TestPrint print;
    ASSERT_TRUE(print.ApriModello(f.templatePath, f.descriptorPath));
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

TEST(OverlayEngine, MissingFilesLeaveThePrintAsItWas)
{
    Fixture f;
    TestPrint print;
    ASSERT_TRUE(print.ApriModello(f.templatePath, f.descriptorPath));
    print.CreaPagina(2, false);
    EXPECT_FALSE(print.ApriModello(f.templatePath, f.dir.file(u"manca.xml"_s)));
    EXPECT_EQ(print.openError(), u"Il file «%1» non esiste."_s.arg(QDir::toNativeSeparators(f.dir.file(u"manca.xml"_s))));
    EXPECT_FALSE(print.ApriModello(f.dir.file(u"manca.pdf"_s), f.descriptorPath));
    // The component of the print under way is untouched.
    print.CreaPagina(1, false);
    const QList<PdfReadBack::Page> pages = f.save(print);
    ASSERT_EQ(pages.size(), 2);
    EXPECT_EQ(pages[0].templatePage, 2);

    const QString broken = f.dir.write(u"rotto.xml"_s, "<PdfConf><Page>");
    EXPECT_FALSE(print.ApriModello(f.templatePath, broken));
    print.showOpenError();
    ASSERT_EQ(f.messages.messages().size(), 1);
    const MessageRequest box = f.messages.messages().first();
    EXPECT_EQ(box.type, MsgDlgType::Error);
    EXPECT_EQ(box.buttons, MsgDlgButtons(MsgDlgBtn::OK));
    EXPECT_TRUE(box.text.startsWith(
        u"Impossibile creare il file PDF:\n\r1) Controllare che il file di tamplate e il file XML di configurazione "
        u"esistano\n\r   e siano contenuti nella giusta cartella\n\r2) Che l'XML abbia una sintassi corretta\n\r3) I file "
        u"potrebbero essere danneggiati\n\r\n\rDescrittore «"_s));
    EXPECT_TRUE(box.text.contains(u"XML non valido"_s));
}

TEST(OverlayEngine, SavesIntoNewFoldersAndOpensWhatItIsAsked)
{
    Fixture f;
    RecordingShell recorder;
    TestPrint print;
    ASSERT_TRUE(print.ApriModello(f.templatePath, f.descriptorPath));
    print.CreaPagina(1, false);
    print.EliminaPagine(1, 1);
    const QString out = f.dir.file(u"USR/FL2023/Stp/Riepilogo.pdf"_s);
    print.SalvaPdf(out, true, true);
    print.SalvaPdf(f.dir.file(u"altro.pdf"_s), false, false);
    EXPECT_EQ(PdfReadBack::pageCount(out), 1);
    EXPECT_EQ(recorder.calls, (QStringList{u"cartella "_s + QFileInfo(out).absolutePath() + u'/', u"file "_s + out}));
}
