#pragma once

#include <QStringList>
#include <QTextStream>

// "elh770 cds leggi|scrivi": reads a packed table as JSON or CSV, writes one
// from JSON or CSV.
int runCdsCommand(const QStringList &arguments, QTextStream &out, QTextStream &err);
