#pragma once

#include "TfrElfBase.h"

// The frame of the extinct withholding agents (TSOE7_SOSESTINTO), any
// number of them, which the Prospetti refer to by their fiscal code. A code
// with a wrong shape or check character is reported before the record is
// confirmed; the user may still keep it.
class TfrElhSosEst : public TfrElfBase
{
    Q_OBJECT

public:
    explicit TfrElhSosEst(QWidget *parent = nullptr);

    QString tableName() const override;

protected:
    void cdsMainBeforePost() override;
};
