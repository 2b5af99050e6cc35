#include "PayrollTables.h"

#include "Exceptions.h"
#include "NrConnection.h"
#include "NrQuery.h"
#include "NrTransaction.h"
#include "THlmQueryText.h"

#include <QDate>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QSqlField>
#include <QSqlRecord>

using namespace Qt::Literals::StringLiterals;

namespace PayrollTables {

const QStringList &tables()
{
    static const QStringList names{
        u"TSEX_SESSI"_s,           u"TSTA_STATI"_s,           u"TREPA_REGIONI"_s,     u"TPRO_PROVINCE"_s,
        u"TCOM_COMUNI"_s,          u"TCAL_CATEGORIE"_s,       u"TTNO_TIPINOMINA"_s,   u"TQAR_QUALIFICHE"_s,
        u"TANA_ANAGRAFE"_s,        u"TABT_ABITAZIONI"_s,      u"TACOM_ANACONTRATTI"_s, u"TCOMR_VOCIRETRIBUTIVE"_s,
        u"TVACR_VOCICEDOLINO"_s,   u"TREGS_REGISTROCOMPENSI"_s, u"TVARR_VARRITENUTE"_s, u"TADET_DETRAZIONI"_s,
        u"TADEF_DETRFIGLI"_s};
    return names;
}

QVariant columnValue(const QString &column, const QJsonValue &json, const QString &where)
{
    if (json.isUndefined() || json.isNull())
        return QVariant();
    switch (column.at(0).toUpper().unicode()) {
    case u'D': {
        const QDate date = QDate::fromString(json.toString(), Qt::ISODate);
        if (!date.isValid())
            throw EInOutError(u"%1: «%2» non è una data (aaaa-mm-gg)"_s.arg(where, column));
        return date;
    }
    case u'F':
        if (!json.isDouble())
            throw EInOutError(u"%1: «%2» non è un importo"_s.arg(where, column));
        return json.toDouble();
    case u'I':
    case u'L':
        if (!json.isDouble())
            throw EInOutError(u"%1: «%2» non è un numero intero"_s.arg(where, column));
        return json.toInteger();
    default:
        return json.toString();
    }
}

int load(TdmNrConnection &connection, const QByteArray &json, const QString &source)
{
    QJsonParseError error;
    const QJsonDocument document = QJsonDocument::fromJson(json, &error);
    if (error.error != QJsonParseError::NoError) {
        throw EInOutError(u"Dati delle paghe «%1»: JSON non valido al carattere %2 (%3)"_s.arg(source)
                              .arg(error.offset)
                              .arg(error.errorString()));
    }
    if (!document.isObject())
        throw EInOutError(u"Dati delle paghe «%1»: atteso un oggetto con le tabelle"_s.arg(source));

    TNrTransaction own(connection);
    if (!connection.inTransaction())
        own.StartTransaction();
    int written = 0;
    const QJsonObject all = document.object();
    for (auto table = all.constBegin(); table != all.constEnd(); ++table) {
        const QString name = table.key().toUpper();
        if (!tables().contains(name))
            throw EInOutError(u"Dati delle paghe «%1»: «%2» non è una tabella delle paghe"_s.arg(source, table.key()));
        // Column names come from the database's own list, never from the file's text.
        const QSqlRecord record =
            connection.database().record(connection.isPostgreSQL() ? name.toLower() : name);
        const QJsonArray rows = table.value().toArray();
        for (qsizetype r = 0; r < rows.size(); ++r) {
            const QJsonObject row = rows.at(r).toObject();
            const QString where = u"Dati delle paghe «%1», %2 riga %3"_s.arg(source, name).arg(r + 1);
            QStringList columns;
            QVariantList values;
            for (auto it = row.constBegin(); it != row.constEnd(); ++it) {
                const int at = record.indexOf(it.key());
                if (at < 0)
                    throw EInOutError(u"%1: colonna «%2» sconosciuta"_s.arg(where, it.key()));
                columns.append(record.fieldName(at));
                values.append(columnValue(it.key(), it.value(), where));
            }
            if (columns.isEmpty())
                continue;
            TNrQuery insert(connection);
            insert.fetch(u"QRY_PAGHE_INSERISCI"_s);
            insert.setSql(THlmQueryText::format(
                insert.sql(), {name, columns.join(u", "_s),
                               QStringList(static_cast<qsizetype>(values.size()), u"?"_s).join(u", "_s)}));
            for (const QVariant &value : std::as_const(values))
                insert.addValue(value);
            insert.execute();
            ++written;
        }
    }
    if (own.active())
        own.Commit();
    return written;
}

} // namespace PayrollTables
