#include "DescriptorReader.h"

#include "Exceptions.h"

#include <QDir>

using namespace Qt::Literals::StringLiterals;

DescriptorReader::DescriptorReader(const QString &path, const QString &root)
    : m_path(path)
    , m_file(path)
{
    if (!m_file.open(QIODevice::ReadOnly))
        throw EInOutError(u"Il descrittore «%1» non si può leggere: %2"_s.arg(QDir::toNativeSeparators(path), m_file.errorString()));
    m_xml.setDevice(&m_file);
    if (!m_xml.readNextStartElement())
        finish();
    if (m_xml.name() != root)
        fail(u"l'elemento principale è «%1» invece di «%2»"_s.arg(m_xml.name(), root));
}

bool DescriptorReader::nextChild()
{
    return m_xml.readNextStartElement();
}

void DescriptorReader::finish()
{
    if (m_xml.hasError())
        fail(u"XML non valido: %1"_s.arg(m_xml.errorString()));
}

void DescriptorReader::fail(const QString &what) const
{
    throw EInOutError(u"Descrittore «%1», riga %2: %3"_s.arg(QDir::toNativeSeparators(m_path)).arg(m_xml.lineNumber()).arg(what));
}

QString DescriptorReader::text(const QString &attribute) const
{
    return m_xml.attributes().value(attribute).toString();
}

int DescriptorReader::requiredInt(const QString &attribute) const
{
    if (!m_xml.attributes().hasAttribute(attribute))
        fail(u"manca l'attributo %1 di %2"_s.arg(attribute, m_xml.name()));
    return optionalInt(attribute);
}

int DescriptorReader::optionalInt(const QString &attribute) const
{
    const QString value = text(attribute).trimmed();
    if (value.isEmpty())
        return 0;
    bool ok = false;
    const int n = value.toInt(&ok);
    if (!ok)
        fail(u"l'attributo %1 di %2 non è un numero intero: «%3»"_s.arg(attribute, m_xml.name(), value));
    return n;
}

double DescriptorReader::optionalReal(const QString &attribute) const
{
    const QString value = text(attribute).trimmed();
    if (value.isEmpty())
        return 0;
    const std::optional<double> n = parseReal(value);
    if (!n)
        fail(u"l'attributo %1 di %2 non è un numero: «%3»"_s.arg(attribute, m_xml.name(), value));
    return *n;
}

std::optional<double> DescriptorReader::parseReal(const QString &text)
{
    QString value = text.trimmed();
    value.replace(u',', u'.');
    bool ok = false;
    const double n = value.toDouble(&ok);
    return ok ? std::optional<double>(n) : std::nullopt;
}
