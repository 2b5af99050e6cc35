#include "PrintTestSupport.h"

#include "DataPaths.h"

#include <algorithm>

using namespace Qt::Literals::StringLiterals;

PrintFixture::PrintFixture()
{
    DataPaths::setDataRoot(QStringLiteral(ELH_DATA_ROOT) + u'/');
    tables.append(u"TSOS_DATOSOSTITUTO"_s,
                  {QJsonObject{{u"SSOSCODFIS"_s, u"80012345676"_s}, {u"SSOSDENOM"_s, u"ISTITUTO COMPRENSIVO DI PROVA"_s}}});
}

PrintFixture::~PrintFixture()
{
    DataPaths::setDataRoot(QString());
}

QString PrintFixture::templatePath(const QString &name)
{
    return QStringLiteral(ELH_DATA_ROOT) + u"/USR/FL2023/Res/CoordStp/"_s + name;
}

QString textIn(const PdfReadBack::Page &page, double left, double right, double baseline)
{
    for (const PdfReadBack::Text &t : page.texts) {
        if (!t.rotated && t.x >= left && t.x < right && std::abs(t.baseline - baseline) < 0.5)
            return t.text;
    }
    return QString();
}

QList<PageView> viewPages(const QString &pdf, double columnLeft, double columnRight)
{
    QList<PageView> views;
    for (const PdfReadBack::Page &page : PdfReadBack::read(pdf, PrintFixture::templatePath(u"770_sempl_mod.pdf"_s))) {
        PageView v;
        v.templatePage = page.templatePage;
        v.module = textIn(page, 530, 558, 46);
        QList<PdfReadBack::Text> inColumn;
        for (const PdfReadBack::Text &t : page.texts) {
            if (!t.rotated && t.x >= columnLeft && t.x + t.width <= columnRight && t.baseline > 120)
                inColumn.append(t);
        }
        std::stable_sort(inColumn.begin(), inColumn.end(),
                         [](const PdfReadBack::Text &a, const PdfReadBack::Text &b) { return a.baseline < b.baseline; });
        for (const PdfReadBack::Text &t : inColumn)
            v.column.append(t.text);
        views.append(v);
    }
    return views;
}

QString amount(int n)
{
    return QString::number(n) + u",00"_s;
}
