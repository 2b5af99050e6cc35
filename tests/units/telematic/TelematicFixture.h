#pragma once

#include "ElhMFile.h"
#include "ElhUFileWizard.h"
#include "NrFindings.h"
#include "QtPrinters.h"
#include "THlmDBCds.h"
#include "TdmkbrConnessione.h"
#include "TempDir.h"
#include "TestInstallation.h"

#include <QByteArray>
#include <QList>
#include <QMap>
#include <QString>

#include <gtest/gtest.h>

#include <functional>
#include <memory>
#include <vector>

// A temporary installation with a new SQLite school database holding the
// structures of every catalogued table, as "elh770 crea-database" makes it,
// the delivered descriptors and the year's local data folder; message boxes
// answered from a script.
class TelematicTest : public ::testing::Test
{
protected:
    TelematicTest();

    // The agent and the supplier of the demo school.
    void addDemoFrontispiece();
    // Appends {"records": [...]} to a table of 2023 through the store.
    void add(const QString &table, const QByteArray &json);

    // Runs both stages into a file of the temporary folder; fails the test
    // when stage 1 does not succeed. Returns the file's path.
    // `prospettiSv`: the answer on the page of the Prospetti DI, ST, SV, SX.
    QString generate(bool prospettiSv = true);
    // The open data module and wizard of the last run.
    TdmElhFile &dm() { return *m_dm; }
    FileWizard &wizard() { return *m_wizard; }
    FileWizard &openWizard();
    // The findings as the command line prints them: "<level>: <text>".
    QStringList told() const;

    // Checks the lines of a produced supply file, expects the supply check to
    // find nothing in it, compares its bytes with its golden file under
    // golden/ (ELH_UPDATE_GOLDEN=1 writes the golden file instead), and
    // expects the prints of the return to show every element of the file on
    // the page of its module, line and point.
    void expectGolden(const QString &produced, const QString &goldenName);

    // Writes a file of the installation and returns its path.
    QString write(const QString &relative, const QByteArray &bytes) const
    {
        return installation.write(relative, bytes);
    }

    // The temporary folder of the installation, its data root.
    QString file(const QString &relative) const { return installation.root() + relative; }

    // What the wizard tells.
    FindingList findings;
    TestInstallation installation{Engine::SQLite};
    TdmkbrConnessione connection;
    THlmDBCds store{2023, QStringLiteral("elh"), 0};

private:
    std::unique_ptr<TdmElhFile> m_dm;
    std::unique_ptr<FileWizard> m_wizard;
};

// The rows of a case file of data/: one a line, its columns separated by
// tabs; "\t" and "\n" in a column stand for a tab and a line break; a line
// that starts with "#" is a comment.
std::vector<QStringList> caseRows(const QString &name);
// A case's test name: its row number and its first column, in letters and digits.
std::string caseName(const testing::TestParamInfo<QStringList> &info);

// The message of the Exception that `run` raises; empty when it raises none.
QString errorOf(const std::function<void()> &run);
// The lines of a supply file, each checked to be 1,898 bytes ended by CR LF.
QList<QByteArray> supplyLines(const QString &path);
