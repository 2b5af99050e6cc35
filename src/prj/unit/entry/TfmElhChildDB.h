#pragma once

#include "TfmNrChildDB.h"

#include <QList>

class QTabWidget;
class THlmDBCds;
class TfrElfBase;

// The child window every table of the return is edited in. On show each
// frame's table is loaded from the store and the first pages (the frames'
// and the window's own) come to the front; every confirmed record is saved to the store at once. The window
// refuses to close, or to change page, while a record is being edited; on
// closing, deletions not yet written are saved and the datasets closed.
class TfmElhChildDB : public TfmNrChildDB
{
    Q_OBJECT

public:
    explicit TfmElhChildDB(THlmDBCds &store, QWidget *parent = nullptr);

    bool editing() const;

protected:
    // A frame whose table the window loads and saves.
    void addFrame(TfrElfBase *frame);
    // The same for the frame that fills the whole window.
    void setMainFrame(TfrElfBase *frame);
    // The window's own page control, when it has one: its first page comes
    // to the front on show, and it keeps its page while a record is edited.
    void setPageControl(QTabWidget *pages);

    void FormShow() override;
    // What the window completes in a frame's dataset once it is loaded,
    // still loading and allowed to post (a post is saved as any other).
    virtual void frameLoaded(TfrElfBase &frame) { Q_UNUSED(frame) }
    void FormCloseQuery(bool &canClose) override;
    void FormClose() override;

    THlmDBCds &store() const { return m_store; }

private:
    void pageChanged(int index);

    THlmDBCds &m_store;
    QList<TfrElfBase *> m_frames;
    QTabWidget *m_pages = nullptr;
    int m_page = 0;
    bool m_restoringPage = false;
};
