#pragma once

#include "TfmElhPdfCertificati.h"

// "Stampa Dipendenti": the certificates of the employees.
class TfmElhPdfDip : public TfmElhPdfCertificati
{
    Q_OBJECT

public:
    explicit TfmElhPdfDip(THlmDBCds &store, QWidget *parent = nullptr);
};
