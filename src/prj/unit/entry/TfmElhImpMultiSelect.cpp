#include "TfmElhImpMultiSelect.h"

#include "HlmReturnLock.h"

using namespace Qt::Literals::StringLiterals;

TfmElhImpMultiSelect::TfmElhImpMultiSelect(THlmDBCds &store, TdmNruParams &params, QWidget *parent)
    : TfmkbrFiscImpMultiSelect(parent)
    , m_import(store, params, m_findings)
    , m_store(store)
{
    setWindowTitle(u"Scelta dati autonomi"_s);
}

void TfmElhImpMultiSelect::openList()
{
    m_import.openPayees(xqcMultiSelect, TdmElhImport::PayeeList::SelfEmployed);
}

void TfmElhImpMultiSelect::primaDellImport()
{
    auto lock = HlmLockReturn(m_store);
    m_import.beginAutonomi();
    m_lock = std::move(lock);
}

void TfmElhImpMultiSelect::dopoLImport()
{
    m_import.endAutonomi();
    m_lock.reset();
}

void TfmElhImpMultiSelect::importaPersona()
{
    const Sovrascrivi choice = sovrascrivi();
    m_import.importaAutonomo(xqcMultiSelect, [choice](const QString &question) {
        return choice == Sovrascrivi::Sempre || (choice == Sovrascrivi::ChiediConferma && askYesNo(question));
    });
}

void TfmElhImpMultiSelect::interrotta(int done, int total, const QString &last)
{
    m_findings.information(TdmElhImport::stoppedLine(u"Importazione"_s, done, total, last));
}
