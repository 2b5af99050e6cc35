#pragma once

#include <QString>
#include <QUtf8StringView>
#include <QVariant>

// The rows of a SELECT as a reader of many rows walks them, whatever the
// engine: each column is read only as it is asked for.
class NrRows
{
public:
    virtual ~NrRows() = default;

    // Moves to the next row, the first at the first call.
    virtual bool next() = 0;
    // The place of a column by its name, without regard to case; -1 when the
    // statement has none.
    virtual int column(const QString &name) const = 0;
    // The columns of the current row, from 0.
    virtual bool isNull(int column) const = 0;
    // An integer column; 0 for a null.
    virtual qint64 integer(int column) const = 0;
    // A text column's bytes, good until the next row.
    virtual QUtf8StringView text(int column) const = 0;
    // A column as the driver gives it; a null as the driver gives it too.
    virtual QVariant value(int column) const = 0;

protected:
    NrRows() = default;
    NrRows(const NrRows &) = default;
    NrRows &operator=(const NrRows &) = default;
};
