// The five summary reports of TdmElhProspSTPDF: person by person, the amounts
// that the return holds for one kind of withholding or contribution, with
// subtotals and totals, on a one-page template repeated as the lines need.

#include "ElhMProspSTPDF.h"

#include "PrintPaths.h"
#include "THlmDBCds.h"
#include "TextLib.h"

using namespace Qt::Literals::StringLiterals;

const QString TdmElhProspSTPDF::kNoEmployees = u"Non ci sono dipendenti disponibili per il riepilogo."_s;

// The template, the descriptor page and the geometry of one report. Lines
// are drawn with the row counter r as their index; a rule line is a thin box
// whose top is 17 × r + ruleTop.
struct TdmElhProspSTPDF::Report
{
    QString templateFile;
    QString page;
    QString headerSection;
    int lastRow; // a new page when r exceeds it
    double ruleWidth;
    double ruleThickness;
    double ruleTop;
};

namespace {

const QString kDescriptor = u"StampeVarie.xml"_s;
const QString kEmployees = u"TDIP7_ANAGRFISCALI"_s;
const QString kEmployeeCode = u"SDIP7CODFIS"_s;

// Field definitions of a line dataset: a caption, an optional key, amounts.
QList<FieldDef> lineFields(const QString &caption, const QList<FieldDef> &key, const QStringList &amounts)
{
    QList<FieldDef> defs;
    if (!caption.isEmpty())
        defs.append({caption, FieldType::String, 30});
    defs.append(key);
    for (const QString &a : amounts)
        defs.append({a, FieldType::Decimal});
    return defs;
}

void create(ClientDataSet &ds, const QList<FieldDef> &defs)
{
    ds.close();
    ds.fieldDefs().clear();
    for (const FieldDef &d : defs)
        ds.fieldDefs().add(d);
    ds.createDataSet();
}

// Appends a line with its caption and every amount 0.
void appendLine(ClientDataSet &ds, const QString &captionField, const QString &caption, const QStringList &amounts)
{
    ds.append();
    if (!captionField.isEmpty())
        ds.fieldByName(captionField).setAsString(caption);
    for (const QString &a : amounts)
        ds.fieldByName(a).setAsCurrency(Decimal());
    ds.post();
}

// Adds the amounts of the current record of `from` to those of `into`, field
// by field; a null amount counts as 0.
void addAmounts(ClientDataSet &into, const QStringList &intoFields, const ClientDataSet &from,
                const QStringList &fromFields)
{
    into.edit();
    for (qsizetype i = 0; i < intoFields.size(); ++i) {
        Field &f = into.fieldByName(intoFields[i]);
        f.setAsCurrency(f.asCurrency() + from.fieldByName(fromFields[i]).asCurrency());
    }
    into.post();
}

} // namespace

void TdmElhProspSTPDF::openPersons(ClientDataSet &target, const QString &table, const QString &surname,
                                   const QString &firstName, const QString &fullName, int fullNameSize)
{
    ClientDataSet source(table);
    m_store.open(source, table);
    QList<FieldDef> defs(source.fieldDefs().begin(), source.fieldDefs().end());
    defs.append({fullName, FieldType::String, fullNameSize});
    create(target, defs);
    const int full = target.fieldByName(fullName).index();
    for (source.first(); !source.eof(); source.next()) {
        target.append();
        for (int i = 0; i < source.fieldCount(); ++i)
            target.field(i).setValue(source.field(i).value());
        target.field(full).setAsString(source.fieldByName(surname).asString() + u' '
                                       + source.fieldByName(firstName).asString());
        target.post();
    }
    target.setIndexFieldNames(surname + u';' + firstName);
    target.first();
}

void TdmElhProspSTPDF::openDetail(ClientDataSet &detail, const QString &table, const QString &order)
{
    m_store.open(detail, table);
    detail.setIndexFieldNames(order);
}

// The header line of the report from the withholding agent's record:
// denomination, address, telephone and e-mail, tax year and, when the
// dataset has a fifth field, the year of filing.
void TdmElhProspSTPDF::openHeader(ClientDataSet &header, const QList<FieldDef> &defs)
{
    m_store.open(cdsSost, u"TSOS_DATOSOSTITUTO"_s);
    auto agent = [this](const char16_t *field) { return cdsSost.fieldByName(QString::fromUtf16(field)).asString(); };
    const QStringList values = {
        agent(u"SSOSDENOM"),
        u"%1 %2 (%3) CAP. %4"_s.arg(agent(u"SSOSINDIRIZSL"), agent(u"SSOSCOMUNESL"), agent(u"SSOSPROVSL"),
                                    agent(u"SSOSCAPSL")),
        u"Tel. %1 Fax. %2 E-Mail %3"_s.arg(agent(u"SSOSTEL"), agent(u"SSOSFAX"), agent(u"SSOSEMAIL")),
        u"2023"_s,
        u"2024"_s,
    };
    create(header, defs);
    header.append();
    for (int i = 0; i < header.fieldCount(); ++i)
        header.field(i).setAsString(values[i]);
    header.post();
}

bool TdmElhProspSTPDF::startReport(const Report &report)
{
    if (!ApriModello(PrintPaths::coordStp(report.templateFile), PrintPaths::coordStp(kDescriptor))) {
        reportOpenError();
        return false;
    }
    m_report = &report;
    CreaPagina(1, false);
    StampaSezione(report.page, report.headerSection, 1);
    m_row = 0;
    return true;
}

void TdmElhProspSTPDF::finishReport(const QString &fileName)
{
    EliminaPagine(1, 1);
    SalvaPdf(fileName, true, true);
}

void TdmElhProspSTPDF::pageBreak()
{
    if (m_row <= m_report->lastRow)
        return;
    CreaPagina(1, false);
    StampaSezione(m_report->page, m_report->headerSection, 1);
    m_row = 0;
}

void TdmElhProspSTPDF::ruleLine()
{
    pdf().DrawBox(59, 17.0 * m_row + m_report->ruleTop, m_report->ruleWidth, m_report->ruleThickness, 0);
}

void TdmElhProspSTPDF::drawLine(const QString &section)
{
    StampaSezione(m_report->page, section, m_row);
}

void TdmElhProspSTPDF::filterByPerson(ClientDataSet &detail, const QString &field, const QString &fiscalCode)
{
    detail.setFiltered(false);
    detail.setFilter(field + u'=' + TextLib::QuotedStr(fiscalCode));
    detail.setFiltered(true);
}

TdmElhProspSTPDF::Outcome TdmElhProspSTPDF::riepilogoINPS(const QString &fileName)
{
    static const Report report{u"RiepilogoINPS.pdf"_s, u"RiepilogoINPS"_s, u"cdsAltreVoci"_s, 34, 478, 0.05, 178};
    CloseAtEnd closeAtEnd{*this};
    const QStringList detail = {u"fINPS7Imponibile"_s, u"fINPS7ContribTratt"_s, u"fINPS7CompCorrisp"_s,
                                u"fINPS7CompDovuti"_s, u"fINPS7CompTratten"_s};
    const QStringList person = {u"fINPSImponibile"_s, u"fINPSContribTratt"_s, u"fINPSCompCorrisp"_s,
                                u"fINPSCompDovuti"_s, u"fINPSCompTratten"_s};
    const QStringList totals = {u"fTotImponibile"_s, u"fTotContribTratt"_s, u"fTotCompCorrisp"_s, u"fTotCompDovuti"_s,
                                u"fTotCompTratten"_s};

    openPersons(cdsDipendenti, kEmployees, u"SDIP7COGNOME"_s, u"SDIP7NOME"_s, u"SDIP7COGNOMENOME"_s, 61);
    if (cdsDipendenti.isEmpty()) {
        findings().information(kNoEmployees);
        return Outcome::NothingToPrint;
    }
    openDetail(cdsINPS, u"TINPS7_INPS"_s, QString());
    create(cdsRigoINPS, lineFields(QString(), {}, person));
    appendLine(cdsRigoINPS, QString(), QString(), person);
    create(cdsTotali, lineFields(u"sTotCaption"_s, {}, totals));
    appendLine(cdsTotali, u"sTotCaption"_s, u"Totale"_s, totals);
    openHeader(cdsAltreVoci, {{u"SDENOMINAZIONE"_s, FieldType::String, 60},
                              {u"SINDIRIZZO"_s, FieldType::String, 255},
                              {u"STELEFONOMAIL"_s, FieldType::String, 255},
                              {u"SANNOFIN"_s, FieldType::String, 4}});
    if (!startReport(report))
        return Outcome::Failed;

    for (cdsDipendenti.first(); !cdsDipendenti.eof(); cdsDipendenti.next()) {
        pageBreak();
        filterByPerson(cdsINPS, kEmployeeCode, cdsDipendenti.fieldByName(kEmployeeCode).asString());
        cdsRigoINPS.edit();
        for (const QString &f : person)
            cdsRigoINPS.fieldByName(f).setAsCurrency(Decimal());
        cdsRigoINPS.post();
        for (cdsINPS.first(); !cdsINPS.eof(); cdsINPS.next())
            addAmounts(cdsRigoINPS, person, cdsINPS, detail);
        addAmounts(cdsTotali, totals, cdsRigoINPS, person);
        drawLine(u"cdsDipendenti"_s);
        drawLine(u"cdsRigoINPS"_s);
        ++m_row;
    }
    drawLine(u"cdsTotali"_s);
    ruleLine();
    finishReport(fileName);
    return Outcome::Saved;
}

// Separate taxation and INPDAP: for each employee with rows, the rows from
// the last to the first (the name beside the first line), then the
// employee's subtotal; after all employees one line per year, in order, and
// the grand total.
void TdmElhProspSTPDF::printDetailsBySubtotal(const SubtotalPlan &plan)
{
    for (cdsDipendenti.first(); !cdsDipendenti.eof(); cdsDipendenti.next()) {
        cdsSubTotali.emptyDataSet();
        appendLine(cdsSubTotali, u"sSubTotCaption"_s, u"Totale dipendente"_s, plan.subtotals);
        filterByPerson(*plan.detail, kEmployeeCode, cdsDipendenti.fieldByName(kEmployeeCode).asString());
        plan.detail->last();
        if (!plan.detail->isEmpty()) {
            // The name goes on the page of its first line.
            pageBreak();
            drawLine(u"cdsDipendenti"_s);
            for (; !plan.detail->bof(); plan.detail->prior()) {
                addAmounts(cdsSubTotali, plan.subtotals, *plan.detail, plan.amounts);
                addToYear(plan);
                pageBreak();
                drawLine(plan.detail->name());
                ++m_row;
            }
            pageBreak();
            drawLine(u"cdsSubTotali"_s);
            ++m_row;
            ruleLine();
        }
        addAmounts(cdsTotali, plan.totals, cdsSubTotali, plan.subtotals);
    }
    cdsTotAnnuo.setIndexFieldNames(plan.yearKey);
    for (cdsTotAnnuo.first(); !cdsTotAnnuo.eof(); cdsTotAnnuo.next()) {
        pageBreak();
        drawLine(u"cdsTotAnnuo"_s);
        ++m_row;
    }
    ruleLine();
    pageBreak();
    drawLine(u"cdsTotali"_s);
}

// Adds the detail row to the line of its year, compared as text ("2021" and
// "2021 " are two years), appending the line when the year is new.
void TdmElhProspSTPDF::addToYear(const SubtotalPlan &plan)
{
    const Field &year = plan.detail->fieldByName(plan.detailKey);
    const QString key = year.asString();
    for (cdsTotAnnuo.first(); !cdsTotAnnuo.eof(); cdsTotAnnuo.next()) {
        if (cdsTotAnnuo.fieldByName(plan.yearKey).asString() == key) {
            addAmounts(cdsTotAnnuo, plan.yearAmounts, *plan.detail, plan.amounts);
            return;
        }
    }
    appendLine(cdsTotAnnuo, u"sTotAnnuoCaption"_s, u"Totale anno"_s, plan.yearAmounts);
    cdsTotAnnuo.edit();
    cdsTotAnnuo.fieldByName(plan.yearKey).setValue(year.value());
    cdsTotAnnuo.post();
    addAmounts(cdsTotAnnuo, plan.yearAmounts, *plan.detail, plan.amounts);
}

TdmElhProspSTPDF::Outcome TdmElhProspSTPDF::printSubtotalReport(const Report &report, const SubtotalPlan &plan,
                                                                const QString &table, const QList<FieldDef> &yearKey,
                                                                const QString &fileName)
{
    CloseAtEnd closeAtEnd{*this};
    openPersons(cdsDipendenti, kEmployees, u"SDIP7COGNOME"_s, u"SDIP7NOME"_s, u"SDIP7COGNOMENOME"_s, 61);
    openDetail(*plan.detail, table, plan.detailKey);
    if (plan.detail->isEmpty())
        return Outcome::NothingToPrint;
    create(cdsSubTotali, lineFields(u"sSubTotCaption"_s, {}, plan.subtotals));
    create(cdsTotAnnuo, lineFields(u"sTotAnnuoCaption"_s, yearKey, plan.yearAmounts));
    create(cdsTotali, lineFields(u"sTotCaption"_s, {}, plan.totals));
    appendLine(cdsTotali, u"sTotCaption"_s, u"Totale complessivo"_s, plan.totals);
    openHeader(cdsIntestazione, intestazioneFields());
    if (!startReport(report))
        return Outcome::Failed;
    printDetailsBySubtotal(plan);
    finishReport(fileName);
    return Outcome::Saved;
}

QList<FieldDef> TdmElhProspSTPDF::intestazioneFields()
{
    return {{u"sDenominazione"_s, FieldType::String, 100},
            {u"sIndirizzo"_s, FieldType::String, 100},
            {u"sTelefonoMail"_s, FieldType::String, 100},
            {u"sAnnoFin"_s, FieldType::String, 4},
            {u"sAnnoCurr"_s, FieldType::String, 4}};
}

TdmElhProspSTPDF::Outcome TdmElhProspSTPDF::riepilogoTassazioneSeparata(const QString &fileName)
{
    static const Report report{
        u"RiepilogoTassazioneSeparata.pdf"_s, u"RiepilogoTassSeparata"_s, u"cdsIntestazione"_s, 34, 478, 0.01, 178};
    const SubtotalPlan plan{&cdsTassSeparata,
                            u"STAS7PERIODOIMP"_s,
                            u"sTotAnnuoAnno"_s,
                            {u"FTAS7COMPARRDETR"_s, u"FTAS7COMPARRNODETR"_s, u"FTAS7RITOPERATE"_s},
                            {u"fSubTotComparrDetr"_s, u"fSubTotComparrNoDetr"_s, u"fSubTotRitOperate"_s},
                            {u"fTotAnnuoComparrDetr"_s, u"fTotAnnuoComparrNoDetr"_s, u"fTotAnnuoRitOperate"_s},
                            {u"fTotComparrDetr"_s, u"fTotComparrNoDetr"_s, u"fTotRitOperate"_s}};
    return printSubtotalReport(report, plan, u"TTAS7_TASSAZIONESE"_s, {{u"sTotAnnuoAnno"_s, FieldType::String, 10}},
                               fileName);
}

TdmElhProspSTPDF::Outcome TdmElhProspSTPDF::riepilogoINPDAP(const QString &fileName)
{
    static const Report report{
        u"RiepilogoINPDAP.pdf"_s, u"RiepilogoINPDAP"_s, u"cdsIntestazione"_s, 25, 727, 0.01, 148};
    const SubtotalPlan plan{&cdsINPDAP,
                            u"IINPDAP7ANNORIF"_s,
                            u"iTotAnnuoAnnoRif"_s,
                            {u"fInpdap7_Dma_ImpPens"_s, u"fInpdap7_Dma_ConPens"_s, u"fInpdap7_Dma_ImpTFR"_s,
                             u"fInpdap7_Dma_ConTFR"_s, u"fInpdap7_Dma_ImpCredito"_s, u"fInpdap7_Dma_ConCredito"_s},
                            {u"fSubTot_Dma_ImpPens"_s, u"fSubTot_Dma_ConPens"_s, u"fSubTot_Dma_ImpTFR"_s,
                             u"fSubTot_Dma_ConTFR"_s, u"fSubTot_Dma_ImpCredito"_s, u"fSubTot_Dma_ConCredito"_s},
                            {u"fTotAnnuo_Dma_ImpPens"_s, u"fTotAnnuo_Dma_ConPens"_s, u"fTotAnnuo_Dma_ImpTFR"_s,
                             u"fTotAnnuo_Dma_ConTFR"_s, u"fTotAnnuo_Dma_ImpCredito"_s, u"fTotAnnuo_Dma_ConCredito"_s},
                            {u"fTot_Dma_ImpPens"_s, u"fTot_Dma_ConPens"_s, u"fTot_Dma_ImpTFR"_s, u"fTot_Dma_ConTFR"_s,
                             u"fTot_Dma_ImpCredito"_s, u"fTot_Dma_ConCredito"_s}};
    return printSubtotalReport(report, plan, u"TINP7_INPDAP"_s, {{u"iTotAnnuoAnnoRif"_s, FieldType::Integer}},
                               fileName);
}

TdmElhProspSTPDF::Outcome TdmElhProspSTPDF::riepilogoIRPEF(const QString &fileName)
{
    static const Report report{u"RiepilogoIRPEF.pdf"_s, u"RiepilogoIRPEF"_s, u"cdsIntestazione"_s, 22, 727, 0.01, 158};
    CloseAtEnd closeAtEnd{*this};
    const QStringList amounts = {u"fFis7ReddDetr"_s,      u"fFis7ImpoLorda"_s, u"FFIS7RITIRPEF"_s,
                                 u"fFis7AddRegIRPEF"_s,   u"fFis7AddComAcc"_s, u"fFis7AddComSa"_s,
                                 u"fFis7ADDCOMIRPEFACC"_s};
    const QStringList totals = {u"fTotReddDetr"_s,  u"fTotImpoLorda"_s, u"FTOTRITIRPEF"_s,      u"fTotAddRegIRPEF"_s,
                                u"fTotAddComAcc"_s, u"fTotAddComSa"_s,  u"FTOTADDCOMIRPEFACC"_s};
    openPersons(cdsDipendenti, kEmployees, u"SDIP7COGNOME"_s, u"SDIP7NOME"_s, u"SDIP7COGNOMENOME"_s, 61);
    if (cdsDipendenti.isEmpty())
        return Outcome::NothingToPrint;
    create(cdsTotali, lineFields(u"sTotCaption"_s, {}, totals));
    appendLine(cdsTotali, u"sTotCaption"_s, u"Totale complessivo"_s, totals);
    openHeader(cdsIntestazione, intestazioneFields());
    if (!startReport(report))
        return Outcome::Failed;
    for (cdsDipendenti.first(); !cdsDipendenti.eof(); cdsDipendenti.next()) {
        pageBreak();
        drawLine(u"cdsDipendenti"_s);
        ++m_row;
        addAmounts(cdsTotali, totals, cdsDipendenti, amounts);
    }
    pageBreak();
    ruleLine();
    drawLine(u"cdsTotali"_s);
    finishReport(fileName);
    return Outcome::Saved;
}

TdmElhProspSTPDF::Outcome TdmElhProspSTPDF::riepilogoAutonomi(const QString &fileName)
{
    static const Report report{
        u"RiepilogoAutonomi.pdf"_s, u"RiepilogoAutonomi"_s, u"cdsIntestazione"_s, 25, 727, 0.01, 168};
    CloseAtEnd closeAtEnd{*this};
    const QStringList amounts = {u"fDse7AmmLordo"_s,   u"fDse7AltreSomme"_s, u"fDse7Imponibile"_s, u"fDse7RitTitAcc"_s,
                                 u"fDse7AddrTitAcc"_s, u"fDse7ContrAmm"_s,   u"fDse7ContrDip"_s};
    const QStringList totals = {u"fTotAmmLordo"_s,   u"fTotAltreSomme"_s, u"fTotImponibile"_s, u"fTotRitTitAcc"_s,
                                u"fTotAddrTitAcc"_s, u"fTotContrAmm"_s,   u"fTotContrDip"_s};
    openPersons(cdsAutonomi, u"TDAU7_DATIAUTONOM"_s, u"SDAU7COGNOME"_s, u"SDAU7NOME"_s, u"sDau7CognomeNome"_s, 100);
    openDetail(cdsSommeErogate, u"TDSE7_SOMMEEROGATE"_s, u"SDSE7ANNO"_s);
    if (cdsSommeErogate.isEmpty())
        return Outcome::NothingToPrint;
    create(cdsTotali, lineFields(u"sTotCaption"_s, {}, totals));
    appendLine(cdsTotali, u"sTotCaption"_s, u"Totale complessivo"_s, totals);
    openHeader(cdsIntestazione, intestazioneFields());
    if (!startReport(report))
        return Outcome::Failed;
    for (cdsAutonomi.first(); !cdsAutonomi.eof(); cdsAutonomi.next()) {
        filterByPerson(cdsSommeErogate, u"SDAU7CODFIS"_s, cdsAutonomi.fieldByName(u"SDAU7CODFIS"_s).asString());
        for (cdsSommeErogate.last(); !cdsSommeErogate.isEmpty() && !cdsSommeErogate.bof(); cdsSommeErogate.prior()) {
            pageBreak();
            drawLine(u"cdsAutonomi"_s);
            pageBreak();
            drawLine(u"cdsSommeErogate"_s);
            addAmounts(cdsTotali, totals, cdsSommeErogate, amounts);
            ++m_row;
        }
    }
    pageBreak();
    ruleLine();
    drawLine(u"cdsTotali"_s);
    finishReport(fileName);
    return Outcome::Saved;
}
