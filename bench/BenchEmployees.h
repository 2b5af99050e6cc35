#pragma once

// The employees of a large school for the benchmarks: each with his
// registry record (personal and fiscal data) and rows in the sections in the
// proportions of a real return (every one in INPDAP, one in three with
// dependants, one in ten with separate taxation over two years, ...), all
// saved through the table store.

#include "ClientDataSet.h"
#include "Decimal.h"
#include "FiscalCodes.h"
#include "THlmDBCds.h"

#include <QDate>
#include <QString>

#include <functional>
#include <initializer_list>

namespace BenchEmployees {

using namespace Qt::Literals::StringLiterals;

// A valid code of the n-th made-up person: his number in four letters.
inline QString code(int n)
{
    QString letters;
    for (int i = 0; i < 4; ++i, n /= 26)
        letters.prepend(QChar(u'A' + n % 26));
    return withCheckCharacter(u"BN"_s + letters + u"80A01D653"_s);
}

// Appends one record per employee chosen by `every` (one in `every`, from
// the `from`-th), `rows` of them each, filled by `fill`, and saves.
inline void addRows(THlmDBCds &store, const QString &table, int employees, int every, int from, int rows,
                    const std::function<void(ClientDataSet &, int n, int row)> &fill)
{
    ClientDataSet ds(table);
    store.open(ds, table);
    for (int n = from; n < employees; n += every) {
        for (int row = 0; row < rows; ++row) {
            ds.append();
            ds.fieldByName(u"SDIP7CODFIS"_s).setAsString(code(n));
            fill(ds, n, row);
            ds.post();
        }
    }
    store.save(ds, table);
}

inline void setAmounts(ClientDataSet &ds, std::initializer_list<const char16_t *> fields, int n)
{
    for (const char16_t *field : fields)
        ds.fieldByName(QString::fromUtf16(field)).setAsCurrency(Decimal::fromUnits(12345678 + 100 * n));
}

inline void addEmployees(THlmDBCds &store, int employees)
{
    addRows(store, u"TDIP7_ANAGRFISCALI"_s, employees, 1, 0, 1, [](ClientDataSet &ds, int n, int) {
        ds.fieldByName(u"SDIP7COGNOME"_s).setAsString(u"COGNOME%1"_s.arg(n));
        ds.fieldByName(u"SDIP7NOME"_s).setAsString(u"NOME%1"_s.arg(n));
        ds.fieldByName(u"SDIP7GRUPPOANA"_s).setAsString(u"D"_s);
        ds.fieldByName(u"SDIP7SEX"_s).setAsString(n % 2 ? u"F"_s : u"M"_s);
        ds.fieldByName(u"DDIP7DATANAS"_s).setAsDate(QDate(1960, 1, 1).addDays(n * 7));
        ds.fieldByName(u"SDIP7COMNAS"_s).setAsString(u"FOLIGNO"_s);
        ds.fieldByName(u"SDIP7PROVNAS"_s).setAsString(u"PG"_s);
        for (const char16_t *f : {u"SDIP7DFCOMUNE", u"SDIP7DFCOMUNEPRECC"})
            ds.fieldByName(QString::fromUtf16(f)).setAsString(u"FOLIGNO"_s);
        for (const char16_t *f : {u"SDIP7DFPROV", u"SDIP7DFPROVPRECC"})
            ds.fieldByName(QString::fromUtf16(f)).setAsString(u"PG"_s);
        for (const char16_t *f : {u"SDIP7DFCODCOM", u"SDIP7DFCODCOMPRECC"})
            ds.fieldByName(QString::fromUtf16(f)).setAsString(u"D653"_s);
        ds.fieldByName(u"DFIS7DATINIRL"_s).setAsDate(QDate(2023, 1, 1));
        ds.fieldByName(u"DFIS7DATFINRL"_s).setAsDate(QDate(2023, 12, 31));
        ds.fieldByName(u"IFIS7PERIODOLAV"_s).setAsInteger(365);
        setAmounts(ds,
                   {u"FFIS7REDDDETR", u"FFIS7IMPONPTO1", u"FFIS7IMPOLORDA", u"FFIS7DETLAVDIPPEN", u"FFIS7TOTDETR",
                    u"FFIS7RITIRPEF", u"FFIS7ADDREGIRPEF", u"FFIS7ADDCOMACC", u"FFIS7ADDCOMSA", u"FFIS7ADDCOMIRPEFACC",
                    u"FASS7IMPTRATTIRPEF", u"FASS7IMPATRATTARD"},
                   n);
    });
    addRows(store, u"TINP7_INPDAP"_s, employees, 1, 0, 1, [](ClientDataSet &ds, int n, int) {
        ds.fieldByName(u"SINPDAP7CODFISAMMNE"_s).setAsString(u"80012345676"_s);
        ds.fieldByName(u"IINPDAP7ANNORIF"_s).setAsInteger(2023);
        for (const char16_t *f : {u"SINPDAP7GESASS_1", u"SINPDAP7GESASS_2", u"SINPDAP7GESASS_3"})
            ds.fieldByName(QString::fromUtf16(f)).setAsString(u"1"_s);
        setAmounts(ds,
                   {u"FINPDAP7_DMA_IMPPENS", u"FINPDAP7_DMA_CONPENS", u"FINPDAP7_DMA_IMPTFR", u"FINPDAP7_DMA_CONTFR",
                    u"FINPDAP7_DMA_IMPCREDITO", u"FINPDAP7_DMA_CONCREDITO"},
                   n);
    });
    addRows(store, u"TCFC7_CONFAMCARICO"_s, employees, 3, 0, 1, [](ClientDataSet &ds, int n, int) {
        ds.fieldByName(u"LCFC7RELPARCON"_s).setAsString(u"1"_s);
        ds.fieldByName(u"SCFC7CODFISCON"_s).setAsString(code(n + 50000));
        ds.fieldByName(u"SCFC7MESICARCON"_s).setAsString(u"12"_s);
        ds.fieldByName(u"LCFC7RELPARPRIFIGL"_s).setAsString(u"1"_s);
        ds.fieldByName(u"SCFC7CODFISPRIFIGL"_s).setAsString(code(n + 60000));
        ds.fieldByName(u"SCFC7MESICARPRIFIGL"_s).setAsString(u"12"_s);
        ds.fieldByName(u"SCFC7DETRSPETTPRIFIGL"_s).setAsString(u"100"_s);
    });
    const auto amounts = [](std::initializer_list<const char16_t *> fields) {
        return [fields](ClientDataSet &ds, int n, int row) { setAmounts(ds, fields, n + row); };
    };
    addRows(store, u"TTAS7_TASSAZIONESE"_s, employees, 10, 0, 2, [](ClientDataSet &ds, int n, int row) {
        ds.fieldByName(u"STAS7PERIODOIMP"_s).setAsString(QString::number(2021 + row));
        setAmounts(ds, {u"FTAS7COMPARRDETR", u"FTAS7RITOPERATE"}, n);
    });
    addRows(store, u"TINPS7_INPS"_s, employees, 10, 1, 1, amounts({u"fInps7Imponibile", u"fInps7ContribTratt"}));
    addRows(store, u"TINA7_INAIL"_s, employees, 10, 2, 1,
            [](ClientDataSet &ds, int, int) { ds.fieldByName(u"SINA7POSASSTERR"_s).setAsString(u"12345678"_s); });
    addRows(store, u"TREE7_REDDITOESTER"_s, employees, 20, 3, 1, amounts({u"FFIS7REDDESTERO", u"FFIS7IMPESTERO"}));
    addRows(store, u"TTFR7_TFR"_s, employees, 25, 4, 1, amounts({u"FRL7INDENANNO", u"FRL7RITOPERATEANN"}));
    addRows(store, u"TCON7_DATICONGUAG"_s, employees, 15, 5, 1, amounts({u"FCON7IMPCONGUAGL", u"FCON7RITENUTE"}));
    addRows(store, u"TANN7_ANNOTAZIONI"_s, employees, 5, 6, 1,
            [](ClientDataSet &ds, int, int) { ds.fieldByName(u"SANN701"_s).setAsString(u"AA"_s); });
    addRows(store, u"TRAR7_REDASSTIRTIT"_s, employees, 30, 7, 1, amounts({u"FRAR7REDDITI", u"FRAR7RITIRPEF"}));
    addRows(store, u"TSLS7_SOMEROLAVSTRA"_s, employees, 8, 0, 1, amounts({u"FSLS7TOTREDD", u"FSLS7TOTRITOP"}));
    addRows(store, u"TCFF7_CFFAMILIARE"_s, employees, 12, 9, 1, amounts({u"FFIS7PREVFAMCARICO"}));
}

} // namespace BenchEmployees
