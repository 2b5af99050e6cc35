#include "TNrBusyWaitDialog.h"

#include <QCoreApplication>
#include <QHBoxLayout>
#include <QLabel>
#include <QPushButton>
#include <QVBoxLayout>

using namespace Qt::Literals::StringLiterals;

namespace {

// Time without a question after which the wait is over.
constexpr int kIdleMs = 300;

} // namespace

TNrBusyWaitDialog::TNrBusyWaitDialog(QWidget *parent)
    : QDialog(parent)
    , m_text(new QLabel(this))
{
    setWindowTitle(u"Attendere..."_s);
    setModal(true);
    m_text->setWordWrap(true);
    auto *cancel = new QPushButton(u"Annulla"_s, this);
    connect(cancel, &QPushButton::clicked, this, [this] { m_cancelled = true; });
    auto *buttons = new QHBoxLayout;
    buttons->addStretch();
    buttons->addWidget(cancel);
    auto *layout = new QVBoxLayout(this);
    layout->addWidget(m_text);
    layout->addLayout(buttons);
    m_idle.setSingleShot(true);
    m_idle.setInterval(kIdleMs);
    connect(&m_idle, &QTimer::timeout, this, &QDialog::hide);
}

void TNrBusyWaitDialog::begin(const QString &text)
{
    m_cancelled = false;
    m_text->setText(text);
    show();
    raise();
    m_idle.start();
    QCoreApplication::processEvents();
}

bool TNrBusyWaitDialog::cancelled()
{
    m_idle.start();
    QCoreApplication::processEvents();
    return m_cancelled;
}
