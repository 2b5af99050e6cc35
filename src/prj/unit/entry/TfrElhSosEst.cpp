#include "TfrElhSosEst.h"

#include "FieldGrid.h"
#include "TNrDBEdit.h"
#include "TNrDBGrid.h"

using namespace Qt::Literals::StringLiterals;

TfrElhSosEst::TfrElhSosEst(QWidget *parent)
    : TfrElfBase(parent)
{
    setObjectName(u"TfrElhSosEst"_s);
    grFrame->setColumns({u"CODICE"_s, u"DENOMINAZI0NE"_s}, {u"Codice"_s, u"Denominazione"_s});
    auto *grid = new FieldGrid(tsDetail);
    editRow(grid, u"CODICE"_s, u"Codice fiscale"_s);
    editRow(grid, u"DENOMINAZI0NE"_s, u"Denominazione"_s);
    grid->finish();
}

QString TfrElhSosEst::tableName() const
{
    return u"TSOE7_SOSESTINTO"_s;
}
