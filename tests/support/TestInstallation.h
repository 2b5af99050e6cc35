#pragma once

#include "NrConnection.h"
#include "TempDir.h"

#include <QString>

#include <gtest/gtest.h>

#include <string>

// The two engines the store runs on; tests parameterised over them run the
// same code on both.
enum class Engine { SQLite, PostgreSQL };

std::string engineName(const testing::TestParamInfo<Engine> &info);

// The PostgreSQL server of the tests, named by the environment that
// scripts/postgres-test-server prints: ELH_TEST_PG_PORT (required),
// ELH_TEST_PG_HOST (127.0.0.1), ELH_TEST_PG_USER (elh), ELH_TEST_PG_DBNAME
// (postgres, the database used to create and drop the tests' own).
class PgTestServer
{
public:
    static bool configured();
    static std::string skipMessage();
    // A new empty database with a name of its own.
    static QString createDatabase();
    static void dropDatabase(const QString &name);
    static NrConnectionSettings settings(const QString &database);
};

// A temporary installation: a data root with the definitions folder of the
// build tree (etc/kbr: statements, certificate, schema scripts, reports) and
// usr/kbr/KbrPar.ini naming a new empty database of the engine (a SQLite file
// in usr/kbr, or a new PostgreSQL database dropped at the end). The data root
// of the process points to it while it lives, and the program identity is
// the one the statements declare.
class TestInstallation
{
public:
    explicit TestInstallation(Engine engine);
    ~TestInstallation();
    TestInstallation(const TestInstallation &) = delete;
    TestInstallation &operator=(const TestInstallation &) = delete;

    Engine engine() const { return m_engine; }
    QString root() const { return m_dir.path() + u'/'; }
    QString definitionsFolder() const { return root() + QStringLiteral("etc/kbr/"); }
    QString settingsFile() const { return root() + QStringLiteral("usr/kbr/KbrPar.ini"); }
    const NrConnectionSettings &settings() const { return m_settings; }
    // Writes a file of the installation and returns its path.
    QString write(const QString &relative, const QByteArray &bytes) const { return m_dir.write(relative, bytes); }
    // Copies a folder of the build tree ("etc/kbr/", "USR/FL2023/") into the
    // same folder of the installation.
    void copyFromBuild(const QString &folder);
    // Rewrites KbrPar.ini.
    void writeSettings(const NrConnectionSettings &settings);
    // The definitions folder of the build tree, copied by every installation.
    static QString buildDefinitionsFolder();

private:
    Engine m_engine;
    TempDir m_dir;
    NrConnectionSettings m_settings;
    QString m_pgDatabase;
};
