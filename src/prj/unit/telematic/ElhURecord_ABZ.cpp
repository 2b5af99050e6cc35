#include "ElhMFile.h"
#include "ElhUFileChecks.h"
#include "ElhUFileWizard.h"
#include "ElhURecord.h"

namespace {

template<class F>
void buildRecord(RecordAssembly &assembly, const TXMLRecordType<F> &root, QChar recordType)
{
    assembly.beginPositional();
    for (int s = 0; s < root.Count(); ++s)
        assembly.appendPositional(root.Section(s));
    assembly.finishPositional(recordType);
}

} // namespace

void BuildRecordA(FileWizard &wizard)
{
    buildRecord(wizard.assembly(), LoadRecordA(TdmElhFile::descriptorPath(u"A")), u'A');
}

void BuildRecordB(FileWizard &wizard)
{
    CheckFrontispiece(wizard.dm().cdsSost);
    buildRecord(wizard.assembly(), LoadRecordB(TdmElhFile::descriptorPath(u"B")), u'B');
}

void BuildRecordZ(FileWizard &wizard)
{
    RecordAssembly &assembly = wizard.assembly();
    const TXMLRecordZType root = LoadRecordZ(TdmElhFile::descriptorPath(u"Z"));
    assembly.beginPositional();
    assembly.appendPositional(root.SectionZ());
    assembly.finishPositional(u'Z');
}
