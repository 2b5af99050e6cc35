#include "TfmElhSostituto.h"

#include "TfrElhSostituto.h"
#include "AgentSummary.h"

using namespace Qt::Literals::StringLiterals;

TfmElhSostituto::TfmElhSostituto(THlmDBCds &store, std::function<QString()> schoolFiscalCode, QWidget *parent)
    : TfmElhChildDB(store, parent)
{
    setWindowTitle(u"Dati Sostituto"_s);
    frSostituto = new TfrElhSostituto(std::move(schoolFiscalCode), this);
    setMainFrame(frSostituto);
    resize(900, 640);
}

void TfmElhSostituto::frameLoaded(TfrElfBase &frame)
{
    AgentSummary::refresh(frame.cdsMain, store());
}
