#pragma once

#include "TfrElhProspetto.h"

// Prospetto SV (TPSV_PROSPETTOSV): the payments of the additional municipal
// tax, one record per payment, in the order they were loaded.
class TfrElhProspSV : public TfrElhProspetto
{
    Q_OBJECT

public:
    explicit TfrElhProspSV(THlmDBCds &store, QWidget *parent = nullptr);

    QString tableName() const override;
};
