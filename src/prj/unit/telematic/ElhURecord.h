#pragma once

#include "ElhUFileWriter.h"
#include "ElhURecordAssembly.h"

// What the wizard hands its record builders: the assembly that encodes the
// fields (and with it the data module), the record kind under way with the
// progressive number of its module, and what the builders leave for the
// writer.
class RecordContext
{
public:
    RecordContext(TdmElhFile &dm, const ProgressSink &progress, FindingSink &findings)
        : m_progress(progress)
        , m_assembly(dm, findings)
    {
        m_assembly.setProgress(progress);
    }

    TdmElhFile &dm() const { return m_assembly.dm(); }
    RecordAssembly &assembly() { return m_assembly; }

    // A builder starts its record kind: its line among the progress lines,
    // the progressive number back to 1.
    void startRecordKind(const QString &progressLine)
    {
        m_progress(progressLine);
        m_assembly.setProgressive(1);
    }
    int progressive() const { return m_assembly.progressive(); }
    void nextModule() { m_assembly.setProgressive(m_assembly.progressive() + 1); }

    SupplyContents contents;

private:
    ProgressSink m_progress;
    RecordAssembly m_assembly;
};

// The record builders of the supply file. Each reads its layout descriptor
// from "USR\FL2023\Res\FileTel\".

// Positional records, appended to TFILE_FILETELEM: A (the supplier), B (the
// frontispiece, after the frontispiece check) and Z (the tail, with the
// counts that the writer fills in).
void BuildRecordA(RecordContext &context);
void BuildRecordB(RecordContext &context);
void BuildRecordZ(RecordContext &context);

// Records of field elements, stored in TFIFI_FIELDSFILE module by module:
// D (Prospetti ST, SV, SX, DI of the agent and of each extinct agent),
// I (Prospetto SY), J (Prospetto SS). Each writes its progress line first;
// D and I build nothing more when the user left their Prospetti out
// ("No" on their page of the wizard).
void BuildRecordD(RecordContext &context, bool included);
void BuildRecordI(RecordContext &context, bool included);
void BuildRecordJ(RecordContext &context);
