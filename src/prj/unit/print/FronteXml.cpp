#include "FronteXml.h"

#include "DescriptorReader.h"

using namespace Qt::Literals::StringLiterals;

namespace FronteXml {

namespace {

TXMLEditType readEdit(DescriptorReader &r)
{
    TXMLEditType edit;
    edit.name = r.text(u"Name"_s);
    edit.alignment = r.text(u"Alignment"_s);
    edit.type = r.text(u"Type"_s);
    edit.page = r.optionalInt(u"Page"_s);
    edit.space = DescriptorReader::parseReal(r.text(u"Space"_s)).value_or(0.0);
    bool hasRect = false;
    r.forEachChild(u"PrintRect"_s, [&] {
        if (!hasRect) {
            edit.printRect.top = r.requiredInt(u"Top"_s);
            edit.printRect.left = r.requiredInt(u"Left"_s);
            edit.printRect.height = r.requiredInt(u"Height"_s);
            hasRect = true;
        }
        r.skip();
    });
    if (!hasRect)
        r.fail(u"il campo %1 non ha PrintRect"_s.arg(edit.name));
    return edit;
}

TXMLSectionType readSection(DescriptorReader &r)
{
    TXMLSectionType section;
    section.name = r.text(u"Name"_s);
    section.page = r.optionalInt(u"Page"_s);
    r.forEachChild(u"Edit"_s, [&] { section.edits.append(readEdit(r)); });
    return section;
}

} // namespace

TXMLFronteType load(const QString &path)
{
    DescriptorReader r(path, u"Fronte"_s);
    TXMLFronteType fronte;
    r.forEachChild(u"Section"_s, [&] { fronte.sections.append(readSection(r)); });
    r.finish();
    return fronte;
}

} // namespace FronteXml
