#include "TfmNrVuota.h"

#include "NrApplication.h"

#include <QCloseEvent>
#include <QTimer>

TfmNrVuota::TfmNrVuota(QWidget *parent)
    : QWidget(parent)
{
}

void TfmNrVuota::showEvent(QShowEvent *event)
{
    QWidget::showEvent(event);
    if (m_shown)
        return;
    m_shown = true;
    if (!NrRunGuarded([this] { FormShow(); }))
        QTimer::singleShot(0, this, &QWidget::close);
}

void TfmNrVuota::closeEvent(QCloseEvent *event)
{
    bool canClose = true;
    if (!NrRunGuarded([&] { FormCloseQuery(canClose); }) || !canClose) {
        event->ignore();
        return;
    }
    NrRunGuarded([this] { FormClose(); });
    event->accept();
}
