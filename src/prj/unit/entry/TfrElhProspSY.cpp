#include "TfrElhProspSY.h"

using namespace Qt::Literals::StringLiterals;

TfrElhProspSY::TfrElhProspSY(THlmDBCds &store, QWidget *parent)
    : TfrElhProspetto(store, u"SSOE7CODICE;SPSYDEBPRICODF;SPSYCREPIGCODF"_s, parent)
{
    setObjectName(u"TfrElhProspSY"_s);
    FormLines *lines = formLines(3);
    addHeader(lines, u"LPSYEVENTIECC"_s);
    lines->addLine(QString(), {edit(u"1"_s, u"SPSYDEBPRICODF"_s, u"Codice fiscale debitore principale"_s),
                               edit(u"2"_s, u"SPSYCREPIGCODF"_s, u"Codice fiscale creditore pignoratizio"_s),
                               edit(u"3"_s, u"FPSYSOMERO"_s, u"Somme erogate"_s)});
    lines->finish();
    setGridColumns({u"SPSYDEBPRICODF"_s, u"SPSYCREPIGCODF"_s, u"SSOE7CODICE"_s, u"FPSYSOMERO"_s},
                   {u"Codice fiscale debitore principale"_s, u"Codice fiscale creditore pignoratizio"_s,
                    u"Codice fiscale sostituto d'imposta"_s});
}

QString TfrElhProspSY::tableName() const
{
    return u"TPSY_PROSPETTOSY"_s;
}
