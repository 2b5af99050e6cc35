#pragma once

#include "ElhMPdfCertificato.h"

// The employees' certificates ("LavDip.xml"): for each employee the pages
// 4 (registry, "PAna"), 5 (fiscal data, "PAna2"), 6 (separate taxation and
// severance, "PTfr1"), 7 (severance, annotations and dependants, "PTfr2"),
// 8 (INPS, INPDAP, INAIL, "PPens"), 9 ("PAss") and 10 ("PRett"); the rows of
// a section beyond the first go on continuation pages of the same template
// page with the person's and the agent's codes. The dependants after the
// first row are listed on page 7 under it, 12 points apart; those that do
// not fit go on a continuation page 7. INPDAP amounts between 0 and 1 are
// printed as 1.
class TdmElhPdfDip : public TdmElhPdfCertificato
{
public:
    // Further dependants that page 7 lists under the first row.
    static constexpr int kDependantRows = 7;

    TdmElhPdfDip(THlmDBCds &store, TdmElhStampe &stampe);

    ClientDataSet cdsRedEst{QStringLiteral("cdsRedEst")};
    ClientDataSet cdsCfFam{QStringLiteral("cdsCfFam")};
    ClientDataSet cdsDtCong{QStringLiteral("cdsDtCong")};
    ClientDataSet cdsTasSep{QStringLiteral("cdsTasSep")};
    ClientDataSet cdsTfr{QStringLiteral("cdsTfr")};
    ClientDataSet cdsAnn{QStringLiteral("cdsAnn")};
    ClientDataSet cdsInps{QStringLiteral("cdsInps")};
    ClientDataSet cdsInpdap{QStringLiteral("cdsInpdap")};
    ClientDataSet cdsInail{QStringLiteral("cdsInail")};
    ClientDataSet cdsReddAssRitImp{QStringLiteral("cdsReddAssRitImp")};
    ClientDataSet cdsConFamCar{QStringLiteral("cdsConFamCar")};
    ClientDataSet cdsSomEroLavStra{QStringLiteral("cdsSomEroLavStra")};

protected:
    void loadDescriptor() override;
    void printPerson(bool first) override;
    ClientDataSet *findDataSet(const QString &name) override;

private:
    // The sections of the descriptor's Page of that name (case counts) whose
    // dataset is one of `only`, or all of them when none is given.
    void drawPage(const QString &page, const QList<const ClientDataSet *> &only = {});
    // The first page of a group with all its sections at the first rows of
    // the datasets, then continuation pages, with the person's code (and
    // the agent's, when asked), while any of them has rows left.
    void pageGroup(int templatePage, const QString &page, const QList<ClientDataSet *> &rows, bool withAgent);
    // A continuation page: the codes and the sections of the datasets that
    // still have a row; then every dataset moves to its next row.
    void continuation(int templatePage, const QString &page, const QList<ClientDataSet *> &rows, bool withAgent);
    void furtherDependants();
    void roundInpdap();

    CertificateXml::TXMLLDipType m_ldip;
};
