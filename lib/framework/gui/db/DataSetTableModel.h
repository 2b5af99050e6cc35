#pragma once

#include "ClientDataSet.h"

#include <QAbstractTableModel>
#include <QStringList>

#include <functional>

// The records of a client dataset as a read-only table: one row per record
// of the view (a new record not yet posted included), one column per field
// shown, titled with the field's display label and painted with its display
// text. The vertical header is the grid's indicator: an arrow on the current
// record, a pencil while it is edited, a star on a new record.
class DataSetTableModel
    : public QAbstractTableModel
    , private DataSetObserver
{
    Q_OBJECT

public:
    explicit DataSetTableModel(ClientDataSet *dataSet, QObject *parent = nullptr);
    ~DataSetTableModel() override;

    ClientDataSet &dataSet() const { return *m_dataSet; }
    // The fields shown, by name, with their titles when given (otherwise the
    // fields' display labels); no names: every visible field.
    void setColumns(const QStringList &fieldNames, const QStringList &titles = {});
    // A column after the fields that the owner draws: the text it gives for
    // the record being painted (the dataset shows that record meanwhile),
    // in bold and centred.
    void addDrawnColumn(const QString &title, std::function<QString(const ClientDataSet &)> text);
    // A first column, under that title, with each row's position in the
    // view (1, 2, ...); an empty title takes it away.
    void setPositionColumn(const QString &title);
    // The field of a column, or null (a drawn or position column).
    Field *columnField(int column) const;

    int rowCount(const QModelIndex &parent = QModelIndex()) const override;
    int columnCount(const QModelIndex &parent = QModelIndex()) const override;
    QVariant data(const QModelIndex &index, int role = Qt::DisplayRole) const override;
    QVariant headerData(int section, Qt::Orientation orientation, int role = Qt::DisplayRole) const override;

signals:
    // The dataset's cursor moved, or its records changed.
    void currentRecordChanged();

private:
    void dataSetChanged() override;
    void recordChanged(const Field *field) override;
    void cursorMoved() override;
    void stateChanged() override;
    void dataSetDestroyed() override;
    void collectFields();

    ClientDataSet *m_dataSet;
    QStringList m_columns;
    QStringList m_titles;
    QList<Field *> m_fields; // the fields shown, collected at every reset
    struct DrawnColumn
    {
        QString title;
        std::function<QString(const ClientDataSet &)> text;
    };
    QList<DrawnColumn> m_drawn;
    QString m_positionTitle;

    int firstFieldColumn() const { return m_positionTitle.isEmpty() ? 0 : 1; }

    QVariant drawnData(const DrawnColumn &column, int row, int role) const;
};
