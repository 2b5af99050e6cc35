#include "NrGenerateID.h"

#include "Exceptions.h"
#include "NrConnection.h"
#include "NrQuery.h"
#include "NrTransaction.h"

using namespace Qt::Literals::StringLiterals;

qint64 GenerateID(TdmNrConnection &connection, const QString &table)
{
    TNrTransaction own(connection);
    if (!connection.inTransaction())
        own.StartTransaction();
    const QString key = table.toUpper();

    TNrQuery query(connection);
    query.fetch(u"QRY_NRG_CREA"_s);
    query.setParam(u"SNRGTABELLA"_s, key);
    query.execute();
    query.fetch(u"QRY_NRG_INCREMENTA"_s);
    query.setParam(u"SNRGTABELLA"_s, key);
    query.execute();
    query.fetch(u"QRY_NRG_ULTIMO"_s, 0, u"SELECT"_s);
    query.setParam(u"SNRGTABELLA"_s, key);
    const QVariant id = query.scalar();
    if (!id.isValid())
        throw EDatabaseError(u"Impossibile generare un identificativo per la tabella %1"_s.arg(key));
    if (own.active())
        own.Commit();
    return id.toLongLong();
}
