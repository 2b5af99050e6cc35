#pragma once

#include "NruParams.h"

#include <QHash>
#include <QString>
#include <QVariant>

// The payroll library's parameters module: the per-user parameters of the
// framework, the accounting parameters of one financial year (the statement
// QRY_PACO_ANF, one row) and the check of a parameter chosen by the user.
class TdmKbrParams : public TdmNruParams
{
public:
    // A value chosen in the parameter list: whether an item was chosen, its
    // text (a financial year's is the year, "2023") and its identifier.
    struct Choice
    {
        bool chosen = false;
        QString text;
        int id = 0;
    };

    explicit TdmKbrParams(TdmNrConnection *connection, const QString &settingsFile = QString());

    // Loads the accounting parameters of the financial year and keeps its
    // IDWGANFID as the current accounting identifier.
    void loadFinancialYear(int anfId);
    // A column of the accounting parameters; the current financial year's
    // (NRUP_AnfId) are loaded first when none are. A missing column raises.
    QVariant parameterValue(const QString &name);
    int accountingId() const { return m_accountingId; }

    // Whether the value chosen for a parameter of the group NRUC_Params is
    // valid; the reason is shown when not. A financial year must not be later
    // than 2024; from 2019 on, a year without accounting entries needs the
    // chart of accounts of 2019, which the external program aggPdC2019.exe
    // (suite folder + "bin\") creates when neither of its test accounts exists.
    bool checkValue(const QString &parameter, const Choice &choice);
    // The external chart-of-accounts program.
    static QString chartOfAccountsProgram();

private:
    bool accountExists(int timId);

    bool m_loaded = false;
    QHash<QString, QVariant> m_paco; // column (upper case) -> value
    int m_accountingId = 0;
};
