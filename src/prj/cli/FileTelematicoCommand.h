#pragma once

#include <QStringList>
#include <QTextStream>

// "elh770 file-telematico --out PERCORSO [--sv si|no] [--sy si|no]
// [--prosegui]": stage 1 and stage 2 of the supply file on the school
// database, with the progress lines on the terminal.
int runFileTelematico(const QStringList &arguments, QTextStream &out, QTextStream &err);
