#include "KbrSchema.h"

#include "Exceptions.h"
#include "NrConnection.h"
#include "NrExceptions.h"
#include "NrQuery.h"
#include "NrTransaction.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QRegularExpression>
#include <QSqlQuery>

using namespace Qt::Literals::StringLiterals;

QMap<int, QString> KbrSchema::scripts(const QString &schemaFolder, bool postgreSQL)
{
    const QDir dir(QDir(schemaFolder).filePath(postgreSQL ? u"postgresql"_s : u"sqlite"_s));
    static const QRegularExpression name(u"^(\\d{3})_.*\\.sql$"_s, QRegularExpression::CaseInsensitiveOption);
    QMap<int, QString> found;
    for (const QString &file : dir.entryList(QDir::Files, QDir::Name)) {
        const auto m = name.match(file);
        if (m.hasMatch())
            found.insert(m.captured(1).toInt(), dir.filePath(file));
    }
    if (found.isEmpty())
        throw EInOutError(u"Nessuno script dello schema del database in «%1»"_s.arg(dir.path()));
    int expected = 1;
    for (auto it = found.cbegin(); it != found.cend(); ++it, ++expected) {
        if (it.key() != expected)
            throw EInOutError(u"Script dello schema in «%1»: manca la versione %2"_s.arg(dir.path()).arg(expected));
    }
    return found;
}

int KbrSchema::currentVersion(TdmNrConnection &connection)
{
    // Read through statements that fail loudly: a database held by another
    // program or a damaged file must never pass for one without a schema.
    auto fail = [&](const QString &why) {
        throw EDatabaseError(
            u"Impossibile leggere la versione dello schema del database %1: %2"_s.arg(connection.describe(), why));
    };
    QSqlQuery present(connection.database());
    NrServerRoundTrip roundTrip(connection);
    const QString catalogue =
        connection.isPostgreSQL()
            ? u"SELECT COUNT(*) FROM information_schema.tables WHERE LOWER(table_name) = 'tnrv_versioneschema' "
              "AND table_schema = ANY (current_schemas(false))"_s
            : u"SELECT COUNT(*) FROM sqlite_master WHERE type = 'table' AND LOWER(name) = 'tnrv_versioneschema'"_s;
    if (!present.exec(catalogue) || !present.next())
        fail(connection.errorText(present.lastError()));
    if (present.value(0).toInt() == 0)
        return 0;
    QVariant version;
    try {
        TNrQuery q(connection);
        q.fetch(u"QRY_NRV_VERSIONE"_s, 0, u"SELECT"_s);
        version = q.scalar();
    } catch (const EDatabaseError &e) {
        fail(e.message());
    }
    bool ok = false;
    const int value = version.toInt(&ok);
    if (version.isNull() || !ok || value < 1)
        fail(u"la tabella TNRV_VERSIONESCHEMA non contiene un numero di versione valido («%1»)"_s.arg(
            version.isNull() ? QString() : version.toString()));
    return value;
}

namespace {

KbrSchema::DataUpgrade &dataUpgrade()
{
    static KbrSchema::DataUpgrade upgrade;
    return upgrade;
}

// A copy of the SQLite database as it is, beside it, for the version it has;
// one left by an upgrade that did not go through is replaced.
QString backUp(TdmNrConnection &connection, int version)
{
    const QString file = connection.settings().database;
    const QString copy = u"%1.bak-v%2"_s.arg(file).arg(version);
    const QString partial = copy + u".tmp"_s;
    QFile::remove(partial);
    QSqlQuery q(connection.database());
    q.prepare(u"VACUUM INTO ?"_s);
    q.addBindValue(QDir::toNativeSeparators(partial));
    if (!q.exec()) {
        const QString why = connection.errorText(q.lastError());
        QFile::remove(partial);
        throw EInOutError(u"Impossibile copiare il database «%1» in «%2» prima di aggiornarlo: %3"_s.arg(
            QDir::toNativeSeparators(file), QDir::toNativeSeparators(copy), why));
    }
    if (QFile::exists(copy) && !QFile::remove(copy)) {
        QFile::remove(partial);
        throw EInOutError(u"Impossibile sostituire la copia «%1» del database prima di aggiornarlo"_s.arg(
            QDir::toNativeSeparators(copy)));
    }
    if (!QFile::rename(partial, copy)) {
        QFile::remove(partial);
        throw EInOutError(u"Impossibile scrivere la copia «%1» del database prima di aggiornarlo"_s.arg(
            QDir::toNativeSeparators(copy)));
    }
    return copy;
}

} // namespace

void KbrSchema::setDataUpgrade(DataUpgrade upgrade)
{
    dataUpgrade() = std::move(upgrade);
}

QStringList KbrSchema::ensure(TdmNrConnection &connection, const QString &schemaFolder, Creation creation)
{
    return ensure(connection, schemaFolder, -1, creation);
}

QStringList KbrSchema::ensure(TdmNrConnection &connection, const QString &schemaFolder, int upTo, Creation creation)
{
    const QMap<int, QString> all = scripts(schemaFolder, connection.isPostgreSQL());
    const int latest = all.lastKey();
    const int current = currentVersion(connection);
    if (current == 0 && creation == Creation::Refuse) {
        throw ENrError(
            u"Il database %1 non contiene le tabelle del programma: per crearle usare «elh770 crea-database», "
            "oppure indicare in «KbrPar.ini» il database della scuola."_s.arg(connection.describe()));
    }
    if (current > latest) {
        throw ENrError(u"Il database è stato creato da una versione più recente del programma "
                       "(schema versione %1, questo programma arriva alla versione %2): "
                       "aggiornare il programma prima di usare questo database."_s.arg(current)
                           .arg(latest));
    }
    const int target = upTo >= 0 ? std::min(upTo, latest) : latest;
    if (current >= target)
        return {};
    // An older database: a copy of the file first, then the scripts and the
    // program's own data in one transaction, so that a failure leaves it as
    // it was.
    QStringList notices;
    if (current > 0) {
        if (!connection.isPostgreSQL()) {
            notices.append(u"Il database %1 è stato aggiornato dalla versione %2 alla %3; la copia della versione %2 è "
                           "in «%4»."_s.arg(connection.describe())
                               .arg(current)
                               .arg(target)
                               .arg(QDir::toNativeSeparators(backUp(connection, current))));
        } else {
            notices.append(u"Il database %1 è stato aggiornato dalla versione %2 alla %3."_s.arg(connection.describe())
                               .arg(current)
                               .arg(target));
        }
    }
    const QString unchanged =
        current > 0 ? u" Il database è rimasto alla versione %1, com'era."_s.arg(current) : QString();
    TNrTransaction transaction(connection);
    transaction.StartTransaction();
    for (auto it = all.cbegin(); it != all.cend(); ++it) {
        if (it.key() <= current || it.key() > target)
            continue;
        QFile file(it.value());
        if (!file.open(QIODevice::ReadOnly))
            throw EInOutError(
                u"Impossibile leggere lo script dello schema «%1»: %2"_s.arg(it.value(), file.errorString())
                + unchanged);
        const QString script = QString::fromUtf8(file.readAll());
        for (const QString &statement : splitStatements(script)) {
            QSqlQuery q(connection.database());
            NrServerRoundTrip roundTrip(connection);
            if (!q.exec(statement)) {
                throw EDatabaseError(
                    u"Aggiornamento del database alla versione %1 (%2) non riuscito: %3"_s.arg(it.key()).arg(
                        QFileInfo(it.value()).fileName(), connection.errorText(q.lastError()))
                    + unchanged);
            }
        }
        TNrQuery version(connection);
        version.fetch(u"QRY_NRV_AGGIORNA"_s);
        version.setParam(u"INRVVERSIONE"_s, it.key());
        version.execute();
    }
    if (current > 0 && target == latest && dataUpgrade()) {
        try {
            notices.append(dataUpgrade()(connection));
        } catch (const Exception &e) {
            throw EDatabaseError(
                u"Aggiornamento del database alla versione %1 non riuscito: %2"_s.arg(target).arg(e.message())
                + unchanged);
        }
    }
    transaction.Commit();
    return notices;
}

QStringList KbrSchema::splitStatements(const QString &script)
{
    QStringList statements;
    QString current;
    bool inQuote = false;
    bool inDollar = false;
    for (qsizetype i = 0; i < script.size(); ++i) {
        const QChar c = script.at(i);
        if (!inQuote && !inDollar && c == u'-' && script.mid(i, 2) == u"--") {
            while (i < script.size() && script.at(i) != u'\n')
                ++i;
            current += u'\n';
            continue;
        }
        if (!inQuote && c == u'$' && script.mid(i, 2) == u"$$") {
            inDollar = !inDollar;
            current += u"$$"_s;
            ++i;
            continue;
        }
        if (!inDollar && c == u'\'')
            inQuote = !inQuote;
        if (c == u';' && !inQuote && !inDollar) {
            if (!current.trimmed().isEmpty())
                statements.append(current.trimmed());
            current.clear();
            continue;
        }
        current += c;
    }
    if (!current.trimmed().isEmpty())
        statements.append(current.trimmed());
    return statements;
}
