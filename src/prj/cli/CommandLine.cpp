#include "CommandLine.h"

#include "AtomicFile.h"
#include "CdsCommand.h"
#include "DatabaseCommands.h"
#include "Exceptions.h"
#include "FileTelematicoCommand.h"
#include "ImportCommand.h"
#include "NrBusyWait.h"
#include "PrintCommands.h"
#include "QuadraturaCommand.h"
#include "Version.h"

#include <QTextStream>

#include <cerrno>
#include <cstdio>

using namespace Qt::Literals::StringLiterals;

namespace {

using CommandRunner = int (*)(const QStringList &arguments, QTextStream &out, QTextStream &err);

struct Command
{
    const char16_t *name;
    const char16_t *help; // lines of the help, aligned on the description
    CommandRunner run;
};

// One entry per command: its name, its lines in the help, its runner.
const Command kCommands[] = {
    {u"cds",
     u"  cds leggi FILE [--csv]            mostra un archivio dati (.cds) come JSON\n"
     u"                                    (o come CSV con --csv)\n"
     u"  cds scrivi ORIGINE DESTINAZIONE   crea l'archivio dati DESTINAZIONE (.cds)\n"
     u"                                    da un file ORIGINE .json o .csv\n",
     runCdsCommand},
    {u"crea-database",
     u"  crea-database [--demo]            crea il database della scuola indicato in\n"
     u"                                    usr/kbr/KbrPar.ini (SQLite se manca) con le\n"
     u"                                    strutture delle tabelle del 2022 e del 2023;\n"
     u"                                    con --demo aggiunge una scuola dimostrativa\n"
     u"                                    e i suoi dati\n",
     runCreateDatabase},
    {u"esporta",
     u"  esporta CARTELLA                  scrive ogni tabella della dichiarazione 2023\n"
     u"                                    nella CARTELLA come TABELLA.cds\n",
     runExport},
    {u"file-telematico",
     u"  file-telematico --out PERCORSO    genera il file telematico della dichiarazione\n"
     u"    [--sv si|no] [--sy si|no]       nel PERCORSO (PERCORSO_2 e seguenti oltre\n"
     u"    [--prosegui]                    8.275 record di dati); --sv no tralascia i\n"
     u"                                    prospetti DI, ST, SV e SX, --sy no il\n"
     u"                                    prospetto SY; --prosegui risponde \"Si\" se\n"
     u"                                    mancano dati obbligatori\n",
     runFileTelematico},
    {u"controlla-file",
     u"  controlla-file FILE [FILE_2 ...]  controlla la struttura di un file telematico\n"
     u"                                    (e delle sue parti _2, _3 ...) e ne elenca\n"
     u"                                    i problemi\n",
     runControllaFile},
    {u"importa",
     u"  importa f24ep [--st1 si|no]       importa i versamenti F24EP della contabilità\n"
     u"    [--st2 si|no] [--sv si|no]      nei prospetti ST sezione I (--st1), ST\n"
     u"                                    sezione II (--st2) e SV (--sv), tutti se non\n"
     u"                                    indicati; i dati già presenti nel prospetto\n"
     u"                                    sono sostituiti\n"
     u"  importa cu [--codice-fiscale CF   importa le certificazioni uniche delle paghe\n"
     u"    ...] [--sostituto]              nei dati dei dipendenti e degli autonomi:\n"
     u"    [--addizionali si|no]           delle persone indicate (tutte se nessuna),\n"
     u"                                    con i dati del sostituto se --sostituto e\n"
     u"                                    le addizionali trattenute (si se non\n"
     u"                                    indicato); stampa il registro\n"
     u"  importa autonomi [--codice-       importa anagrafica e somme erogate degli\n"
     u"    fiscale CF ...] [--sovrascrivi  autonomi del registro compensi (tutti se\n"
     u"    si|no] [--solo-anagrafica]      nessuno indicato); --sovrascrivi si\n"
     u"                                    sostituisce chi è già presente;\n"
     u"                                    --solo-anagrafica li sceglie fra tutti i\n"
     u"                                    percipienti\n"
     u"  importa anno-precedente           aggiunge alla dichiarazione i dipendenti o\n"
     u"    dipendenti|autonomi             gli autonomi della dichiarazione 2022 che\n"
     u"    [--cartella CARTELLA]           non vi sono ancora, con i dati anagrafici;\n"
     u"                                    con --cartella li legge dai file esportati\n"
     u"                                    nella CARTELLA (elh770 esporta)\n",
     runImport},
    {u"integra",
     u"  integra dipendenti|autonomi       integra nella dichiarazione i dipendenti o gli\n"
     u"    --cartella CARTELLA             autonomi del sostituto estinto, letti dai\n"
     u"    [--codice-fiscale CF ...]       file esportati nella CARTELLA (elh770\n"
     u"                                    esporta della sua scuola): quelli indicati,\n"
     u"                                    tutti se nessuno; stampa il registro\n",
     runIntegration},
    {u"stampa",
     u"  stampa COSA --out FILE.pdf        stampa il frontespizio o un prospetto della\n"
     u"                                    dichiarazione nel FILE; COSA: frontespizio,\n"
     u"                                    st, sv, sx, sy, ss, di\n"
     u"  stampa dipendenti|autonomi        stampa le certificazioni dei dipendenti o\n"
     u"    --out FILE.pdf                  degli autonomi nel FILE, di tutti o di quelli\n"
     u"    [--codice-fiscale CF ...]       con i codici fiscali indicati\n",
     runPrint},
    {u"riepilogo",
     u"  riepilogo COSA --out FILE.pdf     stampa un riepilogo nel FILE; COSA: inps,\n"
     u"                                    tassazione-separata, irpef, inpdap, autonomi\n",
     runSummaryReport},
    {u"quadratura",
     u"  quadratura [--pdf FILE.pdf]       controlla la dichiarazione contro se stessa:\n"
     u"    [--csv FILE.csv]                ritenute operate, versate e certificate e i\n"
     u"                                    versamenti F24EP; elenca le segnalazioni e\n"
     u"                                    le scrive, se richiesto, in un PDF o in un\n"
     u"                                    CSV; esce con 1 se vi sono errori\n",
     runQuadratura},
};

QString helpText()
{
    QString text = u"Modello 770/2024 Redditi 2023\n\nUso: elh770 [comando] [opzioni]\n\nComandi:\n"_s;
    for (const Command &c : kCommands)
        text += QString::fromUtf16(c.help);
    text += u"  --version                         mostra la versione del programma\n"
            u"  --help                            mostra questo aiuto\n"_s;
    return text;
}

int runCommand(const QStringList &arguments, QTextStream &out, QTextStream &err)
{
    // A database held by another program: said at once on the error output.
    struct TerminalBusyWait : NrBusyWaitService
    {
        explicit TerminalBusyWait(QTextStream &stream)
            : err(stream)
        {
        }
        void begin(const QString &text) override { err << text << Qt::endl; }
        bool cancelled() override { return false; }
        QTextStream &err;
    } busyWait(err);
    BusyWaitScope busyScope(&busyWait);

    if (arguments.isEmpty() || arguments.first() == u"--help" || arguments.first() == u"-h") {
        out << helpText();
        return 0;
    }
    if (arguments.first() == u"--version") {
        out << ELH_PROGRAM_NAME " " ELH_VERSION << Qt::endl;
        return 0;
    }
    try {
        for (const Command &c : kCommands) {
            if (arguments.first() == QStringView(c.name))
                return c.run(arguments.mid(1), out, err);
        }
        err << u"Comando sconosciuto: %1\n"_s.arg(arguments.first())
            << u"Usare elh770 --help per l'elenco dei comandi.\n"_s;
        return 2;
    } catch (const EAbort &) {
        return 1;
    } catch (const Exception &e) {
        err << e.message() << Qt::endl;
        return 1;
    }
}

} // namespace

// Runs the command, then makes sure that what it wrote reached the standard
// output: a redirection to a full disk must not end with success.
int runCommandLine(const QStringList &arguments)
{
    QTextStream out(stdout);
    QTextStream err(stderr);
    const int status = runCommand(arguments, out, err);
    out.flush();
    if (out.status() == QTextStream::Ok && std::fflush(stdout) == 0 && !std::ferror(stdout))
        return status;
    const int cause = errno != 0 ? errno : EIO;
    err << u"Impossibile scrivere sull'uscita standard: %1. Il risultato del comando è incompleto."_s.arg(
        systemErrorText(cause))
        << Qt::endl;
    return 1;
}
