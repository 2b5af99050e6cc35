#include "EntryTestSupport.h"

#include "DeliveredData.h"
#include "TNrDBEdit.h"
#include "TfrElfBase.h"

#include <QApplication>
#include <QProgressDialog>
#include <QPushButton>
#include <QTest>
#include <QTimer>

#include <gtest/gtest.h>

namespace EntryTest {

void openFrame(TfrElfBase &frame, const QByteArray &records)
{
    DeliveredData::openTable(frame.cdsMain, frame.tableName(), records);
    frame.dataSetOpened();
}

bool showActive(QWidget *widget)
{
    widget->show();
    widget->activateWindow();
    return QTest::qWaitForWindowActive(widget);
}

void onNextModal(std::function<void(QWidget *modal)> handle)
{
    QTimer::singleShot(0, [handle = std::move(handle)] { handle(QApplication::activeModalWidget()); });
}

void cancelProgressAt(QWidget *owner, int step)
{
    auto *timer = new QTimer(owner);
    QObject::connect(timer, &QTimer::timeout, owner, [owner, step, timer] {
        auto *progress = owner->findChild<QProgressDialog *>();
        if (!progress || progress->value() < step - 1)
            return;
        for (QPushButton *button : progress->findChildren<QPushButton *>()) {
            if (button->text() == u"Annulla")
                button->click();
        }
        timer->stop();
        timer->deleteLater();
    });
    timer->start(0);
}

TNrDBEdit *editOf(QWidget &frame, const QString &field)
{
    for (TNrDBEdit *e : frame.findChildren<TNrDBEdit *>()) {
        if (e->dataField() == field)
            return e;
    }
    return nullptr;
}

void typeInto(TNrDBEdit *edit, const QString &text)
{
    ASSERT_NE(edit, nullptr);
    edit->setFocus();
    edit->selectAll();
    QTest::keyClicks(edit, text);
}

} // namespace EntryTest
