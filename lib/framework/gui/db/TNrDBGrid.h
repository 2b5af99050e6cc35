#pragma once

#include "ClientDataSet.h"

#include <QTableView>

class DataSetTableModel;

// A read-only data-aware grid over a client dataset: titles, the record
// indicator, resizable columns and lines. Its current row is the dataset's
// current record both ways; a move the dataset refuses (a changed record
// that may not be posted) leaves the grid on the record being edited.
// Clicking a title orders the dataset on that column, unless the owner takes
// the clicks itself (titleClicked). With multiple selection the chosen
// records are given as bookmarks.
class TNrDBGrid : public QTableView
{
    Q_OBJECT

public:
    explicit TNrDBGrid(ClientDataSet *dataSet, QWidget *parent = nullptr);

    DataSetTableModel *dataModel() const { return m_model; }
    // The fields shown and, when given, their titles (see DataSetTableModel).
    void setColumns(const QStringList &fieldNames, const QStringList &titles = {});
    // A first column with the position of each row, under that title.
    void setPositionColumn(const QString &title);
    // Shows the columns again after their fields' visibility changed.
    void refreshColumns();
    void setSortOnTitleClick(bool sort) { m_sortOnTitleClick = sort; }
    void setMultiSelect(bool multi);
    QList<Bookmark> selectedBookmarks() const;
    // The rows that fit in the grid, for moves by a page.
    int visibleRowCount() const;

signals:
    void titleClicked(const QString &fieldName);

protected:
    void currentChanged(const QModelIndex &current, const QModelIndex &previous) override;
    void showEvent(QShowEvent *event) override;

private:
    // The columns' widths to the titles and the first rows.
    void fitColumns();
    void followDataSet();
    void moveDataSetTo(int row);
    void onTitleClicked(int section);

    ClientDataSet *m_dataSet;
    DataSetTableModel *m_model;
    QStringList m_columns;
    QStringList m_titles;
    bool m_sortOnTitleClick = true;
    bool m_following = false;
    bool m_fitPending = false;
};
