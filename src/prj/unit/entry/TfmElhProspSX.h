#pragma once

#include "TfmElhChildDB.h"

class TfrElhProspSX;

// "Prospetto SX": unlike the other windows, it saves its table after each
// delete too.
class TfmElhProspSX : public TfmElhChildDB
{
    Q_OBJECT

public:
    explicit TfmElhProspSX(THlmDBCds &store, QWidget *parent = nullptr);

    TfrElhProspSX *frProspSX;
};
