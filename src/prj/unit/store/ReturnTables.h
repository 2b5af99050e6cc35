#pragma once

#include <QString>

class ClientDataSet;

// Where the units read the tables of the return from: the one place that
// knows the table store.
class ReturnTables
{
public:
    virtual ~ReturnTables() = default;
    // Loads the table of the return's year into the dataset, which takes the
    // table's structure and is positioned on the first record.
    virtual void open(ClientDataSet &dataSet, const QString &table) = 0;
};
