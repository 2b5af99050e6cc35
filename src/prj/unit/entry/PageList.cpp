#include "PageList.h"

#include "TfrElfBase.h"

#include <QTabBar>
#include <QTabWidget>

using namespace Qt::Literals::StringLiterals;

PageList::PageList(QTabWidget *pages, QWidget *parent)
    : QListWidget(parent)
    , m_pages(pages)
{
    setObjectName(u"lbPagine"_s);
    pages->tabBar()->hide();
    for (int page = 0; page < pages->count(); ++page) {
        // A long caption on two lines keeps the list narrow.
        auto *item = new QListWidgetItem(TfrElfBase::wrapped(pages->tabText(page), 20), this);
        item->setToolTip(pages->tabToolTip(page));
    }
    // Room between the rows, so that a caption's second line is not read as a page of its own.
    setSpacing(2);
    setCurrentRow(pages->currentIndex());
    setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    setSizePolicy(QSizePolicy::Fixed, QSizePolicy::Preferred);
    connect(this, &QListWidget::currentRowChanged, this, [this](int row) {
        if (row >= 0)
            m_pages->setCurrentIndex(row);
        if (currentRow() != m_pages->currentIndex())
            setCurrentRow(m_pages->currentIndex());
    });
    connect(pages, &QTabWidget::currentChanged, this, [this](int page) { setCurrentRow(page); });
}

QSize PageList::sizeHint() const
{
    const int frame = 2 * frameWidth();
    int height = frame;
    for (int row = 0; row < count(); ++row)
        height += sizeHintForRow(row) + 2 * spacing();
    return {sizeHintForColumn(0) + frame + 8 + 2 * spacing(), height};
}
