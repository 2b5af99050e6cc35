#pragma once

#include <QString>

class ClientDataSet;

// The table store as the file generation uses it: a table of the return
// loaded into a dataset, a dataset's changes written back.
class ReturnTables
{
public:
    virtual ~ReturnTables() = default;
    virtual void open(ClientDataSet &dataSet, const QString &table) = 0;
    virtual void save(ClientDataSet &dataSet, const QString &table) = 0;
};
