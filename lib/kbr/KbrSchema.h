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
    // Whether a database without the schema gets it (only when a database is
    // created) or is refused.
    enum class Creation { Create, Refuse };

    // The version of the database: 0 when it has no schema yet. A version
    // that cannot be read (a database held by another program, a damaged
    // file, a version table without exactly one version) raises
    // EDatabaseError: it is never taken for "no schema".
    static int currentVersion(TdmNrConnection &connection);
    // Upgrades an older schema one version per transaction and refuses a
    // database of a newer program; creates the schema of an empty database
    // when asked to, and otherwise refuses it.
    static void ensure(TdmNrConnection &connection, const QString &schemaFolder, Creation creation);
    // Same, up to the given version only (tests build older databases).
    static void ensure(TdmNrConnection &connection, const QString &schemaFolder, int upTo, Creation creation);
    // The statements of a script: split at ";" outside quotes, "$$" bodies
    // and "--" comments.
    static QStringList splitStatements(const QString &script);
};
