#include "PeopleImportDialog.h"

#include "HlmReturnLock.h"
#include "InfoList.h"
#include "NrApplication.h"
#include "NrMessages.h"
#include "TNrDBGrid.h"
#include "TNrProgressDialog.h"
#include "TfrElHMulti.h"

#include <QHBoxLayout>
#include <QLabel>
#include <QPushButton>
#include <QVBoxLayout>

using namespace Qt::Literals::StringLiterals;

namespace {

// The people, in the frame of the selection lists.
class PeopleList : public TfrElHMulti
{
public:
    PeopleList(const QString &table, QWidget *parent)
        : TfrElHMulti(parent)
        , m_table(table)
    {
    }
    QString tableName() const override { return m_table; }

private:
    QString m_table;
};

} // namespace

PeopleImportDialog::PeopleImportDialog(THlmDBCds &store, TdmNruParams &params, const QString &table,
                                       const QString &noun, QWidget *parent)
    : TfmNrDialog(parent)
    , m_heading(new QLabel(this))
    , m_import(store, params, m_findings)
    , m_store(store)
    , m_noun(noun)
{
    resize(560, 520);
    QFont bold = m_heading->font();
    bold.setBold(true);
    m_heading->setFont(bold);
    // A long folder name must not widen the dialog.
    m_heading->setWordWrap(true);
    frElhMulti1 = new PeopleList(table, this);
    frElhMulti1->setObjectName(u"frElhMulti1"_s);
    buImporta = new QPushButton(u"Importa"_s, this);
    buImporta->setDefault(true);
    buChiudi = new QPushButton(u"Chiudi"_s, this);
    connect(buImporta, &QPushButton::clicked, this, [this] { NrRunGuarded([this] { importa(); }); });
    connect(buChiudi, &QPushButton::clicked, this, &QDialog::reject);

    auto *buttons = buttonRow({buImporta, buChiudi});
    auto *layout = new QVBoxLayout(this);
    layout->addWidget(m_heading);
    layout->addWidget(frElhMulti1, 1);
    layout->addLayout(buttons);
}

void PeopleImportDialog::addOption(QWidget *option)
{
    auto *column = static_cast<QVBoxLayout *>(layout());
    column->insertWidget(column->count() - 1, option);
}

void PeopleImportDialog::showEvent(QShowEvent *event)
{
    TfmNrDialog::showEvent(event);
    if (!m_loaded && !NrRunGuarded([this] { load(); }))
        QMetaObject::invokeMethod(this, &QDialog::reject, Qt::QueuedConnection);
}

void PeopleImportDialog::load()
{
    m_loaded = true;
    {
        const TfrElfBase::PostPermission filling(*frElhMulti1, true);
        fillPeople(frElhMulti1->cdsMain);
    }
    for (ClientDataSet &people = frElhMulti1->cdsMain; !people.eof(); people.next())
        m_codes.append(people.fieldByName(u"CODFIS"_s).asString());
    frElhMulti1->cdsMain.first();
    frElhMulti1->grFrame->setColumns({u"CODFIS"_s, u"COGNOME"_s, u"NOME"_s},
                                     {u"Codice fiscale"_s, u"Cognome"_s, u"Nome"_s});
    frElhMulti1->cdsMain.setIndexFieldNames(u"CODFIS"_s);
    frElhMulti1->dataSetOpened();
    loaded();
}

QStringList PeopleImportDialog::selectedCodes() const
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

void PeopleImportDialog::importa()
{
    if (!m_loaded)
        load();
    buImporta->setEnabled(false);
    try {
        const auto lock = HlmLockReturn(m_store);
        TNrProgressDialog progress(m_noun, this);
        run(selectedCodes(), &progress);
    } catch (...) {
        buImporta->setEnabled(true);
        throw;
    }
    if (!m_import.log().isEmpty())
        InfoList::show(m_import.log());
    NrMessageDlg(u"Fine operazione"_s, MsgDlgType::Information);
    accept();
}
