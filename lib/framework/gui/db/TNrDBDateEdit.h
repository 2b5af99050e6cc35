#pragma once

#include "TNrDBEdit.h"

// A data-aware date edit: the date is typed as dd/mm/yyyy into a mask, and
// an edit left blank empties the field.
class TNrDBDateEdit : public TNrDBEdit
{
    Q_OBJECT

public:
    explicit TNrDBDateEdit(QWidget *parent = nullptr);

protected:
    void showText(const QString &text) override;
    QString inputText() const override;
    bool complete(const QString &input) const override;
    QString invalidMessage(const QString &input) const override;
};
