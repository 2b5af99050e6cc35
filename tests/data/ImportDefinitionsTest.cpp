#include "DeliveredData.h"

#include "ElhUImportXML.h"
#include "ElhUImportXMLTypes.h"

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
        EXPECT_FALSE(seen.contains(import.Section())) << "the section is defined twice";
        seen.insert(import.Section());
        const TableDef &source = DeliveredData::table(import.InputPath());
        const TableDef &target = DeliveredData::table(import.OutputPath());
        QSet<QString> written; // upper-cased, as the store compares names
        for (int j = 0; j < import.Count(); ++j) {
            const TXMLFieldType field = import.Field(j);
            SCOPED_TRACE(field.Index().toStdString());
            if (!field.FromField().isEmpty()) {
                EXPECT_NE(DeliveredData::field(source, field.FromField()), nullptr) << field.FromField().toStdString();
            }
            const FieldDef *to = DeliveredData::field(target, field.ToField());
            ASSERT_NE(to, nullptr) << field.ToField().toStdString();
            EXPECT_TRUE(typeFits(field.TypeOf(), *to)) << field.TypeOf().toStdString();
            EXPECT_FALSE(written.contains(to->name.toUpper())) << "written twice";
            written.insert(to->name.toUpper());
            for (int k = 0; k < field.Count(); ++k) {
                const TXMLOperationType op = field.Operation(k);
                EXPECT_NE(DeliveredData::field(op.Source().toLower() == u"in" ? source : target, op.Field()), nullptr);
            }
        }
        // A certification with a value in every column fills every mapped
        // column of the return. Reverse mode, which integrates an extinct
        // agent's return, reads the return's own columns as cleanly.
        for (const bool reverse : {false, true}) {
            engine.SetReverse(reverse);
            const auto row = rowOf(reverse ? target : source, u"cdsOrigine"_s, true);
            const auto result = rowOf(target, u"cdsDestinazione"_s, false);
            EXPECT_TRUE(engine.Execute(import.Section(), definitionsFile(), *row, *result)) << reverse;
            EXPECT_EQ(findings.texts(), QStringList());
            findings.clear();
            for (int j = 0; j < import.Count(); ++j)
                EXPECT_FALSE(result->fieldByName(import.Field(j).ToField()).isNull()) << j << " " << reverse;
        }
    }
    EXPECT_FALSE(seen.isEmpty());
}
