#include "CertificateXml.h"
#include "Exceptions.h"
#include "FronteXml.h"
#include "PdfConfXml.h"
#include "QtPrinters.h"
#include "TempDir.h"

#include "CaseFile.h"

#include <gtest/gtest.h>

#include <functional>
#include <map>

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

// Each case of the file: the kind of descriptor, its text, the end of the error.
TEST(PrintDescriptors, ErrorsNameTheFileTheLineAndWhatIsWrong)
{
    TempDir dir;
    const std::map<QString, std::function<void(const QString &)>> load{
        {u"PdfConf"_s, [](const QString &p) { PdfConfXml::load(p); }},
        {u"Fronte"_s, [](const QString &p) { FronteXml::load(p); }},
        {u"LDip"_s, [](const QString &p) { CertificateXml::loadLDip(p); }},
        {u"LAut"_s, [](const QString &p) { CertificateXml::loadLAut(p); }}};
    for (const QJsonValue &value :
         caseFile(QStringLiteral(ELH_SOURCE_DIR "/tests/units/print/data/DescriptorErrors.json"))) {
        const QJsonArray c = value.toArray();
        const QString path = dir.write(u"d.xml"_s, c[1].toString().toUtf8());
        try {
            load.at(c[0].toString())(path);
            ADD_FAILURE() << c[1].toString().toStdString();
        } catch (const EInOutError &e) {
            EXPECT_TRUE(e.message().endsWith(c[2].toString())) << e.message().toStdString();
        }
    }
}
