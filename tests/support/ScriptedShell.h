#pragma once

#include "NrShell.h"

#include <QStringList>

// A shell for the widget tests: records the documents it is asked to open
// and answers folder choices from a script (empty text: cancelled).
class ScriptedShell : public NrShellService
{
public:
    bool openDocument(const QString &path) override
    {
        opened.append(path);
        return true;
    }
    QString chooseFolder(const QString &caption) override
    {
        captions.append(caption);
        return folders.isEmpty() ? QString() : folders.takeFirst();
    }

    QStringList opened;
    QStringList captions;
    QStringList folders;
};
