#include "TfmElhPdfAut.h"

#include "ElhMPdfAut.h"
#include "TNrDBGrid.h"

using namespace Qt::Literals::StringLiterals;

TfmElhPdfAut::TfmElhPdfAut(THlmDBCds &store, TdmElhStampe &stampe, QWidget *parent)
    : TfmElhPdfCertificati(std::make_unique<TdmElhPdfAut>(store, stampe), u"Stampa Autonomi"_s, u"Autonomi"_s,
                           u"Autonomo"_s, parent)
{
    frElfMultiSelect->setColumns({u"SDAU7CODFIS"_s, u"SDAU7COGNOME"_s, u"SDAU7NOME"_s},
                                 {u"Codice fiscale"_s, u"Cognome/Denominazione"_s, u"Nome"_s});
}
