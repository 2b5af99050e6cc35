#pragma once

#include "TfrElfBase.h"

// The frame of the extinct withholding agents (TSOE7_SOSESTINTO), any
// number of them, which the Prospetti refer to by their fiscal code.
class TfrElhSosEst : public TfrElfBase
{
    Q_OBJECT

public:
    explicit TfrElhSosEst(QWidget *parent = nullptr);

    QString tableName() const override;
};
