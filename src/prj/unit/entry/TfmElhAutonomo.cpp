#include "TfmElhAutonomo.h"

#include "TfrElhAutonomo.h"

using namespace Qt::Literals::StringLiterals;

TfmElhAutonomo::TfmElhAutonomo(THlmDBCds &store, QWidget *parent)
    : TfmElhAutonomo(store, new TfrElhAutonomo(store), parent)
{
}

TfmElhAutonomo::TfmElhAutonomo(THlmDBCds &store, TfrElhAutonomo *registry, QWidget *parent)
    : TfmElhAnagrafe(store, registry, parent)
    , frAutonomo(registry)
{
    setWindowTitle(u"Lavoro Autonomo"_s);
    setPageControl(frAutonomo->pcAutonomo);
    resize(1100, 720);
}
