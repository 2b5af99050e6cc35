#include "CdsExchange.h"
#include "CaseFile.h"
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
    auto refusal = [&ds](const QString &file, const QByteArray &text) {
        try {
            if (file.endsWith(u".json"))
                CdsExchange::fromJson(ds, text, file);
            else
                CdsExchange::fromCsv(ds, text, file);
        } catch (const EDatabaseError &e) {
            return e.message();
        }
        return u"(accettato)"_s;
    };
    for (const QStringList &row : caseTextRows(QStringLiteral(ELH_CASES_DIR "/exchange-errors.json")))
        EXPECT_EQ(refusal(row[0], row[1].toUtf8()), row[2]) << row[1].toStdString();
    EXPECT_EQ(refusal(u"t.csv"_s, "A:string:9\nabc\nd\xe8\n"),
              u"t.csv: riga 3, colonna 2: il byte 0xE8 non è testo UTF-8; salvare il file con la codifica UTF-8"_s);
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
