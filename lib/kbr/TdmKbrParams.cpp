#include "TdmKbrParams.h"

#include "Exceptions.h"
#include "NrConnection.h"
#include "NrQuery.h"

#include <QSqlRecord>

using namespace Qt::Literals::StringLiterals;

namespace {

TdmNrConnection &requireConnection(TdmNrConnection *connection)
{
    if (!connection || !connection->connected())
        throw EDatabaseError(u"Parametri contabili: nessuna connessione al database"_s);
    return *connection;
}

} // namespace

TdmKbrParams::TdmKbrParams(TdmNrConnection *connection, const QString &settingsFile)
    : TdmNruParams(connection, settingsFile)
{
}

void TdmKbrParams::loadFinancialYear(int anfId)
{
    TNrQuery q(requireConnection(connection()));
    q.fetch(u"QRY_PACO_ANF"_s, 0, u"SELECT"_s);
    q.setParam(u"IANFID"_s, anfId);
    q.open();
    m_paco.clear();
    if (q.next()) {
        const QSqlRecord row = q.record();
        for (int i = 0; i < row.count(); ++i)
            m_paco.insert(row.fieldName(i).toUpper(), q.value(i));
    }
    q.close();
    m_loaded = true;
}

QVariant TdmKbrParams::parameterValue(const QString &name)
{
    if (!m_loaded)
        loadFinancialYear(anfId());
    const auto it = m_paco.constFind(name.toUpper());
    if (it == m_paco.constEnd()) {
        if (m_paco.isEmpty())
            throw EDatabaseError(u"Parametri contabili dell'anno finanziario non trovati (parametro %1)"_s.arg(name));
        throw EDatabaseError(u"Il parametro contabile %1 non esiste"_s.arg(name));
    }
    return it.value();
}
