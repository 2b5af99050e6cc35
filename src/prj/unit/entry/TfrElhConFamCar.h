#pragma once

#include "TfrElhSezione.h"

// "Con. Fam. a carico": the spouse, the first child and the other children
// or family members at the employee's charge (TCFC7_CONFAMCARICO). Before a
// row is confirmed, flags that contradict each other are put right (a
// disabled child is not also a plain child, another child is not also
// another family member) and the user is told; the months at charge are
// two-digit months from 01 to 12.
class TfrElhConFamCar : public TfrElhSezione
{
    Q_OBJECT

public:
    explicit TfrElhConFamCar(const CurrentPerson &person, QWidget *parent = nullptr);

protected:
    void detailBuilt() override;
    void cdsMainBeforePost() override;

private:
    void checkMonths(const QString &field);
};
