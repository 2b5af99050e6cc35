#include "TImportProspetto.h"

#include "ClientDataSet.h"
#include "Decimal.h"
#include "Exceptions.h"
#include "NrConnection.h"
#include "NrQuery.h"
#include "NrTransaction.h"
#include "THlmDBCds.h"
#include "TaxCodes.h"

#include <QRegularExpression>
#include <QSqlRecord>

#include <algorithm>
#include <cmath>
#include <map>
#include <optional>
#include <vector>

using namespace Qt::Literals::StringLiterals;

namespace {

const QString kRefused =
    u"Presenza di trattenute relative all'anno precedente. I dati devono essere importati manualmente"_s;
const QString kNothingToImport = u"Nessun dato da importare"_s;

const QString kSelect = u"SELECT"_s;

// A value of the statement into the field of the same name, as the field's
// type wants it; a text longer than the field, or with a control character,
// is refused, not cut.
void copyValue(Field &field, const QVariant &value)
{
    switch (field.dataType()) {
    case FieldType::String: {
        field.setAsCheckedString(value.toString());
        return;
    }
    case FieldType::Date: {
        const QDate date = NrSqlValue::toDate(value);
        if (!date.isValid())
            throw EConvertError(u"«%1» non è una data"_s.arg(value.toString()));
        field.setAsDate(date);
        return;
    }
    case FieldType::Decimal: {
        bool ok = false;
        const double amount = value.toDouble(&ok);
        if (!ok)
            throw EConvertError(u"«%1» non è un importo"_s.arg(value.toString()));
        field.setAsCurrency(Decimal::fromDouble(amount));
        return;
    }
    default:
        field.setValue(value);
    }
}

// The amounts of a line, with the name the messages give them.
constexpr struct
{
    const char16_t *column;
    const char16_t *name;
} kAmounts[] = {{u"FRF24RITENUTE", u"delle ritenute"},
                {u"FRF24CREDITI", u"dei crediti"},
                {u"FRF24VERSATO", u"versato"},
                {u"FRF24INTERESSI", u"degli interessi"},
                {u"FRF24IMPSOSP", u"sospeso"}};

// Amounts of the form hold at most 15 integer digits.
constexpr double kAmountLimit = 1e15;

// A withholding is paid in the years after it at the latest while the
// return that declared it can still be corrected (five years); the payroll
// also holds the lines of the next year, paid before the deadline.
constexpr int kYearsBack = 5;

const QRegularExpression kMonth(u"^(0[1-9]|1[0-2])$"_s);
const QRegularExpression kYear(u"^[0-9]{4}$"_s);

QString dateText(const QDate &date)
{
    return date.toString(u"dd/MM/yyyy"_s);
}

// The number of an amount column; none for a text (SQLite keeps the text
// written into a number column) or anything else that is not a number.
std::optional<double> amountOf(const QVariant &value)
{
    bool number = false;
    const double amount = value.toDouble(&number);
    if (value.typeId() == QMetaType::QString || !number || !std::isfinite(amount))
        return std::nullopt;
    return amount;
}

// An amount as the line holds it: a number, or the text found instead.
QString amountText(const QVariant &value)
{
    const std::optional<double> amount = amountOf(value);
    if (!amount)
        return value.toString();
    return std::fabs(*amount) < 9e14 ? Decimal::fromDouble(*amount).toString(2) : QString::number(*amount, 'f', 2);
}

// One tax line of a delegation, as the payroll holds it.
struct Line
{
    qint64 delegation = 0;
    QVariant paidValue;
    QDate paid;
    QString section;
    QString code;
    QString month;
    QString year;
    QVariantList amounts;
    // Every value but the delegation, to find a delegation entered twice.
    QString content;

    QString described() const
    {
        QString text = u"delega F24EP del %1, rigo sezione «%2», codice tributo «%3», periodo «%4/%5»"_s.arg(
            paid.isValid() ? dateText(paid) : paidValue.toString(), section, code, month, year);
        for (qsizetype a = 0; a < amounts.size(); ++a) {
            if (!amounts[a].isNull())
                text += u", %1 %2"_s.arg(QString::fromUtf16(kAmounts[a].name), amountText(amounts[a]));
        }
        return text;
    }
};

// What is wrong with the period, the tax code and the amounts of a line of
// the return's year; the date paid is after the period and not after the
// deadline.
QStringList problems(const Line &line, const TaxCodes::Section &section, const QDate &deadline)
{
    QStringList found;
    if (line.code.isEmpty())
        found.append(u"manca il codice tributo"_s);
    else if (!section.withholdings.match(line.code).hasMatch())
        found.append(u"il codice tributo «%1» non è fra quelli che il prospetto riporta dalla sezione %2"_s.arg(
            line.code, section.code));
    const bool monthValid = kMonth.match(line.month).hasMatch();
    if (line.month.isEmpty())
        found.append(u"manca il mese di riferimento"_s);
    else if (!monthValid)
        found.append(u"il mese di riferimento «%1» non è di due cifre da 01 a 12"_s.arg(line.month));
    for (qsizetype a = 0; a < line.amounts.size(); ++a) {
        const QVariant &value = line.amounts[a];
        if (value.isNull())
            continue;
        const QString name = QString::fromUtf16(kAmounts[a].name);
        const std::optional<double> amount = amountOf(value);
        if (!amount)
            found.append(u"l'importo %1 «%2» non è un numero"_s.arg(name, value.toString()));
        else if (*amount < 0)
            found.append(u"l'importo %1 %2 è negativo"_s.arg(name, amountText(value)));
        else if (*amount >= kAmountLimit)
            found.append(u"l'importo %1 %2 supera le 15 cifre intere"_s.arg(name, amountText(value)));
    }
    if (!line.paid.isValid()) {
        found.append(u"la data di versamento «%1» non è una data"_s.arg(line.paidValue.toString()));
    } else if (line.paid > deadline) {
        found.append(u"la data di versamento è successiva al termine di presentazione della dichiarazione (%1)"_s.arg(
            dateText(deadline)));
    } else if (monthValid && kYear.match(line.year).hasMatch()
               && line.paid < QDate(line.year.toInt(), line.month.toInt(), 1)) {
        found.append(u"la data di versamento precede il periodo %1/%2 che il rigo paga"_s.arg(line.month, line.year));
    }
    return found;
}

} // namespace

TImportProspetto::TImportProspetto(QString header, QString table, QString mainQuery, QString testQuery,
                                   QString taxCodeField, QString section)
    : m_header(std::move(header))
    , m_table(std::move(table))
    , m_mainQuery(std::move(mainQuery))
    , m_testQuery(std::move(testQuery))
    , m_taxCodeField(std::move(taxCodeField))
    , m_section(std::move(section))
{
}

TImportProspetto::Outcome TImportProspetto::run(THlmDBCds &store, int financialYear)
{
    m_count = 0;
    m_employees = m_selfEmployed = false;
    QStringList refused;
    QStringList warnings;
    try {
        if (!store.connection())
            throw EDatabaseError(u"nessuna connessione al database della scuola"_s);
        if (refusedByTest(store, financialYear)) {
            m_result = kRefused;
            return Outcome::Refused;
        }
        checkLines(store, refused, warnings);
        if (refused.isEmpty())
            replaceRows(store);
        else
            noteKeptRows(store);
    } catch (const Exception &e) {
        m_count = 0;
        m_employees = m_selfEmployed = false;
        m_result = u"Importazione del %1 non riuscita, i dati già presenti non sono stati modificati: %2"_s.arg(
            m_header, e.message());
        return Outcome::Failed;
    }
    Outcome outcome = Outcome::Imported;
    if (!refused.isEmpty()) {
        m_result = u"Non importato, i dati già presenti non sono stati modificati: %1 righi delle deleghe F24EP "
                   u"non validi"_s.arg(refused.size());
        outcome = Outcome::Invalid;
    } else if (m_count == 0) {
        m_result = kNothingToImport;
        outcome = Outcome::NothingToImport;
    } else {
        m_result = u"Importati %1 righi"_s.arg(m_count);
    }
    for (const QString &line : std::as_const(refused) + warnings)
        m_result += u"\n   - "_s + line;
    return outcome;
}

void TImportProspetto::noteKeptRows(THlmDBCds &store)
{
    // The rows kept are what the return still declares: the agent's flags
    // follow them, as they would follow the rows of an import.
    ClientDataSet target(m_table);
    store.open(target, m_table);
    const Field &taxCode = target.fieldByName(m_taxCodeField);
    for (target.first(); !target.eof(); target.next()) {
        if (TaxCodes::selfEmployed(taxCode.asString()))
            m_selfEmployed = true;
        else
            m_employees = true;
    }
}

bool TImportProspetto::refusedByTest(THlmDBCds &store, int financialYear)
{
    if (m_testQuery.isEmpty())
        return false;
    TNrQuery test(*store.connection());
    test.fetch(m_testQuery, 0, kSelect);
    test.setParam(u"IANFID"_s, financialYear);
    test.open();
    const bool found = test.next();
    test.close();
    return found;
}

void TImportProspetto::checkLines(THlmDBCds &store, QStringList &refused, QStringList &warnings) const
{
    const int year = store.year();
    // The return of a year is due by 31 October of the next.
    const QDate deadline(year + 1, 10, 31);
    const auto own = std::find_if(TaxCodes::sections().begin(), TaxCodes::sections().end(),
                                  [&](const TaxCodes::Section &s) { return s.code == m_section; });
    if (own == TaxCodes::sections().end())
        throw EAssertionFailed(u"Sezione F24EP «%1» sconosciuta"_s.arg(m_section));

    TNrQuery query(*store.connection());
    query.fetch(u"QRY_ELH_F24_RIGHE"_s, 0, kSelect);
    query.setParam(u"ANNO"_s, QString::number(year));
    query.setParam(u"DATA_INIZIALE"_s, QString(QString::number(year) + u"-01-01"_s));
    query.setParam(u"DATA_FINALE"_s, deadline.toString(Qt::ISODate));
    query.open();
    const QSqlRecord columns = query.record();
    // The contents of the delegations read, by delegation, to find one
    // entered twice.
    std::map<qint64, QStringList> delegations;
    std::map<qint64, QDate> paidOn;
    while (query.next()) {
        Line line;
        line.delegation = query.value(u"IDF24ID"_s).toLongLong();
        line.paidValue = query.value(u"DDF24DTVERS"_s);
        line.paid = NrSqlValue::toDate(line.paidValue);
        line.section = query.value(u"SRF24SEZIONE"_s).toString().trimmed();
        line.code = query.value(u"SRF24CODTRIBUTO"_s).toString().trimmed();
        line.month = query.value(u"SRF24MESE"_s).toString().trimmed();
        line.year = query.value(u"SRF24ANNO"_s).toString().trimmed();
        for (const auto &a : kAmounts)
            line.amounts.append(query.value(QString::fromUtf16(a.column)));
        for (int c = 1; c < columns.count(); ++c)
            line.content += query.value(c).toString() + u'|';

        // A line without its section is the Prospetto's whose code it has,
        // every Prospetto's when its code is nobody's.
        if (line.section.isEmpty()) {
            const bool anyone =
                std::any_of(TaxCodes::sections().begin(), TaxCodes::sections().end(),
                            [&](const TaxCodes::Section &s) { return s.withholdings.match(line.code).hasMatch(); });
            if (anyone && !own->withholdings.match(line.code).hasMatch())
                continue;
        } else if (line.section != m_section) {
            continue;
        }
        QStringList found;
        if (line.section.isEmpty())
            found.append(u"manca la sezione del modello F24EP"_s);
        if (line.year.isEmpty()) {
            found.append(u"manca l'anno di riferimento"_s);
        } else if (!kYear.match(line.year).hasMatch()) {
            found.append(u"l'anno di riferimento «%1» non è di quattro cifre"_s.arg(line.year));
        } else if (const int y = line.year.toInt(); y < year - kYearsBack || y > year + 1) {
            found.append(
                u"l'anno di riferimento %1 è fuori dagli anni che la dichiarazione può riportare (%2-%3)"_s.arg(
                    line.year, QString::number(year - kYearsBack), QString::number(year + 1)));
        } else if (y != year && found.isEmpty()) {
            // A line of another year sound as far as it goes is another
            // return's.
            continue;
        }
        if (found.isEmpty() && own->others.contains(line.code))
            continue;
        found += problems(line, *own, deadline);
        if (!found.isEmpty()) {
            refused.append(line.described() + u": "_s + found.join(u"; "_s));
            continue;
        }
        delegations[line.delegation].append(line.content);
        paidOn[line.delegation] = line.paid;
    }
    query.close();

    std::map<std::pair<QDate, QString>, int> seen;
    for (auto &[delegation, contents] : delegations) {
        contents.sort();
        ++seen[{paidOn[delegation], contents.join(u'\n')}];
    }
    for (const auto &[delegation, times] : seen) {
        if (times > 1)
            warnings.append(u"Attenzione: la delega F24EP del %1 è presente %2 volte con gli stessi righi: "
                            u"verificare che non sia stata registrata più volte nelle paghe"_s.arg(
                                dateText(delegation.first), QString::number(times)));
    }
}

void TImportProspetto::replaceRows(THlmDBCds &store)
{
    TdmNrConnection &connection = *store.connection();
    TNrTransaction transaction(connection);
    transaction.StartTransaction();

    // The rows are read whole before the store is used: on PostgreSQL a
    // statement read forward loses its rows when the connection runs another.
    TNrQuery query(connection);
    query.fetch(m_mainQuery, 0, kSelect);
    query.setParam(u"ANNO"_s, QString::number(store.year()));
    query.setParam(u"DATA_INIZIALE"_s, QString(QString::number(store.year()) + u"-01-01"_s));
    query.open();
    const QSqlRecord columns = query.record();
    std::vector<QVariantList> rows;
    while (query.next()) {
        QVariantList values;
        for (int c = 0; c < columns.count(); ++c)
            values.append(query.value(c));
        rows.push_back(std::move(values));
    }
    query.close();
    if (rows.empty())
        return;

    ClientDataSet target(m_table);
    store.open(target, m_table);
    target.last();
    while (!target.isEmpty())
        target.deleteRecord();

    // The fields of the statement's columns, found once.
    std::vector<Field *> fields;
    for (int c = 0; c < columns.count(); ++c) {
        Field *field = target.findField(columns.fieldName(c));
        if (!field)
            throw EAssertionFailed(
                u"La colonna «%1» di %2 non è un campo di %3"_s.arg(columns.fieldName(c), m_mainQuery, m_table));
        fields.push_back(field);
    }
    const Field &taxCode = target.fieldByName(m_taxCodeField);
    for (std::size_t r = 0; r < rows.size(); ++r) {
        target.append();
        for (int c = 0; c < columns.count(); ++c) {
            const QVariant &value = rows[r].at(c);
            if (value.isNull())
                continue;
            try {
                copyValue(*fields[static_cast<std::size_t>(c)], value);
            } catch (const EConvertError &e) {
                throw EConvertError(
                    u"rigo %1, campo %2: %3"_s.arg(r + 1).arg(columns.fieldName(c).toUpper(), e.message()));
            }
        }
        target.post();
        if (TaxCodes::selfEmployed(taxCode.asString()))
            m_selfEmployed = true;
        else
            m_employees = true;
    }

    store.save(target, m_table);
    transaction.Commit();
    m_count = static_cast<int>(rows.size());
}
