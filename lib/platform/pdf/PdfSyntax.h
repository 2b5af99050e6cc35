#pragma once

#include <QByteArray>
#include <QString>

#include <cstdint>
#include <string>
#include <string_view>

// The pieces of PDF content-stream syntax that the overlay writes.
namespace PdfSyntax {

// A number as PDF writes it: a point, at most three decimals, no exponent,
// whatever the locale.
void appendNumber(std::string &out, double value);
// The number in thousandths, rounded half away from zero, as appendNumber
// writes it.
std::int64_t thousandths(double value);
// A number given in thousandths, written as appendNumber writes it.
void appendThousandths(std::string &out, std::int64_t value);
// The end of the last operator that ends within the content, with the blank
// after it when there is one; 0 when none does. Operands and operators are
// as appendNumber, appendLiteral and names write them.
std::size_t lastOperatorEnd(std::string_view content);
// A literal string of raw bytes: ( ) and \ escaped, bytes outside the
// printable ASCII range written as octal escapes.
void appendLiteral(std::string &out, const QByteArray &bytes);
// The text in the WinAnsi encoding of the standard fonts: a character the
// encoding lacks becomes '?', a control character a blank, one byte each.
QByteArray encodeWinAnsi(const QString &text);

} // namespace PdfSyntax
