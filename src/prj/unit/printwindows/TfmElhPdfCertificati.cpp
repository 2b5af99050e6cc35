#include "TfmElhPdfCertificati.h"

#include "NrMessages.h"
#include "TNrDBGrid.h"
#include "TNrProgressDialog.h"
#include "TfrElhPdfOutput.h"

#include <QButtonGroup>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QItemSelectionModel>
#include <QPushButton>
#include <QRadioButton>
#include <QVBoxLayout>

using namespace Qt::Literals::StringLiterals;

TfmElhPdfCertificati::TfmElhPdfCertificati(std::unique_ptr<TdmElhPdfCertificato> module, const QString &caption,
                                           const QString &defaultName, const QString &noun, QWidget *parent)
    : TfmElfMultiSelect(module->cdsMultiSelect, parent)
    , m_print(std::move(module))
    , m_noun(noun)
{
    setWindowTitle(caption);
    buOk()->hide();
    buCancel()->hide();

    gbSelezione = new QGroupBox;
    gbSelezione->setObjectName(u"rgSelezione"_s);
    rgSelezione = new QButtonGroup(this);
    auto *choices = new QHBoxLayout(gbSelezione);
    for (const auto &[id, text] : {std::pair{0, u"Tutti"_s}, std::pair{1, u"Selezionati"_s}}) {
        auto *button = new QRadioButton(text);
        rgSelezione->addButton(button, id);
        choices->addWidget(button);
    }
    rgSelezione->button(0)->setChecked(true);
    frOutput = new TfrElhPdfOutput(defaultName, [this](const QString &fullName) { return print(fullName); });
    auto *bottom = new QHBoxLayout;
    bottom->addWidget(gbSelezione, 0, Qt::AlignTop);
    bottom->addWidget(frOutput, 1);
    body()->addLayout(bottom);
    connect(frElfMultiSelect->selectionModel(), &QItemSelectionModel::selectionChanged, this,
            &TfmElhPdfCertificati::followSelection);
    resize(760, 560);
}

void TfmElhPdfCertificati::followSelection()
{
    const bool any = frElfMultiSelect->selectionModel()->hasSelection();
    rgSelezione->button(any ? 1 : 0)->setChecked(true);
}

bool TfmElhPdfCertificati::print(const QString &fullName)
{
    std::optional<QList<Bookmark>> chosen;
    if (rgSelezione->checkedId() == 1)
        chosen = frElfMultiSelect->selectedBookmarks();
    TNrProgressDialog progress(m_noun, this);
    switch (module().Crea(fullName, chosen, &progress)) {
    case TdmElhPdfCertificato::Outcome::Saved:
        return true;
    case TdmElhPdfCertificato::Outcome::Cancelled:
        NrMessageDlg(u"Stampa interrotta dall'utente: il file non è stato creato."_s, MsgDlgType::Information);
        return false;
    case TdmElhPdfCertificato::Outcome::NothingToPrint:
        break;
    }
    return TfrElhPdfOutput::nothingToPrint();
}
