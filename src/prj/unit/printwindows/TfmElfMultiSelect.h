#pragma once

#include "TfmNrOkCancDlg.h"

class ClientDataSet;
class TNrDBGrid;

// "Selezione": the records of a dataset in a read-only grid where several
// rows can be chosen; the dataset is closed when the window closes.
class TfmElfMultiSelect : public TfmNrOkCancDlg
{
    Q_OBJECT

public:
    explicit TfmElfMultiSelect(ClientDataSet &cdsMultiSelect, QWidget *parent = nullptr);

    TNrDBGrid *frElfMultiSelect;

protected:
    void done(int result) override;

private:
    ClientDataSet &m_cdsMultiSelect;
};
