#pragma once

#include <QString>
#include <QStringList>

#include <ostream>

// Readable values in the failure messages of GoogleTest.
inline void PrintTo(const QString &text, std::ostream *os)
{
    *os << '"' << text.toStdString() << '"';
}

inline void PrintTo(const QStringList &texts, std::ostream *os)
{
    *os << '{';
    for (const QString &t : texts)
        *os << "\n  \"" << t.toStdString() << '"';
    *os << " }";
}
