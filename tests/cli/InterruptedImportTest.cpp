// A CU import killed at a random moment, as a power cut or the task manager
// would stop it, then run again: what is left in between is whole people, and
// the rerun gives what one uninterrupted run gives.

#include "ClientDataSet.h"
#include "Elh770Process.h"
#include "PayrollDatabaseTest.h"

#include <QDirIterator>
#include <QElapsedTimer>
#include <QRandomGenerator>
#include <QSettings>
#include <QThread>

#include <gtest/gtest.h>

using namespace Qt::Literals::StringLiterals;

namespace {

constexpr int kPeople = 200;

// The rows of every table of an export, without the numbers the store gives
// (record and person), sorted: two returns with the same data read the same.
QMap<QString, QStringList> contents(const QString &folder)
{
    QMap<QString, QStringList> tables;
    QDirIterator it(folder, {u"*.cds"_s}, QDir::Files);
    while (it.hasNext()) {
        const QString file = it.next();
        ClientDataSet ds;
        ds.loadFromFile(file);
        QStringList rows;
        for (ds.first(); !ds.eof(); ds.next()) {
            QStringList values;
            for (int i = 0; i < ds.fieldCount(); ++i) {
                const Field &f = ds.field(i);
                if (f.fieldName() != u"IFISRIGO" && f.fieldName() != u"IAFIID")
                    values.append(f.fieldName() + u'=' + f.asString());
            }
            rows.append(values.join(u' '));
        }
        rows.sort();
        tables.insert(QFileInfo(file).fileName(), rows);
    }
    return tables;
}

// What differs between two exports, as text: empty when they are the same.
std::string differences(const QMap<QString, QStringList> &a, const QMap<QString, QStringList> &b)
{
    QStringList lines;
    for (const QString &table : QSet<QString>(a.keyBegin(), a.keyEnd()) | QSet<QString>(b.keyBegin(), b.keyEnd())) {
        const QStringList rowsA = a.value(table);
        const QStringList rowsB = b.value(table);
        for (const QString &row : rowsA) {
            if (!rowsB.contains(row))
                lines.append(table + u" - "_s + row);
        }
        for (const QString &row : rowsB) {
            if (!rowsA.contains(row))
                lines.append(table + u" + "_s + row);
        }
    }
    return lines.join(u'\n').toStdString();
}

// The demo school with two hundred more certifications in its payroll, and
// the program installed beside it, each run on a copy of the database.
class InterruptedImport : public PayrollDatabaseTest
{
protected:
    void SetUpOpened() override
    {
        ReturnDatabaseTest::SetUpOpened();
        loadDemo();
        certifyPeople(kPeople);
        ASSERT_TRUE(installProgram(root()));
        // The program reads the user's parameters from its own settings folder.
        QDir().mkpath(root() + u"config/elh770"_s);
        ASSERT_TRUE(QFile::copy(root() + u"NruParams.ini"_s, root() + u"config/elh770/NruParams.ini"_s));
        exec(u"VACUUM INTO ?"_s, {database(u"base"_s)});
    }

    QString root() { return installation().root(); }
    QString database(const QString &name) { return root() + u"usr/kbr/"_s + name + u".sqlite"_s; }

    // The program works on a copy of a database from here on.
    void useCopy(const QString &from, const QString &to)
    {
        QFile::remove(database(to));
        ASSERT_TRUE(QFile::copy(database(from), database(to)));
        QSettings ini(installation().settingsFile(), QSettings::IniFormat);
        ini.setValue(u"Database/Database"_s, QString(to + u".sqlite"_s));
        ini.sync();
    }

    Outcome run(const QStringList &args) { return runInstalled(root(), args); }

    QMap<QString, QStringList> exported(const QString &name)
    {
        const Outcome out = run({u"esporta"_s, root() + name});
        EXPECT_EQ(out.exitCode, 0) << out.err.toStdString();
        return contents(root() + name);
    }

    // Runs the command and kills it after a random part of `duration`.
    void killDuring(const QStringList &args, qint64 duration)
    {
        const qint64 wait = QRandomGenerator::global()->bounded(duration * 9 / 10) + duration / 20;
        SCOPED_TRACE("killed after " + std::to_string(wait) + " ms of " + std::to_string(duration));
        QProcess p;
        QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
        env.insert(u"XDG_CONFIG_HOME"_s, root() + u"config"_s);
        p.setProcessEnvironment(env);
        p.start(root() + u"bin/elh770"_s, args);
        ASSERT_TRUE(p.waitForStarted());
        QThread::msleep(static_cast<unsigned long>(wait));
        p.kill();
        p.waitForFinished();
    }

    // Runs the command to its end and says how long it took, in ms.
    qint64 timed(const QStringList &args)
    {
        QElapsedTimer clock;
        clock.start();
        const Outcome out = run(args);
        EXPECT_EQ(out.exitCode, 0) << out.out.toStdString() << out.err.toStdString();
        return std::max<qint64>(clock.elapsed(), 20);
    }

    // The rows of a table that an export holds for a fiscal code.
    static QStringList of(const QMap<QString, QStringList> &tables, const QString &table, const QString &code)
    {
        QStringList rows;
        for (const QString &row : tables.value(table + u".cds"_s)) {
            if (row.contains(u"SDIP7CODFIS="_s + code + u' '))
                rows.append(row);
        }
        return rows;
    }
};

INSTANTIATE_TEST_SUITE_P(Engines, InterruptedImport, testing::Values(Engine::SQLite), engineName);

} // namespace

TEST_P(InterruptedImport, AKilledCuImportLeavesWholePeopleAndItsRerunGivesWhatOneRunGives)
{
    const QStringList import{u"importa"_s, u"cu"_s};
    useCopy(u"base"_s, u"whole"_s);
    const qint64 duration = timed(import);
    const auto whole = exported(u"intero"_s);
    ASSERT_EQ(of(whole, u"TDIP7_ANAGRFISCALI"_s, personCode(7)).size(), 1);

    // Twice, so that a kill lands inside the run more often than not.
    for (int attempt = 0; attempt < 2; ++attempt) {
        useCopy(u"base"_s, u"killed"_s);
        killDuring(import, duration);
        // Whoever is there is there whole: his additional taxes written with him.
        const auto killed = exported(u"interrotto"_s);
        for (int n = 0; n < kPeople; ++n) {
            const QStringList employee = of(killed, u"TDIP7_ANAGRFISCALI"_s, personCode(n));
            if (!employee.isEmpty()) {
                EXPECT_EQ(employee, of(whole, u"TDIP7_ANAGRFISCALI"_s, personCode(n))) << n;
            }
        }
        const Outcome rerun = run(import);
        EXPECT_EQ(rerun.exitCode, 0) << rerun.err.toStdString();
        EXPECT_EQ(differences(exported(u"ripreso"_s), whole), "");
    }
}
