#pragma once

#include "TfrElhSezione.h"

// The section frames of an employee that only show and edit their table
// (those with rules of their own have units of their own).

// "Redd.Esteri": foreign income (TREE7_REDDITOESTER).
class TfrElhReddEst : public TfrElhSezione
{
    Q_OBJECT

public:
    explicit TfrElhReddEst(const CurrentPerson &person, QWidget *parent = nullptr);
};

// "Familiare carico": dependants with complementary pension contributions
// (TCFF7_CFFAMILIARE).
class TfrElhFamCar : public TfrElhSezione
{
    Q_OBJECT

public:
    explicit TfrElhFamCar(const CurrentPerson &person, QWidget *parent = nullptr);
};

// Productivity bonuses and extraordinary work (TSLS7_SOMEROLAVSTRA).
class TfrElhSommLavStra : public TfrElhSezione
{
    Q_OBJECT

public:
    explicit TfrElhSommLavStra(const CurrentPerson &person, QWidget *parent = nullptr);
};

// Income subject to withholding as a final tax (TRAR7_REDASSTIRTIT).
class TfrElhReddAssRit : public TfrElhSezione
{
    Q_OBJECT

public:
    explicit TfrElhReddAssRit(const CurrentPerson &person, QWidget *parent = nullptr);
};

// Amounts of previous years under separate taxation (TTAS7_TASSAZIONESE).
class TfrElhTaxSep : public TfrElhSezione
{
    Q_OBJECT

public:
    explicit TfrElhTaxSep(const CurrentPerson &person, QWidget *parent = nullptr);
};

// Adjustment data received from another agent (TCON7_DATICONGUAG).
class TfrElhDtCong : public TfrElhSezione
{
    Q_OBJECT

public:
    explicit TfrElhDtCong(const CurrentPerson &person, QWidget *parent = nullptr);
};

// Severance pay and its taxation (TTFR7_TFR); rates and percentages show
// three decimals, as the catalogue gives them.
class TfrElhTFR : public TfrElhSezione
{
    Q_OBJECT

public:
    explicit TfrElhTFR(const CurrentPerson &person, QWidget *parent = nullptr);
};

// The annotation codes printed on the certification (TANN7_ANNOTAZIONI):
// the grid shows every slot of the employee's row.
class TfrELhDipAnn : public TfrElhSezione
{
    Q_OBJECT

public:
    explicit TfrELhDipAnn(const CurrentPerson &person, QWidget *parent = nullptr);
};

// Social security (TINPS7_INPS).
class TfrElhINPS : public TfrElhSezione
{
    Q_OBJECT

public:
    explicit TfrElhINPS(const CurrentPerson &person, QWidget *parent = nullptr);
};

// Public employees' pension (TINP7_INPDAP); choosing a position of
// "TINQ_INQUADRAMENTO.CDS" fills its compartment, subcompartment and
// qualification.
class TfrElhInpdap : public TfrElhSezione
{
    Q_OBJECT

public:
    explicit TfrElhInpdap(const CurrentPerson &person, QWidget *parent = nullptr);

private:
    void lookupInquadramento();
};

// Work-injury insurance (TINA7_INAIL).
class TfrElhInail : public TfrElhSezione
{
    Q_OBJECT

public:
    explicit TfrElhInail(const CurrentPerson &person, QWidget *parent = nullptr);
};
