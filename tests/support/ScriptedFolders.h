#pragma once

#include "NrFolderChooser.h"

#include <QStringList>

// Answers the folder choices from a script (empty text: cancelled) and
// installs itself for its lifetime.
class ScriptedFolders : public NrFolderChooser
{
public:
    ScriptedFolders()
        : m_scope(this)
    {
    }

    QString chooseFolder(const QString &caption) override
    {
        captions.append(caption);
        return folders.isEmpty() ? QString() : folders.takeFirst();
    }

    QStringList captions;
    QStringList folders;

private:
    NrFolderChooserScope m_scope;
};
