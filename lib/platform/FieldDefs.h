#pragma once

#include <QList>
#include <QString>

#include <cstdint>

enum class FieldType : std::uint8_t {
    String = 1, // text with a size in characters
    Integer,    // 32-bit
    LargeInt,   // 64-bit
    Float,      // binary floating point
    Decimal,    // exact, four decimals: amounts and currency
    Date,
    DateTime,
    Boolean,
    Memo,       // text without a size
    Blob,       // bytes
};

// The type's name as written in the readable table files ("string", "decimal").
QString fieldTypeName(FieldType type);
// The type for a name written by fieldTypeName(), without regard to case.
bool fieldTypeFromName(const QString &name, FieldType *type);

struct FieldDef
{
    QString name;
    FieldType type = FieldType::String;
    // Characters of a String field; the decimals shown of a Decimal field
    // (0 for the usual two; the value itself always keeps four); 0 elsewhere.
    int size = 0;
    bool required = false;
};

// The structure of a dataset: field definitions in order, looked up by name
// without regard to case.
class FieldDefs
{
public:
    // Raises EDatabaseError for an empty or duplicate name, or a size the
    // type cannot have.
    void add(const QString &name, FieldType type, int size = 0, bool required = false);
    void add(const FieldDef &def);
    void clear() { m_defs.clear(); }

    qsizetype count() const { return m_defs.size(); }
    bool isEmpty() const { return m_defs.isEmpty(); }
    const FieldDef &at(qsizetype index) const { return m_defs.at(index); }
    // -1 when there is no field of that name.
    qsizetype indexOf(const QString &name) const;

    auto begin() const { return m_defs.cbegin(); }
    auto end() const { return m_defs.cend(); }

private:
    QList<FieldDef> m_defs;
};
