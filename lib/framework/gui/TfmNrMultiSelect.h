#pragma once

#include "ClientDataSet.h"
#include "TfmNrOkCancDlg.h"
#include "TfrNrBase.h"

#include <QList>

#include <functional>

class TNrDBGrid;

// The frame of a selection list: the records of a dataset in a read-only
// grid where several rows can be picked, and in the info panel the count of
// the picked rows ("Prenotati: n"), refreshed when the grid is painted or
// the selection changes.
class TfrNrMultiSel : public TfrNrBase
{
    Q_OBJECT

public:
    explicit TfrNrMultiSel(ClientDataSet &dataSet, QWidget *parent = nullptr);

    TNrDBGrid *grid() const { return m_grid; }
    // The picked records in the order of the grid.
    QList<Bookmark> picked() const;
    void refreshCount();

protected:
    bool eventFilter(QObject *watched, QEvent *event) override;

private:
    TNrDBGrid *m_grid = nullptr;
};

// The framework's selection dialog: a list to pick from, "OK" and "Annulla".
// Its work runs on the records the subclass gives, one at a time, in a
// progress window that counts them; its "Annulla" stops the work after the
// record under way.
class TfmNrMultiSelect : public TfmNrOkCancDlg
{
    Q_OBJECT

public:
    explicit TfmNrMultiSelect(QWidget *parent = nullptr);

    // Runs the work on each record given, the dataset positioned on it; the
    // progress counts them under `noun` with the name of each. Returns the
    // records done.
    int runOn(ClientDataSet &dataSet, const QList<Bookmark> &records, const QString &noun,
              const std::function<QString()> &name, const std::function<void()> &work);
};
