#include "Field.h"

#include "ClientDataSet.h"
#include "Conversions.h"
#include "Exceptions.h"

#include <cmath>
#include <limits>

using namespace Qt::Literals::StringLiterals;

namespace {

// Dates as numbers count days from 30/12/1899, as the suite's data do.
constexpr qint64 kSerialEpochJulianDay = 2415019;
constexpr double kMsPerDay = 86400000.0;
// The serial days of 01/01/0001 and of the day after 31/12/9999: the dates
// a number can stand for.
constexpr double kFirstSerial = -693593.0;
constexpr double kEndSerial = 2958466.0;

bool isDateSerial(double serial)
{
    return serial >= kFirstSerial && serial < kEndSerial;
}

double dateTimeToSerial(const QDateTime &dt)
{
    return static_cast<double>(dt.date().toJulianDay() - kSerialEpochJulianDay)
           + dt.time().msecsSinceStartOfDay() / kMsPerDay;
}

// An invalid date-time for a number outside the dates.
QDateTime serialToDateTime(double serial)
{
    if (!isDateSerial(serial))
        return QDateTime();
    const double day = std::floor(serial);
    const auto ms = static_cast<int>(std::llround((serial - day) * kMsPerDay));
    return QDateTime(QDate::fromJulianDay(static_cast<qint64>(day) + kSerialEpochJulianDay),
                     QTime::fromMSecsSinceStartOfDay(std::min(ms, 86399999)), Qt::UTC);
}

} // namespace

Field::Field(ClientDataSet *dataSet, const FieldDef &def, int index)
    : m_dataSet(dataSet)
    , m_name(def.name)
    , m_type(def.type)
    , m_size(def.size)
    , m_index(index)
    , m_required(def.required)
{
}

bool Field::isNumeric() const
{
    switch (m_type) {
    case FieldType::Integer:
    case FieldType::LargeInt:
    case FieldType::Float:
    case FieldType::Decimal:
        return true;
    default:
        return false;
    }
}

bool Field::isText() const
{
    return m_type == FieldType::String || m_type == FieldType::Memo;
}

int Field::row() const
{
    m_dataSet->checkActive();
    return m_dataSet->m_peekRow >= 0 ? m_dataSet->m_peekRow : m_dataSet->currentRow();
}

int Field::writableRow() const
{
    const DataSetState st = m_dataSet->state();
    if (st != DataSetState::Edit && st != DataSetState::Insert)
        throw EDatabaseError(
            u"Il dataset %1 non è in modifica o inserimento (campo %2)"_s.arg(m_dataSet->name(), m_name));
    if (m_readOnly)
        throw EDatabaseError(u"Il campo %1 non può essere modificato"_s.arg(m_name));
    return m_dataSet->m_editRow;
}

void Field::changed()
{
    m_dataSet->m_modified = true;
    m_dataSet->notifyRecordChanged(this);
}

void Field::conversionError(const QString &text, const QString &what) const
{
    throw EConvertError(u"'%1' non è %2 valido per il campo %3"_s.arg(text, what, m_name));
}

// --- Reading -------------------------------------------------------------------

bool Field::isNull() const
{
    const int r = row();
    return r < 0 || m_dataSet->m_store.isNull(m_index, r);
}

QVariant Field::value() const
{
    const int r = row();
    return r < 0 ? QVariant() : m_dataSet->m_store.variantAt(m_index, r);
}

QVariant Field::oldValue() const
{
    const int r = row();
    if (r < 0)
        return QVariant();
    const ClientDataSet &ds = *m_dataSet;
    if (const auto it = ds.m_original.find(r); it != ds.m_original.end())
        return it->second[static_cast<std::size_t>(m_index)];
    if (ds.m_state == DataSetState::Insert)
        return QVariant();
    if (ds.m_state == DataSetState::Edit && r == ds.m_editRow && ds.m_store.info(r).status == UpdateStatus::Unmodified)
        return ds.m_editBackup[static_cast<std::size_t>(m_index)];
    if (ds.m_store.info(r).status == UpdateStatus::Inserted)
        return QVariant();
    return ds.m_store.variantAt(m_index, r);
}

QString Field::asString() const
{
    const int r = row();
    if (r < 0)
        return QString();
    const RecordStore &st = m_dataSet->m_store;
    if (st.isNull(m_index, r))
        return QString();
    switch (m_type) {
    case FieldType::String:
    case FieldType::Memo:
        return st.textAt(m_index, r);
    case FieldType::Integer:
    case FieldType::LargeInt:
        return QString::number(st.intAt(m_index, r));
    case FieldType::Float:
        return Conv::floatToText(st.floatAt(m_index, r));
    case FieldType::Decimal:
        return Decimal::fromUnits(st.intAt(m_index, r)).toString();
    case FieldType::Date:
        return Conv::dateToText(QDate::fromJulianDay(st.intAt(m_index, r)));
    case FieldType::DateTime:
        return Conv::dateTimeToText(RecordStore::intToDateTime(st.intAt(m_index, r)));
    case FieldType::Boolean:
        return Conv::boolToText(st.intAt(m_index, r) != 0);
    case FieldType::Blob:
        return QString::fromUtf8(st.bytesAt(m_index, r));
    }
    return QString();
}

qint64 Field::asLargeInt() const
{
    const int r = row();
    if (r < 0 || m_dataSet->m_store.isNull(m_index, r))
        return 0;
    const RecordStore &st = m_dataSet->m_store;
    switch (m_type) {
    case FieldType::String:
    case FieldType::Memo:
    case FieldType::Blob: {
        const QString t = asString();
        if (t.trimmed().isEmpty())
            return 0;
        const auto v = Conv::parseInteger(t);
        if (!v)
            conversionError(t, u"un valore intero"_s);
        return *v;
    }
    case FieldType::Integer:
    case FieldType::LargeInt:
    case FieldType::Boolean:
        return st.intAt(m_index, r);
    case FieldType::Float:
        return std::llround(st.floatAt(m_index, r));
    case FieldType::Decimal:
        return Decimal::fromUnits(st.intAt(m_index, r)).rounded(0).truncated();
    case FieldType::Date:
        return st.intAt(m_index, r) - kSerialEpochJulianDay;
    case FieldType::DateTime:
        return static_cast<qint64>(std::floor(dateTimeToSerial(asDateTime())));
    }
    return 0;
}

int Field::asInteger() const
{
    const qint64 v = asLargeInt();
    if (v < std::numeric_limits<int>::min() || v > std::numeric_limits<int>::max())
        conversionError(QString::number(v), u"un valore intero a 32 bit"_s);
    return static_cast<int>(v);
}

double Field::asFloat() const
{
    const int r = row();
    if (r < 0 || m_dataSet->m_store.isNull(m_index, r))
        return 0.0;
    const RecordStore &st = m_dataSet->m_store;
    switch (m_type) {
    case FieldType::String:
    case FieldType::Memo:
    case FieldType::Blob: {
        const QString t = asString();
        if (t.trimmed().isEmpty())
            return 0.0;
        const auto v = Conv::parseFloat(t);
        if (!v)
            conversionError(t, u"un numero"_s);
        return *v;
    }
    case FieldType::Integer:
    case FieldType::LargeInt:
    case FieldType::Boolean:
        return static_cast<double>(st.intAt(m_index, r));
    case FieldType::Float:
        return st.floatAt(m_index, r);
    case FieldType::Decimal:
        return Decimal::fromUnits(st.intAt(m_index, r)).toDouble();
    case FieldType::Date:
    case FieldType::DateTime:
        return dateTimeToSerial(asDateTime());
    }
    return 0.0;
}

Decimal Field::asCurrency() const
{
    const int r = row();
    if (r < 0 || m_dataSet->m_store.isNull(m_index, r))
        return Decimal();
    const RecordStore &st = m_dataSet->m_store;
    switch (m_type) {
    case FieldType::String:
    case FieldType::Memo:
    case FieldType::Blob: {
        const QString t = asString();
        if (t.trimmed().isEmpty())
            return Decimal();
        const auto v = Decimal::parse(t);
        if (!v)
            conversionError(t, u"un importo"_s);
        return *v;
    }
    case FieldType::Integer:
    case FieldType::LargeInt:
    case FieldType::Boolean:
        return Decimal::fromInt(st.intAt(m_index, r));
    case FieldType::Float:
        return Decimal::fromDouble(st.floatAt(m_index, r));
    case FieldType::Decimal:
        return Decimal::fromUnits(st.intAt(m_index, r));
    case FieldType::Date:
    case FieldType::DateTime:
        return Decimal::fromDouble(asFloat());
    }
    return Decimal();
}

QDateTime Field::asDateTime() const
{
    const int r = row();
    if (r < 0 || m_dataSet->m_store.isNull(m_index, r))
        return QDateTime();
    const RecordStore &st = m_dataSet->m_store;
    switch (m_type) {
    case FieldType::String:
    case FieldType::Memo:
    case FieldType::Blob: {
        const QString t = asString();
        if (t.trimmed().isEmpty())
            return QDateTime();
        const auto v = Conv::parseDateTime(t);
        if (!v)
            conversionError(t, u"una data"_s);
        return *v;
    }
    case FieldType::Date:
        return QDateTime(QDate::fromJulianDay(st.intAt(m_index, r)), QTime(0, 0), Qt::UTC);
    case FieldType::DateTime:
        return RecordStore::intToDateTime(st.intAt(m_index, r));
    case FieldType::Integer:
    case FieldType::LargeInt:
    case FieldType::Float:
    case FieldType::Decimal:
        return serialToDateTime(asFloat());
    case FieldType::Boolean:
        conversionError(asString(), u"una data"_s);
    }
    return QDateTime();
}

QDate Field::asDate() const
{
    return asDateTime().date();
}

bool Field::asBoolean() const
{
    const int r = row();
    if (r < 0 || m_dataSet->m_store.isNull(m_index, r))
        return false;
    switch (m_type) {
    case FieldType::String:
    case FieldType::Memo:
    case FieldType::Blob: {
        const QString t = asString();
        if (t.trimmed().isEmpty())
            return false;
        const auto v = Conv::parseBool(t);
        if (!v)
            conversionError(t, u"un valore logico"_s);
        return *v;
    }
    case FieldType::Float:
        return m_dataSet->m_store.floatAt(m_index, r) != 0.0;
    default:
        return m_dataSet->m_store.intAt(m_index, r) != 0;
    }
}

QByteArray Field::asBytes() const
{
    const int r = row();
    if (r < 0 || m_dataSet->m_store.isNull(m_index, r))
        return QByteArray();
    if (m_type == FieldType::Blob)
        return m_dataSet->m_store.bytesAt(m_index, r);
    return asString().toUtf8();
}

QString Field::formattedText(bool displayText) const
{
    if (isNull())
        return QString();
    const QString &mask = displayText ? m_displayFormat : m_editFormat;
    if (mask.isEmpty() || !isNumeric())
        return asString();
    if (m_type == FieldType::Float)
        return Conv::formatFloat(mask, asFloat());
    return Conv::formatFloat(mask, asCurrency());
}

QString Field::displayText() const
{
    return m_onGetText ? m_onGetText(*this, true) : formattedText(true);
}

QString Field::editText() const
{
    return m_onGetText ? m_onGetText(*this, false) : formattedText(false);
}

// --- Entry checks ---------------------------------------------------------------

QString Field::controlName(QChar c)
{
    switch (c.unicode()) {
    case 0x00:
        return u"NUL"_s;
    case 0x07:
        return u"BEL"_s;
    case 0x08:
        return u"BS"_s;
    case 0x09:
        return u"TAB"_s;
    case 0x0A:
        return u"LF"_s;
    case 0x0D:
        return u"CR"_s;
    case 0x1B:
        return u"ESC"_s;
    default:
        return u"U+%1"_s.arg(c.unicode(), 4, 16, QChar(u'0')).toUpper();
    }
}

namespace {

bool isControl(QChar c)
{
    return c.category() == QChar::Other_Control;
}

} // namespace

QString Field::visibleText(const QString &text)
{
    QString shown;
    for (const QChar c : text)
        shown += isControl(c) ? u'<' + controlName(c) + u'>' : QString(c);
    return shown;
}

QString Field::textProblem(const QString &text) const
{
    if (!isText())
        return QString();
    for (qsizetype i = 0; i < text.size(); ++i) {
        const QChar c = text[i];
        const bool layout = c == u'\t' || c == u'\n' || c == u'\r';
        if (isControl(c) && !(m_type == FieldType::Memo && layout))
            return u"contiene il carattere di controllo %1 alla posizione %2"_s.arg(controlName(c)).arg(i + 1);
    }
    if (m_type == FieldType::String && m_size > 0 && text.size() > m_size)
        return u"è lungo %1 caratteri: il campo ne ammette %2"_s.arg(text.size()).arg(m_size);
    return QString();
}

// --- Writing ---------------------------------------------------------------------

void Field::clear()
{
    const int r = writableRow();
    m_dataSet->m_store.setNull(m_index, r);
    changed();
}

void Field::setValue(const QVariant &value)
{
    const int r = writableRow();
    storeVariant(r, value);
    changed();
}

void Field::setAsString(const QString &value)
{
    const int r = writableRow();
    storeText(r, value);
    changed();
}

void Field::setAsCheckedString(const QString &value)
{
    if (const QString problem = textProblem(value); !problem.isEmpty())
        throw EConvertError(u"il valore «%1» %2"_s.arg(visibleText(value), problem));
    setAsString(value);
}

void Field::setAsInteger(qint64 value)
{
    const int r = writableRow();
    storeInteger(r, value);
    changed();
}

void Field::setAsFloat(double value)
{
    const int r = writableRow();
    storeFloat(r, value);
    changed();
}

void Field::setAsCurrency(Decimal value)
{
    const int r = writableRow();
    storeDecimal(r, value);
    changed();
}

void Field::setAsDateTime(const QDateTime &value)
{
    const int r = writableRow();
    storeDateTime(r, value, false);
    changed();
}

void Field::setAsDate(const QDate &value)
{
    const int r = writableRow();
    storeDate(r, value);
    changed();
}

void Field::setAsBoolean(bool value)
{
    const int r = writableRow();
    storeBool(r, value);
    changed();
}

void Field::setAsBytes(const QByteArray &value)
{
    const int r = writableRow();
    if (m_type == FieldType::Blob)
        m_dataSet->m_store.setBytes(m_index, r, value);
    else
        storeText(r, QString::fromUtf8(value));
    changed();
}

void Field::storeVariant(int row, const QVariant &value)
{
    if (!value.isValid() || value.isNull()) {
        m_dataSet->m_store.setNull(m_index, row);
        return;
    }
    switch (value.metaType().id()) {
    case QMetaType::QString:
        storeText(row, value.toString());
        return;
    case QMetaType::Int:
    case QMetaType::UInt:
    case QMetaType::LongLong:
    case QMetaType::Short:
    case QMetaType::UShort:
    case QMetaType::Long:
    case QMetaType::ULong:
        storeInteger(row, value.toLongLong());
        return;
    case QMetaType::ULongLong:
        if (value.toULongLong() > static_cast<qulonglong>(std::numeric_limits<qint64>::max()))
            conversionError(value.toString(), u"un valore intero"_s);
        storeInteger(row, value.toLongLong());
        return;
    case QMetaType::Double:
    case QMetaType::Float:
        storeFloat(row, value.toDouble());
        return;
    case QMetaType::QDate:
        storeDate(row, value.toDate());
        return;
    case QMetaType::QDateTime:
        storeDateTime(row, value.toDateTime(), false);
        return;
    case QMetaType::Bool:
        storeBool(row, value.toBool());
        return;
    case QMetaType::QByteArray:
        if (m_type == FieldType::Blob)
            m_dataSet->m_store.setBytes(m_index, row, value.toByteArray());
        else
            storeText(row, QString::fromUtf8(value.toByteArray()));
        return;
    default:
        break;
    }
    if (value.metaType() == QMetaType::fromType<Decimal>()) {
        storeDecimal(row, value.value<Decimal>());
        return;
    }
    storeText(row, value.toString());
}

void Field::storeText(int row, const QString &value)
{
    RecordStore &st = m_dataSet->m_store;
    switch (m_type) {
    case FieldType::String:
        st.setText(m_index, row, m_size > 0 && value.size() > m_size ? value.left(m_size) : value);
        return;
    case FieldType::Memo:
        st.setText(m_index, row, value);
        return;
    case FieldType::Blob:
        st.setBytes(m_index, row, value.toUtf8());
        return;
    default:
        break;
    }
    if (value.trimmed().isEmpty()) {
        st.setNull(m_index, row);
        return;
    }
    switch (m_type) {
    case FieldType::Integer:
    case FieldType::LargeInt: {
        const auto v = Conv::parseInteger(value);
        if (!v)
            conversionError(value, u"un valore intero"_s);
        storeInteger(row, *v);
        return;
    }
    case FieldType::Float: {
        const auto v = Conv::parseFloat(value);
        if (!v)
            conversionError(value, u"un numero"_s);
        st.setFloat(m_index, row, *v);
        return;
    }
    case FieldType::Decimal: {
        const auto v = Decimal::parse(value);
        if (!v)
            conversionError(value, u"un importo"_s);
        st.setInt(m_index, row, v->units());
        return;
    }
    case FieldType::Date:
        if (const auto d = Conv::parseDate(value)) {
            st.setInt(m_index, row, d->toJulianDay());
            return;
        }
        [[fallthrough]];
    case FieldType::DateTime: {
        const auto v = Conv::parseDateTime(value);
        if (!v)
            conversionError(value, u"una data"_s);
        storeDateTime(row, *v, m_type == FieldType::Date);
        return;
    }
    case FieldType::Boolean: {
        const auto v = Conv::parseBool(value);
        if (!v)
            conversionError(value, u"un valore logico"_s);
        st.setInt(m_index, row, *v ? 1 : 0);
        return;
    }
    default:
        return;
    }
}

void Field::storeInteger(int row, qint64 value)
{
    RecordStore &st = m_dataSet->m_store;
    switch (m_type) {
    case FieldType::String:
    case FieldType::Memo:
    case FieldType::Blob:
        storeText(row, QString::number(value));
        return;
    case FieldType::Integer:
        if (value < std::numeric_limits<int>::min() || value > std::numeric_limits<int>::max())
            conversionError(QString::number(value), u"un valore intero a 32 bit"_s);
        st.setInt(m_index, row, value);
        return;
    case FieldType::LargeInt:
        st.setInt(m_index, row, value);
        return;
    case FieldType::Float:
        st.setFloat(m_index, row, static_cast<double>(value));
        return;
    case FieldType::Decimal:
        st.setInt(m_index, row, Decimal::fromInt(value).units());
        return;
    case FieldType::Date:
    case FieldType::DateTime:
        storeFloat(row, static_cast<double>(value));
        return;
    case FieldType::Boolean:
        st.setInt(m_index, row, value != 0 ? 1 : 0);
        return;
    }
}

void Field::storeFloat(int row, double value)
{
    RecordStore &st = m_dataSet->m_store;
    if (!std::isfinite(value))
        conversionError(QString::number(value), u"un numero"_s);
    switch (m_type) {
    case FieldType::String:
    case FieldType::Memo:
    case FieldType::Blob:
        storeText(row, Conv::floatToText(value));
        return;
    case FieldType::Integer:
    case FieldType::LargeInt:
        if (std::fabs(value) >= 9.2e18)
            conversionError(Conv::floatToText(value), u"un valore intero"_s);
        storeInteger(row, std::llround(value));
        return;
    case FieldType::Float:
        st.setFloat(m_index, row, value);
        return;
    case FieldType::Decimal:
        st.setInt(m_index, row, Decimal::fromDouble(value).units());
        return;
    case FieldType::Date:
    case FieldType::DateTime:
        if (!isDateSerial(value))
            conversionError(Conv::floatToText(value), u"una data"_s);
        storeDateTime(row, serialToDateTime(value), m_type == FieldType::Date);
        return;
    case FieldType::Boolean:
        st.setInt(m_index, row, value != 0.0 ? 1 : 0);
        return;
    }
}

void Field::storeDecimal(int row, Decimal value)
{
    RecordStore &st = m_dataSet->m_store;
    switch (m_type) {
    case FieldType::String:
    case FieldType::Memo:
    case FieldType::Blob:
        storeText(row, value.toString());
        return;
    case FieldType::Integer:
    case FieldType::LargeInt:
        storeInteger(row, value.rounded(0).truncated());
        return;
    case FieldType::Float:
        st.setFloat(m_index, row, value.toDouble());
        return;
    case FieldType::Decimal:
        st.setInt(m_index, row, value.units());
        return;
    case FieldType::Boolean:
        st.setInt(m_index, row, value.isZero() ? 0 : 1);
        return;
    case FieldType::Date:
    case FieldType::DateTime:
        storeFloat(row, value.toDouble());
        return;
    }
}

void Field::storeDateTime(int row, const QDateTime &value, bool dateOnly)
{
    RecordStore &st = m_dataSet->m_store;
    if (!value.isValid()) {
        st.setNull(m_index, row);
        return;
    }
    switch (m_type) {
    case FieldType::String:
    case FieldType::Memo:
    case FieldType::Blob:
        storeText(row, dateOnly ? Conv::dateToText(value.date()) : Conv::dateTimeToText(value));
        return;
    case FieldType::Date:
        st.setInt(m_index, row, value.date().toJulianDay());
        return;
    case FieldType::DateTime:
        st.setInt(m_index, row, RecordStore::dateTimeToInt(value));
        return;
    case FieldType::Float:
        st.setFloat(m_index, row, dateTimeToSerial(value));
        return;
    case FieldType::Integer:
    case FieldType::LargeInt:
    case FieldType::Decimal:
        storeFloat(row, std::floor(dateTimeToSerial(value)));
        return;
    case FieldType::Boolean:
        conversionError(Conv::dateTimeToText(value), u"un valore logico"_s);
    }
}

void Field::storeDate(int row, const QDate &value)
{
    if (m_type == FieldType::Date && value.isValid())
        m_dataSet->m_store.setInt(m_index, row, value.toJulianDay());
    else
        storeDateTime(row, value.isValid() ? QDateTime(value, QTime(0, 0), Qt::UTC) : QDateTime(), true);
}

void Field::storeBool(int row, bool value)
{
    switch (m_type) {
    case FieldType::String:
    case FieldType::Memo:
    case FieldType::Blob:
        storeText(row, Conv::boolToText(value));
        return;
    case FieldType::Date:
    case FieldType::DateTime:
        conversionError(Conv::boolToText(value), u"una data"_s);
    case FieldType::Float:
        m_dataSet->m_store.setFloat(m_index, row, value ? 1.0 : 0.0);
        return;
    case FieldType::Decimal:
        m_dataSet->m_store.setInt(m_index, row, value ? Decimal::kUnitsPerOne : 0);
        return;
    default:
        m_dataSet->m_store.setInt(m_index, row, value ? 1 : 0);
        return;
    }
}

QVariant Field::canonical(const QVariant &value) const
{
    // Converted through a scratch dataset of this one field, so that the
    // rules are exactly those of storing.
    ClientDataSet scratch;
    scratch.fieldDefs().add(m_name, m_type, m_size);
    scratch.createDataSet();
    scratch.append();
    Field &f = scratch.field(0);
    f.storeVariant(scratch.m_editRow, value);
    return scratch.m_store.variantAt(0, scratch.m_editRow);
}
