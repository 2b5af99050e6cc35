#include "Quadratura.h"

#include "ClientDataSet.h"
#include "Conversions.h"
#include "Exceptions.h"
#include "Field.h"
#include "NrExceptions.h"
#include "NrQuery.h"
#include "THlmDBCds.h"
#include "TaxCodes.h"

#include <QHash>

#include <cmath>

using namespace Qt::Literals::StringLiterals;

namespace {

// The fields of one Prospetto, by the column of the form they hold.
struct ProspettoFields
{
    QuadraturaArea area;
    const char16_t *table;
    const char16_t *month;
    const char16_t *year;
    const char16_t *withheld;
    const char16_t *credits;
    const char16_t *paid;
    const char16_t *interest;
    const char16_t *ravvedimento;
    const char16_t *taxCode;
    const char16_t *region; // none outside ST II
    const char16_t *paidOn;
    const char16_t *suspended;
};

constexpr ProspettoFields kProspetti[] = {
    {QuadraturaArea::StI, u"TPST_PROSPETTOST", u"SPSTMESE", u"SPSTANNO", u"FPSTRITOPEARTE", u"FPSTRITCOMPENSATE",
     u"FPSTIMPOVERSATO", u"FPSTINTERESSI", u"LPSTRAVVEDIMENTO", u"SPSTCODTRIBUTO", nullptr, u"DPSTDTVERS",
     u"FPSTIMPSOSCOVID"},
    {QuadraturaArea::StII, u"TPST2_PROSPETTOSTS2", u"SPST2MESE", u"SPST2ANNO", u"FPST2RITEFFETTUATE",
     u"FPST2CREDIMPSCOMP", u"FPST2IMPOVERSATO", u"FPST2INTERESSI", u"LPST2RAVVEDIMENTO", u"SPST2CODTRIBUTO",
     u"SPST2CODREG", u"DPST2DTVERS", u"FPST2IMPSOSCOVID"},
    {QuadraturaArea::Sv, u"TPSV_PROSPETTOSV", u"SPSVMESE", u"SPSVANNO", u"FPSVTRATTEFF", u"FPSVCREDIMPUTSCOMP",
     u"FPSVIMPVERS", u"FPSVINTERESSI", u"LPSVRAVVED", u"SPSVCODTRIBCAP", nullptr, u"DPSVDTVERS", u"FPSVIMPSOSCOVID"},
};

const QString kPersonId = u"IAFIID"_s;

QString text(const ClientDataSet &ds, const char16_t *field)
{
    return ds.fieldByName(QString::fromUtf16(field)).asString().trimmed();
}

Decimal amount(const ClientDataSet &ds, const QString &field)
{
    return ds.fieldByName(field).asCurrency();
}

// A check box holds "1" or "0"; anything else is no tick.
bool ticked(const QString &value)
{
    return Conv::parseBool(value).value_or(false);
}

void readProspetto(THlmDBCds &store, const ProspettoFields &fields, QList<QuadraturaRow> &rows)
{
    ClientDataSet ds;
    store.open(ds, QString::fromUtf16(fields.table));
    int record = 0;
    for (ds.first(); !ds.eof(); ds.next(), ++record) {
        QuadraturaRow row;
        row.area = fields.area;
        row.record = record;
        row.agent = ds.fieldByName(u"SSOE7CODICE"_s).asString().trimmed();
        row.month = text(ds, fields.month);
        row.year = text(ds, fields.year);
        row.taxCode = text(ds, fields.taxCode).toUpper();
        if (fields.region)
            row.region = text(ds, fields.region);
        row.withheld = amount(ds, QString::fromUtf16(fields.withheld));
        row.credits = amount(ds, QString::fromUtf16(fields.credits));
        row.paid = amount(ds, QString::fromUtf16(fields.paid));
        row.interest = amount(ds, QString::fromUtf16(fields.interest));
        row.suspended = amount(ds, QString::fromUtf16(fields.suspended));
        row.paidOn = ds.fieldByName(QString::fromUtf16(fields.paidOn)).asDate();
        row.ravvedimento = ticked(text(ds, fields.ravvedimento));
        rows.append(row);
    }
}

QString personName(const ClientDataSet &ds, const QString &surname, const QString &name)
{
    const QString whole = ds.fieldByName(surname).asString().trimmed() + u' ' + ds.fieldByName(name).asString();
    return whole.trimmed();
}

void readEmployees(THlmDBCds &store, QList<QuadraturaPerson> &people)
{
    const QString table = u"TDIP7_ANAGRFISCALI"_s;
    ClientDataSet ds;
    store.open(ds, table);
    QHash<QString, qsizetype> byCode;
    for (ds.first(); !ds.eof(); ds.next()) {
        const QString code = ds.fieldByName(u"SDIP7CODFIS"_s).asString().trimmed().toUpper();
        auto found = byCode.constFind(code);
        if (found == byCode.constEnd()) {
            found = byCode.insert(code, people.size());
            people.append({table, code, personName(ds, u"SDIP7COGNOME"_s, u"SDIP7NOME"_s), {}, {}, {}, {}, {}});
        }
        QuadraturaPerson &person = people[*found];
        person.irpef += amount(ds, u"FFIS7RITIRPEF"_s);
        person.regional += amount(ds, u"FFIS7ADDREGIRPEF"_s);
        person.municipalAdvance += amount(ds, u"FFIS7ADDCOMACC"_s);
        person.municipalBalance += amount(ds, u"FFIS7ADDCOMSA"_s);
    }
}

void readSelfEmployed(THlmDBCds &store, QList<QuadraturaPerson> &people)
{
    const QString table = u"TDAU7_DATIAUTONOM"_s;
    ClientDataSet registry;
    store.open(registry, table);
    QHash<qint64, qsizetype> byPerson;
    for (registry.first(); !registry.eof(); registry.next()) {
        byPerson.insert(registry.fieldByName(kPersonId).asLargeInt(), people.size());
        people.append({table,
                       registry.fieldByName(u"SDAU7CODFIS"_s).asString().trimmed().toUpper(),
                       personName(registry, u"SDAU7COGNOME"_s, u"SDAU7NOME"_s),
                       {},
                       {},
                       {},
                       {},
                       {}});
    }
    ClientDataSet sums;
    store.open(sums, u"TDSE7_SOMMEEROGATE"_s);
    for (sums.first(); !sums.eof(); sums.next()) {
        const auto found = byPerson.constFind(sums.fieldByName(kPersonId).asLargeInt());
        if (found != byPerson.constEnd())
            people[*found].selfEmployed += amount(sums, u"FDSE7RITTITACC"_s) + amount(sums, u"FDSE7RITTITIMP"_s);
    }
}

// An amount column of a line: empty is zero; a text or anything that is no
// finite number is named in the problems.
Decimal lineAmount(const TNrQuery &query, const QString &column, const QString &name, QStringList &problems)
{
    const QVariant value = query.value(column);
    if (value.isNull())
        return {};
    bool number = false;
    const double d = value.toDouble(&number);
    if (value.typeId() == QMetaType::QString || !number || !std::isfinite(d) || std::fabs(d) >= 1e15) {
        problems.append(u"l'importo %1 «%2» non è un numero"_s.arg(name, value.toString()));
        return {};
    }
    return Decimal::fromDouble(d);
}

std::optional<QList<QuadraturaF24Line>> readPayroll(THlmDBCds &store)
{
    TNrQuery query(*store.connection());
    query.fetch(u"QRY_ELH_QUADRATURA_F24"_s, 0, u"SELECT"_s);
    query.setParam(u"ANNO"_s, QString::number(store.year()));
    query.open();
    QList<QuadraturaF24Line> lines;
    while (query.next()) {
        QuadraturaF24Line line;
        QStringList problems;
        line.delegation = query.value(u"IDF24ID"_s).toLongLong();
        line.line = query.value(u"IRF24ID"_s).toLongLong();
        const QVariant paidOn = query.value(u"DDF24DTVERS"_s);
        line.paidOn = NrSqlValue::toDate(paidOn);
        if (!line.paidOn.isValid())
            problems.append(u"la data di versamento «%1» non è una data"_s.arg(paidOn.toString()));
        line.section = query.value(u"SRF24SEZIONE"_s).toString().trimmed();
        line.taxCode = query.value(u"SRF24CODTRIBUTO"_s).toString().trimmed().toUpper();
        line.region = query.value(u"SRF24CODREG"_s).toString().trimmed();
        line.municipality = query.value(u"SRF24CODCOM"_s).toString().trimmed();
        line.month = query.value(u"SRF24MESE"_s).toString().trimmed();
        line.year = query.value(u"SRF24ANNO"_s).toString().trimmed();
        line.withheld = lineAmount(query, u"FRF24RITENUTE"_s, u"delle ritenute"_s, problems);
        line.credits = lineAmount(query, u"FRF24CREDITI"_s, u"dei crediti"_s, problems);
        line.paid = lineAmount(query, u"FRF24VERSATO"_s, u"versato"_s, problems);
        line.interest = lineAmount(query, u"FRF24INTERESSI"_s, u"degli interessi"_s, problems);
        line.suspended = lineAmount(query, u"FRF24IMPSOSP"_s, u"sospeso"_s, problems);
        line.ravvedimento = query.value(u"LRF24RAVVEDIMENTO"_s).toString().trimmed() == u"1"_s;
        line.problem = problems.join(u"; "_s);
        // The section's other codes (VAT, IRAP) are no withholdings.
        const TaxCodes::Section *section = TaxCodes::sectionOf(line.taxCode);
        if (section && section->code == line.section)
            lines.append(line);
    }
    query.close();
    if (lines.isEmpty())
        return std::nullopt;
    return lines;
}

} // namespace

QuadraturaInput readQuadraturaInput(THlmDBCds &store)
{
    if (!store.connection())
        throw ENrError(u"Quadratura: nessuna connessione al database della scuola"_s);
    QuadraturaInput input;
    input.year = store.year();
    try {
        for (const ProspettoFields &fields : kProspetti)
            readProspetto(store, fields, input.rows);
        readEmployees(store, input.people);
        readSelfEmployed(store, input.people);
        input.f24 = readPayroll(store);
    } catch (const ENrError &) {
        throw;
    } catch (const Exception &e) {
        throw ENrError(u"Quadratura: la dichiarazione %1 non può essere letta: %2"_s.arg(
            QString::number(store.year() + 1), e.message()));
    }
    return input;
}
