#pragma once

#include "ClientDataSet.h"

#include <QDate>
#include <QDateTime>
#include <QString>

// The small dataset both fuzzers start from: one field of every type a
// filter can name, and a few records with nulls in every column.
inline void fillSeedDataSet(ClientDataSet &ds)
{
    using namespace Qt::Literals::StringLiterals;
    FieldDefs &d = ds.fieldDefs();
    d.add(u"CODICE"_s, FieldType::String, 20);
    d.add(u"SSOE7CODICE"_s, FieldType::String, 10);
    d.add(u"SCUDCODFIS"_s, FieldType::String, 16);
    d.add(u"SCUDMESE"_s, FieldType::String, 2);
    d.add(u"ICOMRID"_s, FieldType::Integer);
    d.add(u"IANNO"_s, FieldType::LargeInt);
    d.add(u"NIMPORTO"_s, FieldType::Decimal);
    d.add(u"FALIQUOTA"_s, FieldType::Float);
    d.add(u"DVERSAMENTO"_s, FieldType::Date);
    d.add(u"TAGGIORNATO"_s, FieldType::DateTime);
    d.add(u"BESTERO"_s, FieldType::Boolean);
    d.add(u"MNOTE"_s, FieldType::Memo);
    d.add(u"XALLEGATO"_s, FieldType::Blob);
    ds.createDataSet();

    struct Row
    {
        const char16_t *codice, *soe7, *codFis, *mese;
        int comRid;
        qint64 anno;
        const char16_t *importo;
        double aliquota;
        QDate versamento;
        bool estero;
        const char16_t *note;
    };
    const Row rows[] = {
        {u"D'ANGELO", u"", u"RSSMRA80A01H501U", u"05", 10033, 2023, u"1234,56", 23.0, QDate(2023, 5, 16), false,
         u"primo"},
        {u"ROSSI", nullptr, u"VRDLGU75C12F205X", u"12", 10046, 2022, u"-10", 0.5, QDate(2022, 12, 16), true, nullptr},
        {nullptr, u"Z0", nullptr, nullptr, 0, 0, nullptr, 0, QDate(), false, u"àèìòù €"},
        {u"X", u"AB12", u"RSSMRA80A01H501U", u"01", -1, 1999, u"0", -1e300, QDate(1900, 1, 1), true, u""},
        {u"", nullptr, u"", u"", 2147483647, 9000000000000000000LL, u"922337203685477,5807", 1e-9, QDate(9999, 12, 31),
         false, nullptr},
    };
    int n = 0;
    for (const Row &r : rows) {
        ds.append();
        if (r.codice)
            ds.field(0).setAsString(QString::fromUtf16(r.codice));
        if (r.soe7)
            ds.field(1).setAsString(QString::fromUtf16(r.soe7));
        if (r.codFis)
            ds.field(2).setAsString(QString::fromUtf16(r.codFis));
        if (r.mese)
            ds.field(3).setAsString(QString::fromUtf16(r.mese));
        // The third record keeps every other column null as well.
        if (n != 2) {
            ds.field(4).setAsInteger(r.comRid);
            ds.field(5).setAsInteger(r.anno);
            ds.field(7).setAsFloat(r.aliquota);
            ds.field(10).setAsBoolean(r.estero);
            ds.field(9).setAsDateTime(QDateTime(QDate(2023, 1, 1 + n), QTime(n, 30)));
            ds.field(12).setAsBytes(QByteArray("\x00\x01\xff", 3));
        }
        if (r.importo)
            ds.field(6).setAsString(QString::fromUtf16(r.importo));
        if (r.versamento.isValid())
            ds.field(8).setAsDate(r.versamento);
        if (r.note)
            ds.field(11).setAsString(QString::fromUtf16(r.note));
        ds.post();
        ++n;
    }
    ds.mergeChangeLog();
    ds.first();
}
