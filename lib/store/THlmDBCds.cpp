#include "THlmDBCds.h"

#include "AtomicFolder.h"
#include "ClientDataSet.h"
#include "Conversions.h"
#include "Exceptions.h"
#include "ExportManifest.h"
#include "HlmReturnLock.h"
#include "HlmWaitWindow.h"
#include "NrConnection.h"
#include "NrGenerateID.h"
#include "NrPgArray.h"
#include "NrPgRows.h"
#include "NrQuery.h"
#include "NrTransaction.h"
#include "THlmDataSet.h"
#include "THlmQueryText.h"

#include <QAnyStringView>
#include <QDir>
#include <QFileInfo>
#include <QHash>
#include <QSet>
#include <QSqlRecord>

#include <algorithm>
#include <array>
#include <functional>
#include <map>
#include <memory>
#include <optional>
#include <utility>
#include <vector>

using namespace Qt::Literals::StringLiterals;

namespace {

const QString kSelect = u"SELECT"_s;
const QString kRecordField = u"IFISRIGO"_s;
const QString kPersonField = u"IAFIID"_s;
const QDate kZeroDate(1899, 12, 30);
const QString kNoConnection = u"Archivio delle tabelle: nessuna connessione al database"_s;

// Rows of value inserts collected before they go to SQLite, one by one
// through a statement kept prepared on the engine.
constexpr std::size_t kRowsPerInsert = 250;
// On PostgreSQL the rows go as one array per column, nine parameters
// whatever their number.
constexpr std::size_t kRowsPerArrayInsert = 5000;
// Records whose value rows one statement deletes: a table replaced whole
// would otherwise cost a round trip to the server per record.
constexpr std::size_t kRecordsPerDelete = 250;
// Records without a person named in the warning of a load.
constexpr qsizetype kOrphansNamed = 20;

// Whether a person row exists, as the open transaction has seen it: held
// under this key, 1 for a person it found or added, 0 for one it deleted.
QString personKey(qint64 person)
{
    return u"IAFIID/%1"_s.arg(person);
}

// Columns of a person row and their values, as a record gives them.
using PersonValues = std::vector<std::pair<QString, QVariant>>;

// A new person of a return instance, his row with the columns given.
qint64 insertPerson(TdmNrConnection &connection, qint64 instance, const PersonValues &columns = {})
{
    QString names;
    QString values;
    for (std::size_t i = 0; i < columns.size(); ++i) {
        names += u", "_s + columns[i].first;
        values += u", :P%1"_s.arg(i);
    }
    std::vector<std::pair<QString, QVariant>> named;
    for (std::size_t i = 0; i < columns.size(); ++i)
        named.emplace_back(u"P%1"_s.arg(i), columns[i].second);
    named.emplace_back(u"ICRFID"_s, instance);
    qint64 id = 0;
    if (connection.isPostgreSQL()) {
        // PostgreSQL moves the identifier on and adds the row in one
        // statement, sent with the writes and savepoints still due.
        const NrPgValue made = connection.queuedScalar(
            u"QRY_AFI_NUOVA/"_s + names,
            [&] {
                return THlmQueryText::format(connection.statementText(u"QRY_AFI_NUOVA"_s, kSelect), {names, values});
            },
            named);
        if (!made)
            throw EDatabaseError(u"Impossibile generare un identificativo per la tabella TAFI_ANAFISCALE"_s);
        id = made->toLongLong();
    } else {
        TNrQuery &q = connection.prepared(u"QRY_AFI_INSERISCI/"_s + names, [&](TNrQuery &made) {
            made.fetch(u"QRY_AFI_INSERISCI"_s);
            made.setSql(THlmQueryText::format(made.sql(), {names, values}));
        });
        for (const auto &[name, value] : named)
            q.setParam(name, value);
        id = GenerateID(connection, u"TAFI_ANAFISCALE"_s);
        q.setParam(u"IAFIID"_s, id);
        q.execute();
    }
    connection.holdValue(personKey(id), 1);
    return id;
}

// The next person identifier of the blocks the transaction took from the
// counter. The block is held like any value of the transaction: going back
// to a savepoint gives back the identifiers taken since, whose rows went
// with it, and a block taken inside it goes with the counter's move.
qint64 reservedPersonId(TdmNrConnection &connection)
{
    constexpr qint64 kBlock = 64;
    const QString nextKey = u"TAFI_ANAFISCALE/prossimo"_s;
    const QString lastKey = u"TAFI_ANAFISCALE/ultimo"_s;
    qint64 next = connection.heldValue(nextKey).value_or(1);
    qint64 last = connection.heldValue(lastKey).value_or(0);
    if (next > last) {
        const std::pair<QString, QVariant> values[] = {{u"SNRGTABELLA"_s, u"TAFI_ANAFISCALE"_s}, {u"QUANTI"_s, kBlock}};
        const NrPgValue given = connection.queuedScalar(
            u"QRY_NRG_RISERVA"_s, [&connection] { return connection.statementText(u"QRY_NRG_RISERVA"_s, kSelect); },
            values);
        if (!given)
            throw EDatabaseError(u"Impossibile generare un identificativo per la tabella TAFI_ANAFISCALE"_s);
        last = given->toLongLong();
        next = last - kBlock + 1;
        connection.holdValue(lastKey, last);
    }
    connection.holdValue(nextKey, next + 1);
    return next;
}

// A person row alone, his value rows left to the caller.
void deletePerson(TdmNrConnection &connection, qint64 person)
{
    connection.holdValue(personKey(person), 0);
    TNrQuery &q = connection.preparedStatement(u"QRY_AFI_CANCELLA"_s);
    q.setParam(u"IAFIID"_s, person);
    q.execute();
}

// The return instance of a program's period, added when missing.
qint64 findOrAddInstance(TdmNrConnection &connection, const QString &programCode, int year, int month)
{
    const QString program = programCode.toLower();
    const QVariant yearValue = year < 1 ? QVariant(QMetaType::fromType<int>()) : QVariant(year);
    const QVariant monthValue = month < 1 ? QVariant(QMetaType::fromType<int>()) : QVariant(month);
    if (connection.isPostgreSQL()) {
        TNrQuery &q = connection.preparedStatement(u"QRY_CRF_PROCEDURA"_s, kSelect);
        q.setParam(u"SPROGRAMMA"_s, program);
        q.setParam(u"IANNO"_s, yearValue);
        q.setParam(u"IMESE"_s, monthValue);
        const QVariant id = q.scalar();
        if (!id.isValid() || id.isNull())
            throw EDatabaseError(
                u"phlm_getcrofiscale non ha restituito l'istanza (%1, %2, %3)"_s.arg(program).arg(year).arg(month));
        return id.toLongLong();
    }
    // SQLite has no stored procedures: the same contract in code, inside the
    // caller's transaction (the immediate transaction holds the write lock).
    TNrTransaction own(connection);
    if (!connection.inTransaction())
        own.StartTransaction();
    TNrQuery &search = connection.preparedStatement(u"QRY_CRF_CERCA"_s, kSelect);
    search.setParam(u"SCRFPROGRAMMA"_s, program);
    search.setParam(u"ICRFANNO"_s, std::max(year, 0));
    search.setParam(u"ICRFMESE"_s, std::max(month, 0));
    QVariant id = search.scalar();
    if (!id.isValid()) {
        id = GenerateID(connection, u"TCRF_CROFISCALE"_s);
        TNrQuery q(connection);
        q.fetch(u"QRY_CRF_INSERISCI"_s);
        q.setParam(u"ICRFID"_s, id);
        q.setParam(u"ICRFANNO"_s, yearValue);
        q.setParam(u"ICRFMESE"_s, monthValue);
        q.setParam(u"SCRFPROGRAMMA"_s, program);
        q.execute();
    }
    if (own.active())
        own.Commit();
    return id.toLongLong();
}

// One entry of a field map: a column of TAFI_ANAFISCALE and the field that
// fills it, or the fields whose texts are joined into it ("A+B").
struct MapEntry
{
    QString column;
    QStringList fields;
    bool joined() const { return fields.size() > 1; }
};

QList<MapEntry> parseFieldMap(const QStringList &pairs)
{
    QList<MapEntry> entries;
    for (const QString &pair : pairs) {
        const qsizetype eq = pair.indexOf(u'=');
        if (eq <= 0)
            continue;
        MapEntry e{pair.left(eq).trimmed(), {}};
        for (const QString &f : pair.mid(eq + 1).split(u'+', Qt::SkipEmptyParts))
            e.fields.append(f.trimmed());
        if (!e.fields.isEmpty())
            entries.append(e);
    }
    return entries;
}

const MapEntry *findEntry(const QList<MapEntry> &entries, const QString &column)
{
    for (const MapEntry &e : entries) {
        if (e.column.compare(column, Qt::CaseInsensitive) == 0)
            return &e;
    }
    return nullptr;
}

// The value column of TFIS_DATIFISCALI that a field type selects.
// In the order of the value columns: SFISVALUE, IFISVALUE, FFISVALUE, DFISVALUE.
enum class ValueColumn { Text, Integer, Float, Date };

ValueColumn valueColumnOf(FieldType type)
{
    switch (type) {
    case FieldType::Integer:
    case FieldType::LargeInt:
        return ValueColumn::Integer;
    case FieldType::Float:
    case FieldType::Decimal:
        return ValueColumn::Float;
    case FieldType::Date:
    case FieldType::DateTime:
        return ValueColumn::Date;
    case FieldType::String:
    case FieldType::Memo:
    case FieldType::Boolean:
    case FieldType::Blob:
        break;
    }
    return ValueColumn::Text;
}

QString dateTimeText(const QDateTime &dt)
{
    return dt.toString(Qt::ISODateWithMs);
}

// A value in a form both drivers bind the same way: exact amounts as
// numbers, dates as ISO text, flags as 0/1.
QVariant bindable(const QVariant &value)
{
    if (!value.isValid())
        return value;
    if (value.metaType() == QMetaType::fromType<Decimal>())
        return value.value<Decimal>().toDouble();
    switch (value.metaType().id()) {
    case QMetaType::QDate:
        return value.toDate().toString(Qt::ISODate);
    case QMetaType::QDateTime:
        return dateTimeText(value.toDateTime());
    case QMetaType::Bool:
        return value.toBool() ? 1 : 0;
    default:
        return value;
    }
}

// The value to store for a field (as the field value rule gives it), or an
// invalid variant when it is empty and gets no row: empty text, zero, the
// zero date, a false flag.
QVariant storedValue(FieldType type, const QVariant &value)
{
    switch (type) {
    case FieldType::String:
    case FieldType::Memo: {
        const QString text = value.toString();
        return text.isEmpty() ? QVariant() : QVariant(text);
    }
    case FieldType::Integer:
    case FieldType::LargeInt: {
        const qlonglong n = value.toLongLong();
        return n == 0 ? QVariant() : QVariant(n);
    }
    case FieldType::Decimal: {
        // Amounts live in a column of binary numbers: one that would not
        // come back whole is refused by the writer before it gets here.
        const Decimal d = value.value<Decimal>();
        return d.isZero() ? QVariant() : QVariant(*d.toDoubleExact());
    }
    case FieldType::Float: {
        const double f = value.toDouble();
        return f == 0.0 ? QVariant() : QVariant(f);
    }
    case FieldType::Date: {
        const QDate d = value.toDate();
        return !d.isValid() || d == kZeroDate ? QVariant() : QVariant(d.toString(Qt::ISODate));
    }
    case FieldType::DateTime: {
        const QDateTime dt = value.toDateTime();
        return !dt.isValid() || dt == QDateTime(kZeroDate, QTime(0, 0)) ? QVariant() : QVariant(dateTimeText(dt));
    }
    case FieldType::Boolean:
        return value.toBool() ? QVariant(Conv::boolToText(true)) : QVariant();
    case FieldType::Blob: {
        const QByteArray bytes = value.toByteArray();
        return bytes.isEmpty() ? QVariant() : QVariant(QString::fromUtf8(bytes));
    }
    }
    return QVariant();
}

// The column of a value row (SELECT of QRY_FIS_CARICA) that holds a field's value.
int valueColumnAt(const Field &field)
{
    return 3 + static_cast<int>(valueColumnOf(field.dataType()));
}

// Sets a field from the value, not null, of the column its type selects.
void setFromValue(Field &field, const QVariant &v)
{
    switch (valueColumnOf(field.dataType())) {
    case ValueColumn::Text:
        field.setAsString(v.toString());
        return;
    case ValueColumn::Integer:
        field.setAsInteger(v.toLongLong());
        return;
    case ValueColumn::Float:
        field.setAsFloat(v.toDouble());
        return;
    case ValueColumn::Date:
        if (field.dataType() == FieldType::Date)
            field.setAsDate(NrSqlValue::toDate(v));
        else
            field.setAsDateTime(NrSqlValue::toDateTime(v));
        return;
    }
}

// A PostgreSQL array literal, bound as one text parameter: the server reads
// a thousand values of it faster than a thousand parameters.
class ArrayLiteral
{
public:
    void add(const QVariant &value)
    {
        m_text += m_text.isEmpty() ? u'{' : u',';
        if (value.isNull()) {
            m_text += u"NULL"_s;
            return;
        }
        switch (value.metaType().id()) {
        case QMetaType::Int:
        case QMetaType::LongLong:
            m_text += QString::number(value.toLongLong());
            return;
        case QMetaType::Double:
            m_text += QString::number(value.toDouble(), 'g', QLocale::FloatingPointShortest);
            return;
        default:
            break;
        }
        // Inside quotes only the quote and the backslash are special.
        m_text += u'"';
        const QString text = value.toString();
        for (const QChar c : text) {
            if (c == u'"' || c == u'\\')
                m_text += u'\\';
            m_text += c;
        }
        m_text += u'"';
    }
    QString text() const { return m_text.isEmpty() ? u"{}"_s : m_text + u'}'; }

private:
    QString m_text;
};

// An array for a statement on PostgreSQL: in binary, which the server reads
// far faster than text, when every value takes the element's binary form;
// else, or without an element, in text, where the server judges them.
QVariant arrayValue(std::optional<NrPgArray::Element> element, const std::vector<QVariant> &values)
{
    if (element) {
        NrPgArray binary(*element);
        if (std::all_of(values.cbegin(), values.cend(), [&binary](const QVariant &v) { return binary.add(v); }))
            return QVariant::fromValue(binary.binary());
    }
    ArrayLiteral text;
    for (const QVariant &v : values)
        text.add(v);
    return text.text();
}

// A named SELECT of the connection for PostgreSQL's client library.
NrPgStatement serverStatement(TdmNrConnection &connection, const QString &name)
{
    TNrQuery q(connection);
    q.fetch(name, 0, kSelect);
    return NrPgStatement(q.sql());
}

// The value rows a load reads, in record order, with the columns of
// QRY_FIS_CARICA, each column read only as it is asked for: on SQLite on
// the engine, on PostgreSQL on its client library in binary.
class ValueRows
{
public:
    ValueRows(TdmNrConnection &connection, const std::vector<std::pair<QString, QVariant>> &params)
    {
        if (connection.isPostgreSQL()) {
            m_rows = &m_server.emplace(connection, serverStatement(connection, u"QRY_FIS_CARICA_VALORI"_s), params);
            return;
        }
        m_engine = &connection.sqliteStatement(u"QRY_FIS_CARICA"_s, kSelect);
        m_engine->open(params);
        m_rows = m_engine;
    }
    ~ValueRows()
    {
        if (m_engine)
            m_engine->close();
    }
    ValueRows(const ValueRows &) = delete;
    ValueRows &operator=(const ValueRows &) = delete;

    bool next() { return m_rows->next(); }
    qint64 record() const { return m_rows->integer(0); }
    QVariant person() const { return m_rows->value(1); }
    // SQLite: whether the person of the row has his row.
    bool personPresent() const { return !m_rows->isNull(7); }
    bool nameIs(const QString &name) const { return QAnyStringView::equal(m_rows->text(kName), name); }
    QString name() const
    {
        const QUtf8StringView text = m_rows->text(kName);
        return QString::fromUtf8(text.data(), text.size());
    }
    QVariant value(int column) const { return m_rows->value(column); }
    // PostgreSQL: the people the rows name, each once; the rows are then
    // walked from the first.
    std::vector<qint64> persons()
    {
        std::vector<qint64> ids;
        QSet<qint64> seen;
        while (m_server->next()) {
            if (!m_server->isNull(1) && !seen.contains(m_server->integer(1))) {
                seen.insert(m_server->integer(1));
                ids.push_back(m_server->integer(1));
            }
        }
        m_server->rewind();
        return ids;
    }

private:
    static constexpr int kName = 2;
    NrSqliteStatement *m_engine = nullptr;
    std::optional<NrPgRows> m_server;
    NrRows *m_rows = nullptr;
};

// The person columns a load copies into mapped fields, by person, and
// whether a value row's person has his row: on PostgreSQL the rows of all
// the people the value rows name, read at once; on SQLite each person's,
// read on the engine when his first record comes, so that the table's value
// rows are not walked once more to find who they belong to, and the value
// row itself tells whether he has one.
class PersonColumns
{
public:
    // present() is asked for only with presence.
    PersonColumns(TdmNrConnection &connection, const QStringList &columns, bool presence, ValueRows &rows)
        : m_valueRows(rows)
    {
        if (!connection.isPostgreSQL()) {
            if (columns.isEmpty())
                return;
            m_engine = &connection.sqliteStatement(u"QRY_AFI_LEGGI"_s, kSelect);
            for (const QString &c : columns)
                m_at.push_back(m_engine->column(c));
            return;
        }
        m_server = true;
        if (columns.isEmpty() && !presence)
            return;
        const std::vector<qint64> ids = rows.persons();
        if (ids.empty())
            return;
        ArrayLiteral list;
        for (const qint64 id : ids)
            list.add(id);
        const std::pair<QString, QVariant> named{kPersonField, list.text()};
        NrPgRows found(connection, serverStatement(connection, u"QRY_AFI_CARICA"_s), {&named, 1});
        std::vector<int> at;
        for (const QString &c : columns)
            at.push_back(found.column(c));
        const int idAt = found.column(kPersonField);
        while (found.next()) {
            QVariantList values;
            for (const int i : at)
                values.append(i >= 0 ? found.value(i) : QVariant());
            m_persons.insert(found.integer(idAt), values);
        }
    }

    // Whether the person of the current value row has his row.
    bool present() const
    {
        if (!m_server)
            return m_valueRows.personPresent();
        const QVariant person = m_valueRows.person();
        return !person.isNull() && m_persons.contains(person.toLongLong());
    }

    // The person's values, in the order of the columns; null when there are
    // none to copy or he has no row.
    const QVariantList *find(qint64 person)
    {
        auto it = m_persons.constFind(person);
        if (it == m_persons.constEnd()) {
            if (!m_engine)
                return nullptr;
            it = m_persons.insert(person, read(person));
        }
        return it->isEmpty() ? nullptr : &*it;
    }

private:
    QVariantList read(qint64 person)
    {
        const std::pair<QString, QVariant> id{kPersonField, person};
        m_engine->open({&id, 1});
        QVariantList values;
        if (m_engine->next()) {
            values.reserve(static_cast<qsizetype>(m_at.size()));
            for (const int i : m_at)
                values.append(i >= 0 ? m_engine->value(i) : QVariant());
        }
        m_engine->close();
        return values;
    }

    const ValueRows &m_valueRows;
    bool m_server = false;
    QHash<qint64, QVariantList> m_persons;
    NrSqliteStatement *m_engine = nullptr;
    std::vector<int> m_at;
};

// Restores a dataset's handlers, controls and the wait window whatever way
// the load ends.
class LoadGuard
{
public:
    LoadGuard(ClientDataSet &dataSet, HlmWaitWindow *wait)
        : m_dataSet(dataSet)
        , m_wait(wait)
    {
        m_dataSet.disableControls();
        if (m_wait)
            m_wait->showWait(u"Attendere..."_s, u"Caricamento in corso...attendere."_s);
        m_events = m_dataSet.takeEvents();
    }
    ~LoadGuard()
    {
        if (m_dataSet.state() == DataSetState::Insert)
            m_dataSet.cancel();
        m_dataSet.setEvents(std::move(m_events));
        m_dataSet.enableControls();
        if (m_wait)
            m_wait->hideWait();
    }
    LoadGuard(const LoadGuard &) = delete;
    LoadGuard &operator=(const LoadGuard &) = delete;

private:
    ClientDataSet &m_dataSet;
    HlmWaitWindow *m_wait;
    DataSetEvents m_events;
};

// The value rows of one save and the records whose rows it deletes, sent in
// few statements whatever the table: the deletes always go before the
// inserts, so that a record written again keeps only its new rows.
class ValueBatch
{
public:
    struct Row
    {
        qint64 structure;
        qint64 instance;
        QVariant person;
        qint64 record;
        QString field;
        ValueColumn column;
        QVariant value;

        // In the order of the columns of both insert statements: the value
        // goes in the column of its type, the other three stay empty.
        std::array<QVariant, 9> values() const
        {
            std::array<QVariant, 9> all{structure, instance, person, record, field};
            all[5 + static_cast<std::size_t>(column)] = value;
            return all;
        }
    };

    explicit ValueBatch(TdmNrConnection &connection)
        : m_connection(connection)
    {
    }

    // With the person, for a registry record: his row goes with the record's.
    void deleteRecord(qint64 structure, qint64 record, qint64 person = 0);
    // Only the row of one field of a record.
    void deleteValue(qint64 structure, qint64 record, const QString &field);
    void add(Row row);
    // Sends the deletes collected so far.
    void sendDeletes();
    // Sends what is still collected.
    void finish();

private:
    void sendValues(bool all);
    void sendValueArrays();
    // PostgreSQL: queued, with the persons' rows, in arrays.
    void queueDeleteArrays();
    // SQLite: run at once, one condition per structure.
    void runDeleteConditions();

    TdmNrConnection &m_connection;
    struct Value
    {
        qint64 structure;
        qint64 record;
        QString field;
    };
    std::vector<std::pair<qint64, std::vector<qint64>>> m_deleted; // records by structure
    std::vector<Value> m_deletedValues;
    std::vector<qint64> m_deletedPersons;
    std::size_t m_deletedCount = 0;
    std::vector<Row> m_rows;
};

void ValueBatch::deleteRecord(qint64 structure, qint64 record, qint64 person)
{
    if (person != 0) {
        m_connection.holdValue(personKey(person), 0);
        m_deletedPersons.push_back(person);
    }
    auto it = std::find_if(m_deleted.begin(), m_deleted.end(),
                           [structure](const auto &records) { return records.first == structure; });
    if (it == m_deleted.end())
        it = m_deleted.insert(m_deleted.end(), {structure, {}});
    it->second.push_back(record);
    if (++m_deletedCount == kRecordsPerDelete)
        sendDeletes();
}

void ValueBatch::deleteValue(qint64 structure, qint64 record, const QString &field)
{
    m_deletedValues.push_back({structure, record, field});
    if (++m_deletedCount == kRecordsPerDelete)
        sendDeletes();
}

void ValueBatch::add(Row row)
{
    m_rows.push_back(std::move(row));
    sendValues(false);
}

void ValueBatch::finish()
{
    sendDeletes();
    sendValues(true);
    // On PostgreSQL the save's writes go out together, and a failure among
    // them is the save's.
    if (m_connection.isPostgreSQL())
        m_connection.sendQueuedLater();
}

void ValueBatch::sendValues(bool all)
{
    if (m_connection.isPostgreSQL()) {
        if (all || m_rows.size() >= kRowsPerArrayInsert)
            sendValueArrays();
        return;
    }
    if (m_rows.empty() || (!all && m_rows.size() < kRowsPerInsert))
        return;
    sendDeletes();
    // The stored statement names the columns; its VALUES list gets one
    // tuple of placeholders, which fills the value column of the row's type
    // and leaves the other three empty: rows of every type go through it.
    NrSqliteStatement &insert = m_connection.sqliteStatement(u"QRY_FIS_INSERISCI"_s, [this] {
        TNrQuery made(m_connection);
        made.fetch(u"QRY_FIS_INSERISCI"_s);
        return THlmQueryText::format(made.sql(), {u"(?, ?, ?, ?, ?, ?, ?, ?, ?)"_s});
    });
    for (const Row &row : m_rows)
        insert.execute(row.values());
    m_rows.clear();
}

void ValueBatch::sendValueArrays()
{
    if (m_rows.empty())
        return;
    sendDeletes();
    // The times go in text, the form the store keeps them in.
    using Element = NrPgArray::Element;
    static const std::array<std::optional<Element>, 9> elements{
        Element::Int4, Element::Int4, Element::Int4,   Element::Int4,           Element::VarChar,
        Element::Text, Element::Int8, Element::Float8, std::optional<Element>()};
    static const std::array<QString, 9> names{u"ICDSID"_s,    u"ICRFID"_s,        u"IAFIID"_s,
                                              u"IFISRIGO"_s,  u"SFISFIELDNAME"_s, u"SFISVALUE"_s,
                                              u"IFISVALUE"_s, u"FFISVALUE"_s,     u"DFISVALUE"_s};
    std::array<std::vector<QVariant>, 9> columns;
    for (std::vector<QVariant> &column : columns)
        column.reserve(m_rows.size());
    for (const Row &row : m_rows) {
        const std::array<QVariant, 9> values = row.values();
        for (std::size_t i = 0; i < values.size(); ++i)
            columns[i].push_back(values[i]);
    }
    std::array<std::pair<QString, QVariant>, 9> named;
    for (std::size_t i = 0; i < names.size(); ++i)
        named[i] = {names[i], arrayValue(elements[i], columns[i])};
    m_connection.queueStatement(
        u"QRY_FIS_INSERISCI_ELENCHI"_s, [this] { return m_connection.statementText(u"QRY_FIS_INSERISCI_ELENCHI"_s); },
        named);
    m_rows.clear();
}

void ValueBatch::sendDeletes()
{
    if (m_deletedCount == 0)
        return;
    if (m_connection.isPostgreSQL())
        queueDeleteArrays();
    else
        runDeleteConditions();
    m_deleted.clear();
    m_deletedValues.clear();
    m_deletedPersons.clear();
    m_deletedCount = 0;
}

void ValueBatch::queueDeleteArrays()
{
    std::vector<QVariant> persons(m_deletedPersons.cbegin(), m_deletedPersons.cend());
    std::vector<QVariant> structures;
    std::vector<QVariant> records;
    std::vector<QVariant> fields;
    for (const auto &[structure, list] : m_deleted) {
        for (const qint64 record : list) {
            structures.emplace_back(structure);
            records.emplace_back(record);
            fields.emplace_back();
        }
    }
    for (const Value &value : m_deletedValues) {
        structures.emplace_back(value.structure);
        records.emplace_back(value.record);
        fields.emplace_back(value.field);
    }
    using Element = NrPgArray::Element;
    const std::array<std::pair<QString, QVariant>, 4> named{{{u"PERSONE"_s, arrayValue(Element::Int4, persons)},
                                                             {u"STRUTTURE"_s, arrayValue(Element::Int4, structures)},
                                                             {u"RECORD"_s, arrayValue(Element::Int4, records)},
                                                             {u"CAMPI"_s, arrayValue(Element::VarChar, fields)}}};
    m_connection.queueStatement(
        u"QRY_AFI_FIS_CANCELLA"_s, [this] { return m_connection.statementText(u"QRY_AFI_FIS_CANCELLA"_s); }, named);
}

void ValueBatch::runDeleteConditions()
{
    // The persons' rows go first, one by one.
    for (const qint64 person : m_deletedPersons)
        deletePerson(m_connection, person);
    // The stored statement gets one condition per structure, with one
    // placeholder per record, and one per field row; the statement is kept
    // by that shape.
    QStringList shape;
    QStringList conditions;
    QVariantList values;
    for (const auto &[structure, records] : m_deleted) {
        shape.append(QString::number(records.size()));
        conditions.append(u"(ICDSID = ? AND IFISRIGO IN (%1))"_s.arg(
            QStringList(static_cast<qsizetype>(records.size()), u"?"_s).join(u", "_s)));
        values.append(structure);
        for (const qint64 record : records)
            values.append(record);
    }
    shape.append(u"v%1"_s.arg(m_deletedValues.size()));
    for (const Value &value : m_deletedValues) {
        conditions.append(u"(ICDSID = ? AND IFISRIGO = ? AND SFISFIELDNAME = ?)"_s);
        values.append(value.structure);
        values.append(value.record);
        values.append(value.field);
    }
    TNrQuery &q = m_connection.prepared(u"QRY_FIS_CANCELLA/"_s + shape.join(u','), [&conditions](TNrQuery &made) {
        made.fetch(u"QRY_FIS_CANCELLA"_s);
        made.setSql(THlmQueryText::format(made.sql(), {conditions.join(u" OR "_s)}));
    });
    for (const QVariant &v : std::as_const(values))
        q.addValue(v);
    q.execute();
}

// Writes the change records of one save: deletes the value rows of changed
// and deleted records, gives new records their numbers and persons, and
// collects the value rows, sent in multi-row inserts.
class RecordWriter
{
public:
    RecordWriter(TdmNrConnection &connection, ValueBatch &batch, const QString &table, qint64 structureId,
                 qint64 &lastRecord, bool registry, bool fieldMapReadOnly, const QStringList &fieldMap,
                 const QString &program, int year, int month, QHash<QString, QString> &personColumns)
        : m_connection(connection)
        , m_batch(batch)
        , m_table(table)
        , m_structureId(structureId)
        , m_lastRecord(lastRecord)
        , m_registry(registry)
        , m_fieldMapReadOnly(fieldMapReadOnly)
        , m_map(parseFieldMap(fieldMap))
        , m_program(program)
        , m_year(year)
        , m_month(month)
        , m_personColumns(personColumns)
    {
    }

    void write(DeltaRecord &delta);

private:
    qint64 instance();
    QString mapText(const DeltaRecord &delta, const MapEntry &entry) const;
    qint64 findPerson(const DeltaRecord &delta);
    // A record is written only for a person who exists.
    void requirePerson(qint64 person, qint64 record);
    // Which fields get value rows, from the first record written.
    void findStoredFields(const DeltaRecord &delta, int recordField, int personField);
    bool hasStoredValue(const DeltaRecord &delta) const;
    // Whether a changed record leaves every field of the person row as it was.
    bool personColumnsKept(const DeltaRecord &delta) const;
    // The person row's columns that the record sets, with their values.
    PersonValues personValues(const DeltaRecord &delta);
    void updatePerson(const PersonValues &columns, qint64 person);

    TdmNrConnection &m_connection;
    ValueBatch &m_batch;
    QString m_table;
    qint64 m_structureId;
    qint64 &m_lastRecord;
    bool m_registry;
    bool m_fieldMapReadOnly;
    QList<MapEntry> m_map;
    QString m_program;
    int m_year;
    int m_month;
    qint64 m_instance = 0;

    std::vector<bool> m_stored;               // by field: whether it gets value rows
    QHash<QString, QString> &m_personColumns; // lower case -> as the database names it
};

qint64 RecordWriter::instance()
{
    if (m_instance == 0)
        m_instance = THlmDBCds::returnInstance(m_connection, m_program, m_year, m_month);
    return m_instance;
}

QString RecordWriter::mapText(const DeltaRecord &delta, const MapEntry &entry) const
{
    QString text;
    for (const QString &f : entry.fields) {
        const int i = delta.indexOf(f);
        if (i >= 0)
            text += Conv::toText(THlmDataSet::fieldValue(delta, i));
    }
    return text;
}

qint64 RecordWriter::findPerson(const DeltaRecord &delta)
{
    // A person this save deletes is not to be found again.
    m_batch.sendDeletes();
    const MapEntry *code = findEntry(m_map, u"saficodfiscale"_s);
    const MapEntry *group = findEntry(m_map, u"safigruppoana"_s);
    TNrQuery &q = m_connection.preparedStatement(u"QRY_AFI_CERCA"_s, kSelect);
    q.setParam(u"ICRFID"_s, instance());
    q.setParam(u"SAFICODFISCALE"_s, code ? mapText(delta, *code) : u""_s);
    q.setParam(u"SAFIGRUPPOANA"_s, group ? mapText(delta, *group) : u""_s);
    const QVariant found = q.scalar();
    if (!found.isValid())
        return 0;
    m_connection.holdValue(personKey(found.toLongLong()), 1);
    return found.toLongLong();
}

void RecordWriter::requirePerson(qint64 person, qint64 record)
{
    std::optional<qint64> present = m_connection.heldValue(personKey(person));
    if (!present) {
        TNrQuery &q = m_connection.preparedStatement(u"QRY_AFI_ESISTE"_s, kSelect);
        q.setParam(kPersonField, person);
        present = q.scalar().isValid() ? 1 : 0;
        m_connection.holdValue(personKey(person), *present);
    }
    if (*present == 0) {
        throw EDatabaseError(u"Tabella %1, record %2: la persona %3 (IAFIID) del record non esiste nell'archivio; il "
                             "record non è stato salvato."_s.arg(m_table)
                                 .arg(record)
                                 .arg(person));
    }
}

bool RecordWriter::personColumnsKept(const DeltaRecord &delta) const
{
    return std::none_of(m_map.cbegin(), m_map.cend(), [&delta](const MapEntry &e) {
        return std::any_of(e.fields.cbegin(), e.fields.cend(), [&delta](const QString &f) {
            const int i = delta.indexOf(f);
            return i >= 0 && delta.isAssigned(i);
        });
    });
}

PersonValues RecordWriter::personValues(const DeltaRecord &delta)
{
    if (m_personColumns.isEmpty()) {
        NrServerRoundTrip roundTrip(m_connection);
        m_connection.beforeStatement();
        const QSqlRecord columns =
            m_connection.database().record(m_connection.isPostgreSQL() ? u"tafi_anafiscale"_s : u"TAFI_ANAFISCALE"_s);
        for (int i = 0; i < columns.count(); ++i)
            m_personColumns.insert(columns.fieldName(i).toLower(), columns.fieldName(i));
    }
    PersonValues written;
    for (const MapEntry &e : m_map) {
        QVariant value;
        if (e.joined()) {
            value = mapText(delta, e);
        } else {
            const int i = delta.indexOf(e.fields.first());
            if (i < 0 || !delta.isAssigned(i))
                continue;
            value = bindable(THlmDataSet::fieldValue(delta, i));
        }
        // Column names come from the database's own list, never from the map's text.
        const QString column = m_personColumns.value(e.column.toLower());
        if (column.isEmpty())
            throw EDatabaseError(
                u"La colonna «%1» della mappa dei campi non esiste in TAFI_ANAFISCALE"_s.arg(e.column));
        written.emplace_back(column, value);
    }
    return written;
}

void RecordWriter::updatePerson(const PersonValues &columns, qint64 person)
{
    if (columns.empty())
        return;
    QStringList assignments;
    for (std::size_t i = 0; i < columns.size(); ++i)
        assignments.append(u"%1 = :P%2"_s.arg(columns[i].first).arg(i));
    const QString set = assignments.join(u", "_s);
    std::vector<std::pair<QString, QVariant>> named;
    for (std::size_t i = 0; i < columns.size(); ++i)
        named.emplace_back(u"P%1"_s.arg(i), columns[i].second);
    named.emplace_back(u"IAFIID"_s, person);
    const QString key = u"QRY_AFI_AGGIORNA/"_s + set;
    const auto text = [this, &set] {
        return THlmQueryText::format(m_connection.statementText(u"QRY_AFI_AGGIORNA"_s), {set});
    };
    if (m_connection.isPostgreSQL()) {
        m_connection.queueStatement(key, text, named);
        return;
    }
    TNrQuery &q = m_connection.prepared(key, [&text](TNrQuery &made) { made.setSql(text()); });
    for (const auto &[name, value] : named)
        q.setParam(name, value);
    q.execute();
}

void RecordWriter::findStoredFields(const DeltaRecord &delta, int recordField, int personField)
{
    if (!m_stored.empty())
        return;
    // The keys and the fields kept in the person row get no value rows;
    // fields joined into a person column do, since the join cannot be undone.
    const ClientDataSet &ds = delta.dataSet();
    for (int i = 0; i < delta.fieldCount(); ++i) {
        const QString &name = ds.field(i).fieldName();
        const bool mapped = std::any_of(m_map.cbegin(), m_map.cend(), [&name](const MapEntry &e) {
            return !e.joined() && e.fields.first().compare(name, Qt::CaseInsensitive) == 0;
        });
        m_stored.push_back(i != recordField && i != personField && !mapped);
    }
}

bool RecordWriter::hasStoredValue(const DeltaRecord &delta) const
{
    for (int i = 0; i < delta.fieldCount(); ++i) {
        if (m_stored[static_cast<std::size_t>(i)]
            && storedValue(delta.dataSet().field(i).dataType(), THlmDataSet::fieldValue(delta, i)).isValid())
            return true;
    }
    return false;
}

void RecordWriter::write(DeltaRecord &delta)
{
    const int recordField = delta.indexOf(kRecordField);
    const int personField = delta.indexOf(kPersonField);
    qint64 record = recordField >= 0 ? THlmDataSet::fieldValue(delta, recordField).toLongLong() : 0;
    findStoredFields(delta, recordField, personField);
    // A changed record that keeps its person and some value has only the
    // rows of its changed fields written again; the others stay.
    const bool fieldByField =
        delta.kind() == UpdateKind::Modify && record != 0
        && (personField < 0
            || (!delta.isAssigned(personField) && THlmDataSet::fieldValue(delta, personField).toLongLong() != 0))
        && hasStoredValue(delta);

    if (delta.kind() != UpdateKind::Insert) {
        // A registry record deleted takes its person with it.
        const qint64 person = delta.kind() == UpdateKind::Delete && m_registry && personField >= 0
                                  ? THlmDataSet::fieldValue(delta, personField).toLongLong()
                                  : 0;
        if (record != 0 && !fieldByField)
            m_batch.deleteRecord(m_structureId, record, person);
        else if (person != 0)
            deletePerson(m_connection, person); // a record never numbered has no rows to go with
        if (delta.kind() == UpdateKind::Delete)
            return;
    }
    if (record == 0)
        record = ++m_lastRecord;
    // The person and the value rows belong to the return instance.
    instance();

    QVariant person;
    if (personField >= 0) {
        qint64 a = THlmDataSet::fieldValue(delta, personField).toLongLong();
        if (a != 0)
            requirePerson(a, record);
        if (a == 0 && !m_registry)
            a = findPerson(delta);
        const bool writesColumns = !m_fieldMapReadOnly && !m_map.isEmpty();
        if (a == 0) {
            // A new person's row is added with its columns.
            a = insertPerson(m_connection, m_instance, writesColumns ? personValues(delta) : PersonValues{});
        } else if (writesColumns
                   && !(delta.kind() == UpdateKind::Modify && delta.oldValue(personField).toLongLong() == a
                        && personColumnsKept(delta))) {
            updatePerson(personValues(delta), a);
        }
        delta.setValue(personField, a);
        person = a;
    }
    if (recordField >= 0)
        delta.setValue(recordField, record);

    const ClientDataSet &ds = delta.dataSet();
    bool stored = false;
    for (int i = 0; i < delta.fieldCount(); ++i) {
        if (!m_stored[static_cast<std::size_t>(i)])
            continue;
        const Field &f = ds.field(i);
        if (fieldByField) {
            if (!delta.isAssigned(i))
                continue;
            m_batch.deleteValue(m_structureId, record, f.fieldName());
        }
        const QVariant given = THlmDataSet::fieldValue(delta, i);
        if (f.dataType() == FieldType::Decimal && given.isValid() && !given.value<Decimal>().toDoubleExact()) {
            throw EDatabaseError(
                u"Tabella %1, record %2, campo %3: l'importo %4 ha troppe cifre per essere conservato "
                "esatto nel database (al massimo 15 cifre tra intere e decimali); non è stato salvato."_s.arg(m_table)
                    .arg(record)
                    .arg(f.fieldName(), given.value<Decimal>().toString()));
        }
        const QVariant value = storedValue(f.dataType(), given);
        if (!value.isValid())
            continue;
        m_batch.add({m_structureId, m_instance, person, record, f.fieldName(), valueColumnOf(f.dataType()), value});
        stored = true;
    }
    // A person whose values all live in the person row (a registry record
    // with only its name and fiscal code) would otherwise leave no row to be
    // read back by: it keeps one row with its person id.
    if (!stored && !fieldByField && person.isValid()) {
        m_batch.add({m_structureId, m_instance, person, record, ds.field(personField).fieldName(),
                     valueColumnOf(ds.field(personField).dataType()), person});
    }
}

} // namespace

THlmDBCds::THlmDBCds(int year, const QString &programCode, int month)
    : m_year(year)
    , m_program(programCode)
    , m_month(month)
{
}

TdmNrConnection &THlmDBCds::requireConnection() const
{
    if (!m_connection || !m_connection->connected())
        throw EDatabaseError(kNoConnection);
    return *m_connection;
}

THlmDBCds::Structure THlmDBCds::findStructure(const QString &table, int year, int month, ClientDataSet *dataSet)
{
    TdmNrConnection &connection = requireConnection();
    if (m_structuresEpoch != connection.cacheEpoch()) {
        m_structures.clear();
        m_personColumns.clear();
        m_structuresEpoch = connection.cacheEpoch();
    }
    const QString key = u"%1|%2|%3|%4"_s.arg(m_program.toLower(), table.toLower()).arg(year).arg(month);
    auto it = m_structures.constFind(key);
    if (it == m_structures.constEnd()) {
        TNrQuery &q = connection.preparedStatement(u"QRY_CDS_STRUTTURA"_s, kSelect);
        q.setParam(u"SCDSPROGRAMMA"_s, m_program);
        q.setParam(u"SCDSNOME"_s, table);
        q.setParam(u"ICDSANNO"_s, year);
        q.setParam(u"ICDSMESE"_s, month);
        q.open();
        if (!q.next()) {
            q.close();
            throw EDatabaseError(u"Impossibile trovare il ClientDataSet (%1)."_s.arg(table));
        }
        Structure s;
        s.id = q.value(u"ICDSID"_s).toLongLong();
        s.lastRecord = q.value(u"ICDSRIGO"_s).toLongLong();
        s.registry = q.value(u"LCDSANAGRAFICA"_s).toInt() == 1;
        s.fieldMapReadOnly = q.value(u"LCDSFMAPREADONLY"_s).toInt() == 1;
        s.fieldMap = q.value(u"SCDSFIELDMAP"_s).toString().split(u';', Qt::SkipEmptyParts);
        s.schema = q.value(u"BCDSSCHEMA"_s).toByteArray();
        q.close();
        it = m_structures.insert(key, s);
    }
    if (dataSet) {
        dataSet->close();
        dataSet->setIndexFieldNames(QString());
        dataSet->loadFromBytes(it->schema, table);
    }
    return *it;
}

void THlmDBCds::open(ClientDataSet &dataSet, const QString &table)
{
    load(dataSet, table, -1, m_month, m_year);
}

void THlmDBCds::openFor(ClientDataSet &dataSet, const QString &table, int month, int year)
{
    load(dataSet, table, -1, month, year);
}

void THlmDBCds::openForPerson(ClientDataSet &dataSet, const QString &table, int person, int month, int year)
{
    load(dataSet, table, person, month, year);
}

void THlmDBCds::load(ClientDataSet &dataSet, const QString &table, int person, int month, int year)
{
    TdmNrConnection &connection = requireConnection();
    auto guard = std::make_unique<LoadGuard>(dataSet, m_showWait ? m_waitWindow : nullptr);
    dataSet.close();
    const Structure s = findStructure(table, year, month, &dataSet);

    const std::vector<std::pair<QString, QVariant>> period{{u"ICDSID"_s, s.id},
                                                           {u"SCRFPROGRAMMA"_s, m_program.toLower()},
                                                           {u"ICRFANNO"_s, year},
                                                           {u"ICRFMESE"_s, month},
                                                           {u"IAFIID"_s, person}};

    // Person columns copied into mapped fields, by person.
    struct Copy
    {
        QString column;
        int field;
    };
    std::vector<Copy> copies;
    for (const MapEntry &e : parseFieldMap(s.fieldMap)) {
        if (e.joined())
            continue;
        if (const Field *f = dataSet.findField(e.fields.first()))
            copies.push_back({e.column, f->index()});
    }
    QStringList copied;
    for (const Copy &c : copies)
        copied.append(c.column);

    // Texts the database holds longer than their fields: the field keeps
    // what fits and the user is told what was cut.
    QStringList cut;
    auto noteLength = [&](const Field &field, const QVariant &value, qint64 record) {
        if (field.dataType() != FieldType::String || field.size() <= 0)
            return;
        const QString text = value.toString();
        if (text.size() > field.size())
            cut.append(u" - record %1, campo %2 (%3 caratteri): «%4»"_s.arg(record)
                           .arg(field.fieldName())
                           .arg(field.size())
                           .arg(text));
    };
    Field *recordField = dataSet.findField(kRecordField);
    Field *personField = dataSet.findField(kPersonField);
    // Records of a table with people whose person is missing: left by a
    // writer that lost his person; they are shown, and the user is told.
    QList<qint64> orphans;
    // Field names as the rows spell them, found once without regard to case.
    QHash<QString, Field *> fields;
    // The records list their fields in the same order: a value row's name is
    // first compared with the one at its place in the record before.
    std::vector<std::pair<QString, Field *>> byPlace;
    std::size_t place = 0;
    {
        ValueRows rows(connection, period);
        PersonColumns persons(connection, copied, personField != nullptr, rows);
        bool inRecord = false;
        qint64 current = 0;
        while (rows.next()) {
            const qint64 record = rows.record();
            if (!inRecord || record != current) {
                if (inRecord)
                    dataSet.post();
                dataSet.append();
                inRecord = true;
                current = record;
                place = 0;
                const QVariant personValue = rows.person();
                if (personField && !persons.present())
                    orphans.append(record);
                if (recordField)
                    recordField->setValue(record);
                if (personField && !personValue.isNull())
                    personField->setValue(personValue.toLongLong());
                if (!personValue.isNull()) {
                    if (const QVariantList *values = persons.find(personValue.toLongLong())) {
                        for (std::size_t c = 0; c < copies.size(); ++c) {
                            const QVariant &v = values->at(static_cast<qsizetype>(c));
                            if (v.isNull())
                                continue;
                            noteLength(dataSet.field(copies[c].field), v, record);
                            dataSet.field(copies[c].field).setValue(v);
                        }
                    }
                }
            }
            if (place == byPlace.size() || !rows.nameIs(byPlace[place].first)) {
                const QString name = rows.name();
                auto it = fields.constFind(name);
                if (it == fields.constEnd())
                    it = fields.insert(name, dataSet.findField(name));
                if (place == byPlace.size())
                    byPlace.emplace_back();
                byPlace[place] = {name, it.value()};
            }
            Field *field = byPlace[place++].second;
            if (!field || field == recordField || field == personField)
                continue;
            const QVariant value = rows.value(valueColumnAt(*field));
            if (value.isNull())
                continue;
            noteLength(*field, value, record);
            setFromValue(*field, value);
        }
        if (inRecord)
            dataSet.post();
    }
    dataSet.mergeChangeLog();
    dataSet.first();
    guard.reset();
    if (!cut.isEmpty()) {
        m_findings->warning(
            u"Nella tabella %1 ci sono testi più lunghi dei loro campi: sono stati troncati alla lunghezza del "
            "campo. Correggerli prima di salvare il record.\n"_s.arg(table)
            + cut.join(u'\n'));
    }
    if (!orphans.isEmpty()) {
        QStringList numbers;
        for (qsizetype i = 0; i < std::min<qsizetype>(orphans.size(), kOrphansNamed); ++i)
            numbers.append(QString::number(orphans.at(i)));
        if (orphans.size() > kOrphansNamed)
            numbers.append(u"…"_s);
        m_findings->warning(u"Tabella %1: %2 record senza persona (numeri %3). Non appartengono a nessuna persona "
                            "della dichiarazione e non possono essere salvati: cancellarli, poi importare di nuovo le "
                            "persone interessate."_s.arg(table)
                                .arg(orphans.size())
                                .arg(numbers.join(u", "_s)));
    }
}

void THlmDBCds::save(ClientDataSet &dataSet, const QString &table)
{
    save({{&dataSet, table}});
}

void THlmDBCds::save(const QList<std::pair<ClientDataSet *, QString>> &tables)
{
    m_error = false;
    m_errorText.clear();
    TdmNrConnection &connection = requireConnection();
    TNrTransaction own(connection);
    if (!connection.inTransaction())
        own.StartTransaction();
    struct Saving
    {
        ClientDataSet *dataSet;
        int changes;
        int done;
        std::unique_ptr<RecordWriter> writer;
    };
    std::vector<Saving> savings;
    std::map<qint64, qint64> lastRecords; // by structure, shared by its tables
    ValueBatch batch(connection);
    // Numbers given to records are not given again, even when a later
    // record fails.
    const auto holdNumbers = [&] {
        for (const auto &[id, last] : lastRecords)
            connection.holdValue(u"ICDSRIGO/%1"_s.arg(id), last);
    };

    try {
        for (const auto &[dataSet, table] : tables) {
            dataSet->checkBrowseMode();
            const Structure s = findStructure(table, m_year, m_month, nullptr);
            auto last = lastRecords.find(s.id);
            if (last == lastRecords.end())
                last = lastRecords.emplace(s.id, lockCounter(connection, s.id)).first;
            savings.push_back({dataSet, dataSet->changeCount(), 0,
                               std::make_unique<RecordWriter>(connection, batch, table, s.id, last->second, s.registry,
                                                              s.fieldMapReadOnly, s.fieldMap, m_program, m_year,
                                                              m_month, m_personColumns)});
        }
        // Everything that can fail happens inside the walks, one inside the
        // other, so that a failure leaves every change log untouched for
        // cancelUpdates().
        std::function<void(std::size_t)> applyFrom = [&](std::size_t i) {
            if (i == savings.size()) {
                batch.finish();
                holdNumbers();
                if (own.active())
                    own.Commit();
                return;
            }
            Saving &saving = savings[i];
            if (saving.changes == 0) {
                saving.dataSet->applyUpdates([](DeltaRecord &) {});
                applyFrom(i + 1);
                return;
            }
            saving.dataSet->applyUpdates([&](DeltaRecord &delta) {
                saving.writer->write(delta);
                if (++saving.done == saving.changes)
                    applyFrom(i + 1);
            });
        };
        applyFrom(0);
    } catch (const Exception &e) {
        m_error = true;
        m_errorText = e.message();
        holdNumbers();
        if (own.active()) {
            try {
                own.Rollback();
            } catch (const Exception &) {
                // The save's own error is the one to report.
            }
        }
        for (const auto &[dataSet, table] : tables)
            dataSet->cancelUpdates();
        throw EDatabaseError(m_errorText);
    }
}

qint64 THlmDBCds::lockCounter(TdmNrConnection &connection, qint64 structure)
{
    // Two clients saving the same table must not give out the same record
    // number: the structure row stays locked until the transaction ends (a
    // row lock on PostgreSQL; the immediate transaction holds the database's
    // write lock on SQLite), and the last number is read after taking the
    // lock. Within a transaction the lock, once taken, stays: later saves go
    // on from the number the last one left, and the number reached is
    // written once, when the transaction commits.
    const QString held = u"ICDSRIGO/%1"_s.arg(structure);
    if (const auto known = connection.heldValue(held))
        return *known;
    TNrQuery &lock = connection.preparedStatement(u"QRY_CDS_BLOCCA"_s);
    lock.setParam(u"ICDSID"_s, structure);
    lock.execute();
    TNrQuery &read = connection.preparedStatement(u"QRY_CDS_RIGO"_s, kSelect);
    read.setParam(u"ICDSID"_s, structure);
    const qint64 last = read.scalar().toLongLong();
    connection.holdValue(held, last, [&connection, structure](qint64 reached) {
        TNrQuery &update = connection.preparedStatement(u"QRY_CDS_AGGIORNA_RIGO"_s);
        update.setParam(u"ICDSRIGO"_s, reached);
        update.setParam(u"ICDSID"_s, structure);
        update.execute();
    });
    return last;
}

std::unique_ptr<TNrReturnLock> HlmLockReturn(THlmDBCds &store)
{
    TdmNrConnection *connection = store.connection();
    if (!connection || !connection->connected())
        throw EDatabaseError(kNoConnection);
    return std::make_unique<TNrReturnLock>(*connection, store.programCode(), store.year(), store.month());
}

qint64 THlmDBCds::newPerson()
{
    TdmNrConnection &connection = requireConnection();
    const qint64 instance = returnInstance(connection, m_program, m_year, m_month);
    if (!connection.isPostgreSQL() || !connection.inTransaction())
        return insertPerson(connection, instance);
    // Inside a transaction on PostgreSQL the person costs no round trip: his
    // identifier comes from a block the counter gave at once, and his row
    // goes to the server with the next statement, before anything can look
    // for it.
    const qint64 id = reservedPersonId(connection);
    const std::pair<QString, QVariant> values[] = {{u"IAFIID"_s, id}, {u"ICRFID"_s, instance}};
    connection.queueStatement(
        u"QRY_AFI_INSERISCI/"_s,
        [&connection] {
            return THlmQueryText::format(connection.statementText(u"QRY_AFI_INSERISCI"_s), {QString(), QString()});
        },
        values);
    connection.holdValue(personKey(id), 1);
    return id;
}

QStringList THlmDBCds::exportAll(const QString &programCode, int year, const QString &folder, int month)
{
    TdmNrConnection &connection = requireConnection();
    // The folder itself is written whole at the end; its parent is made now.
    if (!QDir().mkpath(QFileInfo(QDir(folder).absolutePath()).absolutePath())) {
        m_findings->error(u"Impossibile creare la directory specificata."_s);
        return {};
    }
    QStringList tables;
    {
        TNrQuery q(connection);
        q.fetch(u"QRY_CDS_ELENCO"_s, 0, kSelect);
        q.setParam(u"SCDSPROGRAMMA"_s, programCode);
        q.setParam(u"ICDSANNO"_s, year);
        q.setParam(u"ICDSMESE"_s, month);
        q.open();
        while (q.next())
            tables.append(q.value(0).toString());
        q.close();
    }
    // Sorted here, so that the order does not depend on the server's collation.
    std::sort(tables.begin(), tables.end(),
              [](const QString &a, const QString &b) { return a.compare(b, Qt::CaseInsensitive) > 0; });

    QStringList files{ExportManifest::kFileName};
    for (const QString &table : tables)
        files.append(table + u".cds"_s);
    // The folder is replaced whole once every table is written: a failure
    // leaves the previous export as it was.
    AtomicFolder out(folder, files);
    const QString saved = m_program;
    m_program = programCode;
    try {
        for (const QString &table : tables) {
            ClientDataSet ds(table);
            openFor(ds, table, month, year);
            out.save(table + u".cds"_s, ds.saveToBytes());
        }
        out.save(ExportManifest::kFileName, ExportManifest::bytes(programCode, year, month));
        out.commit();
    } catch (...) {
        m_program = saved;
        throw;
    }
    m_program = saved;
    return tables;
}

qint64 THlmDBCds::createStructure(const StructureDef &def)
{
    TdmNrConnection &connection = requireConnection();
    TNrTransaction own(connection);
    if (!connection.inTransaction())
        own.StartTransaction();
    const qint64 id = GenerateID(connection, u"TCDS_STRUTTURA"_s);
    TNrQuery q(connection);
    q.fetch(u"QRY_CDS_INSERISCI"_s);
    q.setParam(u"ICDSID"_s, id);
    q.setParam(u"ICDSANNO"_s, def.year);
    q.setParam(u"ICDSMESE"_s, def.month);
    q.setParam(u"SCDSPROGRAMMA"_s, def.program);
    q.setParam(u"SCDSNOME"_s, def.table);
    q.setParam(u"BCDSSCHEMA"_s, def.schema);
    q.setParam(u"SCDSFIELDMAP"_s, def.fieldMap);
    q.setParam(u"LCDSANAGRAFICA"_s, def.registry ? 1 : 0);
    q.setParam(u"LCDSFMAPREADONLY"_s, def.fieldMapReadOnly ? 1 : 0);
    q.execute();
    if (own.active())
        own.Commit();
    connection.invalidateCaches();
    return id;
}

qint64 THlmDBCds::returnInstance(TdmNrConnection &connection, const QString &programCode, int year, int month)
{
    const QString key = u"ICRFID/%1/%2/%3"_s.arg(programCode.toLower()).arg(year).arg(month);
    if (const auto held = connection.heldValue(key))
        return *held;
    const qint64 id = findOrAddInstance(connection, programCode, year, month);
    connection.holdValue(key, id);
    return id;
}
