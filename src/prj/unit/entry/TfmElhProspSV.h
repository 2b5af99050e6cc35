#pragma once

#include "TfmElhChildDB.h"

class TfrElhProspSV;

// "Prospetto SV": a delete is written with the next save of the table.
class TfmElhProspSV : public TfmElhChildDB
{
    Q_OBJECT

public:
    explicit TfmElhProspSV(THlmDBCds &store, QWidget *parent = nullptr);

    TfrElhProspSV *frProspSV;
};
