#include "ElhUImportXML.h"

#include "ElhUImportValue.h"
#include "ElhUImportXMLTypes.h"

#include "ClientDataSet.h"
#include "Conversions.h"
#include "Exceptions.h"

#include <QDateTime>
#include <QFileInfo>
#include <QHash>

#include <limits>
#include <optional>
#include <vector>

using namespace Qt::Literals::StringLiterals;

// The definitions as the engine runs them: every attribute read and decoded
// once when the file is loaded, so that the thousands of calls of a run only
// look up columns. Columns are found by name; each entry remembers where it
// found its column last time and checks that guess by name first.
namespace ImportPlan {

enum class ValueType { Boolean, Currency, Date, Float, Integer, Text, Check, Plain };
enum class Combination { Overwrite, Sum, Subtract, BothOne };
enum class Arithmetic { Add, Subtract, Multiply, Divide, Min, Max, Equal, None };
enum class Condition { Always, WhileZero, Never };

struct Column
{
    QString name;
    // Where the column was found last, and in which making of the fields.
    mutable std::uint64_t fieldsVersion = 0;
    mutable int place = -1;

    Field *find(const ClientDataSet &dataSet) const
    {
        if (fieldsVersion != 0 && fieldsVersion == dataSet.fieldsVersion())
            return place < 0 ? nullptr : &dataSet.field(place);
        Field *f = dataSet.findField(name);
        fieldsVersion = dataSet.fieldsVersion();
        place = f ? f->index() : -1;
        return f;
    }
    Field &get(const ClientDataSet &dataSet) const
    {
        if (Field *f = find(dataSet))
            return *f;
        return dataSet.fieldByName(name); // raises, naming the column and the dataset
    }
};

struct Operation
{
    Arithmetic arithmetic = Arithmetic::None;
    Column operand;
    bool fromSource = false;
    Condition condition = Condition::Always;
};

struct Entry
{
    QString index;
    QString descr;
    Column from;
    Column to;
    Column toInSource; // the source column of reverse mode
    ValueType type = ValueType::Plain;
    QChar stringCase;
    bool required = false;
    QString defaultValue;
    int variable = 0; // 1..5 when DefaultValue is "var(n)"
    Combination combination = Combination::Overwrite;
    std::vector<Operation> operations;
};

using Section = std::vector<Entry>;

struct Definitions
{
    // Keyed by the section name upper-cased; the sections of one name in
    // document order.
    QHash<QString, std::vector<Section>> sections;
};

ValueType valueType(const QString &typeOf)
{
    switch (typeOf.isEmpty() ? 0 : typeOf.at(0).toLower().unicode()) {
    case 'b':
        return ValueType::Boolean;
    case 'c':
        return ValueType::Currency;
    case 'd':
        return ValueType::Date;
    case 'f':
        return ValueType::Float;
    case 'i':
        return ValueType::Integer;
    case 's':
        return ValueType::Text;
    case 'x':
        return ValueType::Check;
    default:
        return ValueType::Plain;
    }
}

Combination combination(const QString &op)
{
    const QString o = op.toLower();
    if (o == u"sum" || o == u"+")
        return Combination::Sum;
    if (o == u"sub" || o == u"-")
        return Combination::Subtract;
    if (o == u"not")
        return Combination::BothOne;
    return Combination::Overwrite;
}

Arithmetic arithmetic(const QString &typeOf)
{
    static const QHash<QString, Arithmetic> names = {
        {u"add"_s, Arithmetic::Add},     {u"sub"_s, Arithmetic::Subtract}, {u"mul"_s, Arithmetic::Multiply},
        {u"div"_s, Arithmetic::Divide},  {u"min"_s, Arithmetic::Min},      {u"max"_s, Arithmetic::Max},
        {u"equal"_s, Arithmetic::Equal},
    };
    return names.value(typeOf.toLower(), Arithmetic::None);
}

Condition condition(const QString &onlyIfNull)
{
    if (onlyIfNull.isEmpty())
        return Condition::Always;
    return onlyIfNull.toLower() == u"true" ? Condition::WhileZero : Condition::Never;
}

// The variable a DefaultValue refers to ("var(" and a digit; nothing after
// the digit is looked at), 0 when it names none.
int variable(const TXMLFieldType &field, const QString &section, const QString &fileName)
{
    const QString value = field.DefaultValue();
    if (value.left(4).toLower() != u"var(")
        return 0;
    const QChar digit = value.size() > 4 ? value.at(4) : QChar();
    if (digit < u'1' || digit > u'5')
        throw EImportDefinitionError(
            u"%1, riga %2, sezione «%3», voce «%4»: il valore predefinito «%5» richiama una variabile che non esiste "
            "(sono ammesse da var(1) a var(5))"_s.arg(
                importDefinitionsName(fileName), QString::number(field.lineNumber()), section, field.Index(), value));
    return digit.unicode() - u'0';
}

Entry compileEntry(const TXMLFieldType &field, const QString &section, const QString &fileName)
{
    Entry e;
    e.index = field.Index();
    e.descr = field.Descr();
    e.from.name = field.FromField();
    e.to.name = field.ToField();
    e.toInSource.name = e.to.name;
    e.type = valueType(field.TypeOf());
    const QString stringCase = field.StringCase();
    e.stringCase = stringCase.isEmpty() ? QChar() : stringCase.at(0).toUpper();
    e.required = field.Required().toUpper() == u"TRUE";
    e.defaultValue = field.DefaultValue();
    e.variable = variable(field, section, fileName);
    e.combination = combination(field.Op());
    for (int i = 0; i < field.Count(); ++i) {
        const TXMLOperationType op = field.Operation(i);
        Operation o;
        o.arithmetic = arithmetic(op.TypeOf());
        o.operand.name = op.Field();
        o.fromSource = op.Source().toLower() == u"in";
        o.condition = condition(op.OnlyIfNull());
        e.operations.push_back(std::move(o));
    }
    return e;
}

std::unique_ptr<Definitions> compile(const TXMLDataImportType &root, const QString &fileName)
{
    auto definitions = std::make_unique<Definitions>();
    for (int i = 0; i < root.Count(); ++i) {
        const TXMLImportType import = root.Import(i);
        const QString name = import.Section();
        Section section;
        for (int j = 0; j < import.Count(); ++j)
            section.push_back(compileEntry(import.Field(j), name, fileName));
        definitions->sections[name.toUpper()].push_back(std::move(section));
    }
    return definitions;
}

std::optional<qint64> parseInteger32(const QString &text)
{
    const auto v = Conv::parseInteger(text);
    if (!v || *v < std::numeric_limits<qint32>::min() || *v > std::numeric_limits<qint32>::max())
        return std::nullopt;
    return v;
}

// A text as a value of the entry's type; `fallback` serves when the text is
// not a valid literal of it (as the value types say).
ImportValue convert(const QString &text, ValueType type, const QString &fallback)
{
    const auto either = [&](auto parse) { return parse(text) ? parse(text) : parse(fallback); };
    switch (type) {
    case ValueType::Boolean:
        return ImportValue(either(Conv::parseBool).value_or(false));
    case ValueType::Currency:
        return ImportValue(either(Decimal::parse).value_or(Decimal()));
    case ValueType::Date:
        return ImportValue(either(Conv::parseDate).value_or(ImportValue::zeroDate()));
    case ValueType::Float:
        return ImportValue(either(Conv::parseFloat).value_or(0.0));
    case ValueType::Integer:
        return ImportValue(either(parseInteger32).value_or(0));
    case ValueType::Text:
        return ImportValue(text.isEmpty() ? fallback : text);
    case ValueType::Check:
        return ImportValue(qint64(text == u"X" || text == u"1" ? 1 : 0));
    case ValueType::Plain:
        break;
    }
    return ImportValue(text);
}

// A column read as text and converted, as convert() does. When the column
// already holds a value of the entry's type, the text would convert back to
// that very value: it is taken as it is, which spares the import thousands
// of conversions. Floats always go through their text, as their text may
// round them.
ImportValue read(const Field &field, ValueType type, const QString &fallback)
{
    if (!field.isNull()) {
        const FieldType held = field.dataType();
        if (type == ValueType::Currency && held == FieldType::Decimal)
            return ImportValue(field.asCurrency());
        if (type == ValueType::Date && held == FieldType::Date)
            return ImportValue(field.asDate());
        if (type == ValueType::Integer && (held == FieldType::Integer || held == FieldType::LargeInt)) {
            const qint64 v = field.asLargeInt();
            if (v >= std::numeric_limits<qint32>::min() && v <= std::numeric_limits<qint32>::max())
                return ImportValue(v);
        }
    }
    return convert(field.asString(), type, fallback);
}

ImportValue combine(Combination how, const ImportValue &added, const ImportValue &current)
{
    switch (how) {
    case Combination::Sum:
        return added + current;
    case Combination::Subtract:
        return added - current;
    case Combination::BothOne:
        return ImportValue(qint64(added.equals(1) && current.equals(1) ? 1 : 0));
    case Combination::Overwrite:
        break;
    }
    return added;
}

ImportValue apply(const Operation &op, const ImportValue &value, const ClientDataSet &source,
                  const ClientDataSet &target)
{
    ImportValue operand = ImportValue::fromField(op.operand.get(op.fromSource ? source : target)).numeric();
    if (operand.isNull())
        operand = ImportValue(qint64(0));
    if (op.condition == Condition::Never || (op.condition == Condition::WhileZero && !value.equals(0)))
        return value;
    switch (op.arithmetic) {
    case Arithmetic::Add:
        return value + operand;
    case Arithmetic::Subtract:
        return value - operand;
    case Arithmetic::Multiply:
        return value * operand;
    case Arithmetic::Divide:
        return operand.equals(0) ? value : value / operand;
    case Arithmetic::Min:
        return ImportValue::min(value, operand);
    case Arithmetic::Max:
        return ImportValue::max(value, operand);
    case Arithmetic::Equal:
        return operand;
    case Arithmetic::None:
        break;
    }
    return value;
}

QString caseConverted(const QString &text, QChar stringCase)
{
    if (stringCase == u'U')
        return text.toUpper();
    if (stringCase == u'L')
        return text.toLower();
    return text;
}

QString entryText(const Entry &e)
{
    return u"Indice:      "_s + e.index + u"\n\r"_s + u"Descrizione: "_s + e.descr;
}

} // namespace ImportPlan

using namespace ImportPlan;

struct TImportXML::Cache
{
    QString fileName;
    QDateTime modified;
    qint64 size = -1;
    std::unique_ptr<Definitions> definitions;
    QString error;
};

namespace {

bool fail(FindingSink &findings, const QString &text, FindingLevel level = FindingLevel::Error)
{
    findings.report({level, {}, {}, {}, text});
    return false;
}

// One entry on the current rows; false after its message when it fails.
bool runEntry(const Entry &e, bool reverse, const std::array<QVariant, 5> &vars, const ClientDataSet &source,
              const ClientDataSet &target, FindingSink &findings)
{
    const Column &from = reverse ? e.toInSource : e.from;
    Field *sourceField = from.name.isEmpty() ? nullptr : from.find(source);
    if (e.required && e.defaultValue.isEmpty() && (!sourceField || sourceField->asString().isEmpty()))
        return fail(findings, u"Campo richiesto non presente: \n\r"_s + entryText(e));
    if (e.to.name.isEmpty())
        return fail(findings, u"Campo di destinazione non compilato: \n\r"_s + entryText(e));
    if (!from.name.isEmpty() && !sourceField)
        return fail(findings, u"Campo di acquisizione non trovato: "_s + from.name + u"\n\r"_s + entryText(e));
    try {
        const QString fallback =
            e.variable > 0 ? Conv::toText(vars[static_cast<std::size_t>(e.variable - 1)]) : e.defaultValue;
        const ImportValue added =
            sourceField ? read(*sourceField, e.type, fallback) : convert(fallback, e.type, QString());
        Field &targetField = e.to.get(target);
        ImportValue value = added;
        switch (e.type) {
        case ValueType::Text:
            value = ImportValue(caseConverted(added.toText(), e.stringCase));
            break;
        case ValueType::Currency:
        case ValueType::Float:
        case ValueType::Integer:
            value = combine(e.combination, added, read(targetField, e.type, QString()));
            if (!reverse) {
                for (const Operation &op : e.operations)
                    value = apply(op, value, source, target);
            }
            if (value.equals(0))
                value = ImportValue::null();
            break;
        case ValueType::Check:
            value = combine(e.combination, added, read(targetField, e.type, QString()));
            break;
        default:
            break;
        }
        value.writeTo(targetField);
    } catch (const Exception &error) {
        return fail(findings,
                    u"Errore nel campo: "_s + from.name + u"\n\r"_s + entryText(e) + u"\n\r"_s + u"Errore: "_s
                        + error.message(),
                    FindingLevel::Warning);
    }
    return true;
}

} // namespace

TImportXML::TImportXML(FindingSink &findings)
    : m_findings(&findings)
{
}

TImportXML::~TImportXML() = default;

namespace {

std::size_t variableIndex(int slot)
{
    if (slot < 1 || slot > 5)
        throw EAssertionFailed(u"Variabile di importazione %1 inesistente (da 1 a 5)"_s.arg(slot));
    return static_cast<std::size_t>(slot - 1);
}

} // namespace

QVariant &TImportXML::Vars(int slot)
{
    return m_vars[variableIndex(slot)];
}

const QVariant &TImportXML::Vars(int slot) const
{
    return m_vars[variableIndex(slot)];
}

bool TImportXML::Load(const QString &fileName)
{
    const QFileInfo info(fileName);
    if (!info.isFile())
        return fail(*m_findings, u"File non presente o percorso errato:\n\r"_s + fileName);
    const QDateTime modified = info.lastModified();
    const qint64 size = info.size();
    if (!m_cache || m_cache->fileName != fileName || m_cache->modified != modified || m_cache->size != size) {
        auto cache = std::make_unique<Cache>();
        cache->fileName = fileName;
        cache->modified = modified;
        cache->size = size;
        try {
            cache->definitions = compile(LoadDataImport(fileName), fileName);
        } catch (const EImportDefinitionError &e) {
            cache->error = e.message();
        }
        m_cache = std::move(cache);
    }
    if (!m_cache->definitions)
        return fail(*m_findings, m_cache->error);
    return true;
}

QStringList TImportXML::SourceColumns(const QString &section) const
{
    QStringList columns;
    if (!m_cache || !m_cache->definitions)
        return columns;
    for (const Section &s : m_cache->definitions->sections.value(section.toUpper())) {
        for (const Entry &e : s) {
            const QString &name = (m_reverse ? e.toInSource : e.from).name;
            if (!name.isEmpty() && !columns.contains(name, Qt::CaseInsensitive))
                columns.append(name);
        }
    }
    return columns;
}

bool TImportXML::Execute(const QString &section, const QString &fileName, ClientDataSet &source, ClientDataSet &target)
{
    return Load(fileName) && ExecuteLoaded(section, source, target);
}

bool TImportXML::ExecuteLoaded(const QString &section, ClientDataSet &source, ClientDataSet &target)
{
    if (!m_cache || !m_cache->definitions)
        throw EAssertionFailed(u"Definizioni di importazione non caricate"_s);
    const auto it = m_cache->definitions->sections.constFind(section.toUpper());
    if (it == m_cache->definitions->sections.cend())
        return false;
    bool result = false;
    for (const Section &s : *it) {
        result = true;
        for (const Entry &e : s) {
            if (!runEntry(e, m_reverse, m_vars, source, target, *m_findings)) {
                result = false;
                break;
            }
        }
    }
    return result;
}
