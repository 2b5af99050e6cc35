#include "TfrElhFrontRecord.h"

#include "NrExceptions.h"
#include "TextLib.h"

#include <QAction>

using namespace Qt::Literals::StringLiterals;

TfrElhFrontRecord::TfrElhFrontRecord(const QString &fiscalCodeField, QWidget *parent)
    : TfrElfBase(parent)
    , m_fiscalCodeField(fiscalCodeField)
{
}

void TfrElhFrontRecord::cdsMainBeforePost()
{
    TfrElfBase::cdsMainBeforePost();
    if (cdsMain.state() == DataSetState::Insert) {
        if (TextLib::Trim(cdsMain.fieldByName(m_fiscalCodeField).asString()).isEmpty())
            throw ENrError(u"Codice fiscale obbligatorio"_s);
        acInsert->setVisible(false);
    }
    askMandatoryCheck();
}

void TfrElhFrontRecord::updateActions()
{
    TfrElfBase::updateActions();
    acInsert->setEnabled(acInsert->isEnabled() && cdsMain.active() && cdsMain.recordCount() == 0);
}
