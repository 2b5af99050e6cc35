#pragma once

#include <QList>
#include <QString>
#include <QStringList>

// The structure check of a Modello 770/2024 supply, written from the public
// facts on the record layout rather than from the program's descriptors, so
// that it also catches a descriptor that drifted. It reads any supply: the
// files of one send in order (the chosen file, then its "_2", "_3" parts).
//
// What it checks: records of 1,898 characters ending in "A" and CR LF,
// without control characters; one A, one B, the data records grouped by type
// (D, E, I, J) with progressive module numbers from 1 without gaps, one Z;
// the fixed fields of A, B and Z, the counters of Z, the Prospetti boxes of
// B against the data records, the send index and count of A and the same B
// in every file; in the data records the declarant's and producer's codes,
// the blank fillers, element codes of two letters and six digits of a
// Prospetto that the record carries, in ascending order within a module,
// continuation pieces ("+") that follow their field in the same record, a
// repeated code without "+", amounts written as digits, a comma and two
// decimals and never negative, the periods of ST and SV written as a month
// 01-12 and a year of four digits, and the shape and check character of the
// fiscal codes.
namespace SupplyCheck {

struct Finding
{
    QString file;
    int line = 0; // 1-based; 0 for the file as a whole
    QString text;
};

// "«file», riga N: text" (the line left out when 0).
QString describe(const Finding &finding);

// Every finding of the files, in the order of the files and lines; none
// when the supply is sound.
QList<Finding> run(const QStringList &files);

} // namespace SupplyCheck
