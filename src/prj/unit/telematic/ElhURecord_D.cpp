#include "ElhMFile.h"
#include "ElhUFileWizard.h"
#include "ElhURecord.h"
#include "ElhURecordModules.h"
#include "TextLib.h"

using namespace Qt::Literals::StringLiterals;

// Record D carries, module by module, the Prospetti ST (four sections), SV,
// SX and DI: first those of the agent, then those of each extinct agent it
// succeeded. A module takes at most 12 rows of ST section I, 12 of section
// II, 12 of SV and 20 of DI, and one row of SX, of ST section III and of ST
// section IV (each of those rows fills its section of the form).

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

void repeatOverRows(RecordAssembly &assembly, const TXMLSectionEType &section, ClientDataSet &rows, int first,
                    int last)
{
    for (int module = first; module <= last && !rows.eof(); ++module) {
        assembly.emitSection(section, module);
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
        repeatOverRows(assembly, section, dm.cdsPrSt, 2, 13);
    } else if (repeat == u"14") {
        repeatOverRows(assembly, section, dm.cdsPrSt2, 14, 25);
    } else if (repeat == u"26") {
        repeatOverRows(assembly, section, dm.cdsPrSt3, 26, 37);
    } else if (repeat == u"YES") {
        if (section.Text().contains(u"SV"))
            repeatOverRows(assembly, section, dm.cdsPrSv, 2, 13);
        if (section.Text().contains(u"DI"))
            repeatOverRows(assembly, section, dm.cdsPrDi, 1, 20);
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

void buildModule(RecordAssembly &assembly, const TXMLRecordEType &root)
{
    TdmElhFile &dm = assembly.dm();
    for (int s = 0; s < root.Count(); ++s) {
        const TXMLSectionEType section = root.Section(s);
        // Sections 0 and 1 are the module's positional header.
        if (s >= 2 && exhausted(dm, section))
            continue;
        runSection(assembly, section);
    }
    assembly.setProgressive(assembly.progressive() + 1);
    for (const RowPerModule &r : kRowPerModule) {
        ClientDataSet &ds = dm.*r.dataSet;
        if (!ds.eof())
            ds.next();
    }
}

void filterAgent(TdmElhFile &dm, const QString &filter)
{
    for (ClientDataSet *ds : {&dm.cdsPrSv, &dm.cdsPrSt, &dm.cdsPrSt2, &dm.cdsPrSt3, &dm.cdsPrSt4, &dm.cdsPrSx,
                              &dm.cdsPrDi}) {
        ds->setFilter(filter);
        ds->setFiltered(true);
        ds->first();
    }
}

} // namespace

void BuildRecordD(FileWizard &wizard)
{
    RecordAssembly &assembly = wizard.startRecordKind(u"Generazione del Record D..."_s);
    wizard.svPresent = false;
    if (!wizard.prospettiSv)
        return;
    TdmElhFile &dm = wizard.dm();
    const TXMLRecordEType root = LoadRecordE(TdmElhFile::descriptorPath(u"D"));
    wizard.stPresent = !(dm.cdsPrSt.isEmpty() && dm.cdsPrSt2.isEmpty() && dm.cdsPrSt3.isEmpty() && dm.cdsPrSt4.isEmpty());
    wizard.svPresent = !dm.cdsPrSv.isEmpty();
    wizard.sxPresent = !dm.cdsPrSx.isEmpty();
    wizard.diPresent = !dm.cdsPrDi.isEmpty();

    dm.cdsSostEst.first();
    const int passes = dm.cdsSostEst.recordCount() + 1;
    for (int pass = 1; pass <= passes; ++pass) {
        if (pass == 1) {
            filterAgent(dm, u"SSOE7CODICE='' or (SSOE7CODICE is null)"_s);
        } else {
            filterAgent(dm, u"SSOE7CODICE="_s + TextLib::QuotedStr(dm.cdsSostEst.fieldByName(u"CODICE"_s).asString()));
            dm.cdsSostEst.next();
        }
        // Section II, III and IV rows drive modules too, so that none is
        // left out when the agent has fewer rows of section I.
        buildModules({&dm.cdsPrSv, &dm.cdsPrSt, &dm.cdsPrSt2, &dm.cdsPrSt3, &dm.cdsPrSt4, &dm.cdsPrSx, &dm.cdsPrDi},
                     u'D', [&] { buildModule(assembly, root); });
    }
    for (ClientDataSet *ds : {&dm.cdsPrDi, &dm.cdsPrSv, &dm.cdsPrSt, &dm.cdsPrSt2, &dm.cdsPrSt3, &dm.cdsPrSt4,
                              &dm.cdsPrSx})
        ds->close();
}
