#pragma once

#include "TdmNrAttivazioni.h"
#include "ElhMProspSTPDF.h"

#include <optional>

class TdmKbrParams;
struct QuadraturaPersonRef;
struct QuadraturaRowRef;

// The command table of the return: the pages of the bar, their commands and
// the handlers that guard or replace them. Prints and imports refuse to run
// while any child window is open.
class TdmElhAttivazioni : public TdmNrAttivazioni
{
public:
    TdmElhAttivazioni();

    // What the handlers use: the table store of the run (the export), the
    // parameters (the caption of the F24 import).
    void setStore(THlmDBCds *store) { m_store = store; }
    void setParams(TdmKbrParams *params) { m_params = params; }

    // The start of the table: the folders of the documents, the caption of
    // the F24 import, then the bar.
    void Execute() override;

    // Where a finding of the reconciliation takes the office: the row of a
    // Prospetto in its editing window, a person in the window of the
    // employees or of the self-employed workers.
    void showRow(const QuadraturaRowRef &row);
    void showPerson(const QuadraturaPersonRef &person);

    TNrApgPage *xpgFrontespizio;
    TNrApgPage *xpgImport;
    TNrApgPage *xpgProspet;
    TNrApgPage *xpgFile;
    TNrApgPage *xpgTabelle;
    TNrApgPage *xpgStampe;
    TNrApgPage *xpgRiepiloghi;
    TNrApgPage *xpgStrumenti;
    TNrAttForm *xafImpF24;
    TNrAttShell *xasNotizie;
    TNrAttShell *xasIstruzioni;
    TNrAttShell *xasEntratel;

private:
    void declarePages();
    void declareCommands();
    void declareEditing();
    void declareImports();
    void declarePrints();
    void declareTools();
    void declareDocuments();

    bool childWindowsOpen() const;
    void refuseWithChildWindows(bool &allow) const;
    // The accounting parameters of the user's financial year, read afresh.
    void loadParameters();
    // IPACOF24EP of the accounting parameters; nothing when they cannot be read.
    std::optional<int> paymentsParameter() const;
    void runImportDialog(TNrAttForm *dialog);
    // A summary report of the printing, into its file in root + USR\FL2023\Stp\.
    void summaryReport(TdmElhProspSTPDF::Outcome (TdmElhProspSTPDF::*print)(const QString &), const QString &fileName);
    THlmDBCds &store() const;
    void exportTables();

    THlmDBCds *m_store = nullptr;
    TdmKbrParams *m_params = nullptr;
    QString m_integrationFolder;
    TNrAttForm *m_impMultiSelect = nullptr;
    TNrAttForm *m_impMultiSelectOnlyAna = nullptr;
};
