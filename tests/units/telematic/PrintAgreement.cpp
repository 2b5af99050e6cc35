#include "PrintAgreement.h"

#include "Cp1252.h"
#include "ElhMProspSTPDF.h"
#include "NrFindings.h"
#include "PdfReadBack.h"
#include "TemplateLayout.h"

#include <QFile>
#include <QMap>
#include <QRegularExpression>

#include <gtest/gtest.h>

#include <algorithm>

using namespace Qt::Literals::StringLiterals;

namespace PrintAgreement {

namespace {

constexpr qsizetype kHeaderLength = 89;
constexpr qsizetype kElementLength = 24;
constexpr qsizetype kElementArea = 1889;

QString normalized(QString value)
{
    value.remove(QRegularExpression(u"\\s"_s));
    if (value == u"X")
        return u"1"_s;
    static const QRegularExpression digits(u"^[0-9]+$"_s);
    if (digits.match(value).hasMatch()) {
        value.remove(QRegularExpression(u"^0+"_s));
        return value.isEmpty() ? u"0"_s : value;
    }
    return value;
}

using Print = TdmElhProspSTPDF::Outcome (TdmElhProspSTPDF::*)(const QString &);

Print printOf(const QString &prospetto)
{
    const QMap<QString, Print> prints{{u"ST"_s, &TdmElhProspSTPDF::stampaST}, {u"SV"_s, &TdmElhProspSTPDF::stampaSV},
                                      {u"SX"_s, &TdmElhProspSTPDF::stampaSX}, {u"DI"_s, &TdmElhProspSTPDF::stampaDI},
                                      {u"SY"_s, &TdmElhProspSTPDF::stampaSY}, {u"SS"_s, &TdmElhProspSTPDF::stampaSS}};
    return prints.value(prospetto);
}

double overlap(double a0, double a1, double b0, double b1)
{
    return std::min(a1, b1) - std::max(a0, b0);
}

// The box of the layout page a drawn text stands in: the one its baseline
// falls in that it overlaps most.
const TemplateLayout::Element *boxOf(const TemplateLayout::Page &page, const PdfReadBack::Text &t)
{
    const TemplateLayout::Element *best = nullptr;
    double most = 0;
    for (const TemplateLayout::Element &e : page.elements) {
        const bool box = e.kind == TemplateLayout::Kind::Box || e.kind == TemplateLayout::Kind::Comb;
        if (!box || t.baseline < e.rect.y || t.baseline > e.rect.y + e.rect.h)
            continue;
        const double o = overlap(t.x, t.x + t.width, e.rect.x, e.rect.x + e.rect.w);
        if (o > most) {
            most = o;
            best = &e;
        }
    }
    return best;
}

} // namespace

QString Element::describe() const
{
    return u"%1 modulo %2, rigo %3 colonna %4: «%5»"_s.arg(prospetto, QString::number(module), line, point, value);
}

QList<Element> fileElements(const QString &supply)
{
    QFile file(supply);
    EXPECT_TRUE(file.open(QIODevice::ReadOnly)) << supply.toStdString();
    QList<Element> elements;
    for (QByteArray line : file.readAll().split('\n')) {
        line = line.trimmed();
        if (line.isEmpty() || !QByteArrayView("DIJ").contains(line[0]))
            continue;
        const int module = line.mid(17, 8).toInt();
        for (qsizetype at = kHeaderLength; at + kElementLength <= kElementArea; at += kElementLength) {
            const QString code = Cp1252::decode(line.mid(at, 8));
            const QString value = Cp1252::decode(line.mid(at + 8, 16));
            if (code.trimmed().isEmpty())
                break;
            const Element e{code.left(2), module, code.left(2) + QString::number(code.mid(2, 3).toInt()),
                            QString::number(code.mid(5, 3).toInt()), value.trimmed()};
            // A continuation piece goes on with the value of its field.
            if (value.startsWith(u'+') && !elements.isEmpty() && elements.last().line == e.line
                && elements.last().point == e.point && elements.last().module == module)
                elements.last().value += value.mid(1).trimmed();
            else
                elements.append(e);
        }
    }
    return elements;
}

QList<Element> printedElements(THlmDBCds &store, const QList<Element> &elements, const QString &folder)
{
    const TemplateLayout::Layout layout =
        TemplateLayout::load(QStringLiteral(ELH_SOURCE_DIR "/tools/templates/layouts/770_sempl_mod.json"));
    QStringList prospetti;
    for (const Element &e : elements) {
        if (!prospetti.contains(e.prospetto))
            prospetti.append(e.prospetto);
    }
    QList<Element> printed;
    for (const QString &prospetto : prospetti) {
        TdmElhProspSTPDF print(store, standardErrorFindings());
        const QString pdf = folder + u'/' + prospetto + u".pdf"_s;
        EXPECT_EQ((print.*printOf(prospetto))(pdf), TdmElhProspSTPDF::Outcome::Saved) << prospetto.toStdString();
        for (const PdfReadBack::Page &page :
             PdfReadBack::read(pdf, QStringLiteral(ELH_DATA_ROOT "/USR/FL2023/Res/CoordStp/770_sempl_mod.pdf"))) {
            const TemplateLayout::Page &form = layout.pages.at(page.templatePage - 1);
            // The texts of each box of a line, left to right.
            QMap<std::pair<QString, QString>, QList<PdfReadBack::Text>> boxes;
            int module = 0;
            for (const PdfReadBack::Text &t : page.texts) {
                const TemplateLayout::Element *box = t.rotated ? nullptr : boxOf(form, t);
                if (!box)
                    continue;
                if (box->text == u"Mod. N.")
                    module = t.text.toInt();
                else if (!box->line.isEmpty())
                    boxes[{box->line, box->point}].append(t);
            }
            for (auto it = boxes.begin(); it != boxes.end(); ++it) {
                std::sort(it->begin(), it->end(), [](const auto &a, const auto &b) { return a.x < b.x; });
                QString value;
                for (const PdfReadBack::Text &t : *it)
                    value += t.text;
                printed.append({prospetto, module, it.key().first, it.key().second, value});
            }
        }
    }
    return printed;
}

QStringList missingFromPrints(const QList<Element> &file, const QList<Element> &printed)
{
    QStringList missing;
    for (const Element &e : file) {
        const bool shown = std::any_of(printed.begin(), printed.end(), [&](const Element &p) {
            return p.prospetto == e.prospetto && p.module == e.module && p.line == e.line && p.point == e.point
                   && normalized(p.value) == normalized(e.value);
        });
        if (!shown)
            missing.append(e.describe());
    }
    return missing;
}

} // namespace PrintAgreement
