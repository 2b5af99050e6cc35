#include "NrGenerateID.h"

#include "Exceptions.h"
#include "NrConnection.h"
#include "NrQuery.h"
#include "NrTransaction.h"

#include <optional>

using namespace Qt::Literals::StringLiterals;

qint64 GenerateID(TdmNrConnection &connection, const QString &table)
{
    TNrTransaction own(connection);
    if (!connection.inTransaction())
        own.StartTransaction();
    const QString key = table.toUpper();

    // One statement adds the counter or moves it on and gives the new
    // value; it stays prepared on the connection, as ids are asked for once
    // per new record, on SQLite on the engine itself.
    std::optional<qint64> id;
    if (connection.isPostgreSQL()) {
        TNrQuery &next = connection.preparedStatement(u"QRY_NRG_PROSSIMO"_s, u"SELECT"_s);
        next.setParam(u"SNRGTABELLA"_s, key);
        if (const QVariant given = next.scalar(); given.isValid())
            id = given.toLongLong();
    } else {
        NrSqliteStatement &next = connection.sqliteStatement(u"QRY_NRG_PROSSIMO"_s, u"SELECT"_s);
        const std::pair<QString, QVariant> counter{u"SNRGTABELLA"_s, key};
        next.open({&counter, 1});
        if (next.next())
            id = next.integer(0);
        next.close();
    }
    if (!id)
        throw EDatabaseError(u"Impossibile generare un identificativo per la tabella %1"_s.arg(key));
    if (own.active())
        own.Commit();
    return *id;
}
