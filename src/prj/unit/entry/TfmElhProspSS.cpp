#include "TfmElhProspSS.h"

#include "TfrElhProspSS.h"

using namespace Qt::Literals::StringLiterals;

TfmElhProspSS::TfmElhProspSS(THlmDBCds &store, QWidget *parent)
    : TfmElhChildDB(store, parent)
{
    setWindowTitle(u"Prospetto SS"_s);
    frProspSS = new TfrElhProspSS(store, this);
    setMainFrame(frProspSS);
    resize(1000, 600);
}
