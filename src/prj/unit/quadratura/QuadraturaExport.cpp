#include "QuadraturaExport.h"

#include "AtomicFile.h"
#include "ClientDataSet.h"
#include "Conversions.h"
#include "DataPaths.h"
#include "HelveticaMetrics.h"
#include "PdfSyntax.h"
#include "THlkPdf.h"
#include "THlmDBCds.h"

#include <QDir>
#include <QFileInfo>

#include <algorithm>
#include <functional>
#include <vector>

using namespace Qt::Literals::StringLiterals;

namespace {

constexpr FindingLevel kLevels[] = {FindingLevel::Error, FindingLevel::Warning, FindingLevel::Information};

QString amountText(const std::optional<Decimal> &amount)
{
    return amount ? Conv::formatFloat(u"#,##0.00"_s, *amount) : QString();
}

QString daysLateText(int days)
{
    return days > 0 ? QString::number(days) : QString();
}

QString rowsText(const QuadraturaFinding &finding)
{
    QStringList rows;
    for (const QuadraturaRowRef &row : finding.rows)
        rows.append(u"%1 riga %2"_s.arg(quadraturaAreaLabel(row.area)).arg(row.record + 1));
    return rows.join(u", "_s);
}

QString peopleText(const QuadraturaFinding &finding)
{
    QStringList people;
    for (const QuadraturaPersonRef &person : finding.people)
        people.append(u"%1 (%2)"_s.arg(person.name, person.fiscalCode));
    return people.join(u", "_s);
}

// A field of the CSV, quoted when it holds the separator, a quote or a line break.
QString csvField(const QString &text)
{
    if (!text.contains(u';') && !text.contains(u'"') && !text.contains(u'\n') && !text.contains(u'\r'))
        return text;
    return u'"' + QString(text).replace(u"\""_s, u"\"\""_s) + u'"';
}

// ---- The print ----

constexpr double kPageWidth = 595.0;
constexpr double kLeft = 40.0;
constexpr double kRight = 555.0;
constexpr double kTop = 60.0;     // first baseline of a page after the first
constexpr double kBottom = 800.0; // last baseline of the body
constexpr double kFooter = 822.0;
constexpr double kLine = 10.0; // the findings' lines

using Drawing = std::function<void(THlkPdf &)>;

double textWidth(const QString &text, double size)
{
    return HelveticaMetrics::width(PdfSyntax::encodeWinAnsi(text)) * size / 1000.0;
}

// The text cut into lines no wider than `width` at that size, at blanks
// where it can, inside a word that is wider alone.
QStringList wrapped(const QString &text, double size, double width)
{
    QStringList lines;
    for (const QString &paragraph : text.split(u'\n')) {
        QString line;
        for (QString word : paragraph.split(u' ', Qt::SkipEmptyParts)) {
            const QString joined = line.isEmpty() ? word : line + u' ' + word;
            if (textWidth(joined, size) <= width) {
                line = joined;
                continue;
            }
            if (!line.isEmpty())
                lines.append(line);
            while (textWidth(word, size) > width) {
                qsizetype fit = word.size() - 1;
                while (fit > 1 && textWidth(word.left(fit), size) > width)
                    --fit;
                lines.append(word.left(fit));
                word.remove(0, fit);
            }
            line = word;
        }
        lines.append(line);
    }
    return lines;
}

// The text cut to the width, with "..." when something was left out.
QString fitted(const QString &text, double size, double width)
{
    if (textWidth(text, size) <= width)
        return text;
    QString cut = text;
    while (!cut.isEmpty() && textWidth(cut + u"..."_s, size) > width)
        cut.chop(1);
    return cut + u"..."_s;
}

// The pages are laid out before they are drawn: each page collects its
// drawings, so that the document is made with its final number of pages
// and every footer can say how many there are.
class Layout
{
public:
    double y = 0.0; // the baseline reached on the current page

    void draw(Drawing drawing) { m_pages.back().push_back(std::move(drawing)); }
    void text(double x, double baseline, double size, const QString &value,
              THlkPdf::Alignment alignment = THlkPdf::Alignment::Left)
    {
        draw([=](THlkPdf &pdf) {
            pdf.SetTextSize(size);
            pdf.NrDrawText(qRound(x), qRound(baseline), value, 0.0, alignment);
        });
    }
    void box(double left, double top, double width, double height, int options)
    {
        draw([=](THlkPdf &pdf) { pdf.Check(pdf.DrawBox(left, top, width, height, options), u"Riquadro"_s); });
    }
    void rule(double top) { box(kLeft, top, kRight - kLeft, 0.5, 1); }

    // Room for `height` below the current baseline, on a new page when
    // this one has not enough; the page's heading is drawn by `heading`.
    void need(double height)
    {
        if (y + height <= kBottom)
            return;
        m_pages.emplace_back();
        y = kTop;
        if (m_heading)
            m_heading();
    }
    void setHeading(std::function<void()> heading) { m_heading = std::move(heading); }

    int pageCount() const { return static_cast<int>(m_pages.size()); }
    const std::vector<Drawing> &page(int index) const { return m_pages[static_cast<std::size_t>(index)]; }

private:
    std::vector<std::vector<Drawing>> m_pages{1};
    std::function<void()> m_heading;
};

void section(Layout &layout, const QString &title)
{
    layout.need(34.0);
    layout.y += 24.0;
    layout.text(kLeft, layout.y, 11.0, title);
    layout.rule(layout.y + 3.0);
    layout.y += 6.0;
}

void summary(Layout &layout, const QuadraturaReport &report)
{
    section(layout, u"Riepilogo per area"_s);
    constexpr double kColumns[] = {330.0, 420.0, 510.0};
    const QString heads[] = {u"Errori"_s, u"Avvisi"_s, u"Informazioni"_s};
    layout.y += 14.0;
    layout.text(kLeft, layout.y, 8.0, u"Area"_s);
    for (int c = 0; c < 3; ++c)
        layout.text(kColumns[c], layout.y, 8.0, heads[c], THlkPdf::Alignment::Right);
    for (int a = 0; a < kQuadraturaAreas; ++a) {
        const auto area = static_cast<QuadraturaArea>(a);
        layout.y += 13.0;
        layout.text(kLeft, layout.y, 9.0, quadraturaAreaLabel(area));
        for (int c = 0; c < 3; ++c)
            layout.text(kColumns[c], layout.y, 9.0, QString::number(report.count(area, kLevels[c])),
                        THlkPdf::Alignment::Right);
    }
    layout.rule(layout.y + 4.0);
    layout.y += 15.0;
    layout.text(kLeft, layout.y, 9.0, u"Totale"_s);
    for (int c = 0; c < 3; ++c)
        layout.text(kColumns[c], layout.y, 9.0, QString::number(report.count(kLevels[c])), THlkPdf::Alignment::Right);
}

// For each family twelve pairs of bars, the withholdings of the month as an
// outline and the payments as a filled bar, on the family's own scale; a
// month paid late is marked under its name.
void chart(Layout &layout, const QuadraturaReport &report)
{
    section(layout, u"Andamento dell'anno %1: ritenute operate e versate"_s.arg(report.year));
    static const QString kMonths[] = {u"Gen"_s, u"Feb"_s, u"Mar"_s, u"Apr"_s, u"Mag"_s, u"Giu"_s,
                                      u"Lug"_s, u"Ago"_s, u"Set"_s, u"Ott"_s, u"Nov"_s, u"Dic"_s};
    constexpr double kPlotLeft = kLeft + 60.0;
    constexpr double kSlot = (kRight - kPlotLeft) / 12.0;
    constexpr double kBar = 12.0;
    constexpr double kPlotHeight = 48.0;

    layout.y += 14.0;
    layout.box(kLeft, layout.y - 7.0, 10.0, 7.0, 0);
    layout.text(kLeft + 14.0, layout.y, 8.0, u"Ritenute operate"_s);
    layout.box(kLeft + 110.0, layout.y - 7.0, 10.0, 7.0, 1);
    layout.text(kLeft + 124.0, layout.y, 8.0, u"Importo versato"_s);
    layout.text(kLeft + 220.0, layout.y, 8.0, u"tardivo: mese con versamenti oltre la scadenza"_s);

    for (int f = 0; f < kQuadraturaFamilies; ++f) {
        const auto &months = report.months[static_cast<std::size_t>(f)];
        layout.need(kPlotHeight + 44.0);
        layout.y += 18.0;
        layout.text(kLeft, layout.y, 9.0, quadraturaFamilyLabel(static_cast<QuadraturaFamily>(f)));
        const double top = layout.y + 4.0;
        const double bottom = top + kPlotHeight;
        Decimal highest;
        for (const QuadraturaMonth &m : months)
            highest = std::max({highest, m.withheld, m.paid});
        layout.box(kPlotLeft, bottom, kRight - kPlotLeft, 0.5, 1);
        if (highest.isZero()) {
            layout.text(kPlotLeft + 4.0, bottom - 4.0, 7.0, u"Nessun importo nell'anno"_s);
        } else {
            layout.text(kPlotLeft - 4.0, top + 6.0, 6.0, Conv::formatFloat(u"#,##0.00"_s, highest),
                        THlkPdf::Alignment::Right);
            layout.text(kPlotLeft - 4.0, bottom, 6.0, u"0"_s, THlkPdf::Alignment::Right);
        }
        for (int m = 0; m < 12; ++m) {
            const QuadraturaMonth &month = months[static_cast<std::size_t>(m)];
            const double slot = kPlotLeft + m * kSlot;
            const auto bar = [&](Decimal amount, double left, int options) {
                if (amount <= Decimal())
                    return;
                const double height = std::max(0.5, kPlotHeight * amount.toDouble() / highest.toDouble());
                layout.box(left, bottom - height, kBar, height, options);
            };
            bar(month.withheld, slot + kSlot / 2.0 - kBar - 1.0, 0);
            bar(month.paid, slot + kSlot / 2.0 + 1.0, 1);
            layout.text(slot + kSlot / 2.0, bottom + 9.0, 7.0, kMonths[m], THlkPdf::Alignment::Centre);
            if (month.late)
                layout.text(slot + kSlot / 2.0, bottom + 17.0, 6.0, u"tardivo"_s, THlkPdf::Alignment::Centre);
        }
        layout.y = bottom + 17.0;
    }
}

// The columns of a finding's first line.
struct Column
{
    double x;
    THlkPdf::Alignment alignment;
    const char16_t *head;
};
constexpr Column kColumns[] = {
    {kLeft, THlkPdf::Alignment::Left, u"Livello"},        {100.0, THlkPdf::Alignment::Left, u"Area"},
    {158.0, THlkPdf::Alignment::Left, u"Periodo"},        {200.0, THlkPdf::Alignment::Left, u"Codice"},
    {238.0, THlkPdf::Alignment::Left, u"Regione/Comune"}, {392.0, THlkPdf::Alignment::Right, u"Atteso"},
    {450.0, THlkPdf::Alignment::Right, u"Trovato"},       {508.0, THlkPdf::Alignment::Right, u"Differenza"},
    {kRight, THlkPdf::Alignment::Right, u"Ritardo"},
};
constexpr double kPlaceWidth = 100.0;
constexpr double kIndent = kLeft + 12.0;

void columnHeads(Layout &layout)
{
    layout.y += 12.0;
    for (const Column &c : kColumns)
        layout.text(c.x, layout.y, 7.0, QString::fromUtf16(c.head), c.alignment);
    layout.rule(layout.y + 3.0);
    layout.y += 3.0;
}

void findings(Layout &layout, const QuadraturaReport &report)
{
    section(layout, u"Segnalazioni (%1)"_s.arg(report.findings.size()));
    if (report.findings.isEmpty()) {
        layout.y += 14.0;
        layout.text(kLeft, layout.y, 9.0, u"Nessuna segnalazione: la dichiarazione quadra."_s);
        return;
    }
    layout.need(2.0 * kLine + 15.0);
    columnHeads(layout);
    layout.setHeading([&layout] { columnHeads(layout); });
    for (const QuadraturaFinding &f : report.findings) {
        const QStringList text = wrapped(f.text, 8.0, kRight - kIndent);
        QStringList refs;
        if (!f.rows.isEmpty())
            refs += wrapped(u"Righe: "_s + rowsText(f), 7.0, kRight - kIndent);
        if (!f.people.isEmpty())
            refs += wrapped(u"Persone: "_s + peopleText(f), 7.0, kRight - kIndent);
        // The first line never stands alone at the foot of a page.
        layout.need(4.0 + 2.0 * kLine);
        layout.y += 4.0 + kLine;
        const QString values[] = {findingLevelLabel(f.level),
                                  quadraturaAreaLabel(f.area),
                                  f.period,
                                  f.taxCode,
                                  fitted(f.place, 8.0, kPlaceWidth),
                                  amountText(f.expected),
                                  amountText(f.found),
                                  amountText(f.difference()),
                                  f.daysLate > 0 ? u"%1 gg"_s.arg(f.daysLate) : QString()};
        for (std::size_t c = 0; c < std::size(kColumns); ++c)
            layout.text(kColumns[c].x, layout.y, 8.0, values[c], kColumns[c].alignment);
        for (const QString &line : text) {
            layout.need(kLine);
            layout.y += kLine;
            layout.text(kIndent, layout.y, 8.0, line);
        }
        for (const QString &line : refs) {
            layout.need(kLine);
            layout.y += kLine - 1.0;
            layout.text(kIndent, layout.y, 7.0, line);
        }
    }
    layout.setHeading({});
}

} // namespace

QString quadraturaFindingLine(const QuadraturaFinding &finding)
{
    QString line = findingLevelLabel(finding.level) + u" ["_s + quadraturaAreaLabel(finding.area) + u']';
    for (const QString &part : {finding.period, finding.taxCode}) {
        if (!part.isEmpty())
            line += u' ' + part;
    }
    return line + u": "_s + finding.text;
}

QString quadraturaCountsLine(const QuadraturaReport &report)
{
    return u"Quadratura: %1 errori, %2 avvisi, %3 informazioni"_s.arg(report.count(FindingLevel::Error))
        .arg(report.count(FindingLevel::Warning))
        .arg(report.count(FindingLevel::Information));
}

QString quadraturaMemoLine(const QuadraturaReport &report)
{
    return u"Quadratura: %1 errori, %2 avvisi — vedere la finestra Quadratura"_s.arg(report.count(FindingLevel::Error))
        .arg(report.count(FindingLevel::Warning));
}

QString quadraturaFailureLine(const QString &reason)
{
    const QString own = u"Quadratura: "_s;
    return u"Quadratura non eseguita: "_s + (reason.startsWith(own) ? reason.mid(own.size()) : reason);
}

QString quadraturaSchool(THlmDBCds &store)
{
    ClientDataSet agent;
    store.open(agent, u"TSOS_DATOSOSTITUTO"_s);
    if (agent.isEmpty())
        return QString();
    const QString name = agent.fieldByName(u"SSOSDENOM"_s).asString().trimmed();
    const QString code = agent.fieldByName(u"SSOSCODFIS"_s).asString().trimmed();
    return code.isEmpty() ? name : u"%1 - C.F. %2"_s.arg(name, code);
}

void writeQuadraturaCsv(const QuadraturaReport &report, const QString &fileName)
{
    QString text = u"Livello;Area;Periodo;Codice tributo;Regione o comune;Atteso;Trovato;Differenza;"
                   u"Giorni di ritardo;Descrizione;Righe;Persone\r\n"_s;
    for (const QuadraturaFinding &f : report.findings) {
        const QString fields[] = {findingLevelLabel(f.level),
                                  quadraturaAreaLabel(f.area),
                                  f.period,
                                  f.taxCode,
                                  f.place,
                                  amountText(f.expected),
                                  amountText(f.found),
                                  amountText(f.difference()),
                                  daysLateText(f.daysLate),
                                  f.text,
                                  rowsText(f),
                                  peopleText(f)};
        QStringList line;
        for (const QString &field : fields)
            line.append(csvField(field));
        text += line.join(u';') + u"\r\n"_s;
    }
    const QByteArray bytes = QByteArray("\xEF\xBB\xBF") + text.toUtf8();
    AtomicFile::save(fileName, bytes);
}

void printQuadratura(const QuadraturaReport &report, const QString &fileName, const QString &school)
{
    Layout layout;
    layout.y = 50.0;
    layout.text(kLeft, layout.y, 16.0, u"Quadratura"_s);
    layout.y += 18.0;
    layout.text(kLeft, layout.y, 10.0, school);
    layout.y += 14.0;
    layout.text(kLeft, layout.y, 10.0, u"Modello 770/%1 - Redditi %2"_s.arg(report.year + 1).arg(report.year));
    layout.rule(layout.y + 6.0);
    summary(layout, report);
    chart(layout, report);
    findings(layout, report);

    THlkPdf pdf;
    pdf.SetLastOperation(u"Stampa della quadratura in «%1»"_s.arg(QDir::toNativeSeparators(fileName)));
    const int document = pdf.NewDocument();
    pdf.Check(pdf.SetOrigin(1), u"Origine"_s);
    const int pages = layout.pageCount();
    if (pages > 1) {
        QStringList copies(pages - 1, u"1"_s);
        pdf.Check(pdf.CopyPageRanges(document, copies.join(u',')), u"Pagine"_s);
    }
    const QString running = u"Quadratura %1 - %2"_s.arg(report.year).arg(school);
    for (int p = 1; p <= pages; ++p) {
        pdf.Check(pdf.SelectPage(p), u"Pagina %1"_s.arg(p));
        if (p > 1) {
            pdf.SetTextSize(8.0);
            pdf.NrDrawText(qRound(kLeft), 36, fitted(running, 8.0, kRight - kLeft), 0.0, THlkPdf::Alignment::Left);
        }
        for (const Drawing &drawing : layout.page(p - 1))
            drawing(pdf);
        pdf.SetTextSize(7.0);
        pdf.NrDrawText(qRound(kPageWidth / 2.0), qRound(kFooter), u"Pagina %1 di %2"_s.arg(p).arg(pages), 0.0,
                       THlkPdf::Alignment::Centre);
    }
    const QString folder = QFileInfo(fileName).absolutePath();
    if (!QDir().mkpath(folder))
        throw EInOutError(u"Impossibile creare la cartella «%1» della stampa."_s.arg(QDir::toNativeSeparators(folder)));
    pdf.Check(pdf.SaveToFile(fileName), u"Salvataggio di «%1»"_s.arg(QDir::toNativeSeparators(fileName)));
}

QString quadraturaPrintFile()
{
    return DataPaths::fromRoot(u"USR\\FL2023\\Stp\\Quadratura.pdf"_s);
}
