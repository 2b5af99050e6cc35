#include "DatabaseTest.h"

#include <QSqlError>
#include <QSqlQuery>

#include <stdexcept>

void InstallationTest::SetUp()
{
    if (GetParam() == Engine::PostgreSQL && !PgTestServer::configured())
        GTEST_SKIP() << PgTestServer::skipMessage();
    m_messageScope = std::make_unique<MessageServiceScope>(&m_messages);
    m_installation = std::make_unique<TestInstallation>(GetParam());
    SetUpInstalled();
}

void InstallationTest::TearDown()
{
    m_installation.reset();
    m_messageScope.reset();
}

void DatabaseTest::SetUpInstalled()
{
    m_connection = std::make_unique<TdmkbrConnessione>();
    ASSERT_TRUE(m_connection->createDatabase()) << messages().texts().join(u'\n').toStdString();
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
