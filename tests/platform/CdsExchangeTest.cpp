#include "CdsExchange.h"
#include "ClientDataSet.h"
#include "DataSetFixtures.h"

#include <gtest/gtest.h>

using namespace Qt::Literals::StringLiterals;
using fixtures::addRow;
using fixtures::column;

namespace {

void sample(ClientDataSet &ds)
{
    fixtures::defineSample(ds);
    addRow(ds, {u"A, \"virgolette\""_s, u"Forlì"_s, 2023, QVariant::fromValue(*Decimal::parse(u"-1234,5"_s)),
                QDate(2024, 3, 5), true, u"due\nrighe"_s, 0.25});
    addRow(ds, {u""_s});
}

} // namespace

TEST(CdsExchange, JsonAndCsvRoundTripEveryValueQuotesLineBreaksAndNulls)
{
    ClientDataSet ds;
    sample(ds);
    const QByteArray json = CdsExchange::toJson(ds);
    EXPECT_TRUE(json.contains(R"("IMPORTO": "-1234.5")"));
    EXPECT_TRUE(json.contains(R"("DATA": "2024-03-05")"));
    const QByteArray csv = CdsExchange::toCsv(ds);
    EXPECT_TRUE(csv.startsWith("CODICE:string:16,NOME:string:40,ANNO:integer,IMPORTO:decimal,"));
    EXPECT_TRUE(csv.contains("\"-1234,5\",05/03/2024,True,\"due\nrighe\",\"0,25\""));
    ClientDataSet back;
    CdsExchange::fromJson(back, json, u"tabella.json"_s);
    EXPECT_EQ(back.saveToBytes(), ds.saveToBytes());
    CdsExchange::fromCsv(back, csv, u"tabella.csv"_s);
    EXPECT_EQ(back.saveToBytes(), ds.saveToBytes());
}

TEST(CdsExchange, ErrorsNameTheSourceTheRecordAndTheField)
{
    ClientDataSet ds;
    sample(ds);
    const QByteArray before = ds.saveToBytes();
    const struct
    {
        const char *text;
        const char16_t *message; // null: any error
    } cases[] = {
        {"A:string:2,N:integer\nx,uno\n", u"t.csv: riga 2, campo N: valore «uno» non valido (integer)"},
        {"A:string:2,N:integer\nx\n", u"t.csv: riga 2: 1 valori per 2 campi"},
        {"A:testo\n", u"t.csv: intestazione «A:testo»: attesa la forma NOME:tipo o NOME:string:dimensione"},
        {"A:string,A:integer\n", u"t.csv: intestazione: Campo duplicato: A"},
        {"A:string:2\n\"x\n", u"t.csv: virgolette non chiuse"},
        {R"({"fields":[{"name":"D","type":"date"}],"records":[{"D":"31/02/2024"}]})",
         u"t.json: record 1, campo D: valore «31/02/2024» non valido (date)"},
        {"{\"fields\": [", nullptr},
        {R"({"fields":[{"name":"X","type":"uuid"}]})", nullptr},
    };
    for (const auto &c : cases) {
        SCOPED_TRACE(c.text);
        try {
            if (c.text[0] == '{')
                CdsExchange::fromJson(ds, c.text, u"t.json"_s);
            else
                CdsExchange::fromCsv(ds, c.text, u"t.csv"_s);
            ADD_FAILURE() << "accepted";
        } catch (const EDatabaseError &e) {
            if (c.message) {
                EXPECT_EQ(e.message(), QString::fromUtf16(c.message));
            }
        }
    }
    // Nothing of the dataset was lost on the way.
    EXPECT_EQ(ds.saveToBytes(), before);
}

TEST(CdsExchange, RecordsAreAppendedToAnOpenTableByFieldNameUpToTheFirstBadOne)
{
    ClientDataSet ds;
    fixtures::defineSample(ds);
    addRow(ds, {u"A"_s});
    try {
        CdsExchange::appendJsonRecords(ds, R"({"records": [{"codice": "B", "IMPORTO": "12.5"}, {"ANNI": 1}]})",
                                       u"demo.json"_s);
        FAIL();
    } catch (const EDatabaseError &e) {
        EXPECT_EQ(e.message(), u"demo.json: record 2: campo «ANNI» sconosciuto"_s);
    }
    EXPECT_EQ(column(ds, u"CODICE"_s), (QStringList{u"A"_s, u"B"_s}));
    EXPECT_EQ(column(ds, u"IMPORTO"_s), (QStringList{u"<null>"_s, u"12,5"_s}));
    EXPECT_EQ(ds.state(), DataSetState::Browse);
}
