#pragma once

#include "ClientDataSet.h"
#include "FronteXml.h"

#include <optional>

class THlmDBCds;

// The shared print data module, one for the program: the withholding
// agent's record, the frontispiece's descriptor and its value vocabulary,
// and the print of the frontispiece, which draws the first pages of the
// form from the agent's record. The print windows close what they leave
// open in it.
class TdmElhStampe
{
public:
    explicit TdmElhStampe(THlmDBCds &store);

    ClientDataSet cdsSost{QStringLiteral("cdsSost")};
    // The frontispiece's descriptor once a print has loaded it.
    std::optional<FronteXml::TXMLFronteType> xml770;

    // The frontispiece's vocabulary of type codes (PrintFormats).
    static QString FormattaValore(const QString &type, const QString &value);

    // What the frontispiece window does when shown: the agent's record is
    // opened and its summary fields refreshed (posted, not saved).
    void preparaFrontespizio();
    // Pages 1 to 3 of the form, pages 2 and 3 filled from the agent's record
    // as "FrontS.xml" says, saved under the full file name. A missing or
    // malformed descriptor, a failed PDF operation and a missing agent's
    // record raise their error.
    void stampaFrontespizio(const QString &fileName);

private:
    THlmDBCds &m_store;
};
