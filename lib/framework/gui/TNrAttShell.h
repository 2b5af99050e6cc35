#pragma once

#include "TNrAttCommand.h"

// A command that opens the document FileName of the folder Directory with
// its associated program, in a normally shown window, without waiting.
class TNrAttShell : public TNrAttCommand
{
public:
    explicit TNrAttShell(TdmNrAttivazioni *owner)
        : TNrAttCommand(owner)
    {
    }

    void SetDirectory(const QString &directory) { Directory = directory; }

    QString FileName;
    QString Directory;

protected:
    bool run() override;
};
