// The self-employed workers imported from the payroll, outside the
// certifications: their registry and the amounts of their payments.

#include "ElhMImport.h"

#include "Exceptions.h"
#include "NruParams.h"
#include "THlmDBCds.h"
#include "TextLib.h"

using namespace Qt::Literals::StringLiterals;

namespace {

// The codes of the payroll's withholdings that the amounts add up.
constexpr int kIrpefPayments = 11;
constexpr int kIrpefArrears = 12;

} // namespace

void TdmElhImport::openPayees(TNrQueryCollection &list, PayeeList which)
{
    list.setConnection(m_store.connection());
    if (which == PayeeList::SelfEmployed) {
        list.fetch(u"QRY_ELH_AUTON_IMP"_s, 0, u"SELECT"_s);
        list.setParam(u"RICE_COD_IRPEF_AM"_s, kIrpefPayments);
        list.setParam(u"RICE_COD_IRPEF_TS"_s, kIrpefArrears);
        list.setParam(u"TNO_ESTRANEI"_s, 10);
        list.setParam(u"TNO_LIB_PROF"_s, 14);
        list.setParam(u"TNO_AUTO_OCC"_s, 15);
    } else {
        list.fetch(u"QRY_ELH_AUTON_IMP_ONLY_ANA"_s, 0, u"SELECT"_s);
    }
    list.setParam(u"IANFID"_s, m_params.anfId());
    list.setParam(u"IDWGID"_s, m_params.dwgId());
    list.setColumnType(u"DANANASCITA"_s, FieldType::Date);
    for (const QString &column :
         {u"IANAID"_s, u"ICALNORMACODE"_s, u"ITNONORMACODE"_s, u"IQARNORMACODE"_s, u"LINSERVIZIO"_s})
        list.setColumnType(column, FieldType::Integer);
    for (const QString &column : {u"CODICE"_s, u"SANACOGNOMENOME"_s, u"SANACODFISCALE"_s, u"SANACOGNOME"_s,
                                  u"SANANOME"_s, u"COM_NAS_SCOMDESC"_s, u"PRO_NAS_SPROSIGLA"_s, u"STA_NAS_SSTADESC"_s,
                                  u"SCOMDESC"_s, u"SPROSIGLA"_s, u"SABTINDIRIZZO"_s, u"SANACODFISESTERO"_s})
        list.setColumnType(column, FieldType::Memo);
    list.open();
}

void TdmElhImport::beginAutonomi()
{
    for (ClientDataSet *ds : {&cdsAutonomo, &cdsAutSommeEro})
        openTable(table(*ds));
}

void TdmElhImport::endAutonomi()
{
    for (ClientDataSet *ds : {&cdsAutonomo, &cdsAutSommeEro}) {
        ds->close();
        table(*ds).loaded = false;
    }
}

TdmElhImport::Outcome TdmElhImport::importaAutonomo(const ClientDataSet &person, const Confirmation &replace)
{
    const auto text = [&person](const QString &column) { return person.fieldByName(column).asString().trimmed(); };
    const QString code = text(u"SANACODFISCALE"_s).toUpper();
    const QString surname = text(u"SANACOGNOME"_s);
    const QString name = text(u"SANANOME"_s);
    if (code.isEmpty()) {
        m_findings.error(u"ATTENZIONE!!! Dipendente senza codice fiscale : "_s
                         + QString(surname + u' ' + name).trimmed());
        return Outcome::Skipped;
    }
    const int personId = person.fieldByName(u"IANAID"_s).asInteger();
    const auto bind = [&](TNrQueryCollection &q, const QString &statement) {
        q.setConnection(m_store.connection());
        q.fetch(statement, 0, u"SELECT"_s);
        q.setParam(u"IANAID"_s, personId);
        q.setParam(u"IANFID"_s, m_params.anfId());
        q.setParam(u"IDWGID"_s, m_params.dwgId());
    };
    // The registrations are read first: a person without any is left as he is.
    TNrQueryCollection registrations;
    bind(registrations, u"QRY_ELH_AUTON_REGSID"_s);
    registrations.setColumnType(u"CAUSALE"_s, FieldType::Memo);
    registrations.open();
    if (registrations.isEmpty()) {
        m_findings.information(u"Nessun dato da importare."_s);
        return Outcome::Skipped;
    }
    if (!rowsOf(table(cdsAutonomo), code).isEmpty()
        && !replace(u"Dipendente già presente in archivio, si vogliono sostituire i dati?"_s + u" :  "_s + surname
                    + u' ' + name))
        return Outcome::Skipped;

    Outcome outcome = Outcome::Failed;
    inPerson(
        [&] {
            for (ClientDataSet *ds : {&cdsAutonomo, &cdsAutSommeEro}) {
                for (const Bookmark &row : rowsOf(table(*ds), code)) {
                    ds->gotoBookmark(row);
                    ds->deleteRecord();
                }
            }
            cdsAutonomo.append();
            // A text the registry cannot keep whole is refused with its field, never cut.
            const auto set = [this](const QString &field, const QVariant &value) {
                Field &f = cdsAutonomo.fieldByName(field);
                if (!f.isText() || value.typeId() != QMetaType::QString) {
                    f.setValue(value);
                    return;
                }
                try {
                    f.setAsCheckedString(value.toString());
                } catch (const EConvertError &e) {
                    throw EConvertError(u"campo %1: %2"_s.arg(field, e.message()));
                }
            };
            set(u"SDAU7CODFIS"_s, code);
            set(u"SDAU7COGNOME"_s, surname);
            set(u"LDAU7EREDE"_s, u"0"_s);
            // An entity with a numeric code has no name, sex or birth.
            if (!TextLib::IsNumeric(code)) {
                set(u"SDAU7NOME"_s, name);
                TNrQueryCollection sex;
                bind(sex, u"QRY_ANASEX"_s);
                sex.setColumnType(u"SSEXSDESC"_s, FieldType::Memo);
                sex.open();
                if (!sex.isEmpty())
                    set(u"SDAU7SEX"_s, sex.fieldByName(u"SSEXSDESC"_s).value());
                set(u"DDAU7DATANAS"_s, person.fieldByName(u"DANANASCITA"_s).value());
                const QString municipality = text(u"COM_NAS_SCOMDESC"_s);
                set(u"SDAU7COMNAS"_s, municipality.isEmpty() ? text(u"STA_NAS_SSTADESC"_s) : municipality);
                set(u"SDAU7PROVNAS"_s, text(u"PRO_NAS_SPROSIGLA"_s));
            }
            if (text(u"SPROSIGLA"_s) == u"EE") {
                set(u"SDAU7CODFISESTERO"_s, text(u"SANACODFISESTERO"_s));
                set(u"SDAU7RESESTERA"_s, text(u"SCOMDESC"_s));
                set(u"SDAU7INDIRIESTERO"_s, text(u"SABTINDIRIZZO"_s));
            } else {
                set(u"SDAU7COMUNE"_s, text(u"SCOMDESC"_s));
                set(u"SDAU7PROVINCIA"_s, text(u"SPROSIGLA"_s));
                set(u"SDAU7INDIRIZZZO"_s, text(u"SABTINDIRIZZO"_s));
            }
            cdsAutonomo.post();

            for (const QString &reason : {u"A"_s, u"M"_s, u"P"_s}) {
                if (!registrations.locate(u"CAUSALE"_s, reason))
                    continue;
                TNrQueryCollection sums;
                bind(sums, u"QRY_ELH_AUTON_SOM"_s);
                sums.setParam(u"CAUSALE"_s, reason);
                for (const QString &column : {u"IMP"_s, u"RIT_DIP"_s, u"RIT_AMM"_s})
                    sums.setColumnType(column, FieldType::Decimal);
                sums.setColumnType(u"IRICEID"_s, FieldType::Integer);
                sums.open();
                const auto sumOf = [&sums](const QString &column, std::initializer_list<int> items) {
                    Decimal sum;
                    for (sums.first(); !sums.eof(); sums.next()) {
                        if (std::find(items.begin(), items.end(), sums.fieldByName(u"IRICEID"_s).asInteger())
                            != items.end())
                            sum += sums.fieldByName(column).asCurrency();
                    }
                    return sum;
                };
                const auto single = [&](const QString &statement, const QString &column) {
                    TNrQueryCollection q;
                    bind(q, statement);
                    q.setParam(u"CAUSALE"_s, reason);
                    q.setColumnType(column, FieldType::Decimal);
                    q.open();
                    return q.fieldByName(column).asCurrency();
                };
                cdsAutSommeEro.append();
                const auto amount = [this](const QString &field, Decimal value) {
                    if (!value.isZero())
                        cdsAutSommeEro.fieldByName(field).setAsCurrency(value);
                };
                cdsAutSommeEro.fieldByName(u"SDAU7CODFIS"_s).setAsString(code);
                cdsAutSommeEro.fieldByName(u"SCAUCODICE"_s).setAsString(reason);
                const Decimal taxable = sumOf(u"IMP"_s, {kIrpefPayments});
                amount(u"FDSE7IMPONIBILE"_s, taxable);
                amount(reason == u"P" ? u"FDSE7RITTITIMP"_s : u"FDSE7RITTITACC"_s,
                       sumOf(u"RIT_DIP"_s, {kIrpefPayments, 8, 9, 10}));
                amount(u"FDSE7IMPANNIPREC"_s, sumOf(u"IMP"_s, {kIrpefArrears}));
                amount(u"FDSE7RITANNIPREC"_s, sumOf(u"RIT_DIP"_s, {kIrpefArrears}));
                amount(u"FDSE7CONTRAMM"_s, sumOf(u"RIT_AMM"_s, {3, 13}));
                amount(u"FDSE7CONTRDIP"_s, sumOf(u"RIT_DIP"_s, {3, 13}));
                const Decimal other = single(u"QRY_ELH_AUTON_NON_SOGG"_s, u"SOMME_NON_SOGG"_s);
                amount(u"FDSE7ALTRESOMME"_s, other);
                amount(u"FDSE7AMMLORDO"_s, taxable + other);
                cdsAutSommeEro.fieldByName(u"LDSE7ANTICIPAZ"_s).setAsString(u"0"_s);
                amount(u"FDSE7SPESERIMB"_s, single(u"QRY_ELH_AUTON_SPESE_RIMB"_s, u"SOMME_RIMBORSATE"_s));
                cdsAutSommeEro.post();
            }
            outcome = Outcome::Imported;
        },
        [&](const QString &error) {
            m_findings.error(
                u"Importazione non riuscita, i dati già presenti non sono stati modificati: %1 %2\n\n%3"_s.arg(
                    surname, name, error));
        });
    return outcome;
}
