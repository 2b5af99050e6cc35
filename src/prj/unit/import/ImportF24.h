#pragma once

#include "TImportProspetto.h"

#include <QString>

class THlmDBCds;

// The F24EP payments import: the Prospetti ST section I, ST section II and
// SV chosen, each replaced by the payroll's payments (TImportProspetto), then
// the withholding agent marked as sending the return alone (SSOSTIPOINV 1)
// with the payments found: of employees (LSOSDIP), of the self-employed
// (LSOSAUT). The result text has a header per Prospetto and its outcome.
class ImportF24
{
public:
    // The Prospetti to import; all by default.
    struct Choice
    {
        bool stI = true;
        bool stII = true;
        bool sv = true;
    };

    ImportF24(THlmDBCds &store, int financialYear);

    // Runs the import of the chosen Prospetti and gives the result text.
    QString run(const Choice &choice);
    // Whether a Prospetto or the agent could not be written, or lines of the
    // payroll were refused.
    bool failed() const { return m_failed; }

private:
    void markAgent(bool employees, bool selfEmployed, QString &text);

    THlmDBCds &m_store;
    int m_financialYear;
    TImportProspetto m_stI;
    TImportProspetto m_stII;
    TImportProspetto m_sv;
    bool m_failed = false;
};
