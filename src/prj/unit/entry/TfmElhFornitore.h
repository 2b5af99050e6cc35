#pragma once

#include "TfmElhChildDB.h"

class TfrElhFornitore;

// "Dati Fornitore": the supplier of the telematic file.
class TfmElhFornitore : public TfmElhChildDB
{
    Q_OBJECT

public:
    explicit TfmElhFornitore(THlmDBCds &store, QWidget *parent = nullptr);

    TfrElhFornitore *frFornitore;
};
