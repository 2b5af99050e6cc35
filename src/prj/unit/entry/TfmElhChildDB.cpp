#include "TfmElhChildDB.h"

#include "FrameHost.h"
#include "TfrElfBase.h"

#include <QVBoxLayout>

TfmElhChildDB::TfmElhChildDB(THlmDBCds &store, QWidget *parent)
    : TfmNrChildDB(parent)
    , m_frames(new FrameHost(store, this))
{
}

THlmDBCds &TfmElhChildDB::store() const
{
    return m_frames->store();
}

void TfmElhChildDB::addFrame(TfrElfBase *frame)
{
    m_frames->addFrame(frame);
}

void TfmElhChildDB::setMainFrame(TfrElfBase *frame)
{
    auto *layout = new QVBoxLayout(this);
    layout->setContentsMargins(4, 4, 4, 4);
    layout->addWidget(frame);
    addFrame(frame);
}

void TfmElhChildDB::setPageControl(QTabWidget *pages)
{
    m_frames->setPageControl(pages);
}

bool TfmElhChildDB::editing() const
{
    return m_frames->editing();
}

void TfmElhChildDB::FormShow()
{
    m_frames->load([this](TfrElfBase &frame) { frameLoaded(frame); });
}

void TfmElhChildDB::FormCloseQuery(bool &canClose)
{
    m_frames->closeQuery(canClose);
}

void TfmElhChildDB::FormClose()
{
    m_frames->close();
}
