#pragma once

#include "Decimal.h"
#include "ElhUXmlRec.h"

#include <QChar>
#include <QString>

#include <optional>

// The encoding of one value of the supply file, and what a field's Info code
// says about where its value comes from and when it is written.

// Alphanumeric encodings pad with the grave accent instead of a blank, so
// that a blank field survives every test of emptiness made on trimmed text.
// Every grave accent becomes a blank when a record is finished.
inline constexpr QChar kPlaceholder = u'`';

// A value on its way to its field: a text, or an amount (a field of kind
// Decimal) that stays a Decimal until its encoding writes it. A null field
// gives an empty text.
class FieldValue
{
public:
    FieldValue() = default;
    FieldValue(QString text)
        : m_text(std::move(text))
    {
    }
    FieldValue(Decimal amount)
        : m_amount(amount)
    {
    }

    bool isEmpty() const { return !m_amount && m_text.isEmpty(); }
    bool isAmount() const { return m_amount.has_value(); }
    // The text; an amount as the standard conversion writes it ("1234,5").
    QString text() const { return m_amount ? m_amount->toString() : m_text; }
    // The amount, or the text read as one; nothing for a text that is not.
    std::optional<Decimal> number() const { return m_amount ? m_amount : Decimal::parse(m_text); }

private:
    QString m_text;
    std::optional<Decimal> m_amount;
};

// Whether a field of the family is written: always, only when its value is
// not empty, or never (an Info code the family does not honour).
enum class InfoPresence { Skipped, Always, WhenFilled };
InfoPresence infoPresence(LayoutFamily family, const QString &info);

// The value an Info code takes from the dataset's value: "T@"/"TX" truncate
// to a whole number; "A@"/"AX" make it whole, a positive value rounded half
// up and a negative one truncated toward zero; "A1" as "A@" but a value
// strictly between -1 and 1, and not 0, becomes -1 or 1; "@1" gives "1" for
// a value and "0" for none; "4/" keeps the first 4 characters, "/2" the last
// 2. Nothing when a numeric code meets a text that is not a number.
std::optional<FieldValue> applyInfo(const QString &info, const FieldValue &value);

// The zero date as the standard conversion writes it ("0.00.00", or the
// day 30/12/1899 that a date of zero stands for).
bool isZeroDate(const QString &text);

// Encodes `value` to `width` characters under the format code:
//   AN, CF  trimmed, padded on the right with grave accents
//   PR      padded on the right with grave accents
//   CN      trimmed; all zeros when empty and Info is "O@", else as AN
//   CB      a box: "1" right-aligned in blanks unless the value is "0", which
//           gives blanks (nothing at all in a 16-character field)
//   CP      a box padded with zeros: "1" or "0"
//   CB12    twelve monthly boxes right-aligned, blanks when all are "0"
//   DT, DP  a dd/mm/yyyy date as ddmmyyyy, right-aligned in blanks (DT) or
//           zeros (DP); the zero date is nothing (DT) or "00000000" (DP)
//   D4, D6  ddmm (a 4-character value as it is), mmyyyy
//   NF      right-aligned in zeros
//   N1..N10 at least 1, 2, 3, 5, 6, 10 digits with leading zeros,
//           right-aligned (N3 and wider: nothing when empty)
//   ND      right-aligned, "0" when empty
//   VP      an amount with two decimals and a comma ("180,00"),
//           right-aligned; nothing when zero or empty
//   AT      an ATECO code without its dots, then as AN
//   other   right-aligned in blanks (DA, NU, NP, PC, QU among them)
// A value longer than the width is cut to its first characters, and `cut`
// is set.
QString FormatFieldValue(const FieldValue &value, int width, const QString &format, const QString &info,
                         bool *cut = nullptr);
