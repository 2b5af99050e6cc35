#pragma once

#include "TNrDBControl.h"

#include <QGroupBox>
#include <QStringList>

class QButtonGroup;

// A data-aware radio group: each item stores its value in the field; a value
// that matches no item leaves every item unchecked.
class TNrDBRadioGroup
    : public QGroupBox
    , public TNrDBControl
{
    Q_OBJECT

public:
    explicit TNrDBRadioGroup(const QString &caption, QWidget *parent = nullptr);

    void addItem(const QString &caption, const QString &value);
    // The index of the checked item, -1 when none is.
    int itemIndex() const;
    // Checks an item; while the record is being edited its value is written
    // as a click would, otherwise only the choice shown changes.
    void setItemIndex(int index);

signals:
    // The user (or setItemIndex while editing) chose the item with that value.
    void valueChosen(const QString &value);

protected:
    void showValue(const Field *field) override;
    void setInputReadOnly(bool readOnly) override;

private:
    void choose(int index);
    void check(int index);

    QButtonGroup *m_group;
    QStringList m_values;
};
