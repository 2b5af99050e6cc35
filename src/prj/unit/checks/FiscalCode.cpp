#include "FiscalCode.h"

#include "Field.h"

#include <QRegularExpression>

using namespace Qt::Literals::StringLiterals;

namespace FiscalCode {

namespace {

// Surname, name, year, month, day and sex, place, check letter; the digits of
// year, day and place may stand as the letters L M N P Q R S T U V.
const QRegularExpression
    kPerson(u"^[A-Z]{6}[0-9LMNPQRSTUV]{2}[ABCDEHLMPRST][0-9LMNPQRSTUV]{2}[A-Z][0-9LMNPQRSTUV]{3}[A-Z]$"_s);
const QRegularExpression kNumeric(u"^[0-9]{11}$"_s);

// Values of a character in an odd position (1st, 3rd, ...): digits share the
// values of the letters A-J.
constexpr int kOdd[26] = {1, 0, 5, 7, 9, 13, 15, 17, 19, 21, 2, 4, 18, 20, 11, 3, 6, 8, 12, 14, 16, 10, 22, 25, 24, 23};

int ordinal(QChar c)
{
    return c.isDigit() ? c.unicode() - u'0' : c.unicode() - u'A';
}

QChar personCheckChar(const QString &code)
{
    int sum = 0;
    for (int i = 0; i < 15; ++i)
        sum += (i % 2 == 0) ? kOdd[ordinal(code.at(i))] : ordinal(code.at(i));
    return QChar(u'A' + sum % 26);
}

QChar numericCheckDigit(const QString &code)
{
    int sum = 0;
    for (int i = 0; i < 10; ++i) {
        int digit = code.at(i).unicode() - u'0';
        if (i % 2 == 1) {
            digit *= 2;
            if (digit > 9)
                digit -= 9;
        }
        sum += digit;
    }
    return QChar(u'0' + (10 - sum % 10) % 10);
}

} // namespace

Verdict check(const QString &code)
{
    if (kPerson.match(code).hasMatch())
        return code.back() == personCheckChar(code) ? Verdict::Valid : Verdict::WrongCheckChar;
    if (kNumeric.match(code).hasMatch())
        return code.back() == numericCheckDigit(code) ? Verdict::Valid : Verdict::WrongCheckChar;
    return Verdict::WrongShape;
}

QString problem(const QString &code)
{
    // A control character in the code is shown by its name.
    const QString shown = Field::visibleText(code);
    switch (check(code)) {
    case Verdict::Valid:
        return QString();
    case Verdict::WrongShape:
        return u"Codice fiscale «%1» non valido: deve avere 16 caratteri (persona) o 11 cifre"_s.arg(shown);
    case Verdict::WrongCheckChar:
        return u"Codice fiscale «%1» non valido: il carattere di controllo non corrisponde"_s.arg(shown);
    }
    return QString();
}

} // namespace FiscalCode
