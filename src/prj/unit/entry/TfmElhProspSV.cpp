#include "TfmElhProspSV.h"

#include "TfrElhProspSV.h"

using namespace Qt::Literals::StringLiterals;

TfmElhProspSV::TfmElhProspSV(THlmDBCds &store, QWidget *parent)
    : TfmElhChildDB(store, parent)
{
    setWindowTitle(u"Prospetto SV"_s);
    frProspSV = new TfrElhProspSV(store, this);
    setMainFrame(frProspSV);
    resize(1000, 600);
}
