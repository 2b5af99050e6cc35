#include "ElhMPdfAut.h"

#include "PersonTables.h"
#include "PrintPaths.h"

using namespace Qt::Literals::StringLiterals;

TdmElhPdfAut::TdmElhPdfAut(THlmDBCds &store, TdmElhStampe &stampe)
    : TdmElhPdfCertificato(store, stampe, u"TDAU7_DATIAUTONOM"_s, u"SDAU7CODFIS"_s)
{
    openTable(cdsSomEr, u"TDSE7_SOMMEEROGATE"_s);
}

void TdmElhPdfAut::loadDescriptor()
{
    m_laut = CertificateXml::loadLAut(PrintPaths::coordStp(u"LavAut.xml"_s));
}

ClientDataSet *TdmElhPdfAut::findDataSet(const QString &name)
{
    for (ClientDataSet *ds : {&cdsMultiSelect, &cdsTot, &cdsSomEr}) {
        if (ds->name().compare(name, Qt::CaseInsensitive) == 0)
            return ds;
    }
    return nullptr;
}

void TdmElhPdfAut::drawSections(const QList<const ClientDataSet *> &only)
{
    for (const CertificateXml::TXMLSectionType &section : std::as_const(m_laut.sections)) {
        if (only.isEmpty() || only.contains(&sectionDataSet(section)))
            drawSection(section, &PrintFormats::selfEmployedValue);
    }
}

void TdmElhPdfAut::printPerson(bool first)
{
    showOnly(cdsSomEr, PersonTables::personFilter(cdsMultiSelect.fieldByName(u"IAFIID"_s).asLargeInt()));
    cdsTot.fieldByName(u"CodiceFiscale"_s).setAsString(cdsMultiSelect.fieldByName(u"SDAU7CODFIS"_s).asString());
    CreaPagina(11, first);
    drawSections({});
    for (cdsSomEr.next(); !cdsSomEr.eof(); cdsSomEr.next()) {
        CreaPagina(11);
        drawSections({&cdsTot, &cdsSomEr});
    }
}
