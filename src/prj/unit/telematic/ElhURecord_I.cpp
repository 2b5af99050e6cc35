#include "ElhMFile.h"
#include "ElhUFileChecks.h"
#include "ElhUFileWizard.h"
#include "ElhURecord.h"
#include "ElhURecordModules.h"

using namespace Qt::Literals::StringLiterals;

// Record I carries the Prospetto SY. A module takes at most 5 rows of
// section I (lines SY2-SY6), 5 of section II (SY7-SY11), 4 of section III
// (SY12-SY15) and 5 of section IV (SY16-SY20).

namespace {

void runSection(RecordAssembly &assembly, const TXMLSectionEType &section)
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
        int first, last;
    } ranges[] = {
        {u"7", &dm.cdsPrSy, 7, 11},
        {u"2", &dm.cdsPrSy2, 2, 6},
        {u"12", &dm.cdsPrSy3, 12, 15},
        {u"16", &dm.cdsPrSy4, 16, 20},
    };
    for (const auto &r : ranges) {
        if (repeat != QStringView(r.repeat))
            continue;
        const Field &agent = r.rows->fieldByName(u"SSOE7CODICE"_s);
        const bool sectionII = r.rows == &dm.cdsPrSy;
        QString previousAgent;
        for (int module = r.first; module <= r.last && !r.rows->eof(); ++module) {
            // The rows of section II in one module belong to one agent.
            if (sectionII && module > r.first)
                CheckSyCongruence(previousAgent, agent.asString());
            previousAgent = agent.asString();
            assembly.emitSection(section, module);
            r.rows->next();
        }
    }
}

} // namespace

void BuildRecordI(FileWizard &wizard)
{
    RecordAssembly &assembly = wizard.startRecordKind(u"Generazione del Record I..."_s);
    wizard.recordIModules = 0;
    if (!wizard.prospettoSy)
        return;
    TdmElhFile &dm = wizard.dm();
    const TXMLRecordEType root = LoadRecordE(TdmElhFile::descriptorPath(u"I"));
    for (ClientDataSet *ds : {&dm.cdsPrSy, &dm.cdsPrSy2, &dm.cdsPrSy3, &dm.cdsPrSy4})
        ds->first();
    buildModules({&dm.cdsPrSy, &dm.cdsPrSy2, &dm.cdsPrSy3, &dm.cdsPrSy4}, u'I', [&] {
        for (int s = 0; s < root.Count(); ++s)
            runSection(assembly, root.Section(s));
        assembly.setProgressive(assembly.progressive() + 1);
        ++wizard.recordIModules;
    });
    for (ClientDataSet *ds : {&dm.cdsPrSy, &dm.cdsPrSy2, &dm.cdsPrSy3, &dm.cdsPrSy4})
        ds->close();
}
