#pragma once

#include <QStringList>
#include <QTextStream>

// "elh770 quadratura [--pdf FILE] [--csv FILE]": the reconciliation of the
// return, its findings on the terminal and, when asked, its print and CSV.
// 0 when no finding is an error, 1 when some are, 2 when it could not run.
int runQuadratura(const QStringList &arguments, QTextStream &out, QTextStream &err);
