#include "AmountFormats.h"

#include "ClientDataSet.h"

using namespace Qt::Literals::StringLiterals;

void applyAmountFormats(ClientDataSet &dataSet)
{
    for (int i = 0; i < dataSet.fieldCount(); ++i) {
        Field &f = dataSet.field(i);
        if (f.dataType() != FieldType::Decimal)
            continue;
        f.setEditFormat(u"#.00"_s);
        f.setDisplayFormat(u"#,##0.00"_s);
        f.setOnGetText([](const Field &field, bool displayText) {
            return field.isNull() || field.asCurrency().isZero() ? QString() : field.formattedText(displayText);
        });
    }
}
