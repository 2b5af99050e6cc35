#pragma once

#include "TfrElhProspetto.h"

// Prospetto DI (TPDI_PROSPETTODI): the greater credits of the employees by
// tax period, one record per employee and period.
class TfrElhProspDI : public TfrElhProspetto
{
    Q_OBJECT

public:
    explicit TfrElhProspDI(THlmDBCds &store, QWidget *parent = nullptr);

    QString tableName() const override;
};
