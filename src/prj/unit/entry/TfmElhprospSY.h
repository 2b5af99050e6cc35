#pragma once

#include "TfmElhChildDB.h"

class SectionTabs;
class TfrElhProspSY;
class TfrElhProspSY_sez_due;
class TfrElhProspSY_sez_quattro;
class TfrElhProspSY_sez_tre;

// "Prospetto SY": its four sections on the pages of pcSY, in the order of
// the form and of the file: section I is the principal debtor's
// (TPSY2_PROSPETTOSY2), section II the payer's (TPSY_PROSPETTOSY). No page
// changes while a record is being edited.
class TfmElhprospSY : public TfmElhChildDB
{
    Q_OBJECT

public:
    explicit TfmElhprospSY(THlmDBCds &store, QWidget *parent = nullptr);

    SectionTabs *pcSY;
    TfrElhProspSY_sez_due *frSezioneI;
    TfrElhProspSY *frSezioneII;
    TfrElhProspSY_sez_tre *frSezioneIII;
    TfrElhProspSY_sez_quattro *frSezioneIV;
};
