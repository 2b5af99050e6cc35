#include "TfrElhFornitore.h"

#include "FieldGrid.h"
#include "checks/InfoList.h"
#include "checks/MandatoryDataCheck.h"
#include "NrExceptions.h"
#include "TNrDBEdit.h"
#include "TNrDBGrid.h"
#include "TNrDBLookupEdit.h"
#include "TextLib.h"

#include <QAction>

using namespace Qt::Literals::StringLiterals;

TfrElhFornitore::TfrElhFornitore(QWidget *parent)
    : TfrElfBase(parent)
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

void TfrElhFornitore::cdsMainBeforePost()
{
    TfrElfBase::cdsMainBeforePost();
    if (cdsMain.state() == DataSetState::Insert) {
        if (TextLib::Trim(cdsMain.fieldByName(u"SFORCODFIS"_s).asString()).isEmpty())
            throw ENrError(u"Codice fiscale obbligatorio"_s);
        acInsert->setVisible(false);
    }
    QStringList findings;
    if (!MandatoryDataCheck::run(findings, {&cdsMain}) && !InfoList::ask(findings))
        Abort();
}

void TfrElhFornitore::updateActions()
{
    TfrElfBase::updateActions();
    // The file has one supplier: a record can be added only to an empty table.
    acInsert->setEnabled(acInsert->isEnabled() && cdsMain.active() && cdsMain.recordCount() == 0);
}
