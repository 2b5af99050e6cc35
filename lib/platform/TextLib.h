#pragma once

#include <QString>

// The small text library that record encoders and filters are written with.
// Widths count characters; a value longer than the width is cut to the width
// (its first characters are kept).
namespace TextLib {

// Pads on the left with `fill` to exactly `width` characters.
QString PadL(const QString &value, int width, QChar fill = u' ');
// Pads on the right with `fill` to exactly `width` characters.
QString PadR(const QString &value, int width, QChar fill = u' ');
// A whole number written with at least `digits` digits, leading zeros, the
// sign in front ("-05"). Text that is not a whole number is padded on the
// left with zeros as it stands.
QString StrZero(const QString &value, int digits);
QString StrZero(qint64 value, int digits);
// Removes blanks and control characters at both ends.
QString Trim(const QString &value);
QString AllTrim(const QString &value);
QString TrimLeft(const QString &value);
QString TrimRight(const QString &value);
QString Left(const QString &value, int count);
QString Right(const QString &value, int count);
// True when the trimmed text is not empty and made of the digits 0-9 only.
bool IsNumeric(const QString &value);
// The text as a literal of a filter expression: 'D''ANGELO'.
QString QuotedStr(const QString &value);

} // namespace TextLib
