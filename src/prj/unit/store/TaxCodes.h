#pragma once

#include <QRegularExpression>
#include <QString>
#include <QStringList>

#include <vector>

// The tax codes of the withholdings the Prospetti ST and SV declare, by the
// section of the F24EP form that pays them: ST section I the IRPEF
// withholdings (1nnE of the F24EP, 1nnn of the ordinary F24), ST section II
// the regional surcharge, SV the municipal surcharge, advance and balance.
// The codes of a section that are no withholdings (VAT in the Erario, IRAP
// in the Regioni) stay out of the Prospetti.
namespace TaxCodes {

struct Section
{
    QString code; // the F24EP section: "E", "R", "EL"
    QRegularExpression withholdings;
    QStringList others;
    QString named; // the withholdings, as a message names them
};

// Erario, Regioni, Enti locali, in this order.
const std::vector<Section> &sections();
// The section whose withholdings the code is; none for any other code.
const Section *sectionOf(const QString &taxCode);

// The withholdings on self-employed income (ST section I).
bool selfEmployed(const QString &taxCode);
// The municipal surcharge: the advance of the year, the balance of the last.
bool municipalAdvance(const QString &taxCode);
bool municipalBalance(const QString &taxCode);

} // namespace TaxCodes
