#include "NrPgStatement.h"
#include "NrPgArray.h"

#include <QDate>
#include <QDateTime>
#include <QLocale>

#include <libpq-fe.h>

using namespace Qt::Literals::StringLiterals;

namespace {

bool startsName(QChar c)
{
    return c.isLetter() || c == u'_';
}

bool inName(QChar c)
{
    return c.isLetterOrNumber() || c == u'_';
}

// Where a quoted text, a quoted name or a dollar-quoted body that starts at
// `at` ends (just past its closing quote); the end of the text when it is
// not closed.
qsizetype quotedEnd(const QString &sql, qsizetype at)
{
    const QChar quote = sql[at];
    if (quote == u'$') {
        const qsizetype tagEnd = sql.indexOf(u'$', at + 1);
        const QString tag = sql.mid(at, tagEnd + 1 - at);
        const qsizetype close = sql.indexOf(tag, tagEnd + 1);
        return close < 0 ? sql.size() : close + tag.size();
    }
    // A quote written twice stays inside.
    for (qsizetype i = at + 1; i < sql.size(); ++i) {
        if (sql[i] != quote)
            continue;
        if (i + 1 < sql.size() && sql[i + 1] == quote) {
            ++i;
            continue;
        }
        return i + 1;
    }
    return sql.size();
}

// Whether a dollar at `at` opens a dollar-quoted body: "$$" or "$tag$".
bool opensDollarQuote(const QString &sql, qsizetype at)
{
    qsizetype i = at + 1;
    while (i < sql.size() && inName(sql[i]) && !sql[i].isDigit())
        ++i;
    return i < sql.size() && sql[i] == u'$' && (i == at + 1 || !sql[at + 1].isDigit());
}

} // namespace

NrPgStatement::NrPgStatement(const QString &sql)
{
    QString out;
    out.reserve(sql.size() + 16);
    qsizetype i = 0;
    while (i < sql.size()) {
        const QChar c = sql[i];
        if (c == u'\'' || c == u'"' || (c == u'$' && opensDollarQuote(sql, i))) {
            const qsizetype end = quotedEnd(sql, i);
            out += QStringView(sql).mid(i, end - i);
            i = end;
        } else if (c == u':' && i + 1 < sql.size() && sql[i + 1] == u':') {
            out += u"::"_s;
            i += 2;
        } else if (c == u':' && i + 1 < sql.size() && startsName(sql[i + 1])) {
            qsizetype end = i + 1;
            while (end < sql.size() && inName(sql[end]))
                ++end;
            const QString name = sql.mid(i + 1, end - i - 1);
            qsizetype number = -1;
            for (qsizetype n = 0; n < m_names.size() && number < 0; ++n) {
                if (m_names[n].compare(name, Qt::CaseInsensitive) == 0)
                    number = n;
            }
            if (number < 0) {
                m_names.append(name);
                number = m_names.size() - 1;
            }
            out += u'$' + QString::number(number + 1);
            i = end;
        } else if (c == u'?') {
            m_names.append(QString());
            out += u'$' + QString::number(m_names.size());
            ++i;
        } else {
            out += c;
            ++i;
        }
    }
    m_sql = out.toUtf8();
}

std::vector<NrPgValue> NrPgStatement::values(std::span<const std::pair<QString, QVariant>> named,
                                             std::span<const QVariant> positional, std::vector<int> *formats) const
{
    std::vector<NrPgValue> values;
    values.reserve(static_cast<std::size_t>(m_names.size()));
    std::size_t nextPositional = 0;
    static const QVariant none;
    for (const QString &name : m_names) {
        const QVariant *value = &none;
        if (name.isEmpty()) {
            if (nextPositional < positional.size())
                value = &positional[nextPositional];
            ++nextPositional;
        } else {
            for (const auto &[given, v] : named) {
                if (given.compare(name, Qt::CaseInsensitive) == 0) {
                    value = &v;
                    break;
                }
            }
        }
        values.push_back(text(*value));
        if (formats)
            formats->push_back(value->metaType() == QMetaType::fromType<NrPgBinary>() ? 1 : 0);
    }
    return values;
}

NrPgValue NrPgStatement::text(const QVariant &value)
{
    if (!value.isValid() || value.isNull())
        return std::nullopt;
    if (value.metaType() == QMetaType::fromType<NrPgBinary>())
        return value.value<NrPgBinary>().bytes;
    switch (value.metaType().id()) {
    case QMetaType::Bool:
        return value.toBool() ? QByteArray("true") : QByteArray("false");
    case QMetaType::Int:
    case QMetaType::LongLong:
    case QMetaType::Short:
    case QMetaType::Char:
        return QByteArray::number(value.toLongLong());
    case QMetaType::UInt:
    case QMetaType::ULongLong:
    case QMetaType::UShort:
        return QByteArray::number(value.toULongLong());
    case QMetaType::Double:
    case QMetaType::Float:
        return QByteArray::number(value.toDouble(), 'g', QLocale::FloatingPointShortest);
    case QMetaType::QDate:
        return value.toDate().toString(Qt::ISODate).toUtf8();
    case QMetaType::QDateTime:
        // The columns hold times without a zone: the time as the program has it.
        return value.toDateTime().toString(u"yyyy-MM-dd HH:mm:ss.zzz"_s).toUtf8();
    case QMetaType::QTime:
        return value.toTime().toString(Qt::ISODateWithMs).toUtf8();
    default:
        return value.toString().toUtf8();
    }
}

QSqlError NrPgServerError(pg_conn *connection, const pg_result *result)
{
    // In a pipeline the connection's text may be another command's: the
    // result's own comes first.
    const char *own = result ? PQresultErrorMessage(result) : nullptr;
    QString text = QString::fromUtf8(own && *own ? own : PQerrorMessage(connection));
    QString code;
    if (result) {
        code = QString::fromLatin1(PQresultErrorField(result, PG_DIAG_SQLSTATE));
        text += u'(' + code + u')';
    }
    return QSqlError(u"QPSQL: Unable to create query"_s, text, QSqlError::StatementError, code);
}
