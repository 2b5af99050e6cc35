#pragma once

#include "NrPgStatement.h"
#include "NrRows.h"

#include <QDateTime>
#include <QHash>
#include <QString>
#include <QVariant>

#include <memory>
#include <span>
#include <utility>
#include <vector>

struct pg_result;
class TdmNrConnection;

// The rows of a SELECT run on PostgreSQL's own client library: all of them
// in one answer, their values in binary, each column read as it is asked
// for. Columns of a type it cannot read (numeric, real, time, a zone...)
// make it refuse the statement rather than give a value other than the
// driver's.
class NrPgRows final : public NrRows
{
public:
    // Runs the statement with these values for its placeholders, in order,
    // after what the connection still owes the server; EDatabaseError when
    // the server refuses it or a column has a type it cannot read.
    NrPgRows(TdmNrConnection &connection, const NrPgStatement &statement, std::span<const NrPgValue> values);
    // The same with the values of its named placeholders.
    NrPgRows(TdmNrConnection &connection, const NrPgStatement &statement,
             std::span<const std::pair<QString, QVariant>> named);
    ~NrPgRows() override;
    NrPgRows(const NrPgRows &) = delete;
    NrPgRows &operator=(const NrPgRows &) = delete;

    bool next() override;
    // Back to before the first row: the answer is walked again.
    void rewind();
    int column(const QString &name) const override;
    bool isNull(int column) const override;
    qint64 integer(int column) const override;
    // Good while the rows live.
    QUtf8StringView text(int column) const override;
    // Int, qlonglong, double, bool, text, bytes, a date or a time of the
    // local clock; a null of the column's type for a null.
    QVariant value(int column) const override;

private:
    // The types read, as the server numbers them.
    enum class Type : unsigned {
        Bool = 16,
        Bytes = 17,
        Int8 = 20,
        Int2 = 21,
        Int4 = 23,
        Text = 25,
        Float8 = 701,
        Char = 1042,
        VarChar = 1043,
        Date = 1082,
        Timestamp = 1114,
    };
    const char *data(int column) const;
    // A time of the server, read once: the local clock costs a look at the
    // system's zone each time.
    QDateTime time(qint64 usecs) const;

    struct Clear
    {
        void operator()(pg_result *result) const;
    };
    std::unique_ptr<pg_result, Clear> m_result;
    int m_rows = 0;
    int m_row = -1;
    std::vector<Type> m_types; // by column
    mutable QHash<qint64, QDateTime> m_times;
};
