#pragma once

#include "TfmElhChildDB.h"

#include <functional>

class TfrElhSostituto;

// "Dati Sostituto": the withholding agent and frontispiece. Once loaded, the
// agent's summary fields (the number of employees and self-employed, the
// boxes of the Prospetti compiled) are brought up to date and saved.
class TfmElhSostituto : public TfmElhChildDB
{
    Q_OBJECT

public:
    TfmElhSostituto(THlmDBCds &store, std::function<QString()> schoolFiscalCode, QWidget *parent = nullptr);

    TfrElhSostituto *frSostituto;

protected:
    void frameLoaded(TfrElfBase &frame) override;
};
