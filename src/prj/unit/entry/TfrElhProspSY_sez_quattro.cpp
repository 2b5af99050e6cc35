#include "TfrElhProspSY_sez_quattro.h"

using namespace Qt::Literals::StringLiterals;

TfrElhProspSY_sez_quattro::TfrElhProspSY_sez_quattro(THlmDBCds &store, QWidget *parent)
    : TfrElhProspetto(store, u"SSOE7CODICE;SSY4DEN"_s, parent)
{
    setObjectName(u"TfrElhProspSY_sez_quattro"_s);
    FormLines *lines = formLines(4);
    addHeader(lines, u"LPSYEVENTIECC"_s);
    lines->addLine(QString(), {edit(u"1"_s, u"SSY4DEN"_s, u"Cognome o denominazione"_s),
                               edit(u"2"_s, u"SSY4NOME"_s, u"Nome"_s), edit(u"3"_s, u"LSY4SEX"_s, u"Sesso (M o F)"_s),
                               date(u"4"_s, u"DSY4DNASC"_s, u"Data di nascita"_s)});
    lines->addLine(QString(), {edit(u"5"_s, u"SSY4CODFISEST"_s, u"Codice di identificazione fiscale estero"_s),
                               edit(u"6"_s, u"SSY4COMEST"_s, u"Località di residenza estera"_s),
                               edit(u"7"_s, u"SSY4INDEST"_s, u"Via e numero civico"_s),
                               edit(u"8"_s, u"SSY4CODSTEST"_s, u"Codice Stato estero"_s)});
    lines->addLine(QString(),
                   {lookup(u"9"_s, u"SSY4CAUS"_s, u"Causale"_s, u"TCAU_CAUSALE.cds"_s),
                    edit(u"10"_s, u"FSY4AMMLORDCORR"_s, u"Ammontare lordo corrisposto"_s),
                    edit(u"11"_s, u"FSY4SOMMREGCONV"_s, u"Somme non soggette a ritenuta per regime convenzionale"_s),
                    edit(u"12"_s, u"FSY4ASOMMNSRIT"_s, u"Altre somme non soggette a ritenuta"_s),
                    edit(u"13"_s, u"FSY4IMPON"_s, u"Imponibile"_s),
                    edit(u"14"_s, u"FSY4RITTITIMP"_s, u"Ritenute a titolo d'imposta"_s),
                    edit(u"15"_s, u"FSY4RITSOS"_s, u"Ritenute sospese"_s)});
    lines->finish();
    setGridColumns({u"SSY4DEN"_s, u"SSY4NOME"_s, u"SSOE7CODICE"_s, u"FSY4AMMLORDCORR"_s, u"FSY4IMPON"_s,
                    u"FSY4RITTITIMP"_s, u"FSY4RITSOS"_s},
                   {u"Cognome o denominazione"_s, u"Nome"_s, u"Codice fiscale sostituto d'imposta"_s});
}

QString TfrElhProspSY_sez_quattro::tableName() const
{
    return u"TPSY4_PROSPETTOSY4"_s;
}
