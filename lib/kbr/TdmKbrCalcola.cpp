#include "TdmKbrCalcola.h"

#include "NrConnection.h"
#include "NrQuery.h"

using namespace Qt::Literals::StringLiterals;

TdmKbrCalcola::TdmKbrCalcola(TdmNrConnection &connection)
    : m_connection(connection)
{
}

TdmKbrCalcola::Contratto TdmKbrCalcola::contratto(const QString &fiscalCode, int anfId)
{
    TNrQuery &q = m_connection.preparedStatement(u"QRY_IMP_CF"_s);
    q.setParam(u"SANACODFISCALE"_s, fiscalCode);
    q.setParam(u"IANFID"_s, anfId);
    q.open();
    Contratto c;
    if (q.next()) {
        c.iacomId = q.value(u"IACOMID"_s).toInt();
        c.iqarId = q.value(u"IQARID"_s).toInt();
        c.itnoId = q.value(u"ITNOID"_s).toInt();
    }
    q.close();
    return c;
}

int TdmKbrCalcola::regione(int iacomId)
{
    TNrQuery &q = m_connection.preparedStatement(u"QRY_REPA_ACOM_CALC"_s);
    q.setParam(u"IACOMID"_s, iacomId);
    return q.scalar().toInt();
}
