#pragma once

#include "ClientDataSet.h"

#include <QList>
#include <QObject>

class TNrDBControl;

// The link between a client dataset and the controls that show it: the
// dataset's changes become signals, and the bound controls are refreshed.
// updateRecord() makes the controls write what the user typed and the field
// does not hold yet (a date half typed), before a post.
class TDataSource
    : public QObject
    , private DataSetObserver
{
    Q_OBJECT

public:
    explicit TDataSource(ClientDataSet *dataSet, QObject *parent = nullptr);
    ~TDataSource() override;

    ClientDataSet &dataSet() const { return *m_dataSet; }

    // Raises EConvertError naming the field when a control holds text that
    // does not convert.
    void updateRecord();

    void addControl(TNrDBControl *control);
    void removeControl(TNrDBControl *control);

signals:
    // The dataset entered another state (browse, edit, insert, closed).
    void stateChange();
    // What the controls show changed: a field of the current record, or,
    // with a null field, the record itself (moved, reloaded, cancelled).
    void dataChange(const Field *field);

private:
    void dataSetChanged() override;
    void recordChanged(const Field *field) override;
    void cursorMoved() override;
    void stateChanged() override;
    void dataSetDestroyed() override;
    void changed(const Field *field);

    ClientDataSet *m_dataSet;
    QList<TNrDBControl *> m_controls;
};
