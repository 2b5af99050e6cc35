#pragma once

#include <QList>
#include <QWidget>

class QAction;
class QLabel;
class QToolBar;
class QVBoxLayout;

// The framework's base frame: a tool bar with the frame's actions (the
// action list alFrame) and an info panel on its right, above the frame's
// body. The actions' shortcuts act anywhere inside the frame and win over
// the keys the edits would take for themselves (Ctrl+Z, Ctrl+Delete),
// as the actions of the original framework did.
class TfrNrBase : public QWidget
{
    Q_OBJECT

public:
    explicit TfrNrBase(QWidget *parent = nullptr);

    // The framework's frame option: frames assign their actions' shortcuts
    // only when it is on (the default).
    static bool shortcutsEnabled();
    static void setShortcutsEnabled(bool enabled);

    QToolBar *toolBar() const { return m_toolBar; }
    const QList<QAction *> &alFrame() const { return m_actions; }
    // Makes the shortcuts of alFrame work inside the frame, after they change.
    void RefreshActionListList();
    void SetInfoPanelCaption(const QString &caption);
    QString infoPanelCaption() const;

protected:
    // An action of alFrame, shown on the tool bar.
    QAction *addFrameAction(const QString &name, const QString &category, const QString &caption, const QString &hint);
    // Takes an action out of alFrame, the tool bar and the frame's shortcuts.
    void removeFrameAction(QAction *action);
    QVBoxLayout *body() const { return m_body; }

    bool eventFilter(QObject *watched, QEvent *event) override;

private:
    QToolBar *m_toolBar;
    QLabel *m_infoPanel;
    QVBoxLayout *m_body;
    QList<QAction *> m_actions;
};
