#pragma once

#include "TfrElhSezione.h"

class QLabel;

// "Somme erogate": the payments to a self-employed worker
// (TDSE7_SOMMEEROGATE), one record per payment, with the box numbers of the
// form beside the inputs and the "Rigo" counter of the payment shown.
class TfrElhAutSomme : public TfrElhSezione
{
    Q_OBJECT

public:
    explicit TfrElhAutSomme(const CurrentPerson &person, QWidget *parent = nullptr);

    QLabel *laRigo;

protected:
    void updateActions() override;
};
