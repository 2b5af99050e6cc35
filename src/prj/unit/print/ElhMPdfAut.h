#pragma once

#include "ElhMPdfCertificato.h"

// The self-employed workers' certificates ("LavAut.xml"): one page 11 for
// each payment of a worker; the first carries the agent's and the worker's
// data, the following ones only his code, his position and the payment.
class TdmElhPdfAut : public TdmElhPdfCertificato
{
public:
    TdmElhPdfAut(THlmDBCds &store, TdmElhStampe &stampe);

    ClientDataSet cdsSomEr{QStringLiteral("cdsSomEr")};

protected:
    void loadDescriptor() override;
    void printPerson(bool first) override;
    ClientDataSet *findDataSet(const QString &name) override;

private:
    void drawSections(const QList<const ClientDataSet *> &only);

    CertificateXml::TXMLLAutType m_laut;
};
