#pragma once

#include <QStringList>

// The command line: runs the data modules headless and prints Italian
// messages. Returns the exit status: 0 on success, 1 on failure, 2 on a
// command written wrong.
int runCommandLine(const QStringList &arguments);
