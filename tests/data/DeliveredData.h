#pragma once

#include "ReturnCatalogue.h"

#include <QByteArray>
#include <QString>

class ClientDataSet;

// The data delivered with the program, as the build lays it out under the
// data root of the program in the build tree.
namespace DeliveredData {

// The native path of a relative path of the program's data ("USR\FL2023\...").
QString path(const QString &relative);
// "USR\FL2023\DbIniziale\Catalogo.json", read once.
const ReturnCatalogue &catalogue();
// A catalogued table; throws when there is none of that name.
const TableDef &table(const QString &name);
// A field of a table, or null.
const FieldDef *field(const TableDef &table, const QString &name);
// Opens a table of the return in a dataset with its catalogued structure and
// the records of a JSON text {"records": [...]}, as the store would.
void openTable(ClientDataSet &dataSet, const QString &table, const QByteArray &records = "{\"records\": []}");

} // namespace DeliveredData
