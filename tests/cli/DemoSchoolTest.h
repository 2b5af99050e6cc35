#pragma once

#include "DatabaseTest.h"
#include "Elh770Process.h"

// The program installed with the delivered folder of the year of the build
// tree and the demo school's database made by "crea-database --demo". Only
// the delivered folder is copied: the build tree's USR may also hold what a
// program run there wrote (settings, a database, data).
class DemoSchoolTest : public InstallationTest
{
protected:
    void SetUpInstalled() override
    {
        ASSERT_TRUE(installProgram(root()));
        ASSERT_TRUE(copyTree(QStringLiteral(ELH_DATA_ROOT "/USR/FL2023"), root() + QStringLiteral("USR/FL2023")));
        const Outcome created = run({QStringLiteral("crea-database"), QStringLiteral("--demo")});
        ASSERT_EQ(created.exitCode, 0) << created.err.toStdString();
    }

    QString root() { return installation().root(); }
    Outcome run(const QStringList &args) { return runInstalled(root(), args); }
};
