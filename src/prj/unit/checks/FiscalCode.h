#pragma once

#include <QString>

// Italian fiscal codes: the 16-character code of a person (letters and
// digits, the digits possibly replaced by letters when two people would share
// a code) and the 11-digit code of companies, bodies and schools. Both end
// with a check character computed from the others.
namespace FiscalCode {

enum class Verdict {
    Valid,
    WrongShape,     // neither 16 characters of a person's code nor 11 digits
    WrongCheckChar, // the right shape, but the last character does not match
};

// The code as written, without trimming: blanks are part of a wrong shape.
Verdict check(const QString &code);

// "Codice fiscale «X» non valido: …" for a code that is not Valid, else empty.
QString problem(const QString &code);

} // namespace FiscalCode
