#pragma once

#include <QStringList>
#include <QTextStream>

// "elh770 stampa frontespizio|st|sv|sx|sy|ss|di --out FILE.pdf": prints the
// frontispiece or a prospetto of the current database into a PDF file;
// "elh770 stampa dipendenti|autonomi --out FILE.pdf [--codice-fiscale CF ...]"
// the certificates of the employees or self-employed workers.
int runPrint(const QStringList &arguments, QTextStream &out, QTextStream &err);
// "elh770 riepilogo inps|tassazione-separata|irpef|inpdap|autonomi --out
// FILE.pdf": a summary report of the current database.
int runSummaryReport(const QStringList &arguments, QTextStream &out, QTextStream &err);
