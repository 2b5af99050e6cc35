#include "TfrElhSosEst.h"

#include "Exceptions.h"
#include "FieldGrid.h"
#include "TNrDBEdit.h"
#include "TNrDBGrid.h"
#include "TextLib.h"
#include "FiscalCode.h"
#include "InfoList.h"

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

void TfrElhSosEst::cdsMainBeforePost()
{
    TfrElfBase::cdsMainBeforePost();
    if (loading())
        return;
    const QString problem = FiscalCode::problem(TextLib::Trim(cdsMain.fieldByName(u"CODICE"_s).asString()));
    if (!problem.isEmpty() && !InfoList::ask({u" - Campo errato: Codice fiscale del sostituto estinto: "_s + problem}))
        Abort();
}
