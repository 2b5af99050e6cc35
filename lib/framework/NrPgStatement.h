#pragma once

#include <QByteArray>
#include <QSqlError>
#include <QString>
#include <QStringList>
#include <QVariant>

#include <optional>
#include <span>
#include <utility>
#include <vector>

struct pg_conn;
struct pg_result;

// A value as PostgreSQL reads it in text; none for a null.
using NrPgValue = std::optional<QByteArray>;

// A statement for PostgreSQL's own client library, from a text written for
// the driver: its placeholders, named (":NAME") or positional ("?"), become
// $1, $2, ... in order, a name used twice taking the same number. Quoted
// texts, quoted names and casts ("::") are left as they are.
class NrPgStatement
{
public:
    explicit NrPgStatement(const QString &sql);

    const QByteArray &sql() const { return m_sql; }
    int placeholderCount() const { return static_cast<int>(m_names.size()); }

    // The values of the placeholders in their order: a named one from the
    // value given under its name (compared without regard to case), the
    // positional ones from the list in turn. A placeholder without a value
    // is null. With formats, each value's format as the client library
    // takes it: 1 for a value given in binary (NrPgBinary), 0 for text.
    std::vector<NrPgValue> values(std::span<const std::pair<QString, QVariant>> named,
                                  std::span<const QVariant> positional = {}, std::vector<int> *formats = nullptr) const;

    // How a variant goes to the server in text: numbers as the C locale
    // writes them, dates and times in ISO form, truth as "true"/"false"; a
    // value in binary as it is.
    static NrPgValue text(const QVariant &value);

private:
    QByteArray m_sql;
    QStringList m_names; // by placeholder; empty for a positional one
};

// What a statement the server refused gives, as the driver reports it: the
// server's text with its code. Without a result, the connection's last error.
QSqlError NrPgServerError(pg_conn *connection, const pg_result *result);
