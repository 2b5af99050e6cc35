#include "ReturnDatabaseTest.h"

#include "CdsExchange.h"
#include "ClientDataSet.h"
#include "DataPaths.h"
#include "DatabaseSetup.h"

#include <QDir>
#include <QFile>

#include <stdexcept>

using namespace Qt::Literals::StringLiterals;

namespace {

QString buildPath(const QString &relative)
{
    return DataPaths::resolve(QStringLiteral(ELH_BUILD_ROOT), relative);
}

} // namespace

const QString ReturnDatabaseTest::kCopiedFromLastYear =
    u"E' stata eseguita l'importazione automatica dall'anno precedente dei dati del \"Fornitore\", \"Altri soggetti\" "
    u"e "
    u"\"Rappresentante firmatario\" nella sezione \"Sostituto\". \n\rSi consiglia di controllare la correttezza dei dati."_s;
const QString ReturnDatabaseTest::kFilledFromPayroll =
    u"E' stata eseguita l'importazione automatica dai compensi e dal CUD dei dati del \"Sostituto\". \n\r"
    u"Si consiglia di controllare la correttezza dei dati."_s;

void ReturnDatabaseTest::SetUpOpened()
{
    installation().copyFromBuild(u"USR/FL2023/"_s);
    m_catalogue = ReturnCatalogue::load(buildPath(u"USR\\FL2023\\DbIniziale\\Catalogo.json"_s));
    DatabaseSetup(connection()).createStructures(m_catalogue, {2022, 2023});
    m_store = std::make_unique<THlmDBCds>(2023, u"elh"_s, 0);
    m_store->setConnection(&connection());
    m_store->setFindings(findings());
    m_params = std::make_unique<TdmKbrParams>(&connection(), installation().root() + u"NruParams.ini"_s);
}

void ReturnDatabaseTest::loadDemo()
{
    DatabaseSetup(connection()).createDemo(m_catalogue, buildPath(u"USR\\FL2023\\DbIniziale\\Demo\\"_s));
    DatabaseSetup::pointToDemo(*m_params);
}

void ReturnDatabaseTest::write(const QString &table, const QByteArray &json, int year, const QString &program)
{
    THlmDBCds store(year, program, 0);
    store.setConnection(&connection());
    ClientDataSet ds;
    store.open(ds, table);
    CdsExchange::appendJsonRecords(ds, json, table);
    store.save(ds, table);
}

void ReturnDatabaseTest::exportExtinctSchool(const QString &folder, const QString &agentCode)
{
    THlmDBCds other(2023, u"elh"_s, 1);
    other.setConnection(&connection());
    const auto put = [&other](const QString &table, const QString &json) {
        ClientDataSet ds;
        other.open(ds, table);
        while (!ds.isEmpty())
            ds.deleteRecord();
        CdsExchange::appendJsonRecords(ds, json.toUtf8(), table);
        other.save(ds, table);
    };
    put(u"TSOS_DATOSOSTITUTO"_s,
        uR"({"records":[{"SSOSCODFIS":"%1","SSOSDENOM":"SCUOLA MEDIA CHIUSA"}]})"_s.arg(agentCode));
    put(u"TDIP7_ANAGRFISCALI"_s, uR"({"records":[
          {"SDIP7CODFIS":"RSSLCU82T20H501C","SDIP7COGNOME":"RUSSO","SDIP7NOME":"LUCA","FFIS7RITIRPEF":"100.00",
           "FFIS7REDDDETR":"1000.00","IFIS7PERIODOLAV":60,"FFIS7ADDREGRPCESS":"12.00"},
          {"SDIP7CODFIS":"RSSMRA75D12D653T","SDIP7COGNOME":"ROSSI","SDIP7NOME":"MARIO","FFIS7RITIRPEF":"50.00"},
          {"SDIP7CODFIS":"MRNLGU80A01D653X","SDIP7COGNOME":"MARINI","SDIP7NOME":"LUIGI","SDIP7SEX":"M",
           "FFIS7RITIRPEF":"300.00","IFIS7PERIODOLAV":90}]})"_s);
    put(u"TCON7_DATICONGUAG"_s, uR"({"records":[{"SDIP7CODFIS":"RSSLCU82T20H501C","FCON7RITENUTE":"99.00"}]})"_s);
    put(u"TINPS7_INPS"_s, uR"({"records":[{"SDIP7CODFIS":"RSSLCU82T20H501C","SINPS7MATRAZIENDA":"9988776655"}]})"_s);
    put(u"TCFC7_CONFAMCARICO"_s, uR"({"records":[{"SDIP7CODFIS":"RSSMRA75D12D653T"},
                                                   {"SDIP7CODFIS":"MRNLGU80A01D653X"}]})"_s);
    put(u"TANN7_ANNOTAZIONI"_s, uR"({"records":[{"SDIP7CODFIS":"MRNLGU80A01D653X","SANN701":"AB"}]})"_s);
    put(u"TDAU7_DATIAUTONOM"_s,
        uR"({"records":[{"SDAU7CODFIS":"GLLRRT65L08G478C","SDAU7COGNOME":"GALLI","SDAU7NOME":"ROBERTO"},
                        {"SDAU7CODFIS":"BRNNNA70A41D653Y","SDAU7COGNOME":"BRUNI","SDAU7NOME":"ANNA"}]})"_s);
    put(u"TDSE7_SOMMEEROGATE"_s,
        uR"({"records":[{"SDAU7CODFIS":"GLLRRT65L08G478C","SCAUCODICE":"A","SDSE7ANNO":"2023","FDSE7AMMLORDO":"700.00"},
                        {"SDAU7CODFIS":"BRNNNA70A41D653Y","SCAUCODICE":"M","SDSE7ANNO":"2023","FDSE7AMMLORDO":"400.00"}]})"_s);
    other.exportAll(u"elh"_s, 2023, folder, 1);
}

std::unique_ptr<ClientDataSet> ReturnDatabaseTest::read(const QString &table, int year, const QString &program)
{
    THlmDBCds store(year, program, 0);
    store.setConnection(&connection());
    auto ds = std::make_unique<ClientDataSet>();
    store.open(*ds, table);
    return ds;
}
