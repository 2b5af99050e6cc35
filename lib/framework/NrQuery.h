#pragma once

#include <QDate>
#include <QDateTime>
#include <QSqlQuery>
#include <QSqlRecord>
#include <QString>
#include <QVariant>

#include <utility>
#include <vector>

class TdmNrConnection;

// A statement on a connection: its text comes from the connection's named
// statements (fetch) and every value reaches the server as a bound parameter,
// named (":IANFID") or positional ("?"). The text is prepared once and run as
// often as needed. Errors raise EDatabaseError with the database's text.
class TNrQuery
{
public:
    explicit TNrQuery(TdmNrConnection &connection);

    TdmNrConnection &connection() const { return *m_connection; }

    const QString &sql() const { return m_sql; }
    void setSql(const QString &sql);
    // The named statement of the connection; "EXECUTE" when no kind is given.
    void fetch(const QString &name, int index = 0, const QString &kind = QStringLiteral("EXECUTE"));

    // Values of named parameters stay until changed; positional values are
    // used by one run.
    void setParam(const QString &name, const QVariant &value);
    void addValue(const QVariant &value);

    // Runs a SELECT, reading forward; next() moves to the first row.
    void open();
    // Runs a statement that returns no rows.
    void execute();
    bool next();
    // Ends reading, so that the connection's transaction can end.
    void close();

    QVariant value(int column) const { return m_query.value(column); }
    // Columns are found without regard to case; a missing one raises.
    QVariant value(const QString &column) const;
    QSqlRecord record() const { return m_query.record(); }
    // Rows changed by the last execute().
    int rowsAffected() const { return m_rowsAffected; }

    // The first row's first column of a SELECT, or an invalid variant when
    // there is no row.
    QVariant scalar();

private:
    void run(bool forwardOnly);

    TdmNrConnection *m_connection;
    QSqlQuery m_query;
    QString m_sql;
    bool m_prepared = false;
    int m_rowsAffected = 0;
    std::vector<std::pair<QString, QVariant>> m_named;
    QVariantList m_positional;
};

// Values as the drivers give them back: SQLite returns dates as ISO text,
// PostgreSQL as dates; integers come as int, qlonglong or qulonglong.
namespace NrSqlValue {
QDate toDate(const QVariant &value);
QDateTime toDateTime(const QVariant &value);
} // namespace NrSqlValue
