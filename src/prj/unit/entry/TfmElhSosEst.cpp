#include "TfmElhSosEst.h"

#include "TfrElhSosEst.h"

using namespace Qt::Literals::StringLiterals;

TfmElhSosEst::TfmElhSosEst(THlmDBCds &store, QWidget *parent)
    : TfmElhChildDB(store, parent)
{
    setWindowTitle(u"Sostituto estinto"_s);
    frSosEst = new TfrElhSosEst(this);
    setMainFrame(frSosEst);
    resize(700, 420);
}
