#include "Exceptions.h"
#include "QtPrinters.h"
#include "TempDir.h"
#include "CertificateXml.h"
#include "FronteXml.h"
#include "PdfConfXml.h"

#include <gtest/gtest.h>

using namespace Qt::Literals::StringLiterals;

TEST(PrintDescriptors, SpacingTakesADecimalCommaAndMissingNumbersAreZero)
{
    TempDir dir;
    const PdfConfXml::TXMLPdfConfType conf = PdfConfXml::load(dir.write(u"ProspST.xml"_s, R"(<PdfConf>
  <Page Name="ST1" Template="23"><Section Name="cdsST"><Edit Name="FPSTRITOPEARTE">
    <PrintRect Top="187" Left="171" Height="8" Space="1,5"/><Commento/><PrintRect Top="300" Left="10" Height="7"/>
  </Edit></Section></Page>
</PdfConf>)"));
    ASSERT_EQ(conf.pages.size(), 1);
    const QList<PdfConfXml::TXMLPrintRectType> &rects = conf.pages[0].sections.at(0).edits.at(0).printRects;
    ASSERT_EQ(rects.size(), 2);
    EXPECT_DOUBLE_EQ(rects[0].space, 1.5);
    EXPECT_EQ(rects[1].vOffset, 0);
    EXPECT_EQ(rects[1].maxIndex, 0);

    const FronteXml::TXMLFronteType fronte = FronteXml::load(dir.write(u"FrontS.xml"_s, R"(<Fronte><Section Page="1">
    <Edit Name="SSOSDENOM" Type="SP" Space="non numero"><PrintRect Top="150" Left="33" Height="9"/></Edit>
    </Section></Fronte>)"));
    EXPECT_DOUBLE_EQ(fronte.sections.at(0).edits.at(0).space, 0);
    EXPECT_EQ(fronte.sections.at(0).edits.at(0).page, 0);
}

TEST(PrintDescriptors, ErrorsNameTheFileTheLineAndWhatIsWrong)
{
    TempDir dir;
    enum Kind { PdfConf, Fronte, LDip, LAut };
    const struct
    {
        Kind kind;
        const char *xml;
        const char16_t *error;
    } cases[] = {
        {PdfConf,
         "<PdfConf>\n<Page Name=\"SV1\" Template=\"27\"><Section Name=\"cdsSV\">\n"
         "<Edit Name=\"X\"><PrintRect Top=\"1a\" Left=\"1\" Height=\"8\"/></Edit>\n</Section></Page></PdfConf>\n",
         u"d.xml», riga 3: l'attributo Top di PrintRect non è un numero intero: «1a»"},
        {PdfConf, "<PdfConf><Page><Section><Edit><PrintRect Top=\"1\" Height=\"8\"/></Edit></Section></Page></PdfConf>",
         u"manca l'attributo Left di PrintRect"},
        {PdfConf, "<Fronte/>", u"l'elemento principale è «Fronte» invece di «PdfConf»"},
        {Fronte, "<Fronte><Section><Edit Name=\"A\"/></Section></Fronte>", u"il campo A non ha PrintRect"},
        // The certificates' positions are whole numbers, checked when read.
        {LDip,
         "<LDip><Page Name=\"PAna\"><Section Name=\"cdsTot\"><Edit Name=\"TotDic\">"
         "<PrintRect Top=\"49\" Left=\"187.6\" Height=\"9\"/></Edit></Section></Page></LDip>",
         u"l'attributo Left di PrintRect non è un numero intero: «187.6»"},
        {LAut,
         "<LAut><Section Name=\"cdsSomEr\"><Edit Name=\"FDSE7IMPONIBILE\"><PrintRect Top=\"1\" Left=\"1\" "
         "Height=\"8\"/><PrintRect Top=\"2\" Left=\"1\" Height=\"8\"/></Edit></Section></LAut>",
         u"il campo FDSE7IMPONIBILE ha più di un PrintRect"},
    };
    for (const auto &c : cases) {
        const QString path = dir.write(u"d.xml"_s, c.xml);
        try {
            switch (c.kind) {
            case PdfConf:
                PdfConfXml::load(path);
                break;
            case Fronte:
                FronteXml::load(path);
                break;
            case LDip:
                CertificateXml::loadLDip(path);
                break;
            case LAut:
                CertificateXml::loadLAut(path);
                break;
            }
            ADD_FAILURE() << c.xml;
        } catch (const EInOutError &e) {
            EXPECT_TRUE(e.message().endsWith(QString::fromUtf16(c.error))) << e.message().toStdString();
        }
    }
}
