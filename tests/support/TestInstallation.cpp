#include "TestInstallation.h"

#include "DataPaths.h"

#include <QCoreApplication>
#include <QDir>
#include <QDirIterator>
#include <QFile>
#include <QSettings>
#include <QSqlDatabase>
#include <QSqlError>
#include <QSqlQuery>
#include <QUuid>

#include <stdexcept>

using namespace Qt::Literals::StringLiterals;

std::string engineName(const testing::TestParamInfo<Engine> &info)
{
    return info.param == Engine::SQLite ? "SQLite" : "PostgreSQL";
}

namespace {

QString env(const char *name, const QString &fallback)
{
    const QString v = qEnvironmentVariable(name);
    return v.isEmpty() ? fallback : v;
}

// Runs a maintenance statement on the server's administration database. The
// database names are made up here from a UUID, never from input.
void administer(const QString &statement)
{
    const QString name = u"elh-test-admin-"_s + QUuid::createUuid().toString(QUuid::WithoutBraces);
    {
        QSqlDatabase db = QSqlDatabase::addDatabase(u"QPSQL"_s, name);
        const NrConnectionSettings s = PgTestServer::settings(env("ELH_TEST_PG_DBNAME", u"postgres"_s));
        db.setHostName(s.host);
        db.setPort(s.port);
        db.setUserName(s.user);
        db.setDatabaseName(s.database);
        if (!db.open())
            throw std::runtime_error("PostgreSQL di prova non raggiungibile: " + db.lastError().text().toStdString());
        QSqlQuery q(db);
        if (!q.exec(statement))
            throw std::runtime_error(statement.toStdString() + ": " + q.lastError().text().toStdString());
    }
    QSqlDatabase::removeDatabase(name);
}

} // namespace

bool PgTestServer::configured()
{
    return !qEnvironmentVariableIsEmpty("ELH_TEST_PG_PORT");
}

std::string PgTestServer::skipMessage()
{
    return "PostgreSQL di prova non configurato: avviarlo con "
           "eval \"$(scripts/postgres-test-server start)\" (ELH_TEST_PG_PORT non impostata)";
}

QString PgTestServer::createDatabase()
{
    const QString name = u"elh_t_"_s + QUuid::createUuid().toString(QUuid::Id128);
    administer(u"CREATE DATABASE "_s + name + u" TEMPLATE template0 ENCODING 'UTF8'"_s);
    return name;
}

void PgTestServer::dropDatabase(const QString &name)
{
    administer(u"DROP DATABASE IF EXISTS "_s + name + u" WITH (FORCE)"_s);
}

NrConnectionSettings PgTestServer::settings(const QString &database)
{
    NrConnectionSettings s;
    s.driver = u"QPSQL"_s;
    s.database = database;
    s.host = env("ELH_TEST_PG_HOST", u"127.0.0.1"_s);
    s.port = env("ELH_TEST_PG_PORT", u"5432"_s).toInt();
    s.user = env("ELH_TEST_PG_USER", u"elh"_s);
    return s;
}

QString TestInstallation::buildDefinitionsFolder()
{
    return QStringLiteral(ELH_BUILD_ROOT "/etc/kbr/");
}

TestInstallation::TestInstallation(Engine engine)
    : m_engine(engine)
{
    QCoreApplication::setApplicationName(u"elh770"_s);
    QCoreApplication::setApplicationVersion(QStringLiteral(ELH_VERSION));
    copyFromBuild(u"etc/kbr/"_s);
    QDir().mkpath(root() + u"usr/kbr"_s);
    if (engine == Engine::PostgreSQL) {
        m_pgDatabase = PgTestServer::createDatabase();
        m_settings = PgTestServer::settings(m_pgDatabase);
    } else {
        m_settings.driver = u"QSQLITE"_s;
        m_settings.database = root() + u"usr/kbr/kbr.sqlite"_s;
    }
    writeSettings(m_settings);
    DataPaths::setDataRoot(root());
}

TestInstallation::~TestInstallation()
{
    DataPaths::setDataRoot(QString());
    if (!m_pgDatabase.isEmpty()) {
        try {
            PgTestServer::dropDatabase(m_pgDatabase);
        } catch (const std::exception &e) {
            ADD_FAILURE() << e.what();
        }
    }
}

void TestInstallation::copyFromBuild(const QString &folder)
{
    const QString from = DataPaths::resolve(QStringLiteral(ELH_BUILD_ROOT), folder);
    QDirIterator it(from, QDir::Files, QDirIterator::Subdirectories);
    while (it.hasNext()) {
        const QString file = it.next();
        const QString to = root() + folder + QDir(from).relativeFilePath(file);
        QDir().mkpath(QFileInfo(to).path());
        if (!QFile::copy(file, to))
            throw std::runtime_error("cannot copy " + file.toStdString());
    }
}

void TestInstallation::writeSettings(const NrConnectionSettings &settings)
{
    m_settings = settings;
    QFile::remove(settingsFile());
    QSettings ini(settingsFile(), QSettings::IniFormat);
    ini.setValue(u"Database/Driver"_s, settings.driver);
    ini.setValue(u"Database/Database"_s, settings.database);
    if (!settings.host.isEmpty())
        ini.setValue(u"Database/Host"_s, settings.host);
    if (settings.port > 0)
        ini.setValue(u"Database/Port"_s, settings.port);
    if (!settings.user.isEmpty())
        ini.setValue(u"Database/User"_s, settings.user);
    if (settings.waitSeconds != NrConnectionSettings().waitSeconds)
        ini.setValue(u"Database/Attesa"_s, settings.waitSeconds);
    if (settings.silenceSeconds != NrConnectionSettings().silenceSeconds)
        ini.setValue(u"Database/Silenzio"_s, settings.silenceSeconds);
}
