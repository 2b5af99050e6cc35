#pragma once

#include "Decimal.h"
#include "NrFindings.h"

#include <QDate>
#include <QList>
#include <QString>

#include <array>
#include <optional>

class THlmDBCds;

// The reconciliation of the return with itself before it leaves: what the
// school withheld (ST and SV column 2), paid (column 7, on time or late),
// certified to its people (the employee and self-employed sections) and, when
// the payroll has them, the F24EP lines it paid the year with.

// Where a finding belongs.
enum class QuadraturaArea { StI, StII, Sv, Certificazioni, F24ep };
constexpr int kQuadraturaAreas = 5;

// "ST I", "ST II", "SV", "Certificazioni", "F24EP".
QString quadraturaAreaLabel(QuadraturaArea area);

// One row of ST section I, ST section II or SV as the return holds it.
struct QuadraturaRow
{
    QuadraturaArea area = QuadraturaArea::StI; // StI, StII or Sv
    int record = 0;                            // its place in its table, from 0, in the store's order
    QString agent;                             // SSOE7CODICE: an extinct agent's row, empty for the school's
    QString month;                             // as entered: "01".."12" when sound
    QString year;
    QString taxCode;
    QString region; // ST II only
    Decimal withheld;
    Decimal credits;
    Decimal paid;
    Decimal interest;
    Decimal suspended;
    QDate paidOn;
    bool ravvedimento = false;
};

// What the return certifies to one person, summed over his rows.
struct QuadraturaPerson
{
    QString table; // TDIP7_ANAGRFISCALI or TDAU7_DATIAUTONOM
    QString fiscalCode;
    QString name;             // "COGNOME NOME"
    Decimal irpef;            // employees: IRPEF withheld
    Decimal regional;         // employees: regional surcharge
    Decimal municipalAdvance; // employees: municipal surcharge, advance of the year
    Decimal municipalBalance; // employees: municipal surcharge, balance
    Decimal selfEmployed;     // self-employed: withholdings on account and final
};

// One tax line of the payroll's F24EP delegations.
struct QuadraturaF24Line
{
    qint64 delegation = 0;
    qint64 line = 0;
    QDate paidOn;
    QString section; // "E", "R", "EL", ...
    QString taxCode;
    QString region;
    QString municipality;
    QString month;
    QString year;
    Decimal withheld;
    Decimal credits;
    Decimal paid;
    Decimal interest;
    Decimal suspended;
    bool ravvedimento = false;
    // What could not be read (an amount that is no number, a date that is
    // no date), empty when the line is sound; such a line is only reported.
    QString problem;
};

struct QuadraturaInput
{
    int year = 2023; // the year of the income, whose withholdings the return declares
    QList<QuadraturaRow> rows;
    QList<QuadraturaPerson> people;
    // None when the payroll holds no delegations of the year.
    std::optional<QList<QuadraturaF24Line>> f24;
};

// A Prospetto row a finding concerns.
struct QuadraturaRowRef
{
    QuadraturaArea area = QuadraturaArea::StI;
    int record = 0;
};

// A person a finding concerns.
struct QuadraturaPersonRef
{
    QString table;
    QString fiscalCode;
    QString name;
};

struct QuadraturaFinding
{
    FindingLevel level = FindingLevel::Information;
    QuadraturaArea area = QuadraturaArea::StI;
    QString period;  // "mm/yyyy", empty for the whole year
    QString taxCode; // empty when it is not one code's
    QString place;   // the region or municipality, when one
    std::optional<Decimal> expected;
    std::optional<Decimal> found;
    int daysLate = 0;
    QString text; // what is wrong and what to check, in Italian
    QList<QuadraturaRowRef> rows;
    QList<QuadraturaPersonRef> people;

    // found - expected, when both are known.
    std::optional<Decimal> difference() const;
};

// The families of codes the chart of the year shows, one bar pair a month.
enum class QuadraturaFamily { Dipendenti, Autonomi, AddRegionale, AddComunale };
constexpr int kQuadraturaFamilies = 4;

// "Ritenute lavoro dipendente", "Ritenute lavoro autonomo", "Addizionale regionale", "Addizionale comunale".
QString quadraturaFamilyLabel(QuadraturaFamily family);

struct QuadraturaMonth
{
    Decimal withheld;
    Decimal paid;
    bool late = false; // some payment of the month was made after its due date
};

struct QuadraturaReport
{
    int year = 2023;
    QList<QuadraturaFinding> findings;
    // By family, by month of the year (January first).
    std::array<std::array<QuadraturaMonth, 12>, kQuadraturaFamilies> months{};

    int count(FindingLevel level) const;
    int count(QuadraturaArea area, FindingLevel level) const;
};

// Reads the Prospetti ST I, ST II and SV, the people's certified totals and
// the payroll's F24EP lines of the year from the store's return. ENrError,
// with what and where, when the return cannot be read.
QuadraturaInput readQuadraturaInput(THlmDBCds &store);

// The findings by level, errors first; within a level in the order of the
// checks and within each check by period.
QuadraturaReport reconcile(const QuadraturaInput &input);

// The day a withholding of the month is due: the 16th of the next month, the
// July withholdings on the 20th of August, moved to the next working day.
QDate quadraturaDueDate(int year, int month);
// Neither Saturday, Sunday nor a national holiday (Easter Monday included).
bool quadraturaWorkingDay(const QDate &day);
