#pragma once

#include <QString>

#include <ostream>

// GoogleTest shows texts as text, not as code units.
inline void PrintTo(const QString &text, std::ostream *os)
{
    *os << '"' << text.toStdString() << '"';
}
