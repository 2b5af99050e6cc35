#include "ElhUFileChecks.h"

#include "ClientDataSet.h"
#include "Decimal.h"
#include "ElhMFile.h"
#include "ElhUFileWizard.h"
#include "NrExceptions.h"
#include "TextLib.h"
#include "InfoList.h"
#include "MandatoryDataCheck.h"

#include <QRegularExpression>

using namespace Qt::Literals::StringLiterals;

namespace {

// The period fields of a Prospetto: month and year, once per row or, in ST
// sections III and IV, once per line of the row (the line's number after
// the names).
struct Periods
{
    ClientDataSet TdmElhFile::*dataSet;
    const char16_t *prospetto;
    const char16_t *month;
    const char16_t *year;
    int firstLine = 0;
    int lastLine = 0;
};

constexpr Periods kPeriods[] = {
    {&TdmElhFile::cdsPrSt, u"Prospetti ST Sez I", u"SPSTMESE", u"SPSTANNO"},
    {&TdmElhFile::cdsPrSt2, u"Prospetti ST Sez II", u"SPST2MESE", u"SPST2ANNO"},
    {&TdmElhFile::cdsPrSt3, u"Prospetti ST Sez III", u"SPST3MESE", u"SPST3ANNO", 27, 37},
    {&TdmElhFile::cdsPrSt4, u"Prospetti ST Sez IV", u"SPST2MESE", u"SPST2ANNO", 39, 49},
    {&TdmElhFile::cdsPrSv, u"Prospetti Sv", u"SPSVMESE", u"SPSVANNO"},
};

// The Prospetti, with the name the messages give them.
constexpr struct
{
    ClientDataSet TdmElhFile::*dataSet;
    const char16_t *prospetto;
} kProspetti[] = {
    {&TdmElhFile::cdsPrSt, u"Prospetti ST Sez I"},    {&TdmElhFile::cdsPrSt2, u"Prospetti ST Sez II"},
    {&TdmElhFile::cdsPrSt3, u"Prospetti ST Sez III"}, {&TdmElhFile::cdsPrSt4, u"Prospetti ST Sez IV"},
    {&TdmElhFile::cdsPrSv, u"Prospetti Sv"},          {&TdmElhFile::cdsPrSx, u"Prospetti Sx"},
    {&TdmElhFile::cdsPrDi, u"Prospetti Di"},          {&TdmElhFile::cdsPrSy2, u"Prospetti Sy Sez I"},
    {&TdmElhFile::cdsPrSy, u"Prospetti Sy Sez II"},   {&TdmElhFile::cdsPrSy3, u"Prospetti Sy Sez III"},
    {&TdmElhFile::cdsPrSy4, u"Prospetti Sy Sez IV"},
};

const QString kCorrect = u" Correggere il prospetto e generare di nuovo il file."_s;

// A period given in part or not as month 01-12 and a year of four digits.
QString periodProblem(const QString &month, const QString &year)
{
    static const QRegularExpression validMonth(u"^(0[1-9]|1[0-2])$"_s);
    static const QRegularExpression validYear(u"^[0-9]{4}$"_s);
    if (month.isEmpty() && year.isEmpty())
        return QString();
    if (!validMonth.match(month).hasMatch())
        return u"il mese «%1» non è di due cifre da 01 a 12"_s.arg(month);
    if (!validYear.match(year).hasMatch())
        return u"l'anno «%1» non è di quattro cifre"_s.arg(year);
    return QString();
}

void checkPeriods(TdmElhFile &dm, const Periods &p)
{
    ClientDataSet &rows = dm.*p.dataSet;
    const QString prospetto = QString::fromUtf16(p.prospetto);
    int row = 1;
    for (rows.first(); !rows.eof(); rows.next(), ++row) {
        for (int line = p.firstLine; line <= p.lastLine; ++line) {
            const QString suffix = line == 0 ? QString() : QString::number(line);
            const QString month = TextLib::Trim(rows.fieldByName(QString::fromUtf16(p.month) + suffix).asString());
            const QString year = TextLib::Trim(rows.fieldByName(QString::fromUtf16(p.year) + suffix).asString());
            const QString problem = periodProblem(month, year);
            if (problem.isEmpty())
                continue;
            const QString where = line == 0 ? u"%1, riga %2"_s.arg(prospetto).arg(row)
                                            : u"%1, riga %2, rigo ST%3"_s.arg(prospetto).arg(row).arg(line);
            throw ENrError(u"%1: il periodo «%2/%3» non è valido: %4."_s.arg(where, month, year, problem) + kCorrect);
        }
    }
    rows.first();
}

void checkAmounts(ClientDataSet &rows, const QString &prospetto)
{
    int row = 1;
    for (rows.first(); !rows.eof(); rows.next(), ++row) {
        for (int f = 0; f < rows.fieldCount(); ++f) {
            const Field &field = rows.field(f);
            if (field.dataType() != FieldType::Decimal || field.isNull() || field.asCurrency() >= Decimal())
                continue;
            throw ENrError(
                u"%1, riga %2: l'importo %3 del campo %4 è negativo e il file non ammette importi "
                u"negativi."_s.arg(prospetto, QString::number(row), field.asCurrency().toString(2), field.fieldName())
                + kCorrect);
        }
    }
    rows.first();
}

} // namespace

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
    for (const auto &t : kProspetti) {
        ClientDataSet &rows = dm.*t.dataSet;
        const Field &code = rows.fieldByName(u"SSOE7CODICE"_s);
        for (rows.first(); !rows.eof(); rows.next()) {
            if (code.asString().isEmpty())
                continue;
            agents.setFilter(u"CODICE="_s + TextLib::QuotedStr(code.asString()));
            agents.setFiltered(true);
            if (agents.isEmpty())
                throw ENrError(QString::fromUtf16(t.prospetto)
                               + u": Codice fiscale sostituto estinto non presente in Tabelle->Sostituto estinto"_s);
        }
        rows.first();
    }
}

void CheckProspettiValues(TdmElhFile &dm)
{
    for (const Periods &p : kPeriods)
        checkPeriods(dm, p);
    for (const auto &p : kProspetti)
        checkAmounts(dm.*p.dataSet, QString::fromUtf16(p.prospetto));
    checkAmounts(dm.cdsPrSs4, u"Prospetto SS"_s);
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
