#pragma once

#include <QString>
#include <QtGlobal>

class TdmNrConnection;

// The next integer identifier of a table, from a counter row per table in
// the database. The counter row stays locked until the transaction ends, so
// two clients never receive the same identifier; without a transaction on
// the connection the call runs in one of its own.
qint64 GenerateID(TdmNrConnection &connection, const QString &table);
