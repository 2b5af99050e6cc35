#include "MemoryTables.h"

#include "CdsExchange.h"
#include "ClientDataSet.h"

#include <QJsonArray>
#include <QJsonDocument>

#include <stdexcept>

using namespace Qt::Literals::StringLiterals;

MemoryTables::MemoryTables()
    : m_catalogue(ReturnCatalogue::load(QStringLiteral(ELH_DATA_ROOT) + u"/USR/FL2023/DbIniziale/Catalogo.json"_s))
{
}

void MemoryTables::append(const QString &table, const QList<QJsonObject> &records)
{
    ClientDataSet ds(table);
    open(ds, table);
    QJsonArray array;
    for (const QJsonObject &r : records)
        array.append(r);
    CdsExchange::appendJsonRecords(ds, QJsonDocument(QJsonObject{{u"records"_s, array}}).toJson(), table);
    ds.mergeChangeLog();
    m_data[table.toUpper()] = ds.saveToBytes();
}

void MemoryTables::open(ClientDataSet &dataSet, const QString &table)
{
    const TableDef *def = m_catalogue.find(table);
    if (!def)
        throw std::runtime_error("table not in the catalogue: " + table.toStdString());
    dataSet.close();
    const auto it = m_data.find(table.toUpper());
    dataSet.loadFromBytes(it == m_data.end() ? def->structurePacket() : it->second, table);
    dataSet.first();
}
