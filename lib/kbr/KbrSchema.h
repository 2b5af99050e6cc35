#pragma once

#include <QMap>
#include <QString>
#include <QStringList>

#include <functional>

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
    // Upgrades an older schema and refuses a database of a newer program;
    // creates the schema of an empty database when asked to, and otherwise
    // refuses it. An older database is upgraded in one transaction, scripts
    // and the program's data upgrade together, after a copy of a SQLite file
    // beside it as "<file>.bak-vN" (N the version it had); a failure leaves
    // it as it was and says so. Returns what the user is to be told: the
    // upgrade, where the copy is, and what the data upgrade reported.
    static QStringList ensure(TdmNrConnection &connection, const QString &schemaFolder, Creation creation);
    // Same, up to the given version only (tests build older databases).
    static QStringList ensure(TdmNrConnection &connection, const QString &schemaFolder, int upTo, Creation creation);

    // What the program keeps in the database in a form of its own (the
    // structures of its tables), brought up to the program in the
    // transaction of an upgrade of an older database to the latest version;
    // returns what the user is to be told. The program sets it before it
    // opens a database: a database upgraded without it keeps its data as
    // they were.
    using DataUpgrade = std::function<QStringList(TdmNrConnection &)>;
    static void setDataUpgrade(DataUpgrade upgrade);

private:
    // The statements of a script: split at ";" outside quotes, "$$" bodies
    // and "--" comments.
    static QStringList splitStatements(const QString &script);
};
