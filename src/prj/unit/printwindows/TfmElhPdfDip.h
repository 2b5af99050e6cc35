#pragma once

#include "TfmElhPdfCertificati.h"

class THlmDBCds;
class TdmElhStampe;

// "Stampa Dipendenti": the certificates of the employees.
class TfmElhPdfDip : public TfmElhPdfCertificati
{
    Q_OBJECT

public:
    TfmElhPdfDip(THlmDBCds &store, TdmElhStampe &stampe, QWidget *parent = nullptr);
};
