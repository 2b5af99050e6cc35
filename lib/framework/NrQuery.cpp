#include "NrQuery.h"

#include "Exceptions.h"
#include "NrConnection.h"
#include "NrStatementSource.h"

#include <QSqlError>

#include <optional>

using namespace Qt::Literals::StringLiterals;

TNrQuery::TNrQuery(TdmNrConnection &connection)
    : m_connection(&connection)
    , m_query(connection.database())
{
}

void TNrQuery::setSql(const QString &sql)
{
    m_query.finish();
    m_sql = sql;
    m_prepared = false;
}

void TNrQuery::fetch(const QString &name, int index, const QString &kind)
{
    m_connection->statements().fetch(name, *this, index, kind);
}

void TNrQuery::setParam(const QString &name, const QVariant &value)
{
    for (auto &[n, v] : m_named) {
        if (n == name) {
            v = value;
            return;
        }
    }
    m_named.emplace_back(name, value);
}

void TNrQuery::addValue(const QVariant &value)
{
    m_positional.append(value);
}

void TNrQuery::run(bool forwardOnly)
{
    if (m_sql.trimmed().isEmpty())
        throw EDatabaseError(u"Nessuna istruzione SQL da eseguire"_s);
    NrServerRoundTrip roundTrip(*m_connection);
    m_connection->beforeStatement();
    if (!m_prepared) {
        m_query = QSqlQuery(m_connection->database());
        m_query.setForwardOnly(forwardOnly);
        if (!m_query.prepare(m_sql))
            throw EDatabaseError(m_connection->errorText(m_query.lastError()));
        m_prepared = true;
    } else {
        m_query.finish();
    }
    for (const auto &[name, value] : m_named)
        m_query.bindValue(u':' + name, value);
    for (qsizetype i = 0; i < m_positional.size(); ++i)
        m_query.bindValue(static_cast<int>(i), m_positional.at(i));
    m_positional.clear();
    if (!m_query.exec())
        throw EDatabaseError(m_connection->errorText(m_query.lastError()));
}

void TNrQuery::open()
{
    run(true);
}

void TNrQuery::execute()
{
    run(true);
    m_rowsAffected = m_query.numRowsAffected();
    m_query.finish();
}

bool TNrQuery::next()
{
    // Rows of a forward-only query come from the server as they are read.
    NrServerRoundTrip roundTrip(*m_connection);
    if (m_query.next())
        return true;
    if (m_query.lastError().isValid())
        throw EDatabaseError(m_connection->errorText(m_query.lastError()));
    return false;
}

void TNrQuery::close()
{
    m_query.finish();
}

QVariant TNrQuery::value(const QString &column) const
{
    const int i = m_query.record().indexOf(column);
    if (i < 0)
        throw EDatabaseError(u"Colonna «%1» non presente nel risultato della query"_s.arg(column));
    return m_query.value(i);
}

QVariant TNrQuery::scalar()
{
    open();
    const QVariant v = next() ? m_query.value(0) : QVariant();
    close();
    return v;
}

namespace {

// "YYYY-MM-DD...", as SQLite gives dates back, read without the general
// parser; nothing when the text has another shape.
std::optional<QDate> isoDate(QStringView text)
{
    if (text.size() < 10 || text[4] != u'-' || text[7] != u'-')
        return std::nullopt;
    auto number = [&text](qsizetype from, qsizetype count) {
        int n = 0;
        for (qsizetype i = from; i < from + count; ++i) {
            const char16_t c = text[i].unicode();
            if (c < u'0' || c > u'9')
                return -1;
            n = n * 10 + (c - u'0');
        }
        return n;
    };
    const int year = number(0, 4);
    const int month = number(5, 2);
    const int day = number(8, 2);
    if (year < 0 || month < 0 || day < 0)
        return std::nullopt;
    return QDate(year, month, day);
}

} // namespace

namespace NrSqlValue {

QDate toDate(const QVariant &value)
{
    if (!value.isValid() || value.isNull())
        return QDate();
    if (value.metaType().id() == QMetaType::QString) {
        const QString text = value.toString();
        if (const auto date = isoDate(text))
            return *date;
        return QDate::fromString(text.left(10), Qt::ISODate);
    }
    if (value.metaType().id() == QMetaType::QDateTime)
        return value.toDateTime().date();
    return value.toDate();
}

QDateTime toDateTime(const QVariant &value)
{
    if (!value.isValid() || value.isNull())
        return QDateTime();
    if (value.metaType().id() == QMetaType::QString) {
        const QString text = value.toString();
        if (text.size() <= 10)
            return QDateTime(QDate::fromString(text, Qt::ISODate), QTime(0, 0));
        return QDateTime::fromString(text, Qt::ISODateWithMs);
    }
    if (value.metaType().id() == QMetaType::QDate)
        return QDateTime(value.toDate(), QTime(0, 0));
    return value.toDateTime();
}

} // namespace NrSqlValue
