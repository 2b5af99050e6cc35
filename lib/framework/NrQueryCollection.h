#pragma once

#include "ClientDataSet.h"
#include "NrQuery.h"

#include <QHash>
#include <QString>
#include <QVariant>

#include <memory>

class TdmNrConnection;

// A client dataset filled by a statement on the school database: opening
// runs the statement and fetches every row at once, so that the connection
// is free for other statements while the rows are used (on PostgreSQL a
// statement read forward loses its rows when the connection runs another).
// The dataset takes the result's columns as its fields; a column whose type
// was not set takes the type of its values (integer, floating point, date,
// text), so amounts, and dates on SQLite, are given their type by the caller.
class TNrQueryCollection : public ClientDataSet
{
public:
    explicit TNrQueryCollection(QString name = QString());

    void setConnection(TdmNrConnection *connection);
    TdmNrConnection *connection() const { return m_connection; }

    // The named statement of the connection; "EXECUTE" when no kind is given.
    void fetch(const QString &statement, int index = 0, const QString &kind = QStringLiteral("EXECUTE"));
    const QString &sql() const;
    void setSql(const QString &sql);
    // Values stay until changed, across openings.
    void setParam(const QString &name, const QVariant &value);
    void setColumnType(const QString &column, FieldType type);

    // Runs the statement and holds its rows, in the statement's order, with
    // an empty change log and the cursor on the first row.
    void open();

private:
    TNrQuery &query();

    TdmNrConnection *m_connection = nullptr;
    std::unique_ptr<TNrQuery> m_query;
    QHash<QString, FieldType> m_types; // by column in upper case
};
