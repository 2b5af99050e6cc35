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

    // The three statements stay prepared on the connection: ids are asked
    // for once per new record.
    for (const QString &name : {u"QRY_NRG_CREA"_s, u"QRY_NRG_INCREMENTA"_s}) {
        TNrQuery &query = connection.prepared(name, [&name](TNrQuery &made) { made.fetch(name); });
        query.setParam(u"SNRGTABELLA"_s, key);
        query.execute();
    }
    TNrQuery &last = connection.prepared(u"QRY_NRG_ULTIMO"_s,
                                         [](TNrQuery &made) { made.fetch(u"QRY_NRG_ULTIMO"_s, 0, u"SELECT"_s); });
    last.setParam(u"SNRGTABELLA"_s, key);
    const QVariant id = last.scalar();
    if (!id.isValid())
        throw EDatabaseError(u"Impossibile generare un identificativo per la tabella %1"_s.arg(key));
    if (own.active())
        own.Commit();
    return id.toLongLong();
}
