#pragma once

#include "PeopleImportDialog.h"

// "Integra da sostituto estinto ": the people of an extinct withholding
// agent, read from the files of the folder the command chose (the dialog's
// property "cartellaIntegrazione"), which the dialog names until "Importa"
// integrates them into this return. The descendants choose whom: employees
// or self-employed workers.
class TfmElhIntSos : public PeopleImportDialog
{
    Q_OBJECT

public:
    TfmElhIntSos(THlmDBCds &store, TdmNruParams &params, TdmElhImport::Integration which, QWidget *parent = nullptr);

    QLabel *const laStato;

private:
    QString folder() const;
    void fillPeople(ClientDataSet &people) override;
    void run(const QStringList &codes, NrProgress *progress) override;
    void loaded() override;

    const TdmElhImport::Integration m_which;
};

// "Integra dipendenti da sostituto estinto ".
class TfmElhIntSosDip : public TfmElhIntSos
{
    Q_OBJECT

public:
    TfmElhIntSosDip(THlmDBCds &store, TdmNruParams &params, QWidget *parent = nullptr);
};

// "Integra autonomi da sostituto estinto ".
class TfmElhIntSosAut : public TfmElhIntSos
{
    Q_OBJECT

public:
    TfmElhIntSosAut(THlmDBCds &store, TdmNruParams &params, QWidget *parent = nullptr);
};
