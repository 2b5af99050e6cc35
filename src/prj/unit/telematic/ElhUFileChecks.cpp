#include "ElhUFileChecks.h"

#include "ClientDataSet.h"
#include "ElhMFile.h"
#include "ElhUFileWizard.h"
#include "NrExceptions.h"
#include "TextLib.h"
#include "checks/InfoList.h"
#include "checks/MandatoryDataCheck.h"

using namespace Qt::Literals::StringLiterals;

bool CheckCompleteness(FileWizard &wizard)
{
    QStringList findings;
    if (MandatoryDataCheck::run(findings, {&wizard.dm().cdsSost, &wizard.dm().cdsForn}))
        return true;
    if (InfoList::ask(findings))
        return true;
    wizard.addLine(u"Generazione file telematico terminata dall'utente"_s);
    return false;
}

void CheckExtinctAgents(TdmElhFile &dm)
{
    const struct
    {
        ClientDataSet *dataSet;
        const char16_t *prospetto;
    } tables[] = {
        {&dm.cdsPrSt, u"Prospetti ST Sez I"},    {&dm.cdsPrSt2, u"Prospetti ST Sez II"},
        {&dm.cdsPrSt3, u"Prospetti ST Sez III"}, {&dm.cdsPrSt4, u"Prospetti ST Sez IV"},
        {&dm.cdsPrSv, u"Prospetti Sv"},          {&dm.cdsPrSx, u"Prospetti Sx"},
        {&dm.cdsPrDi, u"Prospetti Di"},          {&dm.cdsPrSy2, u"Prospetti Sy Sez I"},
        {&dm.cdsPrSy, u"Prospetti Sy Sez II"},   {&dm.cdsPrSy3, u"Prospetti Sy Sez III"},
        {&dm.cdsPrSy4, u"Prospetti Sy Sez IV"},
    };
    ClientDataSet &agents = dm.cdsSostEst;
    // The filter on the extinct agents is removed however the check ends.
    struct Unfilter
    {
        ClientDataSet &ds;
        ~Unfilter()
        {
            ds.setFiltered(false);
            ds.setFilter(QString());
        }
    } unfilter{agents};
    for (const auto &t : tables) {
        const Field &code = t.dataSet->fieldByName(u"SSOE7CODICE"_s);
        for (t.dataSet->first(); !t.dataSet->eof(); t.dataSet->next()) {
            if (code.asString().isEmpty())
                continue;
            agents.setFilter(u"CODICE="_s + TextLib::QuotedStr(code.asString()));
            agents.setFiltered(true);
            if (agents.isEmpty())
                throw ENrError(QString::fromUtf16(t.prospetto)
                               + u": Codice fiscale sostituto estinto non presente in Tabelle->Sostituto estinto"_s);
        }
        t.dataSet->first();
    }
}

void CheckFrontispiece(const ClientDataSet &cdsSost)
{
    const bool id = TextLib::Trim(cdsSost.fieldByName(u"SPROTINVGESTSEPID"_s).asString()).isEmpty();
    const bool progressive = TextLib::Trim(cdsSost.fieldByName(u"SPROTINVGESTSEPAS"_s).asString()).isEmpty();
    if (id != progressive)
        throw ENrError(u"Incongruenza dati frontespizio:\r\n"
                       u"  Protocollo dichiarazione inviata in gestione separata: \r\n"
                       u"Identificativo dell invio e Progressivo Attribuito dal Servizio telematico alla singola "
                       u"dichiarazioneambedue assenti o presenti"_s);
}

void CheckSyCongruence(const QString &moduleAgent, const ClientDataSet &rows, int line, int module)
{
    const QString agent = rows.fieldByName(u"SSOE7CODICE"_s).asString();
    if (agent == moduleAgent)
        return;
    const auto named = [](const QString &code) {
        return code.isEmpty() ? u"del sostituto dichiarante"_s : u"del sostituto estinto "_s + code;
    };
    throw ENrError(u"Prospetti SY: \"Operazioni straordinarie e successioni\" non congruenti: la riga della "
                   u"sezione II del debitore principale %1 è %2, ma il rigo SY%3 del modulo %4 è %5"_s.arg(
                       rows.fieldByName(u"SPSYDEBPRICODF"_s).asString(), named(agent), QString::number(line),
                       QString::number(module), named(moduleAgent)));
}
