#include "CdsExchange.h"

#include "ClientDataSet.h"
#include "Conversions.h"
#include "Exceptions.h"

#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>

using namespace Qt::Literals::StringLiterals;

namespace CdsExchange {

namespace {

[[noreturn]] void fail(const QString &source, const QString &why)
{
    throw EDatabaseError(u"%1: %2"_s.arg(source, why));
}

// A value written as text in a readable file, converted for a field.
QVariant valueFromText(const Field &field, const QString &text)
{
    switch (field.dataType()) {
    case FieldType::String:
    case FieldType::Memo:
        return text;
    case FieldType::Decimal:
        if (text.trimmed().isEmpty())
            return QVariant();
        if (auto d = Decimal::parse(text))
            return QVariant::fromValue(*d);
        if (auto d = Decimal::parseC(text))
            return QVariant::fromValue(*d);
        break;
    case FieldType::Float:
        if (text.trimmed().isEmpty())
            return QVariant();
        if (auto f = Conv::parseFloat(text))
            return *f;
        if (auto d = Decimal::parseC(text))
            return d->toDouble();
        break;
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

QVariant valueFromJson(const Field &field, const QJsonValue &v)
{
    switch (v.type()) {
    case QJsonValue::Null:
    case QJsonValue::Undefined:
        return QVariant();
    case QJsonValue::String:
        return valueFromText(field, v.toString());
    case QJsonValue::Bool:
        return v.toBool();
    case QJsonValue::Double:
        if (field.dataType() == FieldType::Decimal)
            return QVariant::fromValue(Decimal::fromDouble(v.toDouble()));
        if (field.dataType() == FieldType::Integer || field.dataType() == FieldType::LargeInt) {
            const double d = v.toDouble();
            if (d != static_cast<double>(static_cast<qlonglong>(d)))
                throw EConvertError(u"%1 non è un numero intero"_s.arg(d));
            return static_cast<qlonglong>(d);
        }
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

void setField(Field &field, const QVariant &value, const QString &source, qsizetype record)
{
    try {
        field.setValue(value);
    } catch (const Exception &e) {
        fail(source, u"record %1, campo %2: %3"_s.arg(record).arg(field.fieldName(), e.message()));
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

// Splits CSV text into lines of values; quoted values may hold line breaks.
QList<QList<CsvValue>> parseCsv(const QString &text, const QString &source)
{
    QList<QList<CsvValue>> lines;
    QList<CsvValue> line;
    CsvValue value;
    bool inQuotes = false;
    bool lineHasData = false;
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
                }
            } else {
                value.text += c;
            }
            continue;
        }
        if (c == u'"') {
            if (!value.text.isEmpty())
                fail(source, u"riga %1: virgolette nel mezzo di un valore"_s.arg(lines.size() + 1));
            inQuotes = true;
            value.quoted = true;
            lineHasData = true;
        } else if (c == u',') {
            line.append(value);
            value = CsvValue();
            lineHasData = true;
        } else if (c == u'\r' || c == u'\n') {
            if (c == u'\r' && i + 1 < n && text[i + 1] == u'\n')
                ++i;
            if (lineHasData || !value.text.isEmpty()) {
                line.append(value);
                lines.append(line);
            }
            line.clear();
            value = CsvValue();
            lineHasData = false;
        } else {
            value.text += c;
            lineHasData = true;
        }
    }
    if (inQuotes)
        fail(source, u"virgolette non chiuse"_s);
    if (lineHasData || !value.text.isEmpty()) {
        line.append(value);
        lines.append(line);
    }
    return lines;
}

} // namespace

QByteArray toJson(ClientDataSet &ds)
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
    const Bookmark here = ds.bookmark();
    ds.disableControls();
    bool firstRecord = true;
    for (ds.first(); !ds.eof(); ds.next()) {
        out += firstRecord ? "\n    {" : ",\n    {";
        firstRecord = false;
        for (int f = 0; f < ds.fieldCount(); ++f) {
            const Field &fld = ds.field(f);
            out += jsonText(fld.fieldName()) + ": " + jsonText(valueToJson(fld)) + (f + 1 < ds.fieldCount() ? ", " : "");
        }
        out += "}";
    }
    out += firstRecord ? "]\n}\n" : "\n  ]\n}\n";
    if (ds.bookmarkValid(here))
        ds.gotoBookmark(here);
    ds.enableControls();
    return out;
}

QByteArray toCsv(ClientDataSet &ds)
{
    QStringList header;
    for (int f = 0; f < ds.fieldCount(); ++f) {
        const Field &fld = ds.field(f);
        QString h = fld.fieldName() + u':' + fieldTypeName(fld.dataType());
        if (fld.dataType() == FieldType::String || (fld.dataType() == FieldType::Decimal && fld.size() > 0))
            h += u':' + QString::number(fld.size());
        header.append(csvQuote(h, false));
    }
    QString out = header.join(u',') + u"\r\n"_s;
    const Bookmark here = ds.bookmark();
    ds.disableControls();
    for (ds.first(); !ds.eof(); ds.next()) {
        QStringList values;
        for (int f = 0; f < ds.fieldCount(); ++f) {
            const Field &fld = ds.field(f);
            const QString text = fld.dataType() == FieldType::Blob ? QString::fromLatin1(fld.asBytes().toBase64())
                                                                   : fld.asString();
            values.append(csvQuote(text, fld.isNull()));
        }
        out += values.join(u',') + u"\r\n"_s;
    }
    if (ds.bookmarkValid(here))
        ds.gotoBookmark(here);
    ds.enableControls();
    return out.toUtf8();
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
                setField(fld, valueFromJson(fld, values.at(f)), source, number);
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
                setField(*fld, valueFromJson(*fld, it.value()), source, number);
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
            fail(source, u"campo %1 («%2»): tipo «%3» sconosciuto"_s.arg(i + 1).arg(name, f.value(u"type"_s).toString()));
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
    QString text = QString::fromUtf8(csv);
    if (text.startsWith(QChar(0xFEFF)))
        text.remove(0, 1);
    const QList<QList<CsvValue>> lines = parseCsv(text, source);
    if (lines.isEmpty())
        fail(source, u"manca l'intestazione dei campi"_s);

    ClientDataSet built(ds.name());
    for (const CsvValue &h : lines.first()) {
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
        const QList<CsvValue> &values = lines[r];
        if (values.size() != built.fieldCount())
            fail(source, u"riga %1: %2 valori per %3 campi"_s.arg(r + 1).arg(values.size()).arg(built.fieldCount()));
        built.append();
        for (int f = 0; f < built.fieldCount(); ++f) {
            Field &fld = built.field(f);
            const CsvValue &v = values[f];
            QVariant value;
            if (!v.text.isEmpty() || v.quoted) {
                try {
                    value = valueFromText(fld, v.text);
                } catch (const EConvertError &e) {
                    fail(source, u"riga %1, campo %2: %3"_s.arg(r + 1).arg(fld.fieldName(), e.message()));
                }
            }
            setField(fld, value, source, r + 1);
        }
        built.post();
    }
    built.mergeChangeLog();
    ds.loadFromBytes(built.saveToBytes(), source);
}

} // namespace CdsExchange
