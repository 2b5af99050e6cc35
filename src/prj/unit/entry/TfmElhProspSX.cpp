#include "TfmElhProspSX.h"

#include "FrameHost.h"
#include "TfrElhProspSX.h"

using namespace Qt::Literals::StringLiterals;

TfmElhProspSX::TfmElhProspSX(THlmDBCds &store, QWidget *parent)
    : TfmElhChildDB(store, parent)
{
    setWindowTitle(u"Prospetto SX"_s);
    frProspSX = new TfrElhProspSX(store, this);
    setMainFrame(frProspSX);
    // A credit deleted is gone from the store at once, not with the next save.
    frames().saveAfterDelete(frProspSX);
    resize(1000, 600);
}
