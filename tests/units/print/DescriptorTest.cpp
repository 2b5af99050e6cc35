#include "Exceptions.h"
#include "QtPrinters.h"
#include "TempDir.h"
#include "print/FronteXml.h"
#include "print/PdfConfXml.h"

#include <gtest/gtest.h>

using namespace Qt::Literals::StringLiterals;

namespace {

QString errorOf(const std::function<void()> &f)
{
    try {
        f();
    } catch (const EInOutError &e) {
        return e.message();
    }
    return QString();
}

} // namespace

TEST(PdfConfDescriptor, ReadsPagesSectionsEditsAndRectangles)
{
    TempDir dir;
    const QString path = dir.write(u"ProspST.xml"_s, R"(<?xml version="1.0" encoding="UTF-8"?>
<PdfConf>
  <Page Name="ST1" Template="23">
    <Section Name="cdsST" Repeat="S">
      <Edit Name="FPSTRITOPEARTE" Alignment="taRightJustify" Type="FF">
        <PrintRect Top="187" Left="171" Height="8" Space="1,5" vOffset="20" oOffset="2" MinIndex="1" MaxIndex="5"/>
        <PrintRect Top="300" Left="10" Height="7"/>
      </Edit>
      <Commento/>
    </Section>
  </Page>
  <Page Name="ModN" Template="23"/>
</PdfConf>
)");
    const PdfConfXml::TXMLPdfConfType conf = PdfConfXml::load(path);
    ASSERT_EQ(conf.pages.size(), 2);
    EXPECT_EQ(conf.pages[0].name, u"ST1"_s);
    EXPECT_EQ(conf.pages[0].templatePage, 23);
    ASSERT_EQ(conf.pages[0].sections.size(), 1);
    const PdfConfXml::TXMLSectionType &section = conf.pages[0].sections[0];
    EXPECT_EQ(section.name, u"cdsST"_s);
    EXPECT_EQ(section.repeat, u"S"_s);
    ASSERT_EQ(section.edits.size(), 1);
    const PdfConfXml::TXMLEditType &edit = section.edits[0];
    EXPECT_EQ(edit.alignment, u"taRightJustify"_s);
    EXPECT_EQ(edit.type, u"FF"_s);
    ASSERT_EQ(edit.printRects.size(), 2);
    const PdfConfXml::TXMLPrintRectType &r = edit.printRects[0];
    EXPECT_EQ(r.top, 187);
    EXPECT_EQ(r.left, 171);
    EXPECT_EQ(r.height, 8);
    EXPECT_DOUBLE_EQ(r.space, 1.5);
    EXPECT_EQ(r.vOffset, 20);
    EXPECT_EQ(r.oOffset, 2);
    EXPECT_EQ(r.minIndex, 1);
    EXPECT_EQ(r.maxIndex, 5);
    EXPECT_EQ(edit.printRects[1].vOffset, 0);
    EXPECT_EQ(edit.printRects[1].maxIndex, 0);
    EXPECT_TRUE(conf.pages[1].sections.isEmpty());
}

TEST(PdfConfDescriptor, ErrorsNameTheFileAndTheLine)
{
    TempDir dir;
    const QString path = dir.write(u"ProspSV.xml"_s,
                                   "<PdfConf>\n<Page Name=\"SV1\" Template=\"27\"><Section Name=\"cdsSV\">\n"
                                   "<Edit Name=\"X\"><PrintRect Top=\"1a\" Left=\"1\" Height=\"8\"/></Edit>\n"
                                   "</Section></Page></PdfConf>\n");
    EXPECT_TRUE(errorOf([&] { PdfConfXml::load(path); })
                    .endsWith(u"ProspSV.xml», riga 3: l'attributo Top di PrintRect non è un numero intero: «1a»"_s))
        << errorOf([&] { PdfConfXml::load(path); }).toStdString();
    const QString noLeft = dir.write(u"a.xml"_s, "<PdfConf><Page><Section><Edit><PrintRect Top=\"1\" Height=\"8\"/>"
                                                 "</Edit></Section></Page></PdfConf>");
    EXPECT_TRUE(errorOf([&] { PdfConfXml::load(noLeft); }).endsWith(u"manca l'attributo Left di PrintRect"_s));
    const QString broken = dir.write(u"b.xml"_s, "<PdfConf><Page Name=\"A\"></PdfConf>");
    EXPECT_TRUE(errorOf([&] { PdfConfXml::load(broken); }).contains(u"XML non valido"_s));
    const QString wrongRoot = dir.write(u"c.xml"_s, "<Fronte/>");
    EXPECT_TRUE(errorOf([&] { PdfConfXml::load(wrongRoot); })
                    .endsWith(u"l'elemento principale è «Fronte» invece di «PdfConf»"_s));
    EXPECT_TRUE(errorOf([&] { PdfConfXml::load(dir.file(u"manca.xml"_s)); }).contains(u"non si può leggere"_s));
}

TEST(FronteDescriptor, ReadsSectionsWithTheirPagesAndOneRectangleEach)
{
    TempDir dir;
    const QString path = dir.write(u"FrontS.xml"_s, R"(<Fronte>
  <Section Name="Dati" Page="0">
    <Edit Name="SSOSCODFIS" Alignment="taCenter" Type="" Page="1" Space="14">
      <PrintRect Top="46" Left="300" Height="10"/>
      <PrintRect Top="99" Left="99" Height="99"/>
    </Edit>
    <Edit Name="SSOSDENOM" Type="SP" Space="non numero">
      <PrintRect Top="150" Left="33" Height="9"/>
    </Edit>
  </Section>
  <Section Name="Firma" Page="2"/>
</Fronte>
)");
    const FronteXml::TXMLFronteType fronte = FronteXml::load(path);
    ASSERT_EQ(fronte.sections.size(), 2);
    EXPECT_EQ(fronte.sections[1].page, 2);
    ASSERT_EQ(fronte.sections[0].edits.size(), 2);
    const FronteXml::TXMLEditType &first = fronte.sections[0].edits[0];
    EXPECT_EQ(first.page, 1);
    EXPECT_DOUBLE_EQ(first.space, 14);
    EXPECT_EQ(first.printRect.top, 46);
    EXPECT_EQ(first.printRect.left, 300);
    EXPECT_EQ(first.printRect.height, 10);
    EXPECT_DOUBLE_EQ(fronte.sections[0].edits[1].space, 0);
    EXPECT_EQ(fronte.sections[0].edits[1].page, 0);

    const QString noRect = dir.write(u"d.xml"_s, "<Fronte><Section><Edit Name=\"A\"/></Section></Fronte>");
    EXPECT_TRUE(errorOf([&] { FronteXml::load(noRect); }).endsWith(u"il campo A non ha PrintRect"_s));
}
