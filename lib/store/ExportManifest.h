#pragma once

#include <QByteArray>
#include <QString>

// The file that an export of a return writes beside its tables, so that
// whoever reads the folder later knows which return it holds: the program,
// the year and the month of the store. Folders exported by older versions
// have none.
namespace ExportManifest {

inline const QString kFileName = QStringLiteral("ESPORTAZIONE.cds");

// The file's bytes for a return.
QByteArray bytes(const QString &program, int year, int month);
// The year of the return exported into the folder; 0 when the folder does
// not say. A manifest that cannot be read raises EDatabaseError naming it.
int year(const QString &folder);

} // namespace ExportManifest
