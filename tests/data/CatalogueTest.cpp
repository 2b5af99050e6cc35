#include "DeliveredData.h"

#include <QRegularExpression>
#include <QSet>

#include <gtest/gtest.h>

using namespace Qt::Literals::StringLiterals;

namespace {

using DeliveredData::catalogue;
using DeliveredData::field;

std::string where(const QString &table, const QString &field)
{
    return QString(table + u'.' + field).toStdString();
}

// Fields written without a type letter that hold text: the extinct agent's
// own two fields and the codes and fiscal codes of Prospetto SX.
const QSet<QString> kTextWithoutTypeLetter = {
    u"CODICE"_s,           u"DENOMINAZI0NE"_s,     u"CFISCEDENTE_SX40"_s,   u"CFISCESSION_SX40"_s,
    u"RACUCMCFCED_SX41"_s, u"RACUCMCFCESS_SX41"_s, u"RACCA1C2CFCED_SX42"_s, u"RACA1C2CFCESS_SX42"_s,
    u"RACCAICFCED_SX46"_s, u"RACCAICFCESS_SX46"_s, u"CODICEREP_SX"_s,
};
// Fields named as amounts that hold a code or a fiscal code looked up or typed as text.
const QSet<QString> kCodesNamedAsAmounts = {
    u"FFIS7CODFIS"_s,   u"FDSE7CFALTSOG"_s,  u"FDSE7CODICE"_s,    u"FTFR007CODICE"_s,
    u"FTFR017CODICE"_s, u"FPRES007CODICE"_s, u"FPRES017CODICE"_s,
};
// Texts of several lines: the certification's annotations, one a line.
const QSet<QString> kMultiLineTexts = {u"SCUDANNOTAZIONI"_s};
// Flags of the Prospetti that hold the code of an exceptional event ("1", "99").
const QSet<QString> kEventCodes = {u"LPSTEVENTIECC"_s, u"LPSVEVENTIECC"_s, u"LPSYEVENTIECC"_s};

struct Expected
{
    FieldType type;
    int size = 0; // for text: the size required, or 0 for any size
};

// The naming rule: the first letter gives the type (S text, F amount, D date,
// I integer, L flag "0"/"1", C fiscal code); in Prospetto SX a field that
// starts with none of F, L, S, I is an amount written without a type letter.
Expected expectedType(const QString &table, const QString &fieldName)
{
    const QString name = fieldName.toUpper();
    if (kTextWithoutTypeLetter.contains(name) || kCodesNamedAsAmounts.contains(name))
        return {FieldType::String};
    if (kEventCodes.contains(name))
        return {FieldType::String, 2};
    if (kMultiLineTexts.contains(name))
        return {FieldType::Memo};
    const QChar letter = name.at(0);
    if (table == u"TPSX_PROSPETTOSX" && !QStringLiteral("FLSI").contains(letter))
        return {FieldType::Decimal};
    switch (letter.unicode()) {
    case 'S':
        return {FieldType::String};
    case 'F':
        return {FieldType::Decimal};
    case 'D':
        return {FieldType::Date};
    case 'I':
        return {FieldType::Integer};
    case 'L':
        return {FieldType::String, 1};
    case 'C':
        return {FieldType::String, 16};
    }
    return {FieldType::Blob}; // no rule: never matches a catalogued type
}

} // namespace

TEST(DeliveredCatalogue, FieldTypesAndWidthsFollowTheNamingRule)
{
    // A fiscal code of a person or an agent has 16 characters (11 for an
    // entity); foreign identifiers and the codes of entities only are apart.
    const QRegularExpression fiscalCode(u"CODFIS(?!EST)|CFBEN|CREPIG(CF|CODF)|DEBPRICODF"_s);
    const QRegularExpression month(u"MESE(\\d\\d)?$"_s);
    const QRegularExpression year(u"ANNO(\\d\\d)?$"_s);
    for (const TableDef &t : catalogue().tables()) {
        for (const FieldDef &f : t.fields) {
            SCOPED_TRACE(where(t.name, f.name));
            const QString name = f.name.toUpper();
            const Expected e = expectedType(t.name, f.name);
            EXPECT_EQ(fieldTypeName(f.type).toStdString(), fieldTypeName(e.type).toStdString());
            if (f.type != FieldType::String)
                continue;
            EXPECT_GT(f.size, 0);
            if (e.size > 0) {
                EXPECT_EQ(f.size, e.size);
            }
            if (kCodesNamedAsAmounts.contains(name))
                continue;
            if (fiscalCode.match(name).hasMatch() && name != u"SSOSCODFISCAF") {
                EXPECT_EQ(f.size, 16);
            }
            if (month.match(name).hasMatch()) {
                EXPECT_EQ(f.size, 2);
            }
            if (year.match(name).hasMatch()) {
                EXPECT_EQ(f.size, 4);
            }
        }
    }
}

TEST(DeliveredCatalogue, EveryTableStartsWithItsRecordNumberAndPersonTablesMapTheirPerson)
{
    // A registry maps the person's names (and, in the return, the group that
    // keeps an employee and a self-employed worker with the same fiscal code
    // apart); any other table of a person finds him by the fiscal code only,
    // without writing him.
    const QSet<QString> personColumns = {u"saficognome"_s, u"safinome"_s, u"saficodfiscale"_s, u"safigruppoana"_s};
    int registries = 0;
    for (const TableDef &t : catalogue().tables()) {
        SCOPED_TRACE(t.name.toStdString());
        ASSERT_FALSE(t.fields.isEmpty());
        EXPECT_EQ(t.fields.at(0).name, u"IFISRIGO"_s);
        EXPECT_EQ(t.fields.at(0).type, FieldType::Integer);
        const FieldDef *person = field(t, u"IAFIID"_s);
        if (t.fieldMap.isEmpty()) {
            EXPECT_EQ(person, nullptr);
            EXPECT_FALSE(t.registry);
            continue;
        }
        ASSERT_NE(person, nullptr);
        EXPECT_EQ(person->type, FieldType::Integer);
        EXPECT_EQ(t.fieldMapReadOnly, !t.registry);
        QSet<QString> columns;
        for (const QString &pair : t.fieldMap.split(u';')) {
            const QStringList parts = pair.split(u'=');
            ASSERT_EQ(parts.size(), 2) << pair.toStdString();
            EXPECT_TRUE(personColumns.contains(parts[0])) << pair.toStdString();
            columns.insert(parts[0]);
            for (const QString &part : parts[1].split(u'+'))
                EXPECT_NE(field(t, part), nullptr) << pair.toStdString();
        }
        registries += t.registry;
        if (!t.registry)
            EXPECT_EQ(columns, QSet<QString>{u"saficodfiscale"_s});
        else if (t.program == u"elh")
            EXPECT_EQ(columns, personColumns);
        else
            EXPECT_EQ(columns, personColumns - QSet<QString>{u"safigruppoana"_s});
    }
    EXPECT_EQ(registries, 3);
}

TEST(DeliveredCatalogue, TheSuppliedProspettoSsHoldsEveryAmountTheUserEnters)
{
    // The telematic file copies the amounts of the SS editor by name into the
    // Prospetto SS that the supply and the SS print read.
    const TableDef &entered = DeliveredData::table(u"TSS4_PROSPETTOSS4"_s);
    const TableDef &supplied = DeliveredData::table(u"TPSS_PROSPETTOSS"_s);
    int amounts = 0;
    for (const FieldDef &f : entered.fields) {
        if (f.type != FieldType::Decimal)
            continue;
        ++amounts;
        const FieldDef *copy = field(supplied, f.name);
        ASSERT_NE(copy, nullptr) << where(supplied.name, f.name);
        EXPECT_EQ(copy->type, FieldType::Decimal) << where(supplied.name, f.name);
    }
    EXPECT_EQ(amounts, 15);
}
