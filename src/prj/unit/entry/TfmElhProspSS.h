#pragma once

#include "TfmElhChildDB.h"

class TfrElhProspSS;

// "Prospetto SS".
class TfmElhProspSS : public TfmElhChildDB
{
    Q_OBJECT

public:
    explicit TfmElhProspSS(THlmDBCds &store, QWidget *parent = nullptr);

    TfrElhProspSS *frProspSS;
};
