#include "TfrElhFornitore.h"

#include "FieldGrid.h"
#include "TNrDBEdit.h"
#include "TNrDBGrid.h"
#include "TNrDBLookupEdit.h"

using namespace Qt::Literals::StringLiterals;

TfrElhFornitore::TfrElhFornitore(QWidget *parent)
    : TfrElhFrontRecord(u"SFORCODFIS"_s, parent)
{
    setObjectName(u"TfrElhFornitore"_s);
    grFrame->setColumns({u"STFOCODICE"_s, u"SFORCODFIS"_s}, {u"Codice fornitore"_s, u"Codice fiscale"_s});
    auto *grid = new FieldGrid(tsDetail);
    grid->addRow(u"Codice Fiscale"_s, dbEdit(u"SFORCODFIS"_s, u"Codice Fiscale"_s));
    grid->addRow(u"Tipo Fornitore"_s, dbLookup(u"STFOCODICE"_s, u"Tipo Fornitore"_s, u"TTFO_TIPOFORNIT.CDS"_s));
    grid->finish();
}

QString TfrElhFornitore::tableName() const
{
    return u"TFOR_FORNITORE"_s;
}

QString TfrElhFornitore::deleteQuestion() const
{
    return u"Confermi la cancellazione del modello corrente ?"_s;
}
