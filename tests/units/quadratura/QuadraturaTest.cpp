#include "Quadratura.h"

#include "CaseFile.h"

#include <gtest/gtest.h>

using namespace Qt::Literals::StringLiterals;

namespace {

Decimal amount(const QJsonObject &o, const QString &key)
{
    return Decimal::parseC(o.value(key).toString(u"0"_s)).value();
}

QuadraturaArea area(const QString &label)
{
    for (int a = 0; a < kQuadraturaAreas; ++a) {
        if (quadraturaAreaLabel(static_cast<QuadraturaArea>(a)) == label)
            return static_cast<QuadraturaArea>(a);
    }
    throw std::runtime_error("no area " + label.toStdString());
}

// A case's return: rows of each Prospetto, people, payroll lines (none when
// the case has no "f24").
QuadraturaInput input(const QJsonObject &c)
{
    QuadraturaInput in;
    in.year = c.value(u"year"_s).toInt(2023);
    std::array<int, kQuadraturaAreas> records{};
    for (const QJsonValue &v : c.value(u"rows"_s).toArray()) {
        const QJsonObject o = v.toObject();
        QuadraturaRow row;
        row.area = area(o.value(u"area"_s).toString());
        row.record = records[static_cast<std::size_t>(row.area)]++;
        row.agent = o.value(u"agent"_s).toString();
        row.month = o.value(u"month"_s).toString();
        row.year = o.value(u"year"_s).toString();
        row.taxCode = o.value(u"code"_s).toString();
        row.region = o.value(u"region"_s).toString();
        row.withheld = amount(o, u"withheld"_s);
        row.credits = amount(o, u"credits"_s);
        row.paid = amount(o, u"paid"_s);
        row.interest = amount(o, u"interest"_s);
        row.suspended = amount(o, u"suspended"_s);
        row.paidOn = QDate::fromString(o.value(u"paidOn"_s).toString(), Qt::ISODate);
        row.ravvedimento = o.value(u"ravvedimento"_s).toBool();
        in.rows.append(row);
    }
    for (const QJsonValue &v : c.value(u"people"_s).toArray()) {
        const QJsonObject o = v.toObject();
        in.people.append({o.value(u"table"_s).toString(u"TDIP7_ANAGRFISCALI"_s), o.value(u"code"_s).toString(),
                          o.value(u"name"_s).toString(), amount(o, u"irpef"_s), amount(o, u"regional"_s),
                          amount(o, u"advance"_s), amount(o, u"balance"_s), amount(o, u"selfEmployed"_s)});
    }
    if (c.contains(u"f24"_s)) {
        in.f24.emplace();
        qint64 number = 0;
        for (const QJsonValue &v : c.value(u"f24"_s).toArray()) {
            const QJsonObject o = v.toObject();
            QuadraturaF24Line line;
            line.delegation = line.line = ++number;
            line.paidOn = QDate::fromString(o.value(u"paidOn"_s).toString(), Qt::ISODate);
            line.section = o.value(u"section"_s).toString();
            line.taxCode = o.value(u"code"_s).toString();
            line.region = o.value(u"region"_s).toString();
            line.municipality = o.value(u"municipality"_s).toString();
            line.month = o.value(u"month"_s).toString();
            line.year = o.value(u"year"_s).toString();
            line.withheld = amount(o, u"withheld"_s);
            line.paid = amount(o, u"paid"_s);
            line.interest = amount(o, u"interest"_s);
            line.ravvedimento = o.value(u"ravvedimento"_s).toBool();
            line.problem = o.value(u"problem"_s).toString();
            in.f24->append(line);
        }
    }
    return in;
}

QString described(const QuadraturaFinding &f)
{
    QStringList rows;
    for (const QuadraturaRowRef &r : f.rows)
        rows.append(quadraturaAreaLabel(r.area) + u'#' + QString::number(r.record));
    QStringList people;
    for (const QuadraturaPersonRef &p : f.people)
        people.append(p.fiscalCode);
    return findingLevelLabel(f.level) + u" | "_s + quadraturaAreaLabel(f.area) + u" | "_s + f.period + u" | "_s
           + f.taxCode + u" | "_s + f.text + u" | rows "_s + rows.join(u' ') + u" | people "_s + people.join(u' ')
           + u" | late "_s + QString::number(f.daysLate)
           + (f.difference() ? u" | difference "_s + f.difference()->toString(2) : QString());
}

} // namespace

// Each case: a return, the findings it must give in order (level, area,
// period, code, a part of the text and, when given, the rows, the people,
// the days late and the difference), the Information ones only when the case
// asks for them; and, when given, months of the chart.
TEST(Quadratura, EachCaseGivesItsFindings)
{
    for (const QJsonValue &value : caseFile(QStringLiteral(ELH_CASES_DIR "/reconcile.json"))) {
        const QJsonObject c = value.toObject();
        SCOPED_TRACE(c.value(u"name"_s).toString().toStdString());
        const QuadraturaReport report = reconcile(input(c));
        const bool information = c.value(u"information"_s).toBool();
        QList<QuadraturaFinding> found;
        for (const QuadraturaFinding &f : report.findings) {
            if (information || f.level != FindingLevel::Information)
                found.append(f);
        }
        const QJsonArray expected = c.value(u"findings"_s).toArray();
        QStringList all;
        for (const QuadraturaFinding &f : found)
            all.append(described(f));
        ASSERT_EQ(found.size(), expected.size()) << all.join(u'\n').toStdString();
        for (qsizetype i = 0; i < found.size(); ++i) {
            const QJsonObject e = expected[i].toObject();
            const QString actual = described(found[i]);
            const QString wanted = e.value(u"level"_s).toString() + u" | "_s + e.value(u"area"_s).toString() + u" | "_s
                                   + e.value(u"period"_s).toString() + u" | "_s + e.value(u"code"_s).toString()
                                   + u" | "_s;
            EXPECT_TRUE(actual.startsWith(wanted)) << actual.toStdString();
            for (const QString &key : {u"text"_s, u"rows"_s, u"people"_s, u"late"_s, u"difference"_s}) {
                if (!e.contains(key))
                    continue;
                const QString part =
                    key == u"text"_s ? e.value(key).toString() : u"| "_s + key + u' ' + e.value(key).toString();
                EXPECT_TRUE(actual.contains(part)) << actual.toStdString() << "\n  wants " << part.toStdString();
            }
        }
        for (const QJsonValue &m : c.value(u"chart"_s).toArray()) {
            const QJsonObject o = m.toObject();
            const auto family = static_cast<std::size_t>(o.value(u"family"_s).toInt());
            const QuadraturaMonth &month =
                report.months[family][static_cast<std::size_t>(o.value(u"month"_s).toInt() - 1)];
            EXPECT_EQ(month.withheld, amount(o, u"withheld"_s))
                << quadraturaFamilyLabel(static_cast<QuadraturaFamily>(family)).toStdString();
            EXPECT_EQ(month.paid, amount(o, u"paid"_s));
            EXPECT_EQ(month.late, o.value(u"late"_s).toBool());
        }
        EXPECT_EQ(report.count(FindingLevel::Error) + report.count(FindingLevel::Warning)
                      + report.count(FindingLevel::Information),
                  report.findings.size());
    }
}

// Each row: a year and month and the day their withholdings are due, or a
// day and whether it is a working day.
TEST(Quadratura, DueDatesAndWorkingDays)
{
    for (const QStringList &row : caseTextRows(QStringLiteral(ELH_CASES_DIR "/calendar.json"))) {
        const QString text = row.join(u' ');
        if (row[1] == u"lavorativo"_s || row[1] == u"festivo"_s) {
            const QDate day = QDate::fromString(row[0], Qt::ISODate);
            ASSERT_TRUE(day.isValid()) << text.toStdString();
            EXPECT_EQ(quadraturaWorkingDay(day), row[1] == u"lavorativo"_s) << text.toStdString();
        } else {
            EXPECT_EQ(quadraturaDueDate(row[0].toInt(), row[1].toInt()), QDate::fromString(row[2], Qt::ISODate))
                << text.toStdString();
        }
    }
}
