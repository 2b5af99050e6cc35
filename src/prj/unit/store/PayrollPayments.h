#pragma once

#include <QByteArray>
#include <QString>

class TdmNrConnection;

// The F24EP delegations of the payroll module, written from a JSON text:
//   {"deleghe": [{"IANFID": 2023, "DDF24DTVERS": "2023-02-16",
//                 "righe": [{"SRF24SEZIONE": "E", "SRF24CODTRIBUTO": "100E", ...}]}]}
// Each delegation and each line takes the columns of its table
// (TDF24_DELEGHEF24EP, TRF24_RIGHEF24EP) by name and a new identifier; a
// column left out is empty. A column that is not in the table, a date or an
// amount that is not one, is refused with the place it was found.
namespace PayrollPayments {

// Returns the number of tax lines written.
int load(TdmNrConnection &connection, const QByteArray &json, const QString &source);

} // namespace PayrollPayments
