#include "AmountFormats.h"

#include "ClientDataSet.h"

using namespace Qt::Literals::StringLiterals;

void applyAmountFormats(ClientDataSet &dataSet)
{
    for (int i = 0; i < dataSet.fieldCount(); ++i) {
        Field &f = dataSet.field(i);
        if (f.dataType() != FieldType::Decimal)
            continue;
        // Two decimals as a rule; the catalogue gives others their own.
        const QString decimals = u"."_s + QString(f.scale(), u'0');
        f.setEditFormat(u"#"_s + decimals);
        f.setDisplayFormat(u"#,##0"_s + decimals);
        f.setOnGetText([](const Field &field, bool displayText) {
            return field.isNull() || field.asCurrency().isZero() ? QString() : field.formattedText(displayText);
        });
    }
}
