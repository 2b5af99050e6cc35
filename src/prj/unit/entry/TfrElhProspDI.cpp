#include "TfrElhProspDI.h"

using namespace Qt::Literals::StringLiterals;

TfrElhProspDI::TfrElhProspDI(THlmDBCds &store, QWidget *parent)
    : TfrElhProspetto(store, u"SPDICODFIS;SPDIPERIMP"_s, parent)
{
    setObjectName(u"TfrElhProspDI"_s);
    FormLines *lines = formLines(4);
    lines->addLine(u"DI"_s, {edit(u"1"_s, u"SPDICODFIS"_s, u"Codice Fiscale"_s),
                             lookup(u"2"_s, u"SPDINOTA"_s, u"Nota"_s, u"TDIN_NOTEDI.CDS"_s),
                             edit(u"3"_s, u"SPDIPERIMP"_s, u"Periodo d'imposta"_s),
                             edit(u"5"_s, u"FPDIMAGCRED"_s, u"Maggior credito"_s)});
    lines->finish();
    setGridColumns({u"SPDICODFIS"_s, u"SPDIPERIMP"_s, u"FPDIMAGCRED"_s}, {u"Codice fiscale"_s, u"Periodo d'imposta"_s});
}

QString TfrElhProspDI::tableName() const
{
    return u"TPDI_PROSPETTODI"_s;
}
