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
    editRow(grid, u"SFORCODFIS"_s, u"Codice Fiscale"_s);
    lookupRow(grid, u"STFOCODICE"_s, u"Tipo Fornitore"_s, u"TTFO_TIPOFORNIT.CDS"_s);
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
