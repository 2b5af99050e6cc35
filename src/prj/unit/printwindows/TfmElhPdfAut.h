#pragma once

#include "TfmElhPdfCertificati.h"

class THlmDBCds;
class TdmElhStampe;

// "Stampa Autonomi": the certificates of the self-employed workers.
class TfmElhPdfAut : public TfmElhPdfCertificati
{
    Q_OBJECT

public:
    TfmElhPdfAut(THlmDBCds &store, TdmElhStampe &stampe, QWidget *parent = nullptr);
};
