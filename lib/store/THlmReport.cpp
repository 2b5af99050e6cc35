#include "THlmReport.h"

#include "Exceptions.h"
#include "NrQuery.h"
#include "THlmQueryText.h"

#include <QFile>
#include <QXmlStreamReader>

using namespace Qt::Literals::StringLiterals;

namespace {

const QStringList kIntegerAttributes{u"IYRPTID"_s, u"IYRFOID"_s, u"IYRPTVERSION"_s};
const QStringList kTextAttributes{u"SYRPTDESC"_s, u"SYRPTNOTE"_s};
const QStringList kBlobElements{u"BYRPTREPORT"_s, u"BYRPTVAR"_s};

} // namespace

THlmReport::THlmReport()
    : m_reports(u"kbr_Report"_s)
{
    m_reports.fieldDefs().add(u"IYRFOID"_s, FieldType::Integer);
    m_reports.fieldDefs().add(u"SYRPTDESC"_s, FieldType::String, 100);
    m_reports.fieldDefs().add(u"IYRPTVERSION"_s, FieldType::Integer);
    m_reports.fieldDefs().add(u"SYRPTNOTE"_s, FieldType::String, 255);
    m_reports.fieldDefs().add(u"BYRPTREPORT"_s, FieldType::Blob);
    m_reports.fieldDefs().add(u"BYRPTVAR"_s, FieldType::Blob);
    m_reports.fieldDefs().add(u"IYRPTID"_s, FieldType::Integer);
    m_reports.createDataSet();
}

bool THlmReport::load(const QString &path)
{
    QFile file(path);
    if (!file.exists())
        return false;
    if (!file.open(QIODevice::ReadOnly))
        throw EInOutError(u"Impossibile aprire le definizioni dei report «%1»: %2"_s.arg(path, file.errorString()));
    m_reports.emptyDataSet();
    QXmlStreamReader xml(&file);
    auto fail = [&](const QString &why) {
        m_reports.cancel();
        throw EDatabaseError(u"Definizioni dei report «%1», riga %2: %3"_s.arg(path).arg(xml.lineNumber()).arg(why));
    };
    if (!xml.readNextStartElement() || xml.name() != u"Reports")
        fail(u"manca l'elemento «Reports»"_s);
    while (xml.readNextStartElement()) {
        if (xml.name() != u"Report")
            fail(u"elemento «%1» inatteso"_s.arg(xml.name()));
        m_reports.append();
        const QXmlStreamAttributes attributes = xml.attributes();
        for (const QString &name : kIntegerAttributes) {
            bool ok = false;
            const int value = attributes.value(name).toInt(&ok);
            if (!ok)
                fail(u"l'attributo %1 deve essere un numero intero"_s.arg(name));
            m_reports.fieldByName(name).setAsInteger(value);
        }
        for (const QString &name : kTextAttributes)
            m_reports.fieldByName(name).setAsString(attributes.value(name).toString());
        while (xml.readNextStartElement()) {
            const QString name = xml.name().toString();
            if (!kBlobElements.contains(name))
                fail(u"elemento «%1» inatteso"_s.arg(name));
            const auto decoded = QByteArray::fromBase64Encoding(xml.readElementText().trimmed().toLatin1(),
                                                                 QByteArray::AbortOnBase64DecodingErrors);
            if (!decoded)
                fail(u"il contenuto di %1 non è in base64"_s.arg(name));
            m_reports.fieldByName(name).setAsBytes(*decoded);
        }
        m_reports.post();
    }
    if (xml.hasError())
        fail(xml.errorString());
    m_reports.mergeChangeLog();
    m_reports.first();
    return true;
}

void THlmReport::registerReports(TNrQuery &target, const QString &path, bool sameVersionToo)
{
    if (!load(path))
        return;
    target.fetch(u"QRY_YRPT"_s);
    target.setSql(THlmQueryText::format(target.sql(), {sameVersionToo ? u"="_s : QString()}));
    for (m_reports.first(); !m_reports.eof(); m_reports.next()) {
        for (int i = 0; i < m_reports.fieldCount(); ++i) {
            const Field &f = m_reports.field(i);
            target.setParam(f.fieldName(), f.value());
        }
        target.execute();
    }
}
