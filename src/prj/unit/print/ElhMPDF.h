#pragma once

#include "PdfConfXml.h"
#include "THlkPdf.h"

#include <QString>

#include <memory>
#include <optional>
#include <unordered_map>
#include <vector>

class ClientDataSet;
class Field;
class FindingSink;

// The overlay engine of the prints: pages of a template PDF are copied into a
// new document and the values of the client datasets are written on them at
// the positions of a PdfConf coordinate descriptor. A print is one pass:
// ApriModello, any sequence of CreaPagina, StampaPagina and StampaSezione,
// EliminaPagine (1, 1) to drop the blank first page, SalvaPdf.
//
// The datasets are components of the descendant, found by the Section
// names of the descriptor. What the print must tell the office goes to the
// findings it is given.
class TdmElhPDF
{
public:
    // The error of a template or descriptor that cannot be opened.
    static const QString kOpenErrorText;

    explicit TdmElhPDF(FindingSink &findings);
    virtual ~TdmElhPDF();
    TdmElhPDF(const TdmElhPDF &) = delete;
    TdmElhPDF &operator=(const TdmElhPDF &) = delete;

    // Loads the descriptor, creates a new PDF component, loads the template
    // and starts the output document. False when a file is missing (nothing
    // else happens) or cannot be read; reportOpenError() then says why.
    bool ApriModello(const QString &templateFile, const QString &descriptorFile);
    // Reports the error of ApriModello, with the reason under it.
    void reportOpenError() const;

    // Appends template page n to the output and selects it, with the
    // producer's banner along the left margin.
    void CreaPagina(int templatePage, bool deleteFirst);
    // Copies the template page of the descriptor's Page of that name (case
    // counts) and draws all its sections from the datasets' current records.
    bool StampaPagina(const QString &pageName);
    // Draws one section of a Page (names compared without regard to case)
    // on the selected page, for a row index.
    bool StampaSezione(const QString &pageName, const QString &sectionName, int rowIndex);
    void EliminaPagine(int first, int count);
    // Creates the missing folders and writes the file; then opens its folder
    // and the file itself when asked, with a warning when they do not open.
    void SalvaPdf(const QString &fileName, bool openFolder, bool openFile);

    // The producer's line written along the left edge of every page.
    static const QString kBanner;

protected:
    FindingSink &findings() const { return m_findings; }
    // The PDF component of the print under way (after ApriModello).
    THlkPdf &pdf() { return *m_pdf; }
    // The dataset component of that name, without regard to case; null when
    // there is none.
    virtual ClientDataSet *findDataSet(const QString &name) = 0;

private:
    // The dataset of a Section, the alignment of each edit and the field of
    // each edit, found on first use: the datasets and the descriptor stay
    // the same through a print.
    struct ResolvedSection
    {
        ClientDataSet *dataSet = nullptr;
        std::vector<THlkPdf::Alignment> alignments;
        std::vector<Field *> fields;
    };

    bool StampaCampo(const PdfConfXml::TXMLSectionType &section, std::size_t editIndex, int rowIndex);
    void ScriviTesto(QString value, int x, int y, int height, double space, THlkPdf::Alignment alignment,
                     const QString &type);
    ResolvedSection &resolved(const PdfConfXml::TXMLSectionType &section);

    FindingSink &m_findings;
    std::optional<PdfConfXml::TXMLPdfConfType> XMLConfig; // active when loaded
    std::unordered_map<const PdfConfXml::TXMLSectionType *, ResolvedSection> m_resolved;
    std::unique_ptr<THlkPdf> m_pdf;
    int m_templateId = 0;
    int m_outputId = 0;
    QString m_openError;
};
