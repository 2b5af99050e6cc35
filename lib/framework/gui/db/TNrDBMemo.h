#pragma once

#include "TNrDBControl.h"

#include <QPlainTextEdit>

// A data-aware memo: the field holds the whole text, written as it is typed.
class TNrDBMemo
    : public QPlainTextEdit
    , public TNrDBControl
{
    Q_OBJECT

public:
    explicit TNrDBMemo(QWidget *parent = nullptr);

protected:
    void showValue(const Field *field) override;
    void setInputReadOnly(bool readOnly) override { setReadOnly(readOnly); }

private:
    bool m_showing = false;
};
