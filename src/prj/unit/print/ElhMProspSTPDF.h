#pragma once

#include "ClientDataSet.h"
#include "ElhMPDF.h"

#include <array>
#include <functional>

class THlmDBCds;

// The prints of the Prospetti ST, SV, SX, SY, SS and DI onto the pages of the
// form "770_sempl_mod.pdf", and the five summary reports onto their own
// templates. Each print opens its tables, writes the file under the full
// name it is given and leaves its datasets closed.
//
// Rows of different withholding agents (SSOE7CODICE: empty for the
// declaring agent, the code of an extinct agent otherwise) never share a
// module: each agent's rows start on a fresh page and are numbered from 1.
class TdmElhProspSTPDF : public TdmElhPDF
{
public:
    enum class Outcome {
        Saved,
        NothingToPrint, // no rows (no employees for the INPS report): no file
        Failed,         // template or descriptor missing: the error box was shown, no file
    };

    static const QString kReminderSS;
    static const QString kNoEmployees;

    explicit TdmElhProspSTPDF(THlmDBCds &store);
    ~TdmElhProspSTPDF() override;

    Outcome stampaST(const QString &fileName);
    Outcome stampaSV(const QString &fileName);
    Outcome stampaSX(const QString &fileName);
    Outcome stampaSY(const QString &fileName);
    // Shows first the reminder that SS holds what the last telematic file computed.
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
        QString table;
        QString order;
    };
    // A descriptor page drawn from a section.
    struct Name
    {
        QString page;
        QString section;
    };
    struct RowPaging
    {
        ClientDataSet *data;
        int templatePage;
        int rowsPerPage;
        QList<Name> header;   // per module, row index 1
        QList<Name> firstRow; // row index 1
        Name nextRow;         // row index row - 1
        bool indexIsRow;      // DI: every row by "DIN" with index row
        std::function<void()> printPending; // the dependent sections of the agent
    };
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
    void printRowPaged(const RowPaging &plan);
    void moduleHeader(const QList<Name> &names, int module);
    // True once per agent for each dependent section: the first call clears it.
    bool takePending(std::size_t section);
    void appendModule(const QString &number);
    QString moduleNumber(int module) const;
    void drawAll(const QList<Name> &names, int rowIndex);
    void printPendingST();
    void printDependentST(ClientDataSet &data, int templatePage, const QList<Name> &header, const Name &first,
                          const Name &next);
    void printPendingSY();
    void printSYContinued(ClientDataSet &data, int rowsPerPage, const Name &header, const Name &first, const Name &next,
                          const std::function<void()> &beforeNewPage);
    void printSYI();
    void printSYIII();
    void printSYIV();
    void printOnePagePerRecord(ClientDataSet &data, const QStringList &pages);

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
    QString m_agent;
    int m_module = 0;
    std::array<bool, 3> m_pending{}; // dependent sections not yet printed for the agent
    const Report *m_report = nullptr;
    int m_row = 0;
};
