#include "TfmElhPdfAut.h"

#include "TNrDBGrid.h"
#include "print/ElhMPdfAut.h"

using namespace Qt::Literals::StringLiterals;

TfmElhPdfAut::TfmElhPdfAut(THlmDBCds &store, QWidget *parent)
    : TfmElhPdfCertificati(parts<TdmElhPdfAut>(store), u"Stampa Autonomi"_s, u"Autonomi"_s, parent)
{
    frElfMultiSelect->setColumns({u"SDAU7CODFIS"_s, u"SDAU7COGNOME"_s, u"SDAU7NOME"_s},
                                 {u"Codice fiscale"_s, u"Cognome/Denominazione"_s, u"Nome"_s});
}
