#include "TfmElhAggiungiAdd.h"

#include "NrApplication.h"
#include "NrCursors.h"
#include "NrMessages.h"
#include "THlmDBCds.h"
#include "TNrDBGrid.h"
#include "TfrElHMulti.h"

#include <QHBoxLayout>
#include <QPushButton>
#include <QVBoxLayout>

using namespace Qt::Literals::StringLiterals;

namespace {

const QString kEmployees = u"TDIP7_ANAGRFISCALI"_s;

class Employees : public TfrElHMulti
{
public:
    using TfrElHMulti::TfrElHMulti;
    QString tableName() const override { return kEmployees; }
};

} // namespace

TfmElhAggiungiAdd::TfmElhAggiungiAdd(THlmDBCds &store, TdmNruParams &params, QWidget *parent)
    : TfmNrDialog(parent)
    , m_store(store)
    , m_import(store, params, m_findings)
{
    setWindowTitle(u"Riporta le addizionali IRPEF nei punti 8 e 12 dei Dati Fiscali ..."_s);
    resize(560, 480);
    frElhMulti1 = new Employees(this);
    frElhMulti1->setObjectName(u"frElhMulti1"_s);
    buOk = new QPushButton(u"OK"_s, this);
    buEsegui = new QPushButton(u"Esegui"_s, this);
    buEsegui->setDefault(true);
    connect(buOk, &QPushButton::clicked, this, &QDialog::accept);
    connect(buEsegui, &QPushButton::clicked, this, [this] { NrRunGuarded([this] { esegui(); }); });
    auto *buttons = buttonRow({buEsegui, buOk});
    auto *layout = new QVBoxLayout(this);
    layout->addWidget(frElhMulti1, 1);
    layout->addLayout(buttons);
}

void TfmElhAggiungiAdd::showEvent(QShowEvent *event)
{
    TfmNrDialog::showEvent(event);
    if (!m_loaded)
        NrRunGuarded([this] { load(); });
}

void TfmElhAggiungiAdd::load()
{
    m_loaded = true;
    ClientDataSet &employees = frElhMulti1->cdsMain;
    {
        const TfrElfBase::PostPermission loading(*frElhMulti1, true);
        m_store.open(employees, kEmployees);
    }
    employees.setIndexFieldNames(u"SDIP7CODFIS"_s);
    frElhMulti1->grFrame->setColumns({u"SDIP7CODFIS"_s, u"SDIP7COGNOME"_s, u"SDIP7NOME"_s},
                                     {u"Codice fiscale"_s, u"Cognome"_s, u"Nome"_s});
    frElhMulti1->dataSetOpened();
}

void TfmElhAggiungiAdd::esegui()
{
    if (!m_loaded)
        load();
    buOk->setEnabled(false);
    ClientDataSet &employees = frElhMulti1->cdsMain;
    QList<Bookmark> picked = frElhMulti1->selectedBookmarks();
    if (picked.isEmpty()) {
        for (int r = 1; r <= employees.viewCount(); ++r)
            picked.append(employees.bookmarkAt(r));
    }
    QStringList codes;
    for (const Bookmark &b : std::as_const(picked)) {
        employees.gotoBookmark(b);
        codes.append(employees.fieldByName(u"SDIP7CODFIS"_s).asString());
    }
    employees.close();
    {
        const TNrCursorScope hourglass;
        m_import.riportaAddizionali(codes);
    }
    NrMessageDlg(u"Fine operazione"_s, MsgDlgType::Information);
    buOk->setEnabled(true);
    accept();
}
