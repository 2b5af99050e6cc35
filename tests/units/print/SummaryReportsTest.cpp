#include "ElhMProspSTPDF.h"
#include "PrintTestSupport.h"
#include "RecordingShell.h"

#include "CaseFile.h"

#include <QFileInfo>

#include <gtest/gtest.h>

#include <map>

using namespace Qt::Literals::StringLiterals;

namespace {

// The lines of a report page below its header, top to bottom, each the texts
// of the line left to right separated by " | ".
QStringList lines(const PdfReadBack::Page &page, double firstBaseline)
{
    std::map<double, std::map<double, QString>> byLine;
    for (const PdfReadBack::Text &t : page.texts) {
        if (!t.rotated && t.baseline >= firstBaseline)
            byLine[t.baseline][t.x] = t.text;
    }
    QStringList out;
    for (const auto &[baseline, texts] : byLine) {
        QStringList parts;
        for (const auto &[x, text] : texts)
            parts.append(text);
        out.append(parts.join(u" | "_s));
    }
    return out;
}

} // namespace

// Each case of the file: a report, the records of its tables, the lines of
// each page below the header and, where given, the page width and the rules
// drawn on each page.
TEST(SummaryReports, EachReportListsItsRowsTotalsAndPageBreaks)
{
    using Print = TdmElhProspSTPDF::Outcome (TdmElhProspSTPDF::*)(const QString &);
    const std::map<QString, Print> reports{
        {u"riepilogoINPS"_s, &TdmElhProspSTPDF::riepilogoINPS},
        {u"riepilogoTassazioneSeparata"_s, &TdmElhProspSTPDF::riepilogoTassazioneSeparata},
        {u"riepilogoINPDAP"_s, &TdmElhProspSTPDF::riepilogoINPDAP},
        {u"riepilogoIRPEF"_s, &TdmElhProspSTPDF::riepilogoIRPEF},
        {u"riepilogoAutonomi"_s, &TdmElhProspSTPDF::riepilogoAutonomi}};
    for (const QJsonValue &value :
         caseFile(QStringLiteral(ELH_SOURCE_DIR "/tests/units/print/data/SummaryReportsCases.json"))) {
        const QJsonObject c = value.toObject();
        const QString report = c[u"report"].toString();
        SCOPED_TRACE(report.toStdString());
        PrintFixture f;
        const QJsonObject tables = c[u"tables"].toObject();
        for (auto it = tables.begin(); it != tables.end(); ++it) {
            QList<QJsonObject> records;
            for (const QJsonValue &r : it.value().toArray())
                records.append(r.toObject());
            f.append(it.key(), records);
        }
        // The output folder is made, then the file opened.
        RecordingShell recorder;
        const QString templateName = c[u"template"].toString();
        const QString out = f.saved(reports.at(report), u"Stp/"_s + templateName);
        EXPECT_EQ(recorder.calls,
                  (QStringList{u"cartella "_s + QFileInfo(out).absolutePath() + u'/', u"file "_s + out}));

        const QList<PdfReadBack::Page> pages = PdfReadBack::read(out, PrintFixture::templatePath(templateName));
        const QJsonArray expected = c[u"pages"].toArray();
        const QJsonArray rules = c[u"rules"].toArray();
        ASSERT_EQ(pages.size(), expected.size());
        for (qsizetype p = 0; p < pages.size(); ++p) {
            EXPECT_EQ(pages[p].templatePage, 1);
            if (c.contains(u"pageWidth")) {
                EXPECT_DOUBLE_EQ(pages[p].width, c[u"pageWidth"].toDouble());
            }
            EXPECT_TRUE(pages[p].has(u"ISTITUTO COMPRENSIVO DI PROVA"_s) && pages[p].has(u"2023"_s)) << p;
            QStringList wanted;
            for (const QJsonValue &line : expected[p].toArray())
                wanted.append(line.toString());
            EXPECT_EQ(lines(pages[p], c[u"firstLine"].toDouble()), wanted) << p;
            if (rules.isEmpty())
                continue;
            const QJsonArray wantedRules = rules[p].toArray();
            ASSERT_EQ(pages[p].boxes.size(), wantedRules.size()) << p;
            for (qsizetype r = 0; r < wantedRules.size(); ++r) {
                const PdfReadBack::Box &b = pages[p].boxes[r];
                const QJsonObject rule = wantedRules[r].toObject();
                for (const auto &[key, measure] : {std::pair{u"top", b.top}, std::pair{u"left", b.left},
                                                   std::pair{u"width", b.width}, std::pair{u"height", b.height}}) {
                    if (rule.contains(key)) {
                        EXPECT_NEAR(measure, rule[key].toDouble(), 0.001) << p << ' ' << r;
                    }
                }
            }
        }
    }
}
