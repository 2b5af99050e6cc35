#include "DeliveredData.h"

#include "import/ElhUImportXML.h"
#include "import/ElhUImportXMLTypes.h"

#include "ClientDataSet.h"
#include "NrFindings.h"

#include <QSet>

#include <gtest/gtest.h>

using namespace Qt::Literals::StringLiterals;

namespace {

QString definitionsFile()
{
    return DeliveredData::path(u"usr\\FL2023\\res\\import\\Import.xml"_s);
}

struct SectionUse
{
    QString section;
    QString source;   // certification table
    QString target;   // return table
    QStringList keys; // target columns the CU import locates a row by
};

// The sections the CU import requests, with the tables it runs them on.
// clang-format off
const QList<SectionUse> kSections = {
    {u"CUD_Ana"_s, u"TCUD_DATICUD"_s, u"TDIP7_ANAGRFISCALI"_s, {u"SDIP7CODFIS"_s}},
    {u"CUD_Fis"_s, u"TCUD_DATICUD"_s, u"TDIP7_ANAGRFISCALI"_s, {}},
    {u"CUD_Cong"_s, u"TCUD_DATICUD"_s, u"TCON7_DATICONGUAG"_s, {u"SDIP7CODFIS"_s}},
    {u"CUD_ReddImp"_s, u"TCUD_DATICUD"_s, u"TRAR7_REDASSTIRTIT"_s, {u"SDIP7CODFIS"_s}},
    {u"CUD_SommEroLavStra"_s, u"TCUD_DATICUD"_s, u"TSLS7_SOMEROLAVSTRA"_s, {u"SDIP7CODFIS"_s}},
    {u"CUD_Tass"_s, u"TCUD_DATICUD"_s, u"TTAS7_TASSAZIONESE"_s, {u"SDIP7CODFIS"_s}},
    {u"CUD_Tfr"_s, u"TCUD_DATICUD"_s, u"TTFR7_TFR"_s, {u"SDIP7CODFIS"_s}},
    {u"CUD_Inps"_s, u"TCUDI_INPS"_s, u"TINPS7_INPS"_s, {u"SDIP7CODFIS"_s, u"SINPS7MATRAZIENDA"_s}},
    {u"CUD_Inpdap"_s, u"TCUDN_INPDAP"_s, u"TINP7_INPDAP"_s, {u"SDIP7CODFIS"_s, u"IINPDAP7ANNORIF"_s, u"SINPDAP7CODFISAMMNE"_s}},
    {u"CUD_ConFamCar"_s, u"TCUDC_CONFAMCARICO"_s, u"TCFC7_CONFAMCARICO"_s, {}},
    {u"CUD_ReddEst"_s, u"TCUD_DATICUD"_s, u"TREE7_REDDITOESTER"_s, {u"SDIP7CODFIS"_s}},
    {u"CUD_ContrPrevFamCarico"_s, u"TCUD_DATICUD"_s, u"TCFF7_CFFAMILIARE"_s, {u"SDIP7CODFIS"_s}},
    {u"CUD_Inail"_s, u"TCUIN_INAIL"_s, u"TINA7_INAIL"_s, {u"SDIP7CODFIS"_s, u"SQUACODICE"_s, u"SINA7POSASSTERR"_s}},
    {u"CUD_AnagraficaAut"_s, u"TCUD_DATICUD"_s, u"TDAU7_DATIAUTONOM"_s, {u"SDAU7CODFIS"_s}},
    {u"CUD_AutSommeEro"_s, u"TASE_AUTSOMMEEROGATE"_s, u"TDSE7_SOMMEEROGATE"_s, {u"SDAU7CODFIS"_s, u"SCAUCODICE"_s, u"SDSE7ANNO"_s}},
};
// clang-format on

const TableDef &table(const QString &name)
{
    const TableDef *t = DeliveredData::catalogue().find(name);
    if (!t)
        throw std::runtime_error("table not catalogued: " + name.toStdString());
    return *t;
}

const FieldDef *column(const TableDef &t, const QString &name)
{
    const qsizetype i = t.fields.indexOf(name);
    return i < 0 ? nullptr : &t.fields.at(i);
}

// The value types an entry may write into a column of each type: a flag of
// the return ("0"/"1" in one character) takes "x", an amount "c", and so on.
bool typeFits(const QString &typeOf, const FieldDef &target)
{
    const QChar letter = typeOf.isEmpty() ? QChar() : typeOf.at(0).toLower();
    switch (target.type) {
    case FieldType::Decimal:
        return letter == u'c';
    case FieldType::Integer:
        return letter == u'i';
    case FieldType::Date:
        return letter == u'd';
    case FieldType::String:
        return target.name.startsWith(u'L', Qt::CaseInsensitive) && target.size == 1 ? letter == u'x' : letter == u's';
    default:
        return false;
    }
}

// A row of a table's structure: empty, or with a value in every column.
std::unique_ptr<ClientDataSet> rowOf(const TableDef &t, const QString &name, bool filled)
{
    auto ds = std::make_unique<ClientDataSet>(name);
    for (const FieldDef &f : t.fields)
        ds->fieldDefs().add(f);
    ds->createDataSet();
    ds->append();
    for (int i = 0; filled && i < ds->fieldCount(); ++i) {
        Field &f = ds->field(i);
        if (f.dataType() == FieldType::Integer)
            f.setAsInteger(2023);
        else if (f.dataType() == FieldType::Date)
            f.setAsString(u"15/03/2023"_s);
        else
            f.setAsString(f.isNumeric() ? u"1234,56"_s : f.size() == 1 ? u"X"_s : u"RSSMRA80A01H501U"_s);
    }
    if (filled)
        ds->post();
    return ds;
}

} // namespace

TEST(DeliveredImportDefinitions, EachSectionMapsColumnsOfItsTablesAndRunsCleanly)
{
    FindingList findings;
    TImportXML engine(findings);
    engine.Vars(1) = u"S"_s;
    const TXMLDataImportType root = LoadDataImport(definitionsFile());
    QSet<QString> seen;
    for (int i = 0; i < root.Count(); ++i) {
        const TXMLImportType import = root.Import(i);
        SCOPED_TRACE(import.Section().toStdString());
        const auto use = std::find_if(kSections.begin(), kSections.end(),
                                      [&](const SectionUse &u) { return u.section == import.Section(); });
        ASSERT_NE(use, kSections.end()) << "a section the import never requests";
        EXPECT_FALSE(seen.contains(use->section)) << "the section is defined twice";
        seen.insert(use->section);
        EXPECT_EQ(import.InputPath(), use->source);
        EXPECT_EQ(import.OutputPath(), use->target);
        const TableDef &source = table(use->source);
        const TableDef &target = table(use->target);
        QSet<QString> written; // upper-cased, as the store compares names
        for (int j = 0; j < import.Count(); ++j) {
            const TXMLFieldType field = import.Field(j);
            SCOPED_TRACE(field.Index().toStdString());
            if (!field.FromField().isEmpty()) {
                EXPECT_NE(column(source, field.FromField()), nullptr) << field.FromField().toStdString();
            }
            const FieldDef *to = column(target, field.ToField());
            ASSERT_NE(to, nullptr) << field.ToField().toStdString();
            EXPECT_TRUE(typeFits(field.TypeOf(), *to)) << field.TypeOf().toStdString();
            EXPECT_FALSE(written.contains(to->name.toUpper())) << "written twice";
            written.insert(to->name.toUpper());
            for (int k = 0; k < field.Count(); ++k) {
                const TXMLOperationType op = field.Operation(k);
                EXPECT_NE(column(op.Source().toLower() == u"in" ? source : target, op.Field()), nullptr);
            }
        }
        // A row the import inserts gets its key from the section.
        for (const QString &key : use->keys)
            EXPECT_TRUE(written.contains(key)) << key.toStdString();

        // A certification with a value in every column fills every mapped
        // column of the return. Reverse mode, which integrates an extinct
        // agent's return, reads the return's own columns as cleanly.
        for (const bool reverse : {false, true}) {
            engine.SetReverse(reverse);
            const auto row = rowOf(reverse ? target : source, u"cdsOrigine"_s, true);
            const auto result = rowOf(target, u"cdsDestinazione"_s, false);
            EXPECT_TRUE(engine.Execute(use->section, definitionsFile(), *row, *result)) << reverse;
            EXPECT_EQ(findings.texts(), QStringList());
            findings.clear();
            for (int j = 0; j < import.Count(); ++j)
                EXPECT_FALSE(result->fieldByName(import.Field(j).ToField()).isNull()) << j << " " << reverse;
        }
    }
    EXPECT_EQ(seen.size(), kSections.size());
}
