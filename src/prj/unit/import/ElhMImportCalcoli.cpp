// The computations of the CU import: tax assistance amounts from the payroll
// items, additional taxes withheld, detractions within the total granted,
// separate taxation split over its years, dependants for detractions.

#include "ElhMImport.h"

#include "Exceptions.h"
#include "HlmUCalcoli.h"
#include "NruParams.h"

#include <map>

using namespace Qt::Literals::StringLiterals;

namespace {

const QString kEmployeeCode = u"SDIP7CODFIS"_s;
// The year before the return's: the arrears of the years up to it are split.
const QString kPreviousYear = u"2022"_s;
constexpr int kAssistanceGroup = 4;
constexpr int kSeparateTaxation = 12;
constexpr int kBalanceItem = 10033;
constexpr int kSpouseBalanceItem = 10046;
// The parts of the log that the computations write, in their order.
const QString kDetractionsPart;
const QString kSeparateTaxationPart = u"**** SCORPORO DATI TASSAZIONE SEPARATA ****"_s;
const QString kDependantsPart = u"**** IMPORTAZIONE DATI FAMILIARI A CARICO PER DETRAZIONI ****"_s;

Decimal amount(const ClientDataSet &ds, const QString &field)
{
    return ds.fieldByName(field).asCurrency();
}

QString twoDigits(qint64 value)
{
    return u"%1"_s.arg(value, 2, 10, QChar(u'0'));
}

bool flagOn(const ClientDataSet &ds, const QString &field)
{
    return ds.fieldByName(field).asString().trimmed() == u"1";
}

// The rows of a query collection grouped by the fiscal code of a column.
QHash<QString, QList<Bookmark>> rowsByCode(ClientDataSet &ds, const QString &column)
{
    QHash<QString, QList<Bookmark>> rows;
    const Field &code = ds.fieldByName(column);
    for (int r = 1; r <= ds.viewCount(); ++r) {
        const RecordPeek peek(ds, r);
        rows[code.asString().trimmed().toUpper()].append(ds.bookmarkAt(r));
    }
    return rows;
}

} // namespace

QString TdmElhImport::employeeName() const
{
    return cdsAnagFis.fieldByName(u"SDIP7COGNOME"_s).asString().trimmed() + u' '
           + cdsAnagFis.fieldByName(u"SDIP7NOME"_s).asString().trimmed();
}

void TdmElhImport::status(const QString &text)
{
    if (m_progress)
        m_progress->status(text);
}

void TdmElhImport::startComputationParts()
{
    for (const QString &part : {kDetractionsPart, kSeparateTaxationPart, kDependantsPart})
        m_log.startPart(part);
}

// --- A. Tax assistance (730) amounts from the payroll items ----------------------------------

void TdmElhImport::assistenza730(const QString &code)
{
    if (!cdsAnagFis.fieldByName(u"SMESCODICEIRPEF"_s).asString().trimmed().isEmpty()
        || !cdsAnagFis.fieldByName(u"SMESCODICESR"_s).asString().trimmed().isEmpty())
        return;
    const int contractId = contract(code).iacomId;
    if (contractId <= 0)
        return;
    xqcAss.fetch(u"QRY_ELH_730"_s);
    xqcAss.setParam(u"IACOMID"_s, contractId);
    xqcAss.setParam(u"ICOMRGRUPPO"_s, kAssistanceGroup);
    xqcAss.setColumnType(u"FVACRLORDO"_s, FieldType::Decimal);
    xqcAss.open();
    if (xqcAss.isEmpty())
        return;
    xqcAss.setIndexFieldNames(u"IMESID"_s);

    const auto sumOf = [this](int item) {
        Decimal sum;
        for (xqcAss.first(); !xqcAss.eof(); xqcAss.next()) {
            if (xqcAss.fieldByName(u"ICOMRID"_s).asInteger() == item)
                sum += amount(xqcAss, u"FVACRLORDO"_s);
        }
        return sum;
    };
    // Each column gets the sum of its item when the sum is positive.
    const auto put = [this, &sumOf](int item, const QString &column) {
        const Decimal sum = sumOf(item);
        if (sum <= Decimal())
            return false;
        cdsAnagFis.fieldByName(column).setAsCurrency(sum);
        return true;
    };
    const auto total = [this](const QString &column, const QString &a, const QString &b) {
        const Decimal sum = amount(cdsAnagFis, a) + amount(cdsAnagFis, b);
        if (sum > Decimal())
            cdsAnagFis.fieldByName(column).setAsCurrency(sum);
    };

    cdsAnagFis.edit();
    xqcAss.setFilter(u"(ICOMRID <> %1) AND (ICOMRID <> %2)"_s.arg(kBalanceItem).arg(kSpouseBalanceItem));
    xqcAss.setFiltered(true);
    if (!xqcAss.isEmpty()) {
        xqcAss.first();
        cdsAnagFis.fieldByName(u"SMESCODICEIRPEF"_s)
            .setAsString(twoDigits(xqcAss.fieldByName(u"IMESID"_s).asLargeInt()));
        const int region = m_calcola.regione(contract(code).iacomId);
        const QString regionCode = region > 0 ? twoDigits(region) : QString();
        const QString municipality = cdsAnagFis.fieldByName(u"SDIP7DFCODCOMPRECC"_s).asString();
        const auto pair = [&](int refund, const QString &refundColumn, int withheld, const QString &withheldColumn,
                              const QString &territory, const QString &territoryCode) {
            const bool a = put(refund, refundColumn);
            const bool b = put(withheld, withheldColumn);
            if ((a || b) && !territory.isEmpty())
                cdsAnagFis.fieldByName(territory).setAsString(territoryCode);
        };
        pair(10027, u"FASS7IMPORIMBIRPEF"_s, 10026, u"FASS7IMPTRATTIRPEF"_s, QString(), QString());
        pair(10040, u"FASS7IMPRIMBIRPEFCON"_s, 10039, u"FASS7IMPTRATIRPEFCON"_s, QString(), QString());
        pair(10032, u"FASS7IMPATRATTPR"_s, 10045, u"FASS7IMPATRATTPRCONDI"_s, QString(), QString());
        pair(10029, u"FASS7IMPORIMBARD"_s, 10028, u"FASS7IMPATRATTARD"_s, u"SREGCODICEARD"_s, regionCode);
        pair(10042, u"FASS7IMPORIMBARC"_s, 10041, u"FASS7IMPATRATTARC"_s, u"SREGCODICEARC"_s, regionCode);
        pair(10031, u"FASS7IMPORIMBACD"_s, 10030, u"FASS7IMPATRATTACD"_s, u"SCOMCODICEACD"_s, municipality);
        pair(10044, u"FASS7IMPORIMBACC"_s, 10043, u"FASS7IMPATRATTACC"_s, u"SCOMCODICEACC"_s, municipality);
        if (put(10036, u"FASS7IMPATRATTAACD"_s))
            cdsAnagFis.fieldByName(u"SCOMCODICEAACD"_s).setAsString(municipality);
        if (put(10047, u"FASS7IMPATRATTAACC"_s))
            cdsAnagFis.fieldByName(u"SCOMCODICEAACC"_s).setAsString(municipality);
        for (const auto &[item, column] :
             {std::pair{10037, u"FASS7IMPATRATTTS"_s}, std::pair{10048, u"FASS7IMPTRATTAXSCONDIC"_s},
              std::pair{10057, u"FASS7ISPREPRODICT"_s}, std::pair{10058, u"FASS7ISPREPCDICT"_s},
              std::pair{10059, u"FASS7ISLAQDICT"_s}, std::pair{10060, u"FASS7ISLAQCDICT"_s},
              std::pair{10061, u"FASS7ISLAQDICR"_s}, std::pair{10062, u"FASS7ISLAQCDICR"_s},
              std::pair{10063, u"FASS71RACCLOCDIT"_s}, std::pair{10064, u"FASS71RACCLOCCIT"_s},
              std::pair{10065, u"FASS72RACSLDIT"_s}, std::pair{10066, u"FASS72RACSLCIT"_s}})
            put(item, column);
        total(u"FASS7IMPEFFTRATTIRPEF"_s, u"FASS7IMPTRATTIRPEF"_s, u"FASS7IMPTRATIRPEFCON"_s);
        total(u"FASS7IMPEFFTRATRATAID"_s, u"FASS7IMPATRATTPR"_s, u"FASS7IMPATRATTPRCONDI"_s);
        total(u"FASS7IMPEFFTRATAREGDIC"_s, u"FASS7IMPATRATTARD"_s, u"FASS7IMPATRATTARC"_s);
        total(u"FASS7IMPEFTRATSADCOMDIC"_s, u"FASS7IMPATRATTACD"_s, u"FASS7IMPATRATTACC"_s);
        total(u"FASS7IMPEFTRATAADCOMDIC"_s, u"FASS7IMPATRATTAACD"_s, u"FASS7IMPATRATTAACC"_s);
        total(u"FASS7IMPEFTRATTAXSDIC"_s, u"FASS7IMPATRATTTS"_s, u"FASS7IMPTRATTAXSCONDIC"_s);
        total(u"FASS7ISPREPRODICET"_s, u"FASS7ISPREPRODICT"_s, u"FASS7ISPREPCDICT"_s);
        total(u"FASS7ISLAQDICET"_s, u"FASS7ISLAQDICT"_s, u"FASS7ISLAQCDICT"_s);
        total(u"FASS71RACCLOCDIET"_s, u"FASS71RACCLOCDIT"_s, u"FASS71RACCLOCCIT"_s);
        total(u"FASS72RACSLDIET"_s, u"FASS72RACSLDIT"_s, u"FASS72RACSLCIT"_s);
    }
    xqcAss.setFilter(u"(ICOMRID = %1) OR (ICOMRID = %2)"_s.arg(kBalanceItem).arg(kSpouseBalanceItem));
    if (!xqcAss.isEmpty()) {
        xqcAss.first();
        cdsAnagFis.fieldByName(u"SMESCODICESR"_s).setAsString(twoDigits(xqcAss.fieldByName(u"IMESID"_s).asLargeInt()));
        put(kBalanceItem, u"FASS7IMPATRATTSR"_s);
        put(kSpouseBalanceItem, u"FASS7IMPTRATSRACDIC"_s);
        total(u"FASS7IMPEFTRATSRADIC"_s, u"FASS7IMPATRATTSR"_s, u"FASS7IMPTRATSRACDIC"_s);
    }
    xqcAss.setFiltered(false);
    xqcAss.close();
    cdsAnagFis.post();
}

// --- B. Additional taxes withheld -----------------------------------------------------------

void TdmElhImport::riportaAddizionali(const QStringList &codes, NrProgress *progress)
{
    m_progress = progress;
    try {
        Table &employees = table(cdsAnagFis);
        if (!employees.loaded)
            openTable(employees);
        riportaAddizionaliOf(codes);
    } catch (...) {
        m_progress = nullptr;
        closeTables();
        throw;
    }
    m_progress = nullptr;
    closeTables();
}

void TdmElhImport::riportaAddizionaliOf(const QStringList &codes)
{
    status(u"Importi addizionali IRPEF trattenuti ..."_s);
    for (const QString &code : codes) {
        if (!locateEmployee(code))
            continue;
        const QString who = employeeName();
        inPerson([&] { riportaAddizionaliPersona(code); },
                 [&](const QString &error) {
                     m_findings.error(u"Impossibile riportare gli importi delle addizionali IRPEF trattenuti : "_s + who
                                      + u"\n\n"_s + error);
                 });
    }
}

void TdmElhImport::riportaAddizionaliPersona(const QString &code)
{
    if (!locateEmployee(code))
        return;
    const Decimal regional = amount(cdsAnagFis, u"FFIS7ADDREGIRPEF"_s);
    const Decimal municipal = amount(cdsAnagFis, u"FFIS7ADDCOMSA"_s);
    if (regional <= Decimal() && municipal <= Decimal())
        return;
    cdsAnagFis.edit();
    cdsAnagFis.fieldByName(u"FFIS7ADDREGRPCESS"_s).setAsCurrency(regional);
    cdsAnagFis.fieldByName(u"FFIS7ADDCOMRPCESS"_s).setAsCurrency(municipal - amount(cdsAnagFis, u"FFIS7ADDCOMACC"_s));
    cdsAnagFis.post();
}

// --- C. Detractions within the total granted ------------------------------------------------

bool TdmElhImport::ricalcolaDetrazioni(ClientDataSet &employee)
{
    const Decimal granted = amount(employee, u"FFIS7TOTDETR"_s);
    const Decimal gross = amount(employee, u"FFIS7IMPOLORDA"_s);
    if (granted <= Decimal() || granted >= gross)
        return false;
    Decimal remaining = granted;
    bool changed = false;
    for (const QString &column :
         {u"FFIS7DEDUZFAM"_s, u"FFIS7DETLAVDIPPEN"_s, u"FFIS7DETRONERI"_s, u"FFIS7DETCANLOC"_s}) {
        Field &f = employee.fieldByName(column);
        const Decimal value = f.asCurrency();
        if (value.isZero())
            continue;
        if (remaining >= value) {
            remaining -= value;
            continue;
        }
        f.setAsCurrency(remaining);
        remaining = Decimal();
        changed = true;
    }
    return changed;
}

void TdmElhImport::ricalcolaDetrazioniPersona(const QString &code)
{
    if (!locateEmployee(code))
        return;
    cdsAnagFis.edit();
    if (!ricalcolaDetrazioni(cdsAnagFis)) {
        cdsAnagFis.cancel();
        return;
    }
    cdsAnagFis.post();
    m_log.startPart(kDetractionsPart);
    m_log.entry(employeeName(), u"Detrazioni ricalcolate"_s);
}

// --- D. Separate taxation split over its years ---------------------------------------------

void TdmElhImport::openStoricoTassazioneSeparata()
{
    xqcTassSep.fetch(u"QRY_ELH_TS"_s);
    xqcTassSep.setParam(u"RICE_COD_IRPEF_TS"_s, kSeparateTaxation);
    xqcTassSep.setParam(u"ANNO"_s, kPreviousYear);
    xqcTassSep.setParam(u"IANFID"_s, m_params.anfId());
    for (const QString &column : {u"IMPONIBILE"_s, u"RITENUTA"_s, u"IMPONIBILE_AP"_s, u"FVARRALIQUOTADIP"_s})
        xqcTassSep.setColumnType(column, FieldType::Decimal);
    xqcTassSep.setColumnType(u"ANNO"_s, FieldType::Integer);
    xqcTassSep.setColumnType(u"ANNOP"_s, FieldType::Integer);
    xqcTassSep.open();
    m_history = rowsByCode(xqcTassSep, u"SANACODFISCALE"_s);

    cdsAppoTS.close();
    cdsAppoTS.fieldDefs().clear();
    cdsAppoTS.fieldDefs().add(u"ANNO"_s, FieldType::Integer);
    cdsAppoTS.fieldDefs().add(u"IMPONIBILE"_s, FieldType::Decimal);
    cdsAppoTS.fieldDefs().add(u"RITENUTA"_s, FieldType::Decimal);
    cdsAppoTS.createDataSet();
    cdsAppoTS.setIndexFieldNames(u"ANNO"_s);
}

void TdmElhImport::scorporaTassazioneSeparataPersona(const QString &code)
{
    if (!locateEmployee(code) || rowsOf(table(cdsTassSep), code).isEmpty())
        return;
    m_log.startPart(kSeparateTaxationPart);
    scorporaPersona(code, m_history.value(code));
}

void TdmElhImport::scorporaPersona(const QString &code, const QList<Bookmark> &history)
{
    const QString who = employeeName();
    const QList<Bookmark> rows = rowsOf(table(cdsTassSep), code);
    if (rows.size() > 1) {
        m_log.entry(who, u"Integrazione non effettuata. Presenti dati su più anni."_s);
        return;
    }
    // The years of the history: a part of an earlier year (ANNOP) with the
    // withholding of its rate, the rest to the year of the row.
    cdsAppoTS.emptyDataSet();
    const auto add = [this](int year, Decimal taxable, Decimal withheld) {
        if (cdsAppoTS.locate(u"ANNO"_s, year)) {
            cdsAppoTS.edit();
            taxable += amount(cdsAppoTS, u"IMPONIBILE"_s);
            withheld += amount(cdsAppoTS, u"RITENUTA"_s);
        } else {
            cdsAppoTS.append();
            cdsAppoTS.fieldByName(u"ANNO"_s).setAsInteger(year);
        }
        cdsAppoTS.fieldByName(u"IMPONIBILE"_s).setAsCurrency(taxable);
        cdsAppoTS.fieldByName(u"RITENUTA"_s).setAsCurrency(withheld);
        cdsAppoTS.post();
    };
    Decimal taxableTotal;
    Decimal withheldTotal;
    for (const Bookmark &h : history) {
        xqcTassSep.gotoBookmark(h);
        const int year = xqcTassSep.fieldByName(u"ANNO"_s).asInteger();
        const int earlier = xqcTassSep.fieldByName(u"ANNOP"_s).asInteger();
        const Decimal taxable = amount(xqcTassSep, u"IMPONIBILE"_s);
        const Decimal withheld = amount(xqcTassSep, u"RITENUTA"_s);
        taxableTotal += taxable;
        withheldTotal += withheld;
        if (earlier > 0 && earlier != year) {
            const Decimal earlierTaxable = amount(xqcTassSep, u"IMPONIBILE_AP"_s);
            const Decimal earlierWithheld =
                THlmCalcola::percentuale(earlierTaxable, amount(xqcTassSep, u"FVARRALIQUOTADIP"_s));
            add(earlier, earlierTaxable, earlierWithheld);
            add(year, taxable - earlierTaxable, withheld - earlierWithheld);
        } else {
            add(year, taxable, withheld);
        }
    }

    cdsTassSep.gotoBookmark(rows.first());
    const bool deductible = amount(cdsTassSep, u"FTAS7TCOMPARRDETR"_s) > Decimal();
    const QString totalColumn = deductible ? u"FTAS7TCOMPARRDETR"_s : u"FTAS7TCOMPARRNODET"_s;
    const QString yearColumn = deductible ? u"FTAS7COMPARRDETR"_s : u"FTAS7COMPARRNODETR"_s;
    const int years = cdsAppoTS.recordCount();
    if (years == 1) {
        cdsAppoTS.first();
        cdsTassSep.edit();
        cdsTassSep.fieldByName(u"STAS7PERIODOIMP"_s).setAsString(cdsAppoTS.fieldByName(u"ANNO"_s).asString());
        cdsTassSep.post();
        return;
    }
    if (years == 0) {
        m_log.entry(who, u"Integrazione non effettuata. Nessun dato in storico."_s);
        return;
    }
    if (taxableTotal < Decimal() || withheldTotal < Decimal()) {
        m_log.entry(who, u"Integrazione non effettuata. Totale imponibile/ritenute in storico negativo."_s);
        return;
    }
    const Decimal declaredTotal = amount(cdsTassSep, totalColumn);
    const Decimal declaredWithheld = amount(cdsTassSep, u"FTAS7TOTRITOPER"_s);
    if (taxableTotal > declaredTotal || withheldTotal > declaredWithheld) {
        m_log.entry(
            who,
            u"Integrazione non effettuata. Totale imponibile/ritenute in storico superiore a quanto dichiarato."_s);
        return;
    }

    // The latest year stays on the row; every earlier one gets a row of its
    // own, and the latest keeps what is left.
    cdsAppoTS.last();
    const int latest = cdsAppoTS.fieldByName(u"ANNO"_s).asInteger();
    const Bookmark latestRow = rows.first();
    cdsTassSep.edit();
    cdsTassSep.fieldByName(u"STAS7PERIODOIMP"_s).setAsString(QString::number(latest));
    cdsTassSep.post();
    Decimal movedTaxable;
    Decimal movedWithheld;
    for (cdsAppoTS.first(); !cdsAppoTS.eof(); cdsAppoTS.next()) {
        const int year = cdsAppoTS.fieldByName(u"ANNO"_s).asInteger();
        if (year == latest)
            continue;
        const Decimal taxable = amount(cdsAppoTS, u"IMPONIBILE"_s);
        const Decimal withheld = amount(cdsAppoTS, u"RITENUTA"_s);
        cdsTassSep.append();
        cdsTassSep.fieldByName(kEmployeeCode).setAsString(code);
        cdsTassSep.fieldByName(u"STAS7PERIODOIMP"_s).setAsString(QString::number(year));
        cdsTassSep.fieldByName(totalColumn).setAsCurrency(declaredTotal);
        cdsTassSep.fieldByName(u"FTAS7TOTRITOPER"_s).setAsCurrency(declaredWithheld);
        cdsTassSep.fieldByName(yearColumn).setAsCurrency(taxable);
        cdsTassSep.fieldByName(u"FTAS7RITOPERATE"_s).setAsCurrency(withheld);
        cdsTassSep.post();
        movedTaxable += taxable;
        movedWithheld += withheld;
    }
    cdsTassSep.gotoBookmark(latestRow);
    cdsTassSep.edit();
    const Decimal restTaxable = amount(cdsTassSep, yearColumn) - movedTaxable;
    const Decimal restWithheld = amount(cdsTassSep, u"FTAS7RITOPERATE"_s) - movedWithheld;
    cdsTassSep.fieldByName(yearColumn).setAsCurrency(restTaxable);
    cdsTassSep.fieldByName(u"FTAS7RITOPERATE"_s).setAsCurrency(restWithheld);
    cdsTassSep.post();
    if (restTaxable < Decimal() || restWithheld < Decimal())
        m_log.entry(who, u"Errore in integrazione. Imponibile/ritenute nel %1 negativi."_s.arg(latest));
}

// --- E. Dependants for detractions ---------------------------------------------------------

void TdmElhImport::openDetrazioniFamiliari()
{
    xqcAdet.fetch(u"QRY_ELH_ADET"_s);
    xqcAdet.setParam(u"IANFID"_s, m_params.anfId());
    xqcAdet.setParam(u"IANFID_P"_s, m_params.anfId() - 1);
    xqcAdet.setColumnType(u"FADETPERCALTRI"_s, FieldType::Decimal);
    xqcAdet.setColumnType(u"FDEFPERC"_s, FieldType::Decimal);
    for (const QString &column :
         {u"IANFID"_s, u"LADETCONCAR"_s, u"IANFVALORE"_s, u"IADETFIGLI"_s, u"IADETALTRI"_s, u"IADEFORDINE"_s,
          u"IMESDAL"_s, u"LADEFHANDYCAP"_s, u"LADEFAFFIDO100"_s, u"MESI_CARICO"_s, u"MESI_MIN3"_s})
        xqcAdet.setColumnType(column, FieldType::Integer);
    xqcAdet.open();
    // Only the detractions of the current financial year.
    xqcAdet.setFilter(u"IANFID = %1"_s.arg(m_params.anfId()));
    xqcAdet.setFiltered(true);
    m_detractions = rowsByCode(xqcAdet, u"SANACODFISCALE"_s);

    cdsAppoAdet.close();
    cdsAppoAdet.fieldDefs().clear();
    cdsAppoAdet.fieldDefs().add(u"SADEFCODFISC"_s, FieldType::String, 16);
    for (const QString &column :
         {u"IADEFORDINE"_s, u"IMESDAL"_s, u"LADEFHANDYCAP"_s, u"LADEFAFFIDO100"_s, u"MESI_CARICO"_s, u"MESI_MIN3"_s})
        cdsAppoAdet.fieldDefs().add(column, FieldType::Integer);
    cdsAppoAdet.fieldDefs().add(u"FDEFPERC"_s, FieldType::Decimal);
    cdsAppoAdet.createDataSet();
    cdsAppoAdet.setIndexFieldNames(u"IADEFORDINE;IMESDAL"_s);
}

void TdmElhImport::importaFamiliariDipendente(const QString &code)
{
    if (!locateEmployee(code) || amount(cdsAnagFis, u"FFIS7DEDUZFAM"_s) <= Decimal())
        return;
    const QList<Bookmark> rows = m_detractions.value(code);
    // Dependants the certification brought stay as they are.
    if (rows.isEmpty() || !rowsOf(table(cdsConFamCar), code).isEmpty())
        return;
    m_log.startPart(kDependantsPart);
    importaFamiliariPersona(code, rows);
}

void TdmElhImport::importaFamiliariPersona(const QString &code, const QList<Bookmark> &detractions)
{
    const QString who = employeeName();
    xqcAdet.gotoBookmark(detractions.first());
    const QString year = xqcAdet.fieldByName(u"IANFVALORE"_s).asString();
    // The row being filled: the spouse's, then the first child's.
    std::optional<Bookmark> current;
    const auto fill = [&](bool newRow) {
        if (newRow || !current) {
            cdsConFamCar.append();
        } else {
            cdsConFamCar.gotoBookmark(*current);
            cdsConFamCar.edit();
        }
    };
    const auto set = [this](const QString &field, const QString &value) {
        cdsConFamCar.fieldByName(field).setAsString(value);
    };
    const auto posted = [&] {
        cdsConFamCar.post();
        current = cdsConFamCar.bookmark();
    };

    if (xqcAdet.fieldByName(u"LADETCONCAR"_s).asInteger() == 1) {
        const QString spouse = xqcAdet.fieldByName(u"SADETCFCONCAR"_s).asString().trimmed();
        fill(true);
        set(u"LCFC7RELPARCON"_s, u"1"_s);
        set(u"SCFC7CODFISCON"_s, spouse);
        set(u"SCFC7MESICARCON"_s, u"12"_s);
        set(u"SCFC7DTANNOCONIUGE"_s, year);
        posted();
        if (spouse.isEmpty())
            m_log.entry(who, u"Codice fiscale coniuge mancante"_s);
    }

    // One row per child, its periods added up to twelve months.
    cdsAppoAdet.emptyDataSet();
    bool children = false;
    for (const Bookmark &b : detractions) {
        xqcAdet.gotoBookmark(b);
        if (xqcAdet.fieldByName(u"IADEFORDINE"_s).isNull())
            continue;
        children = true;
        const QString child = xqcAdet.fieldByName(u"SADEFCODFISC"_s).asString().trimmed().toUpper();
        const int order = xqcAdet.fieldByName(u"IADEFORDINE"_s).asInteger();
        if (child.isEmpty()) {
            m_log.entry(who, u"Figlio nr %1: codice fiscale non impostato."_s.arg(order));
            continue;
        }
        if (cdsAppoAdet.locate(u"SADEFCODFISC"_s, child)) {
            cdsAppoAdet.edit();
        } else {
            cdsAppoAdet.append();
            cdsAppoAdet.fieldByName(u"SADEFCODFISC"_s).setAsString(child);
            for (const QString &column : {u"IADEFORDINE"_s, u"IMESDAL"_s, u"LADEFHANDYCAP"_s, u"LADEFAFFIDO100"_s})
                cdsAppoAdet.fieldByName(column).setAsInteger(xqcAdet.fieldByName(column).asInteger());
            cdsAppoAdet.fieldByName(u"FDEFPERC"_s).setAsCurrency(amount(xqcAdet, u"FDEFPERC"_s));
        }
        for (const QString &months : {u"MESI_CARICO"_s, u"MESI_MIN3"_s}) {
            const int period = xqcAdet.fieldByName(months).asInteger();
            if (period > 0) {
                Field &sum = cdsAppoAdet.fieldByName(months);
                sum.setAsInteger(std::min(12, sum.asInteger() + period));
            }
        }
        cdsAppoAdet.post();
    }
    bool firstChildDone = false;
    for (cdsAppoAdet.first(); !cdsAppoAdet.eof(); cdsAppoAdet.next()) {
        const QString child = cdsAppoAdet.fieldByName(u"SADEFCODFISC"_s).asString();
        const int months = cdsAppoAdet.fieldByName(u"MESI_CARICO"_s).asInteger();
        if (months <= 0) {
            m_log.entry(who, u"Figlio (codice fiscale %1): nessun mese a carico."_s.arg(child));
            continue;
        }
        const bool disabled = cdsAppoAdet.fieldByName(u"LADEFHANDYCAP"_s).asInteger() != 0;
        const int underThree = cdsAppoAdet.fieldByName(u"MESI_MIN3"_s).asInteger();
        const Decimal percentage = amount(cdsAppoAdet, u"FDEFPERC"_s);
        const QString custody = cdsAppoAdet.fieldByName(u"LADEFAFFIDO100"_s).asInteger() != 0 ? u"1"_s : u"0"_s;
        const bool first = !firstChildDone && cdsAppoAdet.fieldByName(u"IADEFORDINE"_s).asInteger() == 1;
        if (first) {
            firstChildDone = true;
            fill(false);
            set(u"LCFC7RELPARPRIFIGL"_s, disabled ? u"0"_s : u"1"_s);
            set(u"LCFC7RELPARPRIFIGLDIS"_s, disabled ? u"1"_s : u"0"_s);
            set(u"SCFC7CODFISPRIFIGL"_s, child);
            set(u"SCFC7MESICARPRIFIGL"_s, twoDigits(months));
            if (underThree > 0)
                set(u"SCFC7MINTREANNPRIFIGL"_s, twoDigits(underThree));
            if (percentage > Decimal())
                set(u"SCFC7DETRSPETTPRIFIGL"_s, percentage.toString());
            set(u"SCFC7DTANNOPRIFIGL"_s, year);
            set(u"LCFC7DET100AFFPRIFIGL"_s, custody);
        } else {
            fill(true);
            set(u"LCFC7RELPARFIGL"_s, disabled ? u"0"_s : u"1"_s);
            set(u"LCFC7RELPARFIGLDIS"_s, disabled ? u"1"_s : u"0"_s);
            set(u"SCFC7CODFISFIGL"_s, child);
            set(u"SCFC7MESICARFIGL"_s, twoDigits(months));
            if (underThree > 0)
                set(u"SCFC7MINTREANNFIGL"_s, twoDigits(underThree));
            if (percentage > Decimal())
                cdsConFamCar.fieldByName(u"FCFC7DETRSPETTFIGL"_s).setAsCurrency(percentage);
            set(u"SCFC7DTANNOFIGL"_s, year);
            set(u"LCFC7DET100AFFFIGL"_s, custody);
        }
        posted();
    }
    xqcAdet.gotoBookmark(detractions.first());
    if (!children && xqcAdet.fieldByName(u"IADETFIGLI"_s).asInteger() > 0)
        m_log.entry(who, u"Dati relativi ai figli a carico non importati. \r\nNon inseriti nel CUD o sezione casi "
                         u"particolari delle detrazioni non impostate nei dati retributivi."_s);

    // Other dependants, in a row whose child columns are free.
    const int others = xqcAdet.fieldByName(u"IADETALTRI"_s).asInteger();
    if (others <= 0)
        return;
    const Decimal percentage = amount(xqcAdet, u"FADETPERCALTRI"_s);
    int written = 0;
    for (const QString &column : {u"SADETCFALTRICAR1"_s, u"SADETCFALTRICAR2"_s}) {
        const QString other = xqcAdet.fieldByName(column).asString().trimmed().toUpper();
        if (other.isEmpty())
            continue;
        std::optional<Bookmark> free;
        for (const Bookmark &row : rowsOf(table(cdsConFamCar), code)) {
            cdsConFamCar.gotoBookmark(row);
            if (!flagOn(cdsConFamCar, u"LCFC7RELPARFIGL"_s) && !flagOn(cdsConFamCar, u"LCFC7RELPARFIGLALTRFAM"_s)
                && !flagOn(cdsConFamCar, u"LCFC7RELPARFIGLDIS"_s)) {
                free = row;
                break;
            }
        }
        if (free) {
            cdsConFamCar.gotoBookmark(*free);
            cdsConFamCar.edit();
        } else {
            cdsConFamCar.append();
        }
        set(u"LCFC7RELPARFIGL"_s, u"0"_s);
        set(u"LCFC7RELPARFIGLALTRFAM"_s, u"1"_s);
        set(u"SCFC7CODFISFIGL"_s, other);
        set(u"SCFC7MESICARFIGL"_s, u"12"_s);
        if (percentage > Decimal())
            cdsConFamCar.fieldByName(u"FCFC7DETRSPETTFIGL"_s).setAsCurrency(percentage);
        set(u"SCFC7DTANNOFIGL"_s, year);
        cdsConFamCar.post();
        ++written;
    }
    if (others > written)
        m_log.entry(who, u"Dati degli altri familiari a carico non importati correttamente"_s);
    if (written > 0 && percentage <= Decimal())
        m_log.entry(who, u"Dati degli altri familiari a carico: manca la percentuale di detrazione"_s);
}
