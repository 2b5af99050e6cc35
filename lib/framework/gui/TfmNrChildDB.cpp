#include "TfmNrChildDB.h"

#include "NrApplication.h"

#include <QCloseEvent>
#include <QTimer>

TfmNrChildDB::TfmNrChildDB(QWidget *parent)
    : QWidget(parent)
{
}

void TfmNrChildDB::showEvent(QShowEvent *event)
{
    QWidget::showEvent(event);
    if (m_shown)
        return;
    m_shown = true;
    if (!NrRunGuarded([this] { FormShow(); }))
        QTimer::singleShot(0, this, &QWidget::close);
}

void TfmNrChildDB::closeEvent(QCloseEvent *event)
{
    bool canClose = true;
    if (!NrRunGuarded([&] { FormCloseQuery(canClose); }) || !canClose) {
        event->ignore();
        return;
    }
    NrRunGuarded([this] { FormClose(); });
    event->accept();
}
