#pragma once

#include <QString>

// Opens a saved file with the program associated with it, or a folder in the
// file manager. The desktop program installs the service over the desktop's
// shell; without one (tests, the command line) nothing is opened.
namespace ShellOpen {

class Service
{
public:
    virtual ~Service() = default;
    // False when the desktop could not open it.
    virtual bool openFile(const QString &path) = 0;
    virtual bool openFolder(const QString &path) = 0;
};

// The service is the caller's; null switches opening off.
void setService(Service *service);

// True when the path was opened or opening is switched off.
bool openFile(const QString &path);
bool openFolder(const QString &path);

} // namespace ShellOpen
