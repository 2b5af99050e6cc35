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

    // One statement adds the counter or moves it on and gives the new
    // value; it stays prepared on the connection, as ids are asked for once
    // per new record.
    TNrQuery &next = connection.preparedStatement(u"QRY_NRG_PROSSIMO"_s, u"SELECT"_s);
    next.setParam(u"SNRGTABELLA"_s, key);
    const QVariant id = next.scalar();
    if (!id.isValid())
        throw EDatabaseError(u"Impossibile generare un identificativo per la tabella %1"_s.arg(key));
    if (own.active())
        own.Commit();
    return id.toLongLong();
}
