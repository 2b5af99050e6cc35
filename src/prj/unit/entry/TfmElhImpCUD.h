#pragma once

#include "PeopleImportDialog.h"

class QCheckBox;

// "Import da CU ...": the people of the payroll's certifications, whether to
// import the withholding agent (checked when the return has none or he has
// no name) and the additional taxes withheld.
class TfmElhImpCUD : public PeopleImportDialog
{
    Q_OBJECT

public:
    TfmElhImpCUD(THlmDBCds &store, TdmNruParams &params, QWidget *parent = nullptr);

    QLabel *const laCud;
    QCheckBox *ckSost;
    QCheckBox *ckAdd;

private:
    void fillPeople(ClientDataSet &people) override;
    void run(const QStringList &codes, NrProgress *progress) override;
    void loaded() override;
};
