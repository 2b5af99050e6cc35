#include "DatabaseCommands.h"

#include "ClientDataSet.h"
#include "DataPaths.h"
#include "DatabaseSetup.h"
#include "FindingEcho.h"
#include "NrExceptions.h"
#include "NrTransaction.h"
#include "ReturnCatalogue.h"
#include "THlmDBCds.h"
#include "TdmKbrParams.h"
#include "TdmkbrConnessione.h"

#include <QDir>

using namespace Qt::Literals::StringLiterals;

namespace {

// The return's year and the store's program code.
constexpr int kReturnYear = 2023;
const QString kProgram = u"elh"_s;

// The agent the demo data loaded, the return's year first.
QString demoAgent(TdmkbrConnessione &connection, FindingSink &findings)
{
    for (const int year : {DatabaseSetup::kDemoYear, DatabaseSetup::kDemoPreviousYear}) {
        THlmDBCds store(year, kProgram, 0);
        store.setConnection(&connection);
        store.setFindings(findings);
        ClientDataSet agent;
        store.open(agent, u"TSOS_DATOSOSTITUTO"_s);
        if (!agent.isEmpty())
            return u"sostituto «%1» con codice fiscale %2 (anno %3)"_s.arg(
                agent.fieldByName(u"SSOSDENOM"_s).asString(), agent.fieldByName(u"SSOSCODFIS"_s).asString(),
                QString::number(year));
    }
    return u"nessun sostituto"_s;
}

QString describe(const NrConnectionSettings &s)
{
    if (s.driver == u"QPSQL")
        return u"PostgreSQL «%1» su %2"_s.arg(s.database, s.host.isEmpty() ? u"localhost"_s : s.host);
    return u"SQLite «%1»"_s.arg(QDir::toNativeSeparators(s.database));
}

} // namespace

int runCreateDatabase(const QStringList &arguments, QTextStream &out, QTextStream &err)
{
    if (arguments.size() > 1 || (arguments.size() == 1 && arguments[0] != u"--demo")) {
        err << u"Uso: elh770 crea-database [--demo]\n"_s;
        return 2;
    }
    const bool demo = arguments.size() == 1;
    FindingEcho findings(err);
    TdmkbrConnessione connection;
    connection.setFindings(findings);
    if (!connection.createDatabase())
        return 1;
    const ReturnCatalogue catalogue =
        ReturnCatalogue::load(DataPaths::fromRoot(u"USR\\FL2023\\DbIniziale\\Catalogo.json"_s));
    DatabaseSetup setup(connection);
    if (!setup.isEmpty()) {
        throw ENrError(u"Il database %1 contiene già le strutture delle tabelle: non viene creato di nuovo. "
                       "Indicare in KbrPar.ini un database vuoto."_s.arg(describe(connection.settings())));
    }
    TNrTransaction transaction(connection);
    transaction.StartTransaction();
    setup.createStructures(catalogue, {DatabaseSetup::kDemoPreviousYear, DatabaseSetup::kDemoYear});
    QStringList loaded;
    if (demo)
        loaded = setup.createDemo(catalogue, DataPaths::fromRoot(u"USR\\FL2023\\DbIniziale\\Demo\\"_s));
    transaction.Commit();
    if (demo) {
        TdmKbrParams params(&connection);
        DatabaseSetup::pointToDemo(params);
    }
    out << u"Database creato: %1, %2 tabelle per gli anni 2022 e 2023.\n"_s.arg(describe(connection.settings()))
               .arg(catalogue.tables().size());
    if (demo) {
        out << u"Scuola dimostrativa: %1; dati dimostrativi caricati: %2.\n"_s.arg(
            demoAgent(connection, findings), loaded.isEmpty() ? u"nessuno"_s : loaded.join(u", "_s));
    }
    return 0;
}

int runExport(const QStringList &arguments, QTextStream &out, QTextStream &err)
{
    if (arguments.size() != 1) {
        err << u"Uso: elh770 esporta CARTELLA\n"_s;
        return 2;
    }
    FindingEcho findings(err);
    TdmkbrConnessione connection;
    connection.setFindings(findings);
    if (!connection.openOrGoOn())
        return 1;
    THlmDBCds store(kReturnYear, kProgram, 0);
    store.setConnection(&connection);
    store.setFindings(findings);
    const QString folder = QDir(arguments[0]).absolutePath();
    const QStringList tables = store.exportAll(kProgram, store.year(), folder, store.month());
    if (tables.isEmpty() && !QDir(folder).exists())
        return 1;
    out << u"Esportate %1 tabelle in «%2».\n"_s.arg(tables.size()).arg(QDir::toNativeSeparators(folder));
    return 0;
}
