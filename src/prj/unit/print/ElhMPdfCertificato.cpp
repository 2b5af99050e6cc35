#include "ElhMPdfCertificato.h"

#include "ElhMStampe.h"
#include "Exceptions.h"
#include "NrExceptions.h"
#include "PrintPaths.h"
#include "THlmDBCds.h"
#include "TextLib.h"

#include <QDir>
#include <QFileInfo>

using namespace Qt::Literals::StringLiterals;

const QString TdmElhPdfCertificato::kNoAgentText =
    u"IMPOSSIBILE CREARE LA STAMPA.\r\nVerificare che i dati del sostituto siano compilati"_s;

TdmElhPdfCertificato::TdmElhPdfCertificato(THlmDBCds &store, TdmElhStampe &stampe, const QString &registryTable,
                                           const QString &codeField)
    : m_store(store)
    , m_stampe(stampe)
    , m_prefix(codeField.chopped(6))
{
    openTable(cdsMultiSelect, registryTable);
    cdsMultiSelect.setIndexFieldNames(codeField);
    cdsMultiSelect.first();
    m_store.open(m_stampe.cdsSost, u"TSOS_DATOSOSTITUTO"_s);
    cdsTot.fieldDefs().add(u"CodiceFiscale"_s, FieldType::String, 16);
    cdsTot.fieldDefs().add(u"TotDic"_s, FieldType::String, 10);
    cdsTot.fieldDefs().add(u"ConFamCaricoPerc"_s, FieldType::String, 20);
    cdsTot.createDataSet();
    cdsTot.append();
}

TdmElhPdfCertificato::~TdmElhPdfCertificato() = default;

void TdmElhPdfCertificato::openTable(ClientDataSet &dataSet, const QString &table)
{
    m_store.open(dataSet, table);
}

TdmElhPdfCertificato::Outcome
TdmElhPdfCertificato::Crea(const QString &fileName, const std::optional<QList<Bookmark>> &chosen, NrProgress *progress)
{
    if (cdsMultiSelect.isEmpty() || (chosen && chosen->isEmpty()))
        return Outcome::NothingToPrint;
    m_resolved.clear();
    loadDescriptor();
    m_pdf = std::make_unique<THlkPdf>();
    THlkPdf &pdf = *m_pdf;
    pdf.Check(pdf.LoadFromFile(PrintPaths::coordStp(u"770_sempl_mod.pdf"_s)), u"Caricamento modello base"_s);
    m_templateId = pdf.SelectedDocument();
    pdf.Check(pdf.NewDocument(), u"Creazione nuovo documento"_s);
    pdf.Check(pdf.SetOrigin(1));
    pdf.Check(pdf.SetMeasurementUnits(1));
    const ClientDataSet &agent = m_stampe.cdsSost;
    if (agent.isEmpty() || TextLib::Trim(agent.fieldByName(u"SSOSCODFIS"_s).asString()).isEmpty())
        throw ENrError(kNoAgentText);

    QList<Bookmark> people;
    if (chosen) {
        people = *chosen;
    } else {
        for (cdsMultiSelect.first(); !cdsMultiSelect.eof(); cdsMultiSelect.next())
            people.append(cdsMultiSelect.bookmark());
    }
    // Stopped, the pages made so far are dropped: no file is written.
    const auto stopped = [&] {
        if (!progress || !progress->cancelled())
            return false;
        m_pdf.reset();
        return true;
    };
    const int total = static_cast<int>(people.size());
    for (int n = 0; n < total; ++n) {
        if (stopped())
            return Outcome::Cancelled;
        cdsMultiSelect.gotoBookmark(people[n]);
        if (progress)
            progress->step(n + 1, total, personName());
        // The position of the person in the list as shown, whoever is chosen.
        cdsTot.fieldByName(u"TotDic"_s).setAsString(u"%1"_s.arg(cdsMultiSelect.recNo(), 8));
        printPerson(n == 0);
    }
    if (stopped())
        return Outcome::Cancelled;

    QDir().mkpath(QFileInfo(fileName).absolutePath());
    pdf.Check(pdf.SaveToFile(fileName), u"Salvataggio stampa"_s);
    m_pdf.reset();
    return Outcome::Saved;
}

QString TdmElhPdfCertificato::personName() const
{
    return cdsMultiSelect.fieldByName(m_prefix + u"COGNOME"_s).asString().trimmed() + u' '
           + cdsMultiSelect.fieldByName(m_prefix + u"NOME"_s).asString().trimmed();
}

void TdmElhPdfCertificato::CreaPagina(int templatePage, bool deleteFirst)
{
    THlkPdf &pdf = *m_pdf;
    const QString label = u"Copia pagina"_s + QString::number(templatePage);
    pdf.Check(pdf.CopyPageRanges(m_templateId, QString::number(templatePage)), label);
    if (deleteFirst)
        pdf.Check(pdf.DeletePages(1, 1), label);
    pdf.Check(pdf.SelectPage(pdf.PageCount()), label);
}

TdmElhPdfCertificato::ResolvedSection &TdmElhPdfCertificato::resolved(const CertificateXml::TXMLSectionType &section)
{
    const auto found = m_resolved.find(&section);
    if (found != m_resolved.end())
        return found->second;
    ResolvedSection r;
    if (section.name.compare(u"CDSSOST", Qt::CaseInsensitive) == 0)
        r.dataSet = &m_stampe.cdsSost;
    else
        r.dataSet = findDataSet(section.name);
    if (!r.dataSet) {
        throw EInOutError(
            u"Il descrittore della stampa nomina la sezione «%1», che non è un archivio della stampa"_s.arg(
                section.name));
    }
    for (const CertificateXml::TXMLEditType &edit : section.edits)
        r.alignments.push_back(PrintFormats::alignment(edit.alignment));
    r.fields.assign(r.alignments.size(), nullptr);
    return m_resolved.emplace(&section, std::move(r)).first->second;
}

ClientDataSet &TdmElhPdfCertificato::sectionDataSet(const CertificateXml::TXMLSectionType &section)
{
    return *resolved(section).dataSet;
}

void TdmElhPdfCertificato::drawSection(const CertificateXml::TXMLSectionType &section, Vocabulary vocabulary,
                                       std::optional<int> top, const QStringList &skip)
{
    ResolvedSection &r = resolved(section);
    ClientDataSet &ds = *r.dataSet;
    // cdsTot holds its one record unposted.
    if (ds.viewCount() == 0)
        return;
    THlkPdf &pdf = *m_pdf;
    for (std::size_t i = 0; i < r.fields.size(); ++i) {
        const CertificateXml::TXMLEditType &edit = section.edits[static_cast<qsizetype>(i)];
        if (skip.contains(edit.name, Qt::CaseInsensitive))
            continue;
        if (!r.fields[i])
            r.fields[i] = &ds.fieldByName(edit.name);
        const QString value = r.fields[i]->asString();
        if (value.isEmpty())
            continue;
        const PrintFormats::CertificateValue shown = vocabulary(edit.type, value);
        for (const CertificateXml::TXMLPrintRectType &rect : edit.printRects) {
            pdf.SetLastOperation(u"Scrivi testo: "_s, shown.text);
            pdf.SetTextSize(rect.height);
            pdf.NrDrawText(rect.left, top.value_or(rect.top), shown.text, shown.spacing, r.alignments[i]);
        }
    }
}

void TdmElhPdfCertificato::showOnly(ClientDataSet &dataSet, const QString &filter)
{
    dataSet.setFilter(filter);
    dataSet.setFiltered(true);
    dataSet.first();
}
