#pragma once

#include "TfrElhAnagrafe.h"

class PageList;
class QGridLayout;
class TNrDBEdit;
class TfrELhDipAnn;
class TfrElhConFamCar;
class TfrElhDtCong;
class TfrElhFamCar;
class TfrElhINPS;
class TfrElhInail;
class TfrElhInpdap;
class TfrElhReddAssRit;
class TfrElhReddEst;
class TfrElhSommLavStra;
class TfrElhTFR;
class TfrElhTaxSep;

// The employees (TDIP7_ANAGRFISCALI): the registry grid ("Progressivo",
// fiscal code, names, date of birth) and, in the detail, the page control
// pcDip with the pages of the employee's own fields and those of his twelve
// sections, listed at its left. Leaving the foreign taxes with an amount
// reminds the user of the foreign income page.
class TfrElhDipAnagr : public TfrElhAnagrafe
{
    Q_OBJECT

public:
    explicit TfrElhDipAnagr(THlmDBCds &store, QWidget *parent = nullptr);

    QTabWidget *pcDip;
    // The pages of pcDip, in place of its tabs.
    PageList *lbPagine;
    QTabWidget *pcAssistenza;
    TfrElhReddEst *frReddEst;
    TfrElhFamCar *frFamCar;
    TfrElhSommLavStra *frSommLavStra;
    TfrElhReddAssRit *frReddAssRit;
    TfrElhTaxSep *frTaxSep;
    TfrElhDtCong *frDtCong;
    TfrElhTFR *frTFR;
    TfrELhDipAnn *frDipAnn;
    TfrElhConFamCar *frConFamCar;
    TfrElhINPS *frINPS;
    TfrElhInpdap *frInpdap;
    TfrElhInail *frInail;

private:
    template<typename Frame>
    Frame *sectionPage(const QString &caption);
    QWidget *anagrafica();
    QWidget *datiFiscali();
    QWidget *altriDati1();
    QWidget *altriDati2();
    QWidget *assistenza1();
    QWidget *assistenza2();
    QWidget *assistenza3();
    // A table of amounts: one row per item, one column per kind of amount;
    // a null field leaves its cell empty.
    QGridLayout *
    amounts(const QStringList &columns,
            std::initializer_list<std::pair<const char16_t *, std::initializer_list<const char16_t *>>> rows);
    void foreignTaxesLeft();
    void detailBuilt() override;

    TNrDBEdit *m_foreignTaxes = nullptr;
};
