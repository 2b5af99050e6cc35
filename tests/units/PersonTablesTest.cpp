#include "people/PersonTables.h"
#include "CdsExchange.h"
#include "ClientDataSet.h"

#include <gtest/gtest.h>

using namespace Qt::Literals::StringLiterals;

TEST(PersonTables, ARegistryRecordIsCopiedIntoTheGroupWithoutItsKeysAndNeverTwice)
{
    ClientDataSet last;
    CdsExchange::fromJson(last, R"({"fields": [{"name": "IFISRIGO", "type": "integer"},
            {"name": "IAFIID", "type": "integer"}, {"name": "SDIP7CODFIS", "type": "string", "size": 16},
            {"name": "SDIP7COGNOME", "type": "string", "size": 35}, {"name": "SDIP7GRUPPOANA", "type": "string", "size": 1},
            {"name": "SOLOANNOPRIMA", "type": "string", "size": 5}],
        "records": [{"IFISRIGO": 7, "IAFIID": 40, "SDIP7CODFIS": "RSSMRA75D12D653T", "SDIP7COGNOME": "ROSSI",
                     "SOLOANNOPRIMA": "X"}]})",
                          u"2022"_s);
    ClientDataSet current;
    current.fieldDefs().add(u"IFISRIGO"_s, FieldType::Integer);
    current.fieldDefs().add(u"IAFIID"_s, FieldType::Integer);
    current.fieldDefs().add(u"SDIP7CODFIS"_s, FieldType::String, 16);
    current.fieldDefs().add(u"SDIP7COGNOME"_s, FieldType::String, 35);
    current.fieldDefs().add(u"SDIP7GRUPPOANA"_s, FieldType::String, 1);
    current.createDataSet();
    last.first();

    EXPECT_TRUE(PersonTables::copyRegistryRecord(last, current, PersonTables::Kind::Employee));
    EXPECT_FALSE(PersonTables::copyRegistryRecord(last, current, PersonTables::Kind::Employee));
    ASSERT_EQ(current.recordCount(), 1);
    EXPECT_EQ(current.fieldByName(u"SDIP7COGNOME"_s).asString(), u"ROSSI"_s);
    EXPECT_EQ(current.fieldByName(u"SDIP7GRUPPOANA"_s).asString(), u"D"_s);
    EXPECT_TRUE(current.fieldByName(u"IFISRIGO"_s).isNull());
    EXPECT_TRUE(current.fieldByName(u"IAFIID"_s).isNull());
}
