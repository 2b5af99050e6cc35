#include "CommandLine.h"

#include "CdsCommand.h"
#include "DatabaseCommands.h"
#include "Exceptions.h"
#include "NrMessages.h"
#include "Version.h"

#include <QTextStream>

using namespace Qt::Literals::StringLiterals;

namespace {

const QString kHelp = uR"(Modello 770/2024 Redditi 2023

Uso: elh770 [comando] [opzioni]

Comandi:
  cds leggi FILE [--csv]            mostra un archivio dati (.cds) come JSON
                                    (o come CSV con --csv)
  cds scrivi ORIGINE DESTINAZIONE   crea l'archivio dati DESTINAZIONE (.cds)
                                    da un file ORIGINE .json o .csv
  crea-database [--demo]            crea il database della scuola indicato in
                                    usr/kbr/KbrPar.ini (SQLite se manca) con le
                                    strutture delle tabelle del 2022 e del 2023;
                                    con --demo aggiunge una scuola dimostrativa
                                    e i suoi dati
  esporta CARTELLA                  scrive ogni tabella della dichiarazione 2023
                                    nella CARTELLA come TABELLA.cds
  --version                         mostra la versione del programma
  --help                            mostra questo aiuto
)"_s;

} // namespace

int runCommandLine(const QStringList &arguments)
{
    QTextStream out(stdout);
    QTextStream err(stderr);

    ScriptedMessageService messages;
    messages.setDefaultAnswer(ModalResult::No);
    messages.setEcho([&err](const MessageRequest &m) {
        err << messageTypeLabel(m.type) << u": "_s << m.text << Qt::endl;
    });
    MessageServiceScope scope(&messages);

    if (arguments.isEmpty() || arguments.first() == u"--help" || arguments.first() == u"-h") {
        out << kHelp;
        return 0;
    }
    if (arguments.first() == u"--version") {
        out << ELH_PROGRAM_NAME " " ELH_VERSION << Qt::endl;
        return 0;
    }
    try {
        if (arguments.first() == u"cds")
            return runCdsCommand(arguments.mid(1), out, err);
        if (arguments.first() == u"crea-database")
            return runCreateDatabase(arguments.mid(1), out, err);
        if (arguments.first() == u"esporta")
            return runExport(arguments.mid(1), out, err);
        err << u"Comando sconosciuto: %1\n"_s.arg(arguments.first()) << u"Usare elh770 --help per l'elenco dei comandi.\n"_s;
        return 2;
    } catch (const EAbort &) {
        return 1;
    } catch (const Exception &e) {
        err << e.message() << Qt::endl;
        return 1;
    }
}
