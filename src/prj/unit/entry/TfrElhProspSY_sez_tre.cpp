#include "TfrElhProspSY_sez_tre.h"

using namespace Qt::Literals::StringLiterals;

TfrElhProspSY_sez_tre::TfrElhProspSY_sez_tre(THlmDBCds &store, QWidget *parent)
    : TfrElhProspetto(store, u"SSOE7CODICE;SPSY3CFBEN"_s, parent)
{
    setObjectName(u"TfrElhProspSY_sez_tre"_s);
    FormLines *lines = formLines(3);
    addHeader(lines, u"LPSYEVENTIECC"_s);
    lines->addLine(QString(), {edit(u"1"_s, u"SPSY3CFBEN"_s, u"Codice fiscale beneficiario"_s),
                               edit(u"2"_s, u"FPSY3AMMBON"_s, u"Ammontare del bonifico"_s),
                               edit(u"3"_s, u"FPSY3RITEFF"_s, u"Ritenute effettuate"_s)});
    lines->finish();
    setGridColumns({u"SPSY3CFBEN"_s, u"SSOE7CODICE"_s, u"FPSY3AMMBON"_s, u"FPSY3RITEFF"_s},
                   {u"Codice fiscale beneficiario"_s, u"Codice fiscale sostituto d'imposta"_s});
}

QString TfrElhProspSY_sez_tre::tableName() const
{
    return u"TPSY3_PROSPETTOSY3"_s;
}
