#include "TNrDBControl.h"

#include "ClientDataSet.h"
#include "NrApplication.h"
#include "TDataSource.h"

#include <QPalette>
#include <QStyle>
#include <QToolTip>
#include <QWidget>

using namespace Qt::Literals::StringLiterals;

TNrDBControl::TNrDBControl(QWidget *widget)
    : m_widget(widget)
{
}

TNrDBControl::~TNrDBControl()
{
    if (m_source)
        m_source->removeControl(this);
}

void TNrDBControl::setDataSource(TDataSource *source)
{
    if (m_source)
        m_source->removeControl(this);
    m_source = source;
    if (m_source)
        m_source->addControl(this);
    refresh();
}

void TNrDBControl::setDataField(const QString &field)
{
    m_field = field;
    refresh();
}

Field *TNrDBControl::field() const
{
    if (!m_source || !m_source->dataSet().active())
        return nullptr;
    return m_source->dataSet().findField(m_field);
}

void TNrDBControl::setEditEnabled(bool enabled)
{
    m_enabled = enabled;
    applyAppearance();
}

void TNrDBControl::applyAppearance()
{
    const Field *f = field();
    const bool writable = m_enabled && f && !f->readOnly();
    setInputReadOnly(!writable);
    m_widget->setFocusPolicy(m_enabled ? Qt::StrongFocus : Qt::NoFocus);
    QPalette palette = m_widget->palette();
    palette.setColor(QPalette::Base,
                     m_widget->style()->standardPalette().color(m_enabled ? QPalette::Base : QPalette::Button));
    m_widget->setPalette(palette);
}

void TNrDBControl::refresh()
{
    if (m_writing)
        return;
    applyAppearance();
    const Field *f = field();
    const bool hasRecord = f && (f->dataSet().viewCount() > 0);
    showValue(hasRecord ? f : nullptr);
}

bool TNrDBControl::change(const std::function<void(Field &)> &write)
{
    Field *f = field();
    if (!f || !m_enabled || f->readOnly()) {
        refresh();
        return false;
    }
    m_writing = true;
    const bool done = NrRunGuarded([&] {
        ClientDataSet &ds = f->dataSet();
        if (ds.state() == DataSetState::Browse)
            ds.edit();
        // edit() on an empty dataset appends a record: look the field up again.
        write(ds.fieldByName(m_field));
    });
    m_writing = false;
    if (!done)
        refresh();
    return done;
}

QString TNrDBControl::caption() const
{
    const Field *f = field();
    return f ? f->displayLabel() : m_field;
}

QString TNrDBControl::textEntryProblem(const QString &input) const
{
    const Field *f = field();
    const QString problem = f ? f->textProblem(input) : QString();
    return problem.isEmpty() ? QString() : u"«%1»: il testo %2."_s.arg(caption(), problem);
}

void TNrDBControl::showRefusal(const QString &problem) const
{
    QToolTip::showText(m_widget->mapToGlobal(QPoint(0, m_widget->height())), problem, m_widget);
}
