#include "TfrElhProspST_sez_due.h"

#include "TNrDBGrid.h"

using namespace Qt::Literals::StringLiterals;

TfrElhProspST_sez_due::TfrElhProspST_sez_due(THlmDBCds &store, QWidget *parent)
    : TfrElhProspetto(store, u"SSOE7CODICE;DPST2DTVERS;SPST2ANNO;SPST2MESE;SPST2CODREG"_s, parent)
{
    setObjectName(u"TfrElhProspST_sez_due"_s);
    grFrame->setColumns({u"DPST2DTVERS"_s, u"SPST2MESE"_s, u"SPST2ANNO"_s, u"SPST2CODTRIBUTO"_s,
                         u"FPST2RITEFFETTUATE"_s, u"SPST2CODREG"_s, u"SSOE7CODICE"_s},
                        {u"Data versamento"_s, u"Mese"_s, u"Anno"_s, u"Codice tributo"_s, u"Ritenute operate"_s,
                         u"Codice regione"_s, u"Codice fiscale sostituto d'imposta"_s});
    FormLines *lines = formLines(6);
    addHeader(lines, u"LPSTEVENTIECC"_s);
    lines->addLine(QString(), paymentBoxes({.month = u"SPST2MESE"_s,
                                            .year = u"SPST2ANNO"_s,
                                            .withheld = u"FPST2RITEFFETTUATE"_s,
                                            .withheldCaption = u"Ritenute operate"_s,
                                            .credits = u"FPST2CREDIMPSCOMP"_s,
                                            .paid = u"FPST2IMPOVERSATO"_s,
                                            .interest = u"FPST2INTERESSI"_s,
                                            .repentance = u"LPST2RAVVEDIMENTO"_s,
                                            .note = u"SPST2NOTCODICE"_s,
                                            .noteFile = u"TNOT_NOTE.cds"_s,
                                            .tax = u"SPST2CODTRIBUTO"_s,
                                            .taxSection = u"R"_s,
                                            .region = u"SPST2CODREG"_s,
                                            .date = u"DPST2DTVERS"_s,
                                            .suspensionNote = u"SNOT2CODICECOVID"_s,
                                            .suspensionFile = u"TNOT_NOTECOVIDST2.cds"_s,
                                            .suspended = u"FPST2IMPSOSCOVID"_s}));
    lines->finish();
}

QString TfrElhProspST_sez_due::tableName() const
{
    return u"TPST2_PROSPETTOSTS2"_s;
}
