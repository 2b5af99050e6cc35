#include "Quadratura.h"

#include "QuadraturaChecks.h"
#include "TaxCodes.h"

#include <algorithm>

using namespace Qt::Literals::StringLiterals;

namespace {

// Findings of the whole year first, then by year and month of the period;
// a period that is not one comes last.
QString periodOrder(const QString &period)
{
    if (period.isEmpty())
        return {};
    const QStringList parts = period.split(u'/');
    if (parts.size() != 2 || parts[0].size() != 2 || parts[1].size() != 4)
        return u"~"_s + period;
    return parts[1] + parts[0];
}

QuadraturaFamily familyOf(const QuadraturaRow &row)
{
    switch (row.area) {
    case QuadraturaArea::StII:
        return QuadraturaFamily::AddRegionale;
    case QuadraturaArea::Sv:
        return QuadraturaFamily::AddComunale;
    default:
        return TaxCodes::selfEmployed(row.taxCode) ? QuadraturaFamily::Autonomi : QuadraturaFamily::Dipendenti;
    }
}

void chart(const QuadraturaInput &input, QuadraturaReport &report)
{
    const QString year = QString::number(input.year);
    for (const QuadraturaRow &row : input.rows) {
        bool sound = false;
        const int month = row.month.toInt(&sound);
        if (row.year != year || row.month.size() != 2 || !sound || month < 1 || month > 12)
            continue;
        QuadraturaMonth &m =
            report.months[static_cast<std::size_t>(familyOf(row))][static_cast<std::size_t>(month - 1)];
        m.withheld += row.withheld;
        m.paid += row.paid;
        if (row.paidOn.isValid() && row.paidOn > quadraturaDueDate(input.year, month))
            m.late = true;
    }
}

} // namespace

QString quadraturaAreaLabel(QuadraturaArea area)
{
    switch (area) {
    case QuadraturaArea::StI:
        return u"ST I"_s;
    case QuadraturaArea::StII:
        return u"ST II"_s;
    case QuadraturaArea::Sv:
        return u"SV"_s;
    case QuadraturaArea::Certificazioni:
        return u"Certificazioni"_s;
    case QuadraturaArea::F24ep:
        return u"F24EP"_s;
    }
    return {};
}

QString quadraturaFamilyLabel(QuadraturaFamily family)
{
    switch (family) {
    case QuadraturaFamily::Dipendenti:
        return u"Ritenute lavoro dipendente"_s;
    case QuadraturaFamily::Autonomi:
        return u"Ritenute lavoro autonomo"_s;
    case QuadraturaFamily::AddRegionale:
        return u"Addizionale regionale"_s;
    case QuadraturaFamily::AddComunale:
        return u"Addizionale comunale"_s;
    }
    return {};
}

std::optional<Decimal> QuadraturaFinding::difference() const
{
    if (!expected || !found)
        return std::nullopt;
    return *found - *expected;
}

int QuadraturaReport::count(FindingLevel level) const
{
    return static_cast<int>(
        std::count_if(findings.begin(), findings.end(), [&](const QuadraturaFinding &f) { return f.level == level; }));
}

int QuadraturaReport::count(QuadraturaArea area, FindingLevel level) const
{
    return static_cast<int>(std::count_if(findings.begin(), findings.end(), [&](const QuadraturaFinding &f) {
        return f.area == area && f.level == level;
    }));
}

QuadraturaReport reconcile(const QuadraturaInput &input)
{
    QuadraturaReport report;
    report.year = input.year;
    using Check = void (*)(const QuadraturaInput &, QList<QuadraturaFinding> &);
    for (const Check check :
         {&QuadraturaChecks::rows, &QuadraturaChecks::timing, &QuadraturaChecks::coverage,
          &QuadraturaChecks::duplicates, &QuadraturaChecks::certified, &QuadraturaChecks::payroll}) {
        QList<QuadraturaFinding> found;
        check(input, found);
        std::stable_sort(found.begin(), found.end(), [](const QuadraturaFinding &a, const QuadraturaFinding &b) {
            return periodOrder(a.period) < periodOrder(b.period);
        });
        report.findings += found;
    }
    // The office reads the errors first, then the warnings, then the rest.
    std::stable_sort(report.findings.begin(), report.findings.end(),
                     [](const QuadraturaFinding &a, const QuadraturaFinding &b) { return a.level < b.level; });
    chart(input, report);
    return report;
}
