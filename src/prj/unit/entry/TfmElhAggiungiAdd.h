#pragma once

#include "ElhMImport.h"
#include "NrMessages.h"
#include "TfmNrDialog.h"

class QPushButton;
class THlmDBCds;
class TdmNruParams;
class TfrElHMulti;

// "Riporta le addizionali IRPEF nei punti 8 e 12 dei Dati Fiscali ...": the
// employees of the return by fiscal code; "Esegui" reports the additional
// taxes withheld into the fiscal data of the picked ones, or of every one
// when none is picked, then "Fine operazione" and the dialog closes.
class TfmElhAggiungiAdd : public TfmNrDialog
{
    Q_OBJECT

public:
    TfmElhAggiungiAdd(THlmDBCds &store, TdmNruParams &params, QWidget *parent = nullptr);

    TfrElHMulti *frElhMulti1;
    QPushButton *buOk;
    QPushButton *buEsegui;

    void esegui();

protected:
    void showEvent(QShowEvent *event) override;

private:
    void load();

    THlmDBCds &m_store;
    FindingBoxes m_findings;
    TdmElhImport m_import;
    bool m_loaded = false;
};
