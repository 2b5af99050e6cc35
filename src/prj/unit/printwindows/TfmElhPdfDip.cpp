#include "TfmElhPdfDip.h"

#include "ElhMPdfDip.h"
#include "TNrDBGrid.h"

using namespace Qt::Literals::StringLiterals;

TfmElhPdfDip::TfmElhPdfDip(THlmDBCds &store, TdmElhStampe &stampe, QWidget *parent)
    : TfmElhPdfCertificati(std::make_unique<TdmElhPdfDip>(store, stampe), u"Stampa Dipendenti"_s, u"Dipendenti"_s,
                           u"Dipendente"_s, parent)
{
    frElfMultiSelect->setColumns({u"SDIP7CODFIS"_s, u"SDIP7COGNOME"_s, u"SDIP7NOME"_s, u"DDIP7DATANAS"_s},
                                 {u"Codice fiscale"_s, u"Cognome"_s, u"Nome"_s, u"Data di nascita"_s});
}
