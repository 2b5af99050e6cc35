#include "NrQueryCollection.h"

#include "Decimal.h"
#include "Exceptions.h"

#include <QSqlRecord>

#include <optional>
#include <vector>

using namespace Qt::Literals::StringLiterals;

namespace {

// The type of a column from its values as the driver gives them: integers,
// floating point when a value has decimals, dates, text otherwise; the size
// of a text is its longest value.
FieldType typeOfValues(const std::vector<QVariantList> &rows, int column, int *textSize)
{
    std::optional<FieldType> type;
    *textSize = 1;
    for (const QVariantList &row : rows) {
        const QVariant &v = row.at(column);
        if (v.isNull())
            continue;
        *textSize = std::max(*textSize, static_cast<int>(v.toString().size()));
        FieldType t = FieldType::String;
        switch (v.metaType().id()) {
        case QMetaType::Int:
        case QMetaType::UInt:
        case QMetaType::LongLong:
        case QMetaType::ULongLong:
            t = FieldType::LargeInt;
            break;
        case QMetaType::Double:
            t = FieldType::Float;
            break;
        case QMetaType::QDate:
            t = FieldType::Date;
            break;
        case QMetaType::QDateTime:
            t = FieldType::DateTime;
            break;
        default:
            break;
        }
        const auto numeric = [](FieldType x) { return x == FieldType::LargeInt || x == FieldType::Float; };
        if (!type)
            type = t;
        else if (*type != t)
            type = numeric(*type) && numeric(t) ? FieldType::Float : FieldType::String;
    }
    return type.value_or(FieldType::String);
}

} // namespace

TNrQueryCollection::TNrQueryCollection(QString name)
    : ClientDataSet(std::move(name))
{
}

void TNrQueryCollection::setConnection(TdmNrConnection *connection)
{
    m_connection = connection;
    m_query.reset();
}

TNrQuery &TNrQueryCollection::query()
{
    if (!m_query) {
        if (!m_connection)
            throw EDatabaseError(u"%1: nessuna connessione al database"_s.arg(name()));
        m_query = std::make_unique<TNrQuery>(*m_connection);
    }
    return *m_query;
}

void TNrQueryCollection::fetch(const QString &statement, int index, const QString &kind)
{
    query().fetch(statement, index, kind);
}

const QString &TNrQueryCollection::sql() const
{
    static const QString none;
    return m_query ? m_query->sql() : none;
}

void TNrQueryCollection::setSql(const QString &sql)
{
    query().setSql(sql);
}

void TNrQueryCollection::setParam(const QString &name, const QVariant &value)
{
    query().setParam(name, value);
}

void TNrQueryCollection::setColumnType(const QString &column, FieldType type)
{
    m_types.insert(column.toUpper(), type);
}

void TNrQueryCollection::open()
{
    TNrQuery &q = query();
    q.open();
    const QSqlRecord columns = q.record();
    std::vector<QVariantList> rows;
    while (q.next()) {
        QVariantList values;
        values.reserve(columns.count());
        for (int c = 0; c < columns.count(); ++c)
            values.append(q.value(c));
        rows.push_back(std::move(values));
    }
    q.close();

    close();
    setIndexFieldNames(QString());
    fieldDefs().clear();
    for (int c = 0; c < columns.count(); ++c) {
        const QString column = columns.fieldName(c).toUpper();
        int size = 0;
        const auto declared = m_types.constFind(column);
        const FieldType type = declared != m_types.constEnd() ? *declared : typeOfValues(rows, c, &size);
        fieldDefs().add(column, type, type == FieldType::String ? size : 0);
    }
    createDataSet();
    DataSetEvents events = takeEvents();
    disableControls();
    try {
        for (std::size_t r = 0; r < rows.size(); ++r) {
            append();
            for (int c = 0; c < columns.count(); ++c) {
                const QVariant &v = rows[r].at(c);
                if (v.isNull())
                    continue;
                Field &f = field(c);
                switch (f.dataType()) {
                case FieldType::Decimal:
                    f.setAsCurrency(Decimal::fromDouble(v.toDouble()));
                    break;
                case FieldType::Date:
                    f.setAsDate(NrSqlValue::toDate(v));
                    break;
                case FieldType::DateTime:
                    f.setAsDateTime(NrSqlValue::toDateTime(v));
                    break;
                case FieldType::String:
                case FieldType::Memo:
                    f.setAsString(v.toString());
                    break;
                default:
                    f.setValue(v);
                }
            }
            post();
        }
    } catch (...) {
        setEvents(std::move(events));
        enableControls();
        throw;
    }
    mergeChangeLog();
    setEvents(std::move(events));
    enableControls();
    first();
}
