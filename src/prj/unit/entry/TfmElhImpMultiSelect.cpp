#include "TfmElhImpMultiSelect.h"

using namespace Qt::Literals::StringLiterals;

TfmElhImpMultiSelect::TfmElhImpMultiSelect(THlmDBCds &store, TdmNruParams &params, QWidget *parent)
    : TfmkbrFiscImpMultiSelect(parent)
    , m_import(store, params)
{
    setWindowTitle(u"Scelta dati autonomi"_s);
}

void TfmElhImpMultiSelect::openList()
{
    m_import.openPayees(xqcMultiSelect, TdmElhImport::PayeeList::SelfEmployed);
}

void TfmElhImpMultiSelect::primaDellImport()
{
    m_import.beginAutonomi();
}

void TfmElhImpMultiSelect::dopoLImport()
{
    m_import.endAutonomi();
}

void TfmElhImpMultiSelect::importaPersona()
{
    TdmElhImport::Overwrite overwrite = TdmElhImport::Overwrite::Ask;
    if (sovrascrivi() == Sovrascrivi::Sempre)
        overwrite = TdmElhImport::Overwrite::Always;
    else if (sovrascrivi() == Sovrascrivi::Mai)
        overwrite = TdmElhImport::Overwrite::Never;
    m_import.importaAutonomo(xqcMultiSelect, overwrite);
}
