#include "TNrDBLookupEdit.h"

#include "NrApplication.h"

#include <QHBoxLayout>
#include <QKeyEvent>
#include <QToolButton>

using namespace Qt::Literals::StringLiterals;

TNrDBLookupEdit::TNrDBLookupEdit(QWidget *parent)
    : QWidget(parent)
{
    m_edit = new TNrDBEdit(this);
    m_button = new QToolButton(this);
    m_button->setText(u"…"_s);
    m_button->setToolTip(u"Cerca nella tabella (F8)"_s);
    m_button->setFocusPolicy(Qt::NoFocus);
    auto *layout = new QHBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->setSpacing(1);
    layout->addWidget(m_edit);
    layout->addWidget(m_button);
    layout->addStretch(1);
    setFocusProxy(m_edit);
    m_edit->installEventFilter(this);
    connect(m_button, &QToolButton::clicked, this, &TNrDBLookupEdit::lookup);
}

void TNrDBLookupEdit::setEditEnabled(bool enabled)
{
    m_edit->setEditEnabled(enabled);
    m_button->setEnabled(enabled);
}

void TNrDBLookupEdit::lookup()
{
    if (m_onLookup && m_edit->editEnabled())
        NrRunGuarded(m_onLookup);
}

bool TNrDBLookupEdit::eventFilter(QObject *watched, QEvent *event)
{
    if (watched == m_edit && event->type() == QEvent::KeyPress
        && static_cast<QKeyEvent *>(event)->key() == Qt::Key_F8) {
        lookup();
        return true;
    }
    return QWidget::eventFilter(watched, event);
}
