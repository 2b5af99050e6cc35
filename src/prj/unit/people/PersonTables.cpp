#include "PersonTables.h"

#include "ClientDataSet.h"
#include "Exceptions.h"
#include "NrConnection.h"
#include "NrTransaction.h"
#include "THlmDBCds.h"

using namespace Qt::Literals::StringLiterals;

namespace PersonTables {

namespace {

const QString kPersonField = u"IAFIID"_s;

// Fields carried under their own name.
QList<std::pair<QString, QString>> same(std::initializer_list<const char16_t *> fields)
{
    QList<std::pair<QString, QString>> pairs;
    for (const char16_t *f : fields)
        pairs.append({QString::fromUtf16(f), QString::fromUtf16(f)});
    return pairs;
}

} // namespace

const Registry &registry(Kind kind)
{
    static const Registry employees{
        u"TDIP7_ANAGRFISCALI"_s,
        u"SDIP7CODFIS"_s,
        u"SDIP7GRUPPOANA"_s,
        u"D"_s,
        u"SDIP7COGNOME"_s,
        u"SDIP7NOME"_s,
        {u"TREE7_REDDITOESTER"_s, u"TCFF7_CFFAMILIARE"_s, u"TCON7_DATICONGUAG"_s, u"TTAS7_TASSAZIONESE"_s,
         u"TTFR7_TFR"_s, u"TANN7_ANNOTAZIONI"_s, u"TINPS7_INPS"_s, u"TINP7_INPDAP"_s, u"TINA7_INAIL"_s,
         u"TRAR7_REDASSTIRTIT"_s, u"TCFC7_CONFAMCARICO"_s, u"TSLS7_SOMEROLAVSTRA"_s},
        // The domicile at the start of this year is the one last year's
        // return gave at the start of the next; it stands for the next too
        // until the office says otherwise.
        same({u"SDIP7CODFIS", u"SDIP7COGNOME", u"SDIP7NOME", u"SDIP7SEX", u"DDIP7DATANAS", u"SDIP7COMNAS",
              u"SDIP7PROVNAS", u"SCAP7CODICE", u"SDIP7CODSTAEST", u"SDIP7CODFISRAPPR", u"DDIP7DATAPRIOCC",
              u"SDIP7DFCOMUNE", u"SDIP7DFPROV", u"SDIP7DFCODCOM", u"SDIP7DFCODSED"})
            + QList<std::pair<QString, QString>>{{u"SDIP7DFCOMUNEPRECC"_s, u"SDIP7DFCOMUNE"_s},
                                                 {u"SDIP7DFPROVPRECC"_s, u"SDIP7DFPROV"_s},
                                                 {u"SDIP7DFCODCOMPRECC"_s, u"SDIP7DFCODCOM"_s}}};
    static const Registry selfEmployed{
        u"TDAU7_DATIAUTONOM"_s,
        u"SDAU7CODFIS"_s,
        u"SDAU7GRUPPOANA"_s,
        u"A"_s,
        u"SDAU7COGNOME"_s,
        u"SDAU7NOME"_s,
        {u"TDSE7_SOMMEEROGATE"_s},
        same({u"SDAU7CODFIS", u"SDAU7COGNOME", u"SDAU7NOME", u"SDAU7SEX", u"DDAU7DATANAS", u"SDAU7COMNAS",
              u"SDAU7PROVNAS", u"SDAU7CAPCODICE", u"SDAU7COMUNE", u"SDAU7PROVINCIA", u"SDAU7CODCOM",
              u"SDAU7CODFISESTERO", u"SDAU7RESESTERA", u"SDAU7INDIRIESTERO", u"SDAU7INDIRIZZZO", u"SSTECODICE",
              u"LDAU7EREDE"})};
    return kind == Kind::Employee ? employees : selfEmployed;
}

QString personFilter(qint64 person)
{
    return kPersonField + u" = "_s + QString::number(person);
}

bool copyRegistryRecord(const ClientDataSet &from, ClientDataSet &to, Kind kind)
{
    const Registry &r = registry(kind);
    const QString code = from.fieldByName(r.codeField).asString().trimmed();
    if (to.locate(r.codeField, code, {.caseInsensitive = true}))
        return false;
    to.append();
    for (const auto &[target, source] : r.carried) {
        Field *into = to.findField(target);
        const Field *value = from.findField(source);
        if (!into || !value)
            continue;
        // A text this year's field cannot keep whole is refused, never cut.
        if (const QString problem = into->isText() && !value->isNull() ? into->textProblem(value->asString()) : QString();
            !problem.isEmpty()) {
            to.cancel();
            throw EConvertError(u"%1, campo %2: il valore «%3» %4"_s.arg(
                code, target, Field::visibleText(value->asString()), problem));
        }
        into->setValue(value->value());
    }
    to.fieldByName(r.groupField).setAsString(r.group);
    to.post();
    return true;
}

int deletePersonRows(ClientDataSet &table, qint64 person)
{
    const QString filter = table.filter();
    const bool filtered = table.filtered();
    table.setFilter(personFilter(person));
    table.setFiltered(true);
    int deleted = 0;
    for (; !table.isEmpty(); ++deleted) {
        table.first();
        table.deleteRecord();
    }
    table.setFilter(filter);
    table.setFiltered(filtered);
    return deleted;
}

void deletePerson(THlmDBCds &store, Kind kind, qint64 person)
{
    const Registry &r = registry(kind);
    TdmNrConnection *connection = store.connection();
    TNrTransaction transaction(*connection);
    if (!connection->inTransaction())
        transaction.StartTransaction();
    QStringList tables = r.sections;
    tables.append(r.table);
    for (const QString &table : std::as_const(tables)) {
        ClientDataSet rows(table);
        store.openForPerson(rows, table, static_cast<int>(person), store.month(), store.year());
        if (deletePersonRows(rows, person) > 0)
            store.save(rows, table);
    }
    if (transaction.active())
        transaction.Commit();
}

} // namespace PersonTables
