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

    // Made with the detail page, when it is first shown.
    QLabel *laRigo = nullptr;

protected:
    void updateActions() override;

private:
    void showRecordNumber();
};
