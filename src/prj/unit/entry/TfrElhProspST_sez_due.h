#pragma once

#include "TfrElhProspetto.h"

// Prospetto ST, section II (TPST2_PROSPETTOSTS2): the payments of the
// additional regional tax, one record per payment and region.
class TfrElhProspST_sez_due : public TfrElhProspetto
{
    Q_OBJECT

public:
    explicit TfrElhProspST_sez_due(THlmDBCds &store, QWidget *parent = nullptr);

    QString tableName() const override;
};
