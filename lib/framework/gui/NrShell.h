#pragma once

#include <QString>

// What the desktop program asks of the system around files: open a document
// or a folder with its associated program, let the user choose a folder.
// The program uses the desktop's services; tests install their own.
class NrShellService
{
public:
    virtual ~NrShellService() = default;
    // False when no program could open it.
    virtual bool openDocument(const QString &path) = 0;
    // The chosen folder, or empty text when the user cancelled.
    virtual QString chooseFolder(const QString &caption) = 0;
};

// The installed service; the desktop's own when none is installed.
NrShellService &shellService();

// Installs a service for the lifetime of the guard, then restores the previous one.
class NrShellServiceScope
{
public:
    explicit NrShellServiceScope(NrShellService *service);
    ~NrShellServiceScope();
    NrShellServiceScope(const NrShellServiceScope &) = delete;
    NrShellServiceScope &operator=(const NrShellServiceScope &) = delete;

private:
    NrShellService *m_previous;
};
