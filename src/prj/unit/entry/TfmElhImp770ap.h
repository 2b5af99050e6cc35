#pragma once

#include "TfmNrDialog.h"

class QCheckBox;
class QLabel;
class QLineEdit;
class QPushButton;
class QRadioButton;
class QToolButton;
class THlmDBCds;

// The import of last year's registry ("Import anagrafiche da 770 anno
// precedente "): the kind of people, employees or, when neither box is
// checked, self-employed workers; where last year's registry is, the
// previous year's return in the store or the files exported into a folder;
// "Importa". The import runs under the hourglass and tells its outcome; a
// missing folder or file is told and the dialog stays, to choose another.
class TfmElhImp770ap : public TfmNrDialog
{
    Q_OBJECT

public:
    explicit TfmElhImp770ap(THlmDBCds &store, QWidget *parent = nullptr);

    QLabel *laTipo;
    QCheckBox *ckDipend;
    QCheckBox *ckAuton;
    QRadioButton *rbArchivio;
    QRadioButton *rbCartella;
    QLineEdit *edCartella;
    QToolButton *buCartella;
    QPushButton *buImporta;
    QPushButton *buChiudi;

private:
    void buCartellaClick();
    void buImportaClick();

    THlmDBCds &m_store;
};
