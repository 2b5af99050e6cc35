#include "TfmElhImpCUD.h"

#include <QCheckBox>
#include <QLabel>

using namespace Qt::Literals::StringLiterals;

TfmElhImpCUD::TfmElhImpCUD(THlmDBCds &store, TdmNruParams &params, QWidget *parent)
    : PeopleImportDialog(store, params, u"TCUD_DATICUD"_s, u"Dipendente"_s, parent)
    , laCud(m_heading)
{
    setWindowTitle(u"Import da CUD ..."_s);
    laCud->setObjectName(u"laCud"_s);
    ckSost = new QCheckBox(u"Importa dati sostituto"_s, this);
    ckAdd = new QCheckBox(u"Importare le somme ai punti 14 e 18 dei Dati Fiscali (Add. trattenute)"_s, this);
    ckAdd->setChecked(true);
    addOption(ckSost);
    addOption(ckAdd);
}

void TfmElhImpCUD::fillPeople(ClientDataSet &people)
{
    m_import.certifiedPeople(people);
}

void TfmElhImpCUD::run(const QStringList &codes, NrProgress *progress)
{
    m_import.ImportCUD(codes, {ckSost->isChecked(), ckAdd->isChecked()}, progress);
}

void TfmElhImpCUD::loaded()
{
    ckSost->setChecked(m_import.agentIncomplete());
}
