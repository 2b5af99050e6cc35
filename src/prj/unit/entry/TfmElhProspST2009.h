#pragma once

#include "TfmNrVuota.h"

class FrameHost;
class SectionTabs;
class THlmDBCds;
class TfrElhProspST;
class TfrElhProspST_sez_due;
class TfrElhProspST_sez_quattro;
class TfrElhProspST_sez_tre;

// "Prospetto ST": the four sections of the Prospetto ST, one frame on each
// page of pcST, with the rules of every editing window (FrameHost).
class TfmElhProspST2009 : public TfmNrVuota
{
    Q_OBJECT

public:
    explicit TfmElhProspST2009(THlmDBCds &store, QWidget *parent = nullptr);

    SectionTabs *pcST;
    TfrElhProspST *frErario;
    TfrElhProspST_sez_due *frAddReg;
    TfrElhProspST_sez_tre *frRitReddCap;
    TfrElhProspST_sez_quattro *frImpsos;

protected:
    void FormShow() override;
    void FormCloseQuery(bool &canClose) override;
    void FormClose() override;

private:
    FrameHost *m_frames;
};
