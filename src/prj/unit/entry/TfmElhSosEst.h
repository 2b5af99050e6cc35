#pragma once

#include "TfmElhChildDB.h"

class TfrElhSosEst;

// "Sostituto estinto": the extinct withholding agents.
class TfmElhSosEst : public TfmElhChildDB
{
    Q_OBJECT

public:
    explicit TfmElhSosEst(THlmDBCds &store, QWidget *parent = nullptr);

    TfrElhSosEst *frSosEst;
};
