#include "TdmKbrCalcola.h"

#include "NrConnection.h"
#include "NrQuery.h"

using namespace Qt::Literals::StringLiterals;

TdmKbrCalcola::TdmKbrCalcola(TdmNrConnection &connection)
    : m_connection(connection)
{
}

QHash<QString, TdmKbrCalcola::Contratto> TdmKbrCalcola::contratti(int anfId)
{
    TNrQuery &q = m_connection.preparedStatement(u"QRY_IMP_CF"_s);
    q.setParam(u"IANFID"_s, anfId);
    q.open();
    QHash<QString, Contratto> contracts;
    // A person's contracts come latest first: the first one is his.
    while (q.next()) {
        const QString code = q.value(0).toString();
        if (!contracts.contains(code))
            contracts.insert(code, {q.value(1).toInt(), q.value(2).toInt(), q.value(3).toInt()});
    }
    q.close();
    return contracts;
}

int TdmKbrCalcola::regione(int iacomId)
{
    TNrQuery &q = m_connection.preparedStatement(u"QRY_REPA_ACOM_CALC"_s);
    q.setParam(u"IACOMID"_s, iacomId);
    return q.scalar().toInt();
}
