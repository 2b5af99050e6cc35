#pragma once

#include <QVariant>

class DeltaRecord;

// The shared library's reading of a change record.
class THlmDataSet
{
public:
    // The field's new value when one was given, else its old value. A null
    // gives the default; when the default is null or empty, empty text for
    // text fields and zero of the field's type for the others.
    static QVariant fieldValue(const DeltaRecord &delta, int field, const QVariant &defaultValue = QVariant());
};
