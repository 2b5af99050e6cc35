#include "ClientDataSet.h"
#include "DemoSchoolTest.h"
#include "FullFilesystem.h"
#include "THlmDBCds.h"

#include <QRegularExpression>

#include <gtest/gtest.h>

using namespace Qt::Literals::StringLiterals;

namespace {

QByteArray readFile(const QString &path)
{
    QFile f(path);
    return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray();
}

// The program installed with the data of the build tree: descriptors,
// initial working files, catalogue and demo data.
class FileTelematico : public DemoSchoolTest
{
};

ELH_INSTANTIATE_ON_BOTH_ENGINES(FileTelematico);

// The writers of the commands on a full disk; the engine plays no part.
class FullDisk : public FileTelematico
{
};

INSTANTIATE_TEST_SUITE_P(Engines, FullDisk, testing::Values(Engine::SQLite), engineName);

TEST_P(FileTelematico, WritesTheDemoSchoolsSupply)
{
    // The command carries the agent of 2022 over, as the first start of the year does.
    ASSERT_FALSE(QDir(root() + u"USR/FLDati"_s).exists());
    const QString out = root() + u"fornitura/77024"_s;
    QDir().mkpath(root() + u"fornitura"_s);
    const Outcome made = run({u"file-telematico"_s, u"--out"_s, out});
    ASSERT_EQ(made.exitCode, 0) << made.out.toStdString() << made.err.toStdString();
    EXPECT_EQ(made.out,
              u"ATTENDERE... Pulitura del file in corso...\n"
              u"Prosp. SS : Importazione \"Importi non prelevati a seguito di operazioni straordinarie\"\n"
              u"Prosp. SS : Importazione \"Sez. III - Ritenute da art. 25, del D.L. n. 78/2010\"\n"
              u"Prosp. SS : Importazione \"Sez. IV - Riservata al percipiente estero privo di codice fiscale\"\n"
              u"Generazione del Record D...\nGenerazione del Record I...\nGenerazione del Record J ...\n"
              u"Quadratura: 0 errori, 7 avvisi — vedere la finestra Quadratura\n"
              u"Controllo del file telematico: nessun problema.\n"
              u"Operazione terminata con successo.\n"_s);
    EXPECT_TRUE(
        made.err.contains(u"Attenzione: Generazione file completata con successo. Il file è presente in:\n"_s + out))
        << made.err.toStdString();
    const QByteArray golden = readFile(QStringLiteral(ELH_GOLDEN_DIR "/demo-770-2024.txt"));
    ASSERT_FALSE(golden.isEmpty());
    EXPECT_TRUE(readFile(out) == golden) << "the supply differs from golden/demo-770-2024.txt";
    // The local data folder of the year, made as at the first start.
    EXPECT_TRUE(QFile::exists(root() + u"USR/FLDati/FL2023/TFIFI_FIELDSFILE.CDS"_s));

    // The supply check of the command line: the file is sound, a copy with a
    // wrong supply code is not.
    const Outcome sound = run({u"controlla-file"_s, out});
    EXPECT_EQ(sound.exitCode, 0);
    EXPECT_EQ(sound.out, u"Nessun problema trovato nella fornitura (1 file).\n"_s);
    QFile broken(root() + u"rotto"_s);
    ASSERT_TRUE(broken.open(QIODevice::WriteOnly));
    broken.write(QByteArray(golden).replace(15, 5, "77023"));
    broken.close();
    const Outcome findings = run({u"controlla-file"_s, broken.fileName()});
    EXPECT_EQ(findings.exitCode, 1);
    EXPECT_EQ(findings.out, u"«rotto», riga 1, record A: codice fornitura «77023» invece di «77024» (posizioni 16-20)\n"
                            u"Problemi trovati nella fornitura: 1.\n"_s);
    EXPECT_EQ(run({u"controlla-file"_s}).exitCode, 2);
}

TEST_P(FileTelematico, MissingDataStopUnlessTheUserGoesOn)
{
    // Last year's agent without its denomination: the carried-over one lacks it too.
    {
        TdmkbrConnessione connection;
        ASSERT_TRUE(connection.OpenConnection());
        THlmDBCds lastYear(2022, u"elh"_s, 0);
        lastYear.setConnection(&connection);
        ClientDataSet agent;
        lastYear.open(agent, u"TSOS_DATOSOSTITUTO"_s);
        agent.edit();
        agent.fieldByName(u"SSOSDENOM"_s).clear();
        agent.post();
        lastYear.save(agent, u"TSOS_DATOSOSTITUTO"_s);
    }
    const QString out = root() + u"77024"_s;
    const Outcome stopped = run({u"file-telematico"_s, u"--out"_s, out});
    EXPECT_EQ(stopped.exitCode, 1);
    EXPECT_TRUE(stopped.err.contains(u" - Dato obbligatorio mancante: Denominazione del sostituto\n"_s))
        << stopped.err.toStdString();
    EXPECT_TRUE(stopped.err.contains(u"Si desidera proseguire? No (per proseguire indicare --prosegui)"_s));
    EXPECT_EQ(stopped.out, u"Generazione file telematico terminata dall'utente\n"_s);
    EXPECT_FALSE(QFile::exists(out));

    const Outcome onwards = run({u"file-telematico"_s, u"--out"_s, out, u"--prosegui"_s});
    EXPECT_EQ(onwards.exitCode, 0) << onwards.err.toStdString();
    EXPECT_TRUE(onwards.err.contains(u"Si desidera proseguire? Si (--prosegui)"_s));
    EXPECT_TRUE(onwards.out.contains(u"Operazione terminata con successo.\n"_s)) << onwards.out.toStdString();
    EXPECT_TRUE(QFile::exists(out));
}

TEST_P(FileTelematico, NoOnBothPagesLeavesOnlyTheProspettoSs)
{
    const QString out = root() + u"77024"_s;
    const Outcome made = run({u"file-telematico"_s, u"--sv"_s, u"no"_s, u"--out"_s, out, u"--sy"_s, u"no"_s});
    ASSERT_EQ(made.exitCode, 0) << made.err.toStdString();
    EXPECT_TRUE(made.out.contains(u"Generazione del Record D...\nGenerazione del Record I...\n"_s));
    QList<QByteArray> types;
    for (const QByteArray &line : readFile(out).split('\n'))
        types.append(line.left(1));
    // One module for the agent, one for the extinct agent's amounts.
    EXPECT_EQ(types, (QList<QByteArray>{"A", "B", "J", "J", "Z", ""}));
}

TEST_P(FullDisk, EveryWriterKeepsTheOldFileAndFailsNamingIt)
{
    FullFilesystem disk(8 * 1024 * 1024);
    FullFilesystem workingDisk(1024 * 1024);
    if (!disk.mounted())
        GTEST_SKIP() << disk.skipMessage();
    // The working files of the year live on a disk of their own.
    QDir().mkpath(root() + u"USR"_s);
    ASSERT_TRUE(QFile::link(workingDisk.path(), root() + u"USR/FLDati"_s));
    const QString csv = root() + u"tabella.csv"_s;
    QFile source(csv);
    ASSERT_TRUE(source.open(QIODevice::WriteOnly) && source.write("CODICE:string:4\n1001\n") > 0);
    source.close();
    const QString supply = disk.file(u"77024"_s);
    const QString exported = disk.file(u"esporta"_s);
    const QString print = disk.file(u"st.pdf"_s);
    const QString table = disk.file(u"tabella.cds"_s);
    const QString fieldFile = root() + u"USR/FLDati/FL2023/TFIFI_FIELDSFILE.CDS"_s;
    const QString kept = u"Il file che c'era è rimasto com'era."_s;
    // The export fails on its first table and keeps every table of the last one.
    const struct
    {
        QStringList args;
        QString written;
        QString failing;
        QString kept;
    } writers[] = {
        {{u"file-telematico"_s, u"--out"_s, supply}, supply, supply, kept},
        {{u"esporta"_s, exported},
         exported,
         exported + u"/TTFR7_TFR.cds"_s,
         u"La cartella «%1» è rimasta com'era."_s.arg(exported)},
        {{u"stampa"_s, u"st"_s, u"--out"_s, print}, print, print, kept},
        {{u"cds"_s, u"scrivi"_s, csv, table}, table, table, kept},
    };
    // A file's bytes, or a folder's names and bytes.
    auto contents = [](const QString &path) {
        QByteArray all = readFile(path);
        for (const QString &name : QDir(path).entryList(QDir::AllEntries | QDir::Hidden | QDir::NoDotAndDotDot))
            all += name.toUtf8() + '\n' + readFile(path + u'/' + name);
        return all;
    };
    QMap<QString, QByteArray> before;
    for (const auto &w : writers) {
        const Outcome made = run(w.args);
        ASSERT_EQ(made.exitCode, 0) << made.err.toStdString();
        before[w.written] = contents(w.written);
    }
    before[fieldFile] = readFile(fieldFile);

    auto expectKept = [&](const Outcome &failed, const QString &written, const QString &failing,
                          const QString &keptText) {
        EXPECT_EQ(failed.exitCode, 1) << written.toStdString();
        // Stage 1 of the supply reports in its progress lines, the rest on the error output.
        EXPECT_TRUE(QString(failed.out + failed.err)
                        .contains(u"Impossibile scrivere il file «%1»: spazio esaurito sul disco (No space left on "
                                  "device). %2"_s.arg(failing, keptText)))
            << failed.out.toStdString() << failed.err.toStdString();
        EXPECT_FALSE(failed.out.contains(u"terminata con successo"_s)) << failed.out.toStdString();
        EXPECT_EQ(contents(written), before[written]) << written.toStdString();
    };
    disk.leaveFree(0);
    for (const auto &w : writers)
        expectKept(run(w.args), w.written, w.failing, w.kept);
    EXPECT_EQ(QDir(disk.path()).entryList(QDir::AllEntries | QDir::Hidden | QDir::NoDotAndDotDot, QDir::Name),
              (QStringList{u"77024"_s, u"esporta"_s, u"riempitivo"_s, u"st.pdf"_s, u"tabella.cds"_s}));
    workingDisk.leaveFree(0);
    expectKept(run({u"file-telematico"_s, u"--out"_s, root() + u"altro"_s}), fieldFile, fieldFile, kept);

    // What the command writes on its standard output is checked too.
    QProcess reader;
    reader.setStandardOutputFile(u"/dev/full"_s);
    reader.start(root() + u"bin/elh770"_s, {u"cds"_s, u"leggi"_s, table, u"--csv"_s});
    ASSERT_TRUE(reader.waitForFinished(60000));
    EXPECT_EQ(reader.exitCode(), 1);
    EXPECT_EQ(QString::fromUtf8(reader.readAllStandardError()),
              u"Impossibile scrivere sull'uscita standard: spazio esaurito sul disco (No space left on device). "
              "Il risultato del comando è incompleto.\n"_s);
}

TEST_P(FileTelematico, ThePaymentsImportedFromThePayrollReachTheSupply)
{
    const Outcome imported = run({u"importa"_s, u"f24ep"_s});
    ASSERT_EQ(imported.exitCode, 0) << imported.err.toStdString();
    const QString out = root() + u"77024"_s;
    const Outcome made = run({u"file-telematico"_s, u"--out"_s, out});
    ASSERT_EQ(made.exitCode, 0) << made.err.toStdString();
    const QString supply = QString::fromLatin1(readFile(out));
    const auto count = [&supply](const char16_t *pattern) {
        return supply.count(QRegularExpression(QString::fromUtf16(pattern)));
    };
    // The withholding of May paid late: its date, interest and correction.
    EXPECT_EQ(count(u"ST0(\\d\\d)008 {12}1,85ST0\\g{1}009 {15}1ST0\\g{1}011104E {12}ST0\\g{1}014 {8}20072023"), 1);
    EXPECT_EQ(count(u"ST0\\d\\d011381E"), 23);
    // SV holds the school's surcharges alone, one row per month and code.
    EXPECT_EQ(count(u"SV0\\d\\d01138[45]E"), 20);
}

TEST_P(FileTelematico, IntegratingTheSchoolsOwnExportIsRefusedAndTheCodesMustBeItsPeople)
{
    const QString folder = root() + u"esportati"_s;
    ASSERT_EQ(run({u"esporta"_s, folder}).exitCode, 0);
    const Outcome own = run({u"integra"_s, u"dipendenti"_s, u"--cartella"_s, folder});
    EXPECT_EQ(own.exitCode, 1);
    EXPECT_TRUE(own.err.endsWith(u"Codice fiscale del sostituto estinto non impostato o coincidente con l'attuale\n"_s))
        << own.err.toStdString();
    const Outcome stranger =
        run({u"integra"_s, u"autonomi"_s, u"--codice-fiscale"_s, u"xxxyyy"_s, u"--cartella"_s, folder});
    EXPECT_EQ(stranger.exitCode, 2);
    EXPECT_TRUE(stranger.err.endsWith(u"Codice fiscale XXXYYY non presente fra le persone del sostituto estinto.\n"_s))
        << stranger.err.toStdString();
    const Outcome missing = run({u"integra"_s, u"autonomi"_s, u"--cartella"_s, root() + u"altrove"_s});
    EXPECT_EQ(missing.exitCode, 1);
    EXPECT_TRUE(missing.err.contains(u"dei dati del sostituto estinto non esiste"_s)) << missing.err.toStdString();
}

// Arguments the commands refuse: the use of the command, or what is wrong.
TEST_P(FileTelematico, AWrongCommandSaysWhatIsWrong)
{
    const QString file = u"Uso: elh770 file-telematico --out PERCORSO"_s;
    const QString f24 = u"Uso: elh770 importa f24ep [--st1 si|no]"_s;
    const QString previous = u"Uso: elh770 importa anno-precedente dipendenti|autonomi"_s;
    const QString integration = u"Uso: elh770 integra dipendenti|autonomi --cartella"_s;
    const std::pair<QStringList, QString> cases[] = {
        {{u"file-telematico"_s}, file},
        {{u"file-telematico"_s, u"--out"_s}, file},
        {{u"file-telematico"_s, u"--out"_s, u"x"_s, u"--sv"_s, u"forse"_s}, file},
        {{u"importa"_s}, f24},
        {{u"importa"_s, u"f24"_s}, f24},
        {{u"importa"_s, u"f24ep"_s, u"--sv"_s}, f24},
        {{u"importa"_s, u"f24ep"_s, u"--st1"_s, u"forse"_s}, f24},
        {{u"importa"_s, u"f24ep"_s, u"--st1"_s, u"no"_s, u"--st2"_s, u"no"_s, u"--sv"_s, u"no"_s},
         u"Nessun prospetto da importare"_s},
        {{u"importa"_s, u"anno-precedente"_s}, previous},
        {{u"importa"_s, u"anno-precedente"_s, u"tutti"_s}, previous},
        {{u"importa"_s, u"anno-precedente"_s, u"autonomi"_s, u"--cartella"_s}, previous},
        {{u"integra"_s, u"dipendenti"_s}, integration},
        {{u"integra"_s, u"tutti"_s, u"--cartella"_s, root()}, integration},
        {{u"importa"_s, u"cu"_s, u"--codice-fiscale"_s, u"rssmra75d12d653t"_s, u"XXXXXX00X00X000X"_s},
         u"Codice fiscale XXXXXX00X00X000X non presente nelle certificazioni.\n"_s},
    };
    for (const auto &[args, said] : cases) {
        const Outcome wrong = run(args);
        EXPECT_EQ(wrong.exitCode, 2) << args.join(u' ').toStdString();
        EXPECT_TRUE(wrong.err.startsWith(said) || wrong.err.endsWith(u'\n' + said)) << wrong.err.toStdString();
    }
}

} // namespace
