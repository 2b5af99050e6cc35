#include "PdfConfXml.h"

#include "DescriptorReader.h"

using namespace Qt::Literals::StringLiterals;

namespace PdfConfXml {

namespace {

TXMLPrintRectType readPrintRect(DescriptorReader &r)
{
    TXMLPrintRectType rect;
    rect.top = r.requiredInt(u"Top"_s);
    rect.left = r.requiredInt(u"Left"_s);
    rect.height = r.requiredInt(u"Height"_s);
    rect.space = r.optionalReal(u"Space"_s);
    rect.vOffset = r.optionalInt(u"vOffset"_s);
    rect.oOffset = r.optionalInt(u"oOffset"_s);
    rect.minIndex = r.optionalInt(u"MinIndex"_s);
    rect.maxIndex = r.optionalInt(u"MaxIndex"_s);
    r.skip();
    return rect;
}

TXMLEditType readEdit(DescriptorReader &r)
{
    TXMLEditType edit;
    edit.name = r.text(u"Name"_s);
    edit.alignment = r.text(u"Alignment"_s);
    edit.type = r.text(u"Type"_s);
    r.forEachChild(u"PrintRect"_s, [&] { edit.printRects.append(readPrintRect(r)); });
    return edit;
}

TXMLSectionType readSection(DescriptorReader &r)
{
    TXMLSectionType section;
    section.name = r.text(u"Name"_s);
    section.repeat = r.text(u"Repeat"_s);
    r.forEachChild(u"Edit"_s, [&] { section.edits.append(readEdit(r)); });
    return section;
}

TXMLPageType readPage(DescriptorReader &r)
{
    TXMLPageType page;
    page.name = r.text(u"Name"_s);
    page.templatePage = r.optionalInt(u"Template"_s);
    r.forEachChild(u"Section"_s, [&] { page.sections.append(readSection(r)); });
    return page;
}

} // namespace

TXMLPdfConfType load(const QString &path)
{
    DescriptorReader r(path, u"PdfConf"_s);
    TXMLPdfConfType conf;
    r.forEachChild(u"Page"_s, [&] { conf.pages.append(readPage(r)); });
    r.finish();
    return conf;
}

} // namespace PdfConfXml
