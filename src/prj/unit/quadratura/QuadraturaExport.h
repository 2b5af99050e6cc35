#pragma once

#include "Quadratura.h"

#include <QString>

class THlmDBCds;

// The reports of a reconciliation: the lines the office reads on the
// terminal and in the file wizard, the CSV for a spreadsheet and the print.

// "<Errore|Attenzione|Informazione> [<area>] <period> <code>: <text>", the
// period and the code left out when the finding has none.
QString quadraturaFindingLine(const QuadraturaFinding &finding);
// "Quadratura: N errori, M avvisi, K informazioni".
QString quadraturaCountsLine(const QuadraturaReport &report);
// The line of the file wizard's memo: "Quadratura: N errori, M avvisi —
// vedere la finestra Quadratura".
QString quadraturaMemoLine(const QuadraturaReport &report);

// The line that says the reconciliation could not run: "Quadratura non
// eseguita: " and the reason, which loses its own "Quadratura: " in front.
QString quadraturaFailureLine(const QString &reason);

// The school as the print names it: the agent's denomination and fiscal code
// from the return's agent record; empty when the return has none.
QString quadraturaSchool(THlmDBCds &store);

// One line per finding after a header line, fields separated by ';' and
// quoted when they hold one, amounts in Italian form, UTF-8 with a byte
// order mark; the file is written whole or not at all (EInOutError).
void writeQuadraturaCsv(const QuadraturaReport &report, const QString &fileName);

// A4 pages in Helvetica: the title with the school and the year, the counts
// per area and level, the chart of the year (withheld against paid, month by
// month, for each family of codes, late months marked) and the findings.
// EPdfError or EInOutError, naming the file, when it cannot be written.
void printQuadratura(const QuadraturaReport &report, const QString &fileName, const QString &school);

// Where the print goes by default: "Quadratura.pdf" in the prints' folder of
// the year under the data root (USR\FL2023\Stp\).
QString quadraturaPrintFile();
