#include "CdsExchange.h"
#include "ClientDataSet.h"
#include "DeliveredData.h"

#include <QDir>
#include <QFile>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QRegularExpression>
#include <QSet>

#include <gtest/gtest.h>

#include <memory>

using namespace Qt::Literals::StringLiterals;

namespace {

const QString kDemo = u"USR\\FL2023\\DbIniziale\\Demo\\"_s;

// A demo file: <TABLE>.json for the return's year, <TABLE>.2022.json for the
// previous year.
struct DemoFile
{
    QString fileName;
    QString table;
    int year = 0;
};

QList<DemoFile> demoFiles()
{
    static const QRegularExpression form(u"^([A-Z0-9]+_[A-Z0-9]+)(\\.2022)?\\.json$"_s);
    QList<DemoFile> files;
    const QDir folder(DeliveredData::path(kDemo));
    for (const QString &name : folder.entryList(QDir::Files, QDir::Name)) {
        const QRegularExpressionMatch m = form.match(name);
        files.append({name, m.captured(1), !m.hasMatch() ? 0 : m.captured(2).isEmpty() ? 2023 : 2022});
    }
    return files;
}

QByteArray readDemo(const QString &fileName)
{
    QFile file(DeliveredData::path(kDemo + fileName));
    if (!file.open(QIODevice::ReadOnly))
        throw std::runtime_error("cannot read " + fileName.toStdString());
    return file.readAll();
}

// The table opened empty from its catalogued structure, with the demo
// records appended as the database side loads them.
std::unique_ptr<ClientDataSet> openDemo(const QString &table, int year = 2023)
{
    const TableDef *def = DeliveredData::catalogue().find(table);
    if (!def)
        throw std::runtime_error("table not catalogued: " + table.toStdString());
    auto ds = std::make_unique<ClientDataSet>(table);
    ds->loadFromBytes(def->structurePacket(), table);
    const QString fileName = table + (year == 2022 ? u".2022.json"_s : u".json"_s);
    CdsExchange::appendJsonRecords(*ds, readDemo(fileName), fileName);
    ds->first();
    return ds;
}

QString text(const ClientDataSet &ds, const QString &field)
{
    return ds.fieldByName(field).asString();
}

QSet<QString> referenceCodes(const QString &file)
{
    ClientDataSet ds(file);
    ds.loadFromFile(DeliveredData::path(u"USR\\FL2023\\Res\\Tabelle\\"_s + file));
    QSet<QString> codes;
    for (ds.first(); !ds.eof(); ds.next())
        codes.insert(text(ds, u"CODICE"_s));
    return codes;
}

// Check digit of an 11-digit numeric fiscal code: digits in odd places are
// added, digits in even places doubled (less 9 above 9), and the last digit
// brings the sum to a multiple of ten.
bool validNumericCode(const QString &code)
{
    static const QRegularExpression digits(u"^\\d{11}$"_s);
    if (!digits.match(code).hasMatch())
        return false;
    int sum = 0;
    for (int i = 0; i < 10; ++i) {
        int d = code.at(i).digitValue();
        if (i % 2 == 1)
            d = d * 2 > 9 ? d * 2 - 9 : d * 2;
        sum += d;
    }
    return (10 - sum % 10) % 10 == code.at(10).digitValue();
}

// Check character of a person's 16-character fiscal code: characters in odd
// places count by the table of odd places, those in even places by their
// order; the sum modulo 26 is the letter.
bool validPersonCode(const QString &code)
{
    static const QRegularExpression form(u"^[A-Z]{6}\\d{2}[A-Z]\\d{2}[A-Z]\\d{3}[A-Z]$"_s);
    static const int odd[] = {1, 0, 5, 7, 9, 13, 15, 17, 19, 21, 2, 4, 18, 20, 11, 3, 6, 8, 12, 14, 16, 10, 22, 25, 24, 23};
    static const int oddDigit[] = {1, 0, 5, 7, 9, 13, 15, 17, 19, 21};
    if (!form.match(code).hasMatch())
        return false;
    int sum = 0;
    for (int i = 0; i < 15; ++i) {
        const QChar c = code.at(i);
        const int order = c.isDigit() ? c.digitValue() : c.unicode() - u'A';
        sum += i % 2 == 1 ? order : c.isDigit() ? oddDigit[order] : odd[order];
    }
    return code.at(15).unicode() == u'A' + sum % 26;
}

// The Prospetti of the year whose rows may belong to an extinct agent.
const QStringList kProspetti = {
    u"TPST_PROSPETTOST"_s,   u"TPST2_PROSPETTOSTS2"_s, u"TPSV_PROSPETTOSV"_s,   u"TPSX_PROSPETTOSX"_s,
    u"TPDI_PROSPETTODI"_s,   u"TPSY_PROSPETTOSY"_s,    u"TPSY2_PROSPETTOSY2"_s, u"TPSY3_PROSPETTOSY3"_s,
    u"TPSY4_PROSPETTOSY4"_s, u"TSS4_PROSPETTOSS4"_s,
};

} // namespace

TEST(DemoReturn, EveryFileLoadsIntoItsCataloguedTableOfItsYear)
{
    const QList<DemoFile> files = demoFiles();
    QSet<QString> tables2023;
    for (const DemoFile &f : files) {
        SCOPED_TRACE(f.fileName.toStdString());
        ASSERT_NE(f.year, 0) << "not <TABLE>.json nor <TABLE>.2022.json";
        if (f.year == 2023)
            tables2023.insert(f.table);
        // Of the previous year only the agent and the supplier, which the
        // start-up carries over, and the registries the office may import.
        else
            EXPECT_TRUE(f.table == u"TSOS_DATOSOSTITUTO" || f.table == u"TFOR_FORNITORE"
                        || f.table == u"TDIP7_ANAGRFISCALI" || f.table == u"TDAU7_DATIAUTONOM");
        const QJsonArray records = QJsonDocument::fromJson(readDemo(f.fileName)).object().value(u"records"_s).toArray();
        ASSERT_FALSE(records.isEmpty());
        std::unique_ptr<ClientDataSet> ds;
        ASSERT_NO_THROW(ds = openDemo(f.table, f.year));
        EXPECT_EQ(ds->recordCount(), records.size());
        // Texts fit their fields: the store would keep them cut.
        for (const QJsonValue &record : records) {
            const QJsonObject values = record.toObject();
            for (auto it = values.begin(); it != values.end(); ++it) {
                const Field &field = ds->fieldByName(it.key());
                if (field.dataType() == FieldType::String) {
                    EXPECT_LE(it.value().toString().size(), field.size()) << it.key().toStdString();
                }
            }
        }
    }
    for (const QString &table : kProspetti)
        EXPECT_TRUE(tables2023.contains(table)) << table.toStdString();
    EXPECT_TRUE(tables2023.contains(u"TSOE7_SOSESTINTO"_s));
    EXPECT_TRUE(tables2023.contains(u"TCUS_DATISOST"_s));
    EXPECT_FALSE(tables2023.contains(u"TSOS_DATOSOSTITUTO"_s));
    EXPECT_FALSE(tables2023.contains(u"TFOR_FORNITORE"_s));

    const auto agent = openDemo(u"TSOS_DATOSOSTITUTO"_s, 2022);
    for (const QString &field : {u"SSOSCODFIS"_s, u"SSOSDENOM"_s, u"SCOACODICE"_s, u"SSOSCFRAPPR"_s, u"SCARCODICE"_s,
                                 u"SSOSCOGNRAPPR"_s, u"SSOSNOMERAPPR"_s, u"DSOSDTNASRAPPR"_s, u"SSOSCOMNASRAPPR"_s})
        EXPECT_FALSE(text(*agent, field).isEmpty()) << field.toStdString();
    // Flags hold the texts "0" and "1".
    for (int i = 0; i < agent->fieldCount(); ++i) {
        const Field &field = agent->field(i);
        if (field.fieldName().startsWith(u'L') && !field.isNull()) {
            EXPECT_TRUE(field.asString() == u"0" || field.asString() == u"1") << field.fieldName().toStdString();
        }
    }
}

TEST(DemoReturn, FiscalCodesOfPersonsAndCompaniesAreValid)
{
    const QRegularExpression fiscalCode(u"CODFIS(?!EST)|CFRAPPR|CFBEN|CREPIG(CF|CODF)|DEBPRICODF"_s);
    int checked = 0;
    for (const DemoFile &f : demoFiles()) {
        const auto ds = openDemo(f.table, f.year);
        for (; !ds->eof(); ds->next()) {
            for (int i = 0; i < ds->fieldCount(); ++i) {
                const Field &field = ds->field(i);
                const QString code = field.asString();
                if (!fiscalCode.match(field.fieldName()).hasMatch() || code.isEmpty())
                    continue;
                EXPECT_TRUE(code.size() == 16 ? validPersonCode(code) : validNumericCode(code))
                    << f.fileName.toStdString() << ' ' << field.fieldName().toStdString() << ' ' << code.toStdString();
                ++checked;
            }
        }
    }
    EXPECT_GT(checked, 0);
}

TEST(DemoReturn, CodesExistInTheirReferenceTables)
{
    const struct
    {
        const char16_t *table;
        int year;
        const char16_t *field;
        const char16_t *reference;
    } lookups[] = {
        {u"TSOS_DATOSOSTITUTO", 2022, u"SCOACODICE", u"TAT8_CODATECO.CDS"},
        {u"TSOS_DATOSOSTITUTO", 2022, u"SCARCODICE", u"TCOA_CODCARICA.CDS"},
        {u"TSOS_DATOSOSTITUTO", 2022, u"STSACODICE", u"TTSA_STATO.CDS"},
        {u"TSOS_DATOSOSTITUTO", 2022, u"STSBCODICE", u"TTSB_NATGIURIDIC.CDS"},
        {u"TSOS_DATOSOSTITUTO", 2022, u"STSCCODICE", u"TTSC_SITUAZIONE.CDS"},
        {u"TSOS_DATOSOSTITUTO", 2022, u"SSOSTIPOINV", u"TTIN_TIPOLOGIAINVIO.CDS"},
        {u"TSOS_DATOSOSTITUTO", 2022, u"SSOSMESESL", u"TMES_MESI.CDS"},
        {u"TFOR_FORNITORE", 2022, u"STFOCODICE", u"TTFO_TIPOFORNIT.CDS"},
        {u"TCUS_DATISOST", 2023, u"SSOSCODATTIVITA", u"TAT8_CODATECO.CDS"},
        {u"TPST_PROSPETTOST", 2023, u"SPSTMESE", u"TMES_MESI.CDS"},
        {u"TPST2_PROSPETTOSTS2", 2023, u"SPST2MESE", u"TMES_MESI.CDS"},
        {u"TPSV_PROSPETTOSV", 2023, u"SPSVMESE", u"TMES_MESI.CDS"},
        {u"TPDI_PROSPETTODI", 2023, u"SPDINOTA", u"TDIN_NOTEDI.CDS"},
        {u"TPSY4_PROSPETTOSY4", 2023, u"SSY4CAUS", u"TCAU_CAUSALE.CDS"},
    };
    for (const auto &l : lookups) {
        const QString table = QString::fromUtf16(l.table);
        const QString field = QString::fromUtf16(l.field);
        SCOPED_TRACE(table.toStdString() + '.' + field.toStdString());
        const QSet<QString> codes = referenceCodes(QString::fromUtf16(l.reference));
        const auto ds = openDemo(table, l.year);
        int found = 0;
        for (; !ds->eof(); ds->next()) {
            const QString code = text(*ds, field);
            if (code.isEmpty())
                continue;
            EXPECT_TRUE(codes.contains(code)) << code.toStdString();
            ++found;
        }
        EXPECT_GT(found, 0);
    }
}
