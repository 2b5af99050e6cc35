#include "TNrDBGrid.h"

#include "DataSetTableModel.h"
#include "NrApplication.h"

#include <QHeaderView>
#include <QTimer>

#include <utility>

TNrDBGrid::TNrDBGrid(ClientDataSet *dataSet, QWidget *parent)
    : QTableView(parent)
    , m_dataSet(dataSet)
    , m_model(new DataSetTableModel(dataSet, this))
{
    setModel(m_model);
    setEditTriggers(QAbstractItemView::NoEditTriggers);
    setSelectionBehavior(QAbstractItemView::SelectRows);
    setSelectionMode(QAbstractItemView::SingleSelection);
    setAlternatingRowColors(true);
    setShowGrid(true);
    setTabKeyNavigation(false);
    horizontalHeader()->setSectionsClickable(true);
    horizontalHeader()->setSectionResizeMode(QHeaderView::Interactive);
    horizontalHeader()->setStretchLastSection(true);
    horizontalHeader()->setHighlightSections(false);
    // Columns fit the first rows: a table of thousands opens at once.
    horizontalHeader()->setResizeContentsPrecision(200);
    verticalHeader()->setSectionResizeMode(QHeaderView::Fixed);
    verticalHeader()->setDefaultSectionSize(fontMetrics().height() + 6);
    verticalHeader()->setFixedWidth(fontMetrics().horizontalAdvance(QLatin1Char('M')) * 2);
    connect(m_model, &DataSetTableModel::currentRecordChanged, this, &TNrDBGrid::followDataSet);
    connect(m_model, &QAbstractItemModel::modelReset, this, &TNrDBGrid::fitColumns);
    connect(horizontalHeader(), &QHeaderView::sectionClicked, this, &TNrDBGrid::onTitleClicked);
}

void TNrDBGrid::fitColumns()
{
    // A grid on a page not shown fits its columns when it shows, once
    // however often its rows changed meanwhile.
    m_fitPending = !isVisible();
    if (!m_fitPending)
        resizeColumnsToContents();
}

void TNrDBGrid::showEvent(QShowEvent *event)
{
    if (std::exchange(m_fitPending, false)) {
        resizeColumnsToContents();
        // What the header does when a fitted grid shows: the stretched
        // column takes the room left (its slot is not public).
        QMetaObject::invokeMethod(horizontalHeader(), "resizeSections");
    }
    QTableView::showEvent(event);
}

void TNrDBGrid::setColumns(const QStringList &fieldNames, const QStringList &titles)
{
    m_columns = fieldNames;
    m_titles = titles;
    m_model->setColumns(fieldNames, titles);
}

void TNrDBGrid::setPositionColumn(const QString &title)
{
    m_model->setPositionColumn(title);
}

void TNrDBGrid::refreshColumns()
{
    m_model->setColumns(m_columns, m_titles);
    followDataSet();
}

void TNrDBGrid::setMultiSelect(bool multi)
{
    setSelectionMode(multi ? QAbstractItemView::ExtendedSelection : QAbstractItemView::SingleSelection);
}

QList<Bookmark> TNrDBGrid::selectedBookmarks() const
{
    QList<int> rows;
    for (const QModelIndex &index : selectionModel()->selectedRows())
        rows.append(index.row());
    std::sort(rows.begin(), rows.end());
    QList<Bookmark> bookmarks;
    for (int row : rows)
        bookmarks.append(m_dataSet->bookmarkAt(row + 1));
    return bookmarks;
}

int TNrDBGrid::visibleRowCount() const
{
    const int rowHeight = verticalHeader()->defaultSectionSize();
    return std::max(1, viewport()->height() / std::max(1, rowHeight));
}

void TNrDBGrid::followDataSet()
{
    const int row = m_dataSet->active() ? m_dataSet->recNo() - 1 : -1;
    if (row == currentIndex().row())
        return;
    m_following = true;
    const QModelIndex target = m_model->index(row, std::max(0, currentIndex().column()));
    if (target.isValid()) {
        if (selectionMode() == QAbstractItemView::SingleSelection)
            setCurrentIndex(target);
        else
            selectionModel()->setCurrentIndex(target, QItemSelectionModel::NoUpdate);
        scrollTo(target);
    } else {
        selectionModel()->clearCurrentIndex();
    }
    m_following = false;
}

void TNrDBGrid::currentChanged(const QModelIndex &current, const QModelIndex &previous)
{
    QTableView::currentChanged(current, previous);
    if (m_following || !current.isValid())
        return;
    // The dataset moves once the view has finished handling the click or the
    // key: a post or a cancel on the way may reload the rows.
    const int row = current.row();
    QTimer::singleShot(0, this, [this, row] { moveDataSetTo(row); });
}

void TNrDBGrid::moveDataSetTo(int row)
{
    if (m_dataSet->active() && row != m_dataSet->recNo() - 1 && row < m_dataSet->viewCount())
        NrRunGuarded([&] { m_dataSet->setRecNo(row + 1); });
    // Where the dataset refused to move, the grid goes back to its record.
    followDataSet();
}

void TNrDBGrid::onTitleClicked(int section)
{
    const Field *f = m_model->columnField(section);
    if (!f)
        return;
    if (!m_sortOnTitleClick) {
        emit titleClicked(f->fieldName());
        return;
    }
    if (m_dataSet->state() != DataSetState::Browse)
        return;
    const QString name = f->fieldName();
    NrRunGuarded([&] { m_dataSet->setIndexFieldNames(name); });
}
