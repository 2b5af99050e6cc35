#include "TfmkbrAnaMultiSelect.h"

#include "NrApplication.h"
#include "TNrDBGrid.h"

#include <QCheckBox>
#include <QComboBox>
#include <QFormLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QRadioButton>
#include <QVBoxLayout>

using namespace Qt::Literals::StringLiterals;

namespace {

const QString kName = u"SANACOGNOMENOME"_s;
const QString kAll = u"(Tutte)"_s;

} // namespace

TfmkbrAnaMultiSelect::TfmkbrAnaMultiSelect(QWidget *parent)
    : TfmkbrMultiSelect(parent)
{
    setWindowTitle(u"Scelta dipendenti"_s);
    resize(720, 560);

    pnlFiltro = new QWidget(this);
    pnlFiltro->setObjectName(u"pnlFiltro"_s);
    auto *filters = new QHBoxLayout(pnlFiltro);
    filters->setContentsMargins(0, 0, 0, 0);
    const auto combo = [&](const QString &name, const QString &caption) {
        auto *box = new QComboBox(pnlFiltro);
        box->setObjectName(name);
        box->addItem(kAll);
        filters->addWidget(new QLabel(caption, pnlFiltro));
        filters->addWidget(box, 1);
        connect(box, &QComboBox::currentIndexChanged, this, [this] { NrRunGuarded([this] { applyFilter(); }); });
        return box;
    };
    cbICALNORMACODE = combo(u"cbICALNORMACODE"_s, u"Categoria"_s);
    cbITNONORMACODE = combo(u"cbITNONORMACODE"_s, u"Pos.Giur."_s);
    cbIQARNORMACODE = combo(u"cbIQARNORMACODE"_s, u"Qualifica"_s);
    ckInServizio = new QCheckBox(u"In servizio"_s, pnlFiltro);
    filters->addWidget(ckInServizio);
    connect(ckInServizio, &QCheckBox::toggled, this, [this] { NrRunGuarded([this] { applyFilter(); }); });

    auto *searchRow = new QHBoxLayout;
    edCerca = new QLineEdit(this);
    edCerca->setObjectName(u"edCerca"_s);
    searchRow->addWidget(new QLabel(u"Cerca"_s, this));
    searchRow->addWidget(edCerca, 1);
    connect(edCerca, &QLineEdit::textEdited, this, [this](const QString &text) { search(text); });

    rgOrdine = new QGroupBox(u" Ordine di stampa "_s, this);
    rgOrdine->setObjectName(u"rgOrdine"_s);
    auto *order = new QHBoxLayout(rgOrdine);
    rbAlfabetico = new QRadioButton(u"alfabetico"_s, rgOrdine);
    rbCodice = new QRadioButton(u"per codice"_s, rgOrdine);
    rbAlfabetico->setChecked(true);
    order->addWidget(rbAlfabetico);
    order->addWidget(rbCodice);
    connect(rbCodice, &QRadioButton::toggled, this, [this](bool byCode) { orderBy(byCode ? u"CODICE"_s : kName); });

    body()->insertWidget(0, pnlFiltro);
    body()->insertLayout(1, searchRow);
    body()->addWidget(rgOrdine);

    TNrDBGrid *grid = frNrMultiSel->grid();
    grid->setSortOnTitleClick(false);
    connect(grid, &TNrDBGrid::titleClicked, this, [this](const QString &column) { orderBy(column); });
}

void TfmkbrAnaMultiSelect::showEvent(QShowEvent *event)
{
    TfmkbrMultiSelect::showEvent(event);
    NrRunGuarded([this] { load(); });
}

void TfmkbrAnaMultiSelect::load()
{
    if (m_loaded)
        return;
    m_loaded = true;
    openList();
    frNrMultiSel->grid()->setColumns({u"CODICE"_s, kName, u"ICALNORMACODE"_s, u"ITNONORMACODE"_s, u"IQARNORMACODE"_s},
                                     {u"Codice"_s, u"Dipendente"_s, u"Cat."_s, u"P.g."_s, u"Qual."_s});
    xqcMultiSelect.setIndexFieldNames(kName);
    fillFilter(cbICALNORMACODE, u"QRY_CAL_FILTRO"_s);
    fillFilter(cbITNONORMACODE, u"QRY_TNO_FILTRO"_s);
    fillFilter(cbIQARNORMACODE, u"QRY_QAR_FILTRO"_s);
    frNrMultiSel->refreshCount();
}

void TfmkbrAnaMultiSelect::fillFilter(QComboBox *box, const QString &statement)
{
    TNrQueryCollection entries;
    entries.setConnection(xqcMultiSelect.connection());
    entries.fetch(statement, 0, u"SELECT"_s);
    entries.open();
    const QSignalBlocker quiet(box);
    for (entries.first(); !entries.eof(); entries.next()) {
        const QString code = entries.fieldByName(u"CODICE"_s).asString();
        box->addItem(code + u" - "_s + entries.fieldByName(u"DESCRIZIONE"_s).asString(), code);
    }
}

void TfmkbrAnaMultiSelect::applyFilter()
{
    QStringList conditions;
    for (const auto &[box, column] : {std::pair{cbICALNORMACODE, u"ICALNORMACODE"_s},
                                      std::pair{cbITNONORMACODE, u"ITNONORMACODE"_s},
                                      std::pair{cbIQARNORMACODE, u"IQARNORMACODE"_s}}) {
        if (box->currentIndex() > 0)
            conditions.append(u"%1 = %2"_s.arg(column, QString::number(box->currentData().toInt())));
    }
    if (ckInServizio->isChecked())
        conditions.append(u"LINSERVIZIO = 1"_s);
    xqcMultiSelect.setFilter(conditions.join(u" and "_s));
    xqcMultiSelect.setFiltered(!conditions.isEmpty());
    xqcMultiSelect.first();
    frNrMultiSel->refreshCount();
}

void TfmkbrAnaMultiSelect::orderBy(const QString &column)
{
    const QString upper = column.toUpper();
    const bool code = upper == u"ICALNORMACODE" || upper == u"ITNONORMACODE" || upper == u"IQARNORMACODE";
    xqcMultiSelect.setIndexFieldNames(code ? upper + u';' + kName : upper);
}

void TfmkbrAnaMultiSelect::search(const QString &text)
{
    if (!text.isEmpty())
        xqcMultiSelect.locate(kName, text, {.caseInsensitive = true, .partialKey = true});
}
