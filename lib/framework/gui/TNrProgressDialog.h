#pragma once

#include "NrProgress.h"

#include <QProgressDialog>

// The desktop's window over a long run: the count of the step with its name
// ("Dipendente 124 di 2.000 — ROSSI MARIO"), a bar, and "Annulla", which
// asks the run to stop after the step under way. It shows when the run
// lasts more than a moment and blocks the other windows meanwhile; window
// messages run at every step, so the screen stays alive.
class TNrProgressDialog
    : public QProgressDialog
    , public NrProgress
{
    Q_OBJECT

public:
    // `noun` heads the count of each step ("Dipendente").
    TNrProgressDialog(const QString &noun, QWidget *parent);

    void step(int current, int total, const QString &text) override;
    void status(const QString &text) override;
    bool cancelled() override;

private:
    QString m_noun;
};
