#pragma once

#include <QStringList>
#include <QTextStream>

// "elh770 importa f24ep [--st1 si|no] [--st2 si|no] [--sv si|no]": the F24EP
// payments of the payroll into the Prospetti ST and SV of the school
// database, with the result on the terminal; exit 1 when a Prospetto or the
// agent could not be written. "elh770 importa anno-precedente ..." is
// runImportPreviousYear's.
int runImport(const QStringList &arguments, QTextStream &out, QTextStream &err);
