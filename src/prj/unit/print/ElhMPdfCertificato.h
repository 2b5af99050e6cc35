#pragma once

#include "CertificateXml.h"
#include "ClientDataSet.h"
#include "NrProgress.h"
#include "PrintFormats.h"
#include "THlkPdf.h"

#include <QList>
#include <QString>

#include <functional>
#include <memory>
#include <optional>
#include <unordered_map>
#include <vector>

class THlmDBCds;
class TdmElhStampe;

// What the certificate prints share: for every person chosen in a list,
// pages of the form copied from the template "770_sempl_mod.pdf" and filled
// with their own drawing of the descriptor's sections, all persons in one
// file. The datasets are filled when the module is made; the agent's record
// is the print module's cdsSost; cdsTot holds each person's code and his
// position in the list. The descriptor is read at each print, so that it can
// be mended without reopening the window.
class TdmElhPdfCertificato
{
public:
    enum class Outcome { Saved, NothingToPrint, Cancelled };
    static const QString kNoAgentText;

    virtual ~TdmElhPdfCertificato();
    TdmElhPdfCertificato(const TdmElhPdfCertificato &) = delete;
    TdmElhPdfCertificato &operator=(const TdmElhPdfCertificato &) = delete;

    // The list of the persons, ordered by fiscal code.
    ClientDataSet cdsMultiSelect{QStringLiteral("cdsMultiSelect")};
    ClientDataSet cdsTot{QStringLiteral("cdsTot")};

    // Prints the persons of the list whose bookmarks are given, in that
    // order, or all of them in list order without a choice; saves the file
    // under its full name (missing folders made). Nothing is written when
    // there is nobody to print, or when the progress was told to stop,
    // which it is asked before each person.
    Outcome Crea(const QString &fileName, const std::optional<QList<Bookmark>> &chosen = std::nullopt,
                 NrProgress *progress = nullptr);

protected:
    TdmElhPdfCertificato(THlmDBCds &store, TdmElhStampe &stampe, const QString &registryTable,
                         const QString &codeField);

    using Vocabulary = PrintFormats::CertificateValue (*)(const QString &type, const QString &value);

    // Reads the descriptor and checks what the print needs.
    virtual void loadDescriptor() = 0;
    // The pages of the person on which the list stands; `first` tells
    // whether the blank first page of the document is still there.
    virtual void printPerson(bool first) = 0;
    // The client dataset of the module named by a Section, or null.
    virtual ClientDataSet *findDataSet(const QString &name) = 0;

    void openTable(ClientDataSet &dataSet, const QString &table);
    // Appends template page n and draws on it from now on; the first page
    // of the document, blank, goes when asked.
    void CreaPagina(int templatePage, bool deleteFirst = false);
    // Draws the edits of a Section from the current record of its dataset;
    // nothing when the dataset has no record. `top` replaces the Top of
    // every PrintRect, `skip` leaves edits out.
    void drawSection(const CertificateXml::TXMLSectionType &section, Vocabulary vocabulary,
                     std::optional<int> top = std::nullopt, const QStringList &skip = {});
    // The dataset named by a Section: "CDSSOST" in any case is the agent's.
    ClientDataSet &sectionDataSet(const CertificateXml::TXMLSectionType &section);
    // Filters a dataset on the person and goes to its first record.
    static void showOnly(ClientDataSet &dataSet, const QString &filter);

    THlmDBCds &m_store;
    TdmElhStampe &m_stampe;

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

    // The surname and name of the person on which the list stands.
    QString personName() const;
    ResolvedSection &resolved(const CertificateXml::TXMLSectionType &section);

    // The registry's fields share the prefix of its code field ("SDIP7").
    QString m_prefix;
    std::unique_ptr<THlkPdf> m_pdf;
    int m_templateId = 0;
    std::unordered_map<const CertificateXml::TXMLSectionType *, ResolvedSection> m_resolved;
};
