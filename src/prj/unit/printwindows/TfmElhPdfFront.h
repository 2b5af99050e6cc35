#pragma once

#include "TfmNrDialog.h"

class TdmElhStampe;
class TfrElhPdfOutput;

// "Stampa Frontespizio": the first three pages of the form, filled from the
// withholding agent's record. When shown, the window opens the record and
// refreshes its summary of employees, self-employed workers and Prospetti
// (in the record, not in the database); closing it closes the record and
// releases the descriptor.
class TfmElhPdfFront : public TfmNrDialog
{
    Q_OBJECT

public:
    explicit TfmElhPdfFront(TdmElhStampe &stampe, QWidget *parent = nullptr);

    TfrElhPdfOutput *frOutput;

protected:
    void showEvent(QShowEvent *event) override;
    void done(int result) override;

private:
    TdmElhStampe &m_stampe;
};
