#include "SectionTabs.h"

#include "TfrElfBase.h"

#include <QStyle>
#include <QTabBar>

namespace {

// The style draws the tabs behind the current one lower, and the pages
// overlap the foot of the bar: each tab is that much taller, so that the
// second line is read whole.
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

} // namespace

SectionTabs::SectionTabs(QWidget *parent)
    : QTabWidget(parent)
{
    setTabBar(new TwoLineTabBar);
    tabBar()->setElideMode(Qt::ElideNone);
}

int SectionTabs::addSection(QWidget *page, const QString &caption)
{
    const int index = addTab(page, TfrElfBase::wrapped(caption, caption.size() / 2 + 8));
    setTabToolTip(index, caption);
    return index;
}
