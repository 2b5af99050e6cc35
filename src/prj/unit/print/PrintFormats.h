#pragma once

#include "THlkPdf.h"

#include <QString>

// The vocabularies of type codes with which the prints rewrite a value
// before drawing it. Codes are compared exactly; an unknown code leaves the
// value as it is. Numbers and dates are read and written in the Italian
// forms (1.234,50; dd/mm/yyyy). Rounding to a whole number goes half away
// from zero on the exact amount. A value that should be a number or a date
// and is not one raises EConvertError, except where a code counts it as 0.
namespace PrintFormats {

// The Alignment of a descriptor's Edit, without regard to case: taCenter,
// taRightJustify, anything else left.
THlkPdf::Alignment alignment(const QString &name);

// The overlay engine's codes (PdfConf descriptors):
//   FL  empty or not a number gives 0; "0.00"          TR  truncated, "#,##0"
//   FF  a number, "0.00" (blank stays)                 TA  rounded, "#,##0"
//   DT  "dd  mm  yyyy"   DT2 "dd   mm  yyyy"   DA "dd mm"
//   SP  unchanged   CD  blanks in front up to 11 characters
//   M / F  "X" when the value is that letter, else one blank
//   CB  "X" when the value is "1", else empty
// TR and TA count a text that is not a number as 0; every code but FL, M
// and F leaves an empty value empty.
QString engineValue(const QString &type, const QString &value);

// The frontispiece's codes (FormattaValore): dates are sliced from the text
// dd/mm/yyyy as it stands.
//   TR  truncated, plain digits; empty gives 0
//   AR  a fraction of 0.5 or more rounds up, otherwise truncated; empty gives 0
//   PC  unchanged; empty gives 0
//   DT  "dd  mm  yyyy"   DTd "dd mm yyyy"   DA "dd mm"
//   SP  each character followed by a blank   SP2  by three blanks
//   M, F, CB  as in the engine
QString frontispieceValue(const QString &type, const QString &value);

// A value of a certificate print: the text and the spacing it is drawn with.
struct CertificateValue
{
    QString text;
    double spacing = 0;
};

// The employee certificate's codes (given only non-empty values):
//   TR  truncated, "#,##0"   TA  rounded, "#,##0"   FF  as in the engine
//   A1  rounded, "#,##0", but an amount between 0 and 1 (or -1 and 0) gives 1 (-1)
//   DT  "dd mm yyyy" in cells of 7   DA  "dd mm" in cells of 7
//   SP  unchanged, cells of 14   CD  blanks in front up to 11 characters, cells of 14.5
//   CB  "X" when the value is "1", else empty
CertificateValue employeeValue(const QString &type, const QString &value);
// The self-employed certificate's codes:
//   TR  truncated, "#,##0"   AR  rounded, "#,##0"   FF  as in the engine
//   DT  "dd mm yyyy" in cells of 2   SP  unchanged, cells of 5
//   TOT blanks in front up to 9 characters   CB  as above
CertificateValue selfEmployedValue(const QString &type, const QString &value);

} // namespace PrintFormats
