#include "EntryTestSupport.h"

#include "CdsExchange.h"
#include "DeliveredData.h"
#include "TNrDBEdit.h"
#include "TfrElfBase.h"

#include <QApplication>
#include <QTest>
#include <QTimer>

#include <gtest/gtest.h>

namespace EntryTest {

void openTable(ClientDataSet &dataSet, const QString &table, const QByteArray &records)
{
    const TableDef *def = DeliveredData::catalogue().find(table);
    if (!def)
        throw std::runtime_error("table not in the catalogue");
    dataSet.disableControls();
    const DataSetEvents events = dataSet.takeEvents();
    dataSet.close();
    dataSet.loadFromBytes(def->structurePacket(), table);
    CdsExchange::appendJsonRecords(dataSet, records, table);
    dataSet.mergeChangeLog();
    dataSet.first();
    dataSet.setEvents(events);
    dataSet.enableControls();
}

void openFrame(TfrElfBase &frame, const QByteArray &records)
{
    openTable(frame.cdsMain, frame.tableName(), records);
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
