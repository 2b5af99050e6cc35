#pragma once

#include "ClientDataSet.h"
#include "NrExceptions.h"

#include <QString>

#include <initializer_list>

// Rows of a dataset from its current row to the end.
inline int rowsRemaining(const ClientDataSet &dataSet)
{
    return dataSet.eof() ? 0 : dataSet.recordCount() - dataSet.recNo() + 1;
}

// Builds modules of a record while any of the driving datasets has rows
// left. A module that takes no row of them means that the descriptor lacks
// the section for those rows, which would otherwise build modules forever.
template<class BuildModule>
void buildModules(std::initializer_list<ClientDataSet *> driving, QChar recordType, BuildModule buildModule)
{
    const auto remaining = [&] {
        int rows = 0;
        for (const ClientDataSet *ds : driving)
            rows += rowsRemaining(*ds);
        return rows;
    };
    for (int before = remaining(); before > 0;) {
        buildModule();
        const int after = remaining();
        if (after >= before) {
            for (const ClientDataSet *ds : driving) {
                if (!ds->eof())
                    throw ENrError(QStringLiteral("Il descrittore del record %1 non ha una sezione per le righe di %2")
                                       .arg(recordType, ds->name()));
            }
        }
        before = after;
    }
}
