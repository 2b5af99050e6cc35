#pragma once

#include "TfmElhChildDB.h"

class TfrElhProspDI;

// "Prospetto DI".
class TfmElhProspDI : public TfmElhChildDB
{
    Q_OBJECT

public:
    explicit TfmElhProspDI(THlmDBCds &store, QWidget *parent = nullptr);

    TfrElhProspDI *frProspDI;
};
