#include "ElhMPDF.h"

#include "ClientDataSet.h"
#include "NrFindings.h"
#include "PrintFormats.h"
#include "ShellOpen.h"

#include <QDir>
#include <QFileInfo>

using namespace Qt::Literals::StringLiterals;

const QString TdmElhPDF::kOpenErrorText = u"Impossibile creare il file PDF:\n\r1) Controllare che il file di template "
                                          u"e il file XML di configurazione esistano\n\r"
                                          u"   e siano contenuti nella giusta cartella\n\r2) Che l'XML abbia una "
                                          u"sintassi corretta\n\r3) I file potrebbero essere "
                                          u"danneggiati"_s;

const QString TdmElhPDF::kBanner = u"Stampato con elh770 - Modello 770/2024 Redditi 2023    "_s;

TdmElhPDF::TdmElhPDF(FindingSink &findings)
    : m_findings(findings)
{
}

TdmElhPDF::~TdmElhPDF() = default;

bool TdmElhPDF::ApriModello(const QString &templateFile, const QString &descriptorFile)
{
    for (const QString &file : {templateFile, descriptorFile}) {
        if (!QFileInfo(file).isFile()) {
            m_openError = u"Il file «%1» non esiste."_s.arg(QDir::toNativeSeparators(file));
            return false;
        }
    }
    try {
        m_resolved.clear();
        XMLConfig.reset();
        XMLConfig = PdfConfXml::load(descriptorFile);
        m_pdf = std::make_unique<THlkPdf>();
        m_pdf->Check(m_pdf->LoadFromFile(templateFile), u"Caricamento modello base"_s);
        m_templateId = m_pdf->SelectedDocument();
        m_outputId = m_pdf->NewDocument();
        m_pdf->Check(m_outputId, u"Creazione nuovo documento"_s);
        m_pdf->Check(m_pdf->SetOrigin(1));
        m_pdf->Check(m_pdf->SetMeasurementUnits(1));
    } catch (const Exception &e) {
        m_openError = e.message();
        return false;
    }
    m_openError.clear();
    return true;
}

void TdmElhPDF::reportOpenError() const
{
    m_findings.error(m_openError.isEmpty() ? kOpenErrorText : kOpenErrorText + u"\n\r\n\r"_s + m_openError);
}

void TdmElhPDF::CreaPagina(int templatePage, bool deleteFirst)
{
    const QString label = u"Copia pagina"_s + QString::number(templatePage);
    m_pdf->Check(m_pdf->CopyPageRanges(m_templateId, QString::number(templatePage)), label);
    if (deleteFirst)
        m_pdf->Check(m_pdf->DeletePages(1, 1), label);
    m_pdf->Check(m_pdf->SelectPage(m_pdf->PageCount()), label);
    m_pdf->SetTextSize(7);
    m_pdf->DrawRotatedText(10, 747, 90, kBanner);
}

bool TdmElhPDF::StampaPagina(const QString &pageName)
{
    if (!XMLConfig)
        return false;
    for (const PdfConfXml::TXMLPageType &page : XMLConfig->pages) {
        if (page.name != pageName)
            continue;
        CreaPagina(page.templatePage, false);
        for (const PdfConfXml::TXMLSectionType &section : page.sections) {
            for (std::size_t e = 0; e < static_cast<std::size_t>(section.edits.size()); ++e) {
                if (!StampaCampo(section, e, 0))
                    return false;
            }
        }
        return true;
    }
    return false;
}

bool TdmElhPDF::StampaSezione(const QString &pageName, const QString &sectionName, int rowIndex)
{
    if (!XMLConfig)
        return false;
    for (const PdfConfXml::TXMLPageType &page : XMLConfig->pages) {
        if (page.name.compare(pageName, Qt::CaseInsensitive) != 0)
            continue;
        for (const PdfConfXml::TXMLSectionType &section : page.sections) {
            if (section.name.compare(sectionName, Qt::CaseInsensitive) != 0)
                continue;
            for (std::size_t e = 0; e < static_cast<std::size_t>(section.edits.size()); ++e)
                StampaCampo(section, e, rowIndex);
            return true;
        }
    }
    return false;
}

TdmElhPDF::ResolvedSection &TdmElhPDF::resolved(const PdfConfXml::TXMLSectionType &section)
{
    const auto found = m_resolved.find(&section);
    if (found != m_resolved.end())
        return found->second;
    ResolvedSection r;
    r.dataSet = findDataSet(section.name);
    if (!r.dataSet) {
        throw Exception(
            u"Il descrittore di stampa nomina la sezione «%1», che non corrisponde a nessun archivio della stampa."_s
                .arg(section.name));
    }
    for (const PdfConfXml::TXMLEditType &edit : section.edits)
        r.alignments.push_back(PrintFormats::alignment(edit.alignment));
    r.fields.assign(r.alignments.size(), nullptr);
    return m_resolved.emplace(&section, std::move(r)).first->second;
}

bool TdmElhPDF::StampaCampo(const PdfConfXml::TXMLSectionType &section, std::size_t editIndex, int rowIndex)
{
    ResolvedSection &resolvedSection = resolved(section);
    ClientDataSet &ds = *resolvedSection.dataSet;
    if (!ds.active() && ds.eof())
        return false;
    const PdfConfXml::TXMLEditType &edit = section.edits[static_cast<qsizetype>(editIndex)];
    Field *&field = resolvedSection.fields[editIndex];
    const bool diOffsets = section.name == u"cdsDI";
    for (const PdfConfXml::TXMLPrintRectType &r : edit.printRects) {
        if (r.maxIndex != 0 && (rowIndex < r.minIndex || rowIndex > r.maxIndex))
            continue;
        // The lines of Prospetto DI drift down on the form by a point every few rows.
        int extra = 0;
        if (diOffsets) {
            if (rowIndex > 4)
                extra = 1;
            if (rowIndex >= 9)
                extra = 2;
            if (rowIndex >= 14)
                extra = 3;
            if (rowIndex >= 18)
                extra = 4;
        }
        const int x = r.left + (rowIndex - r.minIndex) * r.oOffset;
        const int y = r.top + (rowIndex - r.minIndex) * r.vOffset + extra;
        if (!field)
            field = &ds.fieldByName(edit.name);
        ScriviTesto(field->asString(), x, y, r.height, r.space, resolvedSection.alignments[editIndex], edit.type);
    }
    return true;
}

void TdmElhPDF::ScriviTesto(QString value, int x, int y, int height, double space, THlkPdf::Alignment alignment,
                            const QString &type)
{
    value = PrintFormats::engineValue(type, value);
    m_pdf->SetLastOperation(u"Scrivi testo: "_s, value);
    m_pdf->SetTextSize(height);
    m_pdf->NrDrawText(x, y, value, space, alignment);
}

void TdmElhPDF::EliminaPagine(int first, int count)
{
    m_pdf->Check(m_pdf->DeletePages(first, count));
}

void TdmElhPDF::SalvaPdf(const QString &fileName, bool openFolder, bool openFile)
{
    const QString folder = QFileInfo(fileName).absolutePath();
    QDir().mkpath(folder);
    m_pdf->Check(m_pdf->SaveToFile(fileName), u"Salvataggio stampa"_s);
    const bool opened =
        (!openFolder || ShellOpen::openFolder(folder + u'/')) && (!openFile || ShellOpen::openFile(fileName));
    if (!opened) {
        m_findings.warning(
            u"La stampa è stata salvata in «%1», ma non si è potuta aprire."_s.arg(QDir::toNativeSeparators(fileName)));
    }
}
