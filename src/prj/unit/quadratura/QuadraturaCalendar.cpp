#include "Quadratura.h"

namespace {

// Easter Sunday of the Gregorian calendar (the anonymous Gregorian
// computus, valid for every year of the calendar).
QDate easter(int year)
{
    const int a = year % 19;
    const int b = year / 100;
    const int c = year % 100;
    const int d = b / 4;
    const int e = b % 4;
    const int f = (b + 8) / 25;
    const int g = (b - f + 1) / 3;
    const int h = (19 * a + b - d - g + 15) % 30;
    const int i = c / 4;
    const int k = c % 4;
    const int l = (32 + 2 * e + 2 * i - h - k) % 7;
    const int m = (a + 11 * h + 22 * l) / 451;
    const int month = (h + l - 7 * m + 114) / 31;
    const int day = (h + l - 7 * m + 114) % 31 + 1;
    return QDate(year, month, day);
}

bool nationalHoliday(const QDate &day)
{
    // 1 and 6 January, 25 April, 1 May, 2 June, 15 August, 1 November, 8, 25
    // and 26 December.
    static constexpr int kFixed[][2] = {{1, 1},  {1, 6},  {4, 25}, {5, 1},   {6, 2},
                                        {8, 15}, {11, 1}, {12, 8}, {12, 25}, {12, 26}};
    for (const auto &[month, dayOfMonth] : kFixed) {
        if (day.month() == month && day.day() == dayOfMonth)
            return true;
    }
    return day == easter(day.year()).addDays(1);
}

} // namespace

bool quadraturaWorkingDay(const QDate &day)
{
    return day.isValid() && day.dayOfWeek() < Qt::Saturday && !nationalHoliday(day);
}

QDate quadraturaDueDate(int year, int month)
{
    if (month < 1 || month > 12 || year < 1)
        return {};
    QDate due = month == 12 ? QDate(year + 1, 1, 16) : QDate(year, month + 1, 16);
    // Payments due from 1 to 20 August may be made by the 20th.
    if (due.month() == 8 && due.day() <= 20)
        due.setDate(due.year(), 8, 20);
    while (!quadraturaWorkingDay(due))
        due = due.addDays(1);
    return due;
}
