#include "TfmNrMultiSelect.h"

#include "NrMessages.h"
#include "TNrDBGrid.h"
#include "TNrProgressDialog.h"

#include <QEvent>
#include <QItemSelectionModel>
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
{
}

int TfmNrMultiSelect::runOn(ClientDataSet &dataSet, const QList<Bookmark> &records, const QString &noun,
                            const std::function<QString()> &name, const std::function<void()> &work)
{
    TNrProgressDialog progress(noun, this);
    buOk()->setEnabled(false);
    const int total = static_cast<int>(records.size());
    int done = 0;
    for (const Bookmark &record : records) {
        if (progress.cancelled())
            break;
        dataSet.gotoBookmark(record);
        progress.step(done + 1, total, name());
        work();
        ++done;
    }
    buOk()->setEnabled(true);
    return done;
}
