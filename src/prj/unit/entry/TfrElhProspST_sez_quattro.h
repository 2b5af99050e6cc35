#pragma once

#include "TfrElhProspetto.h"

// Prospetto ST, section IV (TPST4_PROSPETTOSTS4): the substitute tax on
// capital gains paid through an intermediary, one record per intermediary
// (line ST38) with its eleven payment lines ST39 to ST49. A record is saved
// only when each line has both its month and its year, or neither, a month
// of two digits and the year of the income.
class TfrElhProspST_sez_quattro : public TfrElhProspetto
{
    Q_OBJECT

public:
    static constexpr int kFirstLine = 39;
    static constexpr int kLastLine = 49;

    explicit TfrElhProspST_sez_quattro(THlmDBCds &store, QWidget *parent = nullptr);

    QString tableName() const override;

protected:
    void checkRecord() override;
};
