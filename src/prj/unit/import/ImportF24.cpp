#include "ImportF24.h"

#include "ClientDataSet.h"
#include "Exceptions.h"
#include "THlmDBCds.h"

using namespace Qt::Literals::StringLiterals;

namespace {

const QString kAgentTable = u"TSOS_DATOSOSTITUTO"_s;

QString flag(bool on)
{
    return on ? u"1"_s : u"0"_s;
}

} // namespace

ImportF24::ImportF24(THlmDBCds &store, int financialYear)
    : m_store(store)
    , m_financialYear(financialYear)
    , m_stI(u"PROSPETTO ST SEZIONE I Erario"_s, u"TPST_PROSPETTOST"_s, u"QRY_ELH_ST_I"_s, QString(),
            u"SPSTCODTRIBUTO"_s, u"E"_s)
    , m_stII(u"PROSPETTO ST SEZIONE II Addizionali regionali"_s, u"TPST2_PROSPETTOSTS2"_s, u"QRY_ELH_ST_II"_s,
             u"QRY_ELH_ST_II_TEST"_s, u"SPST2CODTRIBUTO"_s, u"R"_s)
    , m_sv(u"PROSPETTO SV Addizionali comunali"_s, u"TPSV_PROSPETTOSV"_s, u"QRY_ELH_SV"_s, u"QRY_ELH_SV_TEST"_s,
           u"SPSVCODTRIBCAP"_s, u"EL"_s)
{
}

QString ImportF24::run(const Choice &choice)
{
    m_failed = false;
    QString text;
    bool employees = false;
    bool selfEmployed = false;
    for (const auto &[chosen, prospetto] :
         {std::pair{choice.stI, &m_stI}, std::pair{choice.stII, &m_stII}, std::pair{choice.sv, &m_sv}}) {
        if (!chosen)
            continue;
        // The first header ends with a line break; the others stand between two.
        if (prospetto != &m_stI)
            text += u'\n';
        text += prospetto->header() + u'\n';
        const TImportProspetto::Outcome outcome = prospetto->run(m_store, m_financialYear);
        m_failed =
            m_failed || outcome == TImportProspetto::Outcome::Failed || outcome == TImportProspetto::Outcome::Invalid;
        employees = employees || prospetto->employeePayments();
        selfEmployed = selfEmployed || prospetto->selfEmployedPayments();
        text += u" - "_s + prospetto->result() + u'\n';
    }
    markAgent(employees, selfEmployed, text);
    return text;
}

void ImportF24::markAgent(bool employees, bool selfEmployed, QString &text)
{
    try {
        ClientDataSet agent(kAgentTable);
        m_store.open(agent, kAgentTable);
        if (agent.isEmpty())
            throw EDatabaseError(u"il record del sostituto non esiste ancora"_s);
        agent.edit();
        agent.fieldByName(u"SSOSTIPOINV"_s).setAsString(u"1"_s);
        agent.fieldByName(u"LSOSDIP"_s).setAsString(flag(employees));
        agent.fieldByName(u"LSOSAUT"_s).setAsString(flag(selfEmployed));
        agent.post();
        m_store.save(agent, kAgentTable);
    } catch (const Exception &e) {
        m_failed = true;
        text += u"\nDati del sostituto (tipo di invio, dipendenti, autonomi) non aggiornati: %1\n"_s.arg(e.message());
    }
}
