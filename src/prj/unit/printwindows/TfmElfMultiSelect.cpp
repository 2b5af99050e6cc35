#include "TfmElfMultiSelect.h"

#include "ClientDataSet.h"
#include "TNrDBGrid.h"

#include <QVBoxLayout>

using namespace Qt::Literals::StringLiterals;

TfmElfMultiSelect::TfmElfMultiSelect(ClientDataSet &cdsMultiSelect, QWidget *parent)
    : TfmNrOkCancDlg(parent)
    , m_cdsMultiSelect(cdsMultiSelect)
{
    setWindowTitle(u"Selezione"_s);
    frElfMultiSelect = new TNrDBGrid(&cdsMultiSelect, this);
    frElfMultiSelect->setObjectName(u"frElfMultiSelect"_s);
    frElfMultiSelect->setMultiSelect(true);
    body()->addWidget(frElfMultiSelect, 1);
}

void TfmElfMultiSelect::done(int result)
{
    m_cdsMultiSelect.close();
    TfmNrOkCancDlg::done(result);
}
