#pragma once

class FileWizard;

// The record builders of the supply file. Each reads its layout descriptor
// from "USR\FL2023\Res\FileTel\".

// Positional records, appended to TFILE_FILETELEM: A (the supplier), B (the
// frontispiece, after the frontispiece check) and Z (the tail, with the
// counts that the writer fills in).
void BuildRecordA(FileWizard &wizard);
void BuildRecordB(FileWizard &wizard);
void BuildRecordZ(FileWizard &wizard);

// Records of field elements, stored in TFIFI_FIELDSFILE module by module:
// D (Prospetti ST, SV, SX, DI of the agent and of each extinct agent),
// I (Prospetto SY), J (Prospetto SS). Each writes its progress line first.
void BuildRecordD(FileWizard &wizard);
void BuildRecordI(FileWizard &wizard);
void BuildRecordJ(FileWizard &wizard);
