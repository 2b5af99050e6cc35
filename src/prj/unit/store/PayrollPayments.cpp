#include "PayrollPayments.h"

#include "Exceptions.h"
#include "NrConnection.h"
#include "NrGenerateID.h"
#include "NrQuery.h"
#include "NrTransaction.h"
#include "PayrollTables.h"

#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QRegularExpression>
#include <QSet>

using namespace Qt::Literals::StringLiterals;

namespace {

// An insert statement whose named parameters are the columns of its table.
class ColumnInsert
{
public:
    ColumnInsert(TdmNrConnection &connection, const QString &statement)
        : m_query(connection)
    {
        m_query.fetch(statement);
        static const QRegularExpression parameter(u":([A-Z][A-Z0-9_]*)"_s);
        for (auto it = parameter.globalMatch(m_query.sql()); it.hasNext();)
            m_columns.insert(it.next().captured(1));
    }

    // Binds every column from the object, the identifiers given, and runs.
    void run(const QJsonObject &values, const QVariantHash &ids, const QString &where)
    {
        for (const QString &key : values.keys()) {
            if (!m_columns.contains(key) || ids.contains(key))
                throw EInOutError(u"%1: colonna «%2» sconosciuta"_s.arg(where, key));
        }
        for (const QString &column : m_columns)
            m_query.setParam(column,
                             ids.contains(column) ? ids.value(column)
                                                  : PayrollTables::columnValue(column, values.value(column), where));
        m_query.execute();
    }

private:
    TNrQuery m_query;
    QSet<QString> m_columns;
};

} // namespace

int PayrollPayments::load(TdmNrConnection &connection, const QByteArray &json, const QString &source)
{
    QJsonParseError error;
    const QJsonDocument document = QJsonDocument::fromJson(json, &error);
    if (error.error != QJsonParseError::NoError) {
        throw EInOutError(u"Dati F24EP «%1»: JSON non valido al carattere %2 (%3)"_s.arg(source)
                              .arg(error.offset)
                              .arg(error.errorString()));
    }
    if (!document.object().value(u"deleghe"_s).isArray())
        throw EInOutError(u"Dati F24EP «%1»: manca l'elenco «deleghe»"_s.arg(source));

    TNrTransaction own(connection);
    if (!connection.inTransaction())
        own.StartTransaction();
    ColumnInsert delegations(connection, u"QRY_DF24_INSERISCI"_s);
    ColumnInsert lines(connection, u"QRY_RF24_INSERISCI"_s);
    int written = 0;
    const QJsonArray all = document.object().value(u"deleghe"_s).toArray();
    for (qsizetype d = 0; d < all.size(); ++d) {
        QJsonObject delegation = all.at(d).toObject();
        const QJsonArray rows = delegation.take(u"righe"_s).toArray();
        const QString where = u"Dati F24EP «%1», delega %2"_s.arg(source).arg(d + 1);
        const qint64 id = GenerateID(connection, u"TDF24_DELEGHEF24EP"_s);
        delegations.run(delegation, {{u"IDF24ID"_s, id}}, where);
        for (qsizetype r = 0; r < rows.size(); ++r) {
            lines.run(rows.at(r).toObject(),
                      {{u"IRF24ID"_s, GenerateID(connection, u"TRF24_RIGHEF24EP"_s)}, {u"IDF24ID"_s, id}},
                      u"%1, riga %2"_s.arg(where).arg(r + 1));
            ++written;
        }
    }
    if (own.active())
        own.Commit();
    return written;
}
