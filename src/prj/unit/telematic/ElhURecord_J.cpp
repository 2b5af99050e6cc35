#include "ElhMFile.h"
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

void BuildRecordJ(RecordContext &context)
{
    context.startRecordKind(u"Generazione del Record J ..."_s);
    const TXMLRecordJType root = LoadRecordJ(TdmElhFile::descriptorPath(u"J"));
    ClientDataSet &ss = context.dm().cdsPrSs;
    for (ss.first(); !ss.eof(); ss.next()) {
        for (int s = 0; s < root.Count(); ++s)
            runSection(context.assembly(), root.Section(s));
        context.nextModule();
    }
    ss.close();
}
