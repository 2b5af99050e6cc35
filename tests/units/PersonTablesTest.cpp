#include "PersonTables.h"
#include "CdsExchange.h"
#include "ClientDataSet.h"
#include "Exceptions.h"

#include <gtest/gtest.h>

using namespace Qt::Literals::StringLiterals;

TEST(PersonTables, ARegistryRecordCarriesThePersonsOwnDataIntoTheGroupNeverTwiceAndNeverCut)
{
    const char *fields = R"("fields": [{"name": "IFISRIGO", "type": "integer"},
            {"name": "IAFIID", "type": "integer"}, {"name": "SDIP7CODFIS", "type": "string", "size": 16},
            {"name": "SDIP7COGNOME", "type": "string", "size": 35}, {"name": "SDIP7GRUPPOANA", "type": "string", "size": 1},
            {"name": "SDIP7DFCOMUNEPRECC", "type": "string", "size": 40},
            {"name": "SDIP7DFCOMUNE", "type": "string", "size": 40}, {"name": "FFIS7REDDDETR", "type": "string", "size": 12}])";
    ClientDataSet last;
    CdsExchange::fromJson(last, QByteArray("{") + fields + R"(,
        "records": [{"IFISRIGO": 7, "IAFIID": 40, "SDIP7CODFIS": "RSSMRA75D12D653T", "SDIP7COGNOME": "ROSSI",
                     "SDIP7DFCOMUNEPRECC": "ASSISI", "SDIP7DFCOMUNE": "FOLIGNO", "FFIS7REDDDETR": "31800.00"}]})",
                          u"2022"_s);
    ClientDataSet current;
    CdsExchange::fromJson(current, QByteArray("{") + fields + R"(, "records": []})", u"2023"_s);
    last.first();

    EXPECT_TRUE(PersonTables::copyRegistryRecord(last, current, PersonTables::Kind::Employee));
    EXPECT_FALSE(PersonTables::copyRegistryRecord(last, current, PersonTables::Kind::Employee));
    ASSERT_EQ(current.recordCount(), 1);
    EXPECT_EQ(current.fieldByName(u"SDIP7COGNOME"_s).asString(), u"ROSSI"_s);
    EXPECT_EQ(current.fieldByName(u"SDIP7GRUPPOANA"_s).asString(), u"D"_s);
    // Last year's domicile at the end of the year is this year's at its start;
    // last year's amounts stay behind.
    EXPECT_EQ(current.fieldByName(u"SDIP7DFCOMUNEPRECC"_s).asString(), u"FOLIGNO"_s);
    EXPECT_EQ(current.fieldByName(u"SDIP7DFCOMUNE"_s).asString(), u"FOLIGNO"_s);
    EXPECT_TRUE(current.fieldByName(u"FFIS7REDDDETR"_s).isNull());
    EXPECT_TRUE(current.fieldByName(u"IFISRIGO"_s).isNull());
    EXPECT_TRUE(current.fieldByName(u"IAFIID"_s).isNull());

    // A surname longer than this year's field is refused, naming person and field.
    ClientDataSet longer;
    CdsExchange::fromJson(longer, QByteArray(R"({"fields": [{"name": "SDIP7CODFIS", "type": "string", "size": 16},
            {"name": "SDIP7COGNOME", "type": "string", "size": 60}],
        "records": [{"SDIP7CODFIS": "VRDGPP58C10D653M", "SDIP7COGNOME": ")") + QByteArray(40, 'V') + R"("}]})",
                          u"2022"_s);
    longer.first();
    try {
        PersonTables::copyRegistryRecord(longer, current, PersonTables::Kind::Employee);
        FAIL() << "a surname of 40 characters went into a field of 35";
    } catch (const EConvertError &e) {
        EXPECT_TRUE(e.message().contains(u"VRDGPP58C10D653M, campo SDIP7COGNOME"_s)) << e.message().toStdString();
    }
    EXPECT_EQ(current.recordCount(), 1);
}
