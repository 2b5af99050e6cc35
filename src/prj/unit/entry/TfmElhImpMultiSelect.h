#pragma once

#include "ElhMImport.h"
#include "NrMessages.h"
#include "NrReturnLock.h"
#include "TfmkbrFiscImpMultiSelect.h"

#include <memory>

class THlmDBCds;
class TdmNruParams;

// "Scelta dati autonomi": the self-employed of the school's payroll, whose
// registry and paid amounts the import writes into the self-employed
// section of the return. A run stopped by the user says, as the CU import's
// log does, after whom it stopped.
class TfmElhImpMultiSelect : public TfmkbrFiscImpMultiSelect
{
    Q_OBJECT

public:
    TfmElhImpMultiSelect(THlmDBCds &store, TdmNruParams &params, QWidget *parent = nullptr);

protected:
    void openList() override;
    void importaPersona() override;
    void primaDellImport() override;
    void dopoLImport() override;
    void interrotta(int done, int total, const QString &last) override;

    FindingBoxes m_findings;
    TdmElhImport m_import;

private:
    THlmDBCds &m_store;
    // The lock of the return, from before the first person to after the last.
    std::unique_ptr<TNrReturnLock> m_lock;
};
