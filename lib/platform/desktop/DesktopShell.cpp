#include "DesktopShell.h"

#include <QDesktopServices>
#include <QFileInfo>
#include <QUrl>

namespace {

bool openLocal(const QString &path)
{
    return QDesktopServices::openUrl(QUrl::fromLocalFile(QFileInfo(path).absoluteFilePath()));
}

} // namespace

bool DesktopShell::openFile(const QString &path)
{
    return openLocal(path);
}

bool DesktopShell::openFolder(const QString &path)
{
    return openLocal(path);
}
