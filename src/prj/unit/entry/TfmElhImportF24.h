#pragma once

#include "TfmNrDialog.h"

class QAction;
class QCheckBox;
class QLabel;
class QPushButton;
class THlmDBCds;
class TdmKbrParams;

// The F24EP payments import ("Importa da F24EP"): a box per Prospetto, all
// checked, the warning that the rows already there are replaced, and
// "Importa", enabled while a box is checked. The import runs under the
// hourglass and its result is shown in a warning box; then the dialog closes.
class TfmElhImportF24 : public TfmNrDialog
{
    Q_OBJECT

public:
    TfmElhImportF24(THlmDBCds &store, TdmKbrParams &params, QWidget *parent = nullptr);

    QCheckBox *ckSTI;
    QCheckBox *ckSTII;
    QCheckBox *ckSV;
    QLabel *laNota;
    QAction *acImport;
    QPushButton *buImport;
    QPushButton *buChiudi;

private:
    void acImportUpdate();
    void acImportExecute();

    THlmDBCds &m_store;
    TdmKbrParams &m_params;
};
