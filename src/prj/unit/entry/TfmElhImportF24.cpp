#include "TfmElhImportF24.h"

#include "HlmReturnLock.h"
#include "NrApplication.h"
#include "NrCursors.h"
#include "NrMessages.h"
#include "TdmKbrParams.h"
#include "ImportF24.h"

#include <QAction>
#include <QCheckBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QPushButton>
#include <QVBoxLayout>

using namespace Qt::Literals::StringLiterals;

TfmElhImportF24::TfmElhImportF24(THlmDBCds &store, TdmKbrParams &params, QWidget *parent)
    : TfmNrDialog(parent)
    , m_store(store)
    , m_params(params)
{
    setWindowTitle(u"Importa da F24EP"_s);
    setMinimumWidth(420);
    ckSTI = new QCheckBox(u"Prospetto ST Sezione I Erario"_s, this);
    ckSTII = new QCheckBox(u"Prospetto ST Sezione II Addizionalli regionali"_s, this);
    ckSV = new QCheckBox(u"Prospetto SV Addizionali comunali"_s, this);
    laNota = new QLabel(u"NB.: I dati già presenti saranno cancellati"_s, this);
    QFont bold = laNota->font();
    bold.setBold(true);
    laNota->setFont(bold);

    acImport = new QAction(u"Importa"_s, this);
    buImport = new QPushButton(acImport->text(), this);
    buImport->setDefault(true);
    buChiudi = new QPushButton(u"Chiudi"_s, this);
    connect(buImport, &QPushButton::clicked, acImport, &QAction::trigger);
    connect(acImport, &QAction::changed, this, [this] { buImport->setEnabled(acImport->isEnabled()); });
    connect(acImport, &QAction::triggered, this, &TfmElhImportF24::acImportExecute);
    connect(buChiudi, &QPushButton::clicked, this, &QDialog::reject);

    auto *buttons = buttonRow({buImport, buChiudi});
    auto *layout = new QVBoxLayout(this);
    for (QCheckBox *box : {ckSTI, ckSTII, ckSV}) {
        box->setChecked(true);
        connect(box, &QCheckBox::toggled, this, &TfmElhImportF24::acImportUpdate);
        layout->addWidget(box);
    }
    layout->addSpacing(12);
    layout->addWidget(laNota);
    layout->addSpacing(12);
    layout->addLayout(buttons);
    acImportUpdate();
}

void TfmElhImportF24::acImportUpdate()
{
    acImport->setEnabled(ckSTI->isChecked() || ckSTII->isChecked() || ckSV->isChecked());
}

void TfmElhImportF24::acImportExecute()
{
    if (!acImport->isEnabled())
        return;
    QString result;
    const bool ran = NrRunGuarded([&] {
        const auto lock = HlmLockReturn(m_store);
        const TNrCursorScope hourglass;
        ImportF24 import(m_store, m_params.anfId());
        result = import.run({ckSTI->isChecked(), ckSTII->isChecked(), ckSV->isChecked()});
    });
    if (!ran)
        return;
    NrMessageDlg(result, MsgDlgType::Warning);
    accept();
}
