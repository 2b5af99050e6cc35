#include "TfmElhImpMultiSelectOnlyAna.h"

void TfmElhImpMultiSelectOnlyAna::openList()
{
    m_import.openPayees(xqcMultiSelect, TdmElhImport::PayeeList::RegistryOnly);
}
