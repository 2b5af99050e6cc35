#include "TfmElhFornitore.h"

#include "TfrElhFornitore.h"

using namespace Qt::Literals::StringLiterals;

TfmElhFornitore::TfmElhFornitore(THlmDBCds &store, QWidget *parent)
    : TfmElhChildDB(store, parent)
{
    setWindowTitle(u"Dati Fornitore"_s);
    frFornitore = new TfrElhFornitore(this);
    setMainFrame(frFornitore);
    resize(560, 260);
}
