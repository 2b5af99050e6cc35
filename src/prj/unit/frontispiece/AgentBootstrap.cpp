#include "AgentBootstrap.h"

#include "ClientDataSet.h"
#include "NrConnection.h"
#include "NrFindings.h"
#include "NrTransaction.h"
#include "THlmDBCds.h"
#include "TextLib.h"

using namespace Qt::Literals::StringLiterals;

namespace AgentBootstrap {

namespace {

const QString kAgent = u"TSOS_DATOSOSTITUTO"_s;
const QString kSupplier = u"TFOR_FORNITORE"_s;
const QString kPayrollAgent = u"TCUS_DATISOST"_s;

// Last year's record numbers and persons belong to last year's structures:
// a copy gets its own from the store.
const QStringList kStoreKeys{u"IFISRIGO"_s, u"IAFIID"_s};
// The period of the last year's return does not carry over.
const QStringList kPeriodFields{u"SSOSMESESL"_s, u"SSOSANNOSL"_s, u"SSOSMESEDF"_s, u"SSOSANNODF"_s};

// The frontispiece's boxes that a new year starts with unticked.
const QStringList kFlagsReset{
    u"LSOSCORRETTIVA"_s,   u"LSOSINTEGRATIVA"_s, u"LSOSAVVISO"_s,  u"LSOSAVVISORIC"_s, u"LSOSSS"_s,
    u"LSOSST"_s,           u"LSOSSX"_s,          u"LSOSSY"_s,      u"LSOSORD"_s,       u"LSOSDICHCONTRIB"_s,
    u"LSOSCONFERMADICH"_s, u"LSOSSV"_s,          u"LSOSDIP"_s,     u"LSOSAUT"_s,       u"LSOSATTEST"_s,
    u"LSOSDI"_s,           u"LSOSALTRIT"_s,      u"LSOSCAP"_s,     u"LSOSLOCBRV"_s,    u"LGESDIP1"_s,
    u"LGESAUT1"_s,         u"LGESCAP1"_s,        u"LGESLOCBRV1"_s, u"LGESALTRIT1"_s,   u"LGESDIP2"_s,
    u"LGESAUT2"_s,         u"LGESCAP2"_s,        u"LGESLOCBRV2"_s, u"LGESALTRIT2"_s,   u"LSOSCASIPART"_s,
    u"LSOSINCGESSEP"_s,    u"LGESCFSOS1"_s,      u"LGESCFSOS2"_s};

// The boxes of an agent built from the payroll data.
const QStringList kFlagsOfANewAgent{
    // clang-format off
    u"LSOSCORRETTIVA"_s, u"LSOSINTEGRATIVA"_s, u"LSOSEVECCEZ"_s, u"LSOSAVVISO"_s, u"LSOSAVVISORIC"_s, u"LSOSSS"_s,
    u"LSOSST"_s, u"LSOSSX"_s, u"LSOSSY"_s, u"LSOSDICHCONTRIB"_s, u"LSOSDICHNOCONTRIB"_s, u"LSOSVISTO"_s,
    u"LSOSCONFERMADICH"_s, u"LSOSSSPARZ"_s, u"LSOSSTPARZ"_s, u"LSOSSVPARZ"_s, u"LSOSSXPARZ"_s, u"LSOSSYPARZ"_s,
    u"LSOSORD"_s, u"LSOSPREAVTELE"_s, u"LSOSSV"_s, u"LSOSDI"_s, u"LSOSCASIPART"_s, u"LSOSINCGESSEP"_s,
    u"LGESCFSOS1"_s, u"LGESCFSOS2"_s,
    // clang-format on
};

// Payroll agent field -> agent field.
const std::pair<const char16_t *, const char16_t *> kPayrollFields[] = {
    {u"SSOSDENOM", u"SSOSDENOM"},        {u"SSOSCOMUNE", u"SSOSCOMUNESL"},     {u"SSOSPROV", u"SSOSPROVSL"},
    {u"SSOSCAP", u"SSOSCAPSL"},          {u"SSOSINDIRIZZO", u"SSOSINDIRIZSL"}, {u"SSOSEMAIL", u"SSOSEMAIL"},
    {u"SSOSCODATTIVITA", u"SCOACODICE"},
};

void setIfPresent(ClientDataSet &ds, const QString &field, const QString &value)
{
    if (Field *f = ds.findField(field))
        f->setAsString(value);
}

// Appends to `current` a copy of the current record of `previous`, field by
// field where the names match, without the store's keys and the skipped fields.
void appendCopy(ClientDataSet &current, const ClientDataSet &previous, const QStringList &skipped)
{
    current.append();
    for (int i = 0; i < previous.fieldCount(); ++i) {
        const Field &from = previous.field(i);
        if (kStoreKeys.contains(from.fieldName(), Qt::CaseInsensitive)
            || skipped.contains(from.fieldName(), Qt::CaseInsensitive))
            continue;
        if (Field *to = current.findField(from.fieldName()))
            to->setValue(from.value());
    }
}

// Copies last year's agent and, when missing, supplier. True when it did.
bool copyPreviousYear(THlmDBCds &store, ClientDataSet &agent, FindingList &notices)
{
    const int previousYear = store.year() - 1;
    ClientDataSet previousAgent(u"cdsSostitutoPrec"_s);
    store.openFor(previousAgent, kAgent, 0, previousYear);
    if (previousAgent.isEmpty())
        return false;

    appendCopy(agent, previousAgent, kPeriodFields);
    agent.fieldByName(u"ISOSSEZ"_s).setAsInteger(1);
    for (const QString &flag : kFlagsReset)
        setIfPresent(agent, flag, u"0"_s);
    agent.post();
    store.save(agent, kAgent);

    ClientDataSet supplier(u"cdsFornitore"_s);
    store.open(supplier, kSupplier);
    if (supplier.isEmpty()) {
        ClientDataSet previousSupplier(u"cdsFornitorePrec"_s);
        store.openFor(previousSupplier, kSupplier, 0, previousYear);
        if (!previousSupplier.isEmpty()) {
            appendCopy(supplier, previousSupplier, {});
            supplier.post();
            store.save(supplier, kSupplier);
        }
    }
    notices.information(u"E' stata eseguita l'importazione automatica dall'anno precedente dei dati del \"Fornitore\", "
                        u"\"Altri soggetti\" e \"Rappresentante firmatario\" nella sezione \"Sostituto\". \n\r"
                        u"Si consiglia di controllare la correttezza dei dati."_s);
    return true;
}

// Fills the agent from the payroll data.
void fillFromPayroll(THlmDBCds &store, ClientDataSet &agent, const QString &schoolCode, FindingList &notices)
{
    if (agent.isEmpty()) {
        agent.append();
        for (const QString &flag : kFlagsOfANewAgent)
            setIfPresent(agent, flag, u"0"_s);
    } else {
        agent.edit();
    }

    ClientDataSet payroll(u"cdsDatiSost"_s);
    const QString program = store.programCode();
    store.setProgramCode(u"eli"_s);
    try {
        store.open(payroll, kPayrollAgent);
    } catch (...) {
        store.setProgramCode(program);
        agent.cancel();
        throw;
    }
    store.setProgramCode(program);

    const QString payrollCode =
        payroll.isEmpty() ? QString() : TextLib::Trim(payroll.fieldByName(u"SSOSCODFIS"_s).asString());
    QString code = payrollCode;
    if (!payrollCode.isEmpty() && !schoolCode.isEmpty() && payrollCode != schoolCode) {
        notices.warning(
            u"Codice fiscale della scuola (%1) non congruente con quello presente nel CUD (%2). Verrà importato %1"_s
                .arg(schoolCode, payrollCode));
        code = schoolCode;
    } else if (payrollCode.isEmpty()) {
        code = schoolCode;
    }
    agent.fieldByName(u"SSOSCODFIS"_s).setAsString(code);
    if (!payroll.isEmpty()) {
        for (const auto &[from, to] : kPayrollFields) {
            const Field *source = payroll.findField(QString::fromUtf16(from));
            if (source)
                setIfPresent(agent, QString::fromUtf16(to), source->asString());
        }
    }
    agent.post();
    if (!schoolCode.isEmpty()) {
        notices.information(
            u"E' stata eseguita l'importazione automatica dai compensi e dal CUD dei dati del \"Sostituto\". \n\r"
            u"Si consiglia di controllare la correttezza dei dati."_s);
    }
    store.save(agent, kAgent);
}

} // namespace

void run(THlmDBCds &store, const std::function<QString()> &schoolFiscalCode, FindingSink &findings)
{
    ClientDataSet agent(u"cdsSostituto"_s);
    const auto complete = [&] {
        store.open(agent, kAgent);
        return !agent.isEmpty() && !TextLib::Trim(agent.fieldByName(u"SSOSCODFIS"_s).asString()).isEmpty();
    };
    // Every start after the first finds the agent and asks nothing more.
    if (complete())
        return;
    // The agent and the supplier are made together: a run stopped half way
    // must not leave an agent whose supplier the next run would not copy.
    TdmNrConnection &connection = *store.connection();
    TNrTransaction transaction(connection);
    if (!connection.inTransaction())
        transaction.StartTransaction();
    // The office is told once the copy is confirmed.
    FindingList notices;
    if (agent.isEmpty())
        copyPreviousYear(store, agent, notices);
    if (!complete())
        fillFromPayroll(store, agent, schoolFiscalCode ? TextLib::Trim(schoolFiscalCode()) : QString(), notices);
    if (transaction.active())
        transaction.Commit();
    for (const Finding &notice : notices.entries())
        findings.report(notice);
}

} // namespace AgentBootstrap
