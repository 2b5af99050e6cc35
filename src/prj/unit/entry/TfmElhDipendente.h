#pragma once

#include "TfmElhAnagrafe.h"

class TfrElhDipAnagr;

// "Lavoro Dipendente": the employees of the return with their twelve
// sections.
class TfmElhDipendente : public TfmElhAnagrafe
{
    Q_OBJECT

public:
    explicit TfmElhDipendente(THlmDBCds &store, QWidget *parent = nullptr);

    TfrElhDipAnagr *frDipAnagr;

private:
    TfmElhDipendente(THlmDBCds &store, TfrElhDipAnagr *registry, QWidget *parent);
};
