#include "TfmkbrFiscImpMultiSelect.h"

#include "NrApplication.h"
#include "NrMessages.h"

#include <QGroupBox>
#include <QHBoxLayout>
#include <QRadioButton>
#include <QVBoxLayout>

using namespace Qt::Literals::StringLiterals;

TfmkbrFiscImpMultiSelect::TfmkbrFiscImpMultiSelect(QWidget *parent)
    : TfmkbrAnaMultiSelect(parent)
{
    rgOrdine->hide();
    rgSovraScrivi = new QGroupBox(this);
    rgSovraScrivi->setObjectName(u"rgSovraScrivi"_s);
    auto *choices = new QHBoxLayout(rgSovraScrivi);
    rbSempre = new QRadioButton(u"Sovrascrivi sempre"_s, rgSovraScrivi);
    rbMai = new QRadioButton(u"Non sovrascrivere"_s, rgSovraScrivi);
    rbChiedi = new QRadioButton(u"Chiedi conferma"_s, rgSovraScrivi);
    rbChiedi->setChecked(true);
    for (QRadioButton *choice : {rbSempre, rbMai, rbChiedi})
        choices->addWidget(choice);
    body()->addWidget(rgSovraScrivi);
}

TfmkbrFiscImpMultiSelect::Sovrascrivi TfmkbrFiscImpMultiSelect::sovrascrivi() const
{
    if (rbSempre->isChecked())
        return Sovrascrivi::Sempre;
    return rbMai->isChecked() ? Sovrascrivi::Mai : Sovrascrivi::ChiediConferma;
}

int TfmkbrFiscImpMultiSelect::importa()
{
    const QList<Bookmark> people = pickedOrAll();
    primaDellImport();
    int done = 0;
    QString last;
    try {
        done = runOn(
            xqcMultiSelect, people, u"Persona"_s,
            [this, &last] { return last = xqcMultiSelect.fieldByName(u"SANACOGNOMENOME"_s).asString(); },
            [this] { importaPersona(); });
    } catch (...) {
        dopoLImport();
        throw;
    }
    dopoLImport();
    const int total = static_cast<int>(people.size());
    if (done < total)
        interrotta(done, total, last);
    NrMessageDlg(u"Fine operazione"_s, MsgDlgType::Information);
    return done;
}

void TfmkbrFiscImpMultiSelect::accept()
{
    if (NrRunGuarded([this] { importa(); }))
        TfmkbrAnaMultiSelect::accept();
}
