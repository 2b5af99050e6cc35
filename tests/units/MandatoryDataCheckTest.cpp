#include "MandatoryDataCheck.h"
#include "ClientDataSet.h"

#include "CaseFile.h"

#include <QJsonObject>

#include <gtest/gtest.h>

using namespace Qt::Literals::StringLiterals;

namespace {

// A dataset of the fields of the pairs [name, value] with one record; a name
// says its type after a colon, or D... is a date, F... an amount, any other
// a text. A null record is an empty dataset of the case's "fields".
std::unique_ptr<ClientDataSet> dataSet(const QJsonValue &record, const QJsonArray &emptyFields)
{
    auto ds = std::make_unique<ClientDataSet>();
    const QJsonArray pairs = record.isNull() ? QJsonArray() : record.toArray();
    QStringList names;
    for (const QJsonValue &p : pairs)
        names.append(p.toArray().at(0).toString());
    for (const QJsonValue &f : emptyFields)
        names.append(f.toString());
    for (QString &n : names) {
        const QString type = n.section(u':', 1);
        n = n.section(u':', 0, 0);
        const FieldType t = type == u"integer"                         ? FieldType::Integer
                            : type == u"decimal" || n.startsWith(u'F') ? FieldType::Decimal
                            : n.startsWith(u'D')                       ? FieldType::Date
                                                                       : FieldType::String;
        ds->fieldDefs().add(n, t, t == FieldType::String ? 60 : 0);
    }
    ds->createDataSet();
    if (record.isNull())
        return ds;
    ds->append();
    for (qsizetype i = 0; i < pairs.size(); ++i) {
        if (!pairs.at(i).toArray().at(1).isNull())
            ds->field(static_cast<int>(i)).setAsString(pairs.at(i).toArray().at(1).toString());
    }
    ds->post();
    return ds;
}

} // namespace

// Each case: the records of its datasets and the findings in order.
TEST(MandatoryDataCheck, EveryCaseGivesItsFindingsInOrder)
{
    for (const QJsonValue &value : caseFile(QStringLiteral(ELH_CASES_DIR "/MandatoryDataCases.json"))) {
        const QJsonObject c = value.toObject();
        SCOPED_TRACE(c.value(u"case"_s).toString().toStdString());
        std::vector<std::unique_ptr<ClientDataSet>> owned;
        QList<const ClientDataSet *> dataSets;
        for (const QJsonValue &record : c.value(u"records"_s).toArray()) {
            owned.push_back(dataSet(record, c.value(u"fields"_s).toArray()));
            dataSets.append(owned.back().get());
        }
        QStringList expected;
        for (const QJsonValue &f : c.value(u"findings"_s).toArray())
            expected.append(f.toString());
        QStringList findings;
        EXPECT_EQ(MandatoryDataCheck::run(findings, dataSets), expected.isEmpty());
        EXPECT_EQ(findings, expected);
    }
}
