#pragma once

#include "TfmElhChildDB.h"

#include <functional>

class TfrElhSostituto;

// "Dati Sostituto": the withholding agent and frontispiece.
class TfmElhSostituto : public TfmElhChildDB
{
    Q_OBJECT

public:
    TfmElhSostituto(THlmDBCds &store, std::function<QString()> schoolFiscalCode, QWidget *parent = nullptr);

    TfrElhSostituto *frSostituto;
};
