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
class PeopleImportDialog
    : public TfmNrDialog
    , private ImportProgress
{
    Q_OBJECT

public:
    // The frame's fields are those of the table named.
    PeopleImportDialog(THlmDBCds &store, TdmNruParams &params, const QString &table, QWidget *parent);

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
    virtual void run(const QStringList &codes, ImportProgress *progress) = 0;
    // After the list is filled.
    virtual void loaded() {}

    // Puts a widget between the list and the buttons.
    void addOption(QWidget *option);
    void showEvent(QShowEvent *event) override;

    // Whom the import is on.
    QLabel *const m_progress;
    FindingBoxes m_findings;
    TdmElhImport m_import;

private:
    void load();
    void person(const QString &name) override;
    void status(const QString &text) override;

    THlmDBCds &m_store;
    QStringList m_codes;
    bool m_loaded = false;
};
