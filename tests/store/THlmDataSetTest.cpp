#include "ClientDataSet.h"
#include "THlmDataSet.h"

#include <gtest/gtest.h>

using namespace Qt::Literals::StringLiterals;

namespace {

// A dataset with one saved record, changed as `change` says, whose change
// record is handed to `check`.
void withChange(const std::function<void(ClientDataSet &)> &change, const std::function<void(const DeltaRecord &)> &check)
{
    ClientDataSet ds;
    ds.fieldDefs().add(u"SNOME"_s, FieldType::String, 20);
    ds.fieldDefs().add(u"IANNI"_s, FieldType::Integer);
    ds.fieldDefs().add(u"FIMPORTO"_s, FieldType::Decimal);
    ds.fieldDefs().add(u"DDATA"_s, FieldType::Date);
    ds.createDataSet();
    ds.append();
    ds.fieldByName(u"SNOME"_s).setAsString(u"prima"_s);
    ds.fieldByName(u"IANNI"_s).setAsInteger(40);
    ds.post();
    ds.mergeChangeLog();
    change(ds);
    int seen = 0;
    ds.applyUpdates([&](DeltaRecord &d) {
        ++seen;
        check(d);
    });
    EXPECT_EQ(seen, 1);
}

} // namespace

TEST(THlmDataSet, AChangeRecordGivesNewValuesOldValuesOrTheDefault)
{
    // A changed field gives its new value, an unchanged one its old value.
    withChange(
        [](ClientDataSet &ds) {
            ds.edit();
            ds.fieldByName(u"IANNI"_s).setAsInteger(41);
            ds.post();
        },
        [](const DeltaRecord &d) {
            EXPECT_EQ(THlmDataSet::fieldValue(d, d.indexOf(u"IANNI"_s)).toInt(), 41);
            EXPECT_EQ(THlmDataSet::fieldValue(d, d.indexOf(u"SNOME"_s)).toString(), u"prima"_s);
        });
    // A field cleared is null, not its old value.
    withChange(
        [](ClientDataSet &ds) {
            ds.edit();
            ds.fieldByName(u"SNOME"_s).clear();
            ds.post();
        },
        [](const DeltaRecord &d) {
            const QVariant v = THlmDataSet::fieldValue(d, d.indexOf(u"SNOME"_s));
            EXPECT_EQ(v.metaType().id(), QMetaType::QString);
            EXPECT_TRUE(v.toString().isEmpty());
            EXPECT_EQ(THlmDataSet::fieldValue(d, d.indexOf(u"SNOME"_s), u"predefinito"_s).toString(), u"predefinito"_s);
        });
    // A null gives the default, or the empty text or zero of the field's type.
    withChange([](ClientDataSet &ds) { ds.deleteRecord(); },
               [](const DeltaRecord &d) {
                   EXPECT_EQ(THlmDataSet::fieldValue(d, d.indexOf(u"IANNI"_s)).toInt(), 40);
                   const QVariant amount = THlmDataSet::fieldValue(d, d.indexOf(u"FIMPORTO"_s));
                   ASSERT_EQ(amount.metaType(), QMetaType::fromType<Decimal>());
                   EXPECT_TRUE(amount.value<Decimal>().isZero());
                   EXPECT_EQ(THlmDataSet::fieldValue(d, d.indexOf(u"FIMPORTO"_s), 7).toInt(), 7);
                   EXPECT_EQ(THlmDataSet::fieldValue(d, d.indexOf(u"DDATA"_s)).toDate(), QDate(1899, 12, 30));
                   EXPECT_EQ(THlmDataSet::fieldValue(d, d.indexOf(u"SNOME"_s), QString()).toString(), u"prima"_s);
               });
}
