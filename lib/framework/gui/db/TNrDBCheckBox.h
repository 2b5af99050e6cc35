#pragma once

#include "TNrDBControl.h"

#include <QCheckBox>

// A data-aware check box: the field holds "1" when it is ticked and "0"
// when it is not, written as soon as it is toggled.
class TNrDBCheckBox
    : public QCheckBox
    , public TNrDBControl
{
    Q_OBJECT

public:
    explicit TNrDBCheckBox(const QString &caption, QWidget *parent = nullptr);

protected:
    void showValue(const Field *field) override;
    void setInputReadOnly(bool readOnly) override { setEnabled(!readOnly); }
};
