#include "TfmElhProspST2009.h"

#include "FrameHost.h"
#include "SectionTabs.h"
#include "TfrElhProspST.h"
#include "TfrElhProspST_sez_due.h"
#include "TfrElhProspST_sez_quattro.h"
#include "TfrElhProspST_sez_tre.h"

#include <QVBoxLayout>

using namespace Qt::Literals::StringLiterals;

TfmElhProspST2009::TfmElhProspST2009(THlmDBCds &store, QWidget *parent)
    : TfmNrVuota(parent)
    , m_frames(new FrameHost(store, this))
{
    setWindowTitle(u"Prospetto ST"_s);
    pcST = new SectionTabs(this);
    pcST->setObjectName(u"pcST"_s);
    frErario = new TfrElhProspST(store);
    frAddReg = new TfrElhProspST_sez_due(store);
    frRitReddCap = new TfrElhProspST_sez_tre(store);
    frImpsos = new TfrElhProspST_sez_quattro(store);
    pcST->addSection(frErario, u"Sezione I - Erario"_s);
    pcST->addSection(frAddReg, u"Sezione II - Addizionale regionale"_s);
    pcST->addSection(frRitReddCap, u"Sezione III - Ritenute su redditi di capitale"_s);
    pcST->addSection(frImpsos, u"Sezione IV - Imposta sostituiva di cui art. 6 e 7 D.Lgs 21/11/1997, n. 461"_s);
    auto *layout = new QVBoxLayout(this);
    layout->setContentsMargins(4, 4, 4, 4);
    layout->addWidget(pcST);
    for (TfrElfBase *frame : std::initializer_list<TfrElfBase *>{frErario, frAddReg, frRitReddCap, frImpsos})
        m_frames->addFrame(frame);
    m_frames->setPageControl(pcST);
    resize(1180, 720);
}

void TfmElhProspST2009::FormShow()
{
    m_frames->load({});
}

void TfmElhProspST2009::FormCloseQuery(bool &canClose)
{
    m_frames->closeQuery(canClose);
}

void TfmElhProspST2009::FormClose()
{
    m_frames->close();
}
