#pragma once

#include <QString>

// Where the prints find their templates and descriptors and where the print
// windows save, below the data root.
namespace PrintPaths {

// "USR\FL2023\Res\CoordStp\" + file.
QString coordStp(const QString &file);
// "USR\FL2023\Stp\" + name + ".pdf".
QString output(const QString &name);

} // namespace PrintPaths
