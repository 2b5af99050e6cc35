#include "ClientDataSet.h"
#include "Exceptions.h"
#include "store/ReturnCatalogue.h"

#include <gtest/gtest.h>

using namespace Qt::Literals::StringLiterals;

TEST(ReturnCatalogue, ReadsTablesWithTheirFieldsAndPersonMaps)
{
    const auto catalogue = ReturnCatalogue::parse(R"({"tables": [
        {"name": "TSOS_DATOSOSTITUTO", "program": "elh",
         "fields": ["IFISRIGO:integer", "SSOSCODFIS:string:16", "DSOSDTCARICA:date", "FPSTIMPO:decimal"]},
        {"name": "TDAU7_DATIAUTONOM", "program": "elh", "registry": true,
         "fieldMap": "saficognome=SDAU7COGNOME;saficodfiscale=SDAU7CODFIS",
         "fields": ["IAFIID:integer", "SDAU7CODFIS:string:16", "SDAU7COGNOME:string:60"]}]})",
                                                  u"Catalogo.json"_s);
    ASSERT_EQ(catalogue.tables().size(), 2);
    const TableDef *sos = catalogue.find(u"tsos_datosostituto"_s);
    ASSERT_NE(sos, nullptr);
    EXPECT_EQ(sos->fields.at(1).size, 16);
    EXPECT_EQ(sos->fields.at(3).type, FieldType::Decimal);
    const TableDef *aut = catalogue.find(u"TDAU7_DATIAUTONOM"_s);
    EXPECT_TRUE(aut->registry);
    EXPECT_EQ(aut->fieldMap, u"saficognome=SDAU7COGNOME;saficodfiscale=SDAU7CODFIS"_s);
    EXPECT_EQ(catalogue.find(u"TNONESISTE"_s), nullptr);

    ClientDataSet ds;
    ds.loadFromBytes(sos->structurePacket(), sos->name);
    EXPECT_TRUE(ds.isEmpty());
    EXPECT_EQ(ds.fieldByName(u"SSOSCODFIS"_s).size(), 16);
}

TEST(ReturnCatalogue, ErrorsNameTheFileTheTableAndTheField)
{
    const struct
    {
        const char *json;
        const char16_t *message;
    } cases[] = {
        {R"({"tables": [{"name": "T1", "program": "elh", "fields": ["A:numero"]}]})",
         u"Catalogo delle tabelle «c.json»: tabella T1: campo «A:numero» non nella forma NOME:tipo o NOME:string:dimensione"},
        {R"({"tables": [{"name": "T1", "program": "xyz", "fields": ["A:integer"]}]})",
         u"Catalogo delle tabelle «c.json»: tabella T1: programma «xyz» sconosciuto"},
        {R"({"tables": [{"name": "T1", "program": "elh", "fields": ["A:integer", "a:date"]}]})",
         u"Catalogo delle tabelle «c.json»: tabella T1: Campo duplicato: a"},
        {R"({"tables": [{"name": "T1", "program": "elh", "fields": []}]})",
         u"Catalogo delle tabelle «c.json»: tabella T1 senza campi"},
        {R"({"tables": [)", u"Catalogo delle tabelle «c.json»: JSON non valido alla riga 1: unterminated array"},
    };
    for (const auto &c : cases) {
        try {
            ReturnCatalogue::parse(c.json, u"c.json"_s);
            ADD_FAILURE() << c.json;
        } catch (const EDatabaseError &e) {
            EXPECT_EQ(e.message(), QString::fromUtf16(c.message));
        }
    }
}
