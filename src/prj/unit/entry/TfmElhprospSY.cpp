#include "TfmElhprospSY.h"

#include "TfrElhProspSY.h"
#include "TfrElhProspSY_sez_due.h"
#include "TfrElhProspSY_sez_quattro.h"
#include "TfrElhProspSY_sez_tre.h"

#include <QStyle>
#include <QTabBar>
#include <QTabWidget>
#include <QVBoxLayout>

using namespace Qt::Literals::StringLiterals;

namespace {

// Tabs whose captions stand on two lines. The style draws the tabs behind
// the current one lower, and the pages overlap the foot of the bar: each tab
// is that much taller, so that the second line is read whole.
class TwoLineTabBar : public QTabBar
{
protected:
    QSize tabSizeHint(int index) const override
    {
        QSize size = QTabBar::tabSizeHint(index);
        size.rheight() += style()->pixelMetric(QStyle::PM_TabBarTabShiftVertical, nullptr, this)
                          + style()->pixelMetric(QStyle::PM_TabBarBaseOverlap, nullptr, this);
        return size;
    }
};

class TwoLineTabs : public QTabWidget
{
public:
    explicit TwoLineTabs(QWidget *parent)
        : QTabWidget(parent)
    {
        setTabBar(new TwoLineTabBar);
    }
};

} // namespace

TfmElhprospSY::TfmElhprospSY(THlmDBCds &store, QWidget *parent)
    : TfmElhChildDB(store, parent)
{
    setWindowTitle(u"Prospetto SY"_s);
    pcSY = new TwoLineTabs(this);
    pcSY->setObjectName(u"pcSY"_s);
    frSezioneI = new TfrElhProspSY_sez_due(store);
    frSezioneII = new TfrElhProspSY(store);
    frSezioneIII = new TfrElhProspSY_sez_tre(store);
    frSezioneIV = new TfrElhProspSY_sez_quattro(store);
    // The captions are long: each stands whole on two lines.
    pcSY->tabBar()->setElideMode(Qt::ElideNone);
    const std::pair<TfrElfBase *, QString> pages[] = {
        {frSezioneI, u"Sezione I - Riservata al debitore principale"_s},
        {frSezioneII, u"Sezione II - Riservata al soggetto erogatore delle somme"_s},
        {frSezioneIII, u"Sezione III - Ritenute da art. 25, del D.L. n. 78/2010"_s},
        {frSezioneIV, u"Sezione IV - Riservata al percipiente estero privo di codice fiscale"_s}};
    for (const auto &[frame, caption] : pages) {
        pcSY->setTabToolTip(pcSY->addTab(frame, TfrElfBase::wrapped(caption, caption.size() / 2 + 8)), caption);
        addFrame(frame);
    }
    auto *layout = new QVBoxLayout(this);
    layout->setContentsMargins(4, 4, 4, 4);
    layout->addWidget(pcSY);
    setPageControl(pcSY);
    resize(1100, 620);
}
