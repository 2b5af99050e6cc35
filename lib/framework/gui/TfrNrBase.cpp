#include "TfrNrBase.h"

#include <QAction>
#include <QApplication>
#include <QKeyEvent>
#include <QLabel>
#include <QToolBar>
#include <QVBoxLayout>

namespace {

bool g_shortcutsEnabled = true;

} // namespace

bool TfrNrBase::shortcutsEnabled()
{
    return g_shortcutsEnabled;
}

void TfrNrBase::setShortcutsEnabled(bool enabled)
{
    g_shortcutsEnabled = enabled;
}

TfrNrBase::TfrNrBase(QWidget *parent)
    : QWidget(parent)
{
    auto *layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->setSpacing(2);

    auto *top = new QHBoxLayout;
    m_toolBar = new QToolBar(this);
    m_toolBar->setToolButtonStyle(Qt::ToolButtonTextBesideIcon);
    m_toolBar->setIconSize(QSize(16, 16));
    top->addWidget(m_toolBar, 1);
    m_infoPanel = new QLabel(this);
    m_infoPanel->setFrameShape(QFrame::StyledPanel);
    m_infoPanel->setMinimumWidth(90);
    m_infoPanel->setAlignment(Qt::AlignCenter);
    top->addWidget(m_infoPanel);
    layout->addLayout(top);

    m_body = new QVBoxLayout;
    layout->addLayout(m_body, 1);

    qApp->installEventFilter(this);
}

QAction *TfrNrBase::addFrameAction(const QString &name, const QString &category, const QString &caption,
                                   const QString &hint)
{
    auto *action = new QAction(caption, this);
    action->setObjectName(name);
    action->setProperty("category", category);
    action->setToolTip(hint);
    action->setStatusTip(hint);
    action->setShortcutContext(Qt::WidgetWithChildrenShortcut);
    m_actions.append(action);
    m_toolBar->addAction(action);
    return action;
}

void TfrNrBase::removeFrameAction(QAction *action)
{
    m_actions.removeAll(action);
    m_toolBar->removeAction(action);
    removeAction(action);
}

void TfrNrBase::RefreshActionListList()
{
    for (QAction *action : m_actions) {
        removeAction(action);
        if (!action->shortcuts().isEmpty())
            addAction(action);
    }
}

void TfrNrBase::SetInfoPanelCaption(const QString &caption)
{
    m_infoPanel->setText(caption);
}

QString TfrNrBase::infoPanelCaption() const
{
    return m_infoPanel->text();
}

bool TfrNrBase::eventFilter(QObject *watched, QEvent *event)
{
    if (event->type() != QEvent::ShortcutOverride)
        return false;
    auto *widget = qobject_cast<QWidget *>(watched);
    if (!widget || !isAncestorOf(widget))
        return false;
    const auto *key = static_cast<QKeyEvent *>(event);
    const QKeySequence pressed(QKeyCombination(key->modifiers() & ~Qt::KeypadModifier, Qt::Key(key->key())));
    for (const QAction *action : actions()) {
        if (!action->isEnabled())
            continue;
        for (const QKeySequence &shortcut : action->shortcuts()) {
            if (shortcut.matches(pressed) == QKeySequence::ExactMatch) {
                // Left unaccepted, the key goes to the action, not to the edit.
                event->ignore();
                return true;
            }
        }
    }
    return false;
}
