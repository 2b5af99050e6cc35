#include "CertificateXml.h"

#include "DescriptorReader.h"

using namespace Qt::Literals::StringLiterals;

namespace CertificateXml {

namespace {

// An Edit with its PrintRects; an Edit of LAut has exactly one.
TXMLEditType readEdit(DescriptorReader &r, bool oneRect)
{
    TXMLEditType edit;
    edit.name = r.text(u"Name"_s);
    edit.alignment = r.text(u"Alignment"_s);
    edit.type = r.text(u"Type"_s);
    r.forEachChild(u"PrintRect"_s, [&] {
        if (oneRect && !edit.printRects.isEmpty())
            r.fail(u"il campo %1 ha più di un PrintRect"_s.arg(edit.name));
        edit.printRects.append({r.requiredInt(u"Top"_s), r.requiredInt(u"Left"_s), r.requiredInt(u"Height"_s)});
        r.skip();
    });
    if (edit.printRects.isEmpty())
        r.fail(u"il campo %1 non ha PrintRect"_s.arg(edit.name));
    return edit;
}

TXMLSectionType readSection(DescriptorReader &r, bool oneRect)
{
    TXMLSectionType section;
    section.name = r.text(u"Name"_s);
    section.repeat = r.text(u"Repeat"_s);
    r.forEachChild(u"Edit"_s, [&] { section.edits.append(readEdit(r, oneRect)); });
    return section;
}

} // namespace

TXMLLDipType loadLDip(const QString &path)
{
    DescriptorReader r(path, u"LDip"_s);
    TXMLLDipType ldip;
    r.forEachChild(u"Page"_s, [&] {
        TXMLPageType page;
        page.name = r.text(u"Name"_s);
        r.forEachChild(u"Section"_s, [&] { page.sections.append(readSection(r, false)); });
        ldip.pages.append(page);
    });
    r.finish();
    return ldip;
}

TXMLLAutType loadLAut(const QString &path)
{
    DescriptorReader r(path, u"LAut"_s);
    TXMLLAutType laut;
    r.forEachChild(u"Section"_s, [&] { laut.sections.append(readSection(r, true)); });
    r.finish();
    return laut;
}

} // namespace CertificateXml
