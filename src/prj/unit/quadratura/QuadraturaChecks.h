#pragma once

#include "Quadratura.h"

// The checks of the reconciliation, each appending its findings in the
// order it finds them; reconcile() runs them in this order.
namespace QuadraturaChecks {

// Each row alone: missing or malformed data, a tax code of another
// Prospetto, a period of another year; the amount paid against what the row
// owes when the row is alone in its period.
void rows(const QuadraturaInput &input, QList<QuadraturaFinding> &findings);
// The payment date against the due date of the period.
void timing(const QuadraturaInput &input, QList<QuadraturaFinding> &findings);
// The months of the year without a row for each tax code in use; the
// periods of several rows that together pay less or more than they owe.
void coverage(const QuadraturaInput &input, QList<QuadraturaFinding> &findings);
// Rows entered twice.
void duplicates(const QuadraturaInput &input, QList<QuadraturaFinding> &findings);
// The people's certified totals against the rows of the year.
void certified(const QuadraturaInput &input, QList<QuadraturaFinding> &findings);
// The payroll's F24EP lines against the rows, when there are lines.
void payroll(const QuadraturaInput &input, QList<QuadraturaFinding> &findings);

} // namespace QuadraturaChecks
