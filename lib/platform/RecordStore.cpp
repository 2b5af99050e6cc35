#include "RecordStore.h"

#include "Decimal.h"

#include <QDate>
#include <QDateTime>

#include <algorithm>

namespace {

constexpr std::int64_t kMsPerDay = 86400000;

template<typename T>
int cmp(const T &a, const T &b)
{
    return a < b ? -1 : (b < a ? 1 : 0);
}

} // namespace

Storage storageOf(FieldType type)
{
    switch (type) {
    case FieldType::String:
    case FieldType::Memo:
        return Storage::Text;
    case FieldType::Float:
        return Storage::Float;
    case FieldType::Blob:
        return Storage::Bytes;
    case FieldType::Integer:
    case FieldType::LargeInt:
    case FieldType::Decimal:
    case FieldType::Date:
    case FieldType::DateTime:
    case FieldType::Boolean:
        break;
    }
    return Storage::Int;
}

std::int64_t RecordStore::dateTimeToInt(const QDateTime &dt)
{
    return dt.date().toJulianDay() * kMsPerDay + dt.time().msecsSinceStartOfDay();
}

QDateTime RecordStore::intToDateTime(std::int64_t value)
{
    std::int64_t day = value / kMsPerDay;
    std::int64_t ms = value % kMsPerDay;
    if (ms < 0) {
        ms += kMsPerDay;
        --day;
    }
    return QDateTime(QDate::fromJulianDay(day), QTime::fromMSecsSinceStartOfDay(static_cast<int>(ms)), Qt::UTC);
}

void RecordStore::reset(const FieldDefs &defs)
{
    m_columns.clear();
    m_columns.resize(static_cast<std::size_t>(defs.count()));
    for (qsizetype i = 0; i < defs.count(); ++i) {
        auto &c = m_columns[static_cast<std::size_t>(i)];
        c.type = defs.at(i).type;
        c.storage = storageOf(c.type);
    }
    m_rows.clear();
}

void RecordStore::clearRows()
{
    for (auto &c : m_columns) {
        c.ints.clear();
        c.floats.clear();
        c.texts.clear();
        c.bytes.clear();
        c.nulls.clear();
    }
    m_rows.clear();
}

int RecordStore::appendRow(std::int64_t seq)
{
    for (auto &c : m_columns) {
        switch (c.storage) {
        case Storage::Int:
            c.ints.push_back(0);
            break;
        case Storage::Float:
            c.floats.push_back(0.0);
            break;
        case Storage::Text:
            c.texts.emplace_back();
            break;
        case Storage::Bytes:
            c.bytes.emplace_back();
            break;
        }
        c.nulls.push_back(1);
    }
    RowInfo info;
    info.uid = m_nextUid++;
    info.seq = seq;
    m_rows.push_back(info);
    return rowCount() - 1;
}

void RecordStore::popRow()
{
    for (auto &c : m_columns) {
        switch (c.storage) {
        case Storage::Int:
            c.ints.pop_back();
            break;
        case Storage::Float:
            c.floats.pop_back();
            break;
        case Storage::Text:
            c.texts.pop_back();
            break;
        case Storage::Bytes:
            c.bytes.pop_back();
            break;
        }
        c.nulls.pop_back();
    }
    m_rows.pop_back();
}

int RecordStore::rowOfUid(std::int64_t uid) const
{
    const auto it = std::lower_bound(m_rows.begin(), m_rows.end(), uid,
                                     [](const RowInfo &r, std::int64_t u) { return r.uid < u; });
    if (it == m_rows.end() || it->uid != uid)
        return -1;
    return static_cast<int>(it - m_rows.begin());
}

void RecordStore::setNull(int field, int row)
{
    auto &c = m_columns[idx(field)];
    c.nulls[idx(row)] = 1;
    switch (c.storage) {
    case Storage::Int:
        c.ints[idx(row)] = 0;
        break;
    case Storage::Float:
        c.floats[idx(row)] = 0.0;
        break;
    case Storage::Text:
        c.texts[idx(row)] = QString();
        break;
    case Storage::Bytes:
        c.bytes[idx(row)] = QByteArray();
        break;
    }
}

void RecordStore::setInt(int field, int row, std::int64_t value)
{
    auto &c = m_columns[idx(field)];
    c.ints[idx(row)] = value;
    c.nulls[idx(row)] = 0;
}

void RecordStore::setFloat(int field, int row, double value)
{
    auto &c = m_columns[idx(field)];
    c.floats[idx(row)] = value;
    c.nulls[idx(row)] = 0;
}

void RecordStore::setText(int field, int row, const QString &value)
{
    auto &c = m_columns[idx(field)];
    c.texts[idx(row)] = value;
    c.nulls[idx(row)] = 0;
}

void RecordStore::setBytes(int field, int row, const QByteArray &value)
{
    auto &c = m_columns[idx(field)];
    c.bytes[idx(row)] = value;
    c.nulls[idx(row)] = 0;
}

QVariant RecordStore::variantAt(int field, int row) const
{
    if (isNull(field, row))
        return QVariant();
    const auto &c = m_columns[idx(field)];
    switch (c.type) {
    case FieldType::String:
    case FieldType::Memo:
        return c.texts[idx(row)];
    case FieldType::Integer:
        return static_cast<int>(c.ints[idx(row)]);
    case FieldType::LargeInt:
        return static_cast<qlonglong>(c.ints[idx(row)]);
    case FieldType::Float:
        return c.floats[idx(row)];
    case FieldType::Decimal:
        return QVariant::fromValue(Decimal::fromUnits(c.ints[idx(row)]));
    case FieldType::Date:
        return QDate::fromJulianDay(c.ints[idx(row)]);
    case FieldType::DateTime:
        return intToDateTime(c.ints[idx(row)]);
    case FieldType::Boolean:
        return c.ints[idx(row)] != 0;
    case FieldType::Blob:
        return c.bytes[idx(row)];
    }
    return QVariant();
}

void RecordStore::setCanonical(int field, int row, const QVariant &value)
{
    if (!value.isValid()) {
        setNull(field, row);
        return;
    }
    switch (type(field)) {
    case FieldType::String:
    case FieldType::Memo:
        setText(field, row, value.toString());
        break;
    case FieldType::Integer:
    case FieldType::LargeInt:
        setInt(field, row, value.toLongLong());
        break;
    case FieldType::Float:
        setFloat(field, row, value.toDouble());
        break;
    case FieldType::Decimal:
        setInt(field, row, value.value<Decimal>().units());
        break;
    case FieldType::Date:
        setInt(field, row, value.toDate().toJulianDay());
        break;
    case FieldType::DateTime:
        setInt(field, row, dateTimeToInt(value.toDateTime()));
        break;
    case FieldType::Boolean:
        setInt(field, row, value.toBool() ? 1 : 0);
        break;
    case FieldType::Blob:
        setBytes(field, row, value.toByteArray());
        break;
    }
}

std::vector<QVariant> RecordStore::rowValues(int row) const
{
    std::vector<QVariant> values;
    values.reserve(m_columns.size());
    for (int f = 0; f < fieldCount(); ++f)
        values.push_back(variantAt(f, row));
    return values;
}

void RecordStore::setRowValues(int row, const std::vector<QVariant> &values)
{
    for (int f = 0; f < fieldCount(); ++f)
        setCanonical(f, row, values[idx(f)]);
}

bool RecordStore::sameValue(int field, int row, const QVariant &canonical) const
{
    if (isNull(field, row) || !canonical.isValid())
        return isNull(field, row) == !canonical.isValid();
    return variantAt(field, row) == canonical;
}

int RecordStore::compare(int field, int rowA, int rowB) const
{
    const auto &c = m_columns[idx(field)];
    const bool nullA = c.nulls[idx(rowA)] != 0;
    const bool nullB = c.nulls[idx(rowB)] != 0;
    if (nullA || nullB)
        return nullA == nullB ? 0 : (nullA ? -1 : 1);
    switch (c.storage) {
    case Storage::Int:
        return cmp(c.ints[idx(rowA)], c.ints[idx(rowB)]);
    case Storage::Float:
        return cmp(c.floats[idx(rowA)], c.floats[idx(rowB)]);
    case Storage::Text:
        return c.texts[idx(rowA)].compare(c.texts[idx(rowB)]);
    case Storage::Bytes:
        return c.bytes[idx(rowA)].compare(c.bytes[idx(rowB)]);
    }
    return 0;
}

std::vector<int> RecordStore::compact(const std::vector<int> &keep)
{
    std::vector<int> remap(m_rows.size(), -1);
    for (std::size_t n = 0; n < keep.size(); ++n)
        remap[idx(keep[n])] = static_cast<int>(n);
    // In place (the rows kept are in ascending order), so that the columns
    // keep their capacity: appending after a compaction must not copy every
    // column again.
    auto pick = [&keep](auto &vec) {
        for (std::size_t n = 0; n < keep.size(); ++n) {
            if (idx(keep[n]) != n)
                vec[n] = std::move(vec[idx(keep[n])]);
        }
        vec.resize(keep.size());
    };
    for (auto &c : m_columns) {
        switch (c.storage) {
        case Storage::Int:
            pick(c.ints);
            break;
        case Storage::Float:
            pick(c.floats);
            break;
        case Storage::Text:
            pick(c.texts);
            break;
        case Storage::Bytes:
            pick(c.bytes);
            break;
        }
        pick(c.nulls);
    }
    pick(m_rows);
    return remap;
}
