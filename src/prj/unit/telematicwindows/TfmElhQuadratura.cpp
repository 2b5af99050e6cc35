#include "TfmElhQuadratura.h"

#include "NrApplication.h"
#include "NrCursors.h"
#include "NrMessages.h"
#include "QuadraturaChart.h"
#include "QuadraturaExport.h"
#include "QuadraturaFindings.h"
#include "ShellOpen.h"

#include <QComboBox>
#include <QDir>
#include <QFileDialog>
#include <QFileInfo>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QItemSelectionModel>
#include <QLabel>
#include <QPushButton>
#include <QTableView>
#include <QTableWidget>
#include <QVBoxLayout>

using namespace Qt::Literals::StringLiterals;

namespace {

const QString kAll = u"Tutti"_s;
constexpr FindingLevel kLevels[] = {FindingLevel::Error, FindingLevel::Warning, FindingLevel::Information};
constexpr QuadraturaArea kAreas[] = {QuadraturaArea::StI, QuadraturaArea::StII, QuadraturaArea::Sv,
                                     QuadraturaArea::Certificazioni, QuadraturaArea::F24ep};
// The people a finding names in its detail, the others counted.
constexpr int kPeopleShown = 8;

// A combo box with its caption before it, on a row of controls.
void addLabelled(QHBoxLayout *row, const QString &text, QComboBox *combo)
{
    auto *label = new QLabel(text);
    label->setBuddy(combo);
    row->addWidget(label);
    row->addWidget(combo);
}

QComboBox *comboBox(const QString &name)
{
    auto *combo = new QComboBox;
    combo->setObjectName(name);
    combo->setSizeAdjustPolicy(QComboBox::AdjustToContents);
    return combo;
}

} // namespace

TfmElhQuadratura::TfmElhQuadratura(THlmDBCds &store, QWidget *parent)
    : TfmNrVuota(parent)
    , m_store(store)
    , m_findings(new QuadraturaFindingsModel(this))
    , m_filter(new QuadraturaFindingsFilter(m_findings, this))
{
    setObjectName(u"TfmElhQuadratura"_s);
    setWindowTitle(u"Quadratura"_s);

    auto *top = new QHBoxLayout;
    top->addWidget(summaryBox());
    top->addWidget(chartBox(), 1);

    buAggiorna = new QPushButton(u"Aggiorna"_s);
    buAggiorna->setObjectName(u"buAggiorna"_s);
    buStampa = new QPushButton(u"Stampa"_s);
    buStampa->setObjectName(u"buStampa"_s);
    buEsportaCsv = new QPushButton(u"Esporta CSV"_s);
    buEsportaCsv->setObjectName(u"buEsportaCsv"_s);
    auto *buttons = new QHBoxLayout;
    buttons->addStretch(1);
    for (QPushButton *button : {buAggiorna, buStampa, buEsportaCsv})
        buttons->addWidget(button);

    auto *layout = new QVBoxLayout(this);
    layout->setContentsMargins(6, 6, 6, 6);
    layout->addLayout(top);
    layout->addWidget(findingsBox(), 1);
    layout->addLayout(buttons);

    s_FileCsv = new QFileDialog(this, u"Esporta i rilievi della quadratura"_s);
    s_FileCsv->setObjectName(u"s_FileCsv"_s);
    s_FileCsv->setAcceptMode(QFileDialog::AcceptSave);
    s_FileCsv->setFileMode(QFileDialog::AnyFile);
    s_FileCsv->setNameFilter(u"File CSV (*.csv)"_s);
    s_FileCsv->setDefaultSuffix(u"csv"_s);

    connect(buAggiorna, &QPushButton::clicked, this, [this] { NrRunGuarded([this] { refresh(); }); });
    connect(buStampa, &QPushButton::clicked, this, [this] { NrRunGuarded([this] { print(); }); });
    connect(buEsportaCsv, &QPushButton::clicked, this, &TfmElhQuadratura::chooseCsv);
    resize(1100, 640);
}

QWidget *TfmElhQuadratura::summaryBox()
{
    auto *box = new QGroupBox(u"Riepilogo"_s);
    grSintesi = new QTableWidget(kQuadraturaAreas + 1, static_cast<int>(std::size(kLevels)));
    grSintesi->setObjectName(u"grSintesi"_s);
    grSintesi->setEditTriggers(QAbstractItemView::NoEditTriggers);
    grSintesi->setSelectionMode(QAbstractItemView::SingleSelection);
    grSintesi->setToolTip(u"Un clic su un numero mostra quei rilievi"_s);
    QStringList levels;
    for (const FindingLevel level : kLevels)
        levels << findingLevelLabel(level);
    grSintesi->setHorizontalHeaderLabels(levels);
    QStringList areas;
    for (const QuadraturaArea area : kAreas)
        areas << quadraturaAreaLabel(area);
    areas << u"Totale"_s;
    grSintesi->setVerticalHeaderLabels(areas);
    grSintesi->horizontalHeader()->setSectionResizeMode(QHeaderView::ResizeToContents);
    grSintesi->verticalHeader()->setSectionResizeMode(QHeaderView::ResizeToContents);
    grSintesi->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    grSintesi->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    grSintesi->setSizeAdjustPolicy(QAbstractScrollArea::AdjustToContents);
    connect(grSintesi, &QTableWidget::cellClicked, this, &TfmElhQuadratura::summaryClicked);
    auto *layout = new QVBoxLayout(box);
    layout->addWidget(grSintesi);
    layout->addStretch(1);
    return box;
}

QWidget *TfmElhQuadratura::chartBox()
{
    auto *box = new QGroupBox(u"Ritenute e versamenti dell'anno"_s);
    cbFamiglia = comboBox(u"cbFamiglia"_s);
    for (int family = 0; family < kQuadraturaFamilies; ++family)
        cbFamiglia->addItem(quadraturaFamilyLabel(static_cast<QuadraturaFamily>(family)));
    chAnno = new QuadraturaChart;
    chAnno->setObjectName(u"chAnno"_s);
    auto *choice = new QHBoxLayout;
    addLabelled(choice, u"Tributi:"_s, cbFamiglia);
    choice->addStretch(1);
    auto *layout = new QVBoxLayout(box);
    layout->addLayout(choice);
    layout->addWidget(chAnno, 1);
    connect(cbFamiglia, &QComboBox::currentIndexChanged, this, &TfmElhQuadratura::showChart);
    return box;
}

QWidget *TfmElhQuadratura::findingsBox()
{
    auto *box = new QGroupBox(u"Rilievi"_s);
    cbLivello = comboBox(u"cbLivello"_s);
    cbLivello->addItem(kAll);
    for (const FindingLevel level : kLevels)
        cbLivello->addItem(findingLevelLabel(level), static_cast<int>(level));
    cbArea = comboBox(u"cbArea"_s);
    cbArea->addItem(kAll);
    for (const QuadraturaArea area : kAreas)
        cbArea->addItem(quadraturaAreaLabel(area), static_cast<int>(area));
    cbCodice = comboBox(u"cbCodice"_s);
    cbCodice->addItem(kAll);
    laConteggio = new QLabel;
    laConteggio->setObjectName(u"laConteggio"_s);
    auto *filters = new QHBoxLayout;
    addLabelled(filters, u"Livello:"_s, cbLivello);
    filters->addSpacing(12);
    addLabelled(filters, u"Area:"_s, cbArea);
    filters->addSpacing(12);
    addLabelled(filters, u"Codice tributo:"_s, cbCodice);
    filters->addStretch(1);
    filters->addWidget(laConteggio);

    grRilievi = new QTableView;
    grRilievi->setObjectName(u"grRilievi"_s);
    grRilievi->setModel(m_filter);
    grRilievi->setSortingEnabled(true);
    // The errors first; within a level, in the order of the checks.
    grRilievi->sortByColumn(QuadraturaFindingsModel::kLevel, Qt::AscendingOrder);
    grRilievi->setSelectionBehavior(QAbstractItemView::SelectRows);
    grRilievi->setSelectionMode(QAbstractItemView::SingleSelection);
    grRilievi->setEditTriggers(QAbstractItemView::NoEditTriggers);
    grRilievi->setAlternatingRowColors(true);
    grRilievi->setWordWrap(false);
    grRilievi->verticalHeader()->hide();
    grRilievi->verticalHeader()->setDefaultSectionSize(grRilievi->fontMetrics().height() + 6);
    grRilievi->horizontalHeader()->setStretchLastSection(true);
    grRilievi->horizontalHeader()->setSectionResizeMode(QHeaderView::Interactive);
    const std::pair<int, int> widths[] = {
        {QuadraturaFindingsModel::kLevel, 90},     {QuadraturaFindingsModel::kArea, 100},
        {QuadraturaFindingsModel::kPeriod, 70},    {QuadraturaFindingsModel::kTaxCode, 110},
        {QuadraturaFindingsModel::kPlace, 125},    {QuadraturaFindingsModel::kExpected, 90},
        {QuadraturaFindingsModel::kFound, 90},     {QuadraturaFindingsModel::kDifference, 90},
        {QuadraturaFindingsModel::kDaysLate, 125},
    };
    for (const auto &[column, width] : widths)
        grRilievi->setColumnWidth(column, width);

    laDettaglio = new QLabel;
    laDettaglio->setObjectName(u"laDettaglio"_s);
    laDettaglio->setWordWrap(true);
    laDettaglio->setTextInteractionFlags(Qt::TextSelectableByMouse);
    laDettaglio->setMinimumHeight(3 * laDettaglio->fontMetrics().height());
    laDettaglio->setAlignment(Qt::AlignLeft | Qt::AlignTop);

    auto *layout = new QVBoxLayout(box);
    layout->addLayout(filters);
    layout->addWidget(grRilievi, 1);
    layout->addWidget(laDettaglio);

    for (QComboBox *combo : {cbLivello, cbArea, cbCodice})
        connect(combo, &QComboBox::currentIndexChanged, this, &TfmElhQuadratura::applyFilters);
    connect(grRilievi, &QTableView::doubleClicked, this, &TfmElhQuadratura::open);
    connect(grRilievi->selectionModel(), &QItemSelectionModel::currentRowChanged, this, &TfmElhQuadratura::showDetail);
    return box;
}

void TfmElhQuadratura::FormShow()
{
    // A return that cannot be read is told; the window stays, for "Aggiorna".
    NrRunGuarded([this] { refresh(); });
}

void TfmElhQuadratura::refresh()
{
    const TNrCursorScope hourglass;
    m_report = reconcile(readQuadraturaInput(m_store));
    showReport();
}

void TfmElhQuadratura::showReport()
{
    m_findings->setFindings(m_report.findings);
    showSummary();
    showChart();
    fillTaxCodes();
    applyFilters();
}

void TfmElhQuadratura::showSummary()
{
    const auto cell = [this](int row, int column, int count) {
        auto *item = new QTableWidgetItem(QString::number(count));
        item->setTextAlignment(Qt::AlignRight | Qt::AlignVCenter);
        const FindingLevel level = kLevels[column];
        item->setForeground(count == 0 ? palette().color(QPalette::PlaceholderText) : quadraturaLevelColour(level));
        if (count > 0 && level == FindingLevel::Error) {
            QFont font = item->font();
            font.setBold(true);
            item->setFont(font);
        }
        grSintesi->setItem(row, column, item);
    };
    for (int column = 0; column < grSintesi->columnCount(); ++column) {
        for (int row = 0; row < kQuadraturaAreas; ++row)
            cell(row, column, m_report.count(kAreas[row], kLevels[column]));
        cell(kQuadraturaAreas, column, m_report.count(kLevels[column]));
    }
}

void TfmElhQuadratura::showChart()
{
    const int family = std::max(0, cbFamiglia->currentIndex());
    chAnno->setMonths(m_report.months.at(static_cast<std::size_t>(family)));
}

// The codes of the findings; the one chosen stays chosen while it has some.
void TfmElhQuadratura::fillTaxCodes()
{
    const QString chosen = cbCodice->currentText();
    QStringList codes;
    for (const QuadraturaFinding &finding : std::as_const(m_report.findings)) {
        if (!finding.taxCode.isEmpty() && !codes.contains(finding.taxCode))
            codes.append(finding.taxCode);
    }
    codes.sort();
    const QSignalBlocker quiet(cbCodice);
    cbCodice->clear();
    cbCodice->addItem(kAll);
    cbCodice->addItems(codes);
    cbCodice->setCurrentIndex(std::max(0, cbCodice->findText(chosen)));
}

void TfmElhQuadratura::applyFilters()
{
    const QVariant level = cbLivello->currentData();
    m_filter->setLevel(level.isValid() ? std::optional(static_cast<FindingLevel>(level.toInt())) : std::nullopt);
    const QVariant area = cbArea->currentData();
    m_filter->setArea(area.isValid() ? std::optional(static_cast<QuadraturaArea>(area.toInt())) : std::nullopt);
    m_filter->setTaxCode(cbCodice->currentIndex() > 0 ? cbCodice->currentText() : QString());
    laConteggio->setText(u"%1 rilievi su %2"_s.arg(m_filter->rowCount()).arg(m_findings->rowCount()));
    if (!grRilievi->currentIndex().isValid() && m_filter->rowCount() > 0)
        grRilievi->setCurrentIndex(m_filter->index(0, 0));
    showDetail();
}

// A count of the summary shows its findings: its level, its area (all of
// them on the line "Totale").
void TfmElhQuadratura::summaryClicked(int row, int column)
{
    const QSignalBlocker quietLevel(cbLivello);
    const QSignalBlocker quietArea(cbArea);
    cbLivello->setCurrentIndex(column + 1);
    cbArea->setCurrentIndex(row < kQuadraturaAreas ? row + 1 : 0);
    applyFilters();
}

void TfmElhQuadratura::showDetail()
{
    const QModelIndex current = grRilievi->currentIndex();
    if (!current.isValid()) {
        laDettaglio->setText(m_report.findings.isEmpty() ? u"Nessun rilievo: la dichiarazione quadra."_s : QString());
        return;
    }
    const QuadraturaFinding &finding = m_findings->finding(m_filter->mapToSource(current).row());
    QString text = finding.text;
    if (!finding.people.isEmpty()) {
        QStringList names;
        for (const QuadraturaPersonRef &person : finding.people.mid(0, kPeopleShown))
            names << u"%1 (%2)"_s.arg(person.name, person.fiscalCode);
        if (finding.people.size() > kPeopleShown)
            names << u"e altri %1"_s.arg(finding.people.size() - kPeopleShown);
        text += u"\nPercipienti: "_s + names.join(u", "_s);
    }
    if (!finding.rows.isEmpty())
        text += u"\nDoppio clic per aprire il rigo nel Prospetto."_s;
    else if (!finding.people.isEmpty())
        text += u"\nDoppio clic per aprire il primo percipiente."_s;
    laDettaglio->setText(text);
}

void TfmElhQuadratura::open(const QModelIndex &index)
{
    if (!index.isValid())
        return;
    const QuadraturaFinding &finding = m_findings->finding(m_filter->mapToSource(index).row());
    NrRunGuarded([&] {
        if (!finding.rows.isEmpty())
            emit rowRequested(finding.rows.constFirst());
        else if (!finding.people.isEmpty())
            emit personRequested(finding.people.constFirst());
    });
}

void TfmElhQuadratura::print()
{
    const QString fileName = quadraturaPrintFile();
    {
        const TNrCursorScope hourglass;
        printQuadratura(m_report, fileName, quadraturaSchool(m_store));
    }
    if (!ShellOpen::openFile(fileName))
        NrMessageDlg(
            u"La stampa è stata salvata in «%1», ma non si è potuta aprire."_s.arg(QDir::toNativeSeparators(fileName)),
            MsgDlgType::Warning);
}

void TfmElhQuadratura::chooseCsv()
{
    s_FileCsv->setDirectory(QFileInfo(quadraturaPrintFile()).absolutePath());
    s_FileCsv->selectFile(u"Quadratura.csv"_s);
    if (s_FileCsv->exec() != QDialog::Accepted || s_FileCsv->selectedFiles().isEmpty())
        return;
    const QString fileName = s_FileCsv->selectedFiles().constFirst();
    NrRunGuarded([&] { exportCsv(fileName); });
}

void TfmElhQuadratura::exportCsv(const QString &fileName)
{
    const TNrCursorScope hourglass;
    writeQuadraturaCsv(m_report, fileName);
}
