#include "ThlmAnno.h"

#include "NrConnection.h"
#include "NrExceptions.h"
#include "NrQuery.h"
#include "NruParams.h"

using namespace Qt::Literals::StringLiterals;

ThlmAnno::ThlmAnno(int id, TdmNruParams *params, const QString &statement, const QString &what)
    : m_id(id)
{
    if (!params)
        params = TdmNruParams::instance();
    if (!params || !params->connection() || !params->connection()->connected())
        throw ENrError(u"Impossibile leggere l'%1 %2: nessuna connessione al database"_s.arg(what).arg(id));
    TNrQuery query(*params->connection());
    query.fetch(statement, 0, u"SELECT"_s);
    query.setParam(u"IDANNO"_s, id);
    query.open();
    if (!query.next())
        throw ENrError(u"L'%1 con identificativo %2 non esiste nel database"_s.arg(what).arg(id));
    m_first = NrSqlValue::toDate(query.value(0));
    m_last = NrSqlValue::toDate(query.value(1));
    query.close();
    if (!m_first.isValid() || !m_last.isValid())
        throw ENrError(u"L'%1 con identificativo %2 non ha le date di inizio e fine"_s.arg(what).arg(id));
}
