#include "TNrDBRadioGroup.h"

#include "ClientDataSet.h"

#include <QButtonGroup>
#include <QRadioButton>
#include <QVBoxLayout>

TNrDBRadioGroup::TNrDBRadioGroup(const QString &caption, QWidget *parent)
    : QGroupBox(caption, parent)
    , TNrDBControl(this)
{
    m_group = new QButtonGroup(this);
    new QVBoxLayout(this);
    connect(m_group, &QButtonGroup::idClicked, this, &TNrDBRadioGroup::choose);
}

void TNrDBRadioGroup::addItem(const QString &caption, const QString &value)
{
    auto *button = new QRadioButton(caption, this);
    m_group->addButton(button, static_cast<int>(m_values.size()));
    m_values.append(value);
    layout()->addWidget(button);
    refresh();
}

int TNrDBRadioGroup::itemIndex() const
{
    return m_group->checkedId();
}

void TNrDBRadioGroup::setItemIndex(int index)
{
    const Field *f = field();
    const bool editing =
        f && (f->dataSet().state() == DataSetState::Edit || f->dataSet().state() == DataSetState::Insert);
    if (editing)
        choose(index);
    else
        check(index);
}

void TNrDBRadioGroup::choose(int index)
{
    const QString value = m_values.value(index);
    if (change([&](Field &f) { f.setAsString(value); }))
        emit valueChosen(value);
}

void TNrDBRadioGroup::check(int index)
{
    // An exclusive group cannot be left with nothing checked.
    m_group->setExclusive(false);
    for (QAbstractButton *b : m_group->buttons())
        b->setChecked(m_group->id(b) == index);
    m_group->setExclusive(true);
}

void TNrDBRadioGroup::showValue(const Field *field)
{
    check(field ? static_cast<int>(m_values.indexOf(field->asString().trimmed())) : -1);
}

void TNrDBRadioGroup::setInputReadOnly(bool readOnly)
{
    for (QAbstractButton *b : m_group->buttons())
        b->setEnabled(!readOnly);
}
