#include "ElhMFile.h"
#include "ElhUFileWizard.h"
#include "ElhURecord.h"

using namespace Qt::Literals::StringLiterals;

// Record J carries the Prospetto SS: one module per row.

namespace {

void runSection(RecordAssembly &assembly, const TXMLSectionJType &section)
{
    const QString repeat = section.Repeat();
    if (repeat == u"NO") {
        assembly.emitSection(section, 0);
    } else if (repeat == u"YES") {
        ClientDataSet &rows = assembly.dm().FindSectionDataset(section.Cds());
        int module = 1;
        for (rows.first(); !rows.eof(); rows.next())
            assembly.emitSection(section, module++);
    }
}

} // namespace

void BuildRecordJ(FileWizard &wizard)
{
    RecordAssembly &assembly = wizard.startRecordKind(u"Generazione del Record J ..."_s);
    wizard.recordJModules = 0;
    const TXMLRecordJType root = LoadRecordJ(TdmElhFile::descriptorPath(u"J"));
    ClientDataSet &ss = wizard.dm().cdsPrSs;
    for (ss.first(); !ss.eof(); ss.next()) {
        for (int s = 0; s < root.Count(); ++s)
            runSection(assembly, root.Section(s));
        assembly.setProgressive(assembly.progressive() + 1);
        ++wizard.recordJModules;
    }
    ss.close();
}
