#include "TfrElhProspST_sez_quattro.h"

#include "NrExceptions.h"
#include "TNrDBCheckBox.h"
#include "TNrDBDateEdit.h"
#include "TNrDBEdit.h"
#include "TNrDBGrid.h"
#include "TNrDBLookupEdit.h"

using namespace Qt::Literals::StringLiterals;

TfrElhProspST_sez_quattro::TfrElhProspST_sez_quattro(THlmDBCds &store, QWidget *parent)
    : TfrElhProspetto(store, u"SSOE7CODICE;"_s, parent)
{
    setObjectName(u"TfrElhProspST_sez_quattro"_s);
    grFrame->setColumns({u"SCFINTNRES"_s, u"SDENINTNRES"_s, u"SSOE7CODICE"_s},
                        {u"Codice fiscale"_s, u"Denominazione"_s, u"Codice fiscale sostituto d'imposta"_s});
    FormLines *lines = formLines(6);
    addHeader(lines, u"LPSTEVENTIECC"_s);
    lines->addLine(u"ST38"_s, {edit(u"1"_s, u"ICABIINTNRES"_s, u"Codice ABI"_s),
                               edit(u"2"_s, u"SBICSWIFTCODICE"_s, u"Cod. Id. Internazionale BIC/SWIFT"_s),
                               edit(u"3"_s, u"SCFINTNRES"_s, u"Codice fiscale"_s),
                               edit(u"4"_s, u"SDENINTNRES"_s, u"Denominazione"_s),
                               edit(u"5"_s, u"ICSEINTNRES"_s, u"Codice Stato estero"_s)});
    // Each line on two rows, amounts under amounts.
    lines->addTitles({{u"1"_s, u"Mese"_s, {}, QString()},
                      {QString(), u"Anno"_s, {}, QString()},
                      {u"2"_s, u"Ammontare plusvalenze\ne altri proventi"_s, {}, QString()},
                      {u"3"_s, u"Imposta applicata"_s, {}, QString()},
                      {u"4"_s, u"Importi utilizzati\na scomputo"_s, {}, QString()},
                      {u"6"_s, u"Crediti di imposta utilizzati a scomputo"_s, {}, QString()},
                      {u"9"_s, u"Ravvedimento"_s, {}, QString()},
                      {u"10"_s, u"Note"_s, {}, QString()},
                      {u"7"_s, u"Importo versato"_s, {}, QString()},
                      {u"8"_s, u"Interessi"_s, {}, QString()},
                      {u"11"_s, u"Codice tributo/Capitolo"_s, {}, QString()},
                      {u"14"_s, u"Data di versamento"_s, {}, QString()}});
    for (int line = kFirstLine; line <= kLastLine; ++line) {
        const QString n = QString::number(line);
        const auto of = [&n](const QString &caption) { return u"%1 (riga ST%2)"_s.arg(caption, n); };
        lines->addRow(
            u"ST"_s + n,
            QList<QWidget *>{monthEdit(u"SPST2MESE"_s + n, of(u"Mese"_s)), dbEdit(u"SPST2ANNO"_s + n, of(u"Anno"_s)),
                             dbEdit(u"FAMMPLSVALEPROV"_s + n, of(u"Ammontare plusvalenze e altri proventi"_s)),
                             dbEdit(u"FIMPAPPL"_s + n, of(u"Imposta applicata"_s)),
                             dbEdit(u"FIMPUTILSCOMP"_s + n, of(u"Importi utilizzati a scomputo"_s)),
                             dbEdit(u"FCRIMPUTILSCOMP"_s + n, of(u"Crediti di imposta utilizzati a scomputo"_s)),
                             bareCheck(u"LRAVVED"_s + n, of(u"Ravvedimento"_s)),
                             dbLookup(u"SNOTE"_s + n, of(u"Note"_s), u"TNOT_NOTE.cds"_s),
                             dbEdit(u"FIMPVERS"_s + n, of(u"Importo versato"_s)),
                             dbEdit(u"FINTERS"_s + n, of(u"Interessi"_s)),
                             dbEdit(u"SCTRIB"_s + n, of(u"Codice tributo/Capitolo"_s)),
                             dbDate(u"DDTVERS"_s + n, of(u"Data di versamento"_s))});
    }
    lines->finish();
}

QString TfrElhProspST_sez_quattro::tableName() const
{
    return u"TPST4_PROSPETTOSTS4"_s;
}

void TfrElhProspST_sez_quattro::checkRecord()
{
    const QString year = QString::number(kTaxYear);
    for (int line = kFirstLine; line <= kLastLine; ++line) {
        const QString n = QString::number(line);
        const QString month = cdsMain.fieldByName(u"SPST2MESE"_s + n).asString().trimmed();
        const QString lineYear = cdsMain.fieldByName(u"SPST2ANNO"_s + n).asString().trimmed();
        if (month.isEmpty() && lineYear.isEmpty())
            continue;
        if (month.isEmpty() || lineYear.isEmpty())
            throw ENrError(u"Impossibile salvare: Anno o mese nella riga ST%1 mancante!"_s.arg(n));
        if (!monthProblem(month).isEmpty()) {
            throw ENrError(u"Impossibile salvare: Mese nella riga ST%1 errato!\r\nInserire sempre 2 cifre: gennaio = "
                           u"01, febbraio = 02..."_s.arg(n));
        }
        if (lineYear != year)
            throw ENrError(u"Impossibile salvare: Anno nella riga ST%1 errato!\r\nInserire solo %2!"_s.arg(n, year));
    }
}
