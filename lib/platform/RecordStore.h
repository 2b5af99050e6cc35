#pragma once

#include "FieldDefs.h"

#include <QByteArray>
#include <QString>
#include <QVariant>

#include <cstdint>
#include <vector>

// How the values of a field type are held in memory.
enum class Storage : std::uint8_t {
    Int,   // Integer, LargeInt, Boolean (0/1), Decimal (ten-thousandths),
           // Date (Julian day), DateTime (milliseconds since Julian day 0)
    Float, // Float
    Text,  // String, Memo
    Bytes, // Blob
};

Storage storageOf(FieldType type);

enum class UpdateStatus : std::uint8_t { Unmodified, Modified, Inserted, Deleted };

// The records of a client dataset, held by column: one typed vector per
// field and a null flag per value. A record is a row number; rows keep their
// number until compact() drops the ones the change log no longer needs.
// A field takes its vectors with its first value: until then it is null on
// every row and costs nothing to a row appended (a registry of hundreds of
// fields fills a few dozen).
// This is the dataset's internal storage: it knows nothing of cursors,
// states or events.
class RecordStore
{
public:
    struct RowInfo
    {
        std::int64_t uid = 0;           // never reused; bookmarks hold it
        std::int64_t seq = 0;           // natural order of the records
        std::uint64_t changeSerial = 0; // order of first change, for the delta walk
        UpdateStatus status = UpdateStatus::Unmodified;
        bool discarded = false; // an unposted or cancelled insert
    };

    void reset(const FieldDefs &defs);
    void clearRows();

    int fieldCount() const { return static_cast<int>(m_columns.size()); }
    int rowCount() const { return static_cast<int>(m_rows.size()); }
    FieldType type(int field) const { return m_columns[idx(field)].type; }
    Storage storage(int field) const { return m_columns[idx(field)].storage; }

    int appendRow(std::int64_t seq);
    void popRow();
    RowInfo &info(int row) { return m_rows[idx(row)]; }
    const RowInfo &info(int row) const { return m_rows[idx(row)]; }
    // Row of a uid, or -1; rows are kept in ascending uid order.
    int rowOfUid(std::int64_t uid) const;

    bool isNull(int field, int row) const
    {
        const Column &c = m_columns[idx(field)];
        return c.nulls.empty() || c.nulls[idx(row)] != 0;
    }
    std::int64_t intAt(int field, int row) const
    {
        const Column &c = m_columns[idx(field)];
        return c.nulls.empty() ? 0 : c.ints[idx(row)];
    }
    double floatAt(int field, int row) const
    {
        const Column &c = m_columns[idx(field)];
        return c.nulls.empty() ? 0.0 : c.floats[idx(row)];
    }
    const QString &textAt(int field, int row) const
    {
        const Column &c = m_columns[idx(field)];
        return c.nulls.empty() ? kNoText : c.texts[idx(row)];
    }
    const QByteArray &bytesAt(int field, int row) const
    {
        const Column &c = m_columns[idx(field)];
        return c.nulls.empty() ? kNoBytes : c.bytes[idx(row)];
    }

    void setNull(int field, int row);
    void setInt(int field, int row, std::int64_t value);
    void setFloat(int field, int row, double value);
    void setText(int field, int row, const QString &value);
    void setBytes(int field, int row, const QByteArray &value);

    // The value in its canonical variant type (QString, int, qlonglong,
    // double, Decimal, QDate, QDateTime, bool, QByteArray); an invalid
    // variant for null.
    QVariant variantAt(int field, int row) const;
    // Stores a variant of the canonical type of the field (as variantAt gives).
    void setCanonical(int field, int row, const QVariant &value);
    std::vector<QVariant> rowValues(int row) const;
    void setRowValues(int row, const std::vector<QVariant> &values);
    bool sameValue(int field, int row, const QVariant &canonical) const;

    // Typed comparison of two values of a field, nulls first.
    int compare(int field, int rowA, int rowB) const;
    // The rows in the order of the fields' values (compare() field after
    // field); rows with equal values keep their order.
    std::vector<int> sortedRows(const std::vector<int> &rows, const std::vector<int> &fields) const;

    // Keeps the rows listed (ascending) and returns, for every old row, its
    // new number or -1.
    std::vector<int> compact(const std::vector<int> &keep);

    std::int64_t nextUid() const { return m_nextUid; }

    static std::int64_t dateTimeToInt(const QDateTime &dt);
    static QDateTime intToDateTime(std::int64_t value);

private:
    struct Column
    {
        FieldType type = FieldType::String;
        Storage storage = Storage::Text;
        std::vector<std::int64_t> ints;
        std::vector<double> floats;
        std::vector<QString> texts;
        std::vector<QByteArray> bytes;
        // Empty while the field has had no value, else one flag per row.
        std::vector<std::uint8_t> nulls;
    };

    static inline const QString kNoText;
    static inline const QByteArray kNoBytes;

    static std::size_t idx(int i) { return static_cast<std::size_t>(i); }
    // The column ready for a value on every row.
    Column &filled(int field);
    // Ranks of a field's values on the rows: null 0, then 1, 2... as the
    // values grow, equal values sharing one. Returns the highest rank.
    std::uint32_t ranks(int field, const std::vector<int> &rows, std::vector<std::uint32_t> &out) const;

    std::vector<Column> m_columns;
    std::vector<RowInfo> m_rows;
    std::int64_t m_nextUid = 1;
};
