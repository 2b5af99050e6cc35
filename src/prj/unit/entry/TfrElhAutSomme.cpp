#include "TfrElhAutSomme.h"

#include "FieldGrid.h"
#include "TNrDBGrid.h"

#include <QLabel>

using namespace Qt::Literals::StringLiterals;

TfrElhAutSomme::TfrElhAutSomme(const CurrentPerson &person, QWidget *parent)
    : TfrElhSezione({u"TDSE7_SOMMEEROGATE"_s, u"Somme erogate"_s, true}, PersonTables::Kind::SelfEmployed, person,
                    parent)
{
    setObjectName(u"TfrElhAutSomme"_s);
    setToolTip(u"Altre somme"_s);
    static constexpr Item kLeft[] = {{nullptr, u"Tipologia reddituale"},
                                     {u"SCAUCODICE", u"1 Causale", u"TCAU_CAUSALE.CDS"},
                                     {u"SDSE7ANNO", u"2 Anno"},
                                     {u"LDSE7ANTICIPAZ", u"3 Anticipazione"},
                                     {nullptr, u"Dati fiscali"},
                                     {u"FDSE7AMMLORDO", u"4 Ammontare lordo corrisposto"},
                                     {u"FDSE7SOMMENORIT", u"5 Somme non soggette a ritenuta per regime convenzionale"},
                                     {u"FDSE7CODICE", u"6 Codice", u"TCOD_CODICE.CDS"},
                                     {u"FDSE7ALTRESOMME", u"7 Altre somme non soggette a ritenuta"},
                                     {u"FDSE7IMPONIBILE", u"8 Imponibile"},
                                     {u"FDSE7RITTITACC", u"9 Ritenute a titolo d'acconto"},
                                     {u"FDSE7RITTITIMP", u"10 Ritenute a titolo d'imposta"},
                                     {u"FDSE7RITSOSPESE", u"11 Ritenute sospese"},
                                     {u"FDSE7ADDRTITACC", u"12 Addizionale Regionale a titolo d'acconto"},
                                     {u"FDSE7ADDRTITIMP", u"13 Addizionale Regionale a titolo d'imposta"},
                                     {u"FDSE7ADDREGSOSP", u"14 Addizionale Regionale sospesa"},
                                     {u"FDSE7ADDCOMTITACC", u"15 Addizionale comunale a titolo d'acconto"},
                                     {u"FDSE7ADDCOMTITIMP", u"16 Addizionale comunale a titolo d'imposta"},
                                     {u"FDSE7ADDCOMSOSP", u"17 Addizionale comunale sospesa"},
                                     {u"FDSE7IMPANNIPREC", u"18 Imponibile anni precedenti"},
                                     {u"FDSE7RITANNIPREC", u"19 Ritenute operate anni precedenti"},
                                     {u"FDSE7CONTRAMM", u"20 Contributi previdenziali a carico del soggetto erogante"},
                                     {u"FDSE7CONTRDIP", u"21 Contributi previdenziali a carico del percipiente"},
                                     {u"FDSE7SPESERIMB", u"22 Spese rimborsate"},
                                     {u"FDSE7RITENUTERIMB", u"23 Ritenute rimborsate"}};
    static constexpr Item kRight[] = {{nullptr, u"FALLIMENTO E LIQUIDAZIONE COATTA AMMINISTRATIVA"},
                                      {u"FDSE7SOMMEFAL", u"24 Somme corrisposte prima della data di fallimento"},
                                      {u"FDSE7SOMMECORR", u"25 Somme corrisposte dal curatore/commissario"},
                                      {nullptr, u"REDDITI EROGATI DA ALTRI SOGGETTI"},
                                      {u"SCAUCODREDERALTSOG", u"51 Causale", u"TCAU_CAUSALE.CDS"},
                                      {u"FDSE7CFALTSOG", u"52 Codice fiscale"},
                                      {u"FDSE7IMPALTSOG", u"53 Imponibile"},
                                      {u"FDSE7RITACCALTSOG", u"54 Ritenute a titolo d'acconto"},
                                      {u"FDSE7RITIMPALTSOG", u"55 Ritenute a titolo d'imposta"},
                                      {u"FDSE7RITSOSALTSOG", u"56 Ritenute sospese"},
                                      {u"FDSE7REGACCALTSOG", u"57 Addizionale Regionale a titolo d'acconto"},
                                      {u"FDSE7REGIMPALTSOG", u"58 Addizionale Regionale a titolo d'imposta"},
                                      {u"FDSE7REGSOSALTSOG", u"59 Addizionale Regionale sospesa"},
                                      {u"FDSE7ADDREASCOMTITA", u"60 Addizionale comunale a titolo d'acconto"},
                                      {u"FDSE7ADDREASCOMTITI", u"61 Addizionale comunale a titolo d'imposta"},
                                      {u"FDSE7ADDREASCOMSPSP", u"62 Addizionale comunale sospesa"}};
    addCaptions({kLeft, kRight});
    setDetail([this] {
        laRigo = new QLabel;
        laRigo->setObjectName(u"laRigo"_s);
        laRigo->setFrameShape(QFrame::StyledPanel);
        laRigo->setMinimumWidth(80);
        showRecordNumber();
        auto *left = new FieldGrid(nullptr, FieldGrid::kColumnCaptionWidth);
        left->addRow(u"Rigo"_s, laRigo);
        addItems(left, kLeft);
        auto *right = new FieldGrid(nullptr, FieldGrid::kColumnCaptionWidth);
        addItems(right, kRight);
        return Columns{left, right};
    });
    setGridColumns({u"SCAUCODICE"_s, u"SDSE7ANNO"_s, u"FDSE7AMMLORDO"_s, u"FDSE7IMPONIBILE"_s, u"FDSE7RITTITACC"_s});
}

void TfrElhAutSomme::updateActions()
{
    TfrElhSezione::updateActions();
    showRecordNumber();
}

void TfrElhAutSomme::showRecordNumber()
{
    if (laRigo)
        laRigo->setText(cdsMain.active() ? recordCounterText() : QString());
}
