#include "TemplateLayout.h"

#include <QFile>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>

#include <stdexcept>

using namespace Qt::Literals::StringLiterals;

namespace TemplateLayout {

namespace {

class Reader
{
public:
    explicit Reader(QString path)
        : m_path(std::move(path))
    {
    }

    [[noreturn]] void fail(const QString &what) const
    {
        throw std::runtime_error(u"%1: %2"_s.arg(m_path, what).toStdString());
    }

    QList<double> numbers(const QJsonValue &value, int count, const QString &what) const
    {
        const QJsonArray a = value.toArray();
        if (a.size() != count)
            fail(u"%1 vuole %2 numeri"_s.arg(what).arg(count));
        QList<double> n;
        for (const QJsonValue &v : a) {
            if (!v.isDouble())
                fail(u"%1 vuole numeri"_s.arg(what));
            n.append(v.toDouble());
        }
        return n;
    }

    Align align(const QJsonObject &o) const
    {
        const QString a = o.value(u"align"_s).toString(u"left"_s);
        if (a == u"left")
            return Align::Left;
        if (a == u"center")
            return Align::Centre;
        if (a == u"right")
            return Align::Right;
        fail(u"allineamento sconosciuto «%1»"_s.arg(a));
    }

    void element(const QJsonObject &o, Page &page) const
    {
        Element e;
        e.size = o.value(u"size"_s).toDouble(8);
        e.bold = o.value(u"bold"_s).toBool();
        e.number = o.value(u"number"_s).toString();
        e.line = o.value(u"line"_s).toString();
        e.point = o.value(u"point"_s).toString(e.number);
        if (o.contains(u"text"_s) && o.contains(u"at"_s)) {
            const QList<double> at = numbers(o[u"at"_s], 2, u"at"_s);
            e.kind = Kind::Text;
            e.text = o[u"text"_s].toString();
            e.rect = {at[0], at[1], 0, 0};
            e.align = align(o);
        } else if (o.contains(u"wrap"_s)) {
            const QList<double> r = numbers(o[u"rect"_s], 4, u"rect"_s);
            e.kind = Kind::Wrap;
            e.text = o[u"wrap"_s].toString();
            e.rect = {r[0], r[1], r[2], r[3]};
            e.align = align(o);
        } else if (o.contains(u"box"_s)) {
            const QList<double> r = numbers(o[u"box"_s], 4, u"box"_s);
            e.kind = Kind::Box;
            e.text = o.value(u"label"_s).toString();
            e.rect = {r[0], r[1], r[2], r[3]};
        } else if (o.contains(u"comb"_s)) {
            const QList<double> r = numbers(o[u"comb"_s], 5, u"comb"_s);
            e.kind = Kind::Comb;
            e.text = o.value(u"label"_s).toString();
            e.cells = static_cast<int>(r[2]);
            e.rect = {r[0], r[1], r[2] * r[3], r[4]};
        } else if (o.contains(u"date"_s)) {
            const QList<double> r = numbers(o[u"date"_s], 3, u"date"_s);
            e.kind = Kind::Date;
            e.text = o.value(u"label"_s).toString();
            e.rect = {r[0], r[1], 72, r[2]};
        } else if (o.contains(u"band"_s)) {
            const QList<double> r = numbers(o[u"band"_s], 4, u"band"_s);
            e.kind = Kind::Band;
            e.text = o.value(u"text"_s).toString();
            e.rect = {r[0], r[1], r[2], r[3]};
        } else if (o.contains(u"frame"_s)) {
            const QList<double> r = numbers(o[u"frame"_s], 4, u"frame"_s);
            e.kind = Kind::Frame;
            e.rect = {r[0], r[1], r[2], r[3]};
        } else if (o.contains(u"line"_s)) {
            const QList<double> r = numbers(o[u"line"_s], 4, u"line"_s);
            e.kind = Kind::Line;
            e.rect = {r[0], r[1], r[2], r[3]};
            e.lineWidth = o.value(u"width"_s).toDouble(0.5);
        } else if (o.contains(u"table"_s)) {
            table(o[u"table"_s].toObject(), page);
            return;
        } else {
            fail(u"elemento sconosciuto: %1"_s.arg(QString::fromUtf8(QJsonDocument(o).toJson(QJsonDocument::Compact))));
        }
        page.elements.append(e);
    }

    void table(const QJsonObject &t, Page &page) const
    {
        const double top = t[u"top"_s].toDouble();
        const double rowHeight = t[u"rowHeight"_s].toDouble();
        const int rows = t[u"rows"_s].toInt();
        const bool inside = t.value(u"captionsInside"_s).toBool();
        const QJsonArray columns = t[u"columns"_s].toArray();
        if (rowHeight <= 0 || rows <= 0 || columns.isEmpty())
            fail(u"tabella senza righe o colonne"_s);
        QList<std::pair<int, double>> extra;
        for (const QJsonValue &v : t.value(u"extra"_s).toArray()) {
            const QList<double> n = numbers(v, 2, u"extra"_s);
            extra.append({static_cast<int>(n[0]), n[1]});
        }
        if (t.contains(u"head"_s)) {
            const QList<double> head = numbers(t[u"head"_s], 2, u"head"_s);
            for (const QJsonValue &v : columns) {
                const QJsonObject c = v.toObject();
                Element h;
                h.kind = Kind::Wrap;
                h.text = QString(c.value(u"number"_s).toString() + u' ' + c.value(u"head"_s).toString()).trimmed();
                h.size = t.value(u"headSize"_s).toDouble(6);
                h.align = Align::Centre;
                h.rect = {c[u"x"_s].toDouble(), head[0] + c.value(u"headDy"_s).toDouble(0), c[u"w"_s].toDouble(),
                          c.value(u"headH"_s).toDouble(head[1])};
                Element frame;
                frame.kind = Kind::Frame;
                frame.rect = h.rect;
                page.elements.append(frame);
                page.elements.append(h);
            }
        }
        for (int i = 0; i < rows; ++i) {
            double offset = 0;
            for (const auto &[row, points] : extra) {
                if (row <= i)
                    offset = points;
            }
            const double y = top + i * rowHeight + offset;
            const QString rowLabel =
                t.contains(u"label"_s) ? t[u"label"_s].toString().arg(t.value(u"labelFrom"_s).toInt(1) + i) : QString();
            if (!rowLabel.isEmpty()) {
                const QList<double> at = numbers(t[u"labelAt"_s], 2, u"labelAt"_s);
                Element label;
                label.kind = Kind::Text;
                label.bold = true;
                label.size = 7;
                label.align = Align::Centre;
                label.text = rowLabel;
                label.rect = {at[0] + at[1] / 2, y + rowHeight / 2 + 2.5, 0, 0};
                page.elements.append(label);
            }
            for (const QJsonValue &v : columns) {
                const QJsonObject c = v.toObject();
                Element box;
                box.line = rowLabel;
                box.point = c.value(u"point"_s).toString(c.value(u"number"_s).toString());
                box.kind = Kind::Box;
                box.cells = c.value(u"cells"_s).toInt(0);
                if (box.cells > 0)
                    box.kind = Kind::Comb;
                if (inside) {
                    box.number = c.value(u"number"_s).toString();
                    box.text = c.value(u"head"_s).toString();
                }
                box.rect = {c[u"x"_s].toDouble(), y + c.value(u"dy"_s).toDouble(0), c[u"w"_s].toDouble(),
                            c.value(u"h"_s).toDouble(rowHeight)};
                page.elements.append(box);
            }
        }
    }

private:
    QString m_path;
};

} // namespace

bool Rect::contains(const Rect &other, double tolerance) const
{
    return other.x >= x - tolerance && other.y >= y - tolerance && other.x + other.w <= x + w + tolerance
        && other.y + other.h <= y + h + tolerance;
}

QList<Rect> Page::fieldBoxes() const
{
    QList<Rect> boxes;
    for (const Element &e : elements) {
        if (e.kind == Kind::Box || e.kind == Kind::Comb || e.kind == Kind::Date)
            boxes.append(e.rect);
    }
    return boxes;
}

Layout load(const QString &path)
{
    const Reader reader(path);
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        reader.fail(file.errorString());
    QJsonParseError error;
    const QJsonDocument doc = QJsonDocument::fromJson(file.readAll(), &error);
    if (doc.isNull())
        reader.fail(error.errorString());
    Layout layout;
    for (const QJsonValue &p : doc[u"pages"_s].toArray()) {
        const QJsonObject o = p.toObject();
        Page page;
        if (o.contains(u"size"_s)) {
            const QList<double> size = reader.numbers(o[u"size"_s], 2, u"size"_s);
            page.width = size[0];
            page.height = size[1];
        }
        for (const QJsonValue &e : o[u"elements"_s].toArray())
            reader.element(e.toObject(), page);
        layout.pages.append(page);
    }
    if (layout.pages.isEmpty())
        reader.fail(u"mancano le pagine"_s);
    return layout;
}

} // namespace TemplateLayout
