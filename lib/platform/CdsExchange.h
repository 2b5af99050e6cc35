#pragma once

#include <QByteArray>
#include <QString>

#include <functional>

class ClientDataSet;

// Readable forms of a client dataset, so that reference tables and working
// files can be written and read by people.
//
// JSON: {"fields": [{"name": "CODICE", "type": "string", "size": 10}, ...],
//        "records": [{"CODICE": "A", ...}, ...]}
// Records may also be arrays in field order. Decimals are written as strings
// ("1234.5") so that they stay exact; dates as "yyyy-mm-dd"; blobs in base64.
//
// CSV (comma separated, RFC 4180 quoting, UTF-8): a header of NAME:type or
// NAME:string:size, then one line per record in the Italian text forms
// (1234,5 and dd/mm/yyyy). An empty unquoted value is null, "" an empty text.
//
// Reading accepts for decimals both the comma and the point as the decimal
// separator, and for dates both dd/mm/yyyy and yyyy-mm-dd. Errors name the
// source, the record and the field.
namespace CdsExchange {

// Receives the text in pieces, in order.
using Sink = std::function<void(QByteArrayView piece)>;

QByteArray toJson(ClientDataSet &dataSet);
QByteArray toCsv(ClientDataSet &dataSet);
// The same, handed out in pieces as they are made.
void toJson(ClientDataSet &dataSet, const Sink &sink);
void toCsv(ClientDataSet &dataSet, const Sink &sink);
void fromJson(ClientDataSet &dataSet, const QByteArray &json, const QString &source);
void fromCsv(ClientDataSet &dataSet, const QByteArray &csv, const QString &source);
// Appends to an open dataset the records of a JSON document
// {"records": [{"FIELD": value, ...}, ...]}, posting each; the fields are the
// dataset's own. Records already appended stay when a later one fails.
void appendJsonRecords(ClientDataSet &dataSet, const QByteArray &json, const QString &source);

} // namespace CdsExchange
