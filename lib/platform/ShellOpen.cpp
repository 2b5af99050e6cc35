#include "ShellOpen.h"

namespace ShellOpen {

namespace {

Service *&installed()
{
    static Service *service = nullptr;
    return service;
}

} // namespace

void setService(Service *service)
{
    installed() = service;
}

bool openFile(const QString &path)
{
    return !installed() || installed()->openFile(path);
}

bool openFolder(const QString &path)
{
    return !installed() || installed()->openFolder(path);
}

} // namespace ShellOpen
