#pragma once

#include <QStringList>
#include <QTextStream>

// The imports of the command line, with their results on the terminal:
//   importa f24ep [--st1 si|no] [--st2 si|no] [--sv si|no]
//       the F24EP payments of the payroll into the Prospetti ST and SV; exit 1
//       when a Prospetto or the agent could not be written;
//   importa cu [--codice-fiscale CF ...] [--sostituto] [--addizionali si|no]
//       the certifications of the people given (every one when none) into the
//       employee and self-employed sections, then the log; exit 1 when a
//       person could not be imported;
//   importa autonomi [--codice-fiscale CF ...] [--sovrascrivi si|no] [--solo-anagrafica]
//       the self-employed of the payroll (every payee of the compensation
//       register with --solo-anagrafica); exit 1 when one could not be written.
// A fiscal code that is not among the people is refused (exit 2). Each
// import holds the lock of the return for its whole run: while another runs
// on it, it waits up to Attesa= seconds of KbrPar.ini, then stops with
// "Un'altra importazione è in corso su questa dichiarazione" (exit 1).
// "elh770 importa anno-precedente ..." is runImportPreviousYear's.
int runImport(const QStringList &arguments, QTextStream &out, QTextStream &err);

// "elh770 integra dipendenti|autonomi --cartella DIR [--codice-fiscale CF ...]":
// the people of the extinct agent whose return was exported into DIR (all
// when no code is given) integrated into the return, then the log; exit 1
// when the folder, its files or the agents' codes stop the integration or a
// person could not be integrated, 2 with the use or a code not in DIR.
int runIntegration(const QStringList &arguments, QTextStream &out, QTextStream &err);
