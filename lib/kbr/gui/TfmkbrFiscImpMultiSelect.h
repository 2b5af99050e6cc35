#pragma once

#include "TfmkbrAnaMultiSelect.h"

class QRadioButton;

// The selection of people to import: several rows picked, what to do with
// a person already in the return ("Sovrascrivi sempre", "Non
// sovrascrivere", "Chiedi conferma"), and on "OK" the import of the picked
// people (every listed one when none is picked), one at a time, followed by
// "Fine operazione"; "Annulla" of the progress stops it after the person under
// way, and the subclass says where. The print order does not apply and is hidden.
class TfmkbrFiscImpMultiSelect : public TfmkbrAnaMultiSelect
{
    Q_OBJECT

public:
    enum class Sovrascrivi { Sempre, Mai, ChiediConferma };

    explicit TfmkbrFiscImpMultiSelect(QWidget *parent = nullptr);

    QGroupBox *rgSovraScrivi;
    QRadioButton *rbSempre;
    QRadioButton *rbMai;
    QRadioButton *rbChiedi;

    Sovrascrivi sovrascrivi() const;
    // The import loop of "OK"; returns the people done.
    int importa();

protected:
    // Imports the person of the list's current row.
    virtual void importaPersona() = 0;
    // Around the loop: the tables of the import opened and closed.
    virtual void primaDellImport() {}
    virtual void dopoLImport() {}
    // The user stopped the loop after `done` people of `total`, the last named.
    virtual void interrotta(int done, int total, const QString &last) = 0;
    void accept() override;
};
