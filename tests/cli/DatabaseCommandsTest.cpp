#include "DatabaseTest.h"
#include "Elh770Process.h"

#include <QDir>
#include <QFile>
#include <QSettings>
#include <QSqlDatabase>
#include <QSqlQuery>
#include <QUuid>

#include <gtest/gtest.h>

using namespace Qt::Literals::StringLiterals;

namespace {

// A copy of the program installed as a school would have it: bin/elh770,
// etc/kbr, usr/kbr/KbrPar.ini and the initial database folder with the
// test catalogue and demo data.
class Installed : public InstallationTest
{
protected:
    void SetUpInstalled() override
    {
        ASSERT_TRUE(installProgram(installation().root()));
        const QString data = QStringLiteral(ELH_TEST_DATA);
        const QString initial = installation().root() + u"USR/FL2023/DbIniziale/"_s;
        for (const QString &file : {u"Catalogo.json"_s, u"Demo/TSOS_DATOSOSTITUTO.json"_s,
                                    u"Demo/TSOS_DATOSOSTITUTO.2022.json"_s, u"Demo/TPST_PROSPETTOST.json"_s}) {
            QDir().mkpath(QFileInfo(initial + file).path());
            ASSERT_TRUE(QFile::copy(data + u'/' + file, initial + file));
        }
    }

    QString userSettings() { return installation().root() + u"config/elh770/NruParams.ini"_s; }
    Outcome run(const QStringList &args) { return runInstalled(installation().root(), args); }

    // Reads the database the program wrote, through a connection of the test.
    QVariant scalar(const QString &sql)
    {
        const QString name = QUuid::createUuid().toString();
        QVariant result;
        {
            const NrConnectionSettings s = installation().settings();
            QSqlDatabase db = QSqlDatabase::addDatabase(s.driver, name);
            db.setDatabaseName(s.database);
            db.setHostName(s.host);
            if (s.port > 0)
                db.setPort(s.port);
            db.setUserName(s.user);
            EXPECT_TRUE(db.open());
            QSqlQuery q(db);
            EXPECT_TRUE(q.exec(sql)) << sql.toStdString();
            if (q.next())
                result = q.value(0);
        }
        QSqlDatabase::removeDatabase(name);
        return result;
    }
};

} // namespace

ELH_INSTANTIATE_ON_BOTH_ENGINES(Installed);

TEST_P(Installed, CreatesTheDatabaseWithTheDemoSchoolAndExportsIt)
{
    const Outcome created = run({u"crea-database"_s, u"--demo"_s});
    ASSERT_EQ(created.exitCode, 0) << created.err.toStdString();
    EXPECT_TRUE(created.out.startsWith(u"Database creato: "_s)) << created.out.toStdString();
    EXPECT_TRUE(created.out.contains(u"5 tabelle per gli anni 2022 e 2023"_s));
    EXPECT_TRUE(created.out.contains(u"TPST_PROSPETTOST.json, TSOS_DATOSOSTITUTO.2022.json"_s));
    // The agent the demo data hold, not a fixed code.
    EXPECT_TRUE(created.out.contains(u"Scuola dimostrativa: sostituto «ISTITUTO COMPRENSIVO STATALE DEMO» con codice "
                                     u"fiscale 80098765433 (anno 2023); dati dimostrativi caricati: "_s))
        << created.out.toStdString();

    EXPECT_EQ(scalar(u"SELECT COUNT(*) FROM TCDS_STRUTTURA"_s).toInt(), 10);
    EXPECT_EQ(scalar(u"SELECT COUNT(*) FROM TSED_SEDI WHERE IDWGID = 1"_s).toInt(), 1);
    QSettings user(userSettings(), QSettings::IniFormat);
    EXPECT_EQ(user.value(u"NRUC_Params/NRUP_AnsId"_s).toInt(), 2023);
    EXPECT_EQ(user.value(u"NRUC_Params/NRUP_AnfId"_s).toInt(), 2023);
    EXPECT_EQ(user.value(u"NRUC_Params/NRUP_DwgId"_s).toInt(), 1);

    const QString folder = installation().root() + u"esportazione"_s;
    const Outcome exported = run({u"esporta"_s, folder});
    ASSERT_EQ(exported.exitCode, 0) << exported.err.toStdString();
    EXPECT_EQ(QDir(folder).entryList(QDir::Files, QDir::Name),
              (QStringList{u"ESPORTAZIONE.cds"_s, u"TDIP7_ANAGRFISCALI.cds"_s, u"TFOR_FORNITORE.cds"_s,
                           u"TPST_PROSPETTOST.cds"_s, u"TSOS_DATOSOSTITUTO.cds"_s}));
    // The export replaces a folder of its own tables, never one that holds more.
    ASSERT_EQ(run({u"esporta"_s, folder}).exitCode, 0);
    QFile note(folder + u"/nota.txt"_s);
    ASSERT_TRUE(note.open(QIODevice::WriteOnly));
    note.close();
    const Outcome refused = run({u"esporta"_s, folder});
    EXPECT_EQ(refused.exitCode, 1);
    EXPECT_TRUE(refused.err.startsWith(u"La cartella «%1» contiene «nota.txt»"_s.arg(folder)))
        << refused.err.toStdString();
    EXPECT_EQ(QDir(folder).entryList(QDir::Files).size(), 6);
    // A folder that cannot be made is told.
    const Outcome blocked = run({u"esporta"_s, note.fileName() + u"/sotto"_s});
    EXPECT_EQ(blocked.exitCode, 1);
    EXPECT_TRUE(blocked.err.contains(u"Impossibile creare la directory specificata."_s)) << blocked.err.toStdString();
    EXPECT_EQ(run({u"esporta"_s}).exitCode, 2);

    const Outcome again = run({u"crea-database"_s});
    EXPECT_EQ(again.exitCode, 1);
    EXPECT_TRUE(again.err.contains(u"contiene già le strutture delle tabelle: non viene creato di nuovo"_s))
        << again.err.toStdString();
    EXPECT_EQ(scalar(u"SELECT COUNT(*) FROM TCDS_STRUTTURA"_s).toInt(), 10);
    EXPECT_EQ(run({u"crea-database"_s, u"--tutto"_s}).exitCode, 2);
}

TEST_P(Installed, ABadCatalogueCreatesNothing)
{
    QFile catalogue(installation().root() + u"USR/FL2023/DbIniziale/Catalogo.json"_s);
    ASSERT_TRUE(catalogue.open(QIODevice::Append));
    catalogue.write("{");
    catalogue.close();
    const Outcome created = run({u"crea-database"_s, u"--demo"_s});
    EXPECT_EQ(created.exitCode, 1);
    EXPECT_TRUE(created.err.contains(u"Catalogo delle tabelle «"_s)) << created.err.toStdString();
    EXPECT_EQ(scalar(u"SELECT COUNT(*) FROM TCDS_STRUTTURA"_s).toInt(), 0);
    EXPECT_FALSE(QFile::exists(userSettings()));
}
