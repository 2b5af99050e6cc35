#include "DatabaseSetup.h"

#include "CdsExchange.h"
#include "ClientDataSet.h"
#include "DataPaths.h"
#include "Exceptions.h"
#include "NrQuery.h"
#include "NruParams.h"
#include "PayrollPayments.h"
#include "PayrollTables.h"
#include "THlmDBCds.h"
#include "TdmkbrConnessione.h"
#include "ReturnCatalogue.h"

#include <QFile>

using namespace Qt::Literals::StringLiterals;

DatabaseSetup::DatabaseSetup(TdmkbrConnessione &connection)
    : m_connection(connection)
{
}

bool DatabaseSetup::isEmpty()
{
    TNrQuery q(m_connection);
    q.fetch(u"QRY_CDS_CONTA"_s, 0, u"SELECT"_s);
    return q.scalar().toLongLong() == 0;
}

void DatabaseSetup::createStructures(const ReturnCatalogue &catalogue, const QList<int> &years)
{
    THlmDBCds store(0, QString(), 0);
    store.setConnection(&m_connection);
    for (const int year : years) {
        for (const TableDef &table : catalogue.tables()) {
            THlmDBCds::StructureDef def;
            def.program = table.program;
            def.table = table.name;
            def.year = year;
            def.schema = table.structurePacket();
            def.fieldMap = table.fieldMap;
            def.registry = table.registry;
            def.fieldMapReadOnly = table.fieldMapReadOnly;
            store.createStructure(def);
        }
    }
}

QStringList DatabaseSetup::createDemo(const ReturnCatalogue &catalogue, const QString &demoFolder)
{
    TNrQuery q(m_connection);
    q.fetch(u"QRY_SED_INSERISCI"_s);
    q.setParam(u"ISEDID"_s, 1);
    q.setParam(u"IDWGID"_s, kDemoSchool);
    q.setParam(u"SSEDNOMDENOMINAZIONE"_s, u"Istituto Comprensivo Statale \"Demo\""_s);
    q.setParam(u"SSEDNOMCODICEFISC"_s, QString::fromUtf16(kDemoFiscalCode));
    q.execute();
    for (const int year : {kDemoPreviousYear, kDemoYear}) {
        TNrQuery school(m_connection);
        school.fetch(u"QRY_ANS_INSERISCI"_s);
        school.setParam(u"IANSID"_s, year);
        school.setParam(u"SANSDESCRIZIONE"_s, u"%1/%2"_s.arg(year).arg(year + 1));
        school.setParam(u"DANSNORMAINIZIO"_s, QDate(year, 9, 1));
        school.setParam(u"DANSNORMAFINE"_s, QDate(year + 1, 8, 31));
        school.execute();
        TNrQuery financial(m_connection);
        financial.fetch(u"QRY_ANF_INSERISCI"_s);
        financial.setParam(u"IANFID"_s, year);
        financial.setParam(u"SANFDESCRIZIONE"_s, QString::number(year));
        financial.setParam(u"DANFNORMAINIZIO"_s, QDate(year, 1, 1));
        financial.setParam(u"DANFNORMAFINE"_s, QDate(year, 12, 31));
        financial.setParam(u"IANFVALORE"_s, year);
        financial.execute();
        TNrQuery accounting(m_connection);
        accounting.fetch(u"QRY_PACO_INSERISCI"_s);
        accounting.setParam(u"IPACOID"_s, year);
        accounting.setParam(u"IANFID"_s, year);
        accounting.setParam(u"IDWGANFID"_s, year);
        accounting.setParam(u"IPACOF24EP"_s, 1);
        accounting.execute();
    }

    QStringList loaded;
    for (const auto &[year, suffix] : {std::pair{kDemoYear, u".json"_s}, std::pair{kDemoPreviousYear, u".2022.json"_s}}) {
        for (const TableDef &table : catalogue.tables()) {
            const QString path = DataPaths::resolve(demoFolder, table.name + suffix);
            QFile file(path);
            if (!file.exists())
                continue;
            if (!file.open(QIODevice::ReadOnly))
                throw EInOutError(u"Impossibile aprire i dati dimostrativi «%1»: %2"_s.arg(path, file.errorString()));
            THlmDBCds store(year, table.program, 0);
            store.setConnection(&m_connection);
            ClientDataSet ds(table.name);
            store.open(ds, table.name);
            CdsExchange::appendJsonRecords(ds, file.readAll(), path);
            store.save(ds, table.name);
            loaded.append(table.name + suffix);
        }
    }
    // The payroll module's F24EP delegations, which the payments import reads,
    // and the rows of its people that the CU import's computations read.
    using Loader = int (*)(TdmNrConnection &, const QByteArray &, const QString &);
    for (const auto &[name, load] : {std::pair<const char16_t *, Loader>{kDemoPayments, &PayrollPayments::load},
                                     std::pair<const char16_t *, Loader>{kDemoPayroll, &PayrollTables::load}}) {
        const QString path = DataPaths::resolve(demoFolder, QString::fromUtf16(name));
        QFile file(path);
        if (!file.exists())
            continue;
        if (!file.open(QIODevice::ReadOnly))
            throw EInOutError(u"Impossibile aprire i dati dimostrativi «%1»: %2"_s.arg(path, file.errorString()));
        load(m_connection, file.readAll(), path);
        loaded.append(QString::fromUtf16(name).replace(u'\\', u'/'));
    }
    return loaded;
}

void DatabaseSetup::pointToDemo(TdmNruParams &params)
{
    params.setValue(QString::fromUtf16(TdmNruParams::kAnsId), kDemoYear);
    params.setValue(QString::fromUtf16(TdmNruParams::kAnfId), kDemoYear);
    params.setValue(QString::fromUtf16(TdmNruParams::kDwgId), kDemoSchool);
}
