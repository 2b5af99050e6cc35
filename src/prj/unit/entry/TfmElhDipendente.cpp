#include "TfmElhDipendente.h"

#include "TfrElhDipAnagr.h"

using namespace Qt::Literals::StringLiterals;

TfmElhDipendente::TfmElhDipendente(THlmDBCds &store, QWidget *parent)
    : TfmElhDipendente(store, new TfrElhDipAnagr(store), parent)
{
}

TfmElhDipendente::TfmElhDipendente(THlmDBCds &store, TfrElhDipAnagr *registry, QWidget *parent)
    : TfmElhAnagrafe(store, registry, parent)
    , frDipAnagr(registry)
{
    setWindowTitle(u"Lavoro Dipendente"_s);
    setPageControl(frDipAnagr->pcDip);
    resize(1180, 760);
}
