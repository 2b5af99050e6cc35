#pragma once

#include "TfrElhProspetto.h"

// Prospetto SY, table TPSY_PROSPETTOSY: the sums paid by the payer on behalf
// of a principal debtor to a seizing creditor. The file writes these rows as
// section II (lines SY7 to SY11), and so the window shows them: "Sezione II -
// Riservata al soggetto erogatore delle somme".
class TfrElhProspSY : public TfrElhProspetto
{
    Q_OBJECT

public:
    explicit TfrElhProspSY(THlmDBCds &store, QWidget *parent = nullptr);

    QString tableName() const override;
};
