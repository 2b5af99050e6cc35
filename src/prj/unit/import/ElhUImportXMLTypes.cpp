#include "ElhUImportXMLTypes.h"

#include <QDir>
#include <QFile>
#include <QXmlStreamReader>

using namespace Qt::Literals::StringLiterals;

namespace {

// The section and the entry open where a malformed document breaks, so that
// the message leads the reader to the place.
QString faultContext(const QByteArray &content, QString *message, qint64 *line, qint64 *column)
{
    QXmlStreamReader reader(content);
    QString section;
    QString entry;
    while (!reader.atEnd()) {
        reader.readNext();
        if (reader.isStartElement()) {
            if (reader.name() == u"Import") {
                section = reader.attributes().value(u"Section"_s).toString();
                entry.clear();
            } else if (reader.name() == u"Field") {
                entry = reader.attributes().value(u"Index"_s).toString();
            }
        }
    }
    *message = reader.errorString();
    *line = reader.lineNumber();
    *column = reader.columnNumber();
    QString context;
    if (!section.isEmpty())
        context += u", sezione «%1»"_s.arg(section);
    if (!entry.isEmpty())
        context += u", voce «%1»"_s.arg(entry);
    return context;
}

TXMLDataImportType bind(const QDomDocument &document, const QString &fileName)
{
    const QDomElement root = document.documentElement();
    if (root.isNull())
        throw EImportDefinitionError(
            u"%1: manca l'elemento radice «DataImport»"_s.arg(importDefinitionsName(fileName)));
    if (root.tagName() != u"DataImport")
        throw EImportDefinitionError(u"%1, riga %2: l'elemento radice è «%3» invece di «DataImport»"_s.arg(
            importDefinitionsName(fileName), QString::number(root.lineNumber()), root.tagName()));
    return TXMLDataImportType(document, root);
}

} // namespace

QString importDefinitionsName(const QString &fileName)
{
    return fileName.isEmpty() ? u"Definizioni di importazione"_s
                              : u"Definizioni di importazione «%1»"_s.arg(QDir::toNativeSeparators(fileName));
}

TXMLDataImportType GetDataImport(const QDomDocument &document)
{
    return bind(document, QString());
}

TXMLDataImportType LoadDataImport(const QString &fileName)
{
    QFile file(fileName);
    if (!file.open(QIODevice::ReadOnly))
        throw EImportDefinitionError(u"Impossibile leggere il file delle definizioni di importazione «%1»: %2"_s.arg(
            QDir::toNativeSeparators(fileName), file.errorString()));
    const QByteArray content = file.readAll();
    QDomDocument document;
    if (!document.setContent(content)) {
        QString message;
        qint64 line = 0;
        qint64 column = 0;
        const QString context = faultContext(content, &message, &line, &column);
        throw EImportDefinitionError(u"%1 non valide (XML malformato), riga %2, colonna %3%4: %5"_s.arg(
            importDefinitionsName(fileName), QString::number(line), QString::number(column), context, message));
    }
    return bind(document, fileName);
}
