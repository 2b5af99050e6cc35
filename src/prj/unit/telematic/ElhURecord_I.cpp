#include "ElhMFile.h"
#include "ElhUFileChecks.h"
#include "ElhURecord.h"
#include "ElhURecordModules.h"

using namespace Qt::Literals::StringLiterals;

// Record I carries the Prospetto SY, module by module: first the rows of the
// agent, then those of each extinct agent it succeeded (ModulePlan). A module
// takes at most 5 rows of section I (lines SY2-SY6), 5 of section II
// (SY7-SY11), 4 of section III (SY12-SY15) and 5 of section IV (SY16-SY20).

namespace {

void runSection(RecordAssembly &assembly, const TXMLSectionEType &section, const QString &agent)
{
    TdmElhFile &dm = assembly.dm();
    const QString repeat = section.Repeat();
    if (repeat == u"NO") {
        assembly.emitSection(section, 0);
        return;
    }
    const struct
    {
        const char16_t *repeat;
        ClientDataSet *rows;
        int firstLine;
        const ProspettoTable &layout;
    } ranges[] = {
        {u"2", &dm.cdsPrSy2, 2, ModuleLayout::kSy2},
        {u"7", &dm.cdsPrSy, 7, ModuleLayout::kSy},
        {u"12", &dm.cdsPrSy3, 12, ModuleLayout::kSy3},
        {u"16", &dm.cdsPrSy4, 16, ModuleLayout::kSy4},
    };
    for (const auto &r : ranges) {
        if (repeat != QStringView(r.repeat))
            continue;
        for (int line = r.firstLine; line < r.firstLine + r.layout.rowsPerModule && !r.rows->eof(); ++line) {
            // The rows of section II in a module belong to the module's agent.
            if (r.rows == &dm.cdsPrSy)
                CheckSyCongruence(agent, *r.rows, line, assembly.progressive());
            assembly.emitSection(section, line);
            r.rows->next();
        }
    }
}

} // namespace

void BuildRecordI(RecordContext &context, bool included)
{
    context.startRecordKind(u"Generazione del Record I..."_s);
    context.contents.syPresent = false;
    if (!included)
        return;
    RecordAssembly &assembly = context.assembly();
    TdmElhFile &dm = context.dm();
    const TXMLRecordEType root = LoadRecordE(TdmElhFile::descriptorPath(u"I"));
    const QList<ModulePlan::Table> tables = {{&dm.cdsPrSy2, &ModuleLayout::kSy2},
                                             {&dm.cdsPrSy, &ModuleLayout::kSy},
                                             {&dm.cdsPrSy3, &ModuleLayout::kSy3},
                                             {&dm.cdsPrSy4, &ModuleLayout::kSy4}};
    ModulePlan plan(tables, dm.cdsSostEst);
    buildPlannedModules(assembly, plan, tables, u'I', [&](const ModulePlan::Module &module) {
        for (int s = 0; s < root.Count(); ++s)
            runSection(assembly, root.Section(s), module.agent);
        context.nextModule();
        context.contents.syPresent = true;
    });
    for (ClientDataSet *ds : {&dm.cdsPrSy, &dm.cdsPrSy2, &dm.cdsPrSy3, &dm.cdsPrSy4})
        ds->close();
}
