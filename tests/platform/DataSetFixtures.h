#pragma once

#include "ClientDataSet.h"
#include "Exceptions.h"

#include <QStringList>

#include <initializer_list>

// Small datasets for the tests, written the way callers use the dataset.
namespace fixtures {

// CODICE string(16), NOME string(40), ANNO integer, IMPORTO decimal,
// DATA date, FLAG boolean, NOTE memo, VALORE float.
inline void defineSample(ClientDataSet &ds)
{
    ds.fieldDefs().add(QStringLiteral("CODICE"), FieldType::String, 16);
    ds.fieldDefs().add(QStringLiteral("NOME"), FieldType::String, 40);
    ds.fieldDefs().add(QStringLiteral("ANNO"), FieldType::Integer);
    ds.fieldDefs().add(QStringLiteral("IMPORTO"), FieldType::Decimal);
    ds.fieldDefs().add(QStringLiteral("DATA"), FieldType::Date);
    ds.fieldDefs().add(QStringLiteral("FLAG"), FieldType::Boolean);
    ds.fieldDefs().add(QStringLiteral("NOTE"), FieldType::Memo);
    ds.fieldDefs().add(QStringLiteral("VALORE"), FieldType::Float);
    ds.createDataSet();
}

// Appends a record with the values given as text in field order; an
// invalid variant leaves the field null.
inline void addRow(ClientDataSet &ds, std::initializer_list<QVariant> values)
{
    ds.append();
    int f = 0;
    for (const QVariant &v : values) {
        if (v.isValid())
            ds.field(f).setValue(v);
        ++f;
    }
    ds.post();
}

// The values of a field over the records of the view, in view order, as
// text; "<null>" for null.
inline QStringList column(ClientDataSet &ds, const QString &field)
{
    QStringList out;
    const Bookmark here = ds.bookmark();
    for (ds.first(); !ds.eof(); ds.next()) {
        const Field &f = ds.fieldByName(field);
        out.append(f.isNull() ? QStringLiteral("<null>") : f.asString());
    }
    if (ds.bookmarkValid(here))
        ds.gotoBookmark(here);
    return out;
}

} // namespace fixtures
