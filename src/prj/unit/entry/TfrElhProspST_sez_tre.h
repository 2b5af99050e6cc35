#pragma once

#include "TfrElhProspetto.h"

// Prospetto ST, section III (TPST3_PROSPETTOSTS3): the withholdings on
// capital income paid through a non-resident intermediary, one record per
// intermediary (line ST26) with its eleven payment lines ST27 to ST37.
class TfrElhProspST_sez_tre : public TfrElhProspetto
{
    Q_OBJECT

public:
    static constexpr int kFirstLine = 27;
    static constexpr int kLastLine = 37;

    explicit TfrElhProspST_sez_tre(THlmDBCds &store, QWidget *parent = nullptr);

    QString tableName() const override;
};
