#include "DeliveredData.h"

#include "CdsExchange.h"
#include "ClientDataSet.h"
#include "DataPaths.h"

#include <stdexcept>

using namespace Qt::Literals::StringLiterals;

namespace DeliveredData {

QString path(const QString &relative)
{
    return DataPaths::resolve(QString::fromUtf8(ELH_DATA_ROOT), relative);
}

const ReturnCatalogue &catalogue()
{
    static const ReturnCatalogue loaded = ReturnCatalogue::load(path(u"USR\\FL2023\\DbIniziale\\Catalogo.json"_s));
    return loaded;
}

const TableDef &table(const QString &name)
{
    const TableDef *t = catalogue().find(name);
    if (!t)
        throw std::runtime_error("table not catalogued: " + name.toStdString());
    return *t;
}

const FieldDef *field(const TableDef &table, const QString &name)
{
    const qsizetype i = table.fields.indexOf(name);
    return i < 0 ? nullptr : &table.fields.at(i);
}

void openTable(ClientDataSet &dataSet, const QString &name, const QByteArray &records)
{
    dataSet.disableControls();
    const DataSetEvents events = dataSet.takeEvents();
    dataSet.close();
    dataSet.loadFromBytes(table(name).structurePacket(), name);
    CdsExchange::appendJsonRecords(dataSet, records, name);
    dataSet.mergeChangeLog();
    dataSet.first();
    dataSet.setEvents(events);
    dataSet.enableControls();
}

} // namespace DeliveredData
