#pragma once

#include "ClientDataSet.h"
#include "ElhMPDF.h"
#include "ElhUModulePlan.h"

#include <functional>

class THlmDBCds;

// The prints of the Prospetti ST, SV, SX, SY, SS and DI onto the pages of the
// form "770_sempl_mod.pdf", and the five summary reports onto their own
// templates. Each print opens its tables, writes the file under the full
// name it is given and leaves its datasets closed.
//
// The Prospetti of records D and I are printed module by module as the
// supply file carries them (ModulePlan): the same rows of the same agent
// (SSOE7CODICE: empty for the declaring agent, the code of an extinct agent
// otherwise) on the same line of a module of the same number. SS has one
// module per row, in the order of the file's records J.
class TdmElhProspSTPDF : public TdmElhPDF
{
public:
    enum class Outcome {
        Saved,
        NothingToPrint, // no rows (no employees for the INPS and IRPEF reports, no details for the others): no file
        Failed,         // template or descriptor missing: the error was reported, no file
    };

    static const QString kReminderSS;
    static const QString kNoEmployees;

    TdmElhProspSTPDF(THlmDBCds &store, FindingSink &findings);
    ~TdmElhProspSTPDF() override;

    Outcome stampaST(const QString &fileName);
    Outcome stampaSV(const QString &fileName);
    Outcome stampaSX(const QString &fileName);
    Outcome stampaSY(const QString &fileName);
    // Reports first the reminder that SS holds what the last telematic file computed.
    Outcome stampaSS(const QString &fileName);
    Outcome stampaDI(const QString &fileName);

    // The summary reports; the file is saved, then its folder and the file
    // itself are opened.
    Outcome riepilogoINPS(const QString &fileName);
    Outcome riepilogoTassazioneSeparata(const QString &fileName);
    Outcome riepilogoIRPEF(const QString &fileName);
    Outcome riepilogoINPDAP(const QString &fileName);
    Outcome riepilogoAutonomi(const QString &fileName);

protected:
    ClientDataSet *findDataSet(const QString &name) override;

private:
    struct Source
    {
        ClientDataSet *dataSet;
        QStringView table;
        QStringView order;
        bool printed; // a row of it is something to print
    };
    enum class RecordKind { D, I };
    // Prints one module on its pages; the module is selected in the plan.
    using PrintModule = std::function<void(const ModulePlan &plan, bool firstOfAgent)>;
    struct Report;
    // The separate-taxation and INPDAP reports: detail rows by employee with
    // a subtotal, lines by year, a total.
    struct SubtotalPlan
    {
        ClientDataSet *detail;
        QString detailKey; // the period or year of a row, also the rows' order
        QString yearKey;   // the same in the lines by year
        QStringList amounts;
        QStringList subtotals;
        QStringList yearAmounts;
        QStringList totals;
    };
    // Closes every dataset when a print ends, however it ends.
    struct CloseAtEnd
    {
        TdmElhProspSTPDF &module;
        ~CloseAtEnd() { module.closeAll(); }
    };

    QList<ClientDataSet *> components();
    void closeAll();

    Outcome runProspetto(const QString &prospetto, const QList<Source> &sources, const QString &descriptor,
                         const QString &fileName, const std::function<void()> &print);
    // The modules of the record that hold rows of the Prospetto, in order.
    Outcome printModules(const QString &prospetto, RecordKind record, const QString &descriptor,
                         const QString &fileName, const PrintModule &printModule);
    QList<ModulePlan::Table> planTables(RecordKind record);
    // The module record of the pages that follow: its number and agent.
    void appendModule(int module, const QString &agent);
    // A template page with the header of the module: number, agent, extinct agent.
    void newPage(int templatePage);
    // `count` rows from the current one, by row index from 0.
    void drawRows(const QString &page, ClientDataSet &rows, int count);

    // Persons in alphabetical order, with their full name ("surname name").
    void openPersons(ClientDataSet &target, const QString &table, const QString &surname, const QString &firstName,
                     const QString &fullName, int fullNameSize);
    void openDetail(ClientDataSet &detail, const QString &table, const QString &order);
    void openHeader(ClientDataSet &header, const QList<FieldDef> &defs);
    static QList<FieldDef> intestazioneFields();
    bool startReport(const Report &report);
    void finishReport(const QString &fileName);
    void pageBreak();
    void ruleLine();
    void drawLine(const QString &section);
    void filterByPerson(ClientDataSet &detail, const QString &field, const QString &fiscalCode);
    Outcome printSubtotalReport(const Report &report, const SubtotalPlan &plan, const QString &table,
                                const QList<FieldDef> &yearKey, const QString &fileName);
    void printDetailsBySubtotal(const SubtotalPlan &plan);
    void addToYear(const SubtotalPlan &plan);

    THlmDBCds &m_store;
    ClientDataSet cdsST{QStringLiteral("cdsST")};
    ClientDataSet cdsST2{QStringLiteral("cdsST2")};
    ClientDataSet cdsST3{QStringLiteral("cdsST3")};
    ClientDataSet cdsST4{QStringLiteral("cdsST4")};
    ClientDataSet cdsSV{QStringLiteral("cdsSV")};
    ClientDataSet cdsSX{QStringLiteral("cdsSX")};
    ClientDataSet cdsSS{QStringLiteral("cdsSS")};
    ClientDataSet cdsSY{QStringLiteral("cdsSY")};
    ClientDataSet cdsSY2{QStringLiteral("cdsSY2")};
    ClientDataSet cdsSY3{QStringLiteral("cdsSY3")};
    ClientDataSet cdsSY4{QStringLiteral("cdsSY4")};
    ClientDataSet cdsDI{QStringLiteral("cdsDI")};
    ClientDataSet cdsSost{QStringLiteral("cdsSost")};
    ClientDataSet cdsSostEst{QStringLiteral("cdsSostEst")};
    ClientDataSet cdsAltreVoci{QStringLiteral("cdsAltreVoci")};
    // Summary reports.
    ClientDataSet cdsDipendenti{QStringLiteral("cdsDipendenti")};
    ClientDataSet cdsAutonomi{QStringLiteral("cdsAutonomi")};
    ClientDataSet cdsIntestazione{QStringLiteral("cdsIntestazione")};
    ClientDataSet cdsINPS{QStringLiteral("cdsINPS")};
    ClientDataSet cdsTassSeparata{QStringLiteral("cdsTassSeparata")};
    ClientDataSet cdsINPDAP{QStringLiteral("cdsINPDAP")};
    ClientDataSet cdsSommeErogate{QStringLiteral("cdsSommeErogate")};
    ClientDataSet cdsRigoINPS{QStringLiteral("cdsRigoINPS")};
    ClientDataSet cdsSubTotali{QStringLiteral("cdsSubTotali")};
    ClientDataSet cdsTotAnnuo{QStringLiteral("cdsTotAnnuo")};
    ClientDataSet cdsTotali{QStringLiteral("cdsTotali")};

    // The print under way.
    QString m_prospetto;
    const Report *m_report = nullptr;
    int m_row = 0;
};
