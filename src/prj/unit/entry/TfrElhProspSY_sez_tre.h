#pragma once

#include "TfrElhProspetto.h"

// Prospetto SY, section III (TPSY3_PROSPETTOSY3): the withholdings on bank
// transfers of art. 25 of D.L. n. 78/2010, one record per beneficiary.
class TfrElhProspSY_sez_tre : public TfrElhProspetto
{
    Q_OBJECT

public:
    explicit TfrElhProspSY_sez_tre(THlmDBCds &store, QWidget *parent = nullptr);

    QString tableName() const override;
};
