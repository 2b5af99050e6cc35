#include "PrintTestSupport.h"

#include "DataPaths.h"

#include <QDir>
#include <QFile>

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

PartialDataRoot::PartialDataRoot(const QStringList &files)
{
    QDir().mkpath(coordStp(QString()));
    for (const QString &f : files)
        QFile::copy(PrintFixture::templatePath(f), coordStp(f));
    DataPaths::setDataRoot(root.path() + u'/');
}

PartialDataRoot::~PartialDataRoot()
{
    DataPaths::setDataRoot(QStringLiteral(ELH_DATA_ROOT) + u'/');
}

QString PartialDataRoot::coordStp(const QString &file) const
{
    return root.file(u"USR/FL2023/Res/CoordStp/"_s + file);
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
