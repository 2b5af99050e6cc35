#pragma once

#include <QByteArray>
#include <QJsonValue>
#include <QString>
#include <QVariant>

class TdmNrConnection;

// Rows of the payroll module's tables (the people, contracts, payroll items,
// compensation register, withholdings, detractions and their lookups) written
// from a JSON text, for the demo school and the tests:
//   {"TANA_ANAGRAFE": [{"IANAID": 1, "SANACOGNOME": "ROSSI", ...}, ...],
//    "TACOM_ANACONTRATTI": [...]}
// Each row gives its identifier; a column left out is empty. A table that is
// not one of the payroll's, a column it does not have, a date or a number
// that is not one, is refused with the place it was found.
namespace PayrollTables {

// The tables that load() writes.
const QStringList &tables();

// Returns the number of rows written, in one transaction (the caller's when
// one is open).
int load(TdmNrConnection &connection, const QByteArray &json, const QString &source);

// The value of a payroll column as its type letter says: D a date
// (yyyy-mm-dd), F an amount, I and L an integer, any other a text; null for
// a missing or null value. `where` names the place in the errors.
QVariant columnValue(const QString &column, const QJsonValue &json, const QString &where);

} // namespace PayrollTables
