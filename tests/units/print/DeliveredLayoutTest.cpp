// The delivered templates and descriptors together: every value of a fully
// filled return lands inside a box of the page it is drawn on.

#include "ClientDataSet.h"
#include "ElhMPdfAut.h"
#include "ElhMPdfDip.h"
#include "ElhMProspSTPDF.h"
#include "ElhMStampe.h"
#include "PrintTestSupport.h"
#include "TemplateLayout.h"

#include <QDate>
#include <QFileInfo>

#include <gtest/gtest.h>

#include <algorithm>

using namespace Qt::Literals::StringLiterals;

namespace {

// A plausible value of the widest kind a field of that type and size holds.
QJsonValue filler(const FieldDef &def, int n)
{
    switch (def.type) {
    case FieldType::String: {
        static const QString kCodes[] = {u"1"_s, u"12"_s, u"094"_s, u"2023"_s};
        if (def.size <= 4)
            return kCodes[def.size - 1];
        if (def.size <= 11)
            return u"80012345676"_s.left(def.size);
        if (def.size <= 16)
            return u"RSSMRA80A01H501U"_s.left(def.size);
        return u"ISTITUTO COMPRENSIVO STATALE"_s.left(def.size);
    }
    case FieldType::Decimal:
    case FieldType::Float:
        return QString(QString::number(9999999 - n) + u".99"_s);
    case FieldType::Date:
        return QDate(2023, 12, 31).addDays(-n).toString(Qt::ISODate);
    case FieldType::Integer:
    case FieldType::LargeInt:
        return 12345;
    default:
        return QJsonValue();
    }
}

// Appends `count` rows with every field filled, `fixed` where it names a field of the table.
void fill(PrintFixture &f, const QString &table, int count, const QJsonObject &fixed = {})
{
    ClientDataSet ds;
    f.store.open(ds, table);
    QList<QJsonObject> rows;
    for (int n = 0; n < count; ++n) {
        QJsonObject o;
        for (const FieldDef &def : ds.fieldDefs()) {
            if (def.name != u"IFISRIGO" && def.name != u"IAFIID")
                o.insert(def.name, filler(def, n));
        }
        for (auto it = fixed.begin(); it != fixed.end(); ++it) {
            if (ds.findField(it.key()))
                o.insert(it.key(), it.value());
        }
        rows.append(o);
    }
    f.append(table, rows);
}

// The readable layout that the template PDF is built from.
TemplateLayout::Layout layoutOf(const QString &templateName)
{
    return TemplateLayout::load(QStringLiteral(ELH_SOURCE_DIR) + u"/tools/templates/layouts/"_s
                                + QFileInfo(templateName).completeBaseName() + u".json"_s);
}

// The area a drawn text covers, from its ascent to its descent.
TemplateLayout::Rect extentOf(const PdfReadBack::Text &t)
{
    return {t.x, t.baseline - 0.718 * t.size, t.width, 0.9 * t.size};
}

// Every text of the print lies inside a box of the layout of its template page.
void expectInBoxes(const QString &pdf, const QString &templateName)
{
    const TemplateLayout::Layout layout = layoutOf(templateName);
    const QList<PdfReadBack::Page> pages = PdfReadBack::read(pdf, PrintFixture::templatePath(templateName));
    ASSERT_FALSE(pages.isEmpty());
    int checked = 0;
    for (qsizetype p = 0; p < pages.size(); ++p) {
        ASSERT_GT(pages[p].templatePage, 0);
        const QList<TemplateLayout::Rect> boxes = layout.pages[pages[p].templatePage - 1].fieldBoxes();
        for (const PdfReadBack::Text &t : pages[p].texts) {
            if (t.rotated || t.text.trimmed().isEmpty())
                continue;
            const TemplateLayout::Rect extent = extentOf(t);
            const bool inside = std::any_of(boxes.begin(), boxes.end(),
                                            [&](const TemplateLayout::Rect &b) { return b.contains(extent, 0.5); });
            EXPECT_TRUE(inside) << "page " << p + 1 << " (template " << pages[p].templatePage << "): «"
                                << t.text.toStdString() << "» at " << t.x << ", " << t.baseline << " width " << t.width;
            ++checked;
        }
    }
    EXPECT_GT(checked, 0);
}

} // namespace

// The Prospetti are shown in their boxes by the telematic tests, which find
// every element of each golden supply on the page of its module, line and point.
TEST(DeliveredLayout, TheSummaryReportsSitInTheirBoxes)
{
    PrintFixture f;
    const std::pair<const char16_t *, int> tables[] = {{u"TDIP7_ANAGRFISCALI", 36}, {u"TINPS7_INPS", 2},
                                                       {u"TTAS7_TASSAZIONESE", 2},  {u"TINP7_INPDAP", 2},
                                                       {u"TDAU7_DATIAUTONOM", 2},   {u"TDSE7_SOMMEEROGATE", 3}};
    // The persons of the reports with long names and the years their lines show.
    const QJsonObject person{{u"SDIP7COGNOME"_s, u"DELLA ROVERE"_s},
                             {u"SDIP7NOME"_s, u"MARIA LUISA"_s},
                             {u"SDAU7COGNOME"_s, u"STUDIO ASSOCIATO BIANCHI"_s},
                             {u"SDAU7NOME"_s, QString()},
                             {u"SDIP7CODFIS"_s, u"DLLMLS70A41D653Z"_s},
                             {u"SDAU7CODFIS"_s, u"02487650323"_s},
                             {u"STAS7PERIODOIMP"_s, u"2021"_s},
                             {u"IINPDAP7ANNORIF"_s, 2021},
                             {u"SDSE7ANNO"_s, u"2023"_s}};
    for (const auto &[table, rows] : tables)
        fill(f, QString::fromUtf16(table), rows, person);
    using Print = TdmElhProspSTPDF::Outcome (TdmElhProspSTPDF::*)(const QString &);
    const QList<std::pair<Print, const char16_t *>> prints = {
        {&TdmElhProspSTPDF::riepilogoINPS, u"RiepilogoINPS.pdf"},
        {&TdmElhProspSTPDF::riepilogoTassazioneSeparata, u"RiepilogoTassazioneSeparata.pdf"},
        {&TdmElhProspSTPDF::riepilogoIRPEF, u"RiepilogoIRPEF.pdf"},
        {&TdmElhProspSTPDF::riepilogoINPDAP, u"RiepilogoINPDAP.pdf"},
        {&TdmElhProspSTPDF::riepilogoAutonomi, u"RiepilogoAutonomi.pdf"}};
    for (const auto &[print, templateName] : prints) {
        SCOPED_TRACE(QString::fromUtf16(templateName).toStdString());
        expectInBoxes(f.saved(print, QString::fromUtf16(templateName)), QString::fromUtf16(templateName));
    }
}

TEST(DeliveredLayout, TheFrontispieceSitsInItsBoxes)
{
    for (const int section : {1, 2}) {
        PrintFixture f(false);
        fill(f, u"TSOS_DATOSOSTITUTO"_s, 1, {{u"ISOSSEZ"_s, section}, {u"SSOSDICHIARANTE"_s, u"1"_s}});
        fill(f, u"TDIP7_ANAGRFISCALI"_s, 3);
        TdmElhStampe stampe(f.store);
        stampe.preparaFrontespizio();
        const QString out = f.file(u"Frontespizio.pdf"_s);
        stampe.stampaFrontespizio(out);
        expectInBoxes(out, u"770_sempl_mod.pdf"_s);
        // The declarant's signature is a ticked box.
        EXPECT_EQ(textIn(PdfReadBack::read(out).at(2), 30, 40, 492), u"X"_s);
    }
}

TEST(DeliveredLayout, TheCertificatesSitInTheirBoxes)
{
    PrintFixture f(false);
    fill(f, u"TSOS_DATOSOSTITUTO"_s, 1);
    // Two persons with two rows in every section, so that the continuation
    // pages are printed too, and enough dependants to fill page 7 and more.
    // The codes of agents are numeric, as they are in a return.
    const QJsonObject agents{{u"SSOE7CODICE"_s, u"82009870542"_s},
                             {u"SCON7CODFISCONG"_s, u"80012345676"_s},
                             {u"SINPDAP7CODFISAMMNE"_s, u"80012345676"_s}};
    for (const QString &code : {u"RSSMRA75D12D653T"_s, u"BNCLRA90B41G478Z"_s}) {
        QJsonObject person = agents;
        person.insert(u"SDIP7CODFIS"_s, code);
        person.insert(u"SDIP7COGNOME"_s, u"DELLA ROVERE"_s);
        person.insert(u"SDIP7NOME"_s, u"MARIA LUISA"_s);
        fill(f, u"TDIP7_ANAGRFISCALI"_s, 1, person);
        for (const char16_t *table : {u"TREE7_REDDITOESTER", u"TCFF7_CFFAMILIARE", u"TCON7_DATICONGUAG",
                                      u"TTAS7_TASSAZIONESE", u"TTFR7_TFR", u"TANN7_ANNOTAZIONI", u"TINPS7_INPS",
                                      u"TINP7_INPDAP", u"TINA7_INAIL", u"TRAR7_REDASSTIRTIT", u"TSLS7_SOMEROLAVSTRA"})
            fill(f, QString::fromUtf16(table), 2, person);
        fill(f, u"TCFC7_CONFAMCARICO"_s, 1 + TdmElhPdfDip::kDependantRows + 2, person);
    }
    fill(f, u"TDAU7_DATIAUTONOM"_s, 1,
         {{u"SDAU7CODFIS"_s, u"02487650323"_s},
          {u"SDAU7COGNOME"_s, u"STUDIO ASSOCIATO BIANCHI"_s},
          {u"SSOE7CODICE"_s, u"82009870542"_s}});
    fill(f, u"TDSE7_SOMMEEROGATE"_s, 2, {{u"SDAU7CODFIS"_s, u"02487650323"_s}});

    TdmElhStampe stampe(f.store);
    TdmElhPdfDip employees(f.store, stampe);
    TdmElhPdfAut workers(f.store, stampe);
    for (TdmElhPdfCertificato *print : std::initializer_list<TdmElhPdfCertificato *>{&employees, &workers}) {
        const QString out = f.file(print == &employees ? u"Dipendenti.pdf"_s : u"Autonomi.pdf"_s);
        ASSERT_EQ(print->Crea(out), TdmElhPdfCertificato::Outcome::Saved);
        expectInBoxes(out, u"770_sempl_mod.pdf"_s);
    }
}
