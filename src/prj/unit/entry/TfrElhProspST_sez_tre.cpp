#include "TfrElhProspST_sez_tre.h"

#include "TNrDBCheckBox.h"
#include "TNrDBDateEdit.h"
#include "TNrDBEdit.h"
#include "TNrDBGrid.h"
#include "TNrDBLookupEdit.h"

using namespace Qt::Literals::StringLiterals;

TfrElhProspST_sez_tre::TfrElhProspST_sez_tre(THlmDBCds &store, QWidget *parent)
    : TfrElhProspetto(store, u"SSOE7CODICE;SPST3CFINTNRES"_s, parent)
{
    setObjectName(u"TfrElhProspST_sez_tre"_s);
    grFrame->setColumns({u"SPST3CFINTNRES"_s, u"SPST3DENINTNRES"_s, u"SSOE7CODICE"_s},
                        {u"Codice fiscale"_s, u"Denominazione"_s, u"Codice fiscale sostituto d'imposta"_s});
    FormLines *lines = formLines(6);
    addHeader(lines, u"LPSTEVENTIECC"_s);
    lines->addLine(u"ST26"_s, {edit(u"1"_s, u"IPST3CABIINTNRES"_s, u"Codice ABI"_s),
                               edit(u"2"_s, u"SPST3BICSWIFTCODICE"_s, u"Cod. Id. Internazionale BIC/SWIFT"_s),
                               edit(u"3"_s, u"SPST3CFINTNRES"_s, u"Codice fiscale"_s),
                               edit(u"4"_s, u"SPST3DENINTNRES"_s, u"Denominazione"_s),
                               edit(u"5"_s, u"IPST3CSEINTNRES"_s, u"Codice Stato estero"_s)});
    // Each line on two rows, amounts on the first.
    lines->addTitles({{u"1"_s, u"Mese"_s, {}, QString()},
                      {QString(), u"Anno"_s, {}, QString()},
                      {u"2"_s, u"Ritenute operate"_s, {}, QString()},
                      {u"6"_s, u"Crediti di imposta utilizzati a scomputo"_s, {}, QString()},
                      {u"7"_s, u"Importo versato"_s, {}, QString()},
                      {u"8"_s, u"Interessi"_s, {}, QString()},
                      {u"9"_s, u"Ravvedimento"_s, {}, QString()},
                      {u"10"_s, u"Note"_s, {}, QString()},
                      {u"11"_s, u"Codice tributo"_s, {}, QString()},
                      {u"14"_s, u"Data di versamento"_s, {}, QString()}});
    for (int line = kFirstLine; line <= kLastLine; ++line) {
        const QString n = QString::number(line);
        const auto of = [&n](const QString &caption) { return u"%1 (riga ST%2)"_s.arg(caption, n); };
        lines->addRow(
            u"ST"_s + n,
            QList<QWidget *>{monthEdit(u"SPST3MESE"_s + n, of(u"Mese"_s)), dbEdit(u"SPST3ANNO"_s + n, of(u"Anno"_s)),
                             dbEdit(u"FPST3RITEFFETTUATE"_s + n, of(u"Ritenute operate"_s)),
                             dbEdit(u"FPST3CREDIMPSCOMP"_s + n, of(u"Crediti di imposta utilizzati a scomputo"_s)),
                             dbEdit(u"FPST3IMPOVERSATO"_s + n, of(u"Importo versato"_s)),
                             dbEdit(u"FPST3INTERESSI"_s + n, of(u"Interessi"_s)),
                             bareCheck(u"LPST3RAVVEDIMENTO"_s + n, of(u"Ravvedimento"_s)),
                             dbLookup(u"SPST3NOTCODICE"_s + n, of(u"Note"_s), u"TNOT_NOTE.cds"_s),
                             dbEdit(u"SPST3CODTRIBUTO"_s + n, of(u"Codice tributo"_s)),
                             dbDate(u"DPST3DTVERS"_s + n, of(u"Data di versamento"_s))});
    }
    lines->finish();
}

QString TfrElhProspST_sez_tre::tableName() const
{
    return u"TPST3_PROSPETTOSTS3"_s;
}
