#include "TImportProspetto.h"

#include "ClientDataSet.h"
#include "Exceptions.h"
#include "NrConnection.h"
#include "NrQuery.h"
#include "NrTransaction.h"
#include "THlmDBCds.h"

#include <QSqlRecord>

#include <vector>

using namespace Qt::Literals::StringLiterals;

namespace {

const QString kSelect = u"SELECT"_s;

// The withholdings on self-employed income.
bool selfEmployedCode(const QString &code)
{
    static const QStringList codes{u"104E"_s, u"1019"_s, u"1020"_s, u"1040"_s};
    return codes.contains(code);
}

// A value of the statement into the field of the same name, as the field's
// type wants it; a text longer than the field, or with a control character,
// is refused, not cut.
void copyValue(Field &field, const QVariant &value)
{
    switch (field.dataType()) {
    case FieldType::String: {
        const QString text = value.toString();
        if (const QString problem = field.textProblem(text); !problem.isEmpty())
            throw EConvertError(u"il valore «%1» %2"_s.arg(Field::visibleText(text), problem));
        field.setAsString(text);
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

} // namespace

const QString TImportProspetto::kRefused =
    u"Presenza di trattenute relative all'anno precedente. I dati devono essere importati manualmente"_s;
const QString TImportProspetto::kNothingToImport = u"Nessun dato da importare"_s;

TImportProspetto::TImportProspetto(QString header, QString table, QString mainQuery, QString testQuery,
                                   QString taxCodeField)
    : m_header(std::move(header))
    , m_table(std::move(table))
    , m_mainQuery(std::move(mainQuery))
    , m_testQuery(std::move(testQuery))
    , m_taxCodeField(std::move(taxCodeField))
{
}

TImportProspetto::Outcome TImportProspetto::run(THlmDBCds &store, int financialYear)
{
    m_count = 0;
    m_employees = m_selfEmployed = false;
    try {
        if (!store.connection())
            throw EDatabaseError(u"nessuna connessione al database della scuola"_s);
        if (refusedByTest(store, financialYear)) {
            m_result = kRefused;
            return Outcome::Refused;
        }
        replaceRows(store);
    } catch (const Exception &e) {
        m_count = 0;
        m_employees = m_selfEmployed = false;
        m_result = u"Importazione del %1 non riuscita, i dati già presenti non sono stati modificati: %2"_s.arg(
            m_header, e.message());
        return Outcome::Failed;
    }
    if (m_count == 0) {
        m_result = kNothingToImport;
        return Outcome::NothingToImport;
    }
    m_result = u"Importati %1 righi"_s.arg(m_count);
    return Outcome::Imported;
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
        if (selfEmployedCode(taxCode.asString()))
            m_selfEmployed = true;
        else
            m_employees = true;
    }

    store.save(target, m_table);
    transaction.Commit();
    m_count = static_cast<int>(rows.size());
}
