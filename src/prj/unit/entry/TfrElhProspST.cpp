#include "TfrElhProspST.h"

#include "TNrDBGrid.h"

using namespace Qt::Literals::StringLiterals;

TfrElhProspST::TfrElhProspST(THlmDBCds &store, QWidget *parent)
    : TfrElhProspetto(store, u"SSOE7CODICE;DPSTDTVERS;SPSTANNO;SPSTMESE"_s, parent)
{
    setObjectName(u"TfrElhProspST"_s);
    grFrame->setColumns(
        {u"DPSTDTVERS"_s, u"SPSTMESE"_s, u"SPSTANNO"_s, u"SPSTCODTRIBUTO"_s, u"FPSTRITOPEARTE"_s, u"SSOE7CODICE"_s},
        {u"Data versamento"_s, u"Mese"_s, u"Anno"_s, u"Codice tributo"_s, u"Ritenute operate"_s,
         u"Codice fiscale sostituto d'imposta"_s});
    FormLines *lines = formLines(6);
    addHeader(lines, u"LPSTEVENTIECC"_s);
    lines->addLine(QString(), paymentBoxes({.month = u"SPSTMESE"_s,
                                            .year = u"SPSTANNO"_s,
                                            .withheld = u"FPSTRITOPEARTE"_s,
                                            .withheldCaption = u"Ritenute operate"_s,
                                            .credits = u"FPSTRITCOMPENSATE"_s,
                                            .paid = u"FPSTIMPOVERSATO"_s,
                                            .interest = u"FPSTINTERESSI"_s,
                                            .repentance = u"LPSTRAVVEDIMENTO"_s,
                                            .note = u"SNOTCODICE"_s,
                                            .noteFile = u"TNOT_NOTE.cds"_s,
                                            .tax = u"SPSTCODTRIBUTO"_s,
                                            .taxSection = u"E"_s,
                                            .region = QString(),
                                            .date = u"DPSTDTVERS"_s,
                                            .suspensionNote = u"SNOTCODICECOVID"_s,
                                            .suspensionFile = u"TNOT_NOTECOVID.cds"_s,
                                            .suspended = u"FPSTIMPSOSCOVID"_s}));
    lines->finish();
}

QString TfrElhProspST::tableName() const
{
    return u"TPST_PROSPETTOST"_s;
}
