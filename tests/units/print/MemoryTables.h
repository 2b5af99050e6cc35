#pragma once

#include "store/ReturnCatalogue.h"
#include "store/ReturnTables.h"

#include <QByteArray>
#include <QJsonObject>
#include <QList>

#include <map>

// The tables of a return held in memory, with the structures of the
// delivered catalogue: what the prints read in the tests.
class MemoryTables : public ReturnTables
{
public:
    MemoryTables();

    // Appends records to a table, each a JSON object of field values.
    void append(const QString &table, const QList<QJsonObject> &records);
    void open(ClientDataSet &dataSet, const QString &table) override;

private:
    ReturnCatalogue m_catalogue;
    std::map<QString, QByteArray> m_data;
};
