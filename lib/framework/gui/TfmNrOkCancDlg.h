#pragma once

#include "TfmNrDialog.h"

class QPushButton;
class QVBoxLayout;

// A modal dialog with "OK" (the default button) and "Annulla" at the bottom;
// subclasses fill body().
class TfmNrOkCancDlg : public TfmNrDialog
{
    Q_OBJECT

public:
    explicit TfmNrOkCancDlg(QWidget *parent = nullptr);

    QPushButton *buOk() const { return m_ok; }
    QPushButton *buCancel() const { return m_cancel; }

protected:
    QVBoxLayout *body() const { return m_body; }

private:
    QVBoxLayout *m_body;
    QPushButton *m_ok;
    QPushButton *m_cancel;
};
