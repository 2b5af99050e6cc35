#include "ElhMStampe.h"

#include "NrExceptions.h"
#include "PrintFormats.h"
#include "PrintPaths.h"
#include "THlkPdf.h"
#include "THlmDBCds.h"
#include "AgentSummary.h"

#include <QDir>
#include <QFileInfo>

using namespace Qt::Literals::StringLiterals;

TdmElhStampe::TdmElhStampe(THlmDBCds &store)
    : m_store(store)
{
}

QString TdmElhStampe::FormattaValore(const QString &type, const QString &value)
{
    return PrintFormats::frontispieceValue(type, value);
}

void TdmElhStampe::preparaFrontespizio()
{
    m_store.open(cdsSost, u"TSOS_DATOSOSTITUTO"_s);
    AgentSummary::refresh(cdsSost, m_store);
}

void TdmElhStampe::stampaFrontespizio(const QString &fileName)
{
    if (!cdsSost.active() || cdsSost.isEmpty())
        throw ENrError(u"Manca il record del sostituto d'imposta: compilare Frontespizio->Sostituto"_s);
    xml770 = FronteXml::load(PrintPaths::coordStp(u"FrontS.xml"_s));
    THlkPdf pdf;
    pdf.Check(pdf.LoadFromFile(PrintPaths::coordStp(u"770_sempl_mod.pdf"_s)));
    const int templateId = pdf.SelectedDocument();
    pdf.Check(pdf.NewDocument());
    pdf.Check(pdf.SetOrigin(1));
    pdf.Check(pdf.SetMeasurementUnits(1));
    pdf.Check(pdf.CopyPageRanges(templateId, u"1,2,3"_s));
    pdf.Check(pdf.DeletePages(1, 1));
    pdf.Check(pdf.SelectPage(2));
    const int section = cdsSost.fieldByName(u"ISOSSEZ"_s).asInteger();
    for (const FronteXml::TXMLSectionType &s : xml770->sections) {
        // The sections of the form's second page, and all that follow them.
        if (s.page == 2)
            pdf.Check(pdf.SelectPage(3));
        for (const FronteXml::TXMLEditType &edit : s.edits) {
            if (edit.page > 0 && edit.page != section)
                continue;
            QString value = cdsSost.fieldByName(edit.name).asString();
            if (value == u"0")
                continue;
            // The date boxes of the frontispiece are wider apart than elsewhere.
            if (edit.type == u"DT")
                value = value.mid(0, 2) + u"     "_s + value.mid(3, 2) + u"      "_s + value.mid(6, 4);
            else
                value = FormattaValore(edit.type, value);
            pdf.SetTextSize(edit.printRect.height);
            pdf.NrDrawText(edit.printRect.left, edit.printRect.top, value, edit.space, THlkPdf::Alignment::Left);
        }
    }
    QDir().mkpath(QFileInfo(fileName).absolutePath());
    pdf.Check(pdf.SaveToFile(fileName));
}
