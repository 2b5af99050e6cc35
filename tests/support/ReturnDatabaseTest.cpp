#include "ReturnDatabaseTest.h"

#include "CdsExchange.h"
#include "ClientDataSet.h"
#include "DataPaths.h"
#include "store/DatabaseSetup.h"

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

std::unique_ptr<ClientDataSet> ReturnDatabaseTest::read(const QString &table, int year, const QString &program)
{
    THlmDBCds store(year, program, 0);
    store.setConnection(&connection());
    auto ds = std::make_unique<ClientDataSet>();
    store.open(*ds, table);
    return ds;
}
