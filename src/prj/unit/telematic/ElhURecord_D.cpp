#include "ElhMFile.h"
#include "ElhURecord.h"
#include "ElhURecordModules.h"

using namespace Qt::Literals::StringLiterals;

// Record D carries, module by module, the Prospetti ST (four sections), SV,
// SX and DI: first those of the agent, then those of each extinct agent it
// succeeded (ModulePlan). A module takes at most 12 rows of ST section I, 12
// of section II, 12 of SV and 20 of DI, and one row of SX, of ST section III
// and of ST section IV (each of those rows fills its section of the form).

namespace {

// A section whose Text holds the marker fills its part of the module from
// one row, and is left out once the rows are used up.
struct RowPerModule
{
    const char16_t *marker;
    ClientDataSet TdmElhFile::*dataSet;
};

constexpr RowPerModule kRowPerModule[] = {
    {u"SX", &TdmElhFile::cdsPrSx},
    {u"ST III", &TdmElhFile::cdsPrSt3},
    {u"ST IV", &TdmElhFile::cdsPrSt4},
};

// The section once per row of the module, on the lines from `firstLine`.
void repeatOverRows(RecordAssembly &assembly, const TXMLSectionEType &section, ClientDataSet &rows, int firstLine,
                    const ProspettoTable &layout)
{
    for (int line = firstLine; line < firstLine + layout.rowsPerModule && !rows.eof(); ++line) {
        assembly.emitSection(section, line);
        rows.next();
    }
}

void runSection(RecordAssembly &assembly, const TXMLSectionEType &section)
{
    TdmElhFile &dm = assembly.dm();
    const QString repeat = section.Repeat();
    if (repeat == u"NO") {
        assembly.emitSection(section, 0);
    } else if (repeat == u"2") {
        repeatOverRows(assembly, section, dm.cdsPrSt, 2, ModuleLayout::kSt);
    } else if (repeat == u"14") {
        repeatOverRows(assembly, section, dm.cdsPrSt2, 14, ModuleLayout::kSt2);
    } else if (repeat == u"26") {
        repeatOverRows(assembly, section, dm.cdsPrSt3, 26, ModuleLayout::kSt3);
    } else if (repeat == u"YES") {
        if (section.Text().contains(u"SV"))
            repeatOverRows(assembly, section, dm.cdsPrSv, 2, ModuleLayout::kSv);
        if (section.Text().contains(u"DI"))
            repeatOverRows(assembly, section, dm.cdsPrDi, 1, ModuleLayout::kDi);
    }
}

// Whether a section is left out of this module: its one-row prospetto has
// no row left.
bool exhausted(TdmElhFile &dm, const TXMLSectionEType &section)
{
    const QString text = section.Text();
    for (const RowPerModule &r : kRowPerModule) {
        if (text.contains(QStringView(r.marker)))
            return (dm.*r.dataSet).eof();
    }
    return false;
}

void buildModule(RecordContext &context, const TXMLRecordEType &root)
{
    RecordAssembly &assembly = context.assembly();
    TdmElhFile &dm = context.dm();
    for (int s = 0; s < root.Count(); ++s) {
        const TXMLSectionEType section = root.Section(s);
        // Sections 0 and 1 are the module's positional header.
        if (s >= 2 && exhausted(dm, section))
            continue;
        runSection(assembly, section);
    }
    context.nextModule();
    for (const RowPerModule &r : kRowPerModule) {
        ClientDataSet &ds = dm.*r.dataSet;
        if (!ds.eof())
            ds.next();
    }
}

} // namespace

void BuildRecordD(RecordContext &context, bool included)
{
    context.startRecordKind(u"Generazione del Record D..."_s);
    SupplyContents &contents = context.contents;
    contents.svPresent = false;
    if (!included)
        return;
    TdmElhFile &dm = context.dm();
    const TXMLRecordEType root = LoadRecordE(TdmElhFile::descriptorPath(u"D"));
    contents.stPresent =
        !(dm.cdsPrSt.isEmpty() && dm.cdsPrSt2.isEmpty() && dm.cdsPrSt3.isEmpty() && dm.cdsPrSt4.isEmpty());
    contents.svPresent = !dm.cdsPrSv.isEmpty();
    contents.sxPresent = !dm.cdsPrSx.isEmpty();
    contents.diPresent = !dm.cdsPrDi.isEmpty();

    const QList<ModulePlan::Table> tables = {{&dm.cdsPrSt, &ModuleLayout::kSt},   {&dm.cdsPrSt2, &ModuleLayout::kSt2},
                                             {&dm.cdsPrSt3, &ModuleLayout::kSt3}, {&dm.cdsPrSt4, &ModuleLayout::kSt4},
                                             {&dm.cdsPrSv, &ModuleLayout::kSv},   {&dm.cdsPrSx, &ModuleLayout::kSx},
                                             {&dm.cdsPrDi, &ModuleLayout::kDi}};
    ModulePlan plan(tables, dm.cdsSostEst);
    buildPlannedModules(context.assembly(), plan, tables, u'D',
                        [&](const ModulePlan::Module &) { buildModule(context, root); });
    for (ClientDataSet *ds :
         {&dm.cdsPrDi, &dm.cdsPrSv, &dm.cdsPrSt, &dm.cdsPrSt2, &dm.cdsPrSt3, &dm.cdsPrSt4, &dm.cdsPrSx})
        ds->close();
}
