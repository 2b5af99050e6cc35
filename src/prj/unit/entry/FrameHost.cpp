#include "FrameHost.h"

#include "NrMessages.h"
#include "THlmDBCds.h"
#include "TfrElfBase.h"

#include <QTabWidget>

using namespace Qt::Literals::StringLiterals;

FrameHost::FrameHost(THlmDBCds &store, QWidget *window)
    : QObject(window)
    , m_store(store)
{
}

void FrameHost::addFrame(TfrElfBase *frame)
{
    m_frames.append(frame);
    frame->setAfterPost([this, frame] { save(frame); });
}

void FrameHost::saveAfterDelete(TfrElfBase *frame)
{
    frame->setAfterDelete([this, frame] { save(frame); });
}

void FrameHost::save(TfrElfBase *frame)
{
    m_store.save(frame->cdsMain, frame->tableName());
}

void FrameHost::setPageControl(QTabWidget *pages)
{
    m_pages = pages;
    connect(m_pages, &QTabWidget::currentChanged, this, &FrameHost::pageChanged);
}

bool FrameHost::editing() const
{
    for (const TfrElfBase *frame : m_frames) {
        if (frame->editing())
            return true;
    }
    return false;
}

void FrameHost::load(const std::function<void(TfrElfBase &)> &loaded)
{
    for (TfrElfBase *frame : std::as_const(m_frames)) {
        const TfrElfBase::PostPermission loading(*frame, true);
        m_store.open(frame->cdsMain, frame->tableName());
        frame->dataSetOpened();
        if (loaded)
            loaded(*frame);
        frame->pcMain->setCurrentIndex(0);
    }
    if (m_pages)
        m_pages->setCurrentIndex(0);
}

void FrameHost::closeQuery(bool &canClose) const
{
    if (!editing())
        return;
    NrMessageDlg(u"Non è possibile chiudere la finestra prima di aver salvato le modifiche"_s, MsgDlgType::Information);
    canClose = false;
}

void FrameHost::close()
{
    // Deletions are written with the next save of their table: the last ones
    // are written now rather than lost.
    for (TfrElfBase *frame : std::as_const(m_frames)) {
        if (frame->cdsMain.active() && frame->cdsMain.changeCount() > 0)
            save(frame);
        frame->cdsMain.close();
    }
}

void FrameHost::pageChanged(int index)
{
    if (m_restoringPage)
        return;
    if (!editing()) {
        m_page = index;
        return;
    }
    m_restoringPage = true;
    m_pages->setCurrentIndex(m_page);
    m_restoringPage = false;
    NrMessageDlg(u"Non è possibile cambiare schermata mentre si inseriscono o modificano i dati"_s,
                 MsgDlgType::Information);
}
