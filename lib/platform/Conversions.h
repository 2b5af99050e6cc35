#pragma once

#include "Decimal.h"

#include <QDate>
#include <QDateTime>
#include <QString>
#include <QVariant>

#include <optional>

// The platform's standard conversion between values and text, fixed here in
// one place and always Italian, whatever the machine's locale: a date is
// dd/mm/yyyy, a number keeps its decimals with a comma and no thousands
// separator (1234,5), an empty or null value is empty text. Parsing accepts
// the same forms.
namespace Conv {

QString dateToText(const QDate &date);
// "dd/mm/yyyy", followed by " hh:mm:ss" when the time is not midnight.
QString dateTimeToText(const QDateTime &dateTime);
QString floatToText(double value);
QString boolToText(bool value);
// Any value held by a field or a variant; an invalid variant is empty text.
QString toText(const QVariant &value);

// dd/mm/yyyy (day and month may have one digit; a two-digit year below 50 is
// in this century, otherwise in the last one) or ISO yyyy-mm-dd.
std::optional<QDate> parseDate(const QString &text);
// A date as above, optionally followed by hh:mm or hh:mm:ss. Date-times of
// the program are wall-clock times without a zone, held as UTC so that no
// daylight-saving gap moves them.
std::optional<QDateTime> parseDateTime(const QString &text);
std::optional<qint64> parseInteger(const QString &text);
// Italian decimal comma, thousands optionally grouped by full stops,
// optional exponent ("1,5E3", "1.234,5"); "1.23" is refused.
std::optional<double> parseFloat(const QString &text);
std::optional<bool> parseBool(const QString &text);

// The display and edit masks of amounts ("#,##0.00", "#.00", "0.000"):
// '0' a digit always shown, '#' a digit shown when significant, ',' in the
// integer part asks for thousands separators, '.' marks the decimals; text
// before and after the placeholders is kept. Output uses Italian separators
// (full stop between thousands, comma before decimals). Rounding is half away
// from zero.
QString formatFloat(const QString &mask, Decimal value);
QString formatFloat(const QString &mask, double value);

} // namespace Conv
