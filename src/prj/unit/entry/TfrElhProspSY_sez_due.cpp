#include "TfrElhProspSY_sez_due.h"

using namespace Qt::Literals::StringLiterals;

TfrElhProspSY_sez_due::TfrElhProspSY_sez_due(THlmDBCds &store, QWidget *parent)
    : TfrElhProspetto(store, u"SSOE7CODICE;SPSY2CREPIGCF"_s, parent)
{
    setObjectName(u"TfrElhProspSY_sez_due"_s);
    FormLines *lines = formLines(4);
    addHeader(lines, u"LPSYEVENTIECC"_s);
    lines->addLine(QString(), {edit(u"1"_s, u"SPSY2CREPIGCF"_s, u"Codice fiscale creditore pignoratizio"_s)});
    QList<FormLines::Box> sums;
    QStringList columns = {u"SPSY2CREPIGCF"_s, u"SSOE7CODICE"_s};
    QStringList titles = {u"Codice fiscale creditore pignoratizio"_s, u"Codice fiscale sostituto d'imposta"_s};
    for (int k = 1; k <= 5; ++k) {
        const QString n = QString::number(k);
        sums.append(edit(QString::number(2 * k), u"FPSYSOMERO"_s + n, u"Somme erogate"_s));
        sums.append(
            lookup(QString::number(2 * k + 1), u"SPSYTIPO"_s + n, u"Tipologia"_s, u"TTPY_TIPOLOGIAPROSPSY.cds"_s));
        columns << u"FPSYSOMERO"_s + n << u"SPSYTIPO"_s + n;
        titles << u"Somme erogate "_s + n << u"Tipologia "_s + n;
    }
    lines->addLine(QString(), sums);
    lines->finish();
    setGridColumns(columns, titles);
}

QString TfrElhProspSY_sez_due::tableName() const
{
    return u"TPSY2_PROSPETTOSY2"_s;
}
