#pragma once

#include "TfrElhProspetto.h"

// Prospetto SS (TSS4_PROSPETTOSS4): the amounts not withheld because of
// extraordinary operations, one record per agent. The captions carry the
// years of the return; the grid tells, in its column "Dati presenti",
// whether a record declares anything.
class TfrElhProspSS : public TfrElhProspetto
{
    Q_OBJECT

public:
    explicit TfrElhProspSS(THlmDBCds &store, QWidget *parent = nullptr);

    QString tableName() const override;
};
