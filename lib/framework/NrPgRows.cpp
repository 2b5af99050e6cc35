#include "NrPgRows.h"

#include "Exceptions.h"
#include "NrConnection.h"

#include <QDate>
#include <QDateTime>
#include <QSqlError>
#include <QtEndian>

#include <libpq-fe.h>

#include <bit>
#include <limits>

using namespace Qt::Literals::StringLiterals;

namespace {

// The server counts days and microseconds from 2000-01-01, in no zone.
constexpr qint64 kEpochJulianDay = 2451545;
constexpr qint64 kMSecsPerDay = 86400000;

// The quotient rounded down, for times before 2000.
qint64 floorDiv(qint64 a, qint64 b)
{
    return a / b - (a % b < 0 ? 1 : 0);
}

// Microseconds since 2000 as the driver reads their text: a time of the
// local clock, to the millisecond from the first four digits of the
// fraction, half up.
QDateTime timestamp(qint64 usecs)
{
    if (usecs == std::numeric_limits<qint64>::max() || usecs == std::numeric_limits<qint64>::min())
        return QDateTime(); // infinity
    const qint64 msecs = floorDiv(floorDiv(usecs, 100) + 5, 10);
    const qint64 days = floorDiv(msecs, kMSecsPerDay);
    return QDateTime(QDate::fromJulianDay(kEpochJulianDay + days),
                     QTime::fromMSecsSinceStartOfDay(static_cast<int>(msecs - days * kMSecsPerDay)));
}

QDate date(qint32 days)
{
    if (days == std::numeric_limits<qint32>::max() || days == std::numeric_limits<qint32>::min())
        return QDate(); // infinity
    return QDate::fromJulianDay(kEpochJulianDay + days);
}

} // namespace

NrPgRows::NrPgRows(TdmNrConnection &connection, const NrPgStatement &statement, std::span<const NrPgValue> values)
{
    connection.beforeStatement();
    PGconn *pg = nullptr;
    std::vector<const char *> texts;
    texts.reserve(values.size());
    for (const NrPgValue &v : values)
        texts.push_back(v ? v->constData() : nullptr);
    {
        NrServerRoundTrip roundTrip(connection);
        pg = connection.postgreSQLConnection();
        m_result.reset(PQexecParams(pg, statement.sql().constData(), static_cast<int>(texts.size()), nullptr,
                                    texts.data(), nullptr, nullptr, 1));
    }
    if (PQresultStatus(m_result.get()) != PGRES_TUPLES_OK)
        throw EDatabaseError(connection.errorText(NrPgServerError(pg, m_result.get())));
    m_rows = PQntuples(m_result.get());
    const int columns = PQnfields(m_result.get());
    m_types.reserve(static_cast<std::size_t>(columns));
    for (int c = 0; c < columns; ++c) {
        const auto type = static_cast<Type>(PQftype(m_result.get(), c));
        switch (type) {
        case Type::Bool:
        case Type::Bytes:
        case Type::Int8:
        case Type::Int2:
        case Type::Int4:
        case Type::Text:
        case Type::Float8:
        case Type::Char:
        case Type::VarChar:
        case Type::Date:
        case Type::Timestamp:
            m_types.push_back(type);
            break;
        default: {
            throw EDatabaseError(u"La colonna «%1» ha un tipo di PostgreSQL (%2) che il programma non legge"_s
                                     .arg(QString::fromUtf8(PQfname(m_result.get(), c)))
                                     .arg(PQftype(m_result.get(), c)));
        }
        }
    }
}

NrPgRows::NrPgRows(TdmNrConnection &connection, const NrPgStatement &statement,
                   std::span<const std::pair<QString, QVariant>> named)
    : NrPgRows(connection, statement, statement.values(named))
{
}

NrPgRows::~NrPgRows() = default;

void NrPgRows::Clear::operator()(pg_result *result) const
{
    PQclear(result);
}

bool NrPgRows::next()
{
    if (m_row < m_rows)
        ++m_row;
    return m_row < m_rows;
}

void NrPgRows::rewind()
{
    m_row = -1;
}

int NrPgRows::column(const QString &name) const
{
    for (int c = 0; c < static_cast<int>(m_types.size()); ++c) {
        if (QString::fromUtf8(PQfname(m_result.get(), c)).compare(name, Qt::CaseInsensitive) == 0)
            return c;
    }
    return -1;
}

bool NrPgRows::isNull(int column) const
{
    return PQgetisnull(m_result.get(), m_row, column) != 0;
}

const char *NrPgRows::data(int column) const
{
    return PQgetvalue(m_result.get(), m_row, column);
}

qint64 NrPgRows::integer(int column) const
{
    if (isNull(column))
        return 0;
    switch (m_types[static_cast<std::size_t>(column)]) {
    case Type::Int2:
        return qFromBigEndian<qint16>(data(column));
    case Type::Int4:
        return qFromBigEndian<qint32>(data(column));
    case Type::Int8:
        return qFromBigEndian<qint64>(data(column));
    default:
        return value(column).toLongLong();
    }
}

QUtf8StringView NrPgRows::text(int column) const
{
    return {data(column), PQgetlength(m_result.get(), m_row, column)};
}

QDateTime NrPgRows::time(qint64 usecs) const
{
    auto it = m_times.constFind(usecs);
    if (it == m_times.constEnd())
        it = m_times.insert(usecs, timestamp(usecs));
    return *it;
}

QVariant NrPgRows::value(int column) const
{
    const Type type = m_types[static_cast<std::size_t>(column)];
    const bool null = isNull(column);
    const char *bytes = data(column);
    switch (type) {
    case Type::Bool:
        return null ? QVariant(QMetaType::fromType<bool>()) : QVariant(*bytes != 0);
    case Type::Bytes:
        return null ? QVariant(QMetaType::fromType<QByteArray>())
                    : QVariant(QByteArray(bytes, PQgetlength(m_result.get(), m_row, column)));
    case Type::Int2:
    case Type::Int4:
        return null ? QVariant(QMetaType::fromType<int>()) : QVariant(static_cast<int>(integer(column)));
    case Type::Int8:
        return null ? QVariant(QMetaType::fromType<qlonglong>()) : QVariant(integer(column));
    case Type::Float8:
        return null ? QVariant(QMetaType::fromType<double>())
                    : QVariant(std::bit_cast<double>(qFromBigEndian<quint64>(bytes)));
    case Type::Date:
        return null ? QVariant(QMetaType::fromType<QDate>()) : QVariant(date(qFromBigEndian<qint32>(bytes)));
    case Type::Timestamp:
        return null ? QVariant(QMetaType::fromType<QDateTime>()) : QVariant(time(qFromBigEndian<qint64>(bytes)));
    case Type::Text:
    case Type::Char:
    case Type::VarChar:
        break;
    }
    if (null)
        return QVariant(QMetaType::fromType<QString>());
    const QUtf8StringView utf8 = text(column);
    return QString::fromUtf8(utf8.data(), utf8.size());
}
