#pragma once

#include <QMap>
#include <QString>
#include <QStringList>

class TdmNrConnection;

// The versioned schema of the school database: one script per version and
// engine in <definitions>/schema/sqlite and <definitions>/schema/postgresql,
// named "NNN_description.sql", and the version row TNRV_VERSIONESCHEMA.
class KbrSchema
{
public:
    // The scripts of the connection's engine by version; versions must run
    // from 1 without gaps.
    static QMap<int, QString> scripts(const QString &schemaFolder, bool postgreSQL);
    // The version of the database: 0 when it has no schema yet.
    static int currentVersion(TdmNrConnection &connection);
    // Creates the schema of an empty database or upgrades an older one,
    // one version per transaction; refuses a database of a newer program.
    static void ensure(TdmNrConnection &connection, const QString &schemaFolder);
    // Same, up to the given version only (tests build older databases).
    static void ensure(TdmNrConnection &connection, const QString &schemaFolder, int upTo);
    // The statements of a script: split at ";" outside quotes, "$$" bodies
    // and "--" comments.
    static QStringList splitStatements(const QString &script);
};
