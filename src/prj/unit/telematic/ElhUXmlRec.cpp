#include "ElhUXmlRec.h"

#include <QFile>
#include <QFileInfo>

using namespace Qt::Literals::StringLiterals;

namespace ElhUXmlRec {

namespace {

QString where(const QString &source)
{
    return source.isEmpty() ? u"Descrittore"_s : u"Descrittore «%1»"_s.arg(QFileInfo(source).fileName());
}

} // namespace

QDomElement checkedRoot(const QDomDocument &document, const QString &source, const LayoutTags &tags)
{
    const QDomElement root = document.documentElement();
    if (root.isNull())
        throw EDescriptorError(u"%1: manca l'elemento radice «%2»"_s.arg(where(source), tags.root));
    if (root.tagName() != tags.root)
        throw EDescriptorError(u"%1, riga %2: l'elemento radice è «%3» invece di «%4»"_s.arg(
            where(source), QString::number(root.lineNumber()), root.tagName(), tags.root));
    for (const QDomElement &section : XmlNodes::childElements(root, tags.section)) {
        for (const QDomElement &field : XmlNodes::childElements(section, tags.field)) {
            const QString width = field.attribute(u"Width"_s);
            bool ok = false;
            width.trimmed().toInt(&ok);
            if (!ok)
                throw EDescriptorError(
                    u"%1, riga %2, elemento «%3» (Number «%4»): l'attributo Width «%5» non è un numero intero"_s.arg(
                        where(source), QString::number(field.lineNumber()), tags.field.toString(),
                        field.attribute(u"Number"_s), width));
        }
    }
    return root;
}

QDomDocument loadDocument(const QString &fileName)
{
    QFile file(fileName);
    if (!file.exists())
        throw EDescriptorError(u"Descrittore del record mancante: «%1»"_s.arg(fileName));
    if (!file.open(QIODevice::ReadOnly))
        throw EDescriptorError(u"Impossibile leggere il descrittore «%1»: %2"_s.arg(fileName, file.errorString()));
    QDomDocument document;
    QString message;
    int line = 0;
    int column = 0;
    if (!document.setContent(file.readAll(), &message, &line, &column))
        throw EDescriptorError(u"%1 malformato, riga %2, colonna %3: %4"_s.arg(
            where(fileName), QString::number(line), QString::number(column), message));
    return document;
}

} // namespace ElhUXmlRec

TXMLRecordZType::TXMLRecordZType(QDomDocument document, QDomElement root)
    : m_document(std::move(document))
    , m_root(std::move(root))
{
}

TXMLSectionType<LayoutFamilyZ> TXMLRecordZType::SectionZ() const
{
    return TXMLSectionType<LayoutFamilyZ>(m_root.firstChildElement(LayoutFamilyZ::tags.section.toString()));
}

TXMLRecordZType ElhUXmlRec::bindRecordZ(const QDomDocument &document, const QString &source)
{
    return TXMLRecordZType(document, checkedRoot(document, source, LayoutFamilyZ::tags));
}
