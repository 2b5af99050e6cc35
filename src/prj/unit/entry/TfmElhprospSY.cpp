#include "TfmElhprospSY.h"

#include "SectionTabs.h"
#include "TfrElhProspSY.h"
#include "TfrElhProspSY_sez_due.h"
#include "TfrElhProspSY_sez_quattro.h"
#include "TfrElhProspSY_sez_tre.h"

#include <QVBoxLayout>

using namespace Qt::Literals::StringLiterals;

TfmElhprospSY::TfmElhprospSY(THlmDBCds &store, QWidget *parent)
    : TfmElhChildDB(store, parent)
{
    setWindowTitle(u"Prospetto SY"_s);
    pcSY = new SectionTabs(this);
    pcSY->setObjectName(u"pcSY"_s);
    frSezioneI = new TfrElhProspSY_sez_due(store);
    frSezioneII = new TfrElhProspSY(store);
    frSezioneIII = new TfrElhProspSY_sez_tre(store);
    frSezioneIV = new TfrElhProspSY_sez_quattro(store);
    const std::pair<TfrElfBase *, QString> pages[] = {
        {frSezioneI, u"Sezione I - Riservata al debitore principale"_s},
        {frSezioneII, u"Sezione II - Riservata al soggetto erogatore delle somme"_s},
        {frSezioneIII, u"Sezione III - Ritenute da art. 25, del D.L. n. 78/2010"_s},
        {frSezioneIV, u"Sezione IV - Riservata al percipiente estero privo di codice fiscale"_s}};
    for (const auto &[frame, caption] : pages) {
        pcSY->addSection(frame, caption);
        addFrame(frame);
    }
    auto *layout = new QVBoxLayout(this);
    layout->setContentsMargins(4, 4, 4, 4);
    layout->addWidget(pcSY);
    setPageControl(pcSY);
    resize(1100, 620);
}
