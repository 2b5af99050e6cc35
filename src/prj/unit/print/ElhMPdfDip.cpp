#include "ElhMPdfDip.h"

#include "ElhMStampe.h"
#include "PrintPaths.h"
#include "TextLib.h"

using namespace Qt::Literals::StringLiterals;

namespace {

// The edits of the spouse and of the first child, drawn with the first row
// of the dependants only.
const QStringList kFirstRowOnly = {u"LCFC7RELPARCON"_s,        u"SCFC7CODFISCON"_s,       u"SCFC7MESICARCON"_s,
                                   u"SCFC7DTANNOCONIUGE"_s,    u"LCFC7RELPARPRIFIGL"_s,   u"LCFC7RELPARPRIFIGLDIS"_s,
                                   u"SCFC7CODFISPRIFIGL"_s,    u"SCFC7MESICARPRIFIGL"_s,  u"SCFC7MINTREANNPRIFIGL"_s,
                                   u"SCFC7DETRSPETTPRIFIGL"_s, u"LCFC7DET100AFFPRIFIGL"_s};

constexpr int kFurtherDependantsTop = 731;
constexpr int kDependantRowHeight = 12;

} // namespace

TdmElhPdfDip::TdmElhPdfDip(THlmDBCds &store, TdmElhStampe &stampe)
    : TdmElhPdfCertificato(store, stampe, u"TDIP7_ANAGRFISCALI"_s, u"SDIP7CODFIS"_s)
{
    const std::pair<ClientDataSet *, const char16_t *> tables[] = {{&cdsRedEst, u"TREE7_REDDITOESTER"},
                                                                   {&cdsCfFam, u"TCFF7_CFFAMILIARE"},
                                                                   {&cdsDtCong, u"TCON7_DATICONGUAG"},
                                                                   {&cdsTasSep, u"TTAS7_TASSAZIONESE"},
                                                                   {&cdsTfr, u"TTFR7_TFR"},
                                                                   {&cdsAnn, u"TANN7_ANNOTAZIONI"},
                                                                   {&cdsInps, u"TINPS7_INPS"},
                                                                   {&cdsInpdap, u"TINP7_INPDAP"},
                                                                   {&cdsInail, u"TINA7_INAIL"},
                                                                   {&cdsReddAssRitImp, u"TRAR7_REDASSTIRTIT"},
                                                                   {&cdsConFamCar, u"TCFC7_CONFAMCARICO"},
                                                                   {&cdsSomEroLavStra, u"TSLS7_SOMEROLAVSTRA"}};
    for (const auto &[dataSet, table] : tables)
        openTable(*dataSet, QString::fromUtf16(table));
    roundInpdap();
}

void TdmElhPdfDip::roundInpdap()
{
    // A contribution of cents is still a contribution: it shows as 1.
    const Decimal one = Decimal::fromInt(1);
    for (cdsInpdap.first(); !cdsInpdap.eof(); cdsInpdap.next()) {
        for (int i = 0; i < cdsInpdap.fieldCount(); ++i) {
            Field &f = cdsInpdap.field(i);
            if (f.dataType() != FieldType::Decimal || f.isNull() || f.asCurrency() <= Decimal()
                || f.asCurrency() >= one)
                continue;
            cdsInpdap.edit();
            f.setAsCurrency(one);
        }
        if (cdsInpdap.state() == DataSetState::Edit)
            cdsInpdap.post();
    }
    cdsInpdap.mergeChangeLog();
}

void TdmElhPdfDip::loadDescriptor()
{
    m_ldip = CertificateXml::loadLDip(PrintPaths::coordStp(u"LavDip.xml"_s));
}

ClientDataSet *TdmElhPdfDip::findDataSet(const QString &name)
{
    for (ClientDataSet *ds : {&cdsMultiSelect, &cdsTot, &cdsRedEst, &cdsCfFam, &cdsDtCong, &cdsTasSep, &cdsTfr, &cdsAnn,
                              &cdsInps, &cdsInpdap, &cdsInail, &cdsReddAssRitImp, &cdsConFamCar, &cdsSomEroLavStra}) {
        if (ds->name().compare(name, Qt::CaseInsensitive) == 0)
            return ds;
    }
    return nullptr;
}

void TdmElhPdfDip::drawPage(const QString &page, const QList<const ClientDataSet *> &only)
{
    for (const CertificateXml::TXMLPageType &p : std::as_const(m_ldip.pages)) {
        if (p.name != page)
            continue;
        for (const CertificateXml::TXMLSectionType &section : p.sections) {
            if (only.isEmpty() || only.contains(&sectionDataSet(section)))
                drawSection(section, &PrintFormats::employeeValue);
        }
    }
}

void TdmElhPdfDip::continuation(int templatePage, const QString &page, const QList<ClientDataSet *> &rows,
                                bool withAgent)
{
    CreaPagina(templatePage);
    QList<const ClientDataSet *> drawn{&cdsTot};
    if (withAgent)
        drawn.append(&m_stampe.cdsSost);
    for (const ClientDataSet *ds : rows) {
        if (!ds->eof())
            drawn.append(ds);
    }
    drawPage(page, drawn);
    for (ClientDataSet *ds : rows)
        ds->next();
}

void TdmElhPdfDip::pageGroup(int templatePage, const QString &page, const QList<ClientDataSet *> &rows, bool withAgent)
{
    CreaPagina(templatePage);
    drawPage(page);
    for (ClientDataSet *ds : rows)
        ds->next();
    while (std::any_of(rows.begin(), rows.end(), [](const ClientDataSet *ds) { return !ds->eof(); }))
        continuation(templatePage, page, rows, withAgent);
}

void TdmElhPdfDip::furtherDependants()
{
    for (int k = 0; !cdsConFamCar.eof(); ++k, cdsConFamCar.next()) {
        // Rows beyond the table of the page go on a page of their own.
        if (k > 0 && k % kDependantRows == 0) {
            CreaPagina(7);
            drawPage(u"PTfr2"_s, {&cdsTot, &m_stampe.cdsSost});
        }
        const int top = kFurtherDependantsTop + kDependantRowHeight * (k % kDependantRows);
        for (const CertificateXml::TXMLPageType &p : std::as_const(m_ldip.pages)) {
            if (p.name != u"PTfr2")
                continue;
            for (const CertificateXml::TXMLSectionType &section : p.sections) {
                if (&sectionDataSet(section) == &cdsConFamCar)
                    drawSection(section, &PrintFormats::employeeValue, top, kFirstRowOnly);
            }
        }
    }
}

void TdmElhPdfDip::printPerson(bool first)
{
    const QString code = cdsMultiSelect.fieldByName(u"SDIP7CODFIS"_s).asString();
    const QString person = u"SDIP7CODFIS = "_s + TextLib::QuotedStr(code);
    cdsTot.fieldByName(u"CodiceFiscale"_s).setAsString(code);
    cdsTot.fieldByName(u"ConFamCaricoPerc"_s).setAsString(cdsMultiSelect.fieldByName(u"FDETRSPETTFAMNUM"_s).asString());

    for (ClientDataSet *ds : {&cdsRedEst, &cdsCfFam, &cdsReddAssRitImp, &cdsSomEroLavStra})
        showOnly(*ds, person);
    CreaPagina(4, first);
    drawPage(u"PAna"_s);
    pageGroup(5, u"PAna2"_s, {&cdsRedEst, &cdsCfFam, &cdsReddAssRitImp, &cdsSomEroLavStra}, true);

    for (ClientDataSet *ds : {&cdsTfr, &cdsTasSep, &cdsDtCong})
        showOnly(*ds, person);
    pageGroup(6, u"PTfr1"_s, {&cdsTasSep, &cdsTfr, &cdsDtCong}, true);

    for (ClientDataSet *ds : {&cdsAnn, &cdsConFamCar})
        showOnly(*ds, person);
    cdsTfr.first();
    CreaPagina(7);
    drawPage(u"PTfr2"_s);
    for (ClientDataSet *ds : {&cdsTfr, &cdsAnn, &cdsConFamCar})
        ds->next();
    furtherDependants();
    while (!cdsTfr.eof() || !cdsAnn.eof())
        continuation(7, u"PTfr2"_s, {&cdsTfr, &cdsAnn}, true);

    for (ClientDataSet *ds : {&cdsInps, &cdsInpdap, &cdsInail})
        showOnly(*ds, person);
    pageGroup(8, u"PPens"_s, {&cdsInps, &cdsInpdap, &cdsInail}, false);

    CreaPagina(9);
    drawPage(u"PAss"_s);
    CreaPagina(10);
    drawPage(u"PRett"_s);
}
