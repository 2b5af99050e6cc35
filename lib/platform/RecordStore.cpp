#include "RecordStore.h"

#include "Decimal.h"

#include <QDate>
#include <QDateTime>
#include <QHash>
#include <QStringView>

#include <algorithm>
#include <bit>
#include <cmath>
#include <limits>
#include <numeric>
#include <optional>
#include <utility>

namespace {

constexpr std::int64_t kMsPerDay = 86400000;

template<typename T>
int cmp(const T &a, const T &b)
{
    return a < b ? -1 : (b < a ? 1 : 0);
}

using KeyedPositions = std::vector<std::pair<std::uint64_t, std::uint32_t>>;

constexpr std::uint64_t kSignBit = std::uint64_t{1} << 63;

// Unsigned keys that order as the values do. A float's zeros are one key,
// and a NaN, which compares with nothing, sorts as infinity.
std::uint64_t orderedKey(std::int64_t value)
{
    return static_cast<std::uint64_t>(value) ^ kSignBit;
}
std::uint64_t orderedKey(double value)
{
    const double v = std::isnan(value) ? std::numeric_limits<double>::infinity() : value + 0.0;
    const auto bits = std::bit_cast<std::uint64_t>(v);
    return (bits & kSignBit) != 0 ? ~bits : bits | kSignBit;
}

// Sorts by key, equal keys keeping their order: a radix sort on the bits
// up to those of `top`, the highest key.
void radixSort(KeyedPositions &items, std::uint64_t top)
{
    constexpr int kBits = 11;
    constexpr std::uint64_t kMask = (std::uint64_t{1} << kBits) - 1;
    KeyedPositions other(items.size());
    std::vector<std::size_t> start(kMask + 2);
    for (int shift = 0; shift < 64 && (top >> shift) != 0; shift += kBits) {
        std::fill(start.begin(), start.end(), 0);
        for (const auto &item : items)
            ++start[((item.first >> shift) & kMask) + 1];
        std::partial_sum(start.begin(), start.end(), start.begin());
        for (const auto &item : items)
            other[start[(item.first >> shift) & kMask]++] = item;
        items.swap(other);
    }
}

// Ranks 1, 2... of keys paired with their positions in `out`, equal keys
// sharing one; returns the highest.
std::uint32_t rankKeys(KeyedPositions &items, std::vector<std::uint32_t> &out)
{
    std::uint64_t low = std::numeric_limits<std::uint64_t>::max();
    std::uint64_t top = 0;
    for (const auto &item : items) {
        low = std::min(low, item.first);
        top = std::max(top, item.first);
    }
    for (auto &item : items)
        item.first -= low;
    radixSort(items, top - low);
    std::uint32_t rank = 0;
    for (std::size_t i = 0; i < items.size(); ++i) {
        if (i == 0 || items[i - 1].first != items[i].first)
            ++rank;
        out[items[i].second] = rank;
    }
    return rank;
}

// The same for texts and bytes, which repeat much: each distinct value is
// sorted once. `value(i)` is null (std::nullopt) or the value at position i.
template<typename Key, typename Value>
std::uint32_t rankDistinct(std::size_t count, Value value, std::vector<std::uint32_t> &out)
{
    QHash<Key, std::uint32_t> seen;
    std::vector<Key> distinct;
    for (std::size_t i = 0; i < count; ++i) {
        const std::optional<Key> v = value(i);
        if (!v) {
            out[i] = 0;
            continue;
        }
        auto it = seen.constFind(*v);
        if (it == seen.constEnd()) {
            it = seen.insert(*v, static_cast<std::uint32_t>(distinct.size()));
            distinct.push_back(*v);
        }
        out[i] = *it + 1;
    }
    std::vector<std::uint32_t> order(distinct.size());
    std::iota(order.begin(), order.end(), 0U);
    std::sort(order.begin(), order.end(),
              [&distinct](std::uint32_t a, std::uint32_t b) { return distinct[a].compare(distinct[b]) < 0; });
    std::vector<std::uint32_t> rankOf(distinct.size());
    for (std::size_t k = 0; k < order.size(); ++k)
        rankOf[order[k]] = static_cast<std::uint32_t>(k + 1);
    for (std::uint32_t &r : out) {
        if (r != 0)
            r = rankOf[r - 1];
    }
    return static_cast<std::uint32_t>(distinct.size());
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
        if (c.nulls.empty())
            continue;
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
        if (c.nulls.empty())
            continue;
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
    const auto it =
        std::lower_bound(m_rows.begin(), m_rows.end(), uid, [](const RowInfo &r, std::int64_t u) { return r.uid < u; });
    if (it == m_rows.end() || it->uid != uid)
        return -1;
    return static_cast<int>(it - m_rows.begin());
}

RecordStore::Column &RecordStore::filled(int field)
{
    auto &c = m_columns[idx(field)];
    if (!c.nulls.empty())
        return c;
    const std::size_t rows = m_rows.size();
    switch (c.storage) {
    case Storage::Int:
        c.ints.resize(rows, 0);
        break;
    case Storage::Float:
        c.floats.resize(rows, 0.0);
        break;
    case Storage::Text:
        c.texts.resize(rows);
        break;
    case Storage::Bytes:
        c.bytes.resize(rows);
        break;
    }
    c.nulls.resize(rows, 1);
    return c;
}

void RecordStore::setNull(int field, int row)
{
    auto &c = m_columns[idx(field)];
    if (c.nulls.empty())
        return;
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
    auto &c = filled(field);
    c.ints[idx(row)] = value;
    c.nulls[idx(row)] = 0;
}

void RecordStore::setFloat(int field, int row, double value)
{
    auto &c = filled(field);
    c.floats[idx(row)] = value;
    c.nulls[idx(row)] = 0;
}

void RecordStore::setText(int field, int row, const QString &value)
{
    auto &c = filled(field);
    c.texts[idx(row)] = value;
    c.nulls[idx(row)] = 0;
}

void RecordStore::setBytes(int field, int row, const QByteArray &value)
{
    auto &c = filled(field);
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
    const bool nullA = isNull(field, rowA);
    const bool nullB = isNull(field, rowB);
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

std::uint32_t RecordStore::ranks(int field, const std::vector<int> &rows, std::vector<std::uint32_t> &out) const
{
    const auto &c = m_columns[idx(field)];
    const std::size_t n = rows.size();
    if (c.nulls.empty()) {
        std::fill_n(out.begin(), n, 0);
        return 0;
    }
    auto rankNumbers = [&](const auto &values) {
        KeyedPositions pairs;
        pairs.reserve(n);
        for (std::size_t i = 0; i < n; ++i) {
            const std::size_t r = idx(rows[i]);
            if (c.nulls[r] != 0)
                out[i] = 0;
            else
                pairs.emplace_back(orderedKey(values[r]), static_cast<std::uint32_t>(i));
        }
        return rankKeys(pairs, out);
    };
    auto rankTexts = [&]<typename Key>(const auto &values) {
        return rankDistinct<Key>(
            n,
            [&](std::size_t i) -> std::optional<Key> {
                const std::size_t r = idx(rows[i]);
                return c.nulls[r] != 0 ? std::nullopt : std::optional<Key>(values[r]);
            },
            out);
    };
    switch (c.storage) {
    case Storage::Int:
        return rankNumbers(c.ints);
    case Storage::Float:
        return rankNumbers(c.floats);
    case Storage::Text:
        return rankTexts.template operator()<QStringView>(c.texts);
    case Storage::Bytes:
        return rankTexts.template operator()<QByteArray>(c.bytes);
    }
    return 0;
}

// Every record gets one integer key that orders as its index values do: the
// ranks of the fields, one after another, as the digits of a number (the
// key is ranked again before it would overflow). One stable sort on the
// keys replaces comparing values field by field.
std::vector<int> RecordStore::sortedRows(const std::vector<int> &rows, const std::vector<int> &fields) const
{
    const std::size_t n = rows.size();
    std::vector<std::uint64_t> keys(n, 0);
    std::uint64_t top = 0;
    std::vector<std::uint32_t> rank(n);
    for (int f : fields) {
        const std::uint64_t highest = ranks(f, rows, rank);
        const std::uint64_t radix = highest + 1;
        if (top > (std::numeric_limits<std::uint64_t>::max() - highest) / radix) {
            KeyedPositions pairs(n);
            for (std::size_t i = 0; i < n; ++i)
                pairs[i] = {keys[i], static_cast<std::uint32_t>(i)};
            std::vector<std::uint32_t> dense(n);
            top = rankKeys(pairs, dense);
            std::copy(dense.begin(), dense.end(), keys.begin());
        }
        for (std::size_t i = 0; i < n; ++i)
            keys[i] = keys[i] * radix + rank[i];
        top = top * radix + highest;
    }
    KeyedPositions order(n);
    for (std::size_t i = 0; i < n; ++i)
        order[i] = {keys[i], static_cast<std::uint32_t>(i)};
    radixSort(order, top);
    std::vector<int> sorted(n);
    for (std::size_t i = 0; i < n; ++i)
        sorted[i] = rows[order[i].second];
    return sorted;
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
        if (c.nulls.empty())
            continue;
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
