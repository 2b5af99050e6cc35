#include "TDataSource.h"

#include "TNrDBControl.h"

TDataSource::TDataSource(ClientDataSet *dataSet, QObject *parent)
    : QObject(parent)
    , m_dataSet(dataSet)
{
    m_dataSet->addObserver(this);
}

TDataSource::~TDataSource()
{
    if (m_dataSet)
        m_dataSet->removeObserver(this);
    for (TNrDBControl *control : std::as_const(m_controls))
        control->m_source = nullptr;
}

void TDataSource::dataSetDestroyed()
{
    m_dataSet = nullptr;
}

void TDataSource::updateRecord()
{
    for (TNrDBControl *control : std::as_const(m_controls))
        control->commitPending();
}

void TDataSource::addControl(TNrDBControl *control)
{
    if (!m_controls.contains(control))
        m_controls.append(control);
}

void TDataSource::removeControl(TNrDBControl *control)
{
    m_controls.removeAll(control);
}

void TDataSource::changed(const Field *field)
{
    for (TNrDBControl *control : std::as_const(m_controls)) {
        if (!field || control->dataField().compare(field->fieldName(), Qt::CaseInsensitive) == 0)
            control->refresh();
    }
    emit dataChange(field);
}

void TDataSource::dataSetChanged()
{
    changed(nullptr);
}

void TDataSource::recordChanged(const Field *field)
{
    changed(field);
}

void TDataSource::cursorMoved()
{
    changed(nullptr);
}

void TDataSource::stateChanged()
{
    for (TNrDBControl *control : std::as_const(m_controls))
        control->refresh();
    emit stateChange();
}
