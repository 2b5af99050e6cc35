#include "TfrElhProspSV.h"

using namespace Qt::Literals::StringLiterals;

TfrElhProspSV::TfrElhProspSV(THlmDBCds &store, QWidget *parent)
    : TfrElhProspetto(store, QString(), parent)
{
    setObjectName(u"TfrElhProspSV"_s);
    FormLines *lines = formLines(6);
    addHeader(lines, u"LPSVEVENTIECC"_s);
    lines->addLine(QString(), paymentBoxes({.month = u"SPSVMESE"_s,
                                            .year = u"SPSVANNO"_s,
                                            .withheld = u"FPSVTRATTEFF"_s,
                                            .withheldCaption = u"Trattenute effettuate"_s,
                                            .credits = u"FPSVCREDIMPUTSCOMP"_s,
                                            .paid = u"FPSVIMPVERS"_s,
                                            .interest = u"FPSVINTERESSI"_s,
                                            .repentance = u"LPSVRAVVED"_s,
                                            .note = u"SPSVNOTE"_s,
                                            .noteFile = u"TNOV_NOTESV.cds"_s,
                                            .tax = u"SPSVCODTRIBCAP"_s,
                                            .taxSection = u"EL"_s,
                                            .region = QString(),
                                            .date = u"DPSVDTVERS"_s,
                                            .suspensionNote = u"SPSVCODICECOVID"_s,
                                            .suspensionFile = u"TNOV_NOTESVCOVID.cds"_s,
                                            .suspended = u"FPSVIMPSOSCOVID"_s}));
    lines->finish();
    setGridColumns(
        {u"DPSVDTVERS"_s, u"SPSVMESE"_s, u"SPSVANNO"_s, u"SPSVCODTRIBCAP"_s, u"FPSVTRATTEFF"_s, u"FPSVIMPVERS"_s},
        {u"Data versamento"_s, u"Mese"_s, u"Anno"_s, u"Codice tributo"_s});
}

QString TfrElhProspSV::tableName() const
{
    return u"TPSV_PROSPETTOSV"_s;
}
