#pragma once

#include "TNrDBEdit.h"

#include <functional>

class QToolButton;

// A data-aware edit for a code taken from a table: beside the edit a button,
// and the key F8 in the edit, run the lookup handler (the search dialog).
class TNrDBLookupEdit : public QWidget
{
    Q_OBJECT

public:
    explicit TNrDBLookupEdit(QWidget *parent = nullptr);

    TNrDBEdit *edit() const { return m_edit; }
    QToolButton *button() const { return m_button; }
    void setOnLookup(std::function<void()> handler) { m_onLookup = std::move(handler); }
    void setEditEnabled(bool enabled);
    // Runs the lookup, as the button and F8 do.
    void lookup();

protected:
    bool eventFilter(QObject *watched, QEvent *event) override;

private:
    TNrDBEdit *m_edit;
    QToolButton *m_button;
    std::function<void()> m_onLookup;
};
