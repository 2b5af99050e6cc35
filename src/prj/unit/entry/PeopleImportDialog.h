#pragma once

#include "ElhMImport.h"
#include "NrMessages.h"
#include "TfmNrDialog.h"

class ClientDataSet;
class QLabel;
class QPushButton;
class THlmDBCds;
class TdmNruParams;
class TfrElHMulti;

// What the import dialogs of people have in common: a list of people by
// fiscal code, surname and name (a click on a title orders by it), filled
// when the dialog shows; "Importa" runs the import of the picked people, or
// of every one when none is picked, holding the lock of the return (another
// import running on it is waited for, then refused), showing whom it is on;
// the log comes in the list window, then "Fine operazione" and the dialog
// closes. When the list cannot be made the dialog says why and closes.
class PeopleImportDialog : public TfmNrDialog
{
    Q_OBJECT

public:
    // The frame's fields are those of the table named; `noun` heads the
    // count of the progress ("Dipendente").
    PeopleImportDialog(THlmDBCds &store, TdmNruParams &params, const QString &table, const QString &noun,
                       QWidget *parent);

    TfrElHMulti *frElhMulti1;
    QPushButton *buImporta;
    QPushButton *buChiudi;

    // The fiscal codes "Importa" imports now.
    QStringList selectedCodes() const;
    void importa();

protected:
    // Fills the list: CODFIS, COGNOME, NOME.
    virtual void fillPeople(ClientDataSet &people) = 0;
    // Runs the import of the people given, telling the dialog its progress.
    virtual void run(const QStringList &codes, NrProgress *progress) = 0;
    // After the list is filled.
    virtual void loaded() {}

    // Puts a widget between the list and the buttons.
    void addOption(QWidget *option);
    void showEvent(QShowEvent *event) override;

    // A line above the list.
    QLabel *const m_heading;
    FindingBoxes m_findings;
    TdmElhImport m_import;

private:
    void load();

    THlmDBCds &m_store;
    QString m_noun;
    QStringList m_codes;
    bool m_loaded = false;
};
