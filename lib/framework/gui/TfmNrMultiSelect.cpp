#include "TfmNrMultiSelect.h"

#include "NrCursors.h"
#include "NrMessages.h"
#include "TNrDBGrid.h"

#include <QCoreApplication>
#include <QEvent>
#include <QItemSelectionModel>
#include <QLabel>
#include <QPushButton>
#include <QVBoxLayout>

using namespace Qt::Literals::StringLiterals;

TfrNrMultiSel::TfrNrMultiSel(ClientDataSet &dataSet, QWidget *parent)
    : TfrNrBase(parent)
{
    m_grid = new TNrDBGrid(&dataSet, this);
    m_grid->setObjectName(u"grMultiSel"_s);
    m_grid->setMultiSelect(true);
    body()->addWidget(m_grid, 1);
    connect(m_grid->selectionModel(), &QItemSelectionModel::selectionChanged, this, &TfrNrMultiSel::refreshCount);
    m_grid->viewport()->installEventFilter(this);
    refreshCount();
}

QList<Bookmark> TfrNrMultiSel::picked() const
{
    return m_grid->selectedBookmarks();
}

void TfrNrMultiSel::refreshCount()
{
    SetInfoPanelCaption(u"Prenotati: %1"_s.arg(m_grid->selectionModel()->selectedRows().size()));
}

bool TfrNrMultiSel::eventFilter(QObject *watched, QEvent *event)
{
    // The base frame watches the whole application, also while the grid is made.
    if (m_grid && watched == m_grid->viewport() && event->type() == QEvent::Paint)
        refreshCount();
    return TfrNrBase::eventFilter(watched, event);
}

TfmNrMultiSelect::TfmNrMultiSelect(QWidget *parent)
    : TfmNrOkCancDlg(parent)
    , laNome(new QLabel(this))
{
    laNome->setObjectName(u"laNome"_s);
    QFont bold = laNome->font();
    bold.setBold(true);
    laNome->setFont(bold);
    body()->addWidget(laNome);
}

int TfmNrMultiSelect::runOn(ClientDataSet &dataSet, const QList<Bookmark> &records, const std::function<QString()> &name,
                            const std::function<void()> &work)
{
    const TNrCursorScope hourglass;
    m_running = true;
    m_aborted = false;
    buOk()->setEnabled(false);
    int done = 0;
    for (const Bookmark &record : records) {
        if (m_aborted)
            break;
        dataSet.gotoBookmark(record);
        laNome->setText(name());
        // The name shows and "Annulla" can be pressed while the work runs.
        QCoreApplication::processEvents();
        work();
        ++done;
    }
    m_running = false;
    buOk()->setEnabled(true);
    laNome->clear();
    return done;
}

void TfmNrMultiSelect::reject()
{
    if (m_running) {
        m_aborted = true;
        return;
    }
    TfmNrOkCancDlg::reject();
}
