// Writes the template PDFs of the prints from their readable descriptions:
//   elh_maketemplates OUTPUT_FOLDER LAYOUT.json...
// "770_sempl_mod.json" becomes "770_sempl_mod.pdf". The program only reads the PDFs, so that
// they can be replaced by the official forms together with their
// descriptors.

#include "AtomicFile.h"
#include "TemplateLayout.h"

#include <QBuffer>
#include <QDir>
#include <QFileInfo>
#include <QFont>
#include <QGuiApplication>
#include <QPageSize>
#include <QPainter>
#include <QPdfWriter>
#include <QTextStream>

#include <cstdio>
#include <exception>

using namespace Qt::Literals::StringLiterals;
using TemplateLayout::Align;
using TemplateLayout::Element;
using TemplateLayout::Kind;

namespace {

const QColor kInk(40, 40, 40);
const QColor kBandFill(225, 225, 225);
const QColor kBoxFill(250, 250, 250);
const QString kFontFamily = u"DejaVu Sans Condensed"_s;

QFont font(double size, bool bold)
{
    QFont f(kFontFamily);
    f.setPointSizeF(size);
    f.setBold(bold);
    return f;
}

QRectF rect(const TemplateLayout::Rect &r)
{
    return {r.x, r.y, r.w, r.h};
}

void caption(QPainter &p, const Element &e)
{
    const QString text = QString(e.number + u' ' + e.text).trimmed();
    if (text.isEmpty())
        return;
    p.setFont(font(5, false));
    if (e.kind == Kind::Box) {
        p.drawText(QRectF(e.rect.x + 1.5, e.rect.y + 1, e.rect.w - 3, 12), static_cast<int>(Qt::AlignLeft | Qt::AlignTop) | Qt::TextWordWrap,
                   text);
    } else {
        p.drawText(QPointF(e.rect.x, e.rect.y - 1.5), text);
    }
}

void draw(QPainter &p, const Element &e)
{
    p.setPen(QPen(kInk, 0.5));
    p.setBrush(Qt::NoBrush);
    switch (e.kind) {
    case Kind::Text: {
        p.setFont(font(e.size, e.bold));
        const double width = p.fontMetrics().horizontalAdvance(e.text);
        const double x = e.align == Align::Left ? e.rect.x : e.align == Align::Right ? e.rect.x - width : e.rect.x - width / 2;
        p.drawText(QPointF(x, e.rect.y), e.text);
        return;
    }
    case Kind::Wrap: {
        p.setFont(font(e.size, e.bold));
        const Qt::Alignment a = e.align == Align::Left ? Qt::AlignLeft : e.align == Align::Right ? Qt::AlignRight : Qt::AlignHCenter;
        p.drawText(rect(e.rect).adjusted(1.5, 1, -1.5, -1), static_cast<int>(a | Qt::AlignVCenter) | Qt::TextWordWrap, e.text);
        return;
    }
    case Kind::Box:
        p.setBrush(kBoxFill);
        p.drawRect(rect(e.rect));
        caption(p, e);
        return;
    case Kind::Comb: {
        p.setBrush(kBoxFill);
        p.drawRect(rect(e.rect));
        const double cell = e.rect.w / e.cells;
        for (int i = 1; i < e.cells; ++i) {
            const double x = e.rect.x + i * cell;
            p.drawLine(QPointF(x, e.rect.y + e.rect.h * 0.5), QPointF(x, e.rect.y + e.rect.h));
        }
        caption(p, e);
        return;
    }
    case Kind::Date:
        p.setBrush(kBoxFill);
        p.drawRect(rect(e.rect));
        for (const double d : {17.0, 42.0})
            p.drawLine(QPointF(e.rect.x + d, e.rect.y + e.rect.h * 0.4), QPointF(e.rect.x + d, e.rect.y + e.rect.h));
        p.setFont(font(4.5, false));
        p.drawText(QPointF(e.rect.x + 1.5, e.rect.y + 5), u"giorno"_s);
        p.drawText(QPointF(e.rect.x + 18.5, e.rect.y + 5), u"mese"_s);
        p.drawText(QPointF(e.rect.x + 43.5, e.rect.y + 5), u"anno"_s);
        caption(p, e);
        return;
    case Kind::Band:
        p.setPen(Qt::NoPen);
        p.setBrush(kBandFill);
        p.drawRect(rect(e.rect));
        p.setPen(kInk);
        p.setFont(font(e.size, true));
        p.drawText(rect(e.rect).adjusted(4, 0, -4, 0), static_cast<int>(Qt::AlignLeft | Qt::AlignVCenter), e.text);
        return;
    case Kind::Frame:
        p.drawRect(rect(e.rect));
        return;
    case Kind::Line:
        p.setPen(QPen(kInk, e.lineWidth));
        p.drawLine(QPointF(e.rect.x, e.rect.y), QPointF(e.rect.w, e.rect.h));
        return;
    }
}

void write(const TemplateLayout::Layout &layout, const QString &path)
{
    QBuffer file;
    file.open(QIODevice::WriteOnly);
    {
        QPdfWriter writer(&file);
        writer.setResolution(72);
        writer.setCreator(u"elh770"_s);
        writer.setTitle(QFileInfo(path).fileName());
        QPainter painter;
        for (qsizetype i = 0; i < layout.pages.size(); ++i) {
            const TemplateLayout::Page &page = layout.pages[i];
            writer.setPageSize(QPageSize(QSizeF(page.width, page.height), QPageSize::Point, QString(), QPageSize::ExactMatch));
            writer.setPageMargins(QMarginsF(0, 0, 0, 0));
            if (i == 0)
                painter.begin(&writer);
            else
                writer.newPage();
            painter.setRenderHint(QPainter::Antialiasing);
            for (const Element &e : page.elements)
                draw(painter, e);
        }
        painter.end();
    }
    AtomicFile::save(path, file.data());
}

} // namespace

int main(int argc, char *argv[])
{
    QGuiApplication app(argc, argv);
    const QStringList args = app.arguments().mid(1);
    if (args.size() < 2) {
        std::fputs("Uso: elh_maketemplates CARTELLA LAYOUT.json...\n", stderr);
        return 2;
    }
    try {
        QDir().mkpath(args[0]);
        for (const QString &path : args.mid(1))
            write(TemplateLayout::load(path), args[0] + u'/' + QFileInfo(path).completeBaseName() + u".pdf"_s);
    } catch (const std::exception &e) {
        std::fprintf(stderr, "%s\n", e.what());
        return 1;
    }
    return 0;
}
