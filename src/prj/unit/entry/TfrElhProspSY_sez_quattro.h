#pragma once

#include "TfrElhProspetto.h"

// Prospetto SY, section IV (TPSY4_PROSPETTOSY4): the sums paid to foreign
// recipients without an Italian fiscal code, one record per recipient.
class TfrElhProspSY_sez_quattro : public TfrElhProspetto
{
    Q_OBJECT

public:
    explicit TfrElhProspSY_sez_quattro(THlmDBCds &store, QWidget *parent = nullptr);

    QString tableName() const override;
};
