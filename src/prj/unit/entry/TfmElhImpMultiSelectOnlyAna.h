#pragma once

#include "TfmElhImpMultiSelect.h"

// The same import fed by every payee of the compensation register, with
// registry data only in the list.
class TfmElhImpMultiSelectOnlyAna : public TfmElhImpMultiSelect
{
    Q_OBJECT

public:
    using TfmElhImpMultiSelect::TfmElhImpMultiSelect;

protected:
    void openList() override;
};
