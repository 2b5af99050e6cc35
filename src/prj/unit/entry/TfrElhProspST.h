#pragma once

#include "TfrElhProspetto.h"

// Prospetto ST, section I (TPST_PROSPETTOST): the payments of income tax
// and the other withholdings due to the State, one record per payment.
class TfrElhProspST : public TfrElhProspetto
{
    Q_OBJECT

public:
    explicit TfrElhProspST(THlmDBCds &store, QWidget *parent = nullptr);

    QString tableName() const override;
};
