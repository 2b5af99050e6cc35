#include "TfmNrDialog.h"

#include <QApplication>
#include <QHBoxLayout>
#include <QScreen>
#include <QShowEvent>

TfmNrDialog::TfmNrDialog(QWidget *parent)
    : QDialog(parent ? parent : QApplication::activeWindow())
{
    setWindowFlag(Qt::WindowContextHelpButtonHint, false);
}

void TfmNrDialog::showEvent(QShowEvent *event)
{
    QDialog::showEvent(event);
    if (event->spontaneous())
        return;
    const QWidget *owner = parentWidget() ? parentWidget()->window() : nullptr;
    const QRect area = owner ? owner->frameGeometry() : screen()->availableGeometry();
    QRect frame = frameGeometry();
    frame.moveCenter(area.center());
    move(frame.topLeft());
}

QHBoxLayout *TfmNrDialog::buttonRow(std::initializer_list<QWidget *> buttons)
{
    auto *row = new QHBoxLayout;
    row->addStretch(1);
    for (QWidget *button : buttons)
        row->addWidget(button);
    return row;
}
