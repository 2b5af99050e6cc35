#include "DatabaseTest.h"

#include <QSqlError>
#include <QSqlQuery>

#include <stdexcept>

using namespace Qt::Literals::StringLiterals;

void InstallationTest::SetUp()
{
    if (GetParam() == Engine::PostgreSQL && !PgTestServer::configured())
        GTEST_SKIP() << PgTestServer::skipMessage();
    m_installation = std::make_unique<TestInstallation>(GetParam());
    SetUpInstalled();
}

void InstallationTest::TearDown()
{
    m_installation.reset();
}

void DatabaseTest::SetUpInstalled()
{
    m_connection = std::make_unique<TdmkbrConnessione>();
    m_connection->setFindings(findings());
    ASSERT_TRUE(m_connection->createDatabase()) << findings().texts().join(u'\n').toStdString();
    SetUpOpened();
}

void DatabaseTest::TearDown()
{
    m_connection.reset();
    InstallationTest::TearDown();
}

namespace {

QSqlQuery run(const QSqlDatabase &db, const QString &sql, const QVariantList &values)
{
    QSqlQuery q(db);
    // PostgreSQL prepares no DDL: statements without values run as they are.
    if (values.isEmpty()) {
        if (!q.exec(sql))
            throw std::runtime_error(sql.toStdString() + ": " + q.lastError().text().toStdString());
        return q;
    }
    if (!q.prepare(sql))
        throw std::runtime_error(sql.toStdString() + ": " + q.lastError().text().toStdString());
    for (qsizetype i = 0; i < values.size(); ++i)
        q.bindValue(static_cast<int>(i), values.at(i));
    if (!q.exec())
        throw std::runtime_error(sql.toStdString() + ": " + q.lastError().text().toStdString());
    return q;
}

} // namespace

QVariant DatabaseTest::scalar(const QString &sql, const QVariantList &values)
{
    QSqlQuery q = run(m_connection->database(), sql, values);
    return q.next() ? q.value(0) : QVariant();
}

void DatabaseTest::exec(const QString &sql, const QVariantList &values)
{
    run(m_connection->database(), sql, values);
}

void DatabaseTest::refuseStoredText(const QString &text)
{
    // The text of the tests goes into the trigger, which takes no parameters.
    const QString quoted = u"'"_s + QString(text).replace(u"'"_s, u"''"_s) + u"'"_s;
    if (GetParam() == Engine::SQLite) {
        exec(u"CREATE TRIGGER TR_GUASTO BEFORE INSERT ON TFIS_DATIFISCALI WHEN NEW.SFISVALUE = %1 "
             "BEGIN SELECT RAISE(ABORT, 'guasto simulato'); END"_s.arg(quoted));
    } else {
        exec(u"CREATE FUNCTION F_GUASTO() RETURNS trigger LANGUAGE plpgsql AS $$ BEGIN "
             "IF NEW.SFISVALUE = %1 THEN RAISE EXCEPTION 'guasto simulato'; END IF; RETURN NEW; END $$"_s.arg(quoted));
        exec(u"CREATE TRIGGER TR_GUASTO BEFORE INSERT ON TFIS_DATIFISCALI FOR EACH ROW EXECUTE FUNCTION F_GUASTO()"_s);
    }
}
