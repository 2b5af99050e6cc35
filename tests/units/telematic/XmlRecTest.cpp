#include "TelematicFixture.h"
#include "telematic/ElhUXmlRec.h"

#include <QDomDocument>

#include <gtest/gtest.h>

using namespace Qt::Literals::StringLiterals;

namespace {

TEST(LayoutDescriptor, FamilyEReadsSectionsAndFieldsInDocumentOrder)
{
    TempDir dir;
    const QString path = dir.write(u"Record_D.xml"_s, R"(<?xml version="1.0"?>
<RecordE>
  <SectionE Text="Intestazione" Repeat="NO">
    <CampoE Number="1" Description="Tipo record" Width="1" Format="AN" Info="OF" Fixed="D" Cds="" Field=""/>
  </SectionE>
  <Commento/>
  <SectionE Text="Prospetto SV" Repeat="YES">
    <CampoE Number=" SVXXX002 " Description="Trattenute" Width=" 16 " Format="VP" Info="@@" Cds="cdsPrSv" Field="FPSVTRATTEFF"/>
    <Altro Number="no"/>
    <CampoE Number="SVXXX007" Width="16"/>
  </SectionE>
</RecordE>)");
    const TXMLRecordEType root = LoadRecordE(path);
    ASSERT_EQ(root.Count(), 2);
    EXPECT_EQ(root.Section(0).Text(), u"Intestazione");
    EXPECT_EQ(root.Section(0).Repeat(), u"NO");
    const TXMLSectionEType sv = root.Section(1);
    ASSERT_EQ(sv.Count(), 2);
    const TXMLCampoEType f = sv.Campo(0);
    EXPECT_EQ(f.Number(), u" SVXXX002 ");
    EXPECT_EQ(f.Width(), 16);
    EXPECT_EQ(f.Format(), u"VP");
    EXPECT_EQ(f.Cds(), u"cdsPrSv");
    EXPECT_EQ(f.Field(), u"FPSVTRATTEFF");
    // A missing attribute reads as empty text.
    EXPECT_EQ(f.Fixed(), QString());
    EXPECT_EQ(sv.Campo(1).Description(), QString());
}

TEST(LayoutDescriptor, ARecordZIsReadThroughItsFirstSection)
{
    QDomDocument doc;
    ASSERT_TRUE(doc.setContent(QByteArray(R"(<RecordZ>
  <SectionZ Text="prima"><CampoZ Number="1" Width="1" Fixed="Z"/></SectionZ>
  <SectionZ Text="seconda"><CampoZ Number="9" Width="5"/></SectionZ>
</RecordZ>)")));
    const TXMLRecordZType root = GetRecordZ(doc);
    EXPECT_EQ(root.SectionZ().Text(), u"prima");
    ASSERT_EQ(root.SectionZ().Count(), 1);
    EXPECT_EQ(root.SectionZ().Campo(0).Fixed(), u"Z");
}

TEST(LayoutDescriptor, ADescriptorWithoutSectionsOrFieldsIsEmpty)
{
    QDomDocument doc;
    ASSERT_TRUE(doc.setContent(QByteArray("<RecordJ><SectionJ Text='vuota' Repeat='YES' Cds='cdsPrSs'/></RecordJ>")));
    const TXMLRecordJType root = GetRecordJ(doc);
    ASSERT_EQ(root.Count(), 1);
    EXPECT_EQ(root.Section(0).Cds(), u"cdsPrSs");
    EXPECT_EQ(root.Section(0).Count(), 0);
}

TEST(LayoutDescriptor, TheBindingWritesWhatItReads)
{
    QDomDocument doc;
    ASSERT_TRUE(doc.setContent(QByteArray("<RecordA><SectionA Text='Testa'><CampoA Number='2' Width='3'/></SectionA></RecordA>")));
    TXMLRecordAType root = GetRecordA(doc);
    TXMLSectionAType section = root.Section(0);
    TXMLCampoAType first = section.Insert(0);
    first.SetNumber(u"1"_s);
    first.SetWidth(1);
    first.SetFixed(u"A"_s);
    TXMLCampoAType last = section.Add();
    last.SetNumber(u"3"_s);
    last.SetWidth(5);
    root.Add().SetText(u"Coda"_s);
    section.SetText(u"Testa della fornitura"_s);

    const TXMLRecordAType again = GetRecordA(doc);
    ASSERT_EQ(again.Count(), 2);
    const TXMLSectionAType s = again.Section(0);
    EXPECT_EQ(s.Text(), u"Testa della fornitura");
    ASSERT_EQ(s.Count(), 3);
    EXPECT_EQ(s.Campo(0).Number(), u"1");
    EXPECT_EQ(s.Campo(0).Width(), 1);
    EXPECT_EQ(s.Campo(0).Fixed(), u"A");
    EXPECT_EQ(s.Campo(1).Number(), u"2");
    EXPECT_EQ(s.Campo(2).Number(), u"3");
    EXPECT_EQ(s.Campo(2).Width(), 5);
    EXPECT_EQ(again.Section(1).Text(), u"Coda");
}

TEST(LayoutDescriptor, ErrorsNameTheFileTheLineAndTheElement)
{
    TempDir dir;
    EXPECT_EQ(errorOf([&] { LoadRecordB(dir.file(u"Record_B.xml"_s)); }),
              u"Descrittore del record mancante: «%1»"_s.arg(dir.file(u"Record_B.xml"_s)));

    const QString malformed = dir.write(u"Record_A.xml"_s, "<RecordA>\n<SectionA>\n</RecordA>\n");
    EXPECT_TRUE(errorOf([&] { LoadRecordA(malformed); }).startsWith(u"Descrittore «Record_A.xml» malformato, riga 3"_s));

    const QString wrongFamily = dir.write(u"Record_I.xml"_s, "<?xml version='1.0'?>\n<RecordJ/>\n");
    EXPECT_EQ(errorOf([&] { LoadRecordE(wrongFamily); }),
              u"Descrittore «Record_I.xml», riga 2: l'elemento radice è «RecordJ» invece di «RecordE»"_s);

    const QString badWidth = dir.write(u"Record_J.xml"_s, "<RecordJ>\n<SectionJ>\n<CampoJ Number='SS001001'/>\n"
                                                          "<CampoJ Number='SS001002' Width='16a'/>\n</SectionJ>\n</RecordJ>");
    EXPECT_EQ(errorOf([&] { LoadRecordJ(badWidth); }),
              u"Descrittore «Record_J.xml», riga 3, elemento «CampoJ» (Number «SS001001»): "
              u"l'attributo Width «» non è un numero intero"_s);

    const QString empty = dir.write(u"Record_Z.xml"_s, "<?xml version='1.0'?>\n<!-- niente -->\n");
    EXPECT_TRUE(errorOf([&] { LoadRecordZ(empty); }).startsWith(u"Descrittore «Record_Z.xml»"_s));
}

} // namespace
