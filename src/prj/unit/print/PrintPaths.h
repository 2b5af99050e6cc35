#pragma once

#include <QString>

// Where the prints find their templates and descriptors, below the data root.
namespace PrintPaths {

// "USR\FL2023\Res\CoordStp\" + file.
QString coordStp(const QString &file);

} // namespace PrintPaths
