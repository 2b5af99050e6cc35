#include "Exceptions.h"
#include "THlmReport.h"
#include "TempDir.h"

#include <gtest/gtest.h>

using namespace Qt::Literals::StringLiterals;

TEST(THlmReport, LoadsOneRowPerReportWithItsBlobsAndNamesTheLineOfAFault)
{
    TempDir dir;
    const QString path = dir.write(u"kbr_Report.xml"_s, R"(<?xml version="1.0"?>
<Reports>
  <Report IYRPTID="7" IYRFOID="11006" IYRPTVERSION="3" SYRPTDESC="Registro" SYRPTNOTE="nota">
    <BYRPTREPORT>bGF5b3V0</BYRPTREPORT>
    <BYRPTVAR>dmFy</BYRPTVAR>
  </Report>
  <Report IYRPTID="8" IYRFOID="11006" IYRPTVERSION="1" SYRPTDESC="Secondo"/>
</Reports>)");
    THlmReport reports;
    ASSERT_TRUE(reports.load(path));
    ClientDataSet &ds = reports.dataSet();
    ASSERT_EQ(ds.recordCount(), 2);
    ds.first();
    EXPECT_EQ(ds.fieldByName(u"IYRPTID"_s).asInteger(), 7);
    EXPECT_EQ(ds.fieldByName(u"IYRPTVERSION"_s).asInteger(), 3);
    EXPECT_EQ(ds.fieldByName(u"BYRPTREPORT"_s).asBytes(), QByteArray("layout"));
    EXPECT_EQ(ds.fieldByName(u"BYRPTVAR"_s).asBytes(), QByteArray("var"));
    ds.next();
    EXPECT_TRUE(ds.fieldByName(u"BYRPTREPORT"_s).isNull());
    EXPECT_FALSE(reports.load(dir.file(u"manca.xml"_s)));

    const QString bad =
        dir.write(u"r.xml"_s, "<Reports>\n<Report IYRPTID=\"x\" IYRFOID=\"1\" IYRPTVERSION=\"1\"/>\n</Reports>");
    try {
        reports.load(bad);
        FAIL() << "a malformed file loaded";
    } catch (const EDatabaseError &e) {
        EXPECT_EQ(e.message(),
                  u"Definizioni dei report «%1», riga 2: l'attributo IYRPTID deve essere un numero intero"_s.arg(bad));
    }
    const QString blob = dir.write(u"b.xml"_s, "<Reports><Report IYRPTID=\"1\" IYRFOID=\"1\" IYRPTVERSION=\"1\">"
                                               "<BYRPTVAR>*non base64*</BYRPTVAR></Report></Reports>");
    EXPECT_THROW(reports.load(blob), EDatabaseError);
}
