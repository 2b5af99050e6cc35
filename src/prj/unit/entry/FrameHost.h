#pragma once

#include <QList>
#include <QObject>

#include <functional>

class QTabWidget;
class QWidget;
class THlmDBCds;
class TfrElfBase;

// The frames of an editing window and the rules the window keeps for them:
// on show each frame's table is loaded from the store and the first pages
// come to the front; every confirmed record (and, where asked, every
// delete) is saved to the store at once; the window refuses to close, or to
// change page, while a record is being edited; on closing, deletions not yet
// written are saved and the datasets closed.
class FrameHost : public QObject
{
    Q_OBJECT

public:
    FrameHost(THlmDBCds &store, QWidget *window);

    THlmDBCds &store() const { return m_store; }
    void addFrame(TfrElfBase *frame);
    // The frame's table is saved after each delete too, not only with the
    // next save.
    void saveAfterDelete(TfrElfBase *frame);
    // The window's own page control: its first page comes to the front on
    // show, and it keeps its page while a record is edited.
    void setPageControl(QTabWidget *pages);
    bool editing() const;

    // The window's show: every frame loaded, then `loaded` completes each
    // one while it may still post without the record checks.
    void load(const std::function<void(TfrElfBase &)> &loaded);
    // The window's close query and close.
    void closeQuery(bool &canClose) const;
    void close();

private:
    void save(TfrElfBase *frame);
    void pageChanged(int index);

    THlmDBCds &m_store;
    QList<TfrElfBase *> m_frames;
    QTabWidget *m_pages = nullptr;
    int m_page = 0;
    bool m_restoringPage = false;
};
