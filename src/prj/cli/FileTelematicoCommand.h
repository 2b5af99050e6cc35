#pragma once

#include <QStringList>
#include <QTextStream>

// "elh770 file-telematico --out PERCORSO [--sv si|no] [--sy si|no]
// [--prosegui]": stage 1 and stage 2 of the supply file on the school
// database, with the progress lines on the terminal.
int runFileTelematico(const QStringList &arguments, QTextStream &out, QTextStream &err);

// "elh770 controlla-file FILE [FILE_2 ...]": the supply check on the files
// of one send, its findings on the terminal; 1 when there are findings.
int runControllaFile(const QStringList &arguments, QTextStream &out, QTextStream &err);
