#pragma once

#include <QString>

// The folder chooser of the commands that ask for a folder: the desktop's
// dialog in the program, a script in the tests.
class NrFolderChooser
{
public:
    virtual ~NrFolderChooser() = default;
    // The chosen folder, or empty text when the user cancelled.
    virtual QString chooseFolder(const QString &caption) = 0;
};

// Asks the installed chooser, the desktop's dialog when none is installed.
QString NrChooseFolder(const QString &caption);

// Installs a chooser for the lifetime of the guard, then restores the previous one.
class NrFolderChooserScope
{
public:
    explicit NrFolderChooserScope(NrFolderChooser *chooser);
    ~NrFolderChooserScope();
    NrFolderChooserScope(const NrFolderChooserScope &) = delete;
    NrFolderChooserScope &operator=(const NrFolderChooserScope &) = delete;

private:
    NrFolderChooser *m_previous;
};
