#pragma once

#include "TfmElhPdfCertificati.h"

// "Stampa Autonomi": the certificates of the self-employed workers.
class TfmElhPdfAut : public TfmElhPdfCertificati
{
    Q_OBJECT

public:
    explicit TfmElhPdfAut(THlmDBCds &store, QWidget *parent = nullptr);
};
