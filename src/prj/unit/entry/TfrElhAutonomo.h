#pragma once

#include "TfrElhAnagrafe.h"

class TfrElhAutSomme;

// The self-employed workers (TDAU7_DATIAUTONOM): the registry grid and the
// detail pages "Percipiente" (the worker, with the box numbers of the form)
// and "Somme erogate" (his payments).
class TfrElhAutonomo : public TfrElhAnagrafe
{
    Q_OBJECT

public:
    explicit TfrElhAutonomo(THlmDBCds &store, QWidget *parent = nullptr);

    QTabWidget *pcAutonomo;
    TfrElhAutSomme *frAutSomme;

protected:
    void cdsMainNewRecord() override;

private:
    QWidget *percipiente();
    void afterInsert();
};
