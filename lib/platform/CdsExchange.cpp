#include "CdsExchange.h"

#include "ClientDataSet.h"
#include "Conversions.h"
#include "Exceptions.h"

#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>

#include <cctype>
#include <charconv>
#include <cmath>
#include <iterator>
#include <optional>

using namespace Qt::Literals::StringLiterals;

namespace CdsExchange {

namespace {

[[noreturn]] void fail(const QString &source, const QString &why)
{
    throw EDatabaseError(u"%1: %2"_s.arg(source, why));
}

// How numbers are written: the Italian forms of CSV files (1.234,56) or the
// machine form of JSON files (1234.56).
enum class Form { Italian, Machine };

std::optional<double> parseMachineFloat(const QString &text)
{
    const QByteArray latin = text.trimmed().toLatin1();
    double value = 0;
    const auto [end, error] = std::from_chars(latin.constData(), latin.constData() + latin.size(), value);
    if (latin.isEmpty() || error != std::errc() || end != latin.constData() + latin.size() || !std::isfinite(value))
        return std::nullopt;
    return value;
}

QString numberHint(Form form)
{
    return form == Form::Italian ? u"nei file CSV il punto separa le migliaia e la virgola i decimali: 1.234,56"_s
                                 : u"nei file JSON i decimali seguono il punto: 1234.56"_s;
}

// An amount keeps four decimals: one written with more is refused, never
// rounded. Zeros at the end alter nothing and pass.
void requireScale(const QString &text, QChar separator)
{
    const QString t = text.trimmed();
    const qsizetype at = t.indexOf(separator);
    if (at < 0)
        return;
    qsizetype end = t.size();
    while (end > at + 1 && t[end - 1] == u'0')
        --end;
    const qsizetype decimals = end - at - 1;
    if (decimals > Decimal::kScale)
        throw EConvertError(
            u"il valore «%1» ha %2 decimali: il campo ne ammette %3"_s.arg(t).arg(decimals).arg(Decimal::kScale));
}

// A value written as text in a readable file, converted for a field. Texts
// that the field cannot keep whole are refused, never cut, and amounts never
// rounded.
QVariant valueFromText(const Field &field, const QString &text, Form form)
{
    switch (field.dataType()) {
    case FieldType::String:
    case FieldType::Memo: {
        const QString problem = field.textProblem(text);
        if (!problem.isEmpty())
            throw EConvertError(u"il valore «%1» %2"_s.arg(Field::visibleText(text), problem));
        return text;
    }
    case FieldType::Decimal:
        if (text.trimmed().isEmpty())
            return QVariant();
        if (auto d = form == Form::Italian ? Decimal::parse(text) : Decimal::parseC(text)) {
            requireScale(text, form == Form::Italian ? u',' : u'.');
            return QVariant::fromValue(*d);
        }
        throw EConvertError(u"«%1» non è un importo (%2)"_s.arg(text, numberHint(form)));
    case FieldType::Float:
        if (text.trimmed().isEmpty())
            return QVariant();
        if (auto f = form == Form::Italian ? Conv::parseFloat(text) : parseMachineFloat(text))
            return *f;
        throw EConvertError(u"«%1» non è un numero (%2)"_s.arg(text, numberHint(form)));
    case FieldType::Integer:
    case FieldType::LargeInt:
        if (text.trimmed().isEmpty())
            return QVariant();
        if (auto i = Conv::parseInteger(text))
            return static_cast<qlonglong>(*i);
        break;
    case FieldType::Date:
    case FieldType::DateTime:
        if (text.trimmed().isEmpty())
            return QVariant();
        if (auto dt = Conv::parseDateTime(text))
            return *dt;
        break;
    case FieldType::Boolean:
        if (text.trimmed().isEmpty())
            return QVariant();
        if (auto b = Conv::parseBool(text))
            return *b;
        break;
    case FieldType::Blob:
        return QByteArray::fromBase64(text.toLatin1());
    }
    throw EConvertError(u"valore «%1» non valido (%2)"_s.arg(text, fieldTypeName(field.dataType())));
}

// Digits of the shortest text that gives the number back: beyond fifteen a
// JSON number may stand for more than one amount.
int significantDigits(double value)
{
    char text[64];
    const auto [end, error] = std::to_chars(std::begin(text), std::end(text), value, std::chars_format::scientific);
    int digits = 0;
    for (const char *p = text; p != end && *p != 'e'; ++p)
        digits += std::isdigit(static_cast<unsigned char>(*p)) ? 1 : 0;
    return error == std::errc() ? digits : 99;
}

// The shortest text that gives the number back, without an exponent:
// 1.23456 for the number 1.23456, 0.00001 for 1e-5.
QString shortestText(double value)
{
    char text[400];
    const auto [end, error] = std::to_chars(std::begin(text), std::end(text), value, std::chars_format::fixed);
    return error == std::errc() ? QString::fromLatin1(text, end - text) : QString::number(value);
}

QVariant valueFromJson(const Field &field, const QJsonValue &v)
{
    switch (v.type()) {
    case QJsonValue::Null:
    case QJsonValue::Undefined:
        return QVariant();
    case QJsonValue::String:
        return valueFromText(field, v.toString(), Form::Machine);
    case QJsonValue::Bool:
        return v.toBool();
    case QJsonValue::Double:
        if (field.dataType() == FieldType::Decimal) {
            if (significantDigits(v.toDouble()) > 15)
                throw EConvertError(u"l'importo, letto come %1, ha troppe cifre per un numero JSON, che può "
                                    "averle già alterate: scriverlo come testo, tra virgolette"_s.arg(
                                        QString::number(v.toDouble(), 'f', 4)));
            requireScale(shortestText(v.toDouble()), u'.');
            return QVariant::fromValue(Decimal::fromDouble(v.toDouble()));
        }
        if (field.dataType() == FieldType::Integer || field.dataType() == FieldType::LargeInt) {
            const double d = v.toDouble();
            if (d != static_cast<double>(static_cast<qlonglong>(d)))
                throw EConvertError(u"%1 non è un numero intero"_s.arg(d));
            return static_cast<qlonglong>(d);
        }
        if (field.isText())
            return valueFromText(field, v.toVariant().toString(), Form::Machine);
        return v.toDouble();
    case QJsonValue::Array:
    case QJsonValue::Object:
        break;
    }
    throw EConvertError(u"valore composto non ammesso"_s);
}

QJsonValue valueToJson(const Field &field)
{
    if (field.isNull())
        return QJsonValue::Null;
    switch (field.dataType()) {
    case FieldType::String:
    case FieldType::Memo:
        return field.asString();
    case FieldType::Integer:
        return field.asInteger();
    case FieldType::LargeInt: {
        const qint64 v = field.asLargeInt();
        // Beyond 2^53 a JSON number loses digits: keep it as text.
        if (v > (1LL << 53) || v < -(1LL << 53))
            return QString::number(v);
        return static_cast<double>(v);
    }
    case FieldType::Float:
        return field.asFloat();
    case FieldType::Decimal:
        return field.asCurrency().toString().replace(u',', u'.');
    case FieldType::Date:
        return field.asDate().toString(Qt::ISODate);
    case FieldType::DateTime:
        return field.asDateTime().toString(Qt::ISODate);
    case FieldType::Boolean:
        return field.asBoolean();
    case FieldType::Blob:
        return QString::fromLatin1(field.asBytes().toBase64());
    }
    return QJsonValue::Null;
}

QByteArray jsonText(const QJsonValue &v)
{
    // QJsonDocument writes arrays and objects only: wrap and unwrap.
    QByteArray a = QJsonDocument(QJsonArray{v}).toJson(QJsonDocument::Compact);
    return a.mid(1, a.size() - 2);
}

// `where` is "record 3" in a JSON file, "riga 7" in a CSV file.
void setField(Field &field, const QVariant &value, const QString &source, const QString &where)
{
    try {
        field.setValue(value);
    } catch (const Exception &e) {
        fail(source, u"%1, campo %2: %3"_s.arg(where, field.fieldName(), e.message()));
    }
}

QString csvQuote(const QString &text, bool isNull)
{
    if (isNull)
        return QString();
    if (text.isEmpty())
        return u"\"\""_s;
    if (text.contains(u',') || text.contains(u'"') || text.contains(u'\n') || text.contains(u'\r')
        || text.startsWith(u' ') || text.endsWith(u' ')) {
        QString q = text;
        q.replace(u"\""_s, u"\"\""_s);
        return u'"' + q + u'"';
    }
    return text;
}

struct CsvValue
{
    QString text;
    bool quoted = false;
};

// A row of values and the line of the file where it starts: a quoted value
// may hold line breaks, so rows and lines differ.
struct CsvRow
{
    QList<CsvValue> values;
    int line = 0;
};

// The first byte that is not part of valid UTF-8, or -1.
qsizetype invalidUtf8At(QByteArrayView bytes)
{
    qsizetype i = 0;
    while (i < bytes.size()) {
        const auto b = static_cast<unsigned char>(bytes[i]);
        int follow = 0;
        char32_t cp = 0;
        char32_t least = 0;
        if (b < 0x80) {
            ++i;
            continue;
        } else if ((b & 0xE0) == 0xC0) {
            follow = 1;
            cp = b & 0x1Fu;
            least = 0x80;
        } else if ((b & 0xF0) == 0xE0) {
            follow = 2;
            cp = b & 0x0Fu;
            least = 0x800;
        } else if ((b & 0xF8) == 0xF0) {
            follow = 3;
            cp = b & 0x07u;
            least = 0x10000;
        } else {
            return i;
        }
        if (i + follow >= bytes.size())
            return i;
        for (int k = 1; k <= follow; ++k) {
            const auto c = static_cast<unsigned char>(bytes[i + k]);
            if ((c & 0xC0) != 0x80)
                return i;
            cp = (cp << 6) | (c & 0x3Fu);
        }
        if (cp < least || cp > 0x10FFFF || (cp >= 0xD800 && cp <= 0xDFFF))
            return i;
        i += follow + 1;
    }
    return -1;
}

// The CSV text, refused with its line when it is not UTF-8.
QString decodeCsv(const QByteArray &csv, const QString &source)
{
    const qsizetype bad = invalidUtf8At(csv);
    if (bad >= 0) {
        const qsizetype lineStart = csv.lastIndexOf('\n', bad) + 1;
        fail(source, u"riga %1, colonna %2: il byte 0x%3 non è testo UTF-8; salvare il file con la codifica UTF-8"_s
                         .arg(csv.first(bad).count('\n') + 1)
                         .arg(bad - lineStart + 1)
                         .arg(QString::number(static_cast<unsigned char>(csv[bad]), 16).toUpper()));
    }
    QString text = QString::fromUtf8(csv);
    if (text.startsWith(QChar(0xFEFF)))
        text.remove(0, 1);
    return text;
}

// Splits CSV text into rows of values; quoted values may hold line breaks.
// Errors name the line of the file.
QList<CsvRow> parseCsv(const QString &text, const QString &source)
{
    QList<CsvRow> rows;
    CsvRow row;
    CsvValue value;
    bool inQuotes = false;
    bool closed = false; // right after the closing quote of a value
    bool lineHasData = false;
    int line = 1;
    row.line = 1;
    const qsizetype n = text.size();
    for (qsizetype i = 0; i < n; ++i) {
        const QChar c = text[i];
        if (inQuotes) {
            if (c == u'"') {
                if (i + 1 < n && text[i + 1] == u'"') {
                    value.text += u'"';
                    ++i;
                } else {
                    inQuotes = false;
                    closed = true;
                }
            } else {
                line += c == u'\n' ? 1 : 0;
                value.text += c;
            }
            continue;
        }
        if (c == u',') {
            row.values.append(value);
            value = CsvValue();
            lineHasData = true;
            closed = false;
        } else if (c == u'\r' || c == u'\n') {
            if (c == u'\r' && i + 1 < n && text[i + 1] == u'\n')
                ++i;
            if (lineHasData || !value.text.isEmpty()) {
                row.values.append(value);
                rows.append(row);
            }
            ++line;
            row = CsvRow();
            row.line = line;
            value = CsvValue();
            lineHasData = false;
            closed = false;
        } else if (closed) {
            fail(source, u"riga %1: dopo le virgolette che chiudono un valore è attesa una virgola"_s.arg(line));
        } else if (c == u'"') {
            if (!value.text.isEmpty())
                fail(source, u"riga %1: virgolette nel mezzo di un valore (un valore con virgolette va racchiuso "
                             "tra virgolette, raddoppiando le sue)"_s.arg(line));
            inQuotes = true;
            value.quoted = true;
            lineHasData = true;
        } else {
            value.text += c;
            lineHasData = true;
        }
    }
    if (inQuotes)
        fail(source, u"riga %1: virgolette non chiuse"_s.arg(row.line));
    if (lineHasData || !value.text.isEmpty()) {
        row.values.append(value);
        rows.append(row);
    }
    return rows;
}

} // namespace

namespace {

// Text handed to the sink in pieces of about this size, so that a large
// table never stands whole in memory a second time.
constexpr qsizetype kPiece = 1 << 16;

void flushPiece(QByteArray &piece, const Sink &sink, bool last)
{
    if (piece.size() >= kPiece || (last && !piece.isEmpty())) {
        sink(piece);
        piece.clear();
    }
}

// Walks the records in view order without moving the dataset's cursor.
void eachRecord(ClientDataSet &ds, const std::function<void()> &record)
{
    const Bookmark here = ds.bookmark();
    ds.disableControls();
    for (ds.first(); !ds.eof(); ds.next())
        record();
    if (ds.bookmarkValid(here))
        ds.gotoBookmark(here);
    ds.enableControls();
}

} // namespace

void toJson(ClientDataSet &ds, const Sink &sink)
{
    QByteArray out = "{\n  \"fields\": [\n";
    for (int f = 0; f < ds.fieldCount(); ++f) {
        const Field &fld = ds.field(f);
        QJsonObject def{{u"name"_s, fld.fieldName()}, {u"type"_s, fieldTypeName(fld.dataType())}};
        if (fld.dataType() == FieldType::String || (fld.dataType() == FieldType::Decimal && fld.size() > 0))
            def.insert(u"size"_s, fld.size());
        if (fld.required())
            def.insert(u"required"_s, true);
        out += "    " + QJsonDocument(def).toJson(QJsonDocument::Compact) + (f + 1 < ds.fieldCount() ? ",\n" : "\n");
    }
    out += "  ],\n  \"records\": [";
    bool firstRecord = true;
    eachRecord(ds, [&] {
        out += firstRecord ? "\n    {" : ",\n    {";
        firstRecord = false;
        for (int f = 0; f < ds.fieldCount(); ++f) {
            const Field &fld = ds.field(f);
            out +=
                jsonText(fld.fieldName()) + ": " + jsonText(valueToJson(fld)) + (f + 1 < ds.fieldCount() ? ", " : "");
        }
        out += "}";
        flushPiece(out, sink, false);
    });
    out += firstRecord ? "]\n}\n" : "\n  ]\n}\n";
    flushPiece(out, sink, true);
}

void toCsv(ClientDataSet &ds, const Sink &sink)
{
    QStringList header;
    for (int f = 0; f < ds.fieldCount(); ++f) {
        const Field &fld = ds.field(f);
        QString h = fld.fieldName() + u':' + fieldTypeName(fld.dataType());
        if (fld.dataType() == FieldType::String || (fld.dataType() == FieldType::Decimal && fld.size() > 0))
            h += u':' + QString::number(fld.size());
        header.append(csvQuote(h, false));
    }
    QByteArray out = (header.join(u',') + u"\r\n"_s).toUtf8();
    eachRecord(ds, [&] {
        QStringList values;
        for (int f = 0; f < ds.fieldCount(); ++f) {
            const Field &fld = ds.field(f);
            const QString text =
                fld.dataType() == FieldType::Blob ? QString::fromLatin1(fld.asBytes().toBase64()) : fld.asString();
            values.append(csvQuote(text, fld.isNull()));
        }
        out += (values.join(u',') + u"\r\n"_s).toUtf8();
        flushPiece(out, sink, false);
    });
    flushPiece(out, sink, true);
}

QByteArray toJson(ClientDataSet &ds)
{
    QByteArray all;
    toJson(ds, [&all](QByteArrayView piece) { all += piece; });
    return all;
}

QByteArray toCsv(ClientDataSet &ds)
{
    QByteArray all;
    toCsv(ds, [&all](QByteArrayView piece) { all += piece; });
    return all;
}

namespace {

QJsonObject parseJson(const QByteArray &json, const QString &source)
{
    QJsonParseError err;
    const QJsonDocument doc = QJsonDocument::fromJson(json, &err);
    if (err.error != QJsonParseError::NoError) {
        const qsizetype line = json.left(err.offset).count('\n') + 1;
        fail(source, u"JSON non valido alla riga %1: %2"_s.arg(line).arg(err.errorString()));
    }
    return doc.object();
}

// Fills the record being appended from a JSON record: an object keyed by
// field names or an array of values in field order.
void setRecord(ClientDataSet &ds, const QJsonValue &rec, const QString &source, qsizetype number)
{
    if (rec.isArray()) {
        const QJsonArray values = rec.toArray();
        if (values.size() != ds.fieldCount())
            fail(source, u"record %1: %2 valori per %3 campi"_s.arg(number).arg(values.size()).arg(ds.fieldCount()));
        for (int f = 0; f < ds.fieldCount(); ++f) {
            Field &fld = ds.field(f);
            try {
                setField(fld, valueFromJson(fld, values.at(f)), source, u"record %1"_s.arg(number));
            } catch (const EConvertError &e) {
                fail(source, u"record %1, campo %2: %3"_s.arg(number).arg(fld.fieldName(), e.message()));
            }
        }
    } else if (rec.isObject()) {
        const QJsonObject obj = rec.toObject();
        for (auto it = obj.begin(); it != obj.end(); ++it) {
            Field *fld = ds.findField(it.key());
            if (!fld)
                fail(source, u"record %1: campo «%2» sconosciuto"_s.arg(number).arg(it.key()));
            try {
                setField(*fld, valueFromJson(*fld, it.value()), source, u"record %1"_s.arg(number));
            } catch (const EConvertError &e) {
                fail(source, u"record %1, campo %2: %3"_s.arg(number).arg(fld->fieldName(), e.message()));
            }
        }
    } else {
        fail(source, u"record %1: atteso un oggetto o un elenco di valori"_s.arg(number));
    }
}

void appendRecords(ClientDataSet &ds, const QJsonArray &records, const QString &source)
{
    for (qsizetype r = 0; r < records.size(); ++r) {
        ds.append();
        try {
            setRecord(ds, records.at(r), source, r + 1);
        } catch (...) {
            ds.cancel();
            throw;
        }
        try {
            ds.post();
        } catch (const Exception &e) {
            ds.cancel();
            fail(source, u"record %1: %2"_s.arg(r + 1).arg(e.message()));
        }
    }
}

} // namespace

void appendJsonRecords(ClientDataSet &ds, const QByteArray &json, const QString &source)
{
    const QJsonObject root = parseJson(json, source);
    if (!root.value(u"records"_s).isArray())
        fail(source, u"manca l'elenco «records» dei record"_s);
    appendRecords(ds, root.value(u"records"_s).toArray(), source);
}

void fromJson(ClientDataSet &ds, const QByteArray &json, const QString &source)
{
    const QJsonObject root = parseJson(json, source);
    if (!root.value(u"fields"_s).isArray())
        fail(source, u"manca l'elenco «fields» dei campi"_s);

    ClientDataSet built(ds.name());
    const QJsonArray fields = root.value(u"fields"_s).toArray();
    for (qsizetype i = 0; i < fields.size(); ++i) {
        const QJsonObject f = fields.at(i).toObject();
        FieldType type = FieldType::String;
        const QString name = f.value(u"name"_s).toString();
        if (!fieldTypeFromName(f.value(u"type"_s).toString(), &type))
            fail(source,
                 u"campo %1 («%2»): tipo «%3» sconosciuto"_s.arg(i + 1).arg(name, f.value(u"type"_s).toString()));
        try {
            built.fieldDefs().add(name, type, f.value(u"size"_s).toInt(), f.value(u"required"_s).toBool());
        } catch (const Exception &e) {
            fail(source, u"campo %1: %2"_s.arg(i + 1).arg(e.message()));
        }
    }
    built.createDataSet();
    appendRecords(built, root.value(u"records"_s).toArray(), source);
    built.mergeChangeLog();
    ds.loadFromBytes(built.saveToBytes(), source);
}

void fromCsv(ClientDataSet &ds, const QByteArray &csv, const QString &source)
{
    const QList<CsvRow> lines = parseCsv(decodeCsv(csv, source), source);
    if (lines.isEmpty())
        fail(source, u"manca l'intestazione dei campi"_s);

    ClientDataSet built(ds.name());
    for (const CsvValue &h : lines.first().values) {
        const QStringList parts = h.text.split(u':');
        FieldType type = FieldType::String;
        if (parts.size() < 2 || !fieldTypeFromName(parts[1].trimmed(), &type))
            fail(source, u"intestazione «%1»: attesa la forma NOME:tipo o NOME:string:dimensione"_s.arg(h.text));
        bool sizeOk = true;
        const int size = parts.size() > 2 ? parts[2].trimmed().toInt(&sizeOk) : 0;
        if (!sizeOk)
            fail(source, u"intestazione «%1»: dimensione non valida"_s.arg(h.text));
        try {
            built.fieldDefs().add(parts[0].trimmed(), type, size);
        } catch (const Exception &e) {
            fail(source, u"intestazione: %1"_s.arg(e.message()));
        }
    }
    built.createDataSet();
    for (qsizetype r = 1; r < lines.size(); ++r) {
        const QList<CsvValue> &values = lines[r].values;
        const int line = lines[r].line;
        if (values.size() != built.fieldCount())
            fail(source, u"riga %1: %2 valori per %3 campi"_s.arg(line).arg(values.size()).arg(built.fieldCount()));
        built.append();
        for (int f = 0; f < built.fieldCount(); ++f) {
            Field &fld = built.field(f);
            const CsvValue &v = values[f];
            QVariant value;
            if (!v.text.isEmpty() || v.quoted) {
                try {
                    value = valueFromText(fld, v.text, Form::Italian);
                } catch (const EConvertError &e) {
                    fail(source, u"riga %1, campo %2: %3"_s.arg(line).arg(fld.fieldName(), e.message()));
                }
            }
            setField(fld, value, source, u"riga %1"_s.arg(line));
        }
        built.post();
    }
    built.mergeChangeLog();
    ds.loadFromBytes(built.saveToBytes(), source);
}

} // namespace CdsExchange
