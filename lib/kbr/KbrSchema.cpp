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
    bool present = false;
    for (const QString &t : connection.database().tables()) {
        if (t.compare(u"TNRV_VERSIONESCHEMA"_s, Qt::CaseInsensitive) == 0 || t.endsWith(u".tnrv_versioneschema"_s, Qt::CaseInsensitive))
            present = true;
    }
    if (!present)
        return 0;
    TNrQuery q(connection);
    q.fetch(u"QRY_NRV_VERSIONE"_s, 0, u"SELECT"_s);
    return q.scalar().toInt();
}

void KbrSchema::ensure(TdmNrConnection &connection, const QString &schemaFolder)
{
    ensure(connection, schemaFolder, -1);
}

void KbrSchema::ensure(TdmNrConnection &connection, const QString &schemaFolder, int upTo)
{
    const QMap<int, QString> all = scripts(schemaFolder, connection.isPostgreSQL());
    const int latest = all.lastKey();
    const int current = currentVersion(connection);
    if (current > latest) {
        throw ENrError(u"Il database è stato creato da una versione più recente del programma "
                       "(schema versione %1, questo programma arriva alla versione %2): "
                       "aggiornare il programma prima di usare questo database."_s
                           .arg(current)
                           .arg(latest));
    }
    for (auto it = all.cbegin(); it != all.cend(); ++it) {
        if (it.key() <= current || (upTo >= 0 && it.key() > upTo))
            continue;
        QFile file(it.value());
        if (!file.open(QIODevice::ReadOnly))
            throw EInOutError(u"Impossibile leggere lo script dello schema «%1»: %2"_s.arg(it.value(), file.errorString()));
        const QString script = QString::fromUtf8(file.readAll());
        TNrTransaction transaction(connection);
        transaction.StartTransaction();
        for (const QString &statement : splitStatements(script)) {
            QSqlQuery q(connection.database());
            if (!q.exec(statement)) {
                throw EDatabaseError(u"Aggiornamento del database alla versione %1 (%2) non riuscito: %3"_s
                                         .arg(it.key())
                                         .arg(QFileInfo(it.value()).fileName(), NrSqlErrorText(q.lastError())));
            }
        }
        TNrQuery version(connection);
        version.fetch(u"QRY_NRV_AGGIORNA"_s);
        version.setParam(u"INRVVERSIONE"_s, it.key());
        version.execute();
        transaction.Commit();
    }
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
