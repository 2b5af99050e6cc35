#pragma once

#include "TNrDBControl.h"

#include <QLineEdit>

// A data-aware line edit. What is typed is written to the field as it is
// typed, converted with the field's (Italian) conversion; text that does not
// convert yet stays pending and is refused, with its field named, when the
// record is confirmed. What the field could not keep whole is refused as it
// is typed or pasted, and a tip beside the edit names the field and the
// cause: a text longer than its field, a control character, an amount with
// more integer digits than the supply file holds. An amount takes only what
// an amount can hold: digits, one comma and the field's decimals after it,
// a leading minus where negative amounts are allowed; a single full stop
// without a comma is the comma, other full stops are thousands separators
// and go. Amounts show their display format, and their edit
// format while the edit has the focus.
class TNrDBEdit
    : public QLineEdit
    , public TNrDBControl
{
    Q_OBJECT

public:
    explicit TNrDBEdit(QWidget *parent = nullptr);

    // Turns what is typed into upper case.
    void setUpperCase(bool upper) { m_upper = upper; }
    bool upperCase() const { return m_upper; }
    // Whether an amount may be typed with a leading minus (it may unless told).
    void setNegativeAllowed(bool allowed);

    void commitPending() override;
    // Makes the edit as wide as the values of its field: a code is narrow,
    // a name wide. A long text gives way where its row is short of room,
    // down to twenty characters, and scrolls within the edit; an amount
    // down to the width of its largest value.
    void fitToField();
    QSize sizeHint() const override;

protected:
    void showValue(const Field *field) override;
    void setInputReadOnly(bool readOnly) override { setReadOnly(readOnly); }
    void focusInEvent(QFocusEvent *event) override;
    void focusOutEvent(QFocusEvent *event) override;

    // Shows a text of the field's value, from its beginning.
    virtual void showText(const QString &text);
    // The text to write, from what the edit shows.
    virtual QString inputText() const { return text(); }
    // Whether the input is complete enough to be converted.
    virtual bool complete(const QString &input) const;
    virtual QString invalidMessage(const QString &input) const;

private:
    void onTextEdited(const QString &text);
    void write(Field &field, const QString &input);
    // Why the field cannot take the input; empty when it can.
    QString entryProblem(const QString &input) const;

    // Gives the edit the amount validator while it has the focus on a
    // decimal field.
    void fitValidator(const Field *field);

    int m_fittedWidth = 0;
    bool m_upper = false;
    bool m_negative = true;
    bool m_pending = false;
    QString m_accepted; // the text before the last edit, given back when an edit is refused
};
