#pragma once

#include <QString>

// Paths of the installation. The program's data use relative paths with
// backslashes and mixed case ("USR\FL2023\Res\", "..\usr\kbr\"); they name
// the same folders whatever the case. resolve() is the one place that turns
// such a path into a native one: each component is matched without regard to
// case against what exists on disk, and kept as written where nothing exists
// yet (a file or folder about to be created).
namespace DataPaths {

// The folder that holds the program file, ending in '/'.
QString programDir();
// The data root: the parent of the program's folder, ending in '/'.
// Tests and tools may set another one.
QString dataRoot();
void setDataRoot(const QString &folder);

QString resolve(const QString &base, const QString &relative);
// resolve(dataRoot(), relative).
QString fromRoot(const QString &relative);

} // namespace DataPaths
