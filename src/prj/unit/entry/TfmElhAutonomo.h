#pragma once

#include "TfmElhAnagrafe.h"

class TfrElhAutonomo;

// "Lavoro Autonomo": the self-employed workers of the return and the sums
// paid to each.
class TfmElhAutonomo : public TfmElhAnagrafe
{
    Q_OBJECT

public:
    explicit TfmElhAutonomo(THlmDBCds &store, QWidget *parent = nullptr);

    TfrElhAutonomo *frAutonomo;

private:
    TfmElhAutonomo(THlmDBCds &store, TfrElhAutonomo *registry, QWidget *parent);
};
