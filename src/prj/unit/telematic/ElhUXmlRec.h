#pragma once

#include "Exceptions.h"
#include "XmlNodes.h"

#include <QDomDocument>
#include <QDomElement>
#include <QString>
#include <QStringView>

#include <vector>

// Bindings of the record layout descriptors of the supply file
// ("Record_A.xml" ... "Record_Z.xml"). There are five document shapes, one
// per layout family; each is a root holding sections holding fields:
//
//   family A  RecordA  > SectionA (Text)                 > CampoA
//   family B  RecordB  > SectionB (Text)                 > CampoB
//   family E  RecordE  > SectionE (Text, Repeat)         > CampoE   records D and I
//   family J  RecordJ  > SectionJ (Text, Repeat, Cds)    > CampoJ
//   family Z  RecordZ  > one SectionZ (Text)             > CampoZ   (no Cds, no Field)
//
// A field carries Number, Description, Width, Format, Info, Fixed, Cds and
// Field, all text except Width. Names are matched case-sensitively. The
// bindings read and write the document in place; the generator only reads.

// A descriptor that is missing, malformed or of the wrong family. The message
// names the file, the line and the element.
class EDescriptorError : public Exception
{
public:
    using Exception::Exception;
};

enum class LayoutFamily { A, B, E, J, Z };

// The element names of a family's documents.
struct LayoutTags
{
    QStringView root, section, field;
};

inline constexpr LayoutTags kLayoutTags[] = {
    {u"RecordA", u"SectionA", u"CampoA"}, {u"RecordB", u"SectionB", u"CampoB"}, {u"RecordE", u"SectionE", u"CampoE"},
    {u"RecordJ", u"SectionJ", u"CampoJ"}, {u"RecordZ", u"SectionZ", u"CampoZ"},
};

template<LayoutFamily K>
struct LayoutFamilyOf
{
    static constexpr LayoutFamily kind = K;
    static constexpr LayoutTags tags = kLayoutTags[static_cast<int>(K)];
};

using LayoutFamilyA = LayoutFamilyOf<LayoutFamily::A>;
using LayoutFamilyB = LayoutFamilyOf<LayoutFamily::B>;
using LayoutFamilyE = LayoutFamilyOf<LayoutFamily::E>;
using LayoutFamilyJ = LayoutFamilyOf<LayoutFamily::J>;
using LayoutFamilyZ = LayoutFamilyOf<LayoutFamily::Z>;

// Families whose fields name a source dataset and field.
template<class F>
concept SourcedFamily = F::kind != LayoutFamily::Z;
// Families whose sections repeat.
template<class F>
concept RepeatedFamily = F::kind == LayoutFamily::E || F::kind == LayoutFamily::J;

namespace ElhUXmlRec {

// Checks that the document's root is `rootTag` and that every field under
// it has an integer Width; `source` names the document in the messages.
QDomElement checkedRoot(const QDomDocument &document, const QString &source, const LayoutTags &tags);
// Reads and parses a descriptor file.
QDomDocument loadDocument(const QString &fileName);

} // namespace ElhUXmlRec

// A field of a layout descriptor (CampoA ... CampoZ).
template<class F>
class TXMLCampoType : public TXMLNode
{
public:
    explicit TXMLCampoType(QDomElement node)
        : TXMLNode(std::move(node))
    {
    }

    QString Number() const { return get(u"Number"); }
    QString Description() const { return get(u"Description"); }
    // Checked to be a whole number when the descriptor was bound.
    int Width() const { return get(u"Width").trimmed().toInt(); }
    QString Format() const { return get(u"Format"); }
    QString Info() const { return get(u"Info"); }
    QString Fixed() const { return get(u"Fixed"); }
    QString Cds() const
        requires SourcedFamily<F>
    {
        return get(u"Cds");
    }
    QString Field() const
        requires SourcedFamily<F>
    {
        return get(u"Field");
    }

    void SetNumber(const QString &value) { set(u"Number", value); }
    void SetDescription(const QString &value) { set(u"Description", value); }
    void SetWidth(int value) { set(u"Width", QString::number(value)); }
    void SetFormat(const QString &value) { set(u"Format", value); }
    void SetInfo(const QString &value) { set(u"Info", value); }
    void SetFixed(const QString &value) { set(u"Fixed", value); }
    void SetCds(const QString &value)
        requires SourcedFamily<F>
    {
        set(u"Cds", value);
    }
    void SetField(const QString &value)
        requires SourcedFamily<F>
    {
        set(u"Field", value);
    }
};

// A section: its title, for families E and J how it repeats, for family J
// the dataset it repeats over, and its fields.
template<class F>
class TXMLSectionType : public TXMLNodeCollection<TXMLCampoType<F>>
{
public:
    explicit TXMLSectionType(QDomElement node)
        : TXMLNodeCollection<TXMLCampoType<F>>(std::move(node), F::tags.field)
    {
    }

    QString Text() const { return this->get(u"Text"); }
    QString Repeat() const
        requires RepeatedFamily<F>
    {
        return this->get(u"Repeat");
    }
    QString Cds() const
        requires(F::kind == LayoutFamily::J)
    {
        return this->get(u"Cds");
    }
    TXMLCampoType<F> Campo(int index) const { return this->itemAt(index); }

    void SetText(const QString &value) { this->set(u"Text", value); }
    void SetRepeat(const QString &value)
        requires RepeatedFamily<F>
    {
        this->set(u"Repeat", value);
    }
    void SetCds(const QString &value)
        requires(F::kind == LayoutFamily::J)
    {
        this->set(u"Cds", value);
    }
};

// The root of a descriptor of family A, B, E or J: its sections in order.
// It keeps its document alive.
template<class F>
class TXMLRecordType : public TXMLNodeCollection<TXMLSectionType<F>>
{
public:
    TXMLRecordType(QDomDocument document, QDomElement root)
        : TXMLNodeCollection<TXMLSectionType<F>>(std::move(root), F::tags.section)
        , m_document(std::move(document))
    {
    }

    TXMLSectionType<F> Section(int index) const { return this->itemAt(index); }

private:
    QDomDocument m_document;
};

// The root of a descriptor of family Z: one section. A root holding several
// is read through the first.
class TXMLRecordZType
{
public:
    TXMLRecordZType(QDomDocument document, QDomElement root);
    TXMLSectionType<LayoutFamilyZ> SectionZ() const;

private:
    QDomDocument m_document;
    QDomElement m_root;
};

using TXMLRecordAType = TXMLRecordType<LayoutFamilyA>;
using TXMLSectionAType = TXMLSectionType<LayoutFamilyA>;
using TXMLCampoAType = TXMLCampoType<LayoutFamilyA>;
using TXMLRecordBType = TXMLRecordType<LayoutFamilyB>;
using TXMLSectionBType = TXMLSectionType<LayoutFamilyB>;
using TXMLCampoBType = TXMLCampoType<LayoutFamilyB>;
using TXMLRecordEType = TXMLRecordType<LayoutFamilyE>;
using TXMLSectionEType = TXMLSectionType<LayoutFamilyE>;
using TXMLCampoEType = TXMLCampoType<LayoutFamilyE>;
using TXMLRecordJType = TXMLRecordType<LayoutFamilyJ>;
using TXMLSectionJType = TXMLSectionType<LayoutFamilyJ>;
using TXMLCampoJType = TXMLCampoType<LayoutFamilyJ>;
using TXMLSectionZType = TXMLSectionType<LayoutFamilyZ>;
using TXMLCampoZType = TXMLCampoType<LayoutFamilyZ>;

namespace ElhUXmlRec {

template<class F>
TXMLRecordType<F> bindRecord(const QDomDocument &document, const QString &source)
{
    return TXMLRecordType<F>(document, checkedRoot(document, source, F::tags));
}

TXMLRecordZType bindRecordZ(const QDomDocument &document, const QString &source);

} // namespace ElhUXmlRec

// Two entry functions per family: bind the root of a document already
// open, or load a file and bind its root. Both raise EDescriptorError when
// the root is not the family's or a Width is not a whole number.
// clang-format off
inline TXMLRecordAType GetRecordA(const QDomDocument &d) { return ElhUXmlRec::bindRecord<LayoutFamilyA>(d, {}); }
inline TXMLRecordAType LoadRecordA(const QString &f) { return ElhUXmlRec::bindRecord<LayoutFamilyA>(ElhUXmlRec::loadDocument(f), f); }
inline TXMLRecordBType GetRecordB(const QDomDocument &d) { return ElhUXmlRec::bindRecord<LayoutFamilyB>(d, {}); }
inline TXMLRecordBType LoadRecordB(const QString &f) { return ElhUXmlRec::bindRecord<LayoutFamilyB>(ElhUXmlRec::loadDocument(f), f); }
inline TXMLRecordEType GetRecordE(const QDomDocument &d) { return ElhUXmlRec::bindRecord<LayoutFamilyE>(d, {}); }
inline TXMLRecordEType LoadRecordE(const QString &f) { return ElhUXmlRec::bindRecord<LayoutFamilyE>(ElhUXmlRec::loadDocument(f), f); }
inline TXMLRecordJType GetRecordJ(const QDomDocument &d) { return ElhUXmlRec::bindRecord<LayoutFamilyJ>(d, {}); }
inline TXMLRecordJType LoadRecordJ(const QString &f) { return ElhUXmlRec::bindRecord<LayoutFamilyJ>(ElhUXmlRec::loadDocument(f), f); }
inline TXMLRecordZType GetRecordZ(const QDomDocument &d) { return ElhUXmlRec::bindRecordZ(d, {}); }
inline TXMLRecordZType LoadRecordZ(const QString &f) { return ElhUXmlRec::bindRecordZ(ElhUXmlRec::loadDocument(f), f); }
// clang-format on
