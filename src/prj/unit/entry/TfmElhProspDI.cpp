#include "TfmElhProspDI.h"

#include "TfrElhProspDI.h"

using namespace Qt::Literals::StringLiterals;

TfmElhProspDI::TfmElhProspDI(THlmDBCds &store, QWidget *parent)
    : TfmElhChildDB(store, parent)
{
    setWindowTitle(u"Prospetto DI"_s);
    frProspDI = new TfrElhProspDI(store, this);
    setMainFrame(frProspDI);
    resize(1000, 600);
}
