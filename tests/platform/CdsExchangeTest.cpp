#include "CdsExchange.h"
#include "ClientDataSet.h"
#include "DataSetFixtures.h"
#include "QtPrinters.h"

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

TEST(CdsExchange, AmountsAreReadInTheFormOfTheirFileAndKeptExact)
{
    ClientDataSet ds;
    CdsExchange::fromCsv(ds, "IMPORTO:decimal,VALORE:float\n1.234,\"1.234,5\"\n\"123456789012345,68\",\"2,5\"\n",
                         u"t.csv"_s);
    EXPECT_EQ(column(ds, u"IMPORTO"_s), (QStringList{u"1234"_s, u"123456789012345,68"_s}));
    EXPECT_EQ(column(ds, u"VALORE"_s), (QStringList{u"1234,5"_s, u"2,5"_s}));
    CdsExchange::fromJson(ds, R"({"fields":[{"name":"IMPORTO","type":"decimal"}],
                                 "records":[{"IMPORTO":"1.234"},{"IMPORTO":1234567890123.45},{"IMPORTO":"0.123400"}]})",
                          u"t.json"_s);
    EXPECT_EQ(column(ds, u"IMPORTO"_s), (QStringList{u"1,234"_s, u"1234567890123,45"_s, u"0,1234"_s}));
}

// Hostile values of data files: each refused with the file, the line or
// record, the field and the value; nothing cut, nothing misread.
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
        {"A:memo,N:integer\n\"due\nrighe\",1\nx\n", u"t.csv: riga 4: 1 valori per 2 campi"},
        {"A:string:4\nTOOLONG\n",
         u"t.csv: riga 2, campo A: il valore «TOOLONG» è lungo 7 caratteri: il campo ne ammette 4"},
        {"A:string:9\n\"a\tb\"\n",
         u"t.csv: riga 2, campo A: il valore «a<TAB>b» contiene il carattere di controllo TAB "
         "alla posizione 2"},
        {"I:decimal\n1.23\n",
         u"t.csv: riga 2, campo I: «1.23» non è un importo (nei file CSV il punto separa le migliaia e "
         "la virgola i decimali: 1.234,56)"},
        {"I:decimal\n\"0,00005\"\n",
         u"t.csv: riga 2, campo I: il valore «0,00005» ha 5 decimali: il campo ne ammette 4"},
        {"N:integer\n\"1,5\"\n", u"t.csv: riga 2, campo N: valore «1,5» non valido (integer)"},
        {"A:string:9\nabc\nd\xe8\n",
         u"t.csv: riga 3, colonna 2: il byte 0xE8 non è testo UTF-8; salvare il file con la "
         "codifica UTF-8"},
        {"A:string:9,B:string:9\n\"x\ny\",1\nab\"c,d\n",
         u"t.csv: riga 4: virgolette nel mezzo di un valore (un valore con "
         "virgolette va racchiuso tra virgolette, raddoppiando le sue)"},
        {"A:string:9\n\"ab\"c\n", u"t.csv: riga 2: dopo le virgolette che chiudono un valore è attesa una virgola"},
        {"A:testo\n", u"t.csv: intestazione «A:testo»: attesa la forma NOME:tipo o NOME:string:dimensione"},
        {"A:string,A:integer\n", u"t.csv: intestazione: Campo duplicato: A"},
        {"A:string:2\n\"x\n", u"t.csv: riga 2: virgolette non chiuse"},
        {R"({"fields":[{"name":"D","type":"date"}],"records":[{"D":"31/02/2024"}]})",
         u"t.json: record 1, campo D: valore «31/02/2024» non valido (date)"},
        {R"({"fields":[{"name":"A","type":"string","size":20}],"records":[{"A":"Rossi\u0000"}]})",
         u"t.json: record 1, campo A: il valore «Rossi<NUL>» contiene il carattere di controllo NUL alla posizione 6"},
        {R"({"fields":[{"name":"I","type":"decimal"}],"records":[{"I":"1234,5"}]})",
         u"t.json: record 1, campo I: «1234,5» non è un importo (nei file JSON i decimali seguono il punto: 1234.56)"},
        {R"({"fields":[{"name":"I","type":"decimal"}],"records":[{"I":123456789012345.68}]})",
         u"t.json: record 1, campo I: l'importo, letto come 123456789012345.6875, ha troppe cifre per un numero "
         "JSON, che può averle già alterate: scriverlo come testo, tra virgolette"},
        {R"({"fields":[{"name":"I","type":"decimal"}],"records":[{"I":"1.23456"}]})",
         u"t.json: record 1, campo I: il valore «1.23456» ha 5 decimali: il campo ne ammette 4"},
        {R"({"fields":[{"name":"I","type":"decimal"}],"records":[{"I":1.23456}]})",
         u"t.json: record 1, campo I: il valore «1.23456» ha 5 decimali: il campo ne ammette 4"},
        {R"({"fields":[{"name":"N","type":"largeint"}],"records":[{"N":1.5}]})",
         u"t.json: record 1, campo N: 1.5 non è un numero intero"},
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
