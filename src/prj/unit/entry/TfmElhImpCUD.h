#pragma once

#include "TfmNrDialog.h"
#include "import/ElhMImport.h"

class QCheckBox;
class QLabel;
class QPushButton;
class THlmDBCds;
class TdmNruParams;
class TfrElHMulti;

// "Import da CU ...": the people of the payroll's certifications by fiscal
// code, surname and name (a click on a title orders by it), whether to
// import the withholding agent (checked when the return has none or he has
// no name) and the additional taxes withheld. "Importa" imports the picked
// people, or every one when none is picked, showing whom it is on; the log
// comes in the list window, then "Fine operazione" and the dialog closes.
class TfmElhImpCUD
    : public TfmNrDialog
    , private ImportProgress
{
    Q_OBJECT

public:
    TfmElhImpCUD(THlmDBCds &store, TdmNruParams &params, QWidget *parent = nullptr);

    QLabel *laCud;
    TfrElHMulti *frElhMulti1;
    QCheckBox *ckSost;
    QCheckBox *ckAdd;
    QPushButton *buImporta;
    QPushButton *buChiudi;

    // The fiscal codes "Importa" imports now.
    QStringList selectedCodes() const;
    void importa();

protected:
    void showEvent(QShowEvent *event) override;

private:
    void load();
    void person(const QString &name) override;
    void status(const QString &text) override;

    TdmElhImport m_import;
    QStringList m_codes;
    bool m_loaded = false;
};
