#pragma once

#include <QStringList>
#include <QTextStream>

// "elh770 importa anno-precedente dipendenti|autonomi [--cartella DIR]": the
// registry of last year's employees or self-employed workers brought into
// this year's return, from the store's previous year or from the files
// exported into DIR; the outcome on the terminal, exit 1 when nothing could
// be imported (a missing folder or file, a refused save).
int runImportPreviousYear(const QStringList &arguments, QTextStream &out, QTextStream &err);
