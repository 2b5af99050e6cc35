#include "TfmElhChildDB.h"

#include "NrMessages.h"
#include "THlmDBCds.h"
#include "TfrElfBase.h"

#include <QTabWidget>
#include <QVBoxLayout>

using namespace Qt::Literals::StringLiterals;

TfmElhChildDB::TfmElhChildDB(THlmDBCds &store, QWidget *parent)
    : TfmNrChildDB(parent)
    , m_store(store)
{
}

void TfmElhChildDB::addFrame(TfrElfBase *frame)
{
    m_frames.append(frame);
    frame->setAfterPost([this, frame] { m_store.save(frame->cdsMain, frame->tableName()); });
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
    m_pages = pages;
    connect(m_pages, &QTabWidget::currentChanged, this, &TfmElhChildDB::pageChanged);
}

bool TfmElhChildDB::editing() const
{
    for (const TfrElfBase *frame : m_frames) {
        if (frame->editing())
            return true;
    }
    return false;
}

void TfmElhChildDB::FormShow()
{
    for (TfrElfBase *frame : std::as_const(m_frames)) {
        const TfrElfBase::PostPermission loading(*frame, true);
        m_store.open(frame->cdsMain, frame->tableName());
        frame->dataSetOpened();
        frameLoaded(*frame);
        frame->pcMain->setCurrentIndex(0);
    }
    if (m_pages)
        m_pages->setCurrentIndex(0);
}

void TfmElhChildDB::FormCloseQuery(bool &canClose)
{
    if (!editing())
        return;
    NrMessageDlg(u"Non è possibile chiudere la finestra prima di aver salvato le modifiche"_s, MsgDlgType::Information);
    canClose = false;
}

void TfmElhChildDB::FormClose()
{
    // Deletions are written with the next save of their table: the last ones
    // are written now rather than lost.
    for (TfrElfBase *frame : std::as_const(m_frames)) {
        if (frame->cdsMain.active() && frame->cdsMain.changeCount() > 0)
            m_store.save(frame->cdsMain, frame->tableName());
        frame->cdsMain.close();
    }
}

void TfmElhChildDB::pageChanged(int index)
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
