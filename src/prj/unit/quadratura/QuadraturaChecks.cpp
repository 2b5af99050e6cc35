#include "QuadraturaChecks.h"

#include "Conversions.h"
#include "TaxCodes.h"

#include <QHash>

#include <algorithm>
#include <map>

using namespace Qt::Literals::StringLiterals;

namespace {

// Differences up to a cent are roundings.
constexpr Decimal kCent = Decimal::fromUnits(100);
// The certified totals and the rows are summed over many people and rows:
// up to a euro they are roundings.
constexpr Decimal kEuro = Decimal::fromUnits(Decimal::kUnitsPerOne);

QString money(Decimal amount)
{
    return Conv::formatFloat(u"#,##0.00"_s, amount);
}

QString day(const QDate &date)
{
    return Conv::dateToText(date);
}

QString prospetto(QuadraturaArea area)
{
    return u"prospetto "_s + quadraturaAreaLabel(area);
}

bool soundMonth(const QString &month)
{
    return month.size() == 2 && month >= u"01"_s && month <= u"12"_s && month[0].isDigit() && month[1].isDigit();
}

bool soundYear(const QString &year)
{
    return year.size() == 4 && std::all_of(year.begin(), year.end(), [](QChar c) { return c.isDigit(); });
}

bool soundPeriod(const QuadraturaRow &row)
{
    return soundMonth(row.month) && soundYear(row.year);
}

// The Prospetto whose codes the F24EP section pays.
QuadraturaArea areaOfSection(const QString &section)
{
    if (section == u"R"_s)
        return QuadraturaArea::StII;
    if (section == u"EL"_s)
        return QuadraturaArea::Sv;
    return QuadraturaArea::StI;
}

// The finding of one row: its period, code and place, the row itself.
QuadraturaFinding rowFinding(FindingLevel level, const QuadraturaRow &row, QString text)
{
    QuadraturaFinding f;
    f.level = level;
    f.area = row.area;
    if (!row.month.isEmpty() || !row.year.isEmpty())
        f.period = row.month + u'/' + row.year;
    f.taxCode = row.taxCode;
    f.place = row.region;
    f.text = std::move(text);
    f.rows.append({row.area, row.record});
    return f;
}

// How a row names itself in a text: "rigo 100E 03/2023 del prospetto ST I".
QString described(const QuadraturaRow &row)
{
    QString text = u"Rigo"_s;
    if (!row.taxCode.isEmpty())
        text += u' ' + row.taxCode;
    if (!row.month.isEmpty() || !row.year.isEmpty())
        text += u' ' + row.month + u'/' + row.year;
    if (!row.region.isEmpty())
        text += u" regione "_s + row.region;
    if (!row.agent.isEmpty())
        text += u" del sostituto estinto "_s + row.agent;
    return text + u" del "_s + prospetto(row.area);
}

// The rows of one Prospetto, one agent, one code, one region and one period.
QString periodKey(const QuadraturaRow &row)
{
    return QString::number(static_cast<int>(row.area)) + u'|' + row.agent + u'|' + row.taxCode + u'|' + row.region
           + u'|' + row.month + u'|' + row.year;
}

struct Sums
{
    Decimal withheld;
    Decimal credits;
    Decimal paid;
    Decimal interest;
    Decimal suspended;

    void add(const QuadraturaRow &row)
    {
        withheld += row.withheld;
        credits += row.credits;
        paid += row.paid;
        interest += row.interest;
        suspended += row.suspended;
    }
    // Column 7 less what the withholdings less credits and suspended
    // amounts owe; the interest may or may not be in column 7.
    Decimal owed() const { return withheld - credits - suspended; }
    bool paysShort() const { return paid < owed() - kCent; }
    bool paysOver() const { return paid > owed() + interest + kCent; }
};

// The amounts of a row or a period against what it owes: paid short, paid
// over. The subject names the row or the period.
void amounts(const Sums &sums, const QString &subject, QuadraturaFinding base, QList<QuadraturaFinding> &findings)
{
    base.expected = sums.owed();
    base.found = sums.paid;
    if (sums.paysShort()) {
        base.level = FindingLevel::Error;
        base.text = u"%1: versato %2 a fronte di %3 dovuti (ritenute %4 meno crediti %5 e sospesi %6): verificare il "
                    u"versamento e regolarizzare la differenza di %7 con ravvedimento"_s.arg(
                        subject, money(sums.paid), money(sums.owed()), money(sums.withheld), money(sums.credits),
                        money(sums.suspended), money(sums.owed() - sums.paid));
        findings.append(base);
    } else if (sums.paysOver()) {
        base.level = FindingLevel::Warning;
        base.text = u"%1: versato %2, più dei %3 dovuti con gli interessi (%4): verificare l'importo; l'eccedenza "
                    u"versata va indicata nel prospetto SX"_s.arg(
                        subject, money(sums.paid), money(sums.owed() + sums.interest), money(sums.interest));
        findings.append(base);
    }
}

QHash<QString, int> rowsPerPeriod(const QuadraturaInput &input)
{
    QHash<QString, int> count;
    for (const QuadraturaRow &row : input.rows) {
        if (soundPeriod(row))
            ++count[periodKey(row)];
    }
    return count;
}

// A row whose code is a withholding of its own Prospetto.
bool declaredIn(const QuadraturaRow &row)
{
    const TaxCodes::Section *section = TaxCodes::sectionOf(row.taxCode);
    return section && areaOfSection(section->code) == row.area;
}

QString sectionName(const TaxCodes::Section &section)
{
    return prospetto(areaOfSection(section.code));
}

} // namespace

namespace QuadraturaChecks {

void rows(const QuadraturaInput &input, QList<QuadraturaFinding> &findings)
{
    const QHash<QString, int> perPeriod = rowsPerPeriod(input);
    const QString year = QString::number(input.year);
    for (const QuadraturaRow &row : input.rows) {
        QStringList missing;
        if (row.month.isEmpty() || row.year.isEmpty())
            missing.append(u"il periodo di riferimento"_s);
        if (row.taxCode.isEmpty())
            missing.append(u"il codice tributo"_s);
        if (!row.paidOn.isValid())
            missing.append(u"la data di versamento"_s);
        if (!missing.isEmpty())
            findings.append(
                rowFinding(FindingLevel::Error, row,
                           u"%1: mancano %2: completare il rigo"_s.arg(described(row), missing.join(u", "_s))));
        if (!row.month.isEmpty() && !soundMonth(row.month))
            findings.append(rowFinding(
                FindingLevel::Error, row,
                u"%1: il mese di riferimento «%2» non è un mese da 01 a 12: correggere il periodo del rigo"_s.arg(
                    described(row), row.month)));
        if (!row.year.isEmpty() && !soundYear(row.year))
            findings.append(rowFinding(
                FindingLevel::Error, row,
                u"%1: l'anno di riferimento «%2» non è un anno di quattro cifre: correggere il periodo del rigo"_s.arg(
                    described(row), row.year)));
        if (!row.taxCode.isEmpty()) {
            const TaxCodes::Section *section = TaxCodes::sectionOf(row.taxCode);
            if (!section)
                findings.append(rowFinding(
                    FindingLevel::Error, row,
                    u"%1: il codice tributo %2 non è un codice di ritenute che il %3 riporta: correggere il codice"_s
                        .arg(described(row), row.taxCode, prospetto(row.area))));
            else if (areaOfSection(section->code) != row.area)
                findings.append(rowFinding(
                    FindingLevel::Error, row,
                    u"%1: il codice tributo %2 appartiene al %3: spostare il rigo in quel "
                    u"prospetto o correggere il codice"_s.arg(described(row), row.taxCode, sectionName(*section))));
        }
        if (soundYear(row.year) && row.year != year) {
            const int other = row.year.toInt();
            if (other == input.year - 1 && row.ravvedimento)
                findings.append(rowFinding(
                    FindingLevel::Warning, row,
                    u"%1: ritenute dell'anno %2 versate con ravvedimento: appartengono alla dichiarazione 770/%3; "
                    u"verificare se vanno esposte in una dichiarazione integrativa di quell'anno invece che in "
                    u"questa"_s.arg(described(row), row.year, QString::number(other + 1))));
            else
                findings.append(rowFinding(
                    FindingLevel::Error, row,
                    u"%1: il periodo %2/%3 non è dell'anno %4 che la dichiarazione riporta: le ritenute di un altro "
                    u"anno vanno nella dichiarazione 770/%5"_s.arg(described(row), row.month, row.year, year,
                                                                   QString::number(other + 1))));
        }
        // A row among others of its period is weighed with them.
        if (!soundPeriod(row) || perPeriod.value(periodKey(row)) == 1) {
            Sums sums;
            sums.add(row);
            amounts(sums, described(row), rowFinding(FindingLevel::Error, row, {}), findings);
        }
    }
}

void timing(const QuadraturaInput &input, QList<QuadraturaFinding> &findings)
{
    for (const QuadraturaRow &row : input.rows) {
        if (!soundPeriod(row) || !row.paidOn.isValid())
            continue;
        const QDate due = quadraturaDueDate(row.year.toInt(), row.month.toInt());
        const auto late = static_cast<int>(due.daysTo(row.paidOn));
        QuadraturaFinding f = rowFinding(FindingLevel::Error, row, {});
        if (late > 0) {
            f.daysLate = late;
            if (!row.ravvedimento) {
                f.text = u"Versamento del %1 eseguito %2 giorni dopo la scadenza del %3 senza ravvedimento: "
                         u"verificare il versamento e barrare la casella Ravvedimento"_s.arg(
                             day(row.paidOn), QString::number(late), day(due));
            } else if (row.interest.isZero()) {
                f.text = u"Versamento del %1 eseguito %2 giorni dopo la scadenza del %3 con ravvedimento ma senza "
                         u"interessi: indicare gli interessi versati in colonna 8"_s.arg(
                             day(row.paidOn), QString::number(late), day(due));
            }
        } else if (row.ravvedimento) {
            f.level = FindingLevel::Warning;
            f.text = u"Casella Ravvedimento barrata sul versamento del %1, eseguito entro la scadenza del %2: "
                     u"togliere la casella"_s.arg(day(row.paidOn), day(due));
        }
        if (!f.text.isEmpty())
            findings.append(f);
    }
}

void coverage(const QuadraturaInput &input, QList<QuadraturaFinding> &findings)
{
    const QString year = QString::number(input.year);
    // The months with a row of each Prospetto, agent and code of the year.
    std::map<std::tuple<int, QString, QString>, std::array<bool, 12>> months;
    // The rows of each period, in the order of the return.
    QHash<QString, QList<qsizetype>> periods;
    QStringList order;
    for (qsizetype r = 0; r < input.rows.size(); ++r) {
        const QuadraturaRow &row = input.rows[r];
        if (!soundPeriod(row))
            continue;
        if (row.year == year && !row.taxCode.isEmpty())
            months[{static_cast<int>(row.area), row.agent, row.taxCode}]
                  [static_cast<std::size_t>(row.month.toInt() - 1)] = true;
        const QString key = periodKey(row);
        auto &list = periods[key];
        if (list.isEmpty())
            order.append(key);
        list.append(r);
    }
    for (const auto &[key, seen] : months) {
        QStringList missing;
        for (int m = 0; m < 12; ++m) {
            if (!seen[static_cast<std::size_t>(m)])
                missing.append(QString::number(m + 1).rightJustified(2, u'0'));
        }
        if (missing.isEmpty())
            continue;
        const auto &[area, agent, code] = key;
        QuadraturaFinding f;
        f.level = FindingLevel::Information;
        f.area = static_cast<QuadraturaArea>(area);
        f.taxCode = code;
        f.text = u"Codice tributo %1 del %2%3: mesi senza versamenti: %4. Verificare che in quei mesi non siano "
                 u"state operate ritenute con questo codice"_s.arg(
                     code, prospetto(f.area), agent.isEmpty() ? QString() : u" (sostituto estinto "_s + agent + u')',
                     missing.join(u", "_s));
        findings.append(f);
    }
    for (const QString &key : std::as_const(order)) {
        const QList<qsizetype> &members = periods[key];
        if (members.size() < 2)
            continue;
        Sums sums;
        QuadraturaFinding f = rowFinding(FindingLevel::Error, input.rows[members.first()], {});
        f.rows.clear();
        for (const qsizetype r : members) {
            sums.add(input.rows[r]);
            f.rows.append({input.rows[r].area, input.rows[r].record});
        }
        const QuadraturaRow &first = input.rows[members.first()];
        amounts(sums,
                u"Periodo %1/%2, codice %3 del %4 (%5 righi)"_s.arg(
                    first.month, first.year, first.taxCode, prospetto(first.area), QString::number(members.size())),
                f, findings);
    }
}

void duplicates(const QuadraturaInput &input, QList<QuadraturaFinding> &findings)
{
    QHash<QString, QList<qsizetype>> same;
    QStringList order;
    for (qsizetype r = 0; r < input.rows.size(); ++r) {
        const QuadraturaRow &row = input.rows[r];
        const QString key = periodKey(row) + u'|' + row.paidOn.toString(Qt::ISODate) + u'|'
                            + QString::number(row.withheld.units()) + u'|' + QString::number(row.credits.units()) + u'|'
                            + QString::number(row.paid.units()) + u'|' + QString::number(row.interest.units()) + u'|'
                            + QString::number(row.suspended.units());
        auto &list = same[key];
        if (list.isEmpty())
            order.append(key);
        list.append(r);
    }
    for (const QString &key : std::as_const(order)) {
        const QList<qsizetype> &members = same[key];
        if (members.size() < 2)
            continue;
        const QuadraturaRow &row = input.rows[members.first()];
        QuadraturaFinding f = rowFinding(
            FindingLevel::Error, row,
            u"%1: %2 righi uguali (versati il %3, ritenute %4, versato %5): eliminare i righi in più"_s.arg(
                described(row), QString::number(members.size()),
                row.paidOn.isValid() ? day(row.paidOn) : u"senza data"_s, money(row.withheld), money(row.paid)));
        f.rows.clear();
        for (const qsizetype r : members)
            f.rows.append({input.rows[r].area, input.rows[r].record});
        findings.append(f);
    }
}

void certified(const QuadraturaInput &input, QList<QuadraturaFinding> &findings)
{
    struct Kind
    {
        QString name;     // what is certified
        QString declared; // where the return declares it
        bool surcharge;
        Decimal QuadraturaPerson::*amount;
        bool (*declares)(const QuadraturaRow &row);
    };
    const Kind kinds[] = {
        {u"ritenute IRPEF"_s, u"prospetto ST I (codici del lavoro dipendente)"_s, false, &QuadraturaPerson::irpef,
         [](const QuadraturaRow &r) {
             return r.area == QuadraturaArea::StI && declaredIn(r) && !TaxCodes::selfEmployed(r.taxCode);
         }},
        {u"ritenute sul lavoro autonomo"_s, u"prospetto ST I (codici del lavoro autonomo)"_s, false,
         &QuadraturaPerson::selfEmployed,
         [](const QuadraturaRow &r) { return r.area == QuadraturaArea::StI && TaxCodes::selfEmployed(r.taxCode); }},
        {u"addizionale regionale"_s, u"prospetto ST II"_s, true, &QuadraturaPerson::regional,
         [](const QuadraturaRow &r) { return r.area == QuadraturaArea::StII && declaredIn(r); }},
        {u"acconto dell'addizionale comunale"_s, u"prospetto SV (codici 384E, 3847)"_s, true,
         &QuadraturaPerson::municipalAdvance,
         [](const QuadraturaRow &r) { return r.area == QuadraturaArea::Sv && TaxCodes::municipalAdvance(r.taxCode); }},
        {u"saldo dell'addizionale comunale"_s, u"prospetto SV (codici 385E, 3848)"_s, true,
         &QuadraturaPerson::municipalBalance,
         [](const QuadraturaRow &r) { return r.area == QuadraturaArea::Sv && TaxCodes::municipalBalance(r.taxCode); }},
    };
    if (input.people.isEmpty()) {
        if (!input.rows.isEmpty()) {
            QuadraturaFinding f;
            f.level = FindingLevel::Information;
            f.area = QuadraturaArea::Certificazioni;
            f.text =
                u"Nessuna certificazione nella dichiarazione: le ritenute dei prospetti non sono state confrontate "
                u"con quelle certificate; importare o inserire i dati dei percipienti"_s;
            findings.append(f);
        }
        return;
    }
    const QString year = QString::number(input.year);
    for (const Kind &kind : kinds) {
        Decimal declared;
        QList<QuadraturaRowRef> rows;
        for (const QuadraturaRow &row : input.rows) {
            if (row.year == year && soundMonth(row.month) && kind.declares(row)) {
                declared += row.withheld;
                rows.append({row.area, row.record});
            }
        }
        Decimal certifiedTotal;
        QList<const QuadraturaPerson *> people;
        for (const QuadraturaPerson &person : input.people) {
            const Decimal amount = person.*kind.amount;
            if (amount.isZero())
                continue;
            certifiedTotal += amount;
            people.append(&person);
        }
        const Decimal difference = certifiedTotal - declared;
        if (difference <= kEuro && difference >= -kEuro)
            continue;
        QuadraturaFinding f;
        f.area = QuadraturaArea::Certificazioni;
        f.expected = declared;
        f.found = certifiedTotal;
        f.rows = rows;
        std::stable_sort(people.begin(), people.end(), [&](const QuadraturaPerson *a, const QuadraturaPerson *b) {
            return a->*kind.amount > b->*kind.amount;
        });
        for (const QuadraturaPerson *person : std::as_const(people))
            f.people.append({person->table, person->fiscalCode, person->name});
        if (difference > kEuro) {
            f.level = kind.surcharge ? FindingLevel::Warning : FindingLevel::Error;
            f.text =
                u"Le certificazioni riportano %1 per %2, più dei %3 indicati in colonna 2 del %4 (differenza "
                u"%5): "_s.arg(kind.name, money(certifiedTotal), money(declared), kind.declared, money(difference));
            f.text += kind.surcharge
                          ? u"l'addizionale trattenuta nell'anno è in parte dovuta sui redditi dell'anno precedente, "
                            u"quindi una differenza può essere corretta; verificare le certificazioni e i righi"_s
                          : u"verificare le certificazioni dei percipienti e i versamenti del prospetto"_s;
        } else {
            f.level = FindingLevel::Warning;
            f.text = u"Il %1 indica %2 per %3, più dei %4 certificati ai percipienti (differenza %5): verificare "
                     u"che nessuna certificazione manchi o sia incompleta"_s.arg(
                         kind.declared, kind.name, money(declared), money(certifiedTotal), money(-difference));
        }
        findings.append(f);
    }
}

void payroll(const QuadraturaInput &input, QList<QuadraturaFinding> &findings)
{
    if (!input.f24)
        return;
    struct Group
    {
        QuadraturaArea area = QuadraturaArea::StI;
        QString month;
        QString year;
        QString taxCode;
        QString region;
        QDate paidOn;
        Decimal rowWithheld;
        Decimal rowPaid;
        Decimal lineWithheld;
        Decimal linePaid;
        int lines = 0;
        QList<QuadraturaRowRef> rows;
    };
    // As the import groups the lines into rows: ST by period, code, region
    // and payment date; SV by period, code and payment date.
    const auto key = [](QuadraturaArea area, const QString &month, const QString &year, const QString &code,
                        const QString &region, const QDate &paidOn) -> QString {
        return QString::number(static_cast<int>(area)) + u'|' + month + u'|' + year + u'|' + code + u'|'
               + (area == QuadraturaArea::StII ? region : QString()) + u'|' + paidOn.toString(Qt::ISODate);
    };
    QHash<QString, Group> groups;
    QStringList order;
    const auto group = [&](QuadraturaArea area, const QString &month, const QString &year, const QString &code,
                           const QString &region, const QDate &paidOn) -> Group & {
        const QString k = key(area, month, year, code, region, paidOn);
        auto found = groups.find(k);
        if (found == groups.end()) {
            order.append(k);
            Group g;
            g.area = area;
            g.month = month;
            g.year = year;
            g.taxCode = code;
            if (area == QuadraturaArea::StII)
                g.region = region;
            g.paidOn = paidOn;
            found = groups.insert(k, g);
        }
        return *found;
    };
    for (const QuadraturaF24Line &line : *input.f24) {
        if (!line.problem.isEmpty()) {
            QuadraturaFinding f;
            f.level = FindingLevel::Warning;
            f.area = QuadraturaArea::F24ep;
            f.period = line.month + u'/' + line.year;
            f.taxCode = line.taxCode;
            f.place = line.region.isEmpty() ? line.municipality : line.region;
            f.text = u"Rigo della delega F24EP n. %1 (codice %2, periodo %3): %4; il rigo non è stato confrontato "
                     u"con la dichiarazione: correggerlo nelle paghe"_s.arg(QString::number(line.delegation),
                                                                            line.taxCode, f.period, line.problem);
            findings.append(f);
            continue;
        }
        Group &g = group(areaOfSection(line.section), line.month, line.year, line.taxCode, line.region, line.paidOn);
        g.lineWithheld += line.withheld;
        g.linePaid += line.paid;
        ++g.lines;
    }
    const QString year = QString::number(input.year);
    for (const QuadraturaRow &row : input.rows) {
        if (!row.agent.isEmpty() || row.year != year)
            continue;
        Group &g = group(row.area, row.month, row.year, row.taxCode, row.region, row.paidOn);
        g.rowWithheld += row.withheld;
        g.rowPaid += row.paid;
        g.rows.append({row.area, row.record});
    }
    for (const QString &k : std::as_const(order)) {
        const Group &g = groups[k];
        QuadraturaFinding f;
        f.level = FindingLevel::Warning;
        f.area = QuadraturaArea::F24ep;
        f.period = g.month + u'/' + g.year;
        f.taxCode = g.taxCode;
        f.place = g.region;
        f.rows = g.rows;
        const QString what = u"codice %1, periodo %2%3, versato il %4"_s.arg(
            g.taxCode, f.period, g.region.isEmpty() ? QString() : u", regione "_s + g.region,
            g.paidOn.isValid() ? day(g.paidOn) : u"senza data"_s);
        if (g.rows.isEmpty()) {
            f.expected = g.linePaid;
            f.found = Decimal();
            f.text = u"Deleghe F24EP delle paghe (%1: ritenute %2, versato %3) senza rigo corrispondente nel %4: "
                     u"verificare se il prospetto è stato modificato a mano o va importato di nuovo"_s.arg(
                         what, money(g.lineWithheld), money(g.linePaid), prospetto(g.area));
        } else if (g.lines == 0) {
            f.expected = Decimal();
            f.found = g.rowPaid;
            f.text = u"Rigo del %1 (%2: ritenute %3, versato %4) senza versamento corrispondente fra le deleghe "
                     u"F24EP delle paghe: verificare se il rigo è stato inserito o modificato a mano"_s.arg(
                         prospetto(g.area), what, money(g.rowWithheld), money(g.rowPaid));
        } else if (g.rowWithheld != g.lineWithheld || g.rowPaid != g.linePaid) {
            const bool paidDiffers = g.rowPaid != g.linePaid;
            f.expected = paidDiffers ? g.linePaid : g.lineWithheld;
            f.found = paidDiffers ? g.rowPaid : g.rowWithheld;
            f.text = u"Il %1 e le deleghe F24EP delle paghe (%2) non coincidono: ritenute %3 nel prospetto e %4 "
                     u"nelle deleghe, versato %5 e %6: verificare se il prospetto è stato modificato a mano"_s.arg(
                         prospetto(g.area), what, money(g.rowWithheld), money(g.lineWithheld), money(g.rowPaid),
                         money(g.linePaid));
        } else {
            continue;
        }
        findings.append(f);
    }
}

} // namespace QuadraturaChecks
