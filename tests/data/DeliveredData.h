#pragma once

#include "ReturnCatalogue.h"

#include <QString>

// The data delivered with the program, as the build lays it out under the
// data root of the program in the build tree.
namespace DeliveredData {

// The native path of a relative path of the program's data ("USR\FL2023\...").
QString path(const QString &relative);
// "USR\FL2023\DbIniziale\Catalogo.json", read once.
const ReturnCatalogue &catalogue();

} // namespace DeliveredData
