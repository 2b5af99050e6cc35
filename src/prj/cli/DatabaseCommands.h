#pragma once

#include <QStringList>
#include <QTextStream>

// "elh770 crea-database [--demo]": a new school database with the structures
// of the catalogued tables, optionally with the demo school and data.
int runCreateDatabase(const QStringList &arguments, QTextStream &out, QTextStream &err);
// "elh770 esporta CARTELLA": every table of the return as <table>.cds.
int runExport(const QStringList &arguments, QTextStream &out, QTextStream &err);
