#include "ClientDataSet.h"
#include "DeliveredData.h"
#include "FiscalCode.h"

#include <QDir>
#include <QFile>
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
    QString table;
    int year = 0;
};

QList<DemoFile> demoFiles()
{
    static const QRegularExpression form(u"^([A-Z0-9]+_[A-Z0-9]+)(\\.2022)?\\.json$"_s);
    QList<DemoFile> files;
    for (const QString &name : QDir(DeliveredData::path(kDemo)).entryList(QDir::Files, QDir::Name)) {
        const QRegularExpressionMatch m = form.match(name);
        if (m.hasMatch())
            files.append({m.captured(1), m.captured(2).isEmpty() ? 2023 : 2022});
    }
    return files;
}

// The table with the demo records of its year, as the database side loads them.
std::unique_ptr<ClientDataSet> openDemo(const QString &table, int year = 2023)
{
    QFile file(DeliveredData::path(kDemo + table + (year == 2022 ? u".2022.json"_s : u".json"_s)));
    if (!file.open(QIODevice::ReadOnly))
        throw std::runtime_error("cannot read " + file.fileName().toStdString());
    auto ds = std::make_unique<ClientDataSet>(table);
    DeliveredData::openTable(*ds, table, file.readAll());
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

} // namespace

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
                EXPECT_EQ(FiscalCode::check(code), FiscalCode::Verdict::Valid)
                    << f.table.toStdString() << ' ' << f.year << ' ' << field.fieldName().toStdString() << ' '
                    << code.toStdString();
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
