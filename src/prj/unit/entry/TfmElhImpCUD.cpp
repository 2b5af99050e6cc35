#include "TfmElhImpCUD.h"

#include "NrApplication.h"
#include "NrCursors.h"
#include "NrMessages.h"
#include "TNrDBGrid.h"
#include "TfrElHMulti.h"
#include "checks/InfoList.h"

#include <QCheckBox>
#include <QCoreApplication>
#include <QHBoxLayout>
#include <QLabel>
#include <QPushButton>
#include <QVBoxLayout>

using namespace Qt::Literals::StringLiterals;

namespace {

// The certifications' people, in the frame of the selection lists.
class CertifiedPeople : public TfrElHMulti
{
public:
    using TfrElHMulti::TfrElHMulti;
    QString tableName() const override { return u"TCUD_DATICUD"_s; }
};

} // namespace

TfmElhImpCUD::TfmElhImpCUD(THlmDBCds &store, TdmNruParams &params, QWidget *parent)
    : TfmNrDialog(parent)
    , m_import(store, params)
{
    setWindowTitle(u"Import da CUD ..."_s);
    resize(560, 520);
    laCud = new QLabel(this);
    laCud->setObjectName(u"laCud"_s);
    QFont bold = laCud->font();
    bold.setBold(true);
    laCud->setFont(bold);
    frElhMulti1 = new CertifiedPeople(this);
    frElhMulti1->setObjectName(u"frElhMulti1"_s);
    ckSost = new QCheckBox(u"Importa dati sostituto"_s, this);
    ckAdd = new QCheckBox(u"Importare le somme ai punti 14 e 18 dei Dati Fiscali (Add. trattenute)"_s, this);
    ckAdd->setChecked(true);
    buImporta = new QPushButton(u"Importa"_s, this);
    buImporta->setDefault(true);
    buChiudi = new QPushButton(u"Chiudi"_s, this);
    connect(buImporta, &QPushButton::clicked, this, [this] { NrRunGuarded([this] { importa(); }); });
    connect(buChiudi, &QPushButton::clicked, this, &QDialog::reject);

    auto *buttons = new QHBoxLayout;
    buttons->addStretch(1);
    buttons->addWidget(buImporta);
    buttons->addWidget(buChiudi);
    auto *layout = new QVBoxLayout(this);
    layout->addWidget(laCud);
    layout->addWidget(frElhMulti1, 1);
    layout->addWidget(ckSost);
    layout->addWidget(ckAdd);
    layout->addLayout(buttons);
}

void TfmElhImpCUD::showEvent(QShowEvent *event)
{
    TfmNrDialog::showEvent(event);
    if (!m_loaded)
        NrRunGuarded([this] { load(); });
}

void TfmElhImpCUD::load()
{
    m_loaded = true;
    {
        const TfrElfBase::PostPermission filling(*frElhMulti1, true);
        m_import.certifiedPeople(frElhMulti1->cdsMain);
    }
    for (ClientDataSet &people = frElhMulti1->cdsMain; !people.eof(); people.next())
        m_codes.append(people.fieldByName(u"CODFIS"_s).asString());
    frElhMulti1->cdsMain.first();
    frElhMulti1->grFrame->setColumns({u"CODFIS"_s, u"COGNOME"_s, u"NOME"_s},
                                     {u"Codice fiscale"_s, u"Cognome"_s, u"Nome"_s});
    frElhMulti1->cdsMain.setIndexFieldNames(u"CODFIS"_s);
    frElhMulti1->dataSetOpened();
    ckSost->setChecked(m_import.agentIncomplete());
}

QStringList TfmElhImpCUD::selectedCodes() const
{
    const QList<Bookmark> picked = frElhMulti1->selectedBookmarks();
    if (picked.isEmpty())
        return m_codes;
    QStringList codes;
    ClientDataSet &people = frElhMulti1->cdsMain;
    for (int r = 1; r <= people.viewCount(); ++r) {
        if (picked.contains(people.bookmarkAt(r))) {
            const RecordPeek peek(people, r);
            codes.append(people.fieldByName(u"CODFIS"_s).asString());
        }
    }
    return codes;
}

void TfmElhImpCUD::importa()
{
    if (!m_loaded)
        load();
    buImporta->setEnabled(false);
    try {
        const TNrCursorScope hourglass;
        m_import.ImportCUD(selectedCodes(), {ckSost->isChecked(), ckAdd->isChecked()}, this);
    } catch (...) {
        buImporta->setEnabled(true);
        laCud->clear();
        throw;
    }
    if (!m_import.log().isEmpty())
        InfoList::show(m_import.log());
    NrMessageDlg(u"Fine operazione"_s, MsgDlgType::Information);
    accept();
}

void TfmElhImpCUD::person(const QString &name)
{
    status(name);
}

void TfmElhImpCUD::status(const QString &text)
{
    laCud->setText(text);
    // The dialog repaints while the import runs; the user's input waits.
    QCoreApplication::processEvents(QEventLoop::ExcludeUserInputEvents);
}
