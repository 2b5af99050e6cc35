#include "StructureUpgrade.h"
#include "CdsExchange.h"
#include "ClientDataSet.h"
#include "DatabaseTest.h"
#include "Exceptions.h"
#include "KbrSchema.h"
#include "NrQuery.h"
#include "ReturnCatalogue.h"
#include "THlmDBCds.h"

#include <QDir>
#include <QFile>

#include <gtest/gtest.h>

using namespace Qt::Literals::StringLiterals;

namespace {

constexpr int kLatestSchema = 6;

// The fields of a dataset as "NAME:type:size".
QStringList fieldsOf(const ClientDataSet &ds)
{
    QStringList fields;
    for (const FieldDef &f : ds.fieldDefs())
        fields.append(u"%1:%2:%3"_s.arg(f.name, fieldTypeName(f.type)).arg(f.size));
    return fields;
}

// The upgrade of the program that a test sets, cleared after it.
struct DataUpgradeCleared
{
    ~DataUpgradeCleared() { KbrSchema::setDataUpgrade({}); }
};

} // namespace

class StructureUpgradeTest : public InstallationTest
{
protected:
    // A table of the store for 2023, as the store gives it.
    std::unique_ptr<ClientDataSet> read(TdmNrConnection &connection, const QString &program, const QString &table,
                                        int year = 2023)
    {
        THlmDBCds store(year, program, 0);
        store.setConnection(&connection);
        auto ds = std::make_unique<ClientDataSet>();
        store.open(*ds, table);
        return ds;
    }
    // A database of the version before the latest with the table TPROVA_PROVA
    // of 2023 stored with the structure given, and the records given.
    void olderDatabase(const QByteArray &structure, const QByteArray &records = {})
    {
        TdmkbrConnessione connection;
        ASSERT_TRUE(connection.TdmNrConnection::OpenConnection());
        KbrSchema::ensure(connection, installation().definitionsFolder() + u"schema/"_s, kLatestSchema - 1,
                          KbrSchema::Creation::Create);
        THlmDBCds store(2023, u"elh"_s, 0);
        store.setConnection(&connection);
        THlmDBCds::StructureDef def;
        def.program = u"elh"_s;
        def.table = u"TPROVA_PROVA"_s;
        def.year = 2023;
        def.schema = structure;
        store.createStructure(def);
        if (records.isEmpty())
            return;
        ClientDataSet ds;
        store.open(ds, def.table);
        CdsExchange::appendJsonRecords(ds, records, def.table);
        store.save(ds, def.table);
    }
};

ELH_INSTANTIATE_ON_BOTH_ENGINES(StructureUpgradeTest);

TEST_P(StructureUpgradeTest, OpeningAnOlderDatabaseBringsItsStructuresToTheCatalogueKeepingEveryValue)
{
    // A table stored with an older structure, and its values.
    olderDatabase(ReturnCatalogue::parse(R"({"tables": [{"name": "TPROVA_PROVA", "program": "elh", "fields": [
                                             "IFISRIGO:integer", "SNOME:string:5", "FIMPORTO:decimal",
                                             "SNOTA:string:10", "SVECCHIO:string:10", "SVUOTO:string:10",
                                             "SCODICE:string:10", "IQUANTI:integer"]}]})",
                                         u"vecchio"_s)
                      .tables()
                      .first()
                      .structurePacket(),
                  R"({"records": [{"SNOME": "Anna", "FIMPORTO": 1.125, "SNOTA": "nota", "SVECCHIO": "resta",
                      "SCODICE": "ABCDEF"}]})");
    // The catalogue of the program: fields widened, added, dropped, narrowed.
    const ReturnCatalogue catalogue = ReturnCatalogue::parse(
        R"({"tables": [{"name": "TPROVA_PROVA", "program": "elh", "fields": ["IFISRIGO:integer",
            "SNOME:string:20", "FIMPORTO:decimal:3", "SNOTA:memo", "SCODICE:string:2", "IQUANTI:string:5",
            "SNUOVO:string:8"]}]})",
        u"catalogo"_s);
    DataUpgradeCleared cleared;
    KbrSchema::setDataUpgrade([&](TdmNrConnection &c) { return StructureUpgrade::run(c, catalogue); });
    TdmkbrConnessione connection;
    connection.setFindings(findings());
    ASSERT_TRUE(connection.OpenConnection());
    EXPECT_EQ(KbrSchema::currentVersion(connection), kLatestSchema);

    const auto ds = read(connection, u"elh"_s, u"TPROVA_PROVA"_s);
    EXPECT_EQ(fieldsOf(*ds), (QStringList{u"IFISRIGO:integer:0"_s, u"SNOME:string:20"_s, u"FIMPORTO:decimal:3"_s,
                                          u"SNOTA:memo:0"_s, u"SCODICE:string:10"_s, u"IQUANTI:string:5"_s,
                                          u"SNUOVO:string:8"_s, u"SVECCHIO:string:10"_s}));
    ASSERT_EQ(ds->recordCount(), 1);
    for (const auto &[field, value] : {std::pair{u"SNOME"_s, u"Anna"_s}, std::pair{u"SNOTA"_s, u"nota"_s},
                                       std::pair{u"SCODICE"_s, u"ABCDEF"_s}, std::pair{u"SVECCHIO"_s, u"resta"_s}})
        EXPECT_EQ(ds->fieldByName(field).asString(), value) << field.toStdString();
    EXPECT_DOUBLE_EQ(ds->fieldByName(u"FIMPORTO"_s).asFloat(), 1.125);
    ASSERT_EQ(findings().texts().size(), 1);
    const QString told = findings().texts().first();
    EXPECT_TRUE(told.contains(u"Tabella TPROVA_PROVA (anno 2023): il campo SCODICE resta string:10 perché contiene "
                              "valori che il tipo string:2 del catalogo non conserverebbe."_s))
        << told.toStdString();
    EXPECT_TRUE(told.contains(u"Tabella TPROVA_PROVA (anno 2023): il campo SVECCHIO non è più nel catalogo ma "
                              "contiene valori, e resta nella struttura."_s))
        << told.toStdString();
}

TEST_P(StructureUpgradeTest, AStructureThatCannotBeUpgradedLeavesTheDatabaseAsItWas)
{
    olderDatabase("non una struttura");
    const ReturnCatalogue catalogue = ReturnCatalogue::parse(
        R"({"tables": [{"name": "TPROVA_PROVA", "program": "elh", "fields": ["IFISRIGO:integer"]}]})", u"catalogo"_s);
    DataUpgradeCleared cleared;
    KbrSchema::setDataUpgrade([&](TdmNrConnection &c) { return StructureUpgrade::run(c, catalogue); });
    TdmkbrConnessione connection;
    try {
        connection.OpenConnection();
        FAIL() << "a damaged structure was upgraded";
    } catch (const EDatabaseError &e) {
        EXPECT_TRUE(
            e.message().startsWith(u"Aggiornamento del database alla versione %1 non riuscito: "_s.arg(kLatestSchema)))
            << e.message().toStdString();
        EXPECT_TRUE(e.message().contains(u"TPROVA_PROVA (anno 2023)"_s)) << e.message().toStdString();
        EXPECT_TRUE(e.message().endsWith(u" Il database è rimasto alla versione %1, com'era."_s.arg(kLatestSchema - 1)))
            << e.message().toStdString();
    }
    ASSERT_TRUE(connection.TdmNrConnection::OpenConnection());
    EXPECT_EQ(KbrSchema::currentVersion(connection), kLatestSchema - 1);
}

// The SQLite databases that earlier versions of the program made, with a
// few values: opened by this one, they have the tables of its catalogue.
class OlderDatabaseTest : public StructureUpgradeTest
{
};

INSTANTIATE_TEST_SUITE_P(Engines, OlderDatabaseTest, testing::Values(Engine::SQLite), engineName);

TEST_P(OlderDatabaseTest, EachEarlierVersionOpensWithTheNewFieldsAndTheOldValues)
{
    const QString database = installation().settings().database;
    ASSERT_TRUE(QDir().mkpath(installation().root() + u"USR/FL2023/DbIniziale"_s));
    ASSERT_TRUE(QFile::copy(QStringLiteral(ELH_BUILD_ROOT "/USR/FL2023/DbIniziale/Catalogo.json"),
                            installation().root() + u"USR/FL2023/DbIniziale/Catalogo.json"_s));
    DataUpgradeCleared cleared;
    StructureUpgrade::install();
    for (const int version : {2, 3, 4, 5}) {
        SCOPED_TRACE(version);
        QFile::remove(database);
        ASSERT_TRUE(QFile::copy(QStringLiteral(ELH_FIXTURES_DIR "/kbr-v%1.sqlite").arg(version), database));
        TdmkbrConnessione connection;
        ASSERT_TRUE(connection.OpenConnection());
        EXPECT_EQ(KbrSchema::currentVersion(connection), kLatestSchema);
        EXPECT_TRUE(QFile::exists(database + u".bak-v%1"_s.arg(version)));

        const auto agent = read(connection, u"elh"_s, u"TSOS_DATOSOSTITUTO"_s);
        EXPECT_EQ(agent->fieldByName(u"SSOSCODFIS"_s).asString(), u"80012345676"_s);
        for (const int year : {2022, 2023}) {
            const auto tfr = read(connection, u"elh"_s, u"TTFR7_TFR"_s, year);
            EXPECT_EQ(tfr->fieldDefs().at(tfr->fieldDefs().indexOf(u"FTFR007PERCPARZ"_s)).size, 3);
        }
        EXPECT_DOUBLE_EQ(read(connection, u"elh"_s, u"TTFR7_TFR"_s)->fieldByName(u"FTFR007PERCPARZ"_s).asFloat(),
                         12.125);
        const auto summary = read(connection, u"elh"_s, u"TPSS_PROSPETTOSS"_s);
        EXPECT_GE(summary->fieldDefs().indexOf(u"FIOSADDREGTRA_SS"_s), 0);
        EXPECT_DOUBLE_EQ(summary->fieldByName(u"FQUADROSYRIT1_SS"_s).asFloat(), 123.45);
        const auto cu = read(connection, u"eli"_s, u"TCUD_DATICUD"_s);
        EXPECT_GE(cu->fieldDefs().indexOf(u"SCUDSESSO"_s), 0);
        EXPECT_EQ(cu->fieldDefs().at(cu->fieldDefs().indexOf(u"SCUDANNOTAZIONI"_s)).type, FieldType::Memo);
        EXPECT_EQ(cu->fieldByName(u"SCUDANNOTAZIONI"_s).asString(), u"nota"_s);
        EXPECT_EQ(cu->fieldByName(u"SCUDCOGNOME"_s).asString(), u"ROSSI"_s);
        connection.CloseConnection();
    }
}
