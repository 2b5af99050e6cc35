#include "ElhMFile.h"
#include "ElhUFileChecks.h"
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

void BuildRecordA(RecordContext &context)
{
    buildRecord(context.assembly(), LoadRecordA(TdmElhFile::descriptorPath(u"A")), u'A');
}

void BuildRecordB(RecordContext &context)
{
    CheckFrontispiece(context.dm().cdsSost);
    buildRecord(context.assembly(), LoadRecordB(TdmElhFile::descriptorPath(u"B")), u'B');
}

void BuildRecordZ(RecordContext &context)
{
    RecordAssembly &assembly = context.assembly();
    const TXMLRecordZType root = LoadRecordZ(TdmElhFile::descriptorPath(u"Z"));
    assembly.beginPositional();
    assembly.appendPositional(root.SectionZ());
    assembly.finishPositional(u'Z');
}
