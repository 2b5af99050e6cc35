#include "FieldDefs.h"

#include "Decimal.h"
#include "Exceptions.h"

using namespace Qt::Literals::StringLiterals;

namespace {

struct TypeName
{
    FieldType type;
    const char16_t *name;
};

constexpr TypeName kTypeNames[] = {
    {FieldType::String, u"string"},
    {FieldType::Integer, u"integer"},
    {FieldType::LargeInt, u"largeint"},
    {FieldType::Float, u"float"},
    {FieldType::Decimal, u"decimal"},
    {FieldType::Date, u"date"},
    {FieldType::DateTime, u"datetime"},
    {FieldType::Boolean, u"boolean"},
    {FieldType::Memo, u"memo"},
    {FieldType::Blob, u"blob"},
};

} // namespace

QString fieldTypeName(FieldType type)
{
    for (const auto &t : kTypeNames) {
        if (t.type == type)
            return QString::fromUtf16(t.name);
    }
    return QString();
}

bool fieldTypeFromName(const QString &name, FieldType *type)
{
    for (const auto &t : kTypeNames) {
        if (name.compare(QString::fromUtf16(t.name), Qt::CaseInsensitive) == 0) {
            *type = t.type;
            return true;
        }
    }
    return false;
}

void FieldDefs::add(const QString &name, FieldType type, int size, bool required)
{
    add(FieldDef{name, type, size, required});
}

void FieldDefs::add(const FieldDef &def)
{
    if (def.name.trimmed().isEmpty())
        throw EDatabaseError(u"Nome di campo vuoto"_s);
    if (indexOf(def.name) >= 0)
        throw EDatabaseError(u"Campo duplicato: %1"_s.arg(def.name));
    if (def.size < 0)
        throw EDatabaseError(u"Dimensione non valida per il campo %1"_s.arg(def.name));
    if (def.type == FieldType::Decimal && def.size > Decimal::kScale)
        throw EDatabaseError(u"Il campo %1 non può mostrare più di %2 decimali"_s.arg(def.name).arg(Decimal::kScale));
    FieldDef d = def;
    if (d.type != FieldType::String && d.type != FieldType::Decimal)
        d.size = 0;
    m_defs.append(d);
}

qsizetype FieldDefs::indexOf(const QString &name) const
{
    for (qsizetype i = 0; i < m_defs.size(); ++i) {
        if (m_defs[i].name.compare(name, Qt::CaseInsensitive) == 0)
            return i;
    }
    return -1;
}
