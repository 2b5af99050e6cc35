#pragma once

#include "TNrDBControl.h"

#include <QPlainTextEdit>

// A data-aware memo: the field holds the whole text, written as it is typed.
// An edit that brings in a character the field refuses (a control character
// other than a line break or a tab) is given back, and the field named.
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
    void showPlainText(const QString &text);

    bool m_showing = false;
    QString m_accepted; // the text before the last edit, given back when an edit is refused
};
