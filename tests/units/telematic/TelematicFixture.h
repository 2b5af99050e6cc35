#pragma once

#include "telematic/ElhMFile.h"
#include "telematic/ElhUFileWizard.h"
#include "telematic/ElhUReturnTables.h"
#include "NrMessages.h"
#include "QtPrinters.h"
#include "TempDir.h"

#include <QByteArray>
#include <QList>
#include <QMap>
#include <QString>

#include <gtest/gtest.h>

#include <functional>
#include <memory>

// The return's tables held as packed datasets in memory, each created with
// its catalogued structure on first use.
class CatalogueTables : public ReturnTables
{
public:
    void open(ClientDataSet &dataSet, const QString &table) override;
    void save(ClientDataSet &dataSet, const QString &table) override;
    // Appends {"records": [...]} to a table.
    void append(const QString &table, const QByteArray &json);
    int saves(const QString &table) const { return m_saves.value(table); }

private:
    QMap<QString, QByteArray> m_packets;
    QMap<QString, int> m_saves;
};

// "Si" or "No" on the pages of the wizard.
struct Options
{
    bool prospettiSv = true;
    bool prospettoSy = true;
};

// A data root of its own with the delivered descriptors and the year's
// local data folder; message boxes answered from a script.
class TelematicTest : public ::testing::Test
{
protected:
    TelematicTest();
    ~TelematicTest() override;

    // The agent and the supplier of the demo school.
    void addDemoFrontispiece();
    // Every table of the demo school's return.
    void addDemoReturn();
    void add(const QString &table, const QByteArray &json) { tables.append(table, json); }

    // Runs both stages into a file of the temporary folder; fails the test
    // when stage 1 does not succeed. Returns the file's path.
    QString generate(const Options &options);
    QString generate() { return generate(Options()); }
    // The open data module and wizard of the last run.
    TdmElhFile &dm();
    FileWizard &wizard();
    FileWizard &openWizard(const Options &options = Options());

    // Replaces a delivered descriptor of the temporary root.
    void writeDescriptor(const QString &kind, const QByteArray &xml);

    TempDir root;
    CatalogueTables tables;
    ScriptedMessageService messages;
    MessageServiceScope scope{&messages};

private:
    std::unique_ptr<TdmElhFile> m_dm;
    std::unique_ptr<FileWizard> m_wizard;
};

// The message of the Exception that `run` raises; empty when it raises none.
QString errorOf(const std::function<void()> &run);
// The lines of a supply file, each checked to be 1,898 bytes ended by CR LF.
QList<QByteArray> supplyLines(const QString &path);
// The bytes of a file, empty when it cannot be read.
QByteArray readFile(const QString &path);
// The 24-character elements of a record D, I or J after its 89-character header.
QList<QByteArray> elements(const QByteArray &record);
// Compares a produced supply file with its golden file under golden/;
// ELH_UPDATE_GOLDEN=1 writes the golden file instead.
void expectGolden(const QString &produced, const QString &goldenName);
