#pragma once

#include "TfrElhProspetto.h"

// Prospetto SY, table TPSY2_PROSPETTOSY2: the sums the principal debtor
// paid to a seizing creditor, in up to five kinds. The file writes these
// rows as section I (lines SY2 to SY6), and so the window shows them:
// "Sezione I - Riservata al debitore principale".
class TfrElhProspSY_sez_due : public TfrElhProspetto
{
    Q_OBJECT

public:
    explicit TfrElhProspSY_sez_due(THlmDBCds &store, QWidget *parent = nullptr);

    QString tableName() const override;
};
