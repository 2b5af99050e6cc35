#pragma once

#include "TfmNrChildDB.h"

class FrameHost;
class QTabWidget;
class THlmDBCds;
class TfrElfBase;

// The child window every table of the return is edited in, with the rules
// of FrameHost: tables loaded on show, every confirmed record saved at once,
// no closing and no change of page while a record is being edited.
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
    // The window's own page control, when it has one.
    void setPageControl(QTabWidget *pages);
    FrameHost &frames() const { return *m_frames; }

    void FormShow() override;
    // What the window completes in a frame's dataset once it is loaded,
    // still loading and allowed to post (a post is saved as any other).
    virtual void frameLoaded(TfrElfBase &frame) { Q_UNUSED(frame) }
    void FormCloseQuery(bool &canClose) override;
    void FormClose() override;

    THlmDBCds &store() const;

private:
    FrameHost *m_frames;
};
