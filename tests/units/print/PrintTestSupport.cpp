#include "PrintTestSupport.h"

#include "CdsExchange.h"
#include "ClientDataSet.h"
#include "DatabaseSetup.h"
#include "NrTransaction.h"
#include "ReturnCatalogue.h"

#include <QDir>
#include <QDirIterator>
#include <QFile>
#include <QJsonArray>
#include <QJsonDocument>

#include <algorithm>
#include <stdexcept>

using namespace Qt::Literals::StringLiterals;

PrintFixture::PrintFixture(bool withAgent)
{
    QDir().mkpath(coordStp(QString()));
    QDirIterator delivered(templatePath(QString()), QDir::Files);
    while (delivered.hasNext()) {
        const QString from = delivered.next();
        QFile::copy(from, coordStp(QFileInfo(from).fileName()));
    }
    m_connection.setFindings(findings);
    if (!m_connection.createDatabase())
        throw std::runtime_error("database not opened: " + findings.texts().join(u'\n').toStdString());
    const ReturnCatalogue catalogue =
        ReturnCatalogue::load(QStringLiteral(ELH_DATA_ROOT) + u"/USR/FL2023/DbIniziale/Catalogo.json"_s);
    TNrTransaction transaction(m_connection);
    transaction.StartTransaction();
    DatabaseSetup(m_connection)
        .createStructures(catalogue, {DatabaseSetup::kDemoPreviousYear, DatabaseSetup::kDemoYear});
    transaction.Commit();
    store.setConnection(&m_connection);
    store.setFindings(findings);
    if (withAgent) {
        append(u"TSOS_DATOSOSTITUTO"_s, {QJsonObject{{u"SSOSCODFIS"_s, u"80012345676"_s},
                                                     {u"SSOSDENOM"_s, u"ISTITUTO COMPRENSIVO DI PROVA"_s}}});
    }
}

void PrintFixture::append(const QString &table, const QList<QJsonObject> &records)
{
    ClientDataSet ds(table);
    store.open(ds, table);
    QJsonArray array;
    for (const QJsonObject &r : records)
        array.append(r);
    CdsExchange::appendJsonRecords(ds, QJsonDocument(QJsonObject{{u"records"_s, array}}).toJson(), table);
    store.save(ds, table);
}

QString PrintFixture::saved(TdmElhProspSTPDF::Outcome (TdmElhProspSTPDF::*print)(const QString &), const QString &name)
{
    TdmElhProspSTPDF module(store, findings);
    const QString out = file(name);
    EXPECT_EQ((module.*print)(out), TdmElhProspSTPDF::Outcome::Saved) << name.toStdString();
    return out;
}

QString PrintFixture::coordStp(const QString &file) const
{
    return m_installation.root() + u"USR/FL2023/Res/CoordStp/"_s + file;
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
        std::stable_sort(inColumn.begin(), inColumn.end(), [](const PdfReadBack::Text &a, const PdfReadBack::Text &b) {
            return a.baseline < b.baseline;
        });
        for (const PdfReadBack::Text &t : inColumn)
            v.column.append(t.text);
        views.append(v);
    }
    return views;
}
