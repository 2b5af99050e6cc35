#pragma once

#include "Exceptions.h"
#include "XmlNodes.h"

#include <QDomDocument>
#include <QDomElement>
#include <QString>

// Bindings of the import definitions ("Import.xml"): a root DataImport
// holding Import sections holding Field entries holding Operation steps.
//
//   DataImport (Anno)
//     Import (Section, InputPath, OutputPath)
//       Field (Index, FromField, ToField, TypeOf, StringCase, Required,
//              DefaultValue, Descr, Op)
//         Operation (TypeOf, Field, Source, OnlyIfNull)
//
// Every attribute is text; an absent one reads as the empty text. Element
// names are matched case-sensitively. The bindings read and write the
// document in place; the import engine only reads.

// Definitions that cannot be used: not well-formed XML, another root, or an
// entry naming an engine variable that does not exist. The message names the
// file, the line and the entry.
class EImportDefinitionError : public Exception
{
public:
    using Exception::Exception;
};

// One arithmetic step applied to the value of a Field entry.
class TXMLOperationType : public TXMLNode
{
public:
    explicit TXMLOperationType(QDomElement node)
        : TXMLNode(std::move(node))
    {
    }

    QString TypeOf() const { return get(u"TypeOf"); }
    QString Field() const { return get(u"Field"); }
    QString Source() const { return get(u"Source"); }
    QString OnlyIfNull() const { return get(u"OnlyIfNull"); }

    void SetTypeOf(const QString &value) { set(u"TypeOf", value); }
    void SetField(const QString &value) { set(u"Field", value); }
    void SetSource(const QString &value) { set(u"Source", value); }
    void SetOnlyIfNull(const QString &value) { set(u"OnlyIfNull", value); }
};

// One entry of a section: a source column copied into a target column.
class TXMLFieldType : public TXMLNodeCollection<TXMLOperationType>
{
public:
    explicit TXMLFieldType(QDomElement node)
        : TXMLNodeCollection<TXMLOperationType>(std::move(node), u"Operation")
    {
    }

    QString Index() const { return get(u"Index"); }
    QString FromField() const { return get(u"FromField"); }
    QString ToField() const { return get(u"ToField"); }
    QString TypeOf() const { return get(u"TypeOf"); }
    QString StringCase() const { return get(u"StringCase"); }
    QString Required() const { return get(u"Required"); }
    QString DefaultValue() const { return get(u"DefaultValue"); }
    QString Descr() const { return get(u"Descr"); }
    QString Op() const { return get(u"Op"); }
    TXMLOperationType Operation(int index) const { return itemAt(index); }

    void SetIndex(const QString &value) { set(u"Index", value); }
    void SetFromField(const QString &value) { set(u"FromField", value); }
    void SetToField(const QString &value) { set(u"ToField", value); }
    void SetTypeOf(const QString &value) { set(u"TypeOf", value); }
    void SetStringCase(const QString &value) { set(u"StringCase", value); }
    void SetRequired(const QString &value) { set(u"Required", value); }
    void SetDefaultValue(const QString &value) { set(u"DefaultValue", value); }
    void SetDescr(const QString &value) { set(u"Descr", value); }
    void SetOp(const QString &value) { set(u"Op", value); }
};

// A named section: the entries run in order for one pair of rows.
class TXMLImportType : public TXMLNodeCollection<TXMLFieldType>
{
public:
    explicit TXMLImportType(QDomElement node)
        : TXMLNodeCollection<TXMLFieldType>(std::move(node), u"Field")
    {
    }

    QString Section() const { return get(u"Section"); }
    QString InputPath() const { return get(u"InputPath"); }
    QString OutputPath() const { return get(u"OutputPath"); }
    TXMLFieldType Field(int index) const { return itemAt(index); }

    void SetSection(const QString &value) { set(u"Section", value); }
    void SetInputPath(const QString &value) { set(u"InputPath", value); }
    void SetOutputPath(const QString &value) { set(u"OutputPath", value); }
};

// The root: every section of the definitions. It keeps its document alive.
class TXMLDataImportType : public TXMLNodeCollection<TXMLImportType>
{
public:
    TXMLDataImportType(QDomDocument document, QDomElement root)
        : TXMLNodeCollection<TXMLImportType>(std::move(root), u"Import")
        , m_document(std::move(document))
    {
    }

    QString Anno() const { return get(u"Anno"); }
    TXMLImportType Import(int index) const { return itemAt(index); }

    void SetAnno(const QString &value) { set(u"Anno", value); }

private:
    QDomDocument m_document;
};

// How messages name a definitions file: "Definizioni di importazione «path»".
QString importDefinitionsName(const QString &fileName);

// The two entry functions: bind the root of a document already open, or
// read a file and bind its root. Both raise EImportDefinitionError when the
// root is not DataImport; reading also when the file is missing or is not
// well-formed XML, naming the line, the column and the last section and
// entry opened before the fault.
TXMLDataImportType GetDataImport(const QDomDocument &document);
TXMLDataImportType LoadDataImport(const QString &fileName);
