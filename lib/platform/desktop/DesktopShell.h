#pragma once

#include "ShellOpen.h"

// The shell service of the desktop program: files and folders open with
// what the desktop associates with them.
class DesktopShell : public ShellOpen::Service
{
public:
    bool openFile(const QString &path) override;
    bool openFolder(const QString &path) override;
};
