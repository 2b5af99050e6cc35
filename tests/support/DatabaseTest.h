#pragma once

#include "NrFindings.h"
#include "TdmkbrConnessione.h"
#include "TestInstallation.h"

#include <QVariant>

#include <gtest/gtest.h>

#include <memory>

// A test run on each engine in a temporary installation, with the findings
// recorded. PostgreSQL runs are skipped, with the reason, when no test
// server is set. Tests set up more in SetUpInstalled().
class InstallationTest : public testing::TestWithParam<Engine>
{
protected:
    void SetUp() final;
    void TearDown() override;
    virtual void SetUpInstalled() {}

    TestInstallation &installation() { return *m_installation; }
    FindingList &findings() { return m_findings; }

private:
    FindingList m_findings;
    std::unique_ptr<TestInstallation> m_installation;
};

// The same with the installation's connection opened through the whole
// opening sequence, reporting to the findings; tests set up more in SetUpOpened().
class DatabaseTest : public InstallationTest
{
protected:
    void SetUpInstalled() final;
    void TearDown() override;
    virtual void SetUpOpened() {}

    TdmkbrConnessione &connection() { return *m_connection; }

    // Statements of the tests themselves, to set up and look at the database
    // behind the program's back; values are bound.
    QVariant scalar(const QString &sql, const QVariantList &values = {});
    void exec(const QString &sql, const QVariantList &values = {});
    // Makes the database refuse, with "guasto simulato", a value row of the
    // table store whose text is the given one.
    void refuseStoredText(const QString &text);

private:
    std::unique_ptr<TdmkbrConnessione> m_connection;
};

#define ELH_INSTANTIATE_ON_BOTH_ENGINES(Suite)                                                                         \
    INSTANTIATE_TEST_SUITE_P(Engines, Suite, testing::Values(Engine::SQLite, Engine::PostgreSQL), engineName)
