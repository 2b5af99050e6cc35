#pragma once

#include "NrBusyWait.h"

#include <QDialog>
#include <QTimer>

class QLabel;

// The desktop's wait for a database that another program holds: a small
// modal window that says so at once, with "Annulla" to stop waiting. Window
// messages keep running while the program waits, so the screen stays alive;
// the window goes away by itself a moment after the waiting stops.
class TNrBusyWaitDialog
    : public QDialog
    , public NrBusyWaitService
{
    Q_OBJECT

public:
    explicit TNrBusyWaitDialog(QWidget *parent = nullptr);

    void begin(const QString &text) override;
    bool cancelled() override;

private:
    QLabel *m_text;
    QTimer m_idle;
    bool m_cancelled = false;
};
