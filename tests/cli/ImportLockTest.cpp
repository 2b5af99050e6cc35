#include "CdsExchange.h"
#include "ClientDataSet.h"
#include "DemoSchoolTest.h"
#include "NrReturnLock.h"
#include "THlmDBCds.h"

#include <QSet>
#include <QSqlQuery>

#include <gtest/gtest.h>

#include <array>

using namespace Qt::Literals::StringLiterals;

namespace {

const QString kRefused = u"Un'altra importazione è in corso su questa dichiarazione"_s;

// The demo school installed with the program, its database waiting the
// seconds given for a return that another run holds.
class ImportLock : public DemoSchoolTest
{
protected:
    void waitAtMost(int seconds)
    {
        NrConnectionSettings settings = installation().settings();
        settings.waitSeconds = seconds;
        installation().writeSettings(settings);
    }

    // Opens a table of the installed return through a connection of the
    // test and runs `work` on it.
    template<class Work>
    void onTable(const QString &program, const QString &table, Work work)
    {
        TdmkbrConnessione connection;
        ASSERT_TRUE(connection.OpenConnection());
        THlmDBCds store(2023, program, 0);
        store.setConnection(&connection);
        FindingList found;
        store.setFindings(found);
        ClientDataSet ds;
        store.open(ds, table);
        EXPECT_EQ(found.texts(), QStringList());
        work(ds, store, connection);
    }

    // The fiscal codes of the employees of the return; every record of the
    // return's tables must have its person.
    QStringList employees()
    {
        QStringList codes;
        onTable(u"elh"_s, u"TDIP7_ANAGRFISCALI"_s, [&codes](ClientDataSet &ds, THlmDBCds &, TdmkbrConnessione &c) {
            for (ds.first(); !ds.eof(); ds.next())
                codes.append(ds.fieldByName(u"SDIP7CODFIS"_s).asString());
            QSqlQuery orphans(c.database());
            EXPECT_TRUE(orphans.exec(u"SELECT COUNT(*) FROM TFIS_DATIFISCALI F WHERE F.IAFIID IS NOT NULL AND NOT "
                                     "EXISTS (SELECT 1 FROM TAFI_ANAFISCALE A WHERE A.IAFIID = F.IAFIID)"_s)
                        && orphans.next());
            EXPECT_EQ(orphans.value(0).toInt(), 0);
        });
        return codes;
    }
};

ELH_INSTANTIATE_ON_BOTH_ENGINES(ImportLock);

} // namespace

TEST_P(ImportLock, EveryRunThatWritesTheReturnWaitsForItThenIsRefused)
{
    waitAtMost(1);
    {
        TdmkbrConnessione connection;
        ASSERT_TRUE(connection.OpenConnection());
        const TNrReturnLock held(connection, u"elh"_s, 2023, 0);
        const QString folder = root() + u"estinto"_s;
        for (const QStringList &args : {QStringList{u"importa"_s, u"cu"_s},
                                        {u"importa"_s, u"autonomi"_s},
                                        {u"importa"_s, u"f24ep"_s},
                                        {u"importa"_s, u"anno-precedente"_s, u"dipendenti"_s},
                                        {u"integra"_s, u"dipendenti"_s, u"--cartella"_s, folder},
                                        {u"file-telematico"_s, u"--out"_s, root() + u"77024"_s}}) {
            const Outcome refused = run(args);
            EXPECT_EQ(refused.exitCode, 1) << args.join(u' ').toStdString();
            EXPECT_TRUE(refused.err.endsWith(kRefused + u": attendo al massimo 1 secondi…\n"_s + kRefused + u'\n'))
                << refused.err.toStdString();
        }
    }
    const Outcome imported = run({u"importa"_s, u"cu"_s});
    EXPECT_EQ(imported.exitCode, 0) << imported.err.toStdString();
}

TEST_P(ImportLock, TwoImportsAtOnceLeaveEachEmployeeOnceAndEveryRecordWithItsPerson)
{
    waitAtMost(120);
    QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
    env.insert(u"XDG_CONFIG_HOME"_s, root() + u"config"_s);
    std::array<QProcess, 2> runs;
    for (QProcess &run : runs) {
        run.setProcessEnvironment(env);
        run.start(root() + u"bin/elh770"_s, {u"importa"_s, u"cu"_s});
    }
    int done = 0;
    for (QProcess &run : runs) {
        ASSERT_TRUE(run.waitForFinished(240000));
        const QString out = QString::fromUtf8(run.readAllStandardOutput());
        const QString err = QString::fromUtf8(run.readAllStandardError());
        // The second one waited and ran after the first, or gave up saying why.
        if (run.exitCode() == 0) {
            EXPECT_TRUE(out.contains(u"Fine operazione: "_s)) << out.toStdString();
            ++done;
        } else {
            EXPECT_TRUE(err.endsWith(kRefused + u'\n')) << err.toStdString();
        }
    }
    EXPECT_GE(done, 1);
    const QStringList codes = employees();
    EXPECT_FALSE(codes.isEmpty());
    EXPECT_EQ(QSet<QString>(codes.cbegin(), codes.cend()).size(), codes.size()) << codes.join(u' ').toStdString();
}

TEST_P(ImportLock, ACertificationThatCannotBeImportedIsCountedAndTheCommandSaysSo)
{
    onTable(u"eli"_s, u"TCUD_DATICUD"_s, [](ClientDataSet &ds, THlmDBCds &payroll, TdmkbrConnessione &) {
        CdsExchange::appendJsonRecords(ds, R"({"records": [{"SCUDMESE": "12", "SCUDCOGNOME": "Senza",
                                                             "SCUDNOME": "Codice", "FCUDRITIRPEF": "1"}]})",
                                       u"TCUD_DATICUD"_s);
        payroll.save(ds, u"TCUD_DATICUD"_s);
    });
    const Outcome out = run({u"importa"_s, u"cu"_s});
    EXPECT_EQ(out.exitCode, 1);
    EXPECT_TRUE(out.out.contains(u"Dipendente Senza Codice\nCertificazione senza codice fiscale: non importata\n"_s))
        << out.out.toStdString();
    EXPECT_TRUE(out.out.endsWith(u"Fine operazione: 5 su 6 persone importate, 1 non importata.\n"_s))
        << out.out.toStdString();
    EXPECT_TRUE(out.err.endsWith(u"\nNon importate: Senza Codice\n"_s)) << out.err.toStdString();
}

TEST_P(ImportLock, TheEmployeesOfAnExtinctSchoolAreIntegratedOnce)
{
    // The school's own export under another agent's code.
    const QString folder = root() + u"estinta"_s;
    ASSERT_EQ(run({u"esporta"_s, folder}).exitCode, 0);
    ClientDataSet agent;
    agent.loadFromFile(folder + u"/TSOS_DATOSOSTITUTO.cds"_s);
    agent.edit();
    agent.fieldByName(u"SSOSCODFIS"_s).setAsString(u"80009870546"_s);
    agent.post();
    agent.saveToFile(folder + u"/TSOS_DATOSOSTITUTO.cds"_s);
    const QStringList integrate{u"integra"_s, u"dipendenti"_s, u"--cartella"_s, folder};
    const Outcome once = run(integrate);
    ASSERT_EQ(once.exitCode, 0) << once.err.toStdString();
    const QStringList employeesOnce = employees();
    const Outcome again = run(integrate);
    EXPECT_EQ(again.exitCode, 0) << again.err.toStdString();
    EXPECT_TRUE(again.out.contains(u"Dati del sostituto estinto già integrati"_s)) << again.out.toStdString();
    EXPECT_EQ(employees(), employeesOnce);
}
