#include "TfmHlmWait.h"

#include "NrCursors.h"

#include <QApplication>
#include <QFrame>
#include <QLabel>
#include <QScreen>
#include <QVBoxLayout>

TfmHlmWait::TfmHlmWait(QWidget *parent)
    : QWidget(parent, Qt::Tool | Qt::FramelessWindowHint | Qt::WindowStaysOnTopHint)
{
    auto *frame = new QFrame(this);
    frame->setFrameShape(QFrame::Box);
    frame->setLineWidth(1);
    auto *outer = new QVBoxLayout(this);
    outer->setContentsMargins(0, 0, 0, 0);
    outer->addWidget(frame);

    m_caption = new QLabel(frame);
    QFont bold = m_caption->font();
    bold.setBold(true);
    m_caption->setFont(bold);
    m_text = new QLabel(frame);
    auto *layout = new QVBoxLayout(frame);
    layout->setContentsMargins(24, 16, 24, 16);
    layout->addWidget(m_caption);
    layout->addWidget(m_text);
}

TfmHlmWait::~TfmHlmWait() = default;

void TfmHlmWait::showWait(const QString &caption, const QString &text)
{
    m_caption->setText(caption);
    m_text->setText(text);
    setWindowTitle(caption);
    adjustSize();
    QRect frame = frameGeometry();
    frame.moveCenter(screen()->availableGeometry().center());
    move(frame.topLeft());
    if (!m_cursor)
        m_cursor = std::make_unique<TNrCursorScope>(TNrCursorScope::Kind::SqlWait);
    show();
    raise();
    QApplication::processEvents(QEventLoop::ExcludeUserInputEvents);
}

void TfmHlmWait::hideWait()
{
    hide();
    m_cursor.reset();
}
