#include "QuadraturaChart.h"

#include "Conversions.h"

#include <QPainter>
#include <QPainterPath>

#include <algorithm>
#include <cmath>

using namespace Qt::Literals::StringLiterals;

namespace {

const QColor kWithheld(0x7a, 0x9c, 0xc6);
const QColor kPaid(0x5e, 0xa8, 0x72);
const QColor kLate(0xc6, 0x28, 0x28);
const QColor kGrid(0xd8, 0xd8, 0xd8);
const QStringList kMonthNames{u"gen"_s, u"feb"_s, u"mar"_s, u"apr"_s, u"mag"_s, u"giu"_s,
                              u"lug"_s, u"ago"_s, u"set"_s, u"ott"_s, u"nov"_s, u"dic"_s};
constexpr int kGridLines = 4;

// The top of the scale: the largest amount brought up to 1, 2, 2.5 or 5
// times a power of ten, so that the grid lines fall on round amounts.
double scaleTop(double largest)
{
    const double magnitude = std::pow(10.0, std::floor(std::log10(largest)));
    for (const double step : {1.0, 2.0, 2.5, 5.0, 10.0}) {
        if (largest <= step * magnitude)
            return step * magnitude;
    }
    return 10.0 * magnitude;
}

void legendEntry(QPainter &painter, int &x, int y, const QColor &colour, const QString &text)
{
    const int box = painter.fontMetrics().height() - 4;
    painter.fillRect(x, y + 2, box, box, colour);
    x += box + 4;
    painter.setPen(colour == kLate ? kLate : QColor(Qt::black));
    painter.drawText(x, y + painter.fontMetrics().ascent(), text);
    x += painter.fontMetrics().horizontalAdvance(text) + 16;
}

} // namespace

QuadraturaChart::QuadraturaChart(QWidget *parent)
    : QWidget(parent)
{
    setBackgroundRole(QPalette::Base);
    setAutoFillBackground(true);
}

void QuadraturaChart::setMonths(const Months &months)
{
    m_months = months;
    update();
}

QSize QuadraturaChart::sizeHint() const
{
    return {560, 200};
}

QSize QuadraturaChart::minimumSizeHint() const
{
    return {360, 150};
}

void QuadraturaChart::paintEvent(QPaintEvent *)
{
    QPainter painter(this);
    painter.setRenderHint(QPainter::Antialiasing);
    const QFontMetrics metrics = painter.fontMetrics();
    const int line = metrics.height();

    int x = 8;
    legendEntry(painter, x, 4, kWithheld, u"Ritenute operate"_s);
    legendEntry(painter, x, 4, kPaid, u"Versato"_s);
    legendEntry(painter, x, 4, kLate, u"Mese con versamenti tardivi"_s);

    double largest = 0;
    for (const QuadraturaMonth &month : m_months)
        largest = std::max({largest, month.withheld.toDouble(), month.paid.toDouble()});
    const QRect plot = rect().adjusted(8 + metrics.horizontalAdvance(u"1.000.000"_s) + 6, line + 14, -8, -line - 8);
    if (largest <= 0 || plot.width() < 12 * 4 || plot.height() < 20) {
        painter.setPen(palette().color(QPalette::PlaceholderText));
        painter.drawText(rect().adjusted(0, line + 8, 0, 0), Qt::AlignCenter, u"Nessun importo nell'anno"_s);
        return;
    }

    const double top = scaleTop(largest);
    const auto yOf = [&](double amount) { return plot.bottom() - amount / top * plot.height(); };
    for (int g = 0; g <= kGridLines; ++g) {
        const double amount = top * g / kGridLines;
        const int y = static_cast<int>(std::lround(yOf(amount)));
        painter.setPen(kGrid);
        painter.drawLine(plot.left(), y, plot.right(), y);
        painter.setPen(palette().color(QPalette::Text));
        painter.drawText(QRect(0, y - line / 2, plot.left() - 6, line), Qt::AlignRight | Qt::AlignVCenter,
                         Conv::formatFloat(u"#,##0"_s, amount));
    }

    const double slot = plot.width() / 12.0;
    const double bar = std::max(2.0, slot * 0.32);
    for (int m = 0; m < 12; ++m) {
        const QuadraturaMonth &month = m_months.at(static_cast<std::size_t>(m));
        const double left = plot.left() + m * slot + (slot - 2 * bar) / 2;
        const double withheld = std::max(0.0, month.withheld.toDouble());
        const double paid = std::max(0.0, month.paid.toDouble());
        painter.fillRect(QRectF(left, yOf(withheld), bar, plot.bottom() - yOf(withheld)), kWithheld);
        painter.fillRect(QRectF(left + bar, yOf(paid), bar, plot.bottom() - yOf(paid)), kPaid);
        const QRect label(static_cast<int>(plot.left() + m * slot), plot.bottom() + 4, static_cast<int>(slot), line);
        QFont font = painter.font();
        font.setBold(month.late);
        painter.setFont(font);
        painter.setPen(month.late ? kLate : palette().color(QPalette::Text));
        painter.drawText(label, Qt::AlignCenter, kMonthNames.at(m));
        if (month.late) {
            // A small red mark above the month's bars.
            const double centre = left + bar;
            const double peak = std::min(yOf(withheld), yOf(paid)) - 4;
            QPainterPath mark;
            mark.moveTo(centre - 5, peak - 8);
            mark.lineTo(centre + 5, peak - 8);
            mark.lineTo(centre, peak);
            mark.closeSubpath();
            painter.fillPath(mark, kLate);
        }
    }
    painter.setPen(palette().color(QPalette::Mid));
    painter.drawLine(plot.bottomLeft(), plot.bottomRight());
}
