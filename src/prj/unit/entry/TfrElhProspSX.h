#pragma once

#include "TfrElhProspetto.h"

// Prospetto SX (TPSX_PROSPETTOSX): the credits of each agent, their use in
// compensation and their refunds, one record per agent, its lines read as
// the form's from SX1 to SX49 on a page that scrolls. The grid tells, in its
// column "Dati presenti", whether a record declares anything.
class TfrElhProspSX : public TfrElhProspetto
{
    Q_OBJECT

public:
    explicit TfrElhProspSX(THlmDBCds &store, QWidget *parent = nullptr);

    QString tableName() const override;
};
