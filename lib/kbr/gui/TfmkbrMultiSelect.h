#pragma once

#include "NrQueryCollection.h"
#include "TfmNrMultiSelect.h"

// The payroll library's selection list: the rows of a statement on the
// school database (xqcMultiSelect, every row fetched at once) in the frame
// frNrMultiSel, where rows are picked and counted.
class TfmkbrMultiSelect : public TfmNrMultiSelect
{
    Q_OBJECT

public:
    explicit TfmkbrMultiSelect(QWidget *parent = nullptr);

    TNrQueryCollection xqcMultiSelect;
    TfrNrMultiSel *frNrMultiSel;

    // The picked rows, or every row of the list when none is picked.
    QList<Bookmark> pickedOrAll() const;
};
