#pragma once

#include "NruParams.h"

#include <QHash>
#include <QString>
#include <QVariant>

// The payroll library's parameters module: the per-user parameters of the
// framework, the accounting parameters of one financial year (the statement
// QRY_PACO_ANF, one row).
class TdmKbrParams : public TdmNruParams
{
public:
    explicit TdmKbrParams(TdmNrConnection *connection, const QString &settingsFile = QString());

    // Loads the accounting parameters of the financial year.
    void loadFinancialYear(int anfId);
    // A column of the accounting parameters; the current financial year's
    // (NRUP_AnfId) are loaded first when none are. A missing column raises.
    QVariant parameterValue(const QString &name);

private:
    bool m_loaded = false;
    QHash<QString, QVariant> m_paco; // column (upper case) -> value
};
