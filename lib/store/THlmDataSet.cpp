#include "THlmDataSet.h"

#include "ClientDataSet.h"

using namespace Qt::Literals::StringLiterals;

namespace {

// The day-zero of the date-time values the suite stores, 30/12/1899, is what a null date reads as.
const QDate kZeroDate(1899, 12, 30);

bool isEmptyDefault(const QVariant &value)
{
    return !value.isValid() || value.isNull() || (value.metaType().id() == QMetaType::QString && value.toString().isEmpty());
}

} // namespace

QVariant THlmDataSet::fieldValue(const DeltaRecord &delta, int field, const QVariant &defaultValue)
{
    const QVariant value = delta.isAssigned(field) ? delta.newValue(field) : delta.oldValue(field);
    if (value.isValid())
        return value;
    if (!isEmptyDefault(defaultValue))
        return defaultValue;
    switch (delta.dataSet().field(field).dataType()) {
    case FieldType::String:
    case FieldType::Memo:
        return u""_s;
    case FieldType::Integer:
        return 0;
    case FieldType::LargeInt:
        return qlonglong(0);
    case FieldType::Float:
        return 0.0;
    case FieldType::Decimal:
        return QVariant::fromValue(Decimal());
    case FieldType::Date:
        return kZeroDate;
    case FieldType::DateTime:
        return QDateTime(kZeroDate, QTime(0, 0));
    case FieldType::Boolean:
        return false;
    case FieldType::Blob:
        return QByteArray();
    }
    return QVariant();
}
